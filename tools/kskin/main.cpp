// kskin: builds, checks and previews skin resources.
//
//   kskin build DESCRIPTION.toml -o OUT.skin [--glyphs OUT.glyphs] [--font-dir DIR]...
//               [--preview OUT.png] [--strict] [--scales 1,1.5,2]
//   kskin check FILE            (a skin resource, a Setup.exe or a host setup)
//   kskin preview FILE -o OUT.png [--package PACKAGE] [--language TAG]   (a package or
//               a built setup, whose texts the pages then say, in TAG's language)
//
// Beside a skin file the high glyphs of its fonts live in a file of the same
// name ending in .glyphs; in a built setup they are a resource of their own. The
// skin drawn for a display scale other than 1 goes beside them, named after its
// percentage: OUT@150.skin and OUT@150.glyphs.
//   kskin icon DESCRIPTION.toml -o OUT.ico   (48, 32 and 16 pixels at 4, 8 and 32 bits)
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/SetupTexts.h"
#include "common/PageCheck.h"
#include "common/Warnings.h"
#include "kpack/Manifest.h"
#include "kpack/ShippedLanguages.h"
#include "kskin/Description.h"
#include "kskin/Icon.h"
#include "kskin/ImageFiles.h"
#include "kskin/PreviewSheet.h"
#include "kskin/Report.h"
#include "kskin/SampleProduct.h"
#include "kskin/Scale.h"
#include "platform/Languages.h"
#include "platform/ProgramResources.h"
#include "render/Skin.h"

namespace {

constexpr int kExitInvalid = 1;
constexpr int kExitUsage = 2;
constexpr int kPackageResourceId = 112;

// The resources of the skin drawn for `percent` (100 or a scale a setup may
// carry), or null.
const ScaledSkinResource* skinResourceFor(int percent) {
  static const ScaledSkinResource kAtOne{100, kSkinResourceId, kHighGlyphsResourceId};
  if (percent == 100) return &kAtOne;
  for (const ScaledSkinResource& scaled : kScaledSkinResources) {
    if (scaled.percent == percent) return &scaled;
  }
  return nullptr;
}

// Reads FILE, or from a built setup its resource RC_DATA `id`, into `bytes`; the
// exit code when that fails, else -1.
int readResource(const std::string& path, int id, const char* what, kskin::Bytes& bytes) {
  try {
    bytes = kskin::ReadFile(path);
  } catch (const kskin::SkinError& e) {
    std::cerr << "kskin: " << e.what() << "\n";
    return kExitUsage;
  }
  if (platform::isProgramImage(bytes)) {
    const kskin::Bytes program = std::move(bytes);
    std::string error;
    if (!platform::findProgramResource(program, id, bytes, error)) {
      std::cerr << "kskin: invalid " << what << ": " << path << ": " << error << "\n";
      return kExitInvalid;
    }
  }
  return -1;
}

// The high glyphs that go with the skin at `path`: its resource `id` in a built
// setup (none when it carries none), else the .glyphs file beside it, if any.
kskin::Bytes highGlyphsOf(const std::string& path, int id) {
  kskin::Bytes bytes;
  try {
    bytes = kskin::ReadFile(path);
  } catch (const kskin::SkinError&) {
    return {};
  }
  kskin::Bytes glyphs;
  std::string error;
  if (platform::isProgramImage(bytes)) {
    if (!platform::findProgramResource(bytes, id, glyphs, error)) glyphs.clear();
    return glyphs;
  }
  try {
    return kskin::ReadFile(kskin::HighGlyphsPathFor(path));
  } catch (const kskin::SkinError&) {
    return {};
  }
}

// Reads FILE and loads it as the program would, with its high glyphs; the exit
// code when that fails, else -1.
int load(const std::string& path, kskin::LoadedSkin& skin,
         const ScaledSkinResource& at = *skinResourceFor(100)) {
  kskin::Bytes bytes;
  if (const int failed = readResource(path, at.skinId, "skin", bytes); failed >= 0) {
    return failed;
  }
  if (!kskin::LoadSkinBytes(bytes, skin)) {
    std::cerr << "kskin: invalid skin: " << path << " does not load\n";
    return kExitInvalid;
  }
  if (!kskin::LoadHighGlyphBytes(highGlyphsOf(path, at.highGlyphsId), skin)) {
    std::cerr << "kskin: invalid skin: the high glyphs of " << path << " do not load\n";
    return kExitInvalid;
  }
  return -1;
}

// Reads a package as the program does; the exit code when that fails, else -1.
int loadPackage(const std::string& path, InstallModel& model) {
  kskin::Bytes bytes;
  if (const int failed = readResource(path, kPackageResourceId, "package", bytes); failed >= 0) {
    return failed;
  }
  ByteStream stream;
  if (bytes.size() > 0xFFFFFFF0u ||
      stream.appendBytes(std::uint32_t(bytes.size()), bytes.data()) != S_OK) {
    std::cerr << "kskin: invalid package: " << path << ": too large\n";
    return kExitInvalid;
  }
  std::uint32_t position = 0;
  if (!model.readPackage(stream, position)) {
    std::cerr << "kskin: invalid package: " << path << ": " << model.failureReason() << "\n";
    return kExitInvalid;
  }
  return -1;
}

// The texts of the first built setup among `paths` (its string table, in
// `language`), or ours when none is one: in English, or in kpack's translation
// into `language`. Throws SkinError for a language there are no texts in.
SetupTexts textsOf(const std::vector<std::string>& paths, const platform::LanguageInfo* language) {
  SetupTexts texts;
  kskin::Bytes bytes;
  for (const std::string& path : paths) {
    try {
      if (!path.empty()) bytes = kskin::ReadFile(path);
    } catch (const kskin::SkinError&) {
      bytes.clear();
    }
    if (platform::isProgramImage(bytes)) break;
    bytes.clear();
  }
  const std::uint16_t id = language != nullptr ? language->id : platform::kEnglishLanguage;
  texts.language = id;
  if (bytes.empty()) {
    if (id == platform::kEnglishLanguage) return texts;
    const kpack::ShippedLanguage* shipped = kpack::findShippedLanguage(id);
    if (shipped == nullptr) {
      throw kskin::SkinError(std::string("there is no ") + language->name +
                             " translation of ours: name a setup that speaks it");
    }
    try {
      for (const auto& [text, words] : kpack::shippedTexts(*shipped))
        texts.set(text, words.c_str());
    } catch (const kpack::ManifestError& e) {
      throw kskin::SkinError(e.what());
    }
    return texts;
  }
  if (language != nullptr) {
    std::string probe;
    if (!platform::findProgramString(bytes, texts::WindowName, probe, id)) {
      throw kskin::SkinError(std::string("the setup does not speak ") + language->name);
    }
  }
  std::size_t count = 0;
  const texts::TextEntry* entries = texts::catalog(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::string text;
    if (platform::findProgramString(bytes, entries[i].id, text,
                                    language != nullptr ? id : platform::kAnyResourceLanguage)) {
      texts.set(entries[i].id, text.c_str());
    }
  }
  return texts;
}

// The page check of a skin just built from `description` at `percent`: the six
// pages over the sample product, laid out at that scale, each warning said at
// the description's font it concerns. The exit status it asks for: 0, or 1 when
// the pages cannot work at all or --strict meets a warning.
int checkPages(kskin::LoadedSkin& skin, int percent, const std::string& description, bool strict) {
  InstallModel sample;
  kskin::MakeSampleProduct(sample);
  tools::PageCheckRun run;
  run.skin = &skin;
  run.model = &sample;
  run.sampleProduct = true;
  run.scale = DisplayScale(percent * DisplayScale::kBaseDpi / 100);
  run.name = tools::RunName("", percent);
  const tools::PageCheckResult result = tools::CheckPages(run);
  if (!result.error.empty()) {
    std::cerr << "kskin: " << description << ": " << (run.name.empty() ? "" : run.name + ": ")
              << result.error << "\n";
    return kExitInvalid;
  }
  if (result.warnings.empty()) return 0;
  const std::vector<std::string> fonts = kskin::FontPlaces(description);
  tools::Warnings warnings("kskin", strict);
  for (const tools::PageWarning& w : result.warnings) {
    const bool known = w.font >= 0 && std::size_t(w.font) < fonts.size();
    warnings.Warn(
        (known ? fonts[std::size_t(w.font)] + ": font " + std::to_string(w.font) : description) +
        ": " + w.message);
  }
  if (!warnings.Failed()) return 0;
  std::cerr << "kskin: " << warnings.Summary() << "\n";
  return kExitInvalid;
}

// The pages over `skin` showing the package at `packagePath`, or the sample
// product when there is none, in the words of the built setup at `skinPath` or
// `packagePath` (ours when neither is one).
// The pages are laid out at the display scale of `percent`, which the skin is
// drawn for.
int preview(kskin::LoadedSkin& skin, const std::string& packagePath, const std::string& skinPath,
            const std::string& png, const platform::LanguageInfo* language = nullptr,
            int percent = 100) {
  InstallModel model;
  if (packagePath.empty()) {
    kskin::MakeSampleProduct(model);
  } else if (const int failed = loadPackage(packagePath, model); failed >= 0) {
    return failed;
  }
  kskin::PreviewSheet sheet;
  kskin::RenderPreview(skin, model, sheet, textsOf({packagePath, skinPath}, language),
                       DisplayScale(percent * DisplayScale::kBaseDpi / 100));
  kskin::WriteFile(png, kskin::EncodePng(sheet.image));
  return 0;
}

// Draws the skin of `description` at each of `scales` (1 first) and writes each
// with its high glyphs once all load back as the program loads them: nothing is
// written when one fails. The pages are checked over each, laid out at its
// scale; the skin at 1 is previewed when `png` names a file. The exit status.
int build(const std::string& description, kskin::BuildOptions options,
          const std::vector<double>& scales, const std::string& output, const std::string& glyphs,
          const std::string& png, bool strict) {
  struct Made {
    int percent;
    kskin::Bytes skin, high;
  };
  std::vector<Made> made;
  kskin::LoadedSkin first;
  for (const double scale : scales) {
    options.scale = scale;
    const kskin::SkinContent content = kskin::BuildSkin(description, options);
    // The skin at 1 keeps the bytes it always had; the larger ones, which every
    // setup carries beside it, are deflated harder.
    const kskin::Deflate deflate = scale == 1 ? kskin::Deflate::Zlib : kskin::Deflate::Strongest;
    Made m{kskin::ScalePercent(scale), kskin::WriteSkin(content, deflate),
           kskin::WriteHighGlyphs(content.fonts, deflate)};
    // What is written must be what the program reads.
    kskin::LoadedSkin loaded;
    kskin::LoadedSkin& skin = made.empty() ? first : loaded;
    if (!kskin::LoadSkinBytes(m.skin, skin) || skin.consumed != skin.size ||
        !kskin::LoadHighGlyphBytes(m.high, skin)) {
      std::cerr << "kskin: " << description << ": the skin made at " << m.percent
                << " % does not load back\n";
      return kExitInvalid;
    }
    if (const int failed = checkPages(skin, m.percent, description, strict); failed != 0) {
      return failed;
    }
    made.push_back(std::move(m));
  }
  const std::string highPath = glyphs.empty() ? kskin::HighGlyphsPathFor(output) : glyphs;
  for (const Made& m : made) {
    kskin::WriteFile(kskin::ScaledPath(output, m.percent), m.skin);
    kskin::WriteFile(kskin::ScaledPath(highPath, m.percent), m.high);
  }
  return png.empty() ? 0 : preview(first, "", "", png);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"kskin: builds, checks and previews skin resources"};
  app.set_version_flag("--version", std::string("kskin ") + KESTRANE_VERSION);
  app.require_subcommand(1);

  std::string description, output, glyphs, file, png, package;
  std::vector<std::string> fontDirs;
  CLI::App* buildCommand = app.add_subcommand("build", "Build a skin resource from a description");
  buildCommand->add_option("description", description, "The TOML description")->required();
  buildCommand->add_option("-o,--output", output, "The skin file to write")->required();
  buildCommand->add_option("--glyphs", glyphs,
                           "The file for the fonts' glyphs above 127 (default: the output's "
                           "name ending in .glyphs)");
  buildCommand->add_option("--font-dir", fontDirs, "A folder to look for fonts and pictures in");
  buildCommand->add_option("--preview", png,
                           "Also write a preview sheet of the pages over a sample product as PNG");
  std::string scales = "1,1.5,2";
  buildCommand->add_option("--scales", scales,
                           "The display scales to draw the skin at, from 1 to 4 (default "
                           "1,1.5,2); each but 1 is written beside the output as NAME@150.skin "
                           "and NAME@150.glyphs");
  bool strict = false;
  buildCommand->add_flag("--strict", strict,
                         "Make the warnings about the pages errors: nothing is written then");

  CLI::App* checkCommand =
      app.add_subcommand("check", "Load a skin as the program does and describe it as JSON");
  checkCommand->add_option("file", file, "A skin resource")->required();

  CLI::App* previewCommand =
      app.add_subcommand("preview", "Draw the six pages and the skin's parts onto one PNG sheet");
  previewCommand->add_option("file", file, "A skin resource or a built setup")->required();
  previewCommand->add_option("-o,--output", png, "The PNG to write")->required();
  previewCommand->add_option("--package", package,
                             "The package (or built setup) whose pages to show; a sample "
                             "product when left out");
  std::string languageTag;
  previewCommand->add_option("--language", languageTag,
                             "Draw the pages in this language (\"de\", \"pt-BR\"): the built "
                             "setup's texts in it, else kpack's translation");
  std::string previewScale = "1";
  previewCommand->add_option("--scale", previewScale,
                             "Draw the pages at this display scale (1.5, 2) over the skin drawn "
                             "for it: NAME@150.skin beside a skin file, or the one a built setup "
                             "carries");

  CLI::App* iconCommand =
      app.add_subcommand("icon", "Draw a program icon from a description and write it as .ico");
  iconCommand->add_option("description", description, "The TOML description")->required();
  iconCommand->add_option("-o,--output", output, "The icon file to write")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : kExitUsage;
  }

  try {
    if (*iconCommand) {
      kskin::WriteFile(output, kskin::WriteIcon(kskin::DrawIcon(description, kskin::kIconSizes),
                                                kskin::kIconDepths));
      return 0;
    }
    if (*buildCommand) {
      // The skin at scale 1 is always made, and first: the others only follow a
      // description whose pages work.
      std::vector<double> wanted = kskin::ParseScales(scales);
      if (wanted.front() != 1) wanted.insert(wanted.begin(), 1);
      return build(description, kskin::BuildOptions{fontDirs}, wanted, output, glyphs, png, strict);
    }
    kskin::LoadedSkin skin;
    int percent = 100;
    std::string source = file;
    if (*previewCommand) {
      const std::vector<double> scale = kskin::ParseScales(previewScale);
      percent = scale.size() == 1 ? kskin::ScalePercent(scale[0]) : 0;
      if (skinResourceFor(percent) == nullptr) {
        std::cerr << "kskin: --scale " << previewScale << ": a setup carries skins for 1, 1.5 "
                  << "and 2\n";
        return kExitUsage;
      }
      const std::string beside = kskin::ScaledPath(file, percent);
      std::error_code ec;
      if (percent != 100 && std::filesystem::exists(beside, ec)) source = beside;
    }
    if (const int failed = load(source, skin, *skinResourceFor(percent)); failed >= 0) {
      return failed;
    }
    if (*checkCommand) {
      kskin::WriteSummary(skin, std::cout);
      return std::cout.good() ? 0 : kExitUsage;
    }
    const platform::LanguageInfo* language = nullptr;
    if (!languageTag.empty()) {
      language = platform::findLanguage(languageTag.c_str());
      if (language == nullptr) {
        std::cerr << "kskin: \"" << languageTag << "\" is not a language tag\n";
        return kExitUsage;
      }
    }
    return preview(skin, package, file, png, language, percent);
  } catch (const kskin::SkinError& e) {
    std::cerr << "kskin: " << e.what() << "\n";
    return kExitInvalid;
  }
}
