#include "device/AdbRunner.h"

#include "device/ClientOutput.h"
#include "platform/CommandLine.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"
#include "platform/ProgramDir.h"

namespace kz {

namespace {

// The frame in which a zero byte cuts the text (see ClientOutputDecoder).
constexpr std::size_t kOutputFrameSize = 4095;

void ShowStartFailure(const char* text)
{
    ShowMessageBox(nullptr, QString::fromLatin1(text), QStringLiteral(u"提示"), MsgButtons::Ok, MsgIcon::Warning);
}

}  // namespace

QString AdbClientPath()
{
    return ProgramDirectory() + QStringLiteral("/adb/kz_daemon");
}

}  // namespace kz

bool RunAdbCommand(QString command, QString& output)
{
    kz::PipedChild client;
    switch (client.Start(kz::AdbClientPath(), kz::SplitWindowsCommandLine(command))) {
    case kz::StartResult::PipeFailed:
        kz::ShowStartFailure("CreatePipe Failed!");
        return false;
    case kz::StartResult::SpawnFailed:
        kz::ShowStartFailure("CreateProcess Failed!");
        return false;
    case kz::StartResult::Started:
        break;
    }
    // The client reads no input from us: it sees end of file at once rather
    // than waiting on a pipe nobody writes.
    client.CloseInput();
    QString text;
    kz::ClientOutputDecoder decoder(kz::kOutputFrameSize);
    client.Pump([&](const char* data, std::size_t size) { decoder.FeedInto(data, size, text); });
    decoder.FinishInto(text);
    output = std::move(text);
    return true;
}

CAdbHelper::CAdbHelper()
{
    QString ignored;
    RunAdbCommand(QStringLiteral("start-server"), ignored);
}

CAdbHelper::~CAdbHelper()
{
    QString ignored;
    RunAdbCommand(QStringLiteral("kill-server"), ignored);
}
