#include "kpack/PackageWriter.h"

#include <fstream>
#include <map>
#include <string>

#include "base/Sha256.h"
#include "common/Cp1252.h"
#include "common/PeResourceWriter.h"
#include "common/PictureKind.h"
#include "common/WholeFile.h"
#include "kpack/LargePictures.h"
#include "kpack/SetupTextsWriter.h"
#include "kpack/VersionInfo.h"
#include "package/InstallModel.h"
#include "package/PackageFormat.h"
#include "package/UninstallKnowledge.h"
#include "render/Jpeg.h"

namespace kpack {
namespace {

class Writer {
 public:
  void u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back((unsigned char)(v >> (8 * i)));
  }
  void text(const std::string& s) {
    out.push_back(kPackedStringTag);
    u32(std::uint32_t(s.size()));
    out.insert(out.end(), s.begin(), s.end());
  }
  void blob(const std::vector<unsigned char>& bytes) {
    u32(std::uint32_t(bytes.size()));
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  void list(const std::vector<std::string>& texts) {
    u32(std::uint32_t(texts.size()));
    for (const std::string& t : texts) text(t);
  }

  std::vector<unsigned char> out;
};

// The size of the steps in which a file's fingerprint is taken.
constexpr std::size_t kChunk = 1 << 20;

// Refuses the manifest at `field` ("items[2].source"), naming the file and line
// of the field, or of its table when the field was not written.
[[noreturn]] void refuse(const Manifest& m, const std::string& field, const std::string& message) {
  throw ManifestError(m.complaint(field, field.substr(0, field.rfind('.')), message));
}

std::vector<unsigned char> readWhole(const Manifest& m, const std::filesystem::path& path,
                                     const std::string& field) {
  std::vector<unsigned char> bytes;
  if (!tools::readWholeFile(path.string(), bytes)) refuse(m, field, "cannot read " + path.string());
  if (bytes.size() > 0xFFFFFFF0u) refuse(m, field, path.string() + " is too large");
  return bytes;
}

std::vector<unsigned char> picture(const Manifest& m, const std::filesystem::path& path,
                                   const std::string& field) {
  std::vector<unsigned char> jpeg = readWhole(m, path, field);
  ByteStream stream;
  Image image;
  stream.appendBytes(std::uint32_t(jpeg.size()), jpeg.data());
  if (!DecodeJpeg(stream, image)) {
    refuse(m, field, tools::notJpegReason(path.string(), jpeg));
  }
  return jpeg;
}

// The licence as the setup shows it: Windows-1252, CR LF line ends, a final NUL.
std::vector<unsigned char> licence(const Manifest& m) {
  const std::filesystem::path& path = m.licence;
  const std::vector<unsigned char> raw = readWhole(m, path, "licence.file");
  std::string text(raw.begin(), raw.end());
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  std::vector<unsigned char> out;
  std::size_t start = 0;
  for (int line = 1; start <= text.size(); ++line) {
    std::size_t end = text.find('\n', start);
    const bool last = end == std::string::npos;
    if (last) end = text.size();
    std::string_view content(text.data() + start, end - start);
    if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
    std::string ansi;
    std::string bad;
    if (!tools::utf8ToCp1252(content, ansi, &bad)) {
      throw ManifestError(path.string() + ":" + std::to_string(line) + ": licence text: " + bad +
                          " cannot be written in Windows-1252");
    }
    out.insert(out.end(), ansi.begin(), ansi.end());
    if (last) break;
    out.push_back('\r');
    out.push_back('\n');
    start = end + 1;
  }
  out.push_back('\0');
  return out;
}

bool isWindowsProgram(const std::vector<unsigned char>& image) {
  return image.size() >= 2 && image[0] == 'M' && image[1] == 'Z';
}

// What an item record carries of its file.
struct ItemBody {
  std::uint32_t size = 0;           // unpackedSize
  std::vector<unsigned char> blob;  // packedData
};

// The package of manifest `m` with the item bodies `bodyOf` gives, read back with
// the setup's own reader before it is returned.
std::vector<unsigned char> writePackage(const Manifest& m,
                                        const std::function<ItemBody(std::size_t)>& bodyOf) {
  Writer w;
  w.u32(kPackageMagic);
  w.u32(kPackageVersion);
  for (const std::string* s : {&m.displayName, &m.companyName, &m.companyUrl, &m.productUrl,
                               &m.settingsKeyName, &m.installFolderName, &m.spareText}) {
    w.text(*s);
  }
  w.blob(picture(m, m.sidePicture, "pictures.side"));
  w.blob(picture(m, m.logoPicture, "pictures.logo"));
  // Only a setup carries the larger originals; every command checks them.
  largePictures(m);
  w.blob(licence(m));

  w.u32(std::uint32_t(m.items.size()));
  for (std::size_t i = 0; i < m.items.size(); ++i) {
    const ManifestItem& item = m.items[i];
    const ItemBody body = bodyOf(i);
    w.text(item.fileName);
    w.u32(item.flags);
    w.u32(body.size);
    w.blob(body.blob);
    if (item.flags & kItemMenuShortcut) w.text(item.menuShortcutName);
    if (item.flags & kItemDesktopShortcut) w.text(item.desktopShortcutName);
    if (item.flags & kItemUninstaller) {
      w.u32(std::uint32_t(item.iconItem));
      w.text(item.uninstallComment);
    }
    if (item.flags & kItemComServer) {
      w.text(item.classId);
      w.text(item.serverName);
    }
    if (item.flags & kItemApplication) {
      w.text(item.applicationTitle);
      w.u32(std::uint32_t(item.fileTypes.size()));
      for (const ManifestFileType& type : item.fileTypes) {
        w.text(type.progId);
        w.text(type.description);
        w.u32(std::uint32_t(type.iconIndex));
        w.text(type.shellExKey);
        w.u32(std::uint32_t(type.handlerItem));
        w.list(type.fixedExtensions);
        w.list(type.optionalExtensions);
      }
    }
  }

  // The manifest was checked against the reader's rules; reading the result back
  // with the reader itself makes sure no vendor ships a package the setup rejects.
  if (w.out.size() > 0xFFFFFFF0u) throw ManifestError("the package is larger than 4 GiB");
  InstallModel model;
  std::uint32_t position = 0;
  if (!model.readPackage(ByteView(w.out.data(), std::uint32_t(w.out.size())), position)) {
    throw ManifestError(std::string("the setup would reject this package: ") +
                        model.failureReason());
  }
  return std::move(w.out);
}

// The size and SHA-256 of a source file, as the uninstaller finds it installed.
ItemBody fingerprint(const Manifest& m, const std::filesystem::path& path,
                     const std::string& field) {
  std::ifstream in(path, std::ios::binary);
  if (!in) refuse(m, field, "cannot read " + path.string());
  Sha256 hash;
  std::uint64_t total = 0;
  std::vector<char> buffer(kChunk);
  while (in) {
    in.read(buffer.data(), std::streamsize(buffer.size()));
    hash.update(buffer.data(), std::size_t(in.gcount()));
    total += std::uint64_t(in.gcount());
  }
  if (in.bad()) refuse(m, field, "error reading " + path.string());
  if (total > 0xFFFFFFFFu) {
    refuse(m, field, path.string() + " is larger than a package can hold (4 GiB)");
  }
  const Sha256Digest digest = hash.finish();
  return ItemBody{std::uint32_t(total), {digest.begin(), digest.end()}};
}

}  // namespace

std::vector<unsigned char> buildUninstallKnowledge(const Manifest& m) {
  return writePackage(m, [&](std::size_t i) {
    // The uninstaller's file will carry this resource, so no fingerprint can
    // describe it; the uninstaller removes its own file in any case.
    if (m.items[i].flags & kItemUninstaller) return ItemBody{};
    return fingerprint(m, m.items[i].source, "items[" + std::to_string(i) + "].source");
  });
}

std::vector<unsigned char> buildPackage(const Manifest& m, const BuildProgress& progress,
                                        const BuildOptions& options) {
  // The uninstaller learns what the package installs from its own resource.
  std::map<std::size_t, std::vector<unsigned char>> uninstallers;
  for (std::size_t i = 0; i < m.items.size(); ++i) {
    if (!(m.items[i].flags & kItemUninstaller)) continue;
    const std::string field = "items[" + std::to_string(i) + "].source";
    std::vector<unsigned char> image = readWhole(m, m.items[i].source, field);
    if (!isWindowsProgram(image)) continue;
    std::string error;
    // It speaks the setup's languages, in the setup's words.
    std::vector<tools::PeResource> resources = versionResourceFor(m, "Uninstall");
    resources.push_back({"RC_DATA", kUninstallResourceId, buildUninstallKnowledge(m)});
    if (!tools::writePeResources(image, resources, error) ||
        !writeSetupStrings(image, setupLanguages(m), error)) {
      refuse(
          m, field,
          "cannot give " + m.items[i].source.string() + " its knowledge of the package: " + error);
    }
    if (options.finishUninstaller && !options.finishUninstaller(image, error)) {
      refuse(m, field, error);
    }
    uninstallers[i] = std::move(image);
  }

  std::vector<BodySource> sources;
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < m.items.size(); ++i) {
    BodySource source{m.items[i].source, "items[" + std::to_string(i) + "].source"};
    const auto found = uninstallers.find(i);
    if (found != uninstallers.end()) source.bytes = &found->second;
    total += bodySourceSize(source);
    sources.push_back(std::move(source));
  }
  std::uint64_t done = 0;
  std::vector<CompressedBody> bodies = compressBodies(sources, options.level, options.threads,
                                                      [&](std::size_t item, std::uint64_t n) {
                                                        done += n;
                                                        if (progress)
                                                          progress(int(item), done, total);
                                                      });
  // Each body is freed as soon as the package holds it.
  return writePackage(m, [&](std::size_t i) {
    return ItemBody{bodies[i].size, std::move(bodies[i].packed)};
  });
}

}  // namespace kpack
