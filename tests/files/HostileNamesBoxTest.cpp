// Hostile file names against the simulated box, end to end: on the stick and
// on the SD card, each name is picked, copied, renamed and deleted through
// the file manager, or refused with a message.  The box's command log shows
// what its shell was asked to run: only the program's own commands, with the
// name always as one single-quoted word; and the box's shell, which runs
// command substitutions, made none of the files the names would make.
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>

#include "FileManagerBoxFixture.h"
#include "link/Texts.h"
#include "device/QtPrinting.h"
#include "files/FileManager.h"
#include "files/FilePicker.h"
#include "files/core/FileTexts.h"
#include "files/core/ShellName.h"  // the refusal message
#include "sim/device/CommandLog.h"

using namespace kz::test;
namespace ft = kz::files::text;
namespace fs = std::filesystem;

namespace {

struct HostileName {
    std::string name;
    bool refused;  // cannot be carried in a command line: every operation says so
};

const std::vector<HostileName>& Names()
{
    static const std::vector<HostileName> names = {
        {"two  blanks.bin", false},
        {"John's.bin", false},
        {"say \"hi\".bin", true},
        {"a;rm -r .bin", false},
        {"$(touch x).bin", false},
        {"`touch x`.bin", false},
        {"a && touch x.bin", false},
        {"Ünïcødé 名字.bin", false},
        {std::string(251, 'L') + ".bin", false},
        {"-rf.bin", false},
        {"back\\slash \\n.bin", false},
        {" leading blank.bin", false},
    };
    return names;
}

// The new name of a rename: as hostile as the old one, of the same length.
std::string Renamed(const std::string& name)
{
    return name.substr(0, name.size() - 4) + ".new";
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

// One storage as the file manager sees it.
struct Side {
    const char* folder;  // in the state directory
    const char* root;    // on the box
    const char* otherFolder;
    const char* otherRoot;
    int copyMode;
    int pickMode;
};
const Side kStick{"udisk", "/mnt/udisk", "sdcard", "/mnt/sdcard", COPY_UDISK_TO_SDCARD, SOURCE_USER_UDISK};
const Side kSdcard{"sdcard", "/mnt/sdcard", "udisk", "/mnt/udisk", COPY_SDCARD_TO_UDISK, SOURCE_BOOT_SDCARD};

// `name` as sh reads it back as one word: in single quotes, an apostrophe
// as '\''.  Written here rather than taken from the program, so that a
// fault in the program's quoting cannot hide itself.
std::string SingleQuoted(const std::string& name)
{
    std::string quoted = "'";
    for (const char c : name)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// A logged command with the quoted old and new name replaced by <name> and
// <new>; the log escapes a backslash, so the quoted forms are escaped alike.
std::string Template(std::string line, const std::string& name)
{
    for (const auto& [from, to] : {std::pair{name, std::string("<name>")}, std::pair{Renamed(name), std::string("<new>")}}) {
        const std::string quoted = box::dev::EscapeLogLine(SingleQuoted(from));
        for (size_t at = line.find(quoted); at != std::string::npos; at = line.find(quoted, at + to.size()))
            line.replace(at, quoted.size(), to);
    }
    return line;
}

// Every command the program may send while one name is handled; the copy's
// target is the name itself on the stick side's partner, "uImage" otherwise.
std::set<std::string> Allowed(const Side& side, bool refused)
{
    const std::string root = side.root, other = side.otherRoot;
    std::set<std::string> allowed{"ls -l " + root};
    if (refused)
        return allowed;
    const std::string target = other + "/" + (side.copyMode == COPY_SDCARD_TO_UDISK ? "<name>" : "'uImage'");
    for (const std::string& line :
         {"ls -l " + root + "/<name>", " ls -l " + root + "/<name>", "ls -l " + target, " ls -l " + target,
          "df " + other + "/", "/mnt/sdcard/busybox cp " + root + "/<name> " + target,
          "/mnt/sdcard/busybox md5sum " + root + "/<name>", "/mnt/sdcard/busybox md5sum " + target,
          "mv " + root + "/<name> " + root + "/<new>", "cd " + root + " && rm ./<new>"})
        allowed.insert(line);
    return allowed;
}

std::vector<std::string> LinesFrom(const fs::path& log, std::streamoff offset)
{
    std::ifstream in(log, std::ios::binary);
    in.seekg(offset);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The file manager has listed its folder (never empty: the box keeps its
// tools on the SD card and the demo files on the stick).
bool Listed(QWidget* modal) { return FilesGui::RowCount(modal) > 0; }

// False, with a failure that names the rows, when `name` has no row.
bool Shows(QWidget* modal, const std::string& name)
{
    if (RowOf(modal, Q(name)) >= 0)
        return true;
    QStringList rows;
    for (int row = 0; row < FilesGui::RowCount(modal); ++row)
        rows << u'[' + FilesGui::Cell(modal, row, 0) + u']';
    ADD_FAILURE() << "not listed; rows: " << rows.join(u' ').toStdString();
    return false;
}

// What a name that reached the shell unquoted would have made: "$(touch x)"
// and the backquotes make x, "&& touch x.bin" makes x.bin (x.new renamed).
std::vector<std::string> Planted(const fs::path& state)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(state)) {
        const std::string name = entry.path().filename().string();
        if (name == "x" || name == "x.bin" || name == "x.new")
            found.push_back(entry.path().string());
    }
    return found;
}

size_t FilesIn(const fs::path& folder)
{
    return size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

}  // namespace

class HostileNamesBox : public FileManagerBox {
protected:
    void PutNames(const Side& side)
    {
        for (size_t i = 0; i < Names().size(); ++i)
            std::ofstream(Folder(side) / Names()[i].name) << "content of row " << i;
    }
    fs::path Folder(const Side& side) const { return box.StateDir() / side.folder; }
    fs::path Log() const { return box.StateDir() / "shell-commands.log"; }
    std::streamoff LogSize() const { return std::streamoff(fs::file_size(Log())); }
    QStringList TextsSince(int count) const { return boxes.Texts().mid(count); }

    // Picks the row's file in a picker of its own; returns the messages shown.
    QStringList Pick(const Side& side, const std::string& name, bool& handedOver, QString& picked)
    {
        const int before = boxes.Count();
        TestPickOwner owner(frame.get());
        WhenModal(Listed, [&](QWidget* modal) {
            if (!Shows(modal, name))
                return ClickButton(modal, "closebtn");
            SelectRow(modal, RowOf(modal, Q(name)));
            ClickButton(modal, "btn_ok");
            if (modal->isVisible())  // refused: the picker stays open
                ClickButton(modal, "closebtn");
        });
        handedOver = PickDeviceFile(owner, side.pickMode);
        picked = owner.m_strPickedName;
        return TextsSince(before);
    }

    void Copy(QWidget* modal, const Side& side, const std::string& name)
    {
        const int before = boxes.Count();
        boxes.QueueAnswer(kz::MsgAnswer::Ok);
        SelectRow(modal, RowOf(modal, Q(name)));
        if (side.copyMode == COPY_SDCARD_TO_UDISK)
            modal->findChild<QLineEdit*>(QStringLiteral("edit_name"))->setText(Q(name));
        else
            modal->findChild<QComboBox*>(QStringLiteral("comb_name"))->setCurrentText(QStringLiteral("uImage"));
        ClickButton(modal, "btn_copy");
        ASSERT_TRUE(boxes.WaitForCount(before + 1, 20000));
        // The button comes back once the worker has reported.
        ASSERT_TRUE(WaitFor([&] { return modal->findChild<QWidget*>(QStringLiteral("btn_copy"))->isEnabled(); }));
    }

    // Rename to Renamed(name); a refused name opens no dialog.
    void Rename(QWidget* modal, const std::string& name, bool refused)
    {
        SelectRow(modal, RowOf(modal, Q(name)));
        if (!refused) {
            WhenModal([&](QWidget* d) { return ControlText(d, "text_title") == T(ft::EnterFileName); },
                      [&](QWidget* dialog) {
                          dialog->findChild<QLineEdit*>(QStringLiteral("edit_filename"))->setText(Q(Renamed(name)));
                          ClickButton(dialog, "btn_ok");
                      });
        }
        const int before = boxes.Count();
        ClickButton(RightClick(modal), "menu_rename");
        ASSERT_TRUE(boxes.WaitForCount(before + 1, 20000));
    }

    void Delete(QWidget* modal, const std::string& name, bool refused)
    {
        const int before = boxes.Count();
        boxes.QueueAnswer(kz::MsgAnswer::Yes);
        SelectRow(modal, RowOf(modal, Q(name)));
        ClickButton(RightClick(modal), "menu_delete");
        ASSERT_TRUE(boxes.WaitForCount(before + (refused ? 1 : 2), 20000));
    }

    void Run(const Side& side);
};

// Per name: pick it, copy it to the other storage, rename it, delete the
// renamed file.  Each either acts on exactly that file or is refused with the
// message, and the shell only ever sees the program's commands.
void HostileNamesBox::Run(const Side& side)
{
    PutNames(side);
    const QString unsafe = T(kz::files::UnsafeFileName);
    const fs::path other = box.StateDir() / side.otherFolder;
    for (const HostileName& row : Names()) {
        // The SD card's copy types the name as the target, and a typed name
        // is trimmed: a leading blank is checked on the stick's side only.
        if (side.copyMode == COPY_SDCARD_TO_UDISK && row.name.front() == ' ')
            continue;
        SCOPED_TRACE(row.name);
        const std::streamoff logStart = LogSize();
        const QByteArray content = ReadAll(Folder(side) / row.name);
        bool handedOver = false;
        QString picked;
        const QStringList pickTexts = Pick(side, row.name, handedOver, picked);
        EXPECT_EQ(handedOver, !row.refused);
        EXPECT_EQ(picked, row.refused ? QString() : Q(row.name));
        EXPECT_EQ(pickTexts, row.refused ? QStringList{unsafe} : QStringList{});

        const size_t filesBefore = FilesIn(Folder(side));
        const int before = boxes.Count();
        WhenModal(Listed, [&](QWidget* modal) {
            if (!Shows(modal, row.name))
                return ClickButton(modal, "closebtn");
            ASSERT_NO_FATAL_FAILURE(Copy(modal, side, row.name));
            ASSERT_NO_FATAL_FAILURE(Rename(modal, row.name, row.refused));
            ASSERT_NO_FATAL_FAILURE(Delete(modal, row.refused ? row.name : Renamed(row.name), row.refused));
            ClickButton(modal, "closebtn");
        });
        OpenFileManager(frame.get(), side.copyMode);
        const QStringList expected = row.refused ? QStringList{unsafe, unsafe, unsafe}
                                                 : QStringList{T(ft::CopyOk), T(ft::RenameOk),
                                                               T(ft::DeleteQuestion), T(ft::DeleteOk)};
        EXPECT_EQ(TextsSince(before), expected) << box.BoxLog();

        const std::string copyName = side.copyMode == COPY_SDCARD_TO_UDISK ? row.name : "uImage";
        EXPECT_EQ(ReadAll(other / copyName) == content, !row.refused);
        EXPECT_EQ(fs::exists(Folder(side) / row.name), row.refused);
        EXPECT_FALSE(fs::exists(Folder(side) / Renamed(row.name)));
        EXPECT_EQ(FilesIn(Folder(side)), filesBefore - (row.refused ? 0 : 1)) << "nothing else was removed";

        EXPECT_EQ(Planted(box.StateDir()), std::vector<std::string>{});

        const std::set<std::string> allowed = Allowed(side, row.refused);
        std::map<std::string, int> ran;
        for (const std::string& line : LinesFrom(Log(), logStart)) {
            const std::string shape = Template(line, row.name);
            EXPECT_TRUE(allowed.count(shape)) << "the shell ran: " << line;
            // The busybox applets by name ("/mnt/sdcard/busybox cp", "... md"),
            // the rest by their first four letters.
            ++ran[shape.substr(0, shape.starts_with("/mnt/sdcard/busybox ") ? 22 : 4)];
        }
        const int once = row.refused ? 0 : 1;
        EXPECT_EQ(ran["/mnt/sdcard/busybox cp"], once) << "one copy";
        EXPECT_EQ(ran["/mnt/sdcard/busybox md"], 2 * once) << "both files summed once";
        EXPECT_EQ(ran["mv /"], once) << "one rename";
        EXPECT_EQ(ran["cd /"], once) << "one delete";
    }
}

TEST_F(HostileNamesBox, OnTheStick)
{
    Run(kStick);
}

TEST_F(HostileNamesBox, OnTheSdcard)
{
    Run(kSdcard);
}
