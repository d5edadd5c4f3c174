// Driver commands about drives and access lists: what the program on a share, and the folder
// that keeps its state, look like to Windows programs under Wine.
#pragma once

#include "driver_system.h"

namespace driver {

// drivetype <root>: GetDriveTypeW of a root such as N:\ (4 a network drive, 3 a fixed disk,
// 1 no such root).
std::wstring DriveType(const Args& args);
// definedrive <letter> <linux folder> network|none: Wine's mount manager makes the letter a
// drive of that folder and that kind, as winecfg does, or takes it away (none, any folder).
// The letter's link in the prefix's dosdevices can be removed and made again meanwhile: the
// mount manager keeps the kind until the drive is taken away.
std::wstring DefineDrive(const Args& args);
// access <path>: the owner and the access list of a file or folder in SDDL, as
// GetNamedSecurityInfoW reports them.
std::wstring Access(const Args& args);

}  // namespace driver
