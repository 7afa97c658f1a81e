// Writing resources into a built Windows program, without a resource compiler or
// a linker: the resource section is rebuilt whole and the sections after it are
// moved so that it can grow.
//
// The rebuilt tree holds every resource the image had and the new ones, sorted as
// the format asks (named entries first, by name, then numbered ones, by number) and
// laid out the same way every time, so equal inputs give equal images. Only
// sections that nothing but their own data directory points into may move: in an
// image from the MinGW linker those are .reloc and the debug sections after
// .rsrc. The relocations stay, so the program keeps its randomised base. The
// image's size fields, the resource and relocation directories and the checksum
// are brought up to date; the result ends with its last section (or the symbol
// table the linker put after it), so it is ready to be signed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// A resource to put into a Windows program: type is a string type name such as
// "RC_DATA", or "#N" for the numeric type N; id is the numeric name. Without a
// language it takes the place of the resource of that type and id in every
// language, in the language of the first; with one (a Windows language id) it
// takes the place of that language's only and the others stay.
struct PeResource {
  std::string type;
  std::uint16_t id;
  std::vector<std::uint8_t> data;
  std::uint16_t language = 0;
};

// Writes the resources into the image's resource section (replacing any of the
// same type and id, keeping every other resource) and returns true; or leaves the
// image unchanged, sets error to a one-line reason and returns false. Any bytes may
// be passed: an image this writer does not understand (damaged, signed, with data
// after its sections, or with a section it would have to move that the program
// refers to) is refused.
bool writePeResources(std::vector<std::uint8_t>& image, const std::vector<PeResource>& resources,
                      std::string& error);

}  // namespace tools
