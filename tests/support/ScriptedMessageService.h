#pragma once
// A message service for tests: answers from a queue and records every
// request.  Thread-safe; workers may call it while the test thread waits.
//
//   kz::test::ScriptedMessageService boxes;      // installs itself, restores on destruction
//   boxes.QueueAnswer(kz::MsgAnswer::Yes);
//   ... run the flow ...
//   EXPECT_EQ(boxes.Texts(), QStringList{"Are you sure to create master?!"});

#include <QList>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "platform/MessageBox.h"

namespace kz::test {

struct MessageRecord {
    QString text;
    QString caption;
    kz::MsgButtons buttons = kz::MsgButtons::Ok;
    kz::MsgIcon icon = kz::MsgIcon::None;
    QString ownerName;        // object name of the owner ("" when none or gone)
    bool fromGuiThread = false;
    QString witnessed;  // what the witness saw as the box was asked for
};

class ScriptedMessageService : public kz::IMessageService {
public:
    ScriptedMessageService();   // installs itself
    ~ScriptedMessageService() override;  // restores the previous service

    // Answers used in order.  With the queue empty an OK box gets Ok and a
    // question gets No, and the request counts as unscripted.
    void QueueAnswer(kz::MsgAnswer answer);

    // Called as each box is asked for, before it is answered: e.g. what the
    // record on disk holds at that moment.
    void SetWitness(std::function<QString()> witness) { m_witness = std::move(witness); }

    // While held, Show() blocks the caller until Release() (to test that a
    // worker really waits for the operator).
    void Hold();
    void Release();

    kz::MsgAnswer Show(const kz::MessageRequest& request) override;

    QList<MessageRecord> Requests() const;
    QStringList Texts() const;
    int Count() const;
    int UnscriptedCount() const;
    void Clear();

    // Processes GUI events until at least n requests were seen.
    bool WaitForCount(int n, int timeoutMs = 5000) const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    std::deque<kz::MsgAnswer> m_answers;
    QList<MessageRecord> m_records;
    int m_unscripted = 0;
    std::function<QString()> m_witness;
    bool m_held = false;
    kz::IMessageService* m_previous = nullptr;
};

}  // namespace kz::test
