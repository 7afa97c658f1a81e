// Test pictures compressed in memory with the JPEG library's own encoder, so the
// tests and the fuzzers' seeds carry no binary files.
#pragma once

#include <cstddef>
#include <vector>

namespace testdata {

struct JpegOptions {
  bool progressive = false;
  bool arithmetic = false;  // arithmetic coding instead of Huffman tables
  int restartRows = 0;      // a restart marker every this many block rows
  int quality = 95;
};

// Compresses width x height pixels, rows top-down and packed without padding, of
// 1 (grey), 3 (red, green, blue) or 4 (CMYK) components per pixel.
std::vector<unsigned char> EncodeJpeg(int width, int height, int components,
                                      const unsigned char* pixels,
                                      const JpegOptions& options = JpegOptions{});

// The same, for a picture of one colour (red, green, blue) or one grey value.
std::vector<unsigned char> EncodeSolidJpeg(int width, int height, int red, int green, int blue);
std::vector<unsigned char> EncodeSolidGreyJpeg(int width, int height, int value);

// The offset of the frame header's height (big-endian, width follows) in a
// JPEG from the encoder above; 0 when there is no frame header.
std::size_t FrameSizeOffset(const std::vector<unsigned char>& jpeg);

}  // namespace testdata
