#include "app/core/ChipInfoReads.h"

#include "app/core/ChipInfoErrors.h"

namespace kz {

ChipInfoReads::ReadId ChipInfoReads::Begin()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return ++m_newest;
}

bool ChipInfoReads::Store(ReadId read, const ClientAnswer& answer)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (read != m_newest)
        return false;
    m_answered = read;
    m_answer = answer;
    return true;
}

std::optional<ClientAnswer> ChipInfoReads::AnswerOf(ReadId read) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (read == 0 || read != m_answered)
        return std::nullopt;
    return m_answer;
}

QString ChipInfoReads::LastOutput() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_answer.output;
}

ChipReadVerdict JudgeChipRead(const std::optional<ClientAnswer>& answer)
{
    // A client that did not start has said so in its own box.
    if (!answer || !answer->started)
        return {};
    const QString error = ChipInfoErrorMessage(answer->output);
    if (!error.isEmpty())
        return {ChipReadVerdict::Error, error};
    return {ChipReadVerdict::Report, answer->output};
}

}  // namespace kz
