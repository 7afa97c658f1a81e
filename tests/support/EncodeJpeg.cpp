#include "support/EncodeJpeg.h"

#include <cstdio>  // jpeglib.h uses FILE without including it
#include <cstdlib>

#include <jpeglib.h>

namespace testdata {

std::vector<unsigned char> EncodeJpeg(int width, int height, int components,
                                      const unsigned char* pixels, const JpegOptions& options) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);  // a failure here ends the test program
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  jpeg_mem_dest(&cinfo, &out, &outSize);
  cinfo.image_width = JDIMENSION(width);
  cinfo.image_height = JDIMENSION(height);
  cinfo.input_components = components;
  cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, options.quality, TRUE);
  if (options.progressive) jpeg_simple_progression(&cinfo);
  cinfo.arith_code = options.arithmetic ? TRUE : FALSE;
  cinfo.restart_in_rows = options.restartRows;
  jpeg_start_compress(&cinfo, TRUE);
  const std::size_t rowBytes = std::size_t(width) * std::size_t(components);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(pixels + cinfo.next_scanline * rowBytes);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<unsigned char> jpeg(out, out + outSize);
  std::free(out);
  return jpeg;
}

std::vector<unsigned char> EncodeSolidJpeg(int width, int height, int red, int green, int blue) {
  std::vector<unsigned char> pixels(std::size_t(width) * std::size_t(height) * 3);
  for (std::size_t i = 0; i < pixels.size(); i += 3) {
    pixels[i] = (unsigned char)red;
    pixels[i + 1] = (unsigned char)green;
    pixels[i + 2] = (unsigned char)blue;
  }
  return EncodeJpeg(width, height, 3, pixels.data());
}

std::vector<unsigned char> EncodeSolidGreyJpeg(int width, int height, int value) {
  std::vector<unsigned char> pixels(std::size_t(width) * std::size_t(height), (unsigned char)value);
  return EncodeJpeg(width, height, 1, pixels.data());
}

std::size_t FrameSizeOffset(const std::vector<unsigned char>& jpeg) {
  std::size_t at = 2;  // past the start-of-image marker
  while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
    const unsigned char marker = jpeg[at + 1];
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) return at + 5;
    at += 2 + (std::size_t(jpeg[at + 2]) << 8 | jpeg[at + 3]);
  }
  return 0;
}

}  // namespace testdata
