#include "KeyScan.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

namespace kztest {

namespace {

// A literal (group 1) or a possibly qualified name (group 2, its last part).
const QString kLiteral = QStringLiteral(
    R"re((?:(?:QStringLiteral\(\s*|QString::fromUtf8\(\s*|QLatin1String\(\s*)?(?:u8|u|L)?"((?:[^"\\\n]|\\.)*)"|(?:QString::fromUtf8\(\s*)?(?:\w+::)*(\w+)))re");

QString Unescape(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            ++i;
            out += text[i] == u'n' ? QChar(u'\n') : text[i] == u't' ? QChar(u'\t') : text[i];
        } else {
            out += text[i];
        }
    }
    return out;
}

// Adjacent literals ("a" "b") joined, escapes resolved.
QString JoinLiterals(const QString& text)
{
    static const QRegularExpression piece(QStringLiteral(R"re("((?:[^"\\\n]|\\.)*)")re"));
    QString out;
    auto it = piece.globalMatch(text);
    while (it.hasNext())
        out += Unescape(it.next().captured(1));
    return out;
}

int LineOf(const QString& source, qsizetype offset) { return int(source.left(offset).count(u'\n')) + 1; }

// The key group holds either a literal's text or, in a group of its own, a
// name to look up among the constants.
void Collect(const QRegularExpression& re, const QString& source, const QString& fileName, int sectionGroup,
             int keyGroup, const Constants& constants, QList<FoundKey>& found)
{
    auto it = re.globalMatch(source);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const bool inDefault = sectionGroup > 0 && m.captured(sectionGroup).contains(QStringLiteral("\"Default\""));
        const QString where = QStringLiteral("%1:%2").arg(fileName).arg(LineOf(source, m.capturedStart()));
        if (m.capturedStart(keyGroup) >= 0) {
            found.append({Unescape(m.captured(keyGroup)), inDefault, where});
            continue;
        }
        for (const QString& value : constants.value(m.captured(keyGroup + 1)))
            found.append({value, inDefault, where + QStringLiteral(" (") + m.captured(keyGroup + 1) + u')'});
    }
}

}  // namespace

void ScanConstants(const QString& source, Constants& constants)
{
    static const QRegularExpression definition(
        QStringLiteral(R"re(\b(\w+)\s*\[\s*\]\s*=\s*((?:"(?:[^"\\\n]|\\.)*"\s*)+);)re"));
    auto it = definition.globalMatch(source);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        constants[m.captured(1)].append(JoinLiterals(m.captured(2)));
    }
}

QList<FoundKey> ScanLookups(const QString& source, const QString& fileName, const Constants& constants)
{
    // The section argument: anything without a comma or semicolon, allowing
    // one level of parentheses (QStringLiteral("Default"), Language()).
    static const QRegularExpression twoArgs(
        QStringLiteral(R"(\b(?:GetString|Text|ReadString)\s*\(\s*([^,;()]*(?:\([^()]*\))?[^,;()]*?)\s*,\s*)") +
        kLiteral);
    static const QRegularExpression oneArg(QStringLiteral(R"(\b(?:Text|Localized|LangText|Tr)\s*\(\s*)") +
                                           kLiteral + QStringLiteral(R"(\s*\))"));
    static const QRegularExpression table(
        QStringLiteral(R"(\{\s*"(?:btn|text|edit|comb|cmb|option|list|tab|menu)_\w*"\s*,\s*)") + kLiteral);
    QList<FoundKey> found;
    Collect(twoArgs, source, fileName, 1, 2, constants, found);
    Collect(oneArg, source, fileName, 0, 1, constants, found);
    Collect(table, source, fileName, 0, 1, constants, found);
    return found;
}

QList<FoundKey> ScanTree(const QString& root, const QStringList& folders)
{
    QList<QPair<QString, QString>> sources;  // name, text
    for (const QString& folder : folders) {
        QDirIterator it(root + u'/' + folder, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.open(QIODevice::ReadOnly))
                sources.append({file.fileName().mid(root.size() + 1), QString::fromUtf8(file.readAll())});
        }
    }
    Constants constants;
    for (const auto& [name, text] : sources)
        ScanConstants(text, constants);
    QList<FoundKey> found;
    for (const auto& [name, text] : sources)
        found += ScanLookups(text, name, constants);
    return found;
}

}  // namespace kztest
