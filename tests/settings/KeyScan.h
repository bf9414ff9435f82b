#pragma once
// Finds the language-file keys that source code looks up by literal.

#include <QHash>
#include <QString>
#include <QStringList>

namespace kztest {

struct FoundKey {
    QString key;
    bool inDefaultSection = false;  // looked up in [Default] rather than a language
    QString where;                  // "file:line"
};

// Recognised forms (the literal may be wrapped in QStringLiteral, u"" or
// QString::fromUtf8):
//   GetString(<section>, "key", ...)   Text(<section>, "key")   ReadString(<section>, "key")
//   Text("key")   Localized("key")   LangText("key")   Tr("key")
//   caption tables {"btn_x", "key"} whose first text is a control name
// A key given as a (qualified) name instead of a literal is resolved through
// `constants`; names it does not know (local variables) are skipped.
using Constants = QHash<QString, QStringList>;
QList<FoundKey> ScanLookups(const QString& source, const QString& fileName, const Constants& constants = {});

// Text constants defined as  NAME[] = "..." "...";  by unqualified name.
void ScanConstants(const QString& source, Constants& constants);

// Every lookup in the *.cpp and *.h files below the given folders.
QList<FoundKey> ScanTree(const QString& root, const QStringList& folders);

}  // namespace kztest
