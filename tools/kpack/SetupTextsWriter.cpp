#include "kpack/SetupTextsWriter.h"

#include <filesystem>
#include <iostream>

#include "app/SetupTexts.h"
#include "common/PeResourceWriter.h"
#include "common/WholeFile.h"
#include "platform/ProgramResources.h"
#include "platform/Text.h"

namespace kpack {
namespace {

// A string table is stored in blocks of 16 entries, block n + 1 holding the ids
// 16 n .. 16 n + 15, each entry a u16 count of UTF-16 units and the units.
constexpr int kStringsPerBlock = 16;
constexpr char kStringType[] = "#6";

using Block = std::vector<std::u16string>;

bool readBlock(const std::vector<unsigned char>& data, Block& block) {
  block.assign(kStringsPerBlock, std::u16string());
  std::size_t at = 0;
  for (std::u16string& entry : block) {
    if (at + 2 > data.size()) return data.empty();
    const std::size_t n = std::size_t(data[at] | data[at + 1] << 8);
    at += 2;
    if (at + 2 * n > data.size()) return false;
    for (std::size_t i = 0; i < n; ++i, at += 2) {
      entry += char16_t(data[at] | data[at + 1] << 8);
    }
  }
  return true;
}

std::vector<unsigned char> writeBlock(const Block& block) {
  std::vector<unsigned char> out;
  for (const std::u16string& entry : block) {
    out.push_back((unsigned char)(entry.size() & 0xFF));
    out.push_back((unsigned char)(entry.size() >> 8));
    for (char16_t c : entry) {
      out.push_back((unsigned char)(c & 0xFF));
      out.push_back((unsigned char)(c >> 8));
    }
  }
  return out;
}

std::u16string wide(const std::string& ansi) {
  std::u16string out(ansi.size(), u'\0');
  const int n = platform::ansiToWide(ansi.data(), int(ansi.size()), out.data(), int(out.size()));
  out.resize(std::size_t(n > 0 ? n : 0));
  return out;
}

// A text as the resource compiler reads it between quotes.
std::string rcQuoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\"\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

}  // namespace

std::vector<std::pair<int, std::string>> setupStrings(const Manifest& manifest) {
  return {{texts::WindowName, manifest.windowName.empty()
                                   ? std::string(texts::englishText(texts::WindowName))
                                   : manifest.windowName},
          {texts::HeaderTitle, manifest.headerTitle},
          {texts::WelcomeText, manifest.welcomeText}};
}

std::string textsNote(const Manifest& manifest) {
  if (manifest.hasTexts) return {};
  return manifest.path.string() +
         ": note: no [texts]: the window, the page header and the Welcome page will speak for "
         "Kestrane (\"" +
         texts::englishText(texts::HeaderTitle) + "\")";
}

bool writeSetupStrings(std::vector<unsigned char>& image,
                       const std::vector<std::pair<int, std::string>>& strings,
                       std::string& error) {
  std::vector<tools::PeResource> blocks;
  for (const auto& [id, text] : strings) {
    const auto blockId = std::uint16_t(id / kStringsPerBlock + 1);
    tools::PeResource* resource = nullptr;
    for (tools::PeResource& r : blocks) {
      if (r.id == blockId) resource = &r;
    }
    if (resource == nullptr) {
      std::vector<unsigned char> old;
      std::string missing;
      if (!platform::findProgramResource(image, blockId, old, missing, kStringType)) old.clear();
      blocks.push_back({kStringType, blockId, std::move(old)});
      resource = &blocks.back();
    }
    Block block;
    if (!readBlock(resource->data, block)) {
      error = "the string table of the stub is damaged";
      return false;
    }
    block[std::size_t(id % kStringsPerBlock)] = wide(text);
    resource->data = writeBlock(block);
  }
  return tools::writePeResources(image, blocks, error);
}

int textsCommand(const std::string& manifestPath, const std::string& outDir) {
  Manifest manifest;
  try {
    manifest = loadManifest(manifestPath);
  } catch (const ManifestError& e) {
    std::cerr << "kpack: " << e.what() << "\n";
    return 1;
  }
  if (const std::string note = textsNote(manifest); !note.empty())
    std::cerr << "kpack: " << note << "\n";
  std::error_code ec;
  std::filesystem::create_directories(outDir, ec);
  const auto strings = setupStrings(manifest);
  std::string rc = "#pragma code_page(1252)\nSTRINGTABLE\nBEGIN\n";
  std::string error;
  for (const auto& [id, text] : strings) {
    rc += "  " + std::to_string(id) + ", " + rcQuoted(text) + "\n";
    const std::string file = outDir + "/string-" + std::to_string(id) + ".txt";
    if (!tools::writeWholeFile(file, std::vector<unsigned char>(text.begin(), text.end()), error)) {
      std::cerr << "kpack: " << error << "\n";
      return 2;
    }
  }
  rc += "END\n";
  if (!tools::writeWholeFile(outDir + "/texts.rc", std::vector<unsigned char>(rc.begin(), rc.end()),
                             error)) {
    std::cerr << "kpack: " << error << "\n";
    return 2;
  }
  return 0;
}

}  // namespace kpack
