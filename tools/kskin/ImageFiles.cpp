#include "kskin/ImageFiles.h"

#include <zlib.h>

#include <cstdio>

#include <jpeglib.h>

#include "common/WholeFile.h"

namespace kskin {

namespace {

struct JpegFailure {};

[[noreturn]] void raiseFailure(j_common_ptr) {
  throw JpegFailure{};
}

void putBigEndian(Bytes& out, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) out.push_back((unsigned char)(v >> (8 * i)));
}

void putChunk(Bytes& out, const char* type, const Bytes& data) {
  putBigEndian(out, std::uint32_t(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0L, out.data() + start, uInt(out.size() - start));
  putBigEndian(out, std::uint32_t(crc));
}

}  // namespace

Bytes EncodeJpeg(const Image& picture, int quality) {
  if (picture.BitsPerPixel() != 24 || !picture.HasPixels()) {
    throw SkinError("only 24-bit pictures are stored as JPEG");
  }
  jpeg_compress_struct cinfo = {};
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  errors.error_exit = raiseFailure;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  Bytes out;
  try {
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(picture.Width());
    cinfo.image_height = JDIMENSION(picture.Height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    // Full-resolution colour: the background's soft colour edges stay clean.
    for (int i = 0; i < cinfo.num_components; ++i) {
      cinfo.comp_info[i].h_samp_factor = cinfo.comp_info[i].v_samp_factor = 1;
    }
    cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
      JSAMPROW row = const_cast<JSAMPROW>(picture.PixelAt(0, int(cinfo.next_scanline)));
      jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    out.assign(buffer, buffer + size);
  } catch (const JpegFailure&) {
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    throw SkinError("the JPEG encoder failed");
  }
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

Bytes EncodePng(const Image& picture) {
  if (picture.BitsPerPixel() != 24 || !picture.HasPixels()) {
    throw SkinError("only 24-bit pictures are written as PNG");
  }
  const int w = picture.Width(), h = picture.Height();
  Bytes raw;
  raw.reserve(std::size_t(h) * (1 + 3 * std::size_t(w)));
  for (int y = 0; y < h; ++y) {
    raw.push_back(0);  // no filter
    const unsigned char* p = picture.PixelAt(0, y);
    for (int x = 0; x < w; ++x, p += 3) {
      raw.push_back(p[2]);
      raw.push_back(p[1]);
      raw.push_back(p[0]);
    }
  }
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes out(kSignature, kSignature + 8);
  Bytes header;
  putBigEndian(header, std::uint32_t(w));
  putBigEndian(header, std::uint32_t(h));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
  putChunk(out, "IHDR", header);
  putChunk(out, "IDAT", Compress(raw));
  putChunk(out, "IEND", Bytes{});
  return out;
}

Bytes ReadFile(const std::string& path) {
  Bytes bytes;
  if (!tools::readWholeFile(path, bytes)) throw SkinError("cannot read " + path);
  return bytes;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::string error;
  if (!tools::writeWholeFile(path, bytes, error)) throw SkinError(error);
}

}  // namespace kskin
