#include "master/core/StreamingCommand.h"

#include <system_error>
#include <thread>

#include "device/AdbRunner.h"
#include "device/ClientTexts.h"
#include "master/core/MasterTexts.h"
#include "master/core/OutputChunker.h"
#include "platform/CommandLine.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"

namespace kz::master {

StreamingCommand::StreamingCommand(QString commandLine, int chunkBytes, Callbacks callbacks)
    : m_commandLine(std::move(commandLine)), m_chunkBytes(chunkBytes), m_callbacks(std::move(callbacks))
{
}

std::shared_ptr<StreamingCommand> StreamingCommand::Start(const QString& commandLine, int chunkBytes,
                                                          Callbacks callbacks)
{
    auto run = std::make_shared<StreamingCommand>(commandLine, chunkBytes, std::move(callbacks));
    try {
        std::thread([run] { run->Read(); }).detach();
    } catch (const std::system_error&) {
        return nullptr;
    }
    return run;
}

void StreamingCommand::Stop()
{
    std::lock_guard<std::mutex> lock(m_deliveryMutex);
    m_stopped = true;
}

bool StreamingCommand::IsStopped() const
{
    std::lock_guard<std::mutex> lock(m_deliveryMutex);
    return m_stopped;
}

void StreamingCommand::Deliver(const std::function<void()>& call)
{
    std::lock_guard<std::mutex> lock(m_deliveryMutex);
    if (!m_stopped && call)
        call();
}

// Reader thread.
void StreamingCommand::Read()
{
    PipedChild client;
    const StartResult started = client.Start(AdbClientPath(), SplitWindowsCommandLine(m_commandLine));
    if (started != StartResult::Started) {
        if (started == StartResult::SpawnFailed)
            ShowMessageBox(nullptr, QString::fromUtf8(kz::text::ClientNotStarted), QString::fromUtf8(text::PromptCaption),
                           MsgButtons::Ok, MsgIcon::Warning);
        m_ended = true;
        return;
    }
    // Nothing is ever typed into the client: end of file at once, as for
    // every other command, rather than a pipe it might wait on.
    client.CloseInput();
    OutputChunker chunker(m_chunkBytes);
    const auto hand = [this](const QString& piece) {
        if (!piece.isEmpty() && m_callbacks.piece)
            Deliver([&] { m_callbacks.piece(piece); });
    };
    client.Pump([&](const char* data, std::size_t size) {
        for (const QString& piece : chunker.Feed(QByteArrayView(data, static_cast<qsizetype>(size))))
            hand(piece);
    });
    hand(chunker.Finish());
    Deliver(m_callbacks.finished);
    m_ended = true;
}

}  // namespace kz::master
