#include "kpack/Json.h"

#include <cstdio>

namespace kpack {

void JsonWriter::indent() {
  out_ << '\n';
  for (std::size_t i = 0; i < first_.size(); ++i) out_ << "  ";
}

void JsonWriter::separate() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!first_.empty()) {
    if (!first_.back()) out_ << ',';
    first_.back() = false;
    indent();
  }
}

void JsonWriter::beginObject() {
  separate();
  out_ << '{';
  first_.push_back(true);
}

void JsonWriter::endObject() {
  const bool empty = first_.back();
  first_.pop_back();
  if (!empty) indent();
  out_ << '}';
  if (first_.empty()) out_ << '\n';
}

void JsonWriter::beginArray() {
  separate();
  out_ << '[';
  first_.push_back(true);
}

void JsonWriter::endArray() {
  const bool empty = first_.back();
  first_.pop_back();
  if (!empty) indent();
  out_ << ']';
}

void JsonWriter::key(std::string_view name) {
  separate();
  writeString(name);
  out_ << ": ";
  afterKey_ = true;
}

void JsonWriter::value(std::string_view text) {
  separate();
  writeString(text);
}

void JsonWriter::writeString(std::string_view text) {
  out_ << '"';
  for (char c : text) {
    switch (c) {
      case '"':
        out_ << "\\\"";
        break;
      case '\\':
        out_ << "\\\\";
        break;
      case '\n':
        out_ << "\\n";
        break;
      case '\r':
        out_ << "\\r";
        break;
      case '\t':
        out_ << "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(c));
          out_ << escaped;
        } else {
          out_ << c;
        }
    }
  }
  out_ << '"';
}

void JsonWriter::value(std::int64_t number) {
  separate();
  out_ << number;
}

void JsonWriter::value(bool flag) {
  separate();
  out_ << (flag ? "true" : "false");
}

}  // namespace kpack
