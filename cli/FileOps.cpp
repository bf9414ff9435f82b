// The file manager's listing, delete and rename.  Names come from the
// command line instead of a list, so each is checked by the rules of a typed
// name: quotable for the box's shell, and inside its folder.
#include <QJsonArray>

#include "device/ServerStartLines.h"
#include "cli/Commands.h"
#include "cli/core/Operands.h"
#include "files/core/Commands.h"
#include "files/core/FileTexts.h"
#include "files/core/Listing.h"
#include "files/core/NameRules.h"

namespace kz::cli {

namespace ft = kz::files::text;

namespace {

// The listing of the storage, or the failure to report.
struct ListingResult {
    kz::files::Listing listing;
    std::optional<Outcome> failure;
};

ListingResult ListStorage(const Session& session, Storage storage, const QString& operation)
{
    if (storage == Storage::Udisk) {
        if (std::optional<Outcome> failure = session.MountStick(operation))
            return {{}, failure};
    }
    const kz::ClientAnswer answer = session.Run(kz::files::ListCommand(ListMode(storage)));
    if (!answer.started)
        return {{}, Failed(answer.failure.toUtf8().constData(), operation)};
    if (const char* error = kz::files::ListingErrorKey(answer.output))
        return {{}, Failed(error, operation, answer.output)};
    // The window shows what it could list; a script must not take a storage
    // the box could not read ("/mnt/udisk: Input/output error") for an empty one.
    const QString words = kz::files::ListingOtherLines(answer.output);
    if (!words.isEmpty())
        return {{}, Failed(nullptr, operation, words)};
    return {kz::files::ParseListingAndFolders(answer.output), std::nullopt};
}

// A file named on the command line, or the usage error.
std::optional<Location> NamedFile(const Session& session, const QString& operand, int& code)
{
    const LocationResult parsed = ParseLocation(operand);
    const char* refusal = parsed.error.isEmpty() ? kz::files::NewNameRefusal(parsed.location.name) : nullptr;
    if (!parsed.error.isEmpty())
        code = session.Usage(parsed.error);
    else if (refusal)
        code = session.Usage(refusal);
    else
        return parsed.location;
    return std::nullopt;
}

// Delete and rename succeed when the box printed nothing.
Outcome ByEmptyAnswer(const kz::ClientAnswer& answer, const char* ok, const char* failed, const QString& operation)
{
    if (answer.started && kz::IsEmptyAnswer(answer.output))
        return Succeeded(ok, operation);
    return Failed(failed, operation, answer.started ? answer.output : answer.failure);
}

}  // namespace

int RunLs(Session& session)
{
    const QString operation = QStringLiteral("ls");
    const std::optional<Storage> storage = ParseStorage(session.Request().operands.at(0));
    if (!storage)
        return session.Usage(QStringLiteral("ls takes udisk or sdcard, not '%1'").arg(session.Request().operands.at(0)));
    const ListingResult result = ListStorage(session, *storage, operation);
    if (result.failure)
        return session.Finish(*result.failure);
    QJsonArray files;
    QString text;
    for (const kz::files::FileEntry& entry : result.listing.entries) {
        const QString size = entry.size.trimmed();
        files.append(QJsonObject{{QStringLiteral("name"), entry.name},
                                 {QStringLiteral("date"), entry.date},
                                 {QStringLiteral("size"), size},
                                 {QStringLiteral("bytes"), qint64(qMin<quint64>(entry.bytes, INT64_MAX))}});
        text += QStringLiteral("%1  %2  %3\n").arg(entry.date, size.rightJustified(12), entry.name);
    }
    const QJsonObject extra{{QStringLiteral("storage"), StorageWord(*storage)},
                            {QStringLiteral("files"), files},
                            {QStringLiteral("folders"), QJsonArray::fromStringList(result.listing.folders)}};
    return session.Finish(Data(operation, extra), text);
}

int RunRm(Session& session)
{
    const QString operation = QStringLiteral("rm");
    int code = kExitUsage;
    const std::optional<Location> file = NamedFile(session, session.Request().operands.at(0), code);
    if (!file)
        return code;
    if (file->storage == Storage::Udisk) {
        if (std::optional<Outcome> failure = session.MountStick(operation))
            return session.Finish(*failure);
    }
    const kz::ClientAnswer answer = session.Run(kz::files::DeleteCommand(ListMode(file->storage), file->name));
    return session.Finish(ByEmptyAnswer(answer, ft::DeleteOk, ft::DeleteFailed, operation));
}

int RunMv(Session& session)
{
    const QString operation = QStringLiteral("mv");
    int code = kExitUsage;
    const std::optional<Location> file = NamedFile(session, session.Request().operands.at(0), code);
    if (!file)
        return code;
    const QString newName = session.Request().operands.at(1);
    if (const char* refusal = kz::files::NewNameRefusal(newName))
        return session.Usage(refusal);
    const ListingResult result = ListStorage(session, file->storage, operation);
    if (result.failure)
        return session.Finish(*result.failure);
    QStringList names;
    for (const kz::files::FileEntry& entry : result.listing.entries)
        names << entry.name;
    switch (kz::files::FindNameClash(names, result.listing.folders, file->name, newName)) {
    case kz::files::NameClash::Folder:
        return session.Finish(Failed(ft::FolderExists, operation));
    case kz::files::NameClash::File:
        // The window asks; a script says so beforehand.
        if (!session.Request().Has("--replace"))
            return session.Finish(Failed(ft::ReplaceQuestion, operation, QStringLiteral("(give --replace to replace it)")));
        break;
    case kz::files::NameClash::None:
        break;
    }
    const kz::ClientAnswer answer = session.Run(kz::files::RenameCommand(ListMode(file->storage), file->name, newName));
    return session.Finish(ByEmptyAnswer(answer, ft::RenameOk, ft::RenameFailed, operation));
}

}  // namespace kz::cli
