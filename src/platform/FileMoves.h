// Moving files and folders, and finding what holds a file open: what an upgrade
// needs to put a new install in place of an old one without a moment where
// neither is complete.
#pragma once

#include <string>
#include <vector>

namespace platform {

// MoveFileA: renames a file or a whole folder on the same volume. Fails when
// `to` exists, and for a folder when a file below it is held open without
// delete sharing (Windows refuses; the host backend refuses as Windows does).
bool moveFile(const char* from, const char* to);

// True when the file could be deleted now as far as other openers go: nothing
// holds it open without delete sharing, and no program runs from it (CreateFileA
// asking for DELETE and write access, sharing everything). A read-only file may
// still refuse; that is not asked.
bool canDeleteFile(const char* path);

// The names of the programs holding any of `paths` open, each once, as the
// system can tell them (the Restart Manager on Windows, loaded when needed;
// the lock holders on the host). Empty when it cannot tell.
std::vector<std::string> programsHoldingFiles(const std::vector<std::string>& paths);

}  // namespace platform
