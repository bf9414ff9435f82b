#pragma once
// The language file binding: every visible text is looked up with the current
// language name as section and the English wording as key.
//
// Every lookup reads the file afresh, so an edited value shows at the next
// lookup.  The bound path is guarded, and each lookup works on its own
// buffers, so one CIni can answer the GUI thread and workers at once.

#include <QMutex>
#include <QString>

class CIni {
public:
    // Size of the callers' text buffers, terminator included.
    static constexpr int kTextBufferSize = 256;

    CIni() = default;
    virtual ~CIni() = default;
    CIni(const CIni&) = delete;
    CIni& operator=(const CIni&) = delete;

    // A non-null path binds the object to that file; a null path unbinds it
    // (later lookups give empty texts).
    void SetFileName(const QString* path);
    void SetFileName(const QString& path) { SetFileName(&path); }
    QString FileName() const;

    // The whole value; empty when the file, section or key is missing, and
    // when the section or key is null or empty.
    QString ReadString(const QString& section, const QString& key) const;

    // Copies the value into `out` (kTextBufferSize characters, or null), cut
    // to 255 characters plus terminator.  Returns the value's length, but
    // kTextBufferSize when a non-null `out` could not hold it all.
    int GetString(const QString& section, const QString& key, QChar* out) const;

    // What GetString would put into a caller's buffer, as a QString.
    QString Text(const QString& section, const QString& key) const;

    // Stores key=value in the section, keeping every other line of the file
    // as it was.  Creates the file when it does not exist.  False when the
    // object is unbound, the file cannot be read or replaced, or the names or
    // the value cannot be written as one INI line.
    bool WriteString(const QString& section, const QString& key, const QString& value);

private:
    mutable QMutex m_mutex;
    QString m_path;
};
