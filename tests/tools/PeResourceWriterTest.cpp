// Writing resources into Windows programs: what is written reads back through the
// tools' own resource reader, what was there stays, the relocations move with the
// grown section, and anything the writer does not understand is left alone.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/PeResourceTree.h"
#include "common/PeResourceWriter.h"
#include "platform/PeImage.h"
#include "platform/ProgramResources.h"
#include "support/ProgramImages.h"
#include "support/RunProcess.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void put(Bytes& b, std::size_t at, std::uint32_t v, int n) {
  if (b.size() < at + std::size_t(n)) b.resize(at + std::size_t(n));
  platform::peWrite(b, at, v, n);
}
std::uint32_t get(const Bytes& b, std::size_t at, int n) {
  return platform::peRead(b, at, n);
}

constexpr std::size_t kPe = testdata::kProgramPe, kOptional = testdata::kProgramOptional;
constexpr std::size_t kDirectories = testdata::kProgramDirectories;
constexpr std::size_t kSections = testdata::kProgramSections;
using testdata::kRelocationBlock;

Bytes program(bool withResources = true) {
  return testdata::peProgram(withResources);
}

Bytes text(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

std::string resource(const Bytes& image, int id) {
  std::vector<unsigned char> out;
  std::string error;
  if (!platform::findProgramResource(image, id, out, error)) return "(" + error + ")";
  return std::string(out.begin(), out.end());
}

bool write(Bytes& image, const std::vector<tools::PeResource>& resources, std::string& error) {
  return tools::writePeResources(image, resources, error);
}

// The layout rules every written image keeps: the relocations are the same bytes
// where the directory now points, the image size covers the last section, and
// the file ends where the last section's data ends.
void expectSoundLayout(const Bytes& image) {
  platform::PeImage pe;
  std::string error;
  ASSERT_TRUE(platform::readPeImage(image, pe, error)) << error;
  const platform::PeDirectory relocations = pe.directory(image, platform::kRelocationDirectory);
  std::uint64_t at = 0;
  ASSERT_TRUE(pe.fileOffset(relocations.rva, relocations.size, at));
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(get(image, at + 4 * i, 4), kRelocationBlock[i]);
  const platform::PeSection& last = pe.sections.back();
  EXPECT_EQ(get(image, pe.sizeOfImageAt(), 4),
            (last.virtualAddress + last.mappedSize() + 0xFFF) & ~0xFFFu);
  EXPECT_EQ(image.size(), std::size_t(last.rawPointer) + last.rawSize);
  EXPECT_EQ(get(image, kOptional + 70, 2), 0x0140u);
}

}  // namespace

TEST(PeResourceWriter, WritesResourcesTheToolsReadBack) {
  Bytes image = program();
  std::string error;
  ASSERT_TRUE(write(image,
                    {{"RC_DATA", 116, text("skin")},
                     {"RC_DATA", 112, text("package")},
                     {"#6", 1, text("strings")}},
                    error))
      << error;
  EXPECT_EQ(resource(image, 112), "package");
  EXPECT_EQ(resource(image, 116), "skin");
  expectSoundLayout(image);

  // Replacing one keeps the others; the names are compared as the system does.
  ASSERT_TRUE(write(image, {{"rc_data", 112, text("another package")}}, error)) << error;
  EXPECT_EQ(resource(image, 112), "another package");
  EXPECT_EQ(resource(image, 116), "skin");
  std::vector<tools::PeResourceLeaf> leaves;
  platform::PeImage pe;
  ASSERT_TRUE(platform::readPeImage(image, pe, error));
  ASSERT_TRUE(tools::readPeResourceTree(
      image, pe, pe.directory(image, platform::kResourceDirectory).rva, leaves, error));
  ASSERT_EQ(leaves.size(), 3u);
  EXPECT_TRUE(leaves[0].type.named);  // RC_DATA 112, RC_DATA 116, then type 6
  EXPECT_EQ(leaves[1].name.id, 116u);
  EXPECT_EQ(leaves[2].type.id, 6u);
  EXPECT_EQ(std::string(leaves[2].data.begin(), leaves[2].data.end()), "strings");

  // A resource in a language of its own stands beside the others of its type and
  // id; one without a language takes the place of them all, in the first's.
  ASSERT_TRUE(
      write(image, {{"#6", 1, text("deutsch"), 0x0407}, {"#6", 1, text("fr"), 0x040C}}, error))
      << error;
  EXPECT_EQ(platform::programResourceLanguages(image, 1, "#6"),
            (std::vector<std::uint32_t>{0x0407, 0x0409, 0x040C}));
  std::vector<unsigned char> out;
  ASSERT_TRUE(platform::findProgramResource(image, 1, out, error, "#6", 0x0407)) << error;
  EXPECT_EQ(std::string(out.begin(), out.end()), "deutsch");
  ASSERT_TRUE(platform::findProgramResource(image, 1, out, error, "#6")) << error;
  EXPECT_EQ(std::string(out.begin(), out.end()), "strings");  // English before the others
  EXPECT_FALSE(platform::findProgramResource(image, 1, out, error, "#6", 0x0410));
  ASSERT_TRUE(write(image, {{"#6", 1, text("deutsch 2"), 0x0407}}, error)) << error;
  ASSERT_TRUE(platform::findProgramResource(image, 1, out, error, "#6", 0x0407)) << error;
  EXPECT_EQ(std::string(out.begin(), out.end()), "deutsch 2");
  EXPECT_FALSE(write(image, {{"#6", 2, text("a"), 0x0407}, {"#6", 2, text("b"), 0x0407}}, error));
  ASSERT_TRUE(write(image, {{"#6", 1, text("one")}}, error)) << error;
  EXPECT_EQ(platform::programResourceLanguages(image, 1, "#6"),
            (std::vector<std::uint32_t>{0x0407}));

  // The same resources in another order give the same bytes.
  Bytes a = program(), b = program();
  ASSERT_TRUE(write(a, {{"RC_DATA", 112, text("p")}, {"RC_DATA", 116, text("s")}}, error));
  ASSERT_TRUE(write(b, {{"RC_DATA", 116, text("s")}, {"RC_DATA", 112, text("p")}}, error));
  EXPECT_EQ(a, b);
}

TEST(PeResourceWriter, GrowsPastTheOldSectionAndShrinksBack) {
  Bytes image = program();
  const Bytes original = image;
  std::string error;
  const Bytes big(300000, 0x5A);
  ASSERT_TRUE(write(image, {{"RC_DATA", 112, big}}, error)) << error;
  std::vector<unsigned char> out;
  ASSERT_TRUE(platform::findProgramResource(image, 112, out, error)) << error;
  EXPECT_TRUE(out == big);
  EXPECT_EQ(get(image, kPe + 6, 2), 4u);
  EXPECT_GT(get(image, kDirectories + 5 * 8, 4), 0x2000u + big.size());
  expectSoundLayout(image);

  ASSERT_TRUE(write(image, {{"RC_DATA", 112, text("small")}}, error)) << error;
  EXPECT_EQ(resource(image, 112), "small");
  EXPECT_EQ(get(image, kDirectories + 5 * 8, 4), 0x3000u);
  EXPECT_EQ(image.size(), original.size());
  expectSoundLayout(image);
}

TEST(PeResourceWriter, GivesAProgramWithoutResourcesASection) {
  Bytes image = program(false);
  std::string error;
  ASSERT_TRUE(write(image, {{"RC_DATA", 112, text("package")}}, error)) << error;
  EXPECT_EQ(resource(image, 112), "package");
  EXPECT_EQ(get(image, kPe + 6, 2), 4u);
  EXPECT_EQ(get(image, kSections + 3 * 40, 4), 0x7273722Eu);  // ".rsr"
  expectSoundLayout(image);
}

TEST(PeResourceWriter, RefusesWhatItDoesNotUnderstand) {
  const std::vector<tools::PeResource> resources = {{"RC_DATA", 112, text("package")}};
  const std::vector<tools::PeResource> large = {{"RC_DATA", 112, Bytes(0x2000, 1)}};
  auto refused = [&](Bytes image, const std::string& reason, bool grow = false) {
    const Bytes before = image;
    std::string error;
    EXPECT_FALSE(write(image, grow ? large : resources, error)) << reason;
    EXPECT_EQ(image, before) << reason;
    EXPECT_NE(error.find(reason), std::string::npos) << error;
  };
  Bytes image = program();
  put(image, kOptional + 36, 0x300, 4);  // a file alignment that is no power of two
  refused(image, "alignment");
  image = program();
  put(image, kDirectories + 4 * 8, 0x1000, 4);
  put(image, kDirectories + 4 * 8 + 4, 0x100, 4);
  refused(image, "signed");
  image = program();
  image.push_back(0);
  refused(image, "after the last section");
  image = program();
  put(image, kDirectories + 1 * 8, 0x3000, 4);  // imports inside .reloc: it may not move
  refused(image, "cannot grow", true);
  image = program();
  put(image, 0x600 + 14, 1, 2);  // the root names itself as its own subdirectory
  put(image, 0x600 + 16, 3, 4);
  put(image, 0x600 + 20, 0x80000000u, 4);
  put(image, kDirectories + 2 * 8 + 4, 24, 4);
  refused(image, "damaged resource tree");
  image = program();
  put(image, kDirectories + 7 * 8, 0x9000, 4);  // past the image, where .rsrc could grow
  put(image, kDirectories + 7 * 8 + 4, 0x10, 4);
  refused(image, "points outside the image");
  image = program();
  put(image, kSections + 40 + 12, 0x800, 4);  // .rsrc overlaps .text
  refused(image, "address order");

  image = program();
  std::string error;
  for (const auto& bad :
       std::vector<std::vector<tools::PeResource>>{{{"", 1, {}}},
                                                   {{"#0", 1, {}}},
                                                   {{"#70000", 1, {}}},
                                                   {{"RC DATA", 1, {}}},
                                                   {{"RC_DATA", 0, {}}},
                                                   {{"RC_DATA", 7, {}}, {"rc_data", 7, {}}}}) {
    EXPECT_FALSE(write(image, bad, error));
    EXPECT_EQ(image, program()) << error;
  }

  // Every shorter copy is refused, and none is read past its end.
  const Bytes whole = program();
  for (std::size_t n = 0; n < whole.size(); n += 7) {
    Bytes cut(whole.begin(), whole.begin() + std::ptrdiff_t(n));
    EXPECT_FALSE(write(cut, resources, error)) << n;
  }
}

// A program the MinGW tools built keeps its icons, manifest and version, and the
// system's own checksum rule (as osslsigncode computes it) holds for the result.
TEST(PeResourceWriter, KeepsEveryResourceOfARealProgram) {
  std::ifstream in(KESTRANE_DEMO_PRODUCT "/bin/DemoApp.exe", std::ios::binary);
  ASSERT_TRUE(in);
  Bytes image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto tree = [](const Bytes& b) {
    platform::PeImage pe;
    std::vector<tools::PeResourceLeaf> leaves;
    std::string error;
    EXPECT_TRUE(platform::readPeImage(b, pe, error)) << error;
    EXPECT_TRUE(tools::readPeResourceTree(b, pe, pe.directory(b, platform::kResourceDirectory).rva,
                                          leaves, error))
        << error;
    return leaves;
  };
  const auto before = tree(image);
  ASSERT_GE(before.size(), 3u);
  std::string error;
  const Bytes package(200000, 0x11);
  ASSERT_TRUE(write(image, {{"RC_DATA", 112, package}}, error)) << error;
  const auto after = tree(image);
  ASSERT_EQ(after.size(), before.size() + 1);
  std::size_t kept = 0;
  for (const auto& old : before) {
    for (const auto& now : after) {
      kept += old.type == now.type && old.name == now.name && old.language == now.language &&
              old.data == now.data;
    }
  }
  EXPECT_EQ(kept, before.size());
  std::vector<unsigned char> out;
  ASSERT_TRUE(platform::findProgramResource(image, 112, out, error)) << error;
  EXPECT_TRUE(out == package);

  const std::string path = std::string(KESTRANE_TEST_BINARY_DIR) + "/pe-writer-demo.exe";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
  std::string report;
  const int status = runBounded("osslsigncode verify -in '" + path + "' 2>&1", report);
  if (status == -1 || report.find("PE checksum") == std::string::npos) {
    GTEST_SKIP() << "osslsigncode could not be run: " << report;
  }
  EXPECT_EQ(report.find("invalid PE checksum"), std::string::npos) << report;
  EXPECT_EQ(report.find("Calculated PE checksum"), std::string::npos) << report;
}
