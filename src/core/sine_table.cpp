#include "core/sine_table.h"

#include <cmath>

namespace core {
namespace {

std::array<std::uint16_t, 361> BuildSineTable() {
  std::array<std::uint16_t, 361> table{};
  const double quarter_degree = std::acos(-1.0) / 180.0 / 4.0;
  for (std::size_t k = 0; k < table.size(); ++k) {
    table[k] = static_cast<std::uint16_t>(std::floor(32767.0 * std::sin(k * quarter_degree)));
  }
  table[360] = 32767;  // sin 90° is exactly 1, whatever the rounding of the argument
  return table;
}

}  // namespace

const std::array<std::uint16_t, 361> SineTable = BuildSineTable();

std::int32_t SineDegrees(std::uint32_t d) {
  if (d > 360) d = (d - 1) % 360 + 1;  // into 1 … 360
  if (d > 180) return -SineDegrees(d - 180);
  if (d > 90) d = 180 - d;
  return SineTable[4 * d];
}

}  // namespace core
