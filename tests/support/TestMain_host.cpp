// The host test programs fill and empty their prefix as they go. Left to the
// program's default they would do that to the user's real emulated machine under
// ~/.local/share, so they make a temporary prefix of their own instead, and
// refuse outright when pointed at the real one.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/host/Prefix.h"

namespace fs = std::filesystem;

namespace {

constexpr int kExitRefused = 2;

std::string programName(const char* argv0) {
  return argv0 != nullptr ? fs::path(argv0).filename().string() : "kestrane_tests";
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const std::string name = programName(argc > 0 ? argv[0] : nullptr);

  std::string made;
  if (const char* chosen = std::getenv("KESTRANE_PREFIX"); chosen != nullptr && *chosen != '\0') {
    if (platform::host::isHomePrefix(chosen)) {
      std::fprintf(stderr,
                   "%s: KESTRANE_PREFIX=%s is the real prefix of this account; the tests "
                   "change and delete what is in their prefix, so they refuse to run there. "
                   "Unset KESTRANE_PREFIX (the tests then make a temporary one) or point it "
                   "at a folder of its own.\n",
                   name.c_str(), chosen);
      return kExitRefused;
    }
  } else {
    std::error_code error;
    std::string pattern = (fs::temp_directory_path(error) / "kestrane-tests-XXXXXX").string();
    if (error || mkdtemp(pattern.data()) == nullptr) {
      std::fprintf(stderr, "%s: cannot make a temporary prefix in %s\n", name.c_str(),
                   pattern.c_str());
      return kExitRefused;
    }
    made = pattern;
    // Programs the tests start (kpack, the setup) find it the same way.
    setenv("KESTRANE_PREFIX", made.c_str(), 1);
  }

  const int result = RUN_ALL_TESTS();
  if (!made.empty()) {
    std::error_code ignored;  // a leftover temporary folder harms nobody
    fs::remove_all(made, ignored);
  }
  return result;
}
