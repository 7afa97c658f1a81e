// The glue between our streams and images and the IJG decompressor.
//
// The library reports a fatal error by calling the error manager's error_exit,
// which must not return. Ours throws DecodeFailure, which unwinds through the
// library's C frames back into DecodeJpeg and is caught there: it never leaves
// this file. That relies on the library having unwind tables. The host's libjpeg
// has them for every C function (the x86-64 ABI expects them; only the SIMD
// kernels lack them, and those are leaves that never call back into us), and the
// Windows build compiles its copy with -fexceptions (cmake/Dependencies.cmake).
// The tests make the library fail from deep inside on both targets.
#include "render/Jpeg.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>  // jpeglib.h uses FILE without including it
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

namespace {

constexpr std::size_t kChunkBytes = 4096;
constexpr JDIMENSION kBufferRows = 16;

// Larger pictures are not real skin or package pictures. Refused before anything
// is allocated for them, since a dozen header bytes can claim gigabytes of
// coefficients (progressive files keep the whole picture's).
constexpr JDIMENSION kMaxSide = 16384;
constexpr std::uint64_t kMaxPixels = std::uint64_t(64) << 20;

// The internal exception of the decoder; see the top of the file.
struct DecodeFailure {};

[[noreturn]] void raiseFailure(j_common_ptr) {
  throw DecodeFailure{};
}

// Warnings, such as the premature end of a truncated file, are not worth a word.
void ignoreMessage(j_common_ptr, int) {}

// The library's source record first, so the library's pointer is also ours.
struct MemorySource {
  jpeg_source_mgr pub;
  const ByteStream* stream;
  std::uint32_t position;
  JOCTET* chunk;  // kChunkBytes, from the permanent pool
  bool startOfFile;
};

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

boolean fillInputBuffer(j_decompress_ptr cinfo) {
  auto* source = reinterpret_cast<MemorySource*>(cinfo->src);
  const std::uint32_t size = source->stream->size();
  std::uint32_t n = size - std::min(source->position, size);
  if (n > kChunkBytes) n = kChunkBytes;
  if (n > 0 && source->stream->readAt(source->position, n, source->chunk) != S_OK) n = 0;
  if (n == 0) {
    if (source->startOfFile) ERREXIT(cinfo, JERR_INPUT_EMPTY);
    // A file cut short ends here, so the decoder finishes what it has.
    WARNMS(cinfo, JWRN_JPEG_EOF);
    source->chunk[0] = 0xFF;
    source->chunk[1] = JPEG_EOI;
    n = 2;
  }
  source->pub.next_input_byte = source->chunk;
  source->pub.bytes_in_buffer = n;
  source->startOfFile = false;
  return TRUE;
}

// As the library's own sources skip: refilling until the count is used up.
void skipInputData(j_decompress_ptr cinfo, long count) {
  jpeg_source_mgr* source = cinfo->src;
  if (count <= 0) return;
  while (count > long(source->bytes_in_buffer)) {
    count -= long(source->bytes_in_buffer);
    source->fill_input_buffer(cinfo);
  }
  source->next_input_byte += count;
  source->bytes_in_buffer -= std::size_t(count);
}

void useMemorySource(jpeg_decompress_struct& cinfo, const ByteStream& stream) {
  auto* common = reinterpret_cast<j_common_ptr>(&cinfo);
  auto* source = static_cast<MemorySource*>(
      cinfo.mem->alloc_small(common, JPOOL_PERMANENT, sizeof(MemorySource)));
  source->pub.init_source = initSource;
  source->pub.fill_input_buffer = fillInputBuffer;
  source->pub.skip_input_data = skipInputData;
  source->pub.resync_to_restart = jpeg_resync_to_restart;
  source->pub.term_source = termSource;
  source->pub.next_input_byte = nullptr;
  source->pub.bytes_in_buffer = 0;
  source->stream = &stream;
  source->position = 0;
  source->chunk =
      static_cast<JOCTET*>(cinfo.mem->alloc_small(common, JPOOL_PERMANENT, kChunkBytes));
  source->startOfFile = true;
  cinfo.src = &source->pub;
}

// Everything between creating and destroying the decompression object; any
// failure throws DecodeFailure.
void decode(jpeg_decompress_struct& cinfo, const ByteStream& jpeg, Image& target) {
  jpeg_create_decompress(&cinfo);
  useMemorySource(cinfo, jpeg);
  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) throw DecodeFailure{};

  if (cinfo.image_width > kMaxSide || cinfo.image_height > kMaxSide ||
      std::uint64_t(cinfo.image_width) * cinfo.image_height > kMaxPixels) {
    throw DecodeFailure{};
  }
  // Grey stays grey; colour comes out in the Image's byte order. Four-channel
  // (CMYK) files have no conversion to colour in the library and are refused.
  if (cinfo.jpeg_color_space == JCS_YCbCr || cinfo.jpeg_color_space == JCS_RGB) {
    cinfo.out_color_space = JCS_EXT_BGR;
  } else if (cinfo.jpeg_color_space != JCS_GRAYSCALE) {
    throw DecodeFailure{};
  }
  cinfo.dct_method = JDCT_IFAST;
  cinfo.do_fancy_upsampling = TRUE;
  cinfo.quantize_colors = FALSE;
  cinfo.scale_num = 1;
  cinfo.scale_denom = 1;

  jpeg_start_decompress(&cinfo);
  const int components = cinfo.output_components;
  const bool grey = cinfo.out_color_space == JCS_GRAYSCALE;
  if (components != (grey ? 1 : 3)) throw DecodeFailure{};
  const JDIMENSION rowBytes = cinfo.output_width * JDIMENSION(components);
  JSAMPARRAY rows = cinfo.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                            rowBytes, kBufferRows);

  const int width = int(cinfo.output_width);
  const int height = int(cinfo.output_height);
  if (!(grey ? target.CreateGrey(width, height) : target.Create(width, height, 24))) {
    throw DecodeFailure{};
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    const JDIMENSION top = cinfo.output_scanline;
    const JDIMENSION got = jpeg_read_scanlines(&cinfo, rows, kBufferRows);
    // Only a suspending source returns no rows; ours never suspends, but a loop
    // that cannot advance must not spin.
    if (got == 0) throw DecodeFailure{};
    for (JDIMENSION i = 0; i < got; ++i) {
      std::memcpy(target.PixelAt(0, int(top + i)), rows[i], rowBytes);
    }
  }
  jpeg_finish_decompress(&cinfo);
}

}  // namespace

int DecodeJpeg(const ByteStream& jpeg, Image& target) {
  target.Clear();
  // Zeroed, so that destroying is safe however early the library gives up.
  jpeg_decompress_struct cinfo = {};
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  errors.error_exit = raiseFailure;
  errors.emit_message = ignoreMessage;

  int result = 0;
  try {
    decode(cinfo, jpeg, target);
    result = 1;
  } catch (const DecodeFailure&) {
    // The library's state is abandoned as it stands; destroying frees its pools.
  }
  jpeg_destroy_decompress(&cinfo);
  return result;
}

int DecodeJpeg(const ByteStream& source, std::uint32_t& position, Image& target) {
  ByteStream blob;
  if (blob.readBlob(source, position) != S_OK) {
    target.Clear();
    return 0;
  }
  return DecodeJpeg(blob, target);
}
