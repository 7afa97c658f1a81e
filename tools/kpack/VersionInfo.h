// The version resource of the programs kpack makes for a product: the setup and
// its uninstaller tell Explorer's Properties and deployment tools the product,
// its version and its maker.
#pragma once

#include <vector>

#include "common/PeResourceWriter.h"
#include "kpack/Manifest.h"

namespace kpack {

// The resource for a program that is the product's `role` ("Setup",
// "Uninstall"), described as "NAME ROLE"; none when the manifest gives no
// version.
std::vector<tools::PeResource> versionResourceFor(const Manifest& manifest, const char* role);

}  // namespace kpack
