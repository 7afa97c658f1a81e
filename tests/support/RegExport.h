// Reading the host prefix's registry.reg back in tests (host builds only).
#pragma once

#include <string>
#include <vector>

// The export at `path` as UTF-8 text (the file is UTF-16LE with a byte-order
// mark); the test fails when the mark is missing.
std::string regExportText(const std::string& path);

// Every key and value of the export at `path` as the setup's own reader
// (regfile::importRegistry, which kpack registry prints) reads it: "KEY" for
// each key, "KEY|\"NAME\"=TYPE:DATA" for each value ("KEY|@=..." for the
// default one), the text of the string types as it is and other data in hex.
// The test fails when the file is no export.
std::vector<std::string> regExportEntries(const std::string& path);

// The value lines of one key of the export, each ending in CR LF, or
// "<no key KEY>" when the key is missing.
std::string regExportKey(const std::string& text, const std::string& key);
