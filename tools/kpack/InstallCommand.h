// kpack install: the setup's own install pass, without a window, into the emulated
// machine of a prefix folder.
#pragma once

#include <string>
#include <vector>

#include "package/InstallModel.h"

namespace kpack {

struct InstallArguments {
  std::string parentFolder;  // UTF-8 Windows path; empty: the program-files folder
  // Optional extensions left unassociated: by name ("txt" or ".txt", as the
  // manifest lists them), or by position in their sorted list.
  std::vector<std::string> unchecked;
  int cancelAfter = 0;  // cancel while posting this progress message; 0: never
};

// Runs the install pass for `model` and prints each message the worker posts as a
// line: "done 0", "progress P", "error CODE PATH", "done 1". Returns the exit
// status: 0 after done 1, 1 after an error, 2 for bad arguments. The prefix must
// have been chosen (KESTRANE_PREFIX) before.
int installPackage(const InstallModel& model, const InstallArguments& arguments);

}  // namespace kpack
