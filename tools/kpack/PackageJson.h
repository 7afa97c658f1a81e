// Reports on a package read by the setup's own reader.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "package/InstallModel.h"

namespace kpack {

// One JSON object with every field of the model (texts as UTF-8), and for a
// built setup the display scales its skins are drawn for, in percent ("scales";
// left out when `scales` is empty), the languages it speaks when `languages` is
// not null, and the model's extension when one was read ("extension": its
// entries, or why the setup ignores it).
void writePackageJson(const InstallModel& model, std::ostream& out,
                      const std::vector<int>& scales = {},
                      const std::vector<std::string>* languages = nullptr);

// A table of the items for people: names, sizes, ratio, flags and file types;
// then the languages a built setup speaks when `languages` is not null, and the
// display scales when there are any.
void writePackageTable(const InstallModel& model, std::ostream& out,
                       const std::vector<int>& scales = {},
                       const std::vector<std::string>* languages = nullptr);

}  // namespace kpack
