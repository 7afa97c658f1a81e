// kpack registry: a registry export (.reg) read by the setup's own reader and
// reported as JSON, so that scripts ask one program what a machine's registry
// holds instead of parsing the file themselves.
#pragma once

#include <ostream>
#include <string>

namespace kpack {

// Reads the export at `path` (as the host backend writes it, or as the registry
// editor or `reg export` does) and writes to `out`:
//
//   {"keys": [{"key": "HKEY_LOCAL_MACHINE\\Software\\Demo",
//              "values": [{"name": "", "type": "REG_SZ", "data": "text"},
//                         {"name": "Count", "type": "REG_DWORD", "data": 42}]}]}
//
// Every key, parents before children, with its values in the file's order; the
// default value's name is "". Data of REG_SZ and REG_EXPAND_SZ is the text without
// its terminator, REG_MULTI_SZ a list of texts, REG_DWORD a number, any other
// type its bytes as the export writes them ("01,ff"); texts in UTF-8. Other types
// are named "0x..." by number.
//
// With `key` ("HKLM\\Software\\Demo"; HKLM, HKCU, HKCR, HKU and HKCC stand for
// their roots, and HKCR for HKLM\Software\Classes, as the reader files it), only
// that key and the keys below it; none when it is absent.
//
// Returns the exit status: 0, 1 when the file is not a registry export, 2 when
// it cannot be read or `key` is not a key path.
int registryCommand(const std::string& path, const std::string& key, std::ostream& out);

}  // namespace kpack
