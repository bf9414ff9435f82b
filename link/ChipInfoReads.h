#pragma once
// Chip-information reads, each judged by the answer it produced.
//
// The loading dialog may be closed early or give up while the chip tool
// still runs; the answer that comes afterwards belongs to that read alone.
// Each read is numbered when it begins.  An answer is kept only while no
// later read has begun, so a late answer never replaces a newer one, and a
// read that has no answer of its own is judged as nothing at all (never by
// the text an earlier read left).  Used on the GUI thread only: the worker
// that reads hands its answer over there.

#include <QString>
#include <QtGlobal>
#include <optional>

#include "device/ClientAnswer.h"

namespace kz {

class ChipInfoReads {
public:
    using ReadId = quint64;

    ReadId Begin();
    // Keeps the answer of `read`; false (dropped) when a later read has begun.
    bool Store(ReadId read, const ClientAnswer& answer);
    // The answer `read` produced, once it has come.
    std::optional<ClientAnswer> AnswerOf(ReadId read) const;
    // The output of the last answer kept (empty before the first).
    QString LastOutput() const;

private:
    ReadId m_newest = 0;
    ReadId m_answered = 0;  // the read whose answer is kept; 0: none
    ClientAnswer m_answer;
};

// What the main window does after a read.
struct ChipReadVerdict {
    enum Kind {
        Nothing,  // no answer of its own (closed early, given up) or no client
        Error,    // text: the message (English key)
        Report,   // text: the chip report as the tool printed it
    };
    Kind kind = Nothing;
    QString text;
};

ChipReadVerdict JudgeChipRead(const std::optional<ClientAnswer>& answer);

}  // namespace kz
