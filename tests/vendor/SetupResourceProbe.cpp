// Reads a finished setup's resources back through the system's own resource
// calls, as the setup itself will at start-up, and compares them with the files
// they were made from; checks the image's checksum with the system's own rule.
//
//   SetupResourceProbe SETUP.exe PACKAGE.bin SKIN.bin ICON.ico
//
// Prints one line per finding and exits with 0 when everything matched.
#include <windows.h>

#include <imagehlp.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

int failures = 0;

void check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
  if (!ok) ++failures;
}

Bytes readFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The resource's bytes, or nothing with `found` false.
Bytes resource(HMODULE module, LPCSTR type, int id, bool& found) {
  found = false;
  HRSRC r = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  if (r == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, r);
  const DWORD size = SizeofResource(module, r);
  const auto* bytes = static_cast<const unsigned char*>(LockResource(loaded));
  if (bytes == nullptr) return {};
  found = true;
  return Bytes(bytes, bytes + size);
}

std::uint32_t le(const Bytes& b, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | b.at(at + std::size_t(i));
  return v;
}

// Each image of the .ico file is one icon resource of the group, in order.
void compareIcon(HMODULE module, const Bytes& ico) {
  bool found = false;
  const Bytes group = resource(module, MAKEINTRESOURCEA(14), 105, found);  // RT_GROUP_ICON
  check(found, "icon group 105 is there");
  if (!found || ico.size() < 6) return;
  const std::uint32_t count = le(ico, 4, 2);
  check(group.size() == 6 + 14 * count && le(group, 4, 2) == count,
        "the icon group lists the " + std::to_string(count) + " images of the .ico file");
  for (std::uint32_t i = 0; i < count && group.size() >= 6 + 14 * (i + 1); ++i) {
    const std::size_t entry = 6 + 16 * i, groupEntry = 6 + 14 * i;
    const std::uint32_t size = le(ico, entry + 8, 4), offset = le(ico, entry + 12, 4);
    const Bytes icon = resource(module, MAKEINTRESOURCEA(3), int(le(group, groupEntry + 12, 2)),
                                found);  // RT_ICON
    check(found && offset + size <= ico.size() &&
              icon == Bytes(ico.begin() + offset, ico.begin() + offset + size),
          "icon image " + std::to_string(i) + " is the .ico file's");
  }
}

// The version resource as the system reads it: the demo's version in the fixed
// part and the texts Explorer's Properties shows.
void checkVersion(const char* path) {
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(wide, &ignored);
  std::vector<unsigned char> info(size);
  check(size != 0 && GetFileVersionInfoW(wide, 0, size, info.data()), "the version resource reads");
  if (size == 0) return;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  check(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) &&
            fixed->dwSignature == 0xFEEF04BD && fixed->dwProductVersionMS == 0x00010000 &&
            fixed->dwProductVersionLS == 0,
        "the fixed part holds 1.0.0.0");
  const struct {
    const wchar_t* name;
    const wchar_t* expected;
  } texts[] = {{L"ProductName", L"Demo Product"},
               {L"ProductVersion", L"1.0"},
               {L"CompanyName", L"Kestrane Demo Company"},
               {L"FileDescription", L"Demo Product Setup"}};
  for (const auto& t : texts) {
    wchar_t* value = nullptr;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + t.name;
    const bool read =
        VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) &&
        value != nullptr && std::wcscmp(value, t.expected) == 0;
    char name[64];
    WideCharToMultiByte(CP_ACP, 0, t.name, -1, name, sizeof name, nullptr, nullptr);
    check(read, std::string("the version resource's ") + name + " is the product's");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: SetupResourceProbe SETUP.exe PACKAGE.bin SKIN.bin ICON.ico\n");
    return 2;
  }
  HMODULE module = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
  check(module != nullptr, std::string("the setup opens as a data file: ") + argv[1]);
  if (module == nullptr) return 1;

  bool found = false;
  const Bytes package = resource(module, "RC_DATA", 112, found);
  check(found && package == readFile(argv[2]), "RC_DATA 112 is the package");
  const Bytes skin = resource(module, "RC_DATA", 116, found);
  check(found && skin == readFile(argv[3]), "RC_DATA 116 is the skin");
  char text[64] = {};
  LoadStringA(module, 1, text, sizeof text);
  check(std::strcmp(text, "Kestrane Setup") == 0, std::string("string 1 is \"") + text + "\"");
  LoadStringA(module, 2, text, sizeof text);
  check(std::strcmp(text, "KestraneSetupClass") == 0, std::string("string 2 is \"") + text + "\"");
  compareIcon(module, readFile(argv[4]));
  bool hasManifest = false;
  resource(module, MAKEINTRESOURCEA(24), 1, hasManifest);  // RT_MANIFEST
  check(hasManifest, "the application manifest is there");
  FreeLibrary(module);

  checkVersion(argv[1]);

  DWORD header = 0, computed = 0;
  const DWORD status = MapFileAndCheckSumA(argv[1], &header, &computed);
  check(status == CHECKSUM_SUCCESS && header == computed && header != 0,
        "the checksum in the header is the image's");
  return failures == 0 ? 0 : 1;
}
