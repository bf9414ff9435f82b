// The two ways of making a master.  Both stream the chip tool's lines as
// they come, then judge the whole output: MTX by the dialog's verdict, READ
// USER (which the dialog leaves to the operator's eyes) by the tool's errors.
#include "link/Texts.h"
#include "cli/Commands.h"
#include "master/core/ReadUserVerdict.h"
#include "cli/core/StreamLines.h"
#include "master/core/Latch.h"
#include "master/core/MasterTexts.h"
#include "master/core/MtxVerdict.h"
#include "master/core/StreamingCommand.h"

namespace kz::cli {

namespace mt = kz::master::text;

namespace {

// What a streamed run left: its whole output, or nothing when the client
// did not start (then `failure` holds the link's warning).
struct StreamResult {
    bool started = false;
    QString output;
    QString failure;
};

StreamResult Stream(const Session& session, const char* command, int chunkBytes, const QString& operation)
{
    // Filled on the reader thread; read here only once it has finished.
    auto output = std::make_shared<QString>();
    auto lines = std::make_shared<StreamLines>();
    auto finished = std::make_shared<kz::master::Latch>();
    kz::master::StreamingCommand::Callbacks callbacks;
    callbacks.piece = [&session, output, lines, operation](const QString& piece) {
        *output += piece;
        for (const QString& line : lines->Feed(piece))
            session.StreamLine(line, operation);
    };
    callbacks.finished = [&session, lines, finished, operation] {
        for (const QString& line : lines->Finish())
            session.StreamLine(line, operation);
        finished->Set();
    };
    auto run = kz::master::StreamingCommand::Start(session.ClientLine(QString::fromLatin1(command)), chunkBytes, callbacks);
    if (!run)
        return {false, {}, QStringLiteral("CreateThread Failed!")};
    while (!finished->WaitFor(std::chrono::milliseconds(100))) {
        if (run->HasEnded() && !finished->IsSet())
            break;
    }
    if (!finished->IsSet()) {
        const QString warning = session.LastWarning();
        return {false, {}, warning.isEmpty() ? QString::fromUtf8(kz::text::ClientNotStarted) : warning};
    }
    return {true, *output, {}};
}

}  // namespace

int RunReadUserMaster(Session& session)
{
    const QString operation = QStringLiteral("read-user-master");
    const StreamResult result = Stream(session, kz::master::kReadUserCommand, kz::master::kReadUserChunkBytes, operation);
    if (!result.started)
        return session.Finish(Failed(result.failure.toUtf8().constData(), operation));
    const kz::master::ReadUserVerdict verdict = kz::master::JudgeReadUserOutput(result.output);
    if (verdict.ok)
        return session.Finish(Succeeded(mt::Successfully, operation));
    Outcome failure = Failed(mt::Failed, operation);
    failure.message = verdict.message;
    return session.Finish(failure);
}

int RunMtx(Session& session)
{
    const QString operation = QStringLiteral("mtx");
    if (std::optional<Outcome> failure = session.MountStick(operation))
        return session.Finish(*failure);
    const StreamResult result = Stream(session, kz::master::kMtxCommand, kz::master::kMtxChunkBytes, operation);
    if (!result.started)
        return session.Finish(Failed(result.failure.toUtf8().constData(), operation));
    const kz::master::MtxVerdict verdict = kz::master::JudgeMtxOutput(result.output);
    Outcome outcome = verdict.pass ? Succeeded(mt::Successfully, operation) : Failed(mt::Failed, operation);
    outcome.extra.insert(QStringLiteral("verdict"), QLatin1String(verdict.pass ? "PASS" : "FAIL"));
    if (verdict.noMtxFile)
        outcome.message = QString::fromUtf8(mt::NoMtxFile);
    return session.Finish(outcome, QStringLiteral("PASS"));
}

}  // namespace kz::cli
