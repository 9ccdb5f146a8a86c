// Pixel patterns shared by the screen transitions and the scene-clearing effects. A pattern
// walks its pixels step by step with its own timing and presents; what it does to each
// pixel is the brush's business: copy it from the composed picture (a transition) or paint
// it one colour (a clearing effect).
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "core/picture.h"

namespace visuals::patterns {

// What a pattern does to the shown pixels it reaches. Every span is clipped to the picture.
class Brush {
 public:
  // Copies from `composed` onto `shown`.
  static Brush Copying(std::uint8_t* shown, const std::uint8_t* composed) {
    return Brush(shown, composed, 0);
  }
  // Paints `shown` with `colour`.
  static Brush Painting(std::uint8_t* shown, std::uint8_t colour) {
    return Brush(shown, nullptr, colour);
  }
  // Pixels x0 … x1 − 1 of screen row y.
  void Span(int y, int x0, int x1) const;
  // Columns x0 … x1 − 1 of rows y0 … y1 − 1.
  void Rect(int x0, int y0, int x1, int y1) const {
    for (int y = y0; y < y1; ++y) Span(y, x0, x1);
  }
  // Every 4th pixel of row y from x0 up to (not including) x1.
  void EveryFourth(int y, int x0, int x1) const;

 private:
  Brush(std::uint8_t* shown, const std::uint8_t* composed, std::uint8_t colour)
      : shown_(shown), composed_(composed), colour_(colour) {}
  std::uint8_t* shown_;
  const std::uint8_t* composed_;
  std::uint8_t colour_;
};

// The two screen pictures locked for the span of one pattern.
class LockedScreens {
 public:
  LockedScreens();
  ~LockedScreens();
  LockedScreens(const LockedScreens&) = delete;
  LockedScreens& operator=(const LockedScreens&) = delete;
  bool ok() const { return shown_ != nullptr && composed_ != nullptr; }
  std::uint8_t* shown() const { return shown_; }
  std::uint8_t* composed() const { return composed_; }
  Brush Copying() const { return Brush::Copying(shown_, composed_); }
  Brush Painting(std::uint8_t colour) const { return Brush::Painting(shown_, colour); }

 private:
  std::uint8_t* shown_;
  std::uint8_t* composed_;
};

// The 40 × 25 grid of 16-pixel blocks; block b covers x 16(b mod 40) …, y 16(b div 40) ….
constexpr int kBlockColumns = 40;
constexpr int kBlockRows = 25;
constexpr int kBlockCount = kBlockColumns * kBlockRows;
using BlockOrder = std::array<std::uint16_t, kBlockCount>;
// The blocks in a clockwise inward spiral, from (0, 0) to (27, 12).
const BlockOrder& SpiralOrder();

// Blocks one at a time in `order` (front to back, or back to front when `reversed`); after
// every 8th a 20-ms step ends with a present of the blocks done; then the whole screen.
void Blocks(const Brush& brush, const BlockOrder& order, bool reversed);
// Blocks in the game's random order, every one once; a 10-ms step after the 1st, 33rd, …
void RandomBlocks(const Brush& brush);
// Diamonds growing from the centres of the 32-pixel cells, one ring a 30-ms step; with
// `wave`, each cell column starts one step after its left neighbour.
void Diamonds(const Brush& brush, bool wave);
// Each 16-pixel strip one column a step from its left edge, one strip after another.
void ColumnSweep(const Brush& brush);
// Each 16-pixel strip one dither position a step, one strip after another.
void DitherSweep(const Brush& brush);
// Step k (0 … 15) takes every column x with x mod 16 = k; present, then 10 ms.
void InterleavedColumns(const Brush& brush);
// Rows in 16 bands of 25, one random row of every band a 20-ms step; every row once.
void RandomRows(const Brush& brush);

// One band of an iris of radius r around the screen's centre (320, 200): the disc covers
// columns 320 − half_width … 319 + half_width of rows 200 − outer … 199 − inner and
// 200 + inner … 199 + outer. `last` marks the band of the final angle.
struct IrisBand {
  int half_width;
  int outer;
  int inner;
  bool last;
};
// Walks the quarter circle of radius r in half degrees and hands over every band due.
void IrisBands(int r, const std::function<void(const IrisBand&)>& band);

}  // namespace visuals::patterns
