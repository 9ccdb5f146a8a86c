// The plain way of placing unpacked picture bytes on a 640 × 400 screen, pixel by pixel,
// for the decoder tests and fuzzers to hold the decoder's placement against.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hotaru_test {

// `screen` is top row first. Byte i goes to byte column c and row r of a rectangle of
// width × height pixels whose corner is (x, y): rows order (1) c = i mod (width / 2),
// r = i div (width / 2); columns order (0) c = i div height, r = i mod height. Its high
// half is pixel (x + 2c, y + r), its low half the pixel right of it; a pixel is written
// when it lies on the screen and is not the transparent colour. At most the rectangle's
// bytes are placed.
inline std::vector<std::uint8_t> PlacePictureBytes(std::vector<std::uint8_t> screen,
                                                   const std::vector<std::uint8_t>& bytes,
                                                   long long width, long long height, int order,
                                                   long long x, long long y, int transparent) {
  constexpr long long kW = 640, kH = 400;
  const long long half = width / 2;
  if (half <= 0 || height <= 0) return screen;
  for (long long i = 0; i < static_cast<long long>(bytes.size()) && i < half * height; ++i) {
    const long long c = order == 1 ? i % half : i / height;
    const long long r = order == 1 ? i / half : i % height;
    for (int side = 0; side < 2; ++side) {
      const int v = side == 0 ? bytes[static_cast<std::size_t>(i)] >> 4
                              : bytes[static_cast<std::size_t>(i)] & 15;
      const long long px = x + 2 * c + side, py = y + r;
      if (px >= 0 && px < kW && py >= 0 && py < kH && v != transparent) {
        screen[static_cast<std::size_t>(py * kW + px)] = static_cast<std::uint8_t>(v);
      }
    }
  }
  return screen;
}

}  // namespace hotaru_test
