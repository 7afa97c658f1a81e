# cmake -P EmbedLanguages.cmake: writes OUT, a C++ source that holds the shipped
# translations (the .toml files of FOLDER, named by their language tag) as bytes,
# so that kpack needs no file of the source tree when it runs.
#   -DFOLDER=tools/kpack/languages -DOUT=build/.../ShippedLanguageData.cpp
file(GLOB files "${FOLDER}/*.toml")
list(SORT files)
set(arrays "")
set(entries "")
set(n 0)
foreach(file IN LISTS files)
  get_filename_component(tag "${file}" NAME_WE)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "const unsigned char kLanguage${n}[] = {${bytes}};\n")
  string(APPEND entries "    {\"${tag}\", kLanguage${n}, sizeof kLanguage${n}},\n")
  math(EXPR n "${n} + 1")
endforeach()
set(text "// Made by tools/kpack/EmbedLanguages.cmake from tools/kpack/languages; do not edit.
#include \"kpack/ShippedLanguages.h\"

namespace kpack {
namespace {
${arrays}
const ShippedLanguage kShipped[] = {
${entries}};
}  // namespace

const ShippedLanguage* shippedLanguages(std::size_t& count) {
  count = sizeof kShipped / sizeof kShipped[0];
  return kShipped;
}

}  // namespace kpack
")
# Written only when it changes, so that a build after it compiles nothing again.
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
  if(old STREQUAL text)
    return()
  endif()
endif()
file(WRITE "${OUT}" "${text}")
