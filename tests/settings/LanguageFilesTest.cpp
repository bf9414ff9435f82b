#include "KeyScan.h"
#include "settings/Ini.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every text the windows look up, as the English source wording.
const char* const kKeys[] = {
    "Prompt",
    "No device found!",
    "Unconnected",
    "Connected",
    "Device has been set aside!",
    "Detects the current device is turned off, manually reboot the device and try again!",
    "Detected that the system is plugged into multiple Android devices, please dial in addition to restart the program after surplus equipment!",
    "Device is turned off,please reconnect again!",
    "The chip is not detected, please placed chip and try again!",
    "Read eMMC Info",
    "Read User",
    "Create Master",
    "Create Master by MTX file",
    "Copy From Sdcard To Udisk",
    "Copy From Udisk To Sdcard",
    "Connect Ftp Server",
    "Reboot KORVALD",
    "Exit",
    "Program Version:",
    "Device State:",
    "copy MTxxx.img.mtx file to USB disk ,then plug USB disk into KORVALD ,launch KORVALD eMMC professional",
    "Are you sure to create master?!",
    "Reboot Failed!",
    "Reboot Successfully!",
    "MountUdisk Successfully!",
    "MountUdisk Failed!",
    "setting",
    "about",
    "update",
    "eMMC Chip Information",
    "OK",
    "Reading",
    "MTX Decompression",
    "decompression",
    "Can't find MTX file in the udisk!",
    "successfully",
    "failed",
    "Info Modify",
    "Chip Product",
    "eMMC Master Product",
    "Chip Manufacturer:",
    "Chip ProduceName:",
    "Modify",
    "Modifying",
    "select the partition:",
    "enter the file num:",
    "file name:",
    "file size:",
    "write addr:",
    "Udisk",
    "SDcard",
    "Sdcard",
    "Read",
    "Browse",
    "Write",
    "Writing",
    "saving",
    "Read User successfully!",
    "Read User failed!",
    "Read Boot1 successfully!",
    "Read Boot2 successfully!",
    "Save Boot1 successfully!",
    "Save Boot1 failed!",
    "Save Boot2 successfully!",
    "Save Boot2 failed!",
    "Write Boot1 successfully!",
    "Write Boot1 failed!",
    "Write Boot2 successfully!",
    "Write Boot2 failed!",
    "Write successfully!",
    "Write failed!",
    "Set successfully!",
    "Set failed!",
    "File name can not be empty, please enter again!",
    "Write address format is incorrect,please enter the hexadecimal!",
    "File num is out of range,please enter again！",
    "File size is out of range,please enter again！",
    "Name",
    "Size",
    "Date Modified",
    "Copy",
    "Select File",
    "Cancel",
    "Select the Udisk File:",
    "Select the Sdcard File:",
    "Target File Name:",
    "File not selected!",
    "File name can not be empty!",
    "Not enough disk!",
    "No file!",
    "Udisk not found!",
    "Copy successfully!",
    "Copy failed!",
    "Delete File",
    "Are you sure you want to move this file?",
    "Delete successfully!",
    "Delete failed!",
    "Please enter the file name",
    "Rename successfully!",
    "Rename failed!",
    "Rename",
    "Delete",
    "Language Setting",
    "please select language:",
    "Chinese simplified",
    "Chinese traditional",
    "English",
    "Set successfully!You must restart the program for the changes to take effect.Resatrt now?!",
    "System File Update",
    "PassWord",
    "Wrong password, please enter again!",
    "Update successfully, it will restart soon!",
    "Update failed!",
};

const char* const kFiles[][2] = {
    {"Language_EN.ini", "English"},
    {"Language_CN.ini", "Chinese simplified"},
    {"Language_CN_T.ini", "Chinese traditional"},
};

const char* const kSections[] = {"English", "Chinese simplified", "Chinese traditional"};

QString SourceFile(const char* name) { return QStringLiteral(KZ_SOURCE_DIR "/skin/") + QString::fromUtf8(name); }

TEST(LanguageFiles, EachNamesItsOwnLanguageAsDefault)
{
    for (const auto& [file, language] : kFiles) {
        CIni ini;
        ini.SetFileName(SourceFile(file));
        EXPECT_EQ(ini.ReadString("Default", "Language"), language) << file;
    }
}

TEST(LanguageFiles, EverySectionOfEveryFileHasEveryKey)
{
    for (const auto& [file, language] : kFiles) {
        CIni ini;
        ini.SetFileName(SourceFile(file));
        for (const char* section : kSections)
            for (const char* key : kKeys)
                EXPECT_FALSE(ini.ReadString(section, QString::fromUtf8(key)).isEmpty())
                    << file << " [" << section << "] " << key;
    }
}

TEST(LanguageFiles, TheThreeFilesCarryTheSameTexts)
{
    CIni reference;
    reference.SetFileName(SourceFile(kFiles[0][0]));
    for (const auto& [file, language] : kFiles) {
        CIni ini;
        ini.SetFileName(SourceFile(file));
        for (const char* section : kSections)
            for (const char* key : kKeys)
                EXPECT_EQ(ini.ReadString(section, QString::fromUtf8(key)),
                          reference.ReadString(section, QString::fromUtf8(key)))
                    << file << " [" << section << "] " << key;
    }
}

TEST(LanguageFiles, EnglishSaysWhatHappensWhereTheKeyDoesNot)
{
    CIni ini;
    ini.SetFileName(SourceFile("Language_EN.ini"));
    EXPECT_EQ(ini.ReadString("English", "Are you sure you want to move this file?"), "Are you sure you want to delete this file?");
    EXPECT_EQ(ini.ReadString("English", "Chip ProduceName:"), "Chip Product Name:");
}

TEST(KeyScan, RecognisesTheLookupForms)
{
    const QString source = QStringLiteral(R"src(
        m_ini.GetString(m_strLanguage, L"Prompt", buffer);
        ini.Text(Language(), QStringLiteral("File num is out of range,please enter again！"));
        m_ini.ReadString(QStringLiteral("Default"), QStringLiteral("Language"));
        box(Text("No device found!"), Localized("Say \"hi\""));
        {"btn_exit", "Exit"}, {"not_a_control", "Nope"};
        label->setText("Plain");  SetText("Neither");
        Text(kz::text::Hint); Text(local); m_ini.GetString(m_strLanguage, kz::text::Hint, nullptr);
    )src");
    kztest::Constants constants;
    kztest::ScanConstants(QStringLiteral("inline constexpr const char Hint[] =\n  \"copy \" \"file\";"), constants);
    std::vector<std::string> keys;
    std::vector<bool> inDefault;
    for (const kztest::FoundKey& found : kztest::ScanLookups(source, "sample.cpp", constants)) {
        keys.push_back(found.key.toStdString());
        inDefault.push_back(found.inDefaultSection);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"Prompt", "File num is out of range,please enter again！", "Language",
                                              "copy file", "No device found!", "Say \"hi\"", "copy file", "Exit"}));
    EXPECT_EQ(inDefault, (std::vector<bool>{false, false, true, false, false, false, false, false}));
}

TEST(KeyScan, EveryKeyTheCodeLooksUpIsInEveryFile)
{
    const QList<kztest::FoundKey> found = kztest::ScanTree(
        KZ_SOURCE_DIR, {"app", "device", "link", "master", "board", "files", "update", "settings", "ui"});
    ASSERT_FALSE(found.isEmpty()) << "the scan found no lookups at all";
    RecordProperty("lookups", int(found.size()));
    for (const auto& [file, language] : kFiles) {
        CIni ini;
        ini.SetFileName(SourceFile(file));
        for (const kztest::FoundKey& key : found) {
            if (key.inDefaultSection) {
                EXPECT_FALSE(ini.ReadString("Default", key.key).isEmpty()) << file << " " << key.where.toStdString();
                continue;
            }
            for (const char* section : kSections)
                EXPECT_FALSE(ini.ReadString(section, key.key).isEmpty())
                    << file << " [" << section << "] \"" << key.key.toStdString() << "\" from "
                    << key.where.toStdString();
        }
    }
}

}  // namespace
