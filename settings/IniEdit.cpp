#include "settings/IniParse.h"

#include <QList>

namespace kz {

namespace {

// One line of the file: [begin, end) is its text, `next` the start of the
// following line (after the terminator, if there is one).
struct Line {
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

QList<Line> SplitLines(const QByteArray& data)
{
    QList<Line> lines;
    qsizetype pos = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (pos < data.size()) {
        // A lone CR ends a line too, as it does for the reader.
        Line line{pos, pos, pos};
        while (line.end < data.size() && data[line.end] != '\n' && data[line.end] != '\r')
            ++line.end;
        line.next = line.end + (data.mid(line.end, 2) == "\r\n" ? 2 : line.end < data.size() ? 1 : 0);
        lines.append(line);
        pos = line.next;
    }
    return lines;
}

// The reader's blanks around names: space, tab and line breaks only.
QByteArray TrimBlanks(const QByteArray& text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// ASCII-only folding, as the reader does: UTF-8 bytes beyond ASCII compare as
// they are.
bool SameName(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

std::optional<QByteArray> SectionName(const QByteArray& text)
{
    const QByteArray t = TrimBlanks(text);
    if (!t.startsWith('['))
        return std::nullopt;
    // A header without its closing bracket is no entry, and the reader files
    // the entries after it under a section nobody can ask for: a name with
    // "]", which no section we write holds.
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return QByteArray("]");
    return TrimBlanks(t.mid(1, close - 1));
}

std::optional<QByteArray> KeyName(const QByteArray& text)
{
    const QByteArray t = TrimBlanks(text);
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('#') || t.startsWith('['))
        return std::nullopt;
    const qsizetype eq = t.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return TrimBlanks(t.first(eq));
}

bool WritableName(const QByteArray& name, const char* forbidden)
{
    if (name.trimmed().isEmpty() || name.trimmed() != name)
        return false;
    for (const char* f = forbidden; *f; ++f)
        if (name.contains(*f))
            return false;
    return !name.contains('\r') && !name.contains('\n') && !name.contains('\0');
}

QByteArray LineEnd(const QByteArray& data) { return data.contains("\r\n") ? "\r\n" : "\n"; }

// The reader takes the blanks and line breaks after a "[" as part of the
// header, so a line holding only "[" makes the next header its name: what is
// written after it would not read back.
bool HasLoneBracket(const QByteArray& data)
{
    for (const Line& line : SplitLines(data))
        if (TrimBlanks(data.mid(line.begin, line.end - line.begin)) == "[")
            return true;
    return false;
}

// Where a new key goes: after the last key line of the section's first block
// (or after its header), and whether that spot already ends a line.
struct Slot {
    qsizetype replaceBegin = -1;  // value bytes of an existing key line
    qsizetype replaceEnd = -1;
    qsizetype insertAt = -1;      // start of the line after the block's last entry
    bool needsLineEnd = false;
};

Slot FindSlot(const QByteArray& data, const QByteArray& section, const QByteArray& key)
{
    Slot slot;
    bool inSection = false;
    bool firstBlockDone = false;
    for (const Line& line : SplitLines(data)) {
        const QByteArray text = data.mid(line.begin, line.end - line.begin);
        if (auto name = SectionName(text)) {
            if (inSection)
                firstBlockDone = true;
            inSection = SameName(*name, section);
            if (inSection && slot.insertAt < 0) {
                slot.insertAt = line.next;
                slot.needsLineEnd = line.next == line.end;
            }
            continue;
        }
        auto name = KeyName(text);
        if (!inSection || !name)
            continue;
        if (SameName(*name, key)) {
            qsizetype value = line.begin + text.indexOf('=') + 1;
            while (value < line.end && (data[value] == ' ' || data[value] == '\t'))
                ++value;
            slot.replaceBegin = value;
            slot.replaceEnd = line.end;
            return slot;
        }
        if (!firstBlockDone) {
            slot.insertAt = line.next;
            slot.needsLineEnd = line.next == line.end;
        }
    }
    return slot;
}

}  // namespace

std::optional<QByteArray> IniWithValue(const QByteArray& data, const QString& section, const QString& key,
                                       const QString& value)
{
    const QByteArray s = section.toUtf8();
    const QByteArray k = key.toUtf8();
    // The blanks after '=' belong to the line, not to the value (the reader
    // drops them and a replacement keeps them), so a value's own leading
    // blanks would add more at every write.
    QByteArray v = value.toUtf8();
    while (v.startsWith(' ') || v.startsWith('\t'))
        v.remove(0, 1);
    if (!WritableName(s, "]") || !WritableName(k, "=") || k.startsWith('[') || k.startsWith(';') ||
        k.startsWith('#') || v.contains('\r') || v.contains('\n') || v.contains('\0') ||
        data.contains('\0') || HasLoneBracket(data))  // the reader stops at a NUL
        return std::nullopt;

    const QByteArray eol = LineEnd(data);
    const Slot slot = FindSlot(data, s, k);
    QByteArray out = data;
    if (slot.replaceBegin >= 0)
        return out.replace(slot.replaceBegin, slot.replaceEnd - slot.replaceBegin, v);
    if (slot.insertAt >= 0)
        return out.insert(slot.insertAt, (slot.needsLineEnd ? eol : QByteArray()) + k + '=' + v + eol);
    if (!out.isEmpty() && !out.endsWith('\n'))
        out += eol;
    return out + '[' + s + ']' + eol + k + '=' + v + eol;
}

}  // namespace kz
