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

}  // namespace kz::master
