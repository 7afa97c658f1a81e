// Packages written byte by byte with hostile names in every field that becomes a
// path or a registry key: "..", separators of both kinds, drive letters, UNC
// roots, empty texts and texts of the full 1,024 bytes. kpack refuses to build
// them; the setup's reader and its system layer must refuse them or keep what
// they write below its place.
#pragma once

#include <string>
#include <vector>

struct HostilePackage {
  std::string name;  // which field holds which text, for messages
  std::vector<unsigned char> bytes;
};

// Every hostile text in every such field of a package with every kind of item,
// one package each. The product is "Hostile Product" of "Hostile Vendor",
// installed in "Hostile Product" with items Hostile.exe (application with a
// document type Hostile.Doc of extensions hst and hso), HostileShell.dll (COM
// server), Uninstall.exe (uninstaller) and hostilehelper.dll (system copy), where
// the field under test does not say otherwise.
std::vector<HostilePackage> hostilePackages();

// The program installed before the hostile ones, whose files, links and keys
// they must leave alone: "Other Product" of "Other Vendor" in "Other Product",
// with Other.exe (document type Other.Doc of txt, oth and oto), Uninstall.exe and
// otherhelper.dll (system copy).
std::vector<unsigned char> otherProgramPackage();

// More than a small drive holds: small.txt, then big.bin (1 MiB that does not
// compress), then after.txt, installed in "Demo Product".
std::vector<unsigned char> fullDrivePackage();
