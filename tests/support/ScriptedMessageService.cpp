#include "support/ScriptedMessageService.h"

#include <QCoreApplication>
#include <QThread>

#include "support/GuiTest.h"

namespace kz::test {

ScriptedMessageService::ScriptedMessageService()
{
    m_previous = kz::SetMessageService(this);
}

ScriptedMessageService::~ScriptedMessageService()
{
    Release();
    kz::SetMessageService(m_previous);
}

void ScriptedMessageService::QueueAnswer(kz::MsgAnswer answer)
{
    std::lock_guard lock(m_mutex);
    m_answers.push_back(answer);
}

void ScriptedMessageService::Hold()
{
    std::lock_guard lock(m_mutex);
    m_held = true;
}

void ScriptedMessageService::Release()
{
    {
        std::lock_guard lock(m_mutex);
        m_held = false;
    }
    m_released.notify_all();
}

kz::MsgAnswer ScriptedMessageService::Show(const kz::MessageRequest& request)
{
    MessageRecord record{request.text, request.caption, request.buttons, request.icon,
                         request.owner ? request.owner->objectName() : QString(),
                         QCoreApplication::instance()
                             && QThread::currentThread() == QCoreApplication::instance()->thread(),
                         QString()};
    std::unique_lock lock(m_mutex);
    if (m_witness)
        record.witnessed = m_witness();
    m_records.append(record);
    m_released.wait(lock, [this] { return !m_held; });
    if (m_answers.empty()) {
        ++m_unscripted;
        return request.buttons == kz::MsgButtons::YesNo ? kz::MsgAnswer::No : kz::MsgAnswer::Ok;
    }
    kz::MsgAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

QList<MessageRecord> ScriptedMessageService::Requests() const
{
    std::lock_guard lock(m_mutex);
    return m_records;
}

QStringList ScriptedMessageService::Texts() const
{
    std::lock_guard lock(m_mutex);
    QStringList texts;
    for (const MessageRecord& r : m_records)
        texts << r.text;
    return texts;
}

int ScriptedMessageService::Count() const
{
    std::lock_guard lock(m_mutex);
    return int(m_records.size());
}

int ScriptedMessageService::UnscriptedCount() const
{
    std::lock_guard lock(m_mutex);
    return m_unscripted;
}

void ScriptedMessageService::Clear()
{
    std::lock_guard lock(m_mutex);
    m_records.clear();
    m_answers.clear();
    m_unscripted = 0;
}

bool ScriptedMessageService::WaitForCount(int n, int timeoutMs) const
{
    return WaitFor([this, n] { return Count() >= n; }, timeoutMs);
}

}  // namespace kz::test
