// Repeatable randomness: a small generator with a fixed seed and smooth value noise, so
// the same program always paints the same bytes (no library distributions, whose results
// differ between standard libraries).
#pragma once

#include <cstdint>

namespace demo_art {

class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint32_t Next();
  // Uniform in [lo, hi).
  double Uniform(double lo, double hi);
  // Uniform integer in [lo, hi].
  int Between(int lo, int hi);

 private:
  std::uint64_t state_;
};

// A hash of a lattice point, uniform in [0, 1).
// A well-mixed 32-bit value for each lattice point and seed; LatticeValue is it in [0, 1).
std::uint32_t LatticeHash(int x, int y, std::uint32_t seed);
double LatticeValue(int x, int y, std::uint32_t seed);
// Smooth value noise in [0, 1], one lattice cell per unit.
double ValueNoise(double x, double y, std::uint32_t seed);
// Sum of `octaves` noise layers, each twice as fine and half as strong; in [0, 1].
double FractalNoise(double x, double y, int octaves, std::uint32_t seed);

}  // namespace demo_art
