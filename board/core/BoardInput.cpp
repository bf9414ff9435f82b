#include "board/core/BoardInput.h"

#include <climits>

namespace kz::board {

int ParseDecimal(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = qMin(value * 10 + (text[i].unicode() - u'0'), static_cast<long long>(INT_MAX) + 1);
    value = negative ? -value : value;
    return static_cast<int>(qBound(static_cast<long long>(INT_MIN), value, static_cast<long long>(INT_MAX)));
}

namespace {

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

}  // namespace

std::optional<int> WriteStartMb(const QString& address)
{
    if (address.size() < 2 || address[0] != u'0' || (address[1] != u'x' && address[1] != u'X'))
        return std::nullopt;
    // Counted wide, so a start of 2 GiB and beyond stays positive.
    unsigned long long kb = 0;
    for (qsizetype i = 2; i < address.size(); ++i) {
        const int digit = HexDigit(address[i]);
        if (digit < 0)
            return std::nullopt;
        kb = kb * 16 + static_cast<unsigned>(digit);
        if (kb / 1024 > static_cast<unsigned long long>(INT_MAX))
            return std::nullopt;
    }
    return static_cast<int>(kb / 1024);
}

}  // namespace kz::board
