// The known name a mistyped one was most likely meant to be, for "did you mean"
// hints: "license" for "licence", "compnay-url" for "company-url".
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace tools {

// The number of single-letter insertions, deletions, substitutions and swaps of
// two neighbours that turn `a` into `b`.
int editDistance(const std::string& a, const std::string& b);

// The name of `known` closest to `typed` when it is at most two edits away and
// nearer than to any other; "" otherwise.
std::string closestName(const std::string& typed, const std::vector<const char*>& known);
std::string closestName(const std::string& typed, std::initializer_list<const char*> known);

}  // namespace tools
