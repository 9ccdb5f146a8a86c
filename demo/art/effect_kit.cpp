#include "effect_kit.h"

namespace demo_art::effect {

std::int64_t SquareRoot(std::int64_t v) {
  if (v <= 0) return 0;
  std::int64_t r = 0;
  std::int64_t bit = std::int64_t{1} << 62;
  while (bit > v) bit >>= 2;
  while (bit != 0) {
    if (v >= r + bit) {
      v -= r + bit;
      r = (r >> 1) + bit;
    } else {
      r >>= 1;
    }
    bit >>= 2;
  }
  return r;
}

int Bayer(int x, int y) {
  static constexpr int kMatrix[4][4] = {
      {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return kMatrix[y & 3][x & 3];
}

int Dice::Between(int lo, int hi) {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return lo + static_cast<int>(state_ % static_cast<std::uint32_t>(hi - lo + 1));
}

}  // namespace demo_art::effect
