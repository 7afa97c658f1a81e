// Resources of a host program live in its .kres section (see ResourceSection.h).
#include <algorithm>
#include <cstring>

#include <SDL.h>

#include "platform/IconFile.h"
#include "platform/Module.h"
#include "platform/ResourceSection.h"
#include "platform/Resources.h"

// Defined by the generated resource file; absent (null) in programs without one.
extern "C" const unsigned char kestrane_resources[] __attribute__((weak));
extern "C" const unsigned char kestrane_resources_end[] __attribute__((weak));

namespace platform {

bool findResource(ModuleHandle module, const char* typeName, int id, ResourceBytes& out) {
  out = {};
  // Only the running program's own resources can be reached on the host.
  if ((module != nullptr && module != currentModule()) || kestrane_resources == nullptr || id < 0) {
    return false;
  }
  const std::size_t size = std::size_t(kestrane_resources_end - kestrane_resources);
  return kres::findInSection(kestrane_resources, size, typeName, std::uint32_t(id), &out.data,
                             &out.size);
}

namespace {

bool ownSection(ModuleHandle module, const unsigned char*& section, std::size_t& size) {
  // Only the running program's own resources can be reached on the host.
  if ((module != nullptr && module != currentModule()) || kestrane_resources == nullptr) {
    return false;
  }
  section = kestrane_resources;
  size = std::size_t(kestrane_resources_end - kestrane_resources);
  return true;
}

int copyString(ModuleHandle module, int id, std::uint32_t language, char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0) return 0;
  buffer[0] = '\0';
  const unsigned char* section = nullptr;
  std::size_t sectionSize = 0;
  const unsigned char* data = nullptr;
  std::uint32_t size = 0;
  if (id < 0 || !ownSection(module, section, sectionSize) ||
      !kres::findInSection(section, sectionSize, kres::kStringType, std::uint32_t(id), &data, &size,
                           language)) {
    return 0;
  }
  const int n = int(std::min<std::uint32_t>(size, std::uint32_t(bufferSize - 1)));
  std::memcpy(buffer, data, std::size_t(n));
  buffer[n] = '\0';
  return n;
}

}  // namespace

int loadString(ModuleHandle module, int id, char* buffer, int bufferSize) {
  // English when the program has it, as a Windows program in English would load.
  const int n = copyString(module, id, kres::kEnglishLanguage, buffer, bufferSize);
  return n > 0 ? n : copyString(module, id, kres::kAnyLanguage, buffer, bufferSize);
}

int loadString(ModuleHandle module, int id, std::uint16_t language, char* buffer, int bufferSize) {
  return copyString(module, id, language, buffer, bufferSize);
}

std::vector<std::uint16_t> stringLanguages(ModuleHandle module, int id) {
  std::vector<std::uint16_t> languages;
  const unsigned char* section = nullptr;
  std::size_t sectionSize = 0;
  if (id < 0 || !ownSection(module, section, sectionSize)) return languages;
  // As on Windows, where strings come in blocks of 16: a language is there when
  // any string of the block is.
  const std::uint32_t first = std::uint32_t(id) / 16 * 16;
  for (std::uint32_t member = first; member < first + 16; ++member) {
    for (std::uint32_t language :
         kres::languagesInSection(section, sectionSize, kres::kStringType, member)) {
      if (language == 0 || language > 0xFFFF ||
          std::find(languages.begin(), languages.end(), language) != languages.end()) {
        continue;
      }
      languages.push_back(std::uint16_t(language));
    }
  }
  return languages;
}

IconHandle loadIcon(ModuleHandle module, int groupId, int width, int height) {
  ResourceBytes file;
  IconPicture picture;
  if (!findResource(module, "ICO", groupId, file) ||
      !readIconPicture(file.data, file.size, width, height, picture)) {
    return nullptr;
  }
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, picture.width, picture.height, 32,
                                                     SDL_PIXELFORMAT_ARGB8888);
  if (icon == nullptr) return nullptr;
  for (int y = 0; y < picture.height; ++y) {
    std::memcpy(static_cast<unsigned char*>(icon->pixels) + std::ptrdiff_t(y) * icon->pitch,
                picture.argb.data() + std::size_t(y) * std::size_t(picture.width),
                std::size_t(picture.width) * 4);
  }
  return icon;
}

bool destroyIcon(IconHandle icon) {
  if (icon == nullptr) return false;
  SDL_FreeSurface(static_cast<SDL_Surface*>(icon));
  return true;
}

CursorHandle loadArrowCursor() {
  // SDL windows show the arrow unless told otherwise: the handle only has to be
  // one, for the class.
  static const char arrow = 0;
  return const_cast<char*>(&arrow);
}

}  // namespace platform
