#include "noise.h"

#include <cmath>

namespace demo_art {
namespace {

std::uint32_t Mix(std::uint32_t h) {
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

double Smooth(double t) { return t * t * (3 - 2 * t); }

}  // namespace

std::uint32_t Rng::Next() {
  // splitmix64
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}

double Rng::Uniform(double lo, double hi) { return lo + (hi - lo) * (Next() / 4294967296.0); }

int Rng::Between(int lo, int hi) {
  return lo + static_cast<int>(Next() % static_cast<std::uint32_t>(hi - lo + 1));
}

std::uint32_t LatticeHash(int x, int y, std::uint32_t seed) {
  return Mix(static_cast<std::uint32_t>(x) * 0x8DA6B343u ^
             Mix(static_cast<std::uint32_t>(y) * 0xD8163841u ^ seed));
}

double LatticeValue(int x, int y, std::uint32_t seed) {
  return LatticeHash(x, y, seed) / 4294967296.0;
}

double ValueNoise(double x, double y, std::uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  const double tx = Smooth(x - fx), ty = Smooth(y - fy);
  const double a = LatticeValue(ix, iy, seed), b = LatticeValue(ix + 1, iy, seed);
  const double c = LatticeValue(ix, iy + 1, seed), d = LatticeValue(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double FractalNoise(double x, double y, int octaves, std::uint32_t seed) {
  double sum = 0, weight = 1, total = 0, scale = 1;
  for (int i = 0; i < octaves; ++i) {
    sum += weight * ValueNoise(x * scale, y * scale, seed + static_cast<std::uint32_t>(i) * 101u);
    total += weight;
    weight *= 0.5;
    scale *= 2;
  }
  return sum / total;
}

}  // namespace demo_art
