// Any bytes as a Windows program that kpack setup writes a package into. The
// writer refuses what it does not understand and leaves it unchanged; what it
// writes reads back through the tools' reader, and writing the same again changes
// nothing, so its layout does not drift.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/PeResourceWriter.h"
#include "platform/ProgramResources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1 << 20)) return 0;
  const std::vector<std::uint8_t> input(data, data + size);
  const std::vector<tools::PeResource> resources = {{"RC_DATA", 112, {'p', 'k', 'g'}},
                                                    {"#6", 1, {'s'}}};
  std::vector<std::uint8_t> image = input;
  std::string error;
  if (!tools::writePeResources(image, resources, error)) {
    if (image != input || error.empty()) __builtin_trap();
    return 0;
  }
  std::vector<unsigned char> out;
  if (!platform::findProgramResource(image, 112, out, error) || out != resources[0].data) {
    __builtin_trap();
  }
  std::vector<std::uint8_t> again = image;
  if (!tools::writePeResources(again, resources, error) || again != image) __builtin_trap();
  return 0;
}
