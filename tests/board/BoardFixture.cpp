#include "board/BoardFixture.h"


namespace kz::test {

BoardFixture::BoardFixture() = default;

BoardFixture::~BoardFixture()
{
    WaitForWorkers();
    if (board && !board->IsClosed())
        board->Close();
    board.reset();
}

void BoardFixture::OpenBoard(const QString& chipReport)
{
    StartConnected();
    bin.ClearCalls();
    board = std::make_unique<CMotherBoard>(frame.get(), ReadBackOf);
    board->SetPickers(
        [this](CMotherBoard& b, int mode) {
            pickModes << mode;
            if (!nextPick.isEmpty())
                b.m_strPickedName = nextPick;
        },
        [this](CMotherBoard& b) {
            ++nameDialogs;
            if (!nextTypedName.isEmpty())
                b.m_strPickedName = nextTypedName;
        });
    ASSERT_TRUE(board->Create(frame->GetHWND(), QStringLiteral("母片制作")));
    board->InitControls();
    FillFromChipInfo(*board, chipReport);
    board->ShowWindow();
    // "windowinit" sets the labels again; the first label tells it has run.
    ASSERT_TRUE(WaitFor([&] { return TextOf("option_info") == QStringLiteral("Info Modify"); }));
    ProcessEventsFor(20);
}

bool BoardFixture::WaitForWorkers()
{
    return WaitFor([&] { return !board || board->RunningWorkers() == 0; }, 10000) && (ProcessEventsFor(20), true);
}

QStringList BoardFixture::BoardCalls() const
{
    QStringList calls = bin.Calls();
    calls.removeAll(QStringLiteral("start-server"));
    return calls;
}

}  // namespace kz::test
