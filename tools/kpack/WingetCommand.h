// kpack winget: the three files of a winget package manifest (version,
// installer, default locale) for a built setup. What the setup cannot know, its
// package identifier, the address it is downloaded from and a short
// description, comes from the command line; the rest from its package, its
// version and its bytes.
#pragma once

#include <string>
#include <vector>

#include "package/InstallModel.h"

namespace kpack {

struct WingetArguments {
  std::string setup;
  std::string id;           // PUBLISHER.PRODUCT
  std::string url;          // where the setup is downloaded from
  std::string description;  // the short description (default: the product's name)
  std::string license = "Proprietary";
  std::string output = ".";  // the folder to write into
};

// Writes ID.yaml, ID.installer.yaml and ID.locale.en-US.yaml into the output
// folder for `model`, read from the setup whose bytes are `image` (its
// extension read too). The exit code: 0, or 1 with the reason on stderr when
// the setup has no version or a file cannot be written.
int wingetCommand(const WingetArguments& arguments, const InstallModel& model,
                  const std::vector<unsigned char>& image);

}  // namespace kpack
