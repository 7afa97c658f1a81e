// Reading a link file back with a reader that is not ours: Debian's lnkinfo on the
// host, the shell's own link object under Windows.
#pragma once

#include <string>

struct LinkFacts {
  std::string target;       // the path the link leads to, in its long form
  std::string description;  // empty when it has none
};

// False when the reader cannot read the link at `windowsPath`.
bool readLink(const char* windowsPath, LinkFacts& facts);

// Host only: the same for a link file given by its host path, as in another prefix.
bool readLinkFile(const std::string& hostPath, LinkFacts& facts);
