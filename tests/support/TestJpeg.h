// Small JPEG files made on the spot, for tests that need real pictures.
#pragma once

#include <cstdint>
#include <vector>

// A width x height JPEG of one colour (COLORREF 0x00BBGGRR), or of its grey value
// when `grey` is set, at quality 90.
std::vector<unsigned char> makeTestJpeg(int width, int height, std::uint32_t colour,
                                        bool grey = false);
