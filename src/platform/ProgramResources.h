// Resources of program files read as bytes, not loaded: a Windows program keeps
// them in its PE resource section, a host program in the .kres section of its ELF
// image. The tools read built setups with it, the setup an installed uninstaller.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// True when `file` looks like a program image (PE or ELF) rather than a bare
// resource.
bool isProgramImage(const std::vector<unsigned char>& file);

// Copies resource `id` of type `type` (a type name such as "RC_DATA", or "#N" for
// the numeric type N) of the program image `file` into `out`. False with a
// reason in `error` otherwise. Every offset is checked, so any file may be
// passed.
bool findProgramResource(const std::vector<unsigned char>& file, int id,
                         std::vector<unsigned char>& out, std::string& error,
                         const char* type = "RC_DATA");

// The string-table entry `id` of the program image `file`, in the ANSI code
// page (Windows-1252). False when the program has no such entry or it is
// empty, as LoadString finds it.
bool findProgramString(const std::vector<unsigned char>& file, int id, std::string& text);

}  // namespace platform
