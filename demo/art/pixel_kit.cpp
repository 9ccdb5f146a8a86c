#include "pixel_kit.h"

#include <algorithm>

#include "noise.h"

namespace demo_art {
namespace {

constexpr std::uint8_t kBayer8[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};

// Floor division and the matching remainder, for noise at negative coordinates.
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// 3t² − 2t³ on t in 0 … 256, answering 0 … 256.
int Smooth256(int t) { return (t * t * (768 - 2 * t)) >> 16; }

}  // namespace

PixelCanvas::PixelCanvas(int width, int height, std::uint8_t fill)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

authoring::PictureImage PixelCanvas::ToImage() const {
  return authoring::PictureImage{width_, height_, pixels_};
}

namespace {

// Each row's five pixels, the leftmost in bit 4.
struct Letter {
  char name;
  std::uint8_t rows[7];
};
constexpr Letter kLetters[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'Y', {0x11, 0x11, 0x0A, 0x04, 0x04, 0x04, 0x04}},
};

}  // namespace

bool LetterPixel(char name, int col, int row) {
  for (const Letter& letter : kLetters)
    if (letter.name == name) return (letter.rows[row] >> (4 - col)) & 1;
  return false;
}

int Bayer(int x, int y) { return kBayer8[y & 7][x & 7]; }

std::uint8_t DitherTone(ColourRamp ramp, int tone, int x, int y) {
  const int last = static_cast<int>(ramp.size()) - 1;
  tone = std::clamp(tone, 0, last * kToneStep);
  int index = tone / kToneStep;
  if (index < last && tone % kToneStep > Bayer(x, y)) ++index;
  return ramp.begin()[index];
}

int LatticeByte(int x, int y, std::uint32_t seed) {
  return static_cast<int>(LatticeHash(x, y, seed) >> 24);
}

int ValueNoise8(int x, int y, int cell, std::uint32_t seed, int period_x) {
  const int cx = FloorDiv(x, cell), cy = FloorDiv(y, cell);
  const int tx = Smooth256((x - cx * cell) * 256 / cell);
  const int ty = Smooth256((y - cy * cell) * 256 / cell);
  const int cells_across = period_x > 0 ? period_x / cell : 0;
  auto lattice = [&](int lx, int ly) {
    if (cells_across > 0) lx = ((lx % cells_across) + cells_across) % cells_across;
    return LatticeByte(lx, ly, seed);
  };
  const int a = lattice(cx, cy), b = lattice(cx + 1, cy);
  const int c = lattice(cx, cy + 1), d = lattice(cx + 1, cy + 1);
  const int top = a * 256 + (b - a) * tx;
  const int bottom = c * 256 + (d - c) * tx;
  return (top * 256 + (bottom - top) * ty) >> 16;
}

int FractalNoise8(int x, int y, int cell, int octaves, std::uint32_t seed, int period_x) {
  int sum = 0, total = 0, weight = 256;
  for (int i = 0; i < octaves && cell > 0; ++i) {
    sum += weight * ValueNoise8(x, y, cell, seed + static_cast<std::uint32_t>(i) * 101u, period_x);
    total += weight;
    weight /= 2;
    cell /= 2;
  }
  return total > 0 ? sum / total : 0;
}

int ISqrt(std::int64_t n) {
  if (n <= 0) return 0;
  std::int64_t r = 0, bit = std::int64_t{1} << 62;
  while (bit > n) bit >>= 2;
  while (bit != 0) {
    if (n >= r + bit) {
      n -= r + bit;
      r = (r >> 1) + bit;
    } else {
      r >>= 1;
    }
    bit >>= 2;
  }
  return static_cast<int>(r);
}

bool NearSegment(int px, int py, int ax, int ay, int bx, int by, int radius) {
  const std::int64_t dx = bx - ax, dy = by - ay;
  const std::int64_t len2 = dx * dx + dy * dy;
  const std::int64_t rx = px - ax, ry = py - ay;
  const std::int64_t r2 = std::int64_t{radius} * radius;
  if (len2 == 0) return rx * rx + ry * ry <= r2;
  const std::int64_t t = std::clamp<std::int64_t>(rx * dx + ry * dy, 0, len2);
  // The offset from the nearest point, scaled by len2.
  const std::int64_t ox = rx * len2 - t * dx, oy = ry * len2 - t * dy;
  // Compare in scaled units, dividing once to keep within 64 bits.
  const std::int64_t qx = ox / len2, qy = oy / len2;
  return qx * qx + qy * qy <= r2;
}

void ThickLine(PixelCanvas* canvas, int ax, int ay, int bx, int by, int radius,
               std::uint8_t colour) {
  for (int y = std::min(ay, by) - radius; y <= std::max(ay, by) + radius; ++y)
    for (int x = std::min(ax, bx) - radius; x <= std::max(ax, bx) + radius; ++x)
      if (canvas->Inside(x, y) && NearSegment(x, y, ax, ay, bx, by, radius))
        canvas->Set(x, y, colour);
}

void FillDisc(PixelCanvas* canvas, int cx, int cy, int radius, std::uint8_t colour) {
  for (int y = cy - radius; y <= cy + radius; ++y)
    for (int x = cx - radius; x <= cx + radius; ++x)
      if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius) canvas->Set(x, y, colour);
}

void FillBox(PixelCanvas* canvas, int left, int top, int right, int bottom, std::uint8_t colour) {
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) canvas->Set(x, y, colour);
}

std::uint32_t IntRng::Next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}

int IntRng::Between(int lo, int hi) {
  return lo + static_cast<int>(Next() % static_cast<std::uint32_t>(hi - lo + 1));
}

}  // namespace demo_art
