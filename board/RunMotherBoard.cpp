#include "board/RunMotherBoard.h"

#include <QCoreApplication>
#include <QTimer>

#include "app/MainFrame.h"
#include "board/MotherBoard.h"

namespace {

// Transfers may outlive the window; their message boxes and button updates
// still find a (hidden) dialog until the last one has finished.
void ReleaseWhenIdle(CMotherBoard* board)
{
    if (board->RunningWorkers() == 0) {
        delete board;
        return;
    }
    QTimer::singleShot(200, qApp, [board] { ReleaseWhenIdle(board); });
}

}  // namespace

void RunMotherBoardDialog(CMainFrame* main, const QString& chipInfo)
{
    auto* board = new CMotherBoard(main);
    board->Create(main->GetHWND(), QStringLiteral("母片制作"));
    board->InitControls();
    FillFromChipInfo(*board, chipInfo);
    board->CenterWindow();
    board->ShowModal();
    ReleaseWhenIdle(board);
}
