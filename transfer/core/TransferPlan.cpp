#include "transfer/core/TransferPlan.h"

#include "files/core/FileManagerMode.h"
#include "files/core/Commands.h"
#include "files/core/FileTexts.h"
#include "files/core/NameRules.h"
#include "files/core/ShellName.h"
#include "platform/CommandLine.h"

namespace kz::transfer {

namespace {

QString Joined(const QString& folder, const QString& name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

QString ShellPath(BoxStorage storage, const QString& name)
{
    return BoxRoot(storage) + u'/' + kz::files::ShellQuote(name);
}

}  // namespace

QString OperationName(Direction direction)
{
    return direction == Direction::Push ? QStringLiteral("push") : QStringLiteral("pull");
}

int StorageMode(BoxStorage storage)
{
    return storage == BoxStorage::Udisk ? SOURCE_USER_UDISK : SOURCE_USER_SDCARD;
}

QString BoxRoot(BoxStorage storage)
{
    return QString::fromLatin1(storage == BoxStorage::Udisk ? kz::files::kUdiskRoot : kz::files::kSdcardRoot);
}

const char* BoxNameRefusal(const QString& name)
{
    return kz::files::NewNameRefusal(name);
}

const char* PcNameRefusal(const QString& name)
{
    if (name.isEmpty())
        return kz::files::text::TargetNameEmpty;
    if (name.contains(QChar(0)) || kz::files::LeavesFolder(name))
        return kz::files::text::NameNotInFolder;
    return nullptr;
}

QString PartName(const QString& name)
{
    return u'.' + name + QStringLiteral(".kz-part");
}

QString TransferPlan::PcPath() const { return Joined(pcFolder, pcName); }
QString TransferPlan::PcPartPath() const { return Joined(pcFolder, PartName(pcName)); }
QString TransferPlan::BoxPath() const { return Joined(BoxRoot(storage), boxName); }
QString TransferPlan::BoxPartPath() const { return Joined(BoxRoot(storage), PartName(boxName)); }

QString MoveCommand(const TransferPlan& plan)
{
    const QString pc = kz::QuoteWindowsArgument(plan.direction == Direction::Push ? plan.PcPath() : plan.PcPartPath());
    const QString box =
        kz::QuoteWindowsArgument(plan.direction == Direction::Push ? plan.BoxPartPath() : plan.BoxPath());
    return plan.direction == Direction::Push ? QStringLiteral("push %1 %2").arg(pc, box)
                                             : QStringLiteral("pull %1 %2").arg(box, pc);
}

QString BoxSumCommand(const TransferPlan& plan, bool part)
{
    return kz::files::ChecksumCommand(ShellPath(plan.storage, part ? PartName(plan.boxName) : plan.boxName));
}

QString BoxCommitCommand(const TransferPlan& plan)
{
    return kz::files::RenameCommand(StorageMode(plan.storage), PartName(plan.boxName), plan.boxName);
}

QString BoxDiscardCommand(const TransferPlan& plan)
{
    return kz::files::DeleteCommand(StorageMode(plan.storage), PartName(plan.boxName));
}

QString BoxSpaceCommand(const TransferPlan& plan)
{
    return kz::files::FreeSpaceCommand(BoxRoot(plan.storage) + u'/');
}

QString BoxListCommand(BoxStorage storage)
{
    return kz::files::ListCommand(StorageMode(storage));
}

}  // namespace kz::transfer
