#include "support/TestJpeg.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

std::vector<unsigned char> makeTestJpeg(int width, int height, std::uint32_t colour, bool grey) {
  jpeg_compress_struct c;
  jpeg_error_mgr errors;
  c.err = jpeg_std_error(&errors);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = JDIMENSION(width);
  c.image_height = JDIMENSION(height);
  c.input_components = grey ? 1 : 3;
  c.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 90, TRUE);
  jpeg_start_compress(&c, TRUE);

  const unsigned char r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
  std::vector<unsigned char> row(std::size_t(width) * 3);
  for (int x = 0; x < width; ++x) {
    if (grey) {
      row[std::size_t(x)] = (unsigned char)((r + g + b) / 3);
    } else {
      row[std::size_t(x) * 3] = r;
      row[std::size_t(x) * 3 + 1] = g;
      row[std::size_t(x) * 3 + 2] = b;
    }
  }
  while (c.next_scanline < c.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<unsigned char> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}
