#include "cli/core/Outcome.h"

#include <QStringList>

#include "link/RecordLine.h"
#include "device/ServerStartLines.h"

namespace kz::cli {

Outcome Succeeded(const char* key, const QString& operation, QJsonObject extra)
{
    Outcome outcome;
    outcome.ok = true;
    outcome.kind = QStringLiteral("success");
    outcome.key = QString::fromUtf8(key);
    outcome.operation = operation;
    outcome.extra = std::move(extra);
    return outcome;
}

Outcome Failed(const char* key, const QString& operation, const QString& tip, QJsonObject extra)
{
    Outcome outcome;
    outcome.kind = QStringLiteral("failure");
    outcome.key = QString::fromUtf8(key);
    outcome.operation = operation;
    // The client's own server-start lines are no part of the box's answer.
    outcome.tip = kz::StripServerStartLines(tip).trimmed();
    outcome.extra = std::move(extra);
    return outcome;
}

Outcome Data(const QString& operation, QJsonObject extra)
{
    Outcome outcome;
    outcome.ok = true;
    outcome.kind = QStringLiteral("info");
    outcome.operation = operation;
    outcome.extra = std::move(extra);
    return outcome;
}

int ExitCodeOf(const Outcome& outcome)
{
    return outcome.ok ? kExitOk : kExitFailed;
}

QByteArray OutcomeJson(const Outcome& outcome, const QString& serial, const QDateTime& time)
{
    kz::RecordEntry entry;
    entry.time = time;
    entry.kind = outcome.kind;
    entry.key = outcome.key;
    entry.shown = outcome.key;
    entry.operation = outcome.operation;
    entry.serial = serial;
    entry.chip = outcome.chip;
    entry.extra = outcome.extra;
    if (!outcome.message.isEmpty())
        entry.extra.insert(u"message", outcome.message);
    if (!outcome.tip.isEmpty())
        entry.extra.insert(u"tip", outcome.tip);
    return kz::RecordLine(entry);
}

QString FailureText(const Outcome& outcome)
{
    QStringList lines;
    for (const QString& part : {outcome.message, outcome.key, outcome.tip}) {
        if (!part.isEmpty())
            lines << part;
    }
    return lines.isEmpty() ? QString() : lines.join(u'\n') + u'\n';
}

QByteArray StreamLineJson(const QString& line, const QString& operation, const QString& serial, const QDateTime& time)
{
    kz::RecordEntry entry;
    entry.time = time;
    entry.kind = QStringLiteral("info");
    entry.shown = line;
    entry.operation = operation;
    entry.serial = serial;
    return kz::RecordLine(entry);
}

}  // namespace kz::cli
