#include "link/ChipInfoReads.h"

#include "link/ChipInfoErrors.h"

namespace kz {

ChipInfoReads::ReadId ChipInfoReads::Begin()
{
    return ++m_newest;
}

bool ChipInfoReads::Store(ReadId read, const ClientAnswer& answer)
{
    if (read != m_newest)
        return false;
    m_answered = read;
    m_answer = answer;
    return true;
}

std::optional<ClientAnswer> ChipInfoReads::AnswerOf(ReadId read) const
{
    if (read == 0 || read != m_answered)
        return std::nullopt;
    return m_answer;
}

QString ChipInfoReads::LastOutput() const
{
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
