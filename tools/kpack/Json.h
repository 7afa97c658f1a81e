// A small streaming JSON writer for the tools' reports.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kpack {

class JsonWriter {
 public:
  explicit JsonWriter(std::ostream& out) : out_(out) {}

  void beginObject();
  void endObject();
  void beginArray();
  void endArray();
  // The member name of the value that follows, inside an object.
  void key(std::string_view name);
  void value(std::string_view text);  // UTF-8
  void value(const char* text) { value(std::string_view(text)); }
  void value(std::int64_t number);
  void value(bool flag);

 private:
  void separate();
  void writeString(std::string_view text);
  void indent();

  std::ostream& out_;
  std::vector<bool> first_;  // per open container: nothing written in it yet
  bool afterKey_ = false;
};

}  // namespace kpack
