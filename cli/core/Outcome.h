#pragma once
// What one command ends with, shaped for its two readers: a person (text on
// standard output, failures on standard error) and a script (one JSON object
// with the fields of the operator's record file).  The exit status follows
// from it.

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>

namespace kz::cli {

enum ExitCode { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

struct Outcome {
    bool ok = false;
    QString kind;       // the record's kind: success, failure, info, chip
    QString key;        // the window's English text; empty for plain data
    QString operation;  // the record's operation name
    QString message;    // a failure's message box text when it differs from the key
    QString tip;        // a failure's evidence: the box's words
    QJsonObject chip;
    QJsonObject extra;  // the command's data (files, devices, settings ...)
};

Outcome Succeeded(const char* key, const QString& operation, QJsonObject extra = {});
Outcome Failed(const char* key, const QString& operation, const QString& tip = {}, QJsonObject extra = {});
// Data that is no verdict of the window (a listing, a device list).
Outcome Data(const QString& operation, QJsonObject extra);

int ExitCodeOf(const Outcome& outcome);

// The record line: time, kind, key, text, operation, serial, chip, then
// "message", "tip" and the extra fields.  Ends in a line feed.
QByteArray OutcomeJson(const Outcome& outcome, const QString& serial, const QDateTime& time);

// For standard error: the message, the key, then the box's words, each on a
// line of its own; empty parts are left out.
QString FailureText(const Outcome& outcome);

// A line a streaming command printed, as a record line of kind "info".
QByteArray StreamLineJson(const QString& line, const QString& operation, const QString& serial, const QDateTime& time);

}  // namespace kz::cli
