// Resources of program files read as bytes, not loaded: a Windows program keeps
// them in its PE resource section, a host program in the .kres section of its ELF
// image. The tools read built setups with it, the setup an installed uninstaller.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// True when `file` looks like a program image (PE or ELF) rather than a bare
// resource.
bool isProgramImage(const std::vector<unsigned char>& file);

// Any language, for the functions below: English when the program has it, else
// the first it has.
constexpr std::uint32_t kAnyResourceLanguage = 0xFFFFFFFF;

// Copies resource `id` of type `type` (a type name such as "RC_DATA", or "#N" for
// the numeric type N) of the program image `file`, in `language` (a Windows
// language id), into `out`. False with a reason in `error` otherwise. Every
// offset is checked, so any file may be passed.
bool findProgramResource(const std::vector<unsigned char>& file, int id,
                         std::vector<unsigned char>& out, std::string& error,
                         const char* type = "RC_DATA",
                         std::uint32_t language = kAnyResourceLanguage);

// The languages resource `id` of type `type` is there in, in the image's order;
// empty when there is none or the image is damaged.
std::vector<std::uint32_t> programResourceLanguages(const std::vector<unsigned char>& file, int id,
                                                    const char* type);

// The string-table entry `id` of the program image `file` in `language`, in
// the ANSI code page (Windows-1252). False when the program has no such entry
// or it is empty, as LoadString finds it.
bool findProgramString(const std::vector<unsigned char>& file, int id, std::string& text,
                       std::uint32_t language = kAnyResourceLanguage);

}  // namespace platform
