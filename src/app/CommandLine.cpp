#include "app/CommandLine.h"

#include <cctype>
#include <cstring>

namespace {

enum class Switch { Quiet, Passive, Folder, RawFolder, Log, FileTypes, Help };

struct SwitchName {
  const char* name;
  Switch kind;
  bool takesValue;
};

// The aliases are what other setups call the same thing, so that a deployment
// tool's habit works here too.
constexpr SwitchName kSwitches[] = {
    {"quiet", Switch::Quiet, false},
    {"verysilent", Switch::Quiet, false},
    {"s", Switch::Quiet, false},
    {"passive", Switch::Passive, false},
    {"silent", Switch::Passive, false},
    {"dir", Switch::Folder, true},
    {"d", Switch::RawFolder, true},
    {"log", Switch::Log, true},
    {"filetypes", Switch::FileTypes, true},
    {"help", Switch::Help, false},
    {"?", Switch::Help, false},
};

bool sameNoCase(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
  }
  return true;
}

const SwitchName* findSwitch(const std::string& name) {
  for (const SwitchName& s : kSwitches) {
    if (sameNoCase(name, s.name)) return &s;
  }
  return nullptr;
}

// What follows "/D=" in the raw command line, quotes and all: the last place it
// starts an argument (after a space), as it is the last argument.
bool rawFolder(const std::string& raw, std::string& folder) {
  for (std::size_t at = raw.size(); at-- > 0;) {
    const bool starts = at == 0 || raw[at - 1] == ' ' || raw[at - 1] == '\t';
    const bool marked = (raw[at] == '/' || raw[at] == '-') && at + 2 < raw.size() &&
                        std::tolower(static_cast<unsigned char>(raw[at + 1])) == 'd' &&
                        raw[at + 2] == '=';
    if (starts && marked) {
      folder = raw.substr(at + 3);
      while (!folder.empty() && (folder.back() == ' ' || folder.back() == '\t')) folder.pop_back();
      return true;
    }
  }
  return false;
}

bool readFileTypes(const std::string& value, CommandLine& line) {
  if (sameNoCase(value, "all")) {
    line.fileTypeChoice = FileTypeChoice::All;
    return true;
  }
  if (sameNoCase(value, "none")) {
    line.fileTypeChoice = FileTypeChoice::None;
    return true;
  }
  line.fileTypeChoice = FileTypeChoice::Listed;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = value.find(',', start);
    std::string extension = value.substr(start, comma - start);
    if (!extension.empty() && extension[0] == '.') extension.erase(0, 1);
    if (extension.empty()) return false;
    line.fileTypes.push_back(extension);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

}  // namespace

CommandLine readCommandLine(const std::vector<std::string>& arguments, const std::string& raw) {
  CommandLine line;
  unsigned seen = 0;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    line.bad = argument;
    if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) return line;
    const std::size_t equals = argument.find('=');
    const SwitchName* s =
        findSwitch(argument.substr(1, equals == std::string::npos ? equals : equals - 1));
    if (s == nullptr || s->takesValue != (equals != std::string::npos)) return line;
    const unsigned bit = 1u << static_cast<unsigned>(s->kind);
    // The aliases of one switch count as the same switch.
    const bool twice =
        (seen & bit) != 0 ||
        ((s->kind == Switch::Quiet || s->kind == Switch::Passive) && line.asksNothing()) ||
        ((s->kind == Switch::Folder || s->kind == Switch::RawFolder) && !line.folder.empty());
    if (twice) return line;
    seen |= bit;
    const std::string value =
        equals == std::string::npos ? std::string() : argument.substr(equals + 1);
    switch (s->kind) {
      case Switch::Quiet:
        line.mode = RunMode::Quiet;
        break;
      case Switch::Passive:
        line.mode = RunMode::Passive;
        break;
      case Switch::Folder:
        if (value.empty()) return line;
        line.folder = value;
        break;
      case Switch::RawFolder:
        // Taken from the raw command line, so it must be the last argument; its
        // own value may have been split into several.
        if (!rawFolder(raw, line.folder) || line.folder.empty()) return line;
        line.bad.clear();
        return line;
      case Switch::Log:
        if (value.empty()) return line;
        line.log = value;
        break;
      case Switch::FileTypes:
        if (!readFileTypes(value, line)) return line;
        break;
      case Switch::Help:
        line.help = true;
        break;
    }
  }
  line.bad.clear();
  return line;
}

const char* commandLineUsage() {
  return "/quiet, /S          install without a window or a question\n"
         "/passive            show progress only, ask nothing\n"
         "/dir=FOLDER         install into FOLDER\n"
         "/log=FILE           write a log of the run to FILE\n"
         "/filetypes=EXT,...  take these file types (or all, or none)\n"
         "/help, /?           show this list";
}
