#include "cli/core/CommandTable.h"

namespace kz::cli {

namespace {

const std::vector<CommandSpec> kCommands = {
    {"devices", "", 0, 0, "list the boxes adb sees, with their state and model",
     "Runs \"devices\" and asks every box that is online for its product model. One line per box: serial, "
     "state, model (\"-\" when the box is not online).",
     {}},
    {"info", "", 0, 0, "read the chip in the socket and print its record",
     "Runs the chip tool's identity report (/emmc_info) and prints the decoded record: maker, product, "
     "revision, partitions and the four boot settings. Fails with the window's message when no chip is in "
     "the socket or the box is not there.",
     {{"--raw", nullptr, nullptr, false, "print the tool's report as it stands instead of the record"}}},
    {"mount", "", 0, 0, "mount the box's USB stick on /mnt/udisk",
     "Succeeds when the stick is mounted now or was already mounted; fails with \"MountUdisk Failed!\" and the "
     "box's words (\"mount: No such file or directory\" when no stick is in the box).",
     {}},
    {"reboot", "", 0, 0, "reboot the box",
     "Succeeds when the box took the command; the box is away for a few seconds afterwards.", {}},
    {"ls", "udisk|sdcard", 1, 1, "list the files on the USB stick or the SD card",
     "One line per file: date, size and name, as the file manager lists them (folders are not listed). The "
     "stick is mounted first. With --json each file also carries \"bytes\", the listed size as a number. The box "
     "lists sizes as 32-bit numbers, so a file of 4 GiB or more shows its size modulo 4 GiB.",
     {}},
    {"copy", "udisk:NAME sdcard:NAME | sdcard:NAME udisk:NAME", 2, 2, "copy a file between the stick and the SD card",
     "Copies NAME from one storage into the other under the second NAME, as the file manager does: the target "
     "must have room, and the copy counts only when both files are listed with the same size and the same "
     "checksum afterwards; a box whose busybox has no md5sum leaves the sizes to decide (verify=size). The "
     "stick is mounted first. Progress is drawn on standard error when it is a terminal.",
     {}},
    {"push", "LOCAL udisk:NAME|sdcard:NAME", 2, 2, "send a file from this PC to the box",
     "Sends the PC's file LOCAL to NAME on the stick or the SD card through the adb client. The storage must "
     "have room for it (the box's df), and the file counts only when the PC's md5 of LOCAL equals the box's "
     "md5sum of what arrived; it travels under a hidden part name and takes NAME only then, so a failed push "
     "leaves nothing behind. An existing NAME is replaced only with --replace. Progress, speed and time left "
     "are drawn on standard error when it is a terminal.",
     {{"--replace", nullptr, nullptr, false, "replace a file that already has NAME"}}},
    {"pull", "udisk:NAME|sdcard:NAME LOCAL", 2, 2, "fetch a file from the box to this PC",
     "Fetches NAME from the stick or the SD card into LOCAL (a file, or a folder to put NAME in), with the "
     "checks and the proof of push: room in the PC's folder, and the box's md5sum equal to the PC's md5 of "
     "what arrived. A failed or cancelled pull leaves no partial file. An existing LOCAL file is replaced "
     "only with --replace.",
     {{"--replace", nullptr, nullptr, false, "replace an existing LOCAL file"}}},
    {"rm", "udisk:NAME|sdcard:NAME", 1, 1, "delete a file",
     "Deletes NAME from the storage without asking (the window asks first). Succeeds when the box printed "
     "nothing.",
     {}},
    {"mv", "udisk:NAME|sdcard:NAME NEWNAME", 2, 2, "rename a file inside its folder",
     "Renames NAME to NEWNAME in the same folder, with the file manager's rules: NEWNAME cannot hold '/' or be "
     "'.' or '..', and a folder of that name is refused. Another file of that name is replaced only with "
     "--replace.",
     {{"--replace", nullptr, nullptr, false, "replace another file that already has NEWNAME"}}},
    {"read-boot", "1|2 NAME", 2, 2, "save a boot partition of the chip into a file on the SD card",
     "Runs the chip tool's boot read into /mnt/sdcard/NAME; succeeds when the tool says \"Complete "
     "successfully\". The saved image's md5 sum is reported with it.",
     {}},
    {"write-boot", "1|2 udisk:NAME|sdcard:NAME", 2, 2, "write a boot partition of the chip from a file",
     "Writes the boot partition from NAME on the stick or the SD card. As in the board dialog the name is "
     "sent in lower case (both storages are vfat), and the write counts only when the partition, read back "
     "and cut to the image's length, has the image's md5 sum; a box without md5sum or truncate leaves the "
     "tool's word standing (verdict not-proved). The stick is mounted first.",
     {}},
    {"read-user", "NAME", 1, 1, "save the start of the chip's user area into a file on the SD card",
     "Reads the first N units of the user area into /mnt/sdcard/NAME.",
     {{"--size", "N", nullptr, true, "how much to read: 1 to 10000 units"},
      {"--unit", "UNIT", "MB|GB", false, "unit of --size (MB when not given)"}}},
    {"write-user", "udisk:NAME|sdcard:NAME", 1, 1, "write a file into the chip's user area",
     "Writes NAME from the stick or the SD card into the user area, starting at --address. The stick is "
     "mounted first.",
     {{"--address", "0xHEX", nullptr, true, "start of the write in KB, hexadecimal with 0x (0x400 is 1 MB)"}}},
    {"config", "", 0, 0, "change the chip's boot configuration",
     "Applies each setting given, one tool run each, in the order below; stops at the first one the tool "
     "does not confirm with \"Complete successfully !!\". At least one setting is needed.",
     {{"--boot-partition", "WHICH", "none|1|2|user", false, "partition the chip boots from"},
      {"--ack", "ON", "on|off", false, "boot acknowledge"},
      {"--mode", "MODE", "backward-compatible|high-speed", false, "boot mode (single data rate)"},
      {"--bus-width", "W", "1|4|8", false, "boot bus width"}}},
    {"read-user-master", "", 0, 0, "make a master from the chip in the socket (READ USER)",
     "Runs the chip tool's READ USER and prints its lines as they come. Fails when the box, the chip or the "
     "tool reports an error.",
     {}},
    {"mtx", "", 0, 0, "make a master from the MTX file on the USB stick",
     "Mounts the stick, runs the chip tool's MTX decompression and prints its lines as they come; PASS when "
     "the tool says \"Master OK\" and no error.",
     {}},
};

const std::vector<OptionSpec> kGlobalOptions = {
    {"--serial", "S", nullptr, false, "the box to use when several are attached (adb's serial, see devices)"},
    {"--json", nullptr, nullptr, false,
     "print one JSON object per command (or per line of a streaming command) on standard output, with the "
     "fields of the operator's record file"},
    {"--help", nullptr, nullptr, false, "describe the tool, or the command it follows"},
    {"--man", nullptr, nullptr, false, "print the manual page (roff)"},
};

QString OptionUsage(const OptionSpec& option)
{
    QString text = QString::fromUtf8(option.name);
    if (option.value)
        text += u' ' + QString::fromUtf8(option.choices ? option.choices : option.value);
    return option.required ? text : u'[' + text + u']';
}

QString OptionLines(const std::vector<OptionSpec>& options)
{
    QString text;
    for (const OptionSpec& option : options) {
        QString head = QString::fromUtf8(option.name);
        if (option.value)
            head += u' ' + QString::fromUtf8(option.choices ? option.choices : option.value);
        text += QStringLiteral("  %1\n      %2\n").arg(head, QString::fromUtf8(option.help));
    }
    return text;
}

}  // namespace

const std::vector<CommandSpec>& Commands()
{
    return kCommands;
}

const std::vector<OptionSpec>& GlobalOptions()
{
    return kGlobalOptions;
}

const CommandSpec* FindCommand(QStringView name)
{
    for (const CommandSpec& command : kCommands) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

QString Synopsis(const CommandSpec& command)
{
    QString text = QStringLiteral("%1 [--serial S] [--json] %2").arg(QLatin1String(kToolName), QLatin1String(command.name));
    if (*command.operands)
        text += u' ' + QString::fromUtf8(command.operands);
    for (const OptionSpec& option : command.options)
        text += u' ' + OptionUsage(option);
    return text;
}

QString ExitCodesText()
{
    return QStringLiteral(
        "Exit status: 0 when the operation succeeded, 1 when the box, the chip or the adb client failed it "
        "(the window's message is on standard error), 2 for a usage error (also when several boxes are "
        "attached and no --serial names one).");
}

QString ToolHelp()
{
    QString text = QStringLiteral("Usage: %1 [--serial S] [--json] COMMAND [ARGUMENTS]\n\n"
                                  "Drives a KORVALD eMMC duplicator box through adb, one operation per run.\n\n"
                                  "Commands:\n")
                       .arg(QLatin1String(kToolName));
    for (const CommandSpec& command : kCommands)
        text += QStringLiteral("  %1%2\n").arg(QString::fromUtf8(command.name).leftJustified(18), QString::fromUtf8(command.summary));
    text += QStringLiteral("\nOptions:\n") + OptionLines(kGlobalOptions);
    text += u'\n' + ExitCodesText() + QStringLiteral("\n\n'%1 COMMAND --help' describes a command.\n").arg(QLatin1String(kToolName));
    return text;
}

QString CommandHelp(const CommandSpec& command)
{
    QString text = QStringLiteral("Usage: ") + Synopsis(command) + QStringLiteral("\n\n") +
                   QString::fromUtf8(command.summary) + QStringLiteral(".\n") + QString::fromUtf8(command.details) +
                   u'\n';
    if (!command.options.empty())
        text += QStringLiteral("\nOptions:\n") + OptionLines(command.options);
    return text;
}

}  // namespace kz::cli
