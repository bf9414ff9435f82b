#pragma once
// Entry points for dialogs that need a device file name from the operator.
//
//   class CMotherBoard : public kz::ui::WindowImplBase, public CPickOwner { ... };
//   if (mode == SOURCE_BOOT_UDISK && !main->MountUdisk()) { ...; return; }   // the caller mounts
//   PickDeviceFile(*this, mode);                 // modal; GUI thread
//   if (!m_strPickedName.isEmpty()) { edit->setText(m_strPickedName); m_strPickedName.clear(); }
//
// Both dialogs refuse a name that cannot be put between single quotes in a
// box command line (see core/ShellName.h), with a message, and stay open.

#include "files/core/FileManagerMode.h"
#include "files/PickOwner.h"
#include "files/core/ShellName.h"
#include "files/core/TrimName.h"

// Lists the root of `mode` (SOURCE_USER_UDISK .. SOURCE_BOOT_SDCARD) in the
// file manager, modal over owner.PickOwnerWindow(), caption "文件浏览".  On
// "OK" with a row selected the file's name goes to owner.SetPickedName().
// Returns true when a name was handed over.  Another mode value lists
// nothing.  Mounting the U-disk first is the caller's job.
bool PickDeviceFile(CPickOwner& owner, int mode);

// The file-name dialog (caption "输入文件名") for name entry, modal over
// owner.PickOwnerWindow(): a non-empty typed name goes to
// owner.SetPickedName(); an empty one is refused with "File name can not be
// empty, please enter again!" and the dialog stays open.  Returns true when
// a name was handed over (false: closed without a name).
bool AskFileName(CPickOwner& owner);
