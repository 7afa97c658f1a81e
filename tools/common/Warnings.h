// The warnings of one run of a tool: said as they come, on standard error, and
// with --strict said as errors, so that a build can refuse to ship what a
// vendor would otherwise only be warned about.
#pragma once

#include <iosfwd>
#include <string>

namespace tools {

class Warnings {
 public:
  // `tool` starts every line ("kpack"); lines go to `out` (standard error when null).
  Warnings(const char* tool, bool strict, std::ostream* out = nullptr);

  // Says "TOOL: warning: MESSAGE", or "TOOL: error: MESSAGE" when strict.
  void Warn(const std::string& message);
  int Count() const { return count_; }
  bool Strict() const { return strict_; }
  // Strict, and something was said.
  bool Failed() const { return strict_ && count_ > 0; }
  // What the run failed for when Failed(): "3 warnings, made errors by --strict".
  std::string Summary() const;

 private:
  std::string tool_;
  bool strict_;
  std::ostream* out_;
  int count_ = 0;
};

}  // namespace tools
