// Whole files for the tools: read in one piece, and written to a temporary file
// beside the target that is then renamed over it, so that a failure never leaves
// half a file behind.
#pragma once

#include <string>
#include <vector>

namespace tools {

// False when the file cannot be opened or read.
bool readWholeFile(const std::string& path, std::vector<unsigned char>& bytes);

// False with "cannot write PATH" in `error`; the target is then as it was.
bool writeWholeFile(const std::string& path, const std::vector<unsigned char>& bytes,
                    std::string& error);

}  // namespace tools
