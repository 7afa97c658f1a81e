#include "kpack/InstallCommand.h"

#include <cstdio>

#include "common/Cp1252.h"
#include "install/InstallPrinter.h"

namespace kpack {
namespace {

std::string utf8Path(const SetupString& path) {
  return tools::cp1252ToUtf8(std::string(path.text(), std::size_t(path.length())));
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
  for (int position : arguments.unchecked) {
    if (position < 0 || position >= InstallOptions::kMaxFileTypeChoices) {
      std::fprintf(stderr, "kpack: --uncheck: no check box %d (0..99)\n", position);
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
