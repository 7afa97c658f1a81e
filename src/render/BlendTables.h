// The integer tables every blend and mask operation reads.
//
// Each is built once, on first use, and shared by the whole process (the first
// call from any thread builds them; later calls only read). Pixel loops fetch a
// table row once per blit, so a blended channel costs two table reads and an add.
#pragma once

#include <cstdint>

using ByteTable = std::uint8_t[256][256];

// MulTable()[a][v] = (a * v + 128) / 255: v scaled by a out of 255, rounded.
const ByteTable& MulTable();
// ScreenTable()[a][b] = 255 - ((255 - a) * (255 - b) + 128) / 255: the union of
// two coverages, so 0 leaves the other unchanged and 255 saturates.
const ByteTable& ScreenTable();
// GreyOf()[s] = (s + 1) / 3 for s = 0..765: the grey of a pixel is GreyOf()[R + G + B].
const std::uint8_t* GreyOf();

// Source s over destination d with weight a, all 0..255. The two terms are
// rounded separately, so weight 255 gives exactly s and weight 0 exactly d.
inline int Blend(int s, int d, int a) {
  const ByteTable& mul = MulTable();
  return mul[a][s] + mul[255 - a][d];
}

// The grey of a blue-green-red pixel.
inline int GreyOfPixel(const std::uint8_t* bgr) {
  return GreyOf()[bgr[0] + bgr[1] + bgr[2]];
}

// Brings an alpha, mask or channel value given as an int into 0..255, so that it
// can index the tables whatever a caller passes.
inline int ClampByte(int v) {
  return v < 0 ? 0 : v > 255 ? 255 : v;
}
