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

// Copies resource RC_DATA `id` of the program image `file` into `out`. False with
// a reason in `error` otherwise. Every offset is checked, so any file may be passed.
bool findProgramResource(const std::vector<unsigned char>& file, int id,
                         std::vector<unsigned char>& out, std::string& error);

}  // namespace platform
