#pragma once
// Ways of reading a fuzz input: as text, or as several texts separated by NUL
// bytes (a parser that takes two outputs, or a name and a value).

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace kz::fuzz {

inline QByteArray Bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

inline QString Text(const uint8_t* data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Exactly `count` fields: the input split at its first count-1 NUL bytes,
// missing fields empty.
inline QList<QByteArray> Fields(const uint8_t* data, size_t size, int count)
{
    QList<QByteArray> fields;
    QByteArray rest = Bytes(data, size);
    while (fields.size() < count - 1) {
        const qsizetype nul = rest.indexOf('\0');
        fields << (nul < 0 ? rest : rest.left(nul));
        rest = nul < 0 ? QByteArray() : rest.mid(nul + 1);
    }
    fields << rest;
    return fields;
}

}  // namespace kz::fuzz
