// Package resources written byte by byte, for the reader's tests.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/ByteStream.h"
#include "support/EncodeJpeg.h"

class PackageBytes {
 public:
  PackageBytes& u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back((unsigned char)(v >> (8 * i)));
    return *this;
  }
  PackageBytes& raw(const std::vector<unsigned char>& b) {
    bytes.insert(bytes.end(), b.begin(), b.end());
    return *this;
  }
  PackageBytes& text(const std::string& s) {
    bytes.push_back(0xFF);
    u32(std::uint32_t(s.size()));
    bytes.insert(bytes.end(), s.begin(), s.end());
    return *this;
  }
  PackageBytes& blob(const std::vector<unsigned char>& b) {
    return u32(std::uint32_t(b.size())).raw(b);
  }
  PackageBytes& list(const std::vector<std::string>& texts) {
    u32(std::uint32_t(texts.size()));
    for (const std::string& t : texts) text(t);
    return *this;
  }

  // The header's texts and licence, each test product changing what it needs.
  struct Texts {
    std::string displayName = "Demo Product";
    std::string company = "Kestrane Demo";
    std::string url = "https://example.com";
    std::string moreUrl = "https://example.com/demo";
    std::string settingsKey = "Demo Product";
    std::string installFolder = "Demo Product";
    std::vector<unsigned char> licence = {'L', 'i', 'c', '\r', '\n', 0};
  };

  // Magic, version, the seven texts, two small pictures and a licence.
  PackageBytes& header(const Texts& t) {
    u32(0x91827364).u32(1);
    text(t.displayName).text(t.company).text(t.url).text(t.moreUrl);
    text(t.settingsKey).text(t.installFolder).text("");
    blob(testdata::EncodeSolidJpeg(16, 32, 0x99, 0x66, 0x33))
        .blob(testdata::EncodeSolidGreyJpeg(8, 8, 0x80));
    return blob(t.licence);
  }
  PackageBytes& header(const std::string& installFolder = "Demo Product") {
    Texts t;
    t.installFolder = installFolder;
    return header(t);
  }

  // An item record with no optional fields.
  PackageBytes& item(const std::string& name, std::uint32_t flags,
                     const std::string& content = "abc") {
    text(name).u32(flags).u32(std::uint32_t(content.size()));
    return blob(deflated(content));
  }

  void copyTo(ByteStream& s) const {
    s.clear();
    s.appendBytes(std::uint32_t(bytes.size()), bytes.data());
  }

  // Deterministic bytes that deflate does not shrink.
  static std::string noise(std::size_t n, std::uint32_t seed) {
    std::string out(n, '\0');
    for (char& c : out) {
      seed = seed * 1103515245u + 12345u;
      c = char(seed >> 24);
    }
    return out;
  }

  // A packed body of exactly `packedSize` bytes: the zlib stream of `content`,
  // then padding that the inflater never reads.
  static std::vector<unsigned char> paddedBody(const std::string& content, std::size_t packedSize) {
    std::vector<unsigned char> body = deflated(content);
    if (body.size() < packedSize) body.resize(packedSize, 0xAA);
    return body;
  }

  static std::vector<unsigned char> deflated(const std::string& content) {
    uLongf size = compressBound(uLong(content.size()));
    std::vector<unsigned char> out(size);
    compress2(out.data(), &size, reinterpret_cast<const Bytef*>(content.data()),
              uLong(content.size()), 9);
    out.resize(size);
    return out;
  }

  std::vector<unsigned char> bytes;
};
