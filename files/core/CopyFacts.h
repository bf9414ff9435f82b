#pragma once
// What the operator's record keeps of a copy between the storages: the
// names, the size, both checksums and how long the copy and its proof took.

#include <QJsonObject>
#include <QString>

namespace kz::files {

struct CopyFacts {
    QString sourceName;  // plain, as listed
    QString targetName;
    // The source's size as the box's "ls -l" lists it: a 32-bit field, so a
    // file of 4 GiB and more is known modulo 2^32 only.  -1 when not listed.
    qint64 listedBytes = -1;
    QString sourceMd5;  // lowercase hex; empty when the box printed no sum
    QString targetMd5;
    qint64 copyMs = -1;    // the cp command; -1 when it did not run
    qint64 verifyMs = -1;  // both md5sum commands; -1 when they did not run
    // How the copy was judged once its sizes agreed: "md5" (both sums
    // compared) or "size" (the box cannot sum: the sizes' word stands).
    QString verify;
};

// The record's extra fields: each fact only when it is known.
QJsonObject CopyFactsJson(const CopyFacts& facts);

}  // namespace kz::files
