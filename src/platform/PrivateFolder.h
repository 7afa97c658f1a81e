// A folder that only Administrators and SYSTEM may change: an elevated program
// puts there what it is about to start, so that a program that is not elevated
// cannot replace it in between.
#pragma once

#include <string>

namespace platform {

// Creates the folder `path` with a protected access list that gives full access
// to Administrators and SYSTEM and nothing to anyone else, so nothing is taken
// from the parent (a user's temporary folder, which its user may write). On the
// host, whose files have no access lists, a folder only its owner may write.
// False when it exists already or cannot be made.
bool createPrivateFolder(const char* path);

// The access list of `path` as the system reads it back, in the security
// descriptor string form ("D:P(A;OICI;FA;;;SY)..."). Empty when it cannot be
// read; on the host, always empty.
std::string folderAccessList(const char* path);

}  // namespace platform
