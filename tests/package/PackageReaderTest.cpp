#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/Inflate.h"
#include "package/InstallModel.h"
#include "package/LargePictures.h"
#include "package/PackageBytes.h"
#include "package/PackageFormat.h"
#include "package/ProductExtension.h"
#include "support/EncodeJpeg.h"

namespace {

const char* kGuid = "{2E8A3B9C-4F10-4D6B-9A77-0C1E5F3D8B21}";
const char* kGuid2 = "{00021401-0000-0000-C000-000000000046}";

struct ReadResult {
  bool ok;
  std::uint32_t position;
  std::uint32_t size;
};

ReadResult read(const PackageBytes& p, InstallModel& model) {
  ByteStream s;
  p.copyTo(s);
  std::uint32_t position = 0;
  const bool ok = model.readPackage(s, position);
  return {ok, position, s.size()};
}

bool reads(const PackageBytes& p) {
  InstallModel model;
  return read(p, model).ok;
}

// A file-type record.
PackageBytes& fileType(PackageBytes& p, const std::string& progId,
                       const std::vector<std::string>& fixed,
                       const std::vector<std::string>& optional, const std::string& shellExKey = "",
                       std::uint32_t handler = 0) {
  return p.text(progId)
      .text(progId + " document")
      .u32(1)
      .text(shellExKey)
      .u32(handler)
      .list(fixed)
      .list(optional);
}

void expectEmpty(const InstallModel& model) {
  EXPECT_EQ(model.itemCount(), 0);
  EXPECT_TRUE(model.displayName.isEmpty());
  EXPECT_TRUE(model.installFolderName.isEmpty());
  EXPECT_EQ(model.licenceText.size(), 0u);
  EXPECT_FALSE(model.sidePicture.HasPixels());
  EXPECT_EQ(model.selectableItem, -1);
  EXPECT_EQ(model.selectableType, -1);
}

}  // namespace

TEST(PackageReader, WorkedEncodings) {
  PackageBytes abc;
  abc.text("abc");
  EXPECT_EQ(abc.bytes, (std::vector<unsigned char>{0xFF, 3, 0, 0, 0, 'a', 'b', 'c'}));

  PackageBytes p;
  p.header().u32(1).item("a.txt", 0);
  InstallModel model;
  const ReadResult r = read(p, model);
  ASSERT_TRUE(r.ok) << model.failureReason();
  EXPECT_EQ(r.position, r.size);  // read to the last byte
  const InstallItem& item = *model.itemAt(0);
  EXPECT_EQ(item.fileName, "a.txt");
  EXPECT_EQ(item.flags, 0u);
  EXPECT_EQ(item.unpackedSize, 3u);
  EXPECT_EQ(item.iconItem, -1);
  ByteStream plain;
  ASSERT_EQ(inflateStream(item.packedData, &plain), S_OK);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(plain.bytes()), plain.size()), "abc");

  EXPECT_EQ(model.displayName, "Demo Product");
  EXPECT_EQ(model.productUrl, "https://example.com/demo");
  EXPECT_EQ(model.sidePicture.Width(), 16);
  EXPECT_EQ(model.sidePicture.BitsPerPixel(), 24);
  EXPECT_TRUE(model.logoPicture.IsGrey());
  EXPECT_EQ(model.licenceText.size(), 6u);

  // The uninstaller's reading: all the same, to the last byte, but no pictures.
  ByteStream bytes;
  p.copyTo(bytes);
  std::uint32_t position = 0;
  InstallModel bare;
  ASSERT_TRUE(bare.readPackageWithoutPictures(bytes, position)) << bare.failureReason();
  EXPECT_EQ(position, r.size);
  EXPECT_EQ(bare.itemAt(0)->fileName, "a.txt");
  EXPECT_EQ(bare.licenceText.size(), 6u);
  EXPECT_FALSE(bare.sidePicture.HasPixels() || bare.logoPicture.HasPixels());
}

TEST(PackageReader, HeaderRules) {
  auto withText = [](const std::vector<unsigned char>& tail) {
    PackageBytes p;
    p.u32(0x91827364).u32(1).raw(tail);
    return p;
  };
  EXPECT_FALSE(reads(PackageBytes().u32(0x64738291).u32(1)));  // magic stored big-endian
  PackageBytes v2;
  v2.header();
  v2.bytes[4] = 2;
  v2.u32(1).item("a.txt", 0);
  EXPECT_FALSE(reads(v2));
  EXPECT_FALSE(reads(withText({0x00, 0, 0, 0, 0})));    // tag 0x00
  EXPECT_FALSE(reads(PackageBytes().header().u32(0)));  // no items

  // Texts of 0, 1024 and 1025 bytes as the display name.
  for (std::size_t n : {0u, 1024u, 1025u}) {
    PackageBytes p;
    p.header();
    PackageBytes named;
    named.u32(0x91827364).u32(1).text(std::string(n, 'x'));
    named.raw(std::vector<unsigned char>(p.bytes.begin() + 8 + 5 + 12, p.bytes.end()));
    named.u32(1).item("a.txt", 0);
    InstallModel model;
    EXPECT_EQ(read(named, model).ok, n <= 1024) << n;
    if (n <= 1024) {
      EXPECT_EQ(model.displayName.length(), int(n));
    }
  }
}

TEST(PackageReader, TextEndsAtItsFirstNul) {
  PackageBytes p;
  p.header().u32(1);
  p.text(std::string("a.txt\0junk", 10)).u32(0).u32(3).blob(PackageBytes::deflated("abc"));
  InstallModel model;
  const ReadResult r = read(p, model);
  ASSERT_TRUE(r.ok) << model.failureReason();
  EXPECT_EQ(model.itemAt(0)->fileName, "a.txt");
  EXPECT_EQ(r.position, r.size);  // the dropped bytes were still read past
}

TEST(PackageReader, ItemFieldsFollowTheirFlags) {
  PackageBytes p;
  p.header().u32(3);
  p.item("Demo.exe", 0x04 | 0x08 | 0x10 | 0x40).text("Demo").text("");
  p.text("Demo").u32(2);
  fileType(p, "Demo.Text", {"dtx"}, {"txt", ".log"});
  fileType(p, "Demo.Doc", {".dmo", "DMO2"}, {}, kGuid2, 1);
  p.item("ext.dll", 0x80).text(kGuid2).text("Demo Extension");
  p.item("Uninstall.exe", 0x20).u32(0).text("Removes the demo");
  InstallModel model;
  const ReadResult r = read(p, model);
  ASSERT_TRUE(r.ok) << model.failureReason();
  EXPECT_EQ(r.position, r.size);

  const InstallItem& app = *model.itemAt(0);
  EXPECT_EQ(app.menuShortcutName, "Demo");
  EXPECT_TRUE(app.desktopShortcutName.isEmpty());
  EXPECT_EQ(app.applicationTitle, "Demo");
  ASSERT_EQ(app.fileTypes.count(), 2);
  EXPECT_EQ(app.fileTypes.at(0)->progId, "Demo.Doc");  // sorted by byte order
  EXPECT_EQ(app.fileTypes.at(1)->progId, "Demo.Text");
  const FileTypeEntry& doc = *app.fileTypes.at(0);
  EXPECT_EQ(*doc.fixedExtensions.at(0), "dmo");
  EXPECT_EQ(*doc.fixedExtensions.at(1), "DMO2");
  EXPECT_EQ(doc.handlerItem, 1);
  EXPECT_EQ(*app.fileTypes.at(1)->optionalExtensions.at(0), "log");
  EXPECT_EQ(model.selectableItem, 0);
  EXPECT_EQ(model.selectableType, 1);

  EXPECT_TRUE(model.itemAt(1)->isComServer());
  EXPECT_EQ(model.itemAt(2)->iconItem, 0);
  EXPECT_EQ(model.itemAt(2)->uninstallComment, "Removes the demo");
}

TEST(PackageReader, ApplicationWithoutTypesIsNoComServer) {
  PackageBytes p;
  p.header().u32(1).item("app.exe", 0x40 | 0x80).text(kGuid).text("Server").text("App").u32(0);
  InstallModel model;
  ASSERT_TRUE(read(p, model).ok) << model.failureReason();
  EXPECT_EQ(model.itemAt(0)->flags, 0x40u);
  EXPECT_FALSE(model.itemAt(0)->isComServer());
  EXPECT_EQ(model.selectableItem, -1);  // nothing to offer: the page is skipped
}

TEST(PackageReader, RejectsBrokenRecords) {
  using Build = std::function<void(PackageBytes&)>;
  const struct {
    const char* why;
    Build build;
    std::uint32_t items = 1;
    const char* reason = nullptr;  // checked where given
  } cases[] = {
      {"extension twice, once with a dot and once in capitals",
       [](PackageBytes& p) {
         p.item("a.exe", 0x40).text("A").u32(1);
         fileType(p, "A.Pic", {".jpg", "JPG"}, {});
       }},
      {"extension made of a dot",
       [](PackageBytes& p) {
         p.item("a.exe", 0x40).text("A").u32(1);
         fileType(p, "A.Pic", {}, {"."});
       }},
      {"ProgID twice",
       [](PackageBytes& p) {
         p.item("a.exe", 0x40).text("A").u32(2);
         fileType(p, "A.Pic", {"a"}, {});
         fileType(p, "A.Pic", {"b"}, {});
       }},
      {"empty ProgID",
       [](PackageBytes& p) {
         p.item("a.exe", 0x40).text("A").u32(1);
         fileType(p, "", {"a"}, {});
       }},
      {"ProgID with a backslash",
       [](PackageBytes& p) {
         p.item("a.exe", 0x40).text("A").u32(1);
         fileType(p, "CLSID\\{x}", {"a"}, {});
       }},
      {"ProgID that names the shared class ids",
       [](PackageBytes& p) {
         p.item("a.exe", 0x40).text("A").u32(1);
         fileType(p, "clsid", {"a"}, {});
       }},
      {"ProgID that is an extension key",
       [](PackageBytes& p) {
         p.item("a.exe", 0x40).text("A").u32(1);
         fileType(p, ".txt", {"a"}, {});
       }},
      {"shell extension key that is no GUID",
       [](PackageBytes& p) {
         p.item("a.exe", 0x40).text("A").u32(1);
         fileType(p, "A.Pic", {"a"}, {}, "{not-a-guid}", 0);
       }},
      {"handler item without the COM flag",
       [](PackageBytes& p) {
         p.item("a.exe", 0x40).text("A").u32(1);
         fileType(p, "A.Pic", {"a"}, {}, kGuid, 0);
       }},
      {"handler item out of range",
       [](PackageBytes& p) {
         p.item("a.exe", 0x40).text("A").u32(1);
         fileType(p, "A.Pic", {"a"}, {}, kGuid, 7);
       }},
      // The rules see the flags as stored, and a handler as the setup will use it:
      // the COM flag that an application without types loses counts for neither.
      {"application without types whose COM fields are empty",
       [](PackageBytes& p) { p.item("a.exe", 0xC0).text("").text("").text("A").u32(0); }, 1,
       "item 0 (a.exe): classId: must be a braced GUID, not \"\""},
      {"handler item that is an application without types",
       [](PackageBytes& p) {
         p.item("a.exe", 0x40).text("A").u32(1);
         fileType(p, "A.Pic", {"a"}, {}, kGuid, 1);
         p.item("s.exe", 0xC0).text(kGuid).text("S").text("S").u32(0);
       },
       2, "item 0 (a.exe): file type A.Pic: handlerItem: 1 is not a com-server item"},
      {"COM server with an empty name",
       [](PackageBytes& p) { p.item("s.dll", 0x80).text(kGuid).text(""); }},
      {"COM server whose class id lacks braces",
       [](PackageBytes& p) { p.item("s.dll", 0x80).text(std::string(kGuid + 1, 36)).text("S"); }},
      {"uninstaller whose icon item is past the end",
       [](PackageBytes& p) { p.item("u.exe", 0x20).u32(1).text(""); }},
      {"uninstaller with icon item -1",
       [](PackageBytes& p) { p.item("u.exe", 0x20).u32(0xFFFFFFFF).text(""); }},
      {"blob length beyond the data",
       [](PackageBytes& p) { p.text("a.txt").u32(0).u32(3).u32(0xFFFFFFF0); }},
      {"item name with nothing after the last separator",
       [](PackageBytes& p) { p.item("bin\\", 0); }},
      {"item name that is the parent folder", [](PackageBytes& p) { p.item("x/..", 0); }},
      {"item name made of dots", [](PackageBytes& p) { p.item("...", 0); }},
      {"extension reaching into another key",
       [](PackageBytes& p) {
         p.item("a.exe", 0x40).text("A").u32(1);
         fileType(p, "A.Pic", {"a"}, {"txt\\shell"});
       },
       1,
       "item 0 (a.exe): file type A.Pic: optionalExtensions: extension \"txt\\shell\" must be "
       "one name, without a backslash or slash and not only dots"},
      {"extension with a slash, which no file can have",
       [](PackageBytes& p) {
         p.item("a.exe", 0x40).text("A").u32(1);
         fileType(p, "A.Pic", {"a/b"}, {});
       }},
      {"extension made of dots",
       [](PackageBytes& p) {
         p.item("a.exe", 0x40).text("A").u32(1);
         fileType(p, "A.Pic", {".."}, {});
       }},
  };
  for (const auto& c : cases) {
    PackageBytes p;
    p.header().u32(c.items);
    c.build(p);
    InstallModel model;
    EXPECT_FALSE(read(p, model).ok) << c.why;
    expectEmpty(model);
    EXPECT_STRNE(model.failureReason(), "") << c.why;
    if (c.reason != nullptr) {
      EXPECT_STREQ(model.failureReason(), c.reason);
    }
  }
}

TEST(PackageReader, InstallFolderMustLieBelowTheLocation) {
  const struct {
    const char* name;
    bool ok;
  } cases[] = {
      {"Demo Product", true},
      {"Kestrane\\Demo", true},
      {"Kestrane/Demo", true},
      {"", false},
      {".", false},
      {"..", false},
      {"...", false},
      {"a\\..\\..", false},
      {"a/../b", false},
      {"\\Windows", false},
      {"/Windows", false},
      {"C:\\Windows", false},
      {"C:Demo", false},
      {"\\\\server\\share", false},
  };
  for (const auto& c : cases) {
    PackageBytes p;
    p.header(c.name).u32(1).item("a.txt", 0);
    EXPECT_EQ(reads(p), c.ok) << c.name;
  }
}

// The two name rules every part applies: a key name is one registry key (a slash
// is an ordinary character there, as in "Nordisk A/S"), a file name one folder,
// file, link or extension.
TEST(PackageNames, KeyNamesAndFileNames) {
  const struct {
    const char* text;
    bool key;
    bool file;
  } cases[] = {
      {"Product", true, true},      {"Demo Product 1.5", true, true},
      {".demo", true, true},        {"a..b", true, true},
      {"Nordisk A/S", true, false}, {"a/b", true, false},
      {"/", true, false},           {".", true, false},
      {"..", true, false},          {"...", true, false},
      {"", false, false},           {"a\\b", false, false},
      {"Product\\", false, false},  {"\\", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(isKeyName(c.text), c.key) << c.text;
    EXPECT_EQ(isFileName(c.text), c.file) << c.text;
  }
  EXPECT_FALSE(isKeyName(nullptr));
  EXPECT_FALSE(isFileName(nullptr));
}

TEST(PackageReader, ItemNamesUseTheirLastComponent) {
  PackageBytes p;
  p.header().u32(2).item("bin/tool.exe", 0).item("docs\\readme", 0);
  EXPECT_TRUE(reads(p));
}

TEST(PackageReader, EveryTruncationFailsCleanly) {
  PackageBytes p;
  p.header().u32(2);
  p.item("Demo.exe", 0x40 | 0x04).text("Demo").text("Demo").u32(1);
  fileType(p, "Demo.Doc", {"dmo"}, {"txt"});
  p.item("u.exe", 0x20).u32(0).text("bye");
  ASSERT_TRUE(reads(p));
  PackageBytes withTail = p;
  withTail.raw({1, 2, 3, 4, 5});
  EXPECT_TRUE(reads(withTail));  // bytes after the last item do not matter

  for (std::size_t n = 0; n < p.bytes.size(); ++n) {
    PackageBytes cut;
    cut.bytes.assign(p.bytes.begin(), p.bytes.begin() + long(n));
    InstallModel model;
    ASSERT_FALSE(read(cut, model).ok) << n;
    expectEmpty(model);
  }
}

TEST(PackageReader, ReadsInPlaceWithinTheGivenBytes) {
  PackageBytes p;
  p.header().u32(2).item("a.txt", 0, "first body").item("b.txt", 0x04, "second").text("B");
  // Each package is copied into a buffer of exactly its size, so a read past the
  // end is a read outside the allocation, which the sanitizer build reports.
  const auto inPlace = [](const std::vector<unsigned char>& bytes, InstallModel& model) {
    const std::vector<unsigned char> exact(bytes);
    std::uint32_t position = 0;
    return model.readPackage(ByteView(exact.data(), std::uint32_t(exact.size())), position);
  };
  {
    const std::vector<unsigned char> exact(p.bytes);
    InstallModel model;
    std::uint32_t position = 0;
    ASSERT_TRUE(model.readPackage(ByteView(exact.data(), std::uint32_t(exact.size())), position))
        << model.failureReason();
    EXPECT_EQ(position, exact.size());
    for (int i = 0; i < model.itemCount(); ++i) {
      const ByteView body = model.itemAt(i)->packedData;
      EXPECT_GE(body.bytes(), exact.data()) << i;
      EXPECT_LE(body.bytes() + body.size(), exact.data() + exact.size()) << i;
    }
    ByteStream plain;
    ASSERT_EQ(inflateStream(model.itemAt(1)->packedData, &plain), S_OK);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(plain.bytes()), plain.size()), "second");
  }
  for (std::size_t n = 0; n < p.bytes.size(); ++n) {
    InstallModel model;
    ASSERT_FALSE(
        inPlace(std::vector<unsigned char>(p.bytes.begin(), p.bytes.begin() + long(n)), model))
        << n;
    expectEmpty(model);
  }

  // The last body's length forged to take one byte more than there is, or to wrap
  // around the end of the address space.
  const std::vector<unsigned char> body = PackageBytes::deflated("abc");
  for (const std::uint32_t forged : {std::uint32_t(body.size() + 1), 0xFFFFFFFFu, 0xFFFFFFF0u}) {
    PackageBytes q;
    q.header().u32(1).text("a.txt").u32(0).u32(3).u32(forged).raw(body);
    InstallModel model;
    EXPECT_FALSE(inPlace(q.bytes, model)) << forged;
    EXPECT_NE(std::string(model.failureReason()).find("packedData"), std::string::npos);
  }
}

TEST(PackageReader, AModelReadFromAStreamKeepsItsOwnBytes) {
  PackageBytes p;
  p.header().u32(1).item("a.txt", 0, "kept");
  InstallModel model;
  {
    ByteStream s;
    p.copyTo(s);
    std::uint32_t position = 0;
    ASSERT_TRUE(model.readPackage(s, position)) << model.failureReason();
    s.fill(0);  // the caller's stream may change or go once the model is read
  }
  ByteStream plain;
  ASSERT_EQ(inflateStream(model.itemAt(0)->packedData, &plain), S_OK);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(plain.bytes()), plain.size()), "kept");
}

// The larger pictures beside the package: taken when twice the package's own,
// dropped one by one when not, both dropped for bytes of another shape.
TEST(LargePictures, TakenOnlyWhenTwiceThePackagesOwn) {
  const auto side = testdata::EncodeSolidJpeg(32, 64, 0x10, 0x20, 0x30);
  const auto logo = testdata::EncodeSolidGreyJpeg(16, 16, 0x40);
  const auto odd = testdata::EncodeSolidJpeg(33, 64, 0x10, 0x20, 0x30);
  const std::vector<unsigned char> none;
  PackageBytes cut;
  cut.u32(2).u32(std::uint32_t(side.size()) + 1).raw(side);
  const struct {
    const char* name;
    PackageBytes bytes;
    bool read, side, logo;
  } cases[] = {
      {"both", PackageBytes().u32(2).blob(side).blob(logo), true, true, true},
      {"logo alone", PackageBytes().u32(2).blob(none).blob(logo), true, false, true},
      {"a side of the wrong size", PackageBytes().u32(2).blob(odd).blob(logo), true, false, true},
      {"a length past the end", std::move(cut), false, false, false},
      {"three pictures", PackageBytes().u32(3).blob(side).blob(logo).blob(logo), false, false,
       false},
      {"nothing", PackageBytes(), false, false, false},
  };
  for (const auto& c : cases) {
    InstallModel model;
    ASSERT_TRUE(model.sidePicture.Create(16, 32, 24) && model.logoPicture.Create(8, 8, 24));
    ByteStream resource;
    c.bytes.copyTo(resource);
    EXPECT_EQ(ReadLargePictures(resource, model), c.read) << c.name;
    EXPECT_EQ(model.largeSidePicture.HasPixels(), c.side) << c.name;
    EXPECT_EQ(model.largeLogoPicture.HasPixels(), c.logo) << c.name;
  }
}

// The extension resource beside the package: read whole, or ignored whole as if
// missing, whatever is wrong with it; a tag it does not know is passed over.
TEST(ProductExtension, ReadWholeOrIgnoredWhole) {
  const std::vector<unsigned char> package = PackageBytes().header().u32(1).item("a", 0).bytes;
  const ByteView view(package.data(), std::uint32_t(package.size()));
  const Sha256Digest digest = sha256(package.data(), package.size());
  const std::vector<unsigned char> other(digest.size(), 0);
  const std::vector<unsigned char> own(digest.begin(), digest.end());
  const auto entry = [](std::uint16_t tag, std::uint32_t length, const std::string& value) {
    std::vector<unsigned char> b = {(unsigned char)tag, (unsigned char)(tag >> 8)};
    PackageBytes p;
    p.u32(length);
    b.insert(b.end(), p.bytes.begin(), p.bytes.end());
    b.insert(b.end(), value.begin(), value.end());
    return b;
  };
  // Exactly 64 KiB, then one byte more.
  const std::string fill(kMaxExtensionSize - kExtensionHeaderSize - 6, 'x');
  const struct {
    const char* name;
    PackageBytes bytes;
    bool read;
    std::size_t entries;
  } cases[] = {
      {"two entries, the second of a tag no one knows",
       PackageBytes().u32(1).raw(own).raw(entry(1, 3, "abc")).raw(entry(0xBEEF, 0, "")), true, 2},
      {"64 KiB", PackageBytes().u32(1).raw(own).raw(entry(1, std::uint32_t(fill.size()), fill)),
       true, 1},
      {"no entries", PackageBytes().u32(1).raw(own), true, 0},
      {"version 2", PackageBytes().u32(2).raw(own).raw(entry(1, 3, "abc")), false, 0},
      {"made for another package", PackageBytes().u32(1).raw(other).raw(entry(1, 3, "abc")), false,
       0},
      {"a header cut short", PackageBytes().u32(1).raw({own.begin(), own.end() - 1}), false, 0},
      {"an entry cut short",
       PackageBytes().u32(1).raw(own).raw(entry(1, 3, "abc")).raw({2, 0, 0, 0, 0}), false, 0},
      {"a length past the end", PackageBytes().u32(1).raw(own).raw(entry(1, 4, "abc")), false, 0},
      {"a tag twice",
       PackageBytes()
           .u32(1)
           .raw(own)
           .raw(entry(1, 1, "a"))
           .raw(entry(2, 0, ""))
           .raw(entry(1, 1, "b")),
       false, 0},
      {"over 64 KiB",
       PackageBytes().u32(1).raw(own).raw(entry(1, std::uint32_t(fill.size() + 1), fill + "x")),
       false, 0},
      {"nothing", PackageBytes(), false, 0},
  };
  for (const auto& c : cases) {
    ProductExtension extension;
    const std::vector<unsigned char>& b = c.bytes.bytes;
    const bool read = extension.read(ByteView(b.data(), std::uint32_t(b.size())), view);
    EXPECT_EQ(read, c.read) << c.name << ": " << extension.failureReason();
    EXPECT_EQ(extension.entries().size(), c.entries) << c.name;
    if (!read) continue;
    // What was read, written again for the same package, is the same bytes.
    EXPECT_EQ(writeProductExtension(extension.entries(), view), b) << c.name;
  }

  ProductExtension extension;
  const auto b =
      PackageBytes().u32(1).raw(own).raw(entry(0xBEEF, 2, "hi")).raw(entry(1, 0, "")).bytes;
  ASSERT_TRUE(extension.read(ByteView(b.data(), std::uint32_t(b.size())), view));
  ByteView value;
  ASSERT_TRUE(extension.find(0xBEEF, value));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(value.bytes()), value.size()), "hi");
  EXPECT_FALSE(extension.find(2, value));
  // The writer makes nothing the reader would ignore.
  const std::string big(kMaxExtensionSize, 'x');
  const ByteView bigView(reinterpret_cast<const unsigned char*>(big.data()), kMaxExtensionSize);
  EXPECT_TRUE(writeProductExtension({{1, value}, {1, value}}, view).empty());
  EXPECT_TRUE(writeProductExtension({{1, bigView}}, view).empty());
}
