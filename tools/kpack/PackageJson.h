// Reports on a package read by the setup's own reader.
#pragma once

#include <ostream>

#include "package/InstallModel.h"

namespace kpack {

// One JSON object with every field of the model (texts as UTF-8).
void writePackageJson(const InstallModel& model, std::ostream& out);

// A table of the items for people: names, sizes, ratio, flags and file types.
void writePackageTable(const InstallModel& model, std::ostream& out);

}  // namespace kpack
