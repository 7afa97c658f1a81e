#include "kpack/InstallCommand.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "common/Cp1252.h"
#include "install/InstallPrinter.h"
#include "system/FileTypes.h"

namespace kpack {
namespace {

std::string utf8Path(const SetupString& path) {
  return tools::cp1252ToUtf8(std::string(path.text(), std::size_t(path.length())));
}

// The optional extensions the file-types page offers, in its order.
const ExtensionSet* offered(const InstallModel& model) {
  if (model.selectableItem < 0 || model.selectableItem >= model.itemCount()) return nullptr;
  const InstallItem& item = *model.itemAt(model.selectableItem);
  if (model.selectableType < 0 || model.selectableType >= item.fileTypes.count()) return nullptr;
  return &item.fileTypes.at(model.selectableType)->optionalExtensions;
}

std::string offeredExtensions(const InstallModel& model) {
  const ExtensionSet* set = offered(model);
  std::string list;
  for (int k = 0; set != nullptr && k < set->count(); ++k) {
    list += (k > 0 ? ", " : "") + utf8Path(*set->at(k));
  }
  return list.empty() ? "none" : list;
}

// The check box of an extension, by name or by position; -1 for none.
int checkBoxOf(const InstallModel& model, const std::string& choice) {
  const ExtensionSet* set = offered(model);
  const int count =
      set == nullptr ? 0 : std::min(set->count(), int(InstallOptions::kMaxFileTypeChoices));
  if (!choice.empty() && choice.find_first_not_of("0123456789") == std::string::npos) {
    const int position = choice.size() > 3 ? -1 : std::stoi(choice);
    return position < count ? position : -1;
  }
  std::string ansi;
  if (!tools::utf8ToCp1252(choice, ansi)) return -1;
  const SetupString wanted = dottedExtension(ansi.c_str());
  for (int k = 0; k < count; ++k) {
    if (compareNoCase(dottedExtension(set->at(k)->text()), wanted) == 0) return k;
  }
  return -1;
}

}  // namespace

int installPackage(const InstallModel& model, const InstallArguments& arguments) {
  InstallTarget target;
  makeInstallTarget(model, InstallScope::AllUsers, RegistryView::Bits32, target);
  if (!arguments.parentFolder.empty()) {
    std::string ansi;
    std::string bad;
    if (!tools::utf8ToCp1252(arguments.parentFolder, ansi, &bad)) {
      std::fprintf(stderr, "kpack: --parent: %s cannot be written in Windows-1252\n", bad.c_str());
      return 2;
    }
    target.parentFolder = ansi.c_str();
  }
  InstallOptions options;
  defaultInstallOptions(options, model, target);
  for (const std::string& choice : arguments.unchecked) {
    const int position = checkBoxOf(model, choice);
    if (position < 0) {
      std::fprintf(stderr,
                   "kpack: --uncheck: the setup offers no extension \"%s\" (it offers: %s)\n",
                   choice.c_str(), offeredExtensions(model).c_str());
      return 2;
    }
    options.fileTypeChoices[position] = false;
  }

  InstallPrinter::Style style;
  style.pathText = utf8Path;
  style.cancelAfter = arguments.cancelAfter;
  InstallPrinter printer(stdout, style);
  runInstallPass(options, target, printer);
  return printer.status() == 0 ? 0 : 1;
}

}  // namespace kpack
