#pragma once
// Judgement of a copy by checksum: the box's "md5sum <file>" of the source
// and of the target.  A copy is good only when both sums are there and equal;
// sizes alone cannot tell a byte flipped on the way.

#include <QString>

namespace kz::files {

enum class SumVerdict {
    Equal,      // both sums present and the same
    Different,  // both present, not the same
    Missing,    // a side printed no sum: nothing, or md5sum's own complaint
    Garbage,    // a side printed something that is not one md5sum line
};

// The lowercase sum of an "md5sum <file>" output ("<32 hex>  <name>" on one
// line, besides the client's server-start lines); empty when there is none.
QString Md5SumOf(const QString& output);

SumVerdict JudgeSums(const QString& sourceOutput, const QString& targetOutput);

}  // namespace kz::files
