#include "files/core/CopyFacts.h"

namespace kz::files {

QJsonObject CopyFactsJson(const CopyFacts& facts)
{
    QJsonObject json;
    const auto text = [&json](const char* name, const QString& value) {
        if (!value.isEmpty())
            json.insert(QLatin1String(name), value);
    };
    const auto number = [&json](const char* name, qint64 value) {
        if (value >= 0)
            json.insert(QLatin1String(name), value);
    };
    text("source", facts.sourceName);
    text("target", facts.targetName);
    number("listedBytes", facts.listedBytes);
    text("sourceMd5", facts.sourceMd5);
    text("targetMd5", facts.targetMd5);
    number("copyMs", facts.copyMs);
    number("verifyMs", facts.verifyMs);
    text("verify", facts.verify);
    return json;
}

}  // namespace kz::files
