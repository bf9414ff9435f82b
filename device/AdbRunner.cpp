#include "device/AdbRunner.h"

#include "device/ClientOutput.h"
#include "device/ClientTexts.h"
#include "device/RawPieces.h"
#include "platform/CommandLine.h"
#include "platform/HugePages.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"
#include "platform/ProgramDir.h"

namespace kz {

namespace {

// The frame in which a zero byte cuts the text (see ClientOutputDecoder).
constexpr std::size_t kOutputFrameSize = 4095;
// The decoder asks for a few units beyond its input before each piece.
constexpr qsizetype kDecoderSlack = 16;

}  // namespace

ClientAnswer ReportClientStartFailure(const char* text)
{
    const QString failure = QString::fromLatin1(text);
    ShowMessageBox(nullptr, failure, QString::fromUtf8(text::ChineseHint), MsgButtons::Ok, MsgIcon::Warning);
    return {false, {}, failure};
}

QString AdbClientPath()
{
    return ProgramDirectory() + QStringLiteral("/adb/kz_daemon");
}

ClientAnswer RunAdbClient(const QString& command)
{
    PipedChild client;
    switch (client.Start(AdbClientPath(), SplitWindowsCommandLine(command))) {
    case StartResult::PipeFailed:
        return ReportClientStartFailure(text::PipesNotMade);
    case StartResult::SpawnFailed:
        return ReportClientStartFailure(text::ClientNotStarted);
    case StartResult::Started:
        break;
    }
    // The client reads no input from us: it sees end of file at once rather
    // than waiting on a pipe nobody writes.
    client.CloseInput();
    ClientAnswer answer{true, {}, {}};
    ClientOutputDecoder decoder(kOutputFrameSize);
    RawPieces raw;
    client.Pump([&raw](const char* data, std::size_t size) { raw.Append(data, size); });
    // Decoded once into a buffer sized from what was read: megabytes of
    // output cost one fresh allocation, not a growing one.  UTF-8 never
    // takes fewer bytes than UTF-16 takes units.
    answer.output.reserve(qsizetype(raw.Size()) + kDecoderSlack);
    AdviseHugePages(answer.output);
    raw.ForEach([&](const char* data, std::size_t size) { decoder.FeedInto(data, size, answer.output); });
    decoder.FinishInto(answer.output);
    return answer;
}

}  // namespace kz

bool RunAdbCommand(QString command, QString& output)
{
    kz::ClientAnswer answer = kz::RunAdbClient(command);
    if (answer.started)
        output = std::move(answer.output);
    return answer.started;
}

namespace kz {

bool StartedServer(const QString& startServerOutput)
{
    return startServerOutput.contains(u"daemon started successfully");
}

}  // namespace kz

CAdbHelper::CAdbHelper()
{
    QString output;
    m_owns = RunAdbCommand(QStringLiteral("start-server"), output) && kz::StartedServer(output);
}

CAdbHelper::~CAdbHelper()
{
    StopServer();
}

void CAdbHelper::StopServer()
{
    if (m_stopped.exchange(true) || !m_owns)
        return;
    QString ignored;
    RunAdbCommand(QStringLiteral("kill-server"), ignored);
}
