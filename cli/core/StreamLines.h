#pragma once
// A streaming command's output arrives in pieces that do not follow line
// ends; a script wants whole lines.  The box ends its lines in "\r\r\n" or
// "\n" through the client; every carriage return at a line's end goes.

#include <QString>
#include <QStringList>

namespace kz::cli {

class StreamLines {
public:
    // The lines this piece completes.
    QStringList Feed(const QString& piece);
    // The output has ended: the last line when it had no line end.
    QStringList Finish();

private:
    QString m_pending;
};

}  // namespace kz::cli
