#include "board/RunMotherBoard.h"

#include "app/MainFrame.h"
#include "board/MotherBoard.h"

void RunMotherBoardDialog(CMainFrame* main, const QString& chipInfo)
{
    auto* board = new CMotherBoard(main);
    board->Create(main->GetHWND(), QStringLiteral("母片制作"));
    board->InitControls();
    FillFromChipInfo(*board, chipInfo);
    board->CenterWindow();
    board->ShowModal();
    // Transfers may outlive the window; their message boxes and button
    // updates still find a (hidden) dialog until the last one has ended.
    board->CallWhenIdle([board] { delete board; });
}
