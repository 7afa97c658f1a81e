#include <cstdio>
#include <string>

#include "platform/host/Prefix.h"
#include "support/LinkProbe.h"

namespace {

// The text after "<label> ... : " on one of lnkinfo's lines.
bool field(const std::string& output, const std::string& label, std::string& value) {
  std::size_t at = output.find("\t" + label);
  if (at == std::string::npos) return false;
  at = output.find(": ", at);
  const std::size_t end = output.find('\n', at);
  if (at == std::string::npos || end == std::string::npos) return false;
  value = output.substr(at + 2, end - at - 2);
  return true;
}

}  // namespace

bool readLink(const char* windowsPath, LinkFacts& facts) {
  std::string host;
  return platform::host::toHostPath(windowsPath, host) && readLinkFile(host, facts);
}

bool readLinkFile(const std::string& hostPath, LinkFacts& facts) {
  const std::string command = "lnkinfo '" + hostPath + "' 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return false;
  std::string output;
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
  if (pclose(pipe) != 0) return false;
  facts = LinkFacts();
  field(output, "Description", facts.description);
  return field(output, "Local path", facts.target);
}
