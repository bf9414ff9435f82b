#include "platform/CommandLine.h"

namespace kz {

namespace {

bool IsSeparator(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Walks the line once; `quoted` and `inArgument` are the whole state.
class Splitter {
public:
    explicit Splitter(const QString& line) : m_line(line) {}

    QStringList Run()
    {
        while (m_pos < m_line.size())
            Step();
        EndArgument();
        return m_args;
    }

private:
    void Step()
    {
        const QChar c = m_line[m_pos];
        if (c == u'\\')
            return Backslashes();
        if (c == u'"')
            return Quote();
        if (IsSeparator(c) && !m_quoted) {
            EndArgument();
            ++m_pos;
            return;
        }
        Append(c);
        ++m_pos;
    }

    void Backslashes()
    {
        qsizetype count = 0;
        while (m_pos < m_line.size() && m_line[m_pos] == u'\\') {
            ++count;
            ++m_pos;
        }
        const bool beforeQuote = m_pos < m_line.size() && m_line[m_pos] == u'"';
        if (!beforeQuote) {
            Append(QString(count, u'\\'));
            return;
        }
        Append(QString(count / 2, u'\\'));
        if (count % 2 == 1) {
            Append(u'"');
            ++m_pos;
        }
        // With an even count the quote is handled by the next step.
    }

    void Quote()
    {
        m_inArgument = true;
        const bool doubled = m_pos + 1 < m_line.size() && m_line[m_pos + 1] == u'"';
        if (m_quoted && doubled) {
            Append(u'"');
            m_pos += 2;
            return;
        }
        m_quoted = !m_quoted;
        ++m_pos;
    }

    void Append(QChar c)
    {
        m_current.append(c);
        m_inArgument = true;
    }

    void Append(const QString& s)
    {
        m_current.append(s);
        m_inArgument = true;
    }

    void EndArgument()
    {
        if (m_inArgument)
            m_args.append(m_current);
        m_current.clear();
        m_inArgument = false;
    }

    const QString& m_line;
    qsizetype m_pos = 0;
    bool m_quoted = false;
    bool m_inArgument = false;
    QString m_current;
    QStringList m_args;
};

}  // namespace

QStringList SplitWindowsCommandLine(const QString& line)
{
    return Splitter(line).Run();
}

QString QuoteWindowsArgument(const QString& arg)
{
    const bool plain = !arg.isEmpty() && !arg.contains(u' ') && !arg.contains(u'\t') && !arg.contains(u'"');
    if (plain)
        return arg;
    QString quoted(1, u'"');
    qsizetype backslashes = 0;
    for (QChar c : arg) {
        if (c == u'\\') {
            ++backslashes;
        } else if (c == u'"') {
            // Backslashes before a quote double, and one more escapes it.
            quoted += QString(backslashes + 1, u'\\');
            backslashes = 0;
        } else {
            backslashes = 0;
        }
        quoted += c;
    }
    quoted += QString(backslashes, u'\\');  // so the closing quote stays a quote
    quoted += u'"';
    return quoted;
}

}  // namespace kz
