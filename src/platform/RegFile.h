// Registry export files (.reg), in the form the registry editor writes and reads:
//
//   FF FE (UTF-16LE byte-order mark), then CR LF separated lines:
//   Windows Registry Editor Version 5.00
//   <blank>
//   [HKEY_LOCAL_MACHINE\Software\Demo]      a key, by its full path
//   @="default value"                        the key's default value
//   "Name"="text"                            REG_SZ; \ and " escaped with a backslash
//   "Count"=dword:0000002a                   REG_DWORD, eight lower-case hex digits
//   "Empty"=hex(0):                          any other type: its bytes in hex, "hex:"
//   "Data"=hex(2):41,00,...,\                for REG_BINARY; lines wrap after 76
//     00,00                                  columns with a backslash, and go on
//   <blank>                                  indented by two blanks
//
// Every key is written, parents before children, subkeys in the registry's order.
// Text of the string types is written as UTF-16, as the registry holds it. A REG_SZ
// that the quoted form cannot carry (a line break, an embedded or missing
// terminator) is written as hex(1) instead, which the editor reads back unchanged.
#pragma once

#include <string>

#include "platform/RegistryTree.h"

namespace regfile {

constexpr char kHeader[] = "Windows Registry Editor Version 5.00";

// The export of every key below `top`, whose subkeys are the roots
// ("HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", ...). Returns the file's bytes. A key
// whose name holds a line break cannot be written in this form and is left out,
// with everything below it.
std::string exportRegistry(const regtree::Key& top);

// Reads an export made by exportRegistry or the registry editor into `top`,
// creating keys and setting values. Keys below HKEY_CLASSES_ROOT are placed below
// HKEY_LOCAL_MACHINE\Software\Classes, where the machine keeps them. Lines that do
// not parse are skipped, and so are the values after a key line that does not.
// False, with `top` untouched, when the bytes are not a version 5.00 export in
// UTF-16LE with its byte-order mark.
bool importRegistry(const std::string& bytes, regtree::Key& top);

}  // namespace regfile
