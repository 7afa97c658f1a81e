#include "common/JsonReport.h"

namespace tools {

void writeJsonReport(const JsonReport& report, std::ostream& out) {
  // Non-ASCII stays readable as UTF-8 instead of \u escapes.
  out << report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

}  // namespace tools
