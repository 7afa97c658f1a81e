// A drive that fills up while the files are written: the install pass reports
// "Write file" with the file it was writing, and never a success. The drive is a
// small tmpfs mounted as D: of a prefix inside a mount namespace of its own, so
// nothing stays mounted when the pass ends.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/WholeFile.h"
#include "support/HostilePackages.h"
#include "support/RunProcess.h"

namespace fs = std::filesystem;

TEST(DiskFull, ASmallDriveFailsTheWriteThatDoesNotFit) {
  const std::string dir = KESTRANE_TEST_BINARY_DIR "/disk-full";
  const std::string prefix = dir + "/prefix";
  fs::remove_all(dir);
  fs::create_directories(prefix + "/drive_d");
  std::string error;
  ASSERT_TRUE(tools::writeWholeFile(dir + "/package.bin", fullDrivePackage(), error)) << error;

  const std::string command =
      "unshare -m --propagation private sh -c \"mount -t tmpfs -o size=256k tmpfs '" + prefix +
      "/drive_d' || exit 99; echo mounted; exec '" + KPACK_PATH + "' install '" + dir +
      "/package.bin' --prefix '" + prefix + "' --parent 'D:\\\\'\" 2>&1";
  std::string output;
  const int status = runBounded(command, output, 120);
  // Only a drive that could not be made skips the test; anything kpack does on
  // it is checked.
  if (output.find("mounted\n") == std::string::npos) {
    std::printf("DiskFull: skipped: cannot mount a small drive here: %s\n", output.c_str());
    GTEST_SKIP() << "no mount namespace or tmpfs mount: " << output;
  }
  EXPECT_EQ(status, 1) << output;
  EXPECT_NE(output.find("error 3 D:\\Demo Product\\big.bin\n"), std::string::npos) << output;
  EXPECT_EQ(output.find("done 1"), std::string::npos) << output;

  // The namespace took its mount along: D: is the empty folder it was.
  std::ifstream mounts("/proc/self/mountinfo");
  const std::string table((std::istreambuf_iterator<char>(mounts)),
                          std::istreambuf_iterator<char>());
  EXPECT_EQ(table.find(prefix), std::string::npos);
  EXPECT_TRUE(fs::is_empty(prefix + "/drive_d"));
}
