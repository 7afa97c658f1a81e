// The tools' JSON reports. Every report goes through writeJsonReport, so they all
// share one layout and are always valid UTF-8.
#pragma once

#include <nlohmann/json.hpp>

#include <ostream>

namespace tools {

// Members keep the order they were added in: a report reads top-down, as the
// structure it describes is laid out.
using JsonReport = nlohmann::ordered_json;

// Writes `report` indented by two spaces, with a line end after it. Texts must be
// UTF-8 already (convert from the ANSI code page first); should a malformed byte
// slip through anyway, it is written as U+FFFD rather than ending the tool.
void writeJsonReport(const JsonReport& report, std::ostream& out);

}  // namespace tools
