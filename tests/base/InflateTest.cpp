#include "base/Inflate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <zlib.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// Deterministic bytes: `noise` of them incompressible, the rest a repeating text.
Bytes sampleBytes(std::size_t size, std::size_t noise = 0) {
  Bytes out(size);
  std::uint32_t state = 12345;
  for (std::size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    out[i] = i < noise ? (unsigned char)(state >> 24) : (unsigned char)("kestrane "[i % 9]);
  }
  return out;
}

Bytes deflated(const Bytes& plain) {
  uLongf size = compressBound(uLong(plain.size()));
  Bytes out(size);
  EXPECT_EQ(compress2(out.data(), &size, plain.data(), uLong(plain.size()), 9), Z_OK);
  out.resize(size);
  return out;
}

void load(ByteStream& stream, const Bytes& bytes) {
  stream.clear();
  ASSERT_EQ(stream.appendBytes(std::uint32_t(bytes.size()), bytes.data()), S_OK);
}

Bytes contents(const ByteStream& stream) {
  return Bytes(stream.bytes(), stream.bytes() + stream.size());
}

struct Recorder {
  std::vector<std::uint32_t> consumed;
  std::uint32_t total = 0;
  std::size_t stopAtCall = SIZE_MAX;  // 0-based call that answers "stop"
};

int record(void* context, std::uint32_t consumed, std::uint32_t total) {
  auto* r = static_cast<Recorder*>(context);
  r->consumed.push_back(consumed);
  r->total = total;
  return r->consumed.size() - 1 == r->stopAtCall ? 0 : 1;
}

}  // namespace

TEST(Inflate, RoundTripsAcrossManyBlocks) {
  const Bytes plain = sampleBytes(300000, 100000);
  ByteStream packed;
  ByteStream out;
  load(packed, deflated(plain));
  ASSERT_EQ(inflateStream(&packed, &out), S_OK);
  EXPECT_EQ(contents(out), plain);
}

TEST(Inflate, CallsBackBeforeEachInputBlock) {
  // Incompressible data packs to more than 32 KiB; padding after the stream makes
  // the source exactly 40,000 bytes, which the callback must see as its total.
  Bytes source = deflated(sampleBytes(35000, 35000));
  ASSERT_GT(source.size(), 32768u);
  ASSERT_LT(source.size(), 40000u);
  source.resize(40000, 0xEE);
  ByteStream packed;
  ByteStream out;
  load(packed, source);
  Recorder r;
  ASSERT_EQ(inflateStream(&packed, &out, record, &r), S_OK);
  EXPECT_EQ(r.consumed, (std::vector<std::uint32_t>{0, 16384, 32768}));
  EXPECT_EQ(r.total, 40000u);
  EXPECT_EQ(contents(out), sampleBytes(35000, 35000));
}

TEST(Inflate, AStopFromTheCallbackFailsWithNothingKept) {
  const Bytes source = deflated(sampleBytes(60000, 60000));
  for (std::size_t stopAt : {0u, 2u}) {
    ByteStream packed;
    ByteStream out;
    load(packed, source);
    out.appendBytes(3, "old");
    Recorder r;
    r.stopAtCall = stopAt;
    EXPECT_EQ(inflateStream(&packed, &out, record, &r), E_FAIL);
    EXPECT_EQ(r.consumed.size(), stopAt + 1);
    EXPECT_EQ(out.size(), 0u);
  }
}

TEST(Inflate, RefusesMissingOrIdenticalStreams) {
  ByteStream s;
  load(s, deflated(sampleBytes(100)));
  const Bytes before = contents(s);
  EXPECT_EQ(inflateStream(&s, &s), E_FAIL);
  EXPECT_EQ(contents(s), before);
  EXPECT_EQ(inflateStream(nullptr, &s), E_FAIL);
  EXPECT_EQ(inflateStream(&s, nullptr), E_FAIL);
  EXPECT_EQ(contents(s), before);
}

TEST(Inflate, IgnoresBytesAfterTheStreamEnd) {
  const Bytes plain = sampleBytes(50000, 20000);
  Bytes source = deflated(plain);
  const Bytes garbage = sampleBytes(70000, 70000);
  source.insert(source.end(), garbage.begin(), garbage.end());
  ByteStream packed;
  ByteStream out;
  load(packed, source);
  Recorder r;
  ASSERT_EQ(inflateStream(&packed, &out, record, &r), S_OK);
  EXPECT_EQ(contents(out), plain);
  EXPECT_EQ(r.consumed.size(), 2u);  // the end came in the second block
}

TEST(Inflate, DamagedStreamsFailWithAnEmptyDestination) {
  const Bytes good = deflated(sampleBytes(40000, 30000));
  ASSERT_GT(good.size(), 16u);
  Bytes truncated(good.begin(), good.begin() + long(good.size() / 2));
  Bytes withoutTrailer(good.begin(), good.end() - 4);
  Bytes badChecksum = good;
  badChecksum[good.size() - 1] ^= 0x01;
  Bytes badHeader = good;
  badHeader[0] = 0x00;
  Bytes badBody = good;
  badBody[good.size() / 3] ^= 0xFF;
  const struct {
    const Bytes* source;
    const char* why;
  } cases[] = {
      {&truncated, "cut in half"},      {&withoutTrailer, "no end marker"},
      {&badChecksum, "wrong Adler-32"}, {&badHeader, "not a zlib header"},
      {&badBody, "corrupted body"},
  };
  for (const auto& c : cases) {
    ByteStream packed;
    ByteStream out;
    load(packed, *c.source);
    EXPECT_EQ(inflateStream(&packed, &out), E_FAIL) << c.why;
    EXPECT_EQ(out.size(), 0u) << c.why;
  }
  ByteStream empty;
  ByteStream out;
  EXPECT_EQ(inflateStream(&empty, &out), E_FAIL);
}

TEST(Inflate, StopsAtTheOutputLimit) {
  const Bytes plain = sampleBytes(100000, 1000);
  ByteStream packed;
  ByteStream out;
  load(packed, deflated(plain));
  EXPECT_EQ(inflateStream(&packed, &out, nullptr, nullptr, 100000), S_OK);
  EXPECT_EQ(out.size(), 100000u);
  EXPECT_EQ(inflateStream(&packed, &out, nullptr, nullptr, 99999), E_FAIL);
  EXPECT_EQ(out.size(), 0u);
  EXPECT_EQ(out.capacity(), 0u);
}

namespace {

// Collects what inflateInto hands over; says stop after `stopAfter` pieces.
struct Pieces {
  Bytes bytes;
  int count = 0;
  int stopAfter = -1;
  static bool take(void* self, const unsigned char* data, std::uint32_t size) {
    auto* p = static_cast<Pieces*>(self);
    p->bytes.insert(p->bytes.end(), data, data + size);
    return ++p->count != p->stopAfter;
  }
};

}  // namespace

// Streamed through a window, a body longer than the window comes out whole and in
// order; the limit holds as for a whole stream, and no byte past it is handed
// over; the sink can stop it.
TEST(Inflate, StreamsThroughAWindowUpToTheLimit) {
  const Bytes plain = sampleBytes(kInflateWindow * 2 + 12345, 5000);
  ByteStream packed;
  load(packed, deflated(plain));
  ByteStream window;
  const std::uint32_t size = std::uint32_t(plain.size());
  Pieces whole;
  std::uint32_t produced = 0;
  EXPECT_EQ(
      inflateInto(packed.view(), window, Pieces::take, &whole, nullptr, nullptr, size, produced),
      S_OK);
  EXPECT_EQ(produced, size);
  EXPECT_EQ(whole.count, 3);
  EXPECT_TRUE(whole.bytes == plain);
  EXPECT_EQ(window.capacity(), kInflateWindow);

  Pieces cut;
  EXPECT_EQ(
      inflateInto(packed.view(), window, Pieces::take, &cut, nullptr, nullptr, size - 1, produced),
      E_FAIL);
  EXPECT_LE(cut.bytes.size(), plain.size() - 1);
  EXPECT_TRUE(std::equal(cut.bytes.begin(), cut.bytes.end(), plain.begin()));

  Pieces stopped;
  stopped.stopAfter = 1;
  EXPECT_EQ(
      inflateInto(packed.view(), window, Pieces::take, &stopped, nullptr, nullptr, size, produced),
      E_FAIL);
  EXPECT_EQ(stopped.count, 1);
}

TEST(Inflate, SizeHintReservesOnceWithinZlibsLargestExpansion) {
  const Bytes plain = sampleBytes(200000, 500);
  const Bytes source = deflated(plain);
  ByteStream packed;
  ByteStream out;
  load(packed, source);
  ASSERT_EQ(inflateStream(&packed, &out, nullptr, nullptr, kNoOutputLimit, 200000), S_OK);
  EXPECT_EQ(contents(out), plain);
  EXPECT_EQ(out.capacity(), 200000u);  // the hint was right: no growth at all

  // A damaged size must not reserve more than the packed bytes can expand to.
  const Bytes tiny = deflated(sampleBytes(10));
  load(packed, tiny);
  ByteStream fresh;
  ASSERT_EQ(inflateStream(&packed, &fresh, nullptr, nullptr, kNoOutputLimit, 0x7FFFFFFFu), S_OK);
  EXPECT_EQ(fresh.size(), 10u);
  EXPECT_EQ(fresh.capacity(), 1032u * tiny.size());
}

TEST(Inflate, CompressedBlobsAreLengthPrefixed) {
  const Bytes plain = sampleBytes(5000, 100);
  const Bytes packed = deflated(plain);
  ByteStream source;
  const std::uint32_t n = std::uint32_t(packed.size());
  const unsigned char length[4] = {(unsigned char)n, (unsigned char)(n >> 8),
                                   (unsigned char)(n >> 16), (unsigned char)(n >> 24)};
  source.appendBytes(4, length);
  source.appendBytes(n, packed.data());
  source.appendBytes(4, "tail");

  ByteStream out;
  std::uint32_t pos = 0;
  ASSERT_TRUE(readCompressedBlob(source, out, pos));
  EXPECT_EQ(contents(out), plain);
  EXPECT_EQ(pos, 4 + n);
  EXPECT_FALSE(readCompressedBlob(source, out, pos));  // "tail" is no blob
}

TEST(Inflate, OneDestinationTakesBodyAfterBody) {
  // The install pass inflates every file into one stream: each body must come out
  // exactly, whatever the stream held before, and the limit must hold even where
  // the buffer left by a larger body has room beyond it.
  const Bytes large = sampleBytes(300000, 2000), small = sampleBytes(700, 100);
  const Bytes largePacked = deflated(large), smallPacked = deflated(small);
  const ByteView largeBody(largePacked.data(), std::uint32_t(largePacked.size()));
  const ByteView smallBody(smallPacked.data(), std::uint32_t(smallPacked.size()));
  ByteStream out;
  ASSERT_EQ(inflateStream(largeBody, &out, nullptr, nullptr, 300000, 300000), S_OK);
  EXPECT_EQ(contents(out), large);
  const unsigned char* buffer = out.bytes();

  ASSERT_EQ(inflateStream(smallBody, &out, nullptr, nullptr, 700, 700), S_OK);
  EXPECT_EQ(contents(out), small);
  EXPECT_EQ(out.bytes(), buffer);  // the same memory, not a fresh allocation

  EXPECT_EQ(inflateStream(smallBody, &out, nullptr, nullptr, 699, 699), E_FAIL);
  EXPECT_EQ(out.size(), 0u);

  ASSERT_EQ(inflateStream(largeBody, &out, nullptr, nullptr, 300000, 300000), S_OK);
  EXPECT_EQ(contents(out), large);  // and after a failure, from an empty stream
  Bytes damaged = largePacked;
  damaged[damaged.size() / 2] ^= 0x10;
  EXPECT_EQ(inflateStream(ByteView(damaged.data(), std::uint32_t(damaged.size())), &out), E_FAIL);
  EXPECT_EQ(out.size(), 0u);
}
