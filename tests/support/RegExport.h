// Reading the host prefix's registry.reg back in tests (host builds only).
#pragma once

#include <string>

// The export at `path` as UTF-8 text (the file is UTF-16LE with a byte-order
// mark); the test fails when the mark is missing.
std::string regExportText(const std::string& path);

// The value lines of one key of the export, each ending in CR LF, or
// "<no key KEY>" when the key is missing.
std::string regExportKey(const std::string& text, const std::string& key);
