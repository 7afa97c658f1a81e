#include "common/WholeFile.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace tools {

bool readWholeFile(const std::string& path, std::vector<unsigned char>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool writeWholeFile(const std::string& path, const std::vector<unsigned char>& bytes,
                    std::string& error) {
  const std::string temporary = path + ".tmp";
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  out.close();
  if (!out || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace tools
