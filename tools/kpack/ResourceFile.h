// Finding a package resource in a file: a bare package, a Windows setup (the PE
// resource section) or a host setup (the .kres section of its ELF image).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kpack {

// Finds resource RC_DATA `id` in `file`, or, when the file itself starts with the
// package magic, takes the whole file. False with a reason in `error` otherwise.
// Every offset is checked, so any file may be passed.
bool findPackageBytes(const std::vector<unsigned char>& file, int id,
                      std::vector<unsigned char>& out, std::string& error);

}  // namespace kpack
