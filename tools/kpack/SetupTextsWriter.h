// The vendor's texts of a manifest ([texts]) as a setup carries them: entries of
// its string table (src/app/SetupTexts.h), written into a built setup by kpack
// setup, or into files for the build by kpack texts.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "kpack/Manifest.h"

namespace kpack {

// The string-table entries for `manifest`, by id, in Windows-1252: the window
// name (ours when not given), the header title and the Welcome text (empty when
// not given: the setup then says ours).
std::vector<std::pair<int, std::string>> setupStrings(const Manifest& manifest);

// The note for a manifest without [texts], or empty.
std::string textsNote(const Manifest& manifest);

// Puts `strings` into the string table of a Windows program image, keeping the
// other entries of their blocks. False, with a reason, when the image's
// resources cannot be read or written.
bool writeSetupStrings(std::vector<unsigned char>& image,
                       const std::vector<std::pair<int, std::string>>& strings, std::string& error);

// kpack texts MANIFEST -o DIR: writes DIR/texts.rc (a string table for the
// resource compiler, in code page 1252) and DIR/string-N.txt (each entry's bytes,
// for the host's resource section). The exit status: 0, 1 for a manifest that
// cannot be used, 2 when a file cannot be written.
int textsCommand(const std::string& manifestPath, const std::string& outDir);

}  // namespace kpack
