#include "common/ClosestName.h"

#include <algorithm>
#include <vector>

namespace tools {

int editDistance(const std::string& a, const std::string& b) {
  // Three rows of the usual table suffice; a swap looks two rows back.
  const std::size_t n = b.size();
  std::vector<int> before(n + 1), previous(n + 1), current(n + 1);
  for (std::size_t j = 0; j <= n; ++j) previous[j] = int(j);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    current[0] = int(i);
    for (std::size_t j = 1; j <= n; ++j) {
      const int substitution = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitution});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        current[j] = std::min(current[j], before[j - 2] + 1);
      }
    }
    before.swap(previous);
    previous.swap(current);
  }
  return previous[n];
}

std::string closestName(const std::string& typed, const std::vector<const char*>& known) {
  constexpr int kMostEdits = 2;
  std::string best;
  int bestDistance = kMostEdits + 1;
  bool tied = false;
  for (const char* name : known) {
    const int distance = editDistance(typed, name);
    if (distance < bestDistance) {
      best = name;
      bestDistance = distance;
      tied = false;
    } else if (distance == bestDistance) {
      tied = true;
    }
  }
  return tied || bestDistance > kMostEdits ? std::string() : best;
}

std::string closestName(const std::string& typed, std::initializer_list<const char*> known) {
  return closestName(typed, std::vector<const char*>(known));
}

}  // namespace tools
