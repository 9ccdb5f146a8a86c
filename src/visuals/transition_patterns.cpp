#include "visuals/transition_patterns.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/message_pump.h"
#include "core/screen_state.h"  // the screen pictures
#include "core/screen_state.h"
#include "core/sine_table.h"
#include "visuals/dither_order.h"

namespace visuals::patterns {
namespace {

// A new tick marks the start of each step; WaitSince ends it cs × 10 ms later.
DWORD Tick() { return GetTickCount(); }

void EmptyUpdateRect() { core::Screen.UpdateRect = core::kEmptyUpdateRect; }

void Block(const Brush& brush, int b) {
  const int x = 16 * (b % kBlockColumns);
  const int y = 16 * (b / kBlockColumns);
  brush.Rect(x, y, x + 16, y + 16);
  core::RectExtend(&core::Screen.UpdateRect, x, y, x + 16, y + 16);
}

BlockOrder BuildSpiral() {
  BlockOrder order{};
  int n = 0;
  int left = 0, top = 0, right = kBlockColumns - 1, bottom = kBlockRows - 1;
  const auto take = [&](int i, int j) {
    order[static_cast<std::size_t>(n++)] = static_cast<std::uint16_t>(j * kBlockColumns + i);
  };
  while (left <= right && top <= bottom) {
    for (int i = left; i <= right; ++i) take(i, top);
    ++top;
    for (int j = top; j <= bottom; ++j) take(right, j);
    --right;
    if (top <= bottom) {
      for (int i = right; i >= left; --i) take(i, bottom);
      --bottom;
    }
    if (left <= right) {
      for (int j = bottom; j >= top; --j) take(left, j);
      ++left;
    }
  }
  return order;
}

// The cells of the diamonds: 20 columns of 32 pixels, 13 rows counted from the bottom.
constexpr int kCellColumns = 20;
constexpr int kCellRows = 13;

// Ring s of cell column q in every cell row: the pixels at |dx| + |dy| = s from the centre.
void DiamondRing(const Brush& brush, int q, int s) {
  const int cx = 32 * q + 16;
  for (int r = 0; r < kCellRows; ++r) {
    const int cy = 383 - 32 * r;
    for (int dy = -16; dy <= 15; ++dy) {
      const int a = s - std::abs(dy);
      if (a < 0) continue;
      const int y = cy - dy;
      if (a <= 15) brush.Span(y, cx + a, cx + a + 1);
      if (a != 0 && a <= 16) brush.Span(y, cx - a, cx - a + 1);
    }
  }
}

// Sin(i) for half degrees i = 0 … 180, and Cos(i) = Sin(180 − i).
std::int32_t Sin(int i) { return core::SineTable[static_cast<std::size_t>(2 * i)]; }
std::int32_t Cos(int i) { return Sin(180 - i); }

}  // namespace

void Brush::Span(int y, int x0, int x1) const {
  if (y < 0 || y >= core::kPictureHeight) return;
  x0 = std::max(x0, 0);
  x1 = std::min(x1, core::kPictureWidth);
  if (x1 <= x0) return;
  std::uint8_t* to = core::PixelAt(shown_, x0, y);
  const auto n = static_cast<std::size_t>(x1 - x0);
  if (composed_ != nullptr) {
    std::memcpy(to, core::PixelAt(const_cast<std::uint8_t*>(composed_), x0, y), n);
  } else {
    std::memset(to, colour_, n);
  }
}

void Brush::EveryFourth(int y, int x0, int x1) const {
  if (y < 0 || y >= core::kPictureHeight) return;
  x1 = std::min(x1, core::kPictureWidth);
  for (int x = x0; x < x1; x += 4) {
    if (x >= 0) Span(y, x, x + 1);
  }
}

LockedScreens::LockedScreens()
    : shown_(core::LockPicture(core::Screen.VmemDIB)),
      composed_(core::LockPicture(core::Screen.VbufDIB)) {}

LockedScreens::~LockedScreens() {
  if (shown_ != nullptr) core::MemUnlock(core::Screen.VmemDIB);
  if (composed_ != nullptr) core::MemUnlock(core::Screen.VbufDIB);
}

const BlockOrder& SpiralOrder() {
  static const BlockOrder order = BuildSpiral();
  return order;
}

void Blocks(const Brush& brush, const BlockOrder& order, bool reversed) {
  EmptyUpdateRect();
  DWORD t = Tick();
  for (int k = 0; k < kBlockCount; ++k) {
    Block(brush, order[static_cast<std::size_t>(reversed ? kBlockCount - 1 - k : k)]);
    if ((k + 1) % 8 == 0) {
      core::WaitSince(t, 2);
      core::Present(&core::Screen.UpdateRect);
      t = Tick();
    }
  }
  core::Present(nullptr);
}

void RandomBlocks(const Brush& brush) {
  core::Random(1);
  std::array<bool, kBlockCount> done{};
  EmptyUpdateRect();
  DWORD t = Tick();
  for (int k = 0; k < kBlockCount; ++k) {
    core::Random(2);
    const int i = core::Random(2) * kBlockColumns / 256;
    const int j = core::Random(2) * kBlockRows / 256;
    int b = j * kBlockColumns + i;
    while (done[static_cast<std::size_t>(b)]) b = (b + 1) % kBlockCount;
    done[static_cast<std::size_t>(b)] = true;
    Block(brush, b);
    if (k % 32 == 0) {
      core::WaitSince(t, 1);
      core::Present(&core::Screen.UpdateRect);
      t = Tick();
    }
  }
  core::Present(nullptr);
}

void Diamonds(const Brush& brush, bool wave) {
  const int steps = wave ? 33 + kCellColumns - 1 : 33;
  for (int u = 0; u < steps; ++u) {
    const DWORD t = Tick();
    for (int q = 0; q < kCellColumns; ++q) {
      const int s = wave ? u - q : u;
      if (s >= 0 && s <= 32) DiamondRing(brush, q, s);
    }
    core::Present(nullptr);
    core::WaitSince(t, 3);
  }
}

void ColumnSweep(const Brush& brush) {
  for (int k = 0; k < 56; ++k) {
    const DWORD t = Tick();
    EmptyUpdateRect();
    for (int j = 0; j < 16; ++j) {
      const int x = 16 * k - 15 * j;
      if (x < 0 || x >= core::kPictureWidth) continue;
      brush.Rect(x, 0, x + 1, core::kPictureHeight);
      core::RectExtend(&core::Screen.UpdateRect, x, 0, x + 1, core::kPictureHeight);
    }
    core::Present(&core::Screen.UpdateRect);
    core::WaitSince(t, 2);
  }
}

void DitherSweep(const Brush& brush) {
  for (int k = 0; k < 56; ++k) {
    const DWORD t = Tick();
    EmptyUpdateRect();
    for (int j = 0; j < 16; ++j) {
      const int x = 16 * (k - j);
      if (x < 0 || x >= core::kPictureWidth) continue;
      const DitherPosition& at = kDitherOrder[static_cast<std::size_t>(j)];
      for (int y = at.row; y < core::kPictureHeight; y += 4)
        brush.EveryFourth(y, x + at.column, x + 16);
      core::RectExtend(&core::Screen.UpdateRect, x, 0, x + 16, core::kPictureHeight);
    }
    core::Present(&core::Screen.UpdateRect);
    core::WaitSince(t, 2);
  }
}

void InterleavedColumns(const Brush& brush) {
  for (int k = 0; k < 16; ++k) {
    const DWORD t = Tick();
    for (int x = k; x < core::kPictureWidth; x += 16) brush.Rect(x, 0, x + 1, core::kPictureHeight);
    core::Present(nullptr);
    core::WaitSince(t, 1);
  }
}

void RandomRows(const Brush& brush) {
  constexpr int kBands = 16;
  constexpr int kBandRows = 25;
  std::array<bool, core::kPictureHeight> done{};
  for (int step = 0; step < kBandRows; ++step) {
    const DWORD t = Tick();
    for (int band = kBands - 1; band >= 0; --band) {
      const int bottom = band * kBandRows + kBandRows - 1;
      int o = core::Random(2) * kBandRows / 256;
      while (done[static_cast<std::size_t>(bottom - o)]) o = (o + 1) % kBandRows;
      done[static_cast<std::size_t>(bottom - o)] = true;
      brush.Span(bottom - o, 0, core::kPictureWidth);
    }
    core::Present(nullptr);
    core::WaitSince(t, 2);
  }
}

void IrisBands(int r, const std::function<void(const IrisBand&)>& band) {
  const auto scaled = [r](std::int32_t v, int limit) { return std::min((v * r) >> 15, limit); };
  int xp = scaled(Sin(0), 320);
  int yp = scaled(Cos(0), 200);
  for (int i = 1; i <= 180; ++i) {
    const int y = scaled(Cos(i), 200);
    const int x = scaled(Sin(i), 320);
    const bool last = i == 180;
    if (y == yp) xp = x;
    if ((y < yp || last) && (xp < x || last)) {
      band(IrisBand{xp, yp, y, last});
      xp = x;
      yp = y;
    }
  }
}

}  // namespace visuals::patterns
