// Any bytes as a built setup handed to the tools: a Windows program's PE resource
// tree or a host program's ELF .kres section. The readers must find a resource
// inside the file or fail with a reason, and the .kres directory reader must keep
// to the section it is given.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ProgramResources.h"
#include "platform/ResourceSection.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1 << 20)) return 0;
  const std::vector<unsigned char> file(data, data + size);
  const bool image = platform::isProgramImage(file);
  for (int id : {112, 200}) {
    std::vector<unsigned char> out;
    std::string error;
    if (platform::findProgramResource(file, id, out, error)) {
      if (!image || out.size() > file.size()) __builtin_trap();
    } else if (error.empty()) {
      __builtin_trap();
    }
  }

  // The string table in one language, and the languages it is in: the setup's
  // texts in each, as kpack check and kskin preview read them.
  if (!image && !platform::programResourceLanguages(file, 1, kres::kStringType).empty()) {
    __builtin_trap();
  }
  for (std::uint32_t language : {0x0409u, 0x0407u, platform::kAnyResourceLanguage}) {
    std::string text;
    if (platform::findProgramString(file, 3, text, language) && text.size() > file.size()) {
      __builtin_trap();
    }
  }

  // The same bytes as a bare section, copied so that any read past it is caught.
  const std::vector<unsigned char> section(data, data + size);
  const struct {
    const char* type;
    std::uint32_t id;
  } wanted[] = {{"RC_DATA", 112}, {kres::kStringType, 1}};
  for (const auto& w : wanted) {
    const unsigned char* found = nullptr;
    std::uint32_t length = 0;
    if (kres::findInSection(section.data(), section.size(), w.type, w.id, &found, &length) &&
        (found < section.data() || length > section.size() ||
         std::size_t(found - section.data()) > section.size() - length)) {
      __builtin_trap();
    }
  }
  return 0;
}
