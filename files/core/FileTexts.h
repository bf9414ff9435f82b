#pragma once
// English texts of the file manager, its menu and the file-name dialog.  They
// are the keys of the language files, so they stay exactly as they are.

namespace kz::files::text {

inline constexpr const char Name[] = "Name";
inline constexpr const char Size[] = "Size";
inline constexpr const char DateModified[] = "Date Modified";
inline constexpr const char SelectFile[] = "Select File";
inline constexpr const char Cancel[] = "Cancel";
inline constexpr const char Ok[] = "OK";
inline constexpr const char Copy[] = "Copy";
inline constexpr const char Udisk[] = "Udisk";
inline constexpr const char Sdcard[] = "SDcard";
inline constexpr const char CopyToSdcardTitle[] = "Copy From Udisk To Sdcard";
inline constexpr const char CopyToUdiskTitle[] = "Copy From Sdcard To Udisk";
inline constexpr const char SelectUdiskFile[] = "Select the Udisk File:";
inline constexpr const char SelectSdcardFile[] = "Select the Sdcard File:";
inline constexpr const char TargetFileName[] = "Target File Name:";
inline constexpr const char FileNotSelected[] = "File not selected!";
inline constexpr const char NoFile[] = "No file!";
inline constexpr const char TargetNameEmpty[] = "File name can not be empty!";
inline constexpr const char NotEnoughDisk[] = "Not enough disk!";
inline constexpr const char UdiskNotFound[] = "Udisk not found!";
inline constexpr const char CopyOk[] = "Copy successfully!";
inline constexpr const char CopyFailed[] = "Copy failed!";
inline constexpr const char Verifying[] = "Verifying";  // the progress bar's text while sums are compared
inline constexpr const char DeleteCaption[] = "Delete File";
inline constexpr const char DeleteQuestion[] = "Are you sure you want to move this file?";
inline constexpr const char DeleteOk[] = "Delete successfully!";
inline constexpr const char DeleteFailed[] = "Delete failed!";
inline constexpr const char RenameOk[] = "Rename successfully!";
inline constexpr const char RenameFailed[] = "Rename failed!";
inline constexpr const char Rename[] = "Rename";
inline constexpr const char Delete[] = "Delete";
inline constexpr const char EnterFileName[] = "Please enter the file name";
inline constexpr const char NameEmptyEnterAgain[] = "File name can not be empty, please enter again!";
inline constexpr const char NameNotInFolder[] = "The new name can not contain '/' or be '.' or '..'!";
inline constexpr const char ReplaceQuestion[] = "A file with this name already exists. Replace it?";
inline constexpr const char FolderExists[] = "A folder with this name already exists!";
inline constexpr const char FreeSpaceUnreadable[] = "The free space could not be read!";
// Followed by the box's own words on the next line.
inline constexpr const char FolderUnreadable[] = "The folder could not be read:";
inline constexpr const char CheckedBySizeOnly[] = "Checked by size only: the box cannot sum files.";

// Fixed window captions, never looked up.
inline constexpr const char ManagerCaption[] = "文件浏览";
inline constexpr const char NameDialogCaption[] = "输入文件名";

}  // namespace kz::files::text
