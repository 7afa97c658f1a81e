#include "common/WholeFile.h"

#include <cstdio>
#include <fstream>

namespace tools {

bool readWholeFile(const std::string& path, std::vector<unsigned char>& bytes) {
  // One read of the size the file has: a package of hundreds of megabytes is
  // neither grown byte by byte nor held twice.
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return false;
  const std::streamoff size = in.tellg();
  if (size < 0) return false;
  bytes.resize(std::size_t(size));
  in.seekg(0);
  return in.read(reinterpret_cast<char*>(bytes.data()), size).gcount() == size;
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
