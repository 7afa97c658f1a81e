#include "common/Warnings.h"

#include <iostream>

namespace tools {

Warnings::Warnings(const char* tool, bool strict, std::ostream* out)
    : tool_(tool), strict_(strict), out_(out != nullptr ? out : &std::cerr) {}

void Warnings::Warn(const std::string& message) {
  ++count_;
  *out_ << tool_ << (strict_ ? ": error: " : ": warning: ") << message << std::endl;
}

std::string Warnings::Summary() const {
  return std::to_string(count_) + (count_ == 1 ? " warning" : " warnings") +
         ", made errors by --strict";
}

}  // namespace tools
