#include "kpack/PackageWriter.h"

#include <fstream>
#include <iterator>
#include <string>

#include "kpack/Cp1252.h"
#include "package/InstallModel.h"
#include "package/PackageFormat.h"
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

std::vector<unsigned char> readWhole(const std::filesystem::path& path, const std::string& field) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) throw ManifestError(field + ": cannot read " + path.string());
  if (bytes.size() > 0xFFFFFFF0u)
    throw ManifestError(field + ": " + path.string() + " is too large");
  return bytes;
}

std::vector<unsigned char> picture(const std::filesystem::path& path, const std::string& field) {
  std::vector<unsigned char> jpeg = readWhole(path, field);
  ByteStream stream;
  Image image;
  stream.appendBytes(std::uint32_t(jpeg.size()), jpeg.data());
  if (!DecodeJpeg(stream, image)) {
    throw ManifestError(field + ": " + path.string() +
                        " is not a JPEG picture the setup can decode");
  }
  return jpeg;
}

// The licence as the setup shows it: Windows-1252, CR LF line ends, a final NUL.
std::vector<unsigned char> licence(const std::filesystem::path& path) {
  const std::vector<unsigned char> raw = readWhole(path, "licence.file");
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
    if (!utf8ToCp1252(content, ansi, &bad)) {
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

}  // namespace

std::vector<unsigned char> buildPackage(const Manifest& m, const BuildProgress& progress,
                                        const BuildOptions& options) {
  Writer w;
  w.u32(kPackageMagic);
  w.u32(kPackageVersion);
  for (const std::string* s : {&m.displayName, &m.companyName, &m.companyUrl, &m.productUrl,
                               &m.settingsKeyName, &m.installFolderName, &m.spareText}) {
    w.text(*s);
  }
  w.blob(picture(m.sidePicture, "pictures.side"));
  w.blob(picture(m.logoPicture, "pictures.logo"));
  w.blob(licence(m.licence));

  std::vector<std::filesystem::path> files;
  std::vector<std::string> fields;
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < m.items.size(); ++i) {
    files.push_back(m.items[i].source);
    fields.push_back("items[" + std::to_string(i) + "].source");
    std::error_code ec;
    total += std::filesystem::file_size(m.items[i].source, ec);
  }
  std::uint64_t done = 0;
  std::vector<CompressedBody> bodies = compressBodies(files, fields, options.level, options.threads,
                                                      [&](std::size_t item, std::uint64_t n) {
                                                        done += n;
                                                        if (progress)
                                                          progress(int(item), done, total);
                                                      });

  w.u32(std::uint32_t(m.items.size()));
  for (std::size_t i = 0; i < m.items.size(); ++i) {
    const ManifestItem& item = m.items[i];
    w.text(item.fileName);
    w.u32(item.flags);
    w.u32(bodies[i].size);
    w.blob(bodies[i].packed);
    std::vector<unsigned char>().swap(bodies[i].packed);  // now in the package
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

}  // namespace kpack
