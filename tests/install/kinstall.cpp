// kinstall: the setup's install pass without a window, as a Windows console
// program, so the tests can run under Wine what `kpack install` runs on the host,
// with the same options and the same lines, over many packages in one process.
//
//   kinstall write FOLDER             writes the test packages into FOLDER:
//                                     other.bin (another program), full.bin (more
//                                     than a small drive holds), hostile-N.bin and
//                                     names.txt (file and what it holds, one a line)
//   kinstall install PARENT FILE...   installs each package into PARENT, printing
//                                     "== FILE", kpack's lines ("done N",
//                                     "error CODE PATH") and "status N" (0 after
//                                     done 1, 1 after an error, 2 for a package
//                                     that does not read)
//   kinstall install-user PARENT FILE...  the same with the links for the
//                                     current user only, in the user's profile
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "install/InstallPrinter.h"
#include "support/HostilePackages.h"

namespace {

bool writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(out);
}

int writePackages(const std::string& folder) {
  bool ok = writeBytes(folder + "\\other.bin", otherProgramPackage()) &&
            writeBytes(folder + "\\full.bin", fullDrivePackage());
  std::ofstream names(folder + "\\names.txt", std::ios::trunc);
  int n = 0;
  for (const HostilePackage& package : hostilePackages()) {
    const std::string file = "hostile-" + std::to_string(n++) + ".bin";
    ok = ok && writeBytes(folder + "\\" + file, package.bytes);
    names << file << " " << package.name << "\n";
  }
  return ok && names ? 0 : 2;
}

// The pass as kpack install runs it, printing what kinstall's readers expect:
// no progress, the paths as stored.
int install(const InstallModel& model, const char* parent, bool currentUser) {
  InstallTarget target;
  makeInstallTarget(model, InstallScope::AllUsers, RegistryView::Bits32, target);
  target.parentFolder = parent;
  // The links of the user alone, in the target that is otherwise for all users.
  if (currentUser) std::swap(target.links, target.otherLinks);
  InstallOptions options;
  defaultInstallOptions(options, model, target);
  options.CurrentUser = currentUser;
  InstallPrinter::Style style;
  style.progress = false;
  InstallPrinter printer(stdout, style);
  runInstallPass(options, target, printer);
  return printer.status();
}

int installAll(int count, char** files, const char* parent, bool currentUser) {
  for (int i = 0; i < count; ++i) {
    std::ifstream in(files[i], std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    ByteStream stream;
    stream.appendBytes(std::uint32_t(bytes.size()), bytes.data());
    InstallModel model;
    std::uint32_t position = 0;
    std::printf("== %s\n", files[i]);
    const int status =
        in && model.readPackage(stream, position) ? install(model, parent, currentUser) : 2;
    std::printf("status %d\n", status);
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "write" && argc == 3) return writePackages(argv[2]);
  if (command == "install" && argc >= 3) return installAll(argc - 3, argv + 3, argv[2], false);
  if (command == "install-user" && argc >= 3) {
    return installAll(argc - 3, argv + 3, argv[2], true);
  }
  std::fprintf(stderr, "usage: kinstall write FOLDER | kinstall install PARENT FILE...\n");
  return 2;
}
