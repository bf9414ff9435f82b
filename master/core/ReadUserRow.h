#pragma once
// The text of a READ USER row.

#include <QString>

namespace kz::master {

// A line the client ended with "\r\r\n" (the box's terminal line end passed
// through the client) ends with "\r\n" in the row.
inline QString ReadUserRowText(QString piece)
{
    return piece.replace(QLatin1String("\r\r\n"), QLatin1String("\r\n"));
}

// What the list draws for a row: plain line feeds, and no final line end,
// which would otherwise show as an empty line under every row.
inline QString ReadUserRowDisplay(QString row)
{
    row.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (row.endsWith(u'\n'))
        row.chop(1);
    return row;
}

}  // namespace kz::master
