#include "visuals/display_effects.h"

#include <cstring>

#include "core/message_pump.h"
#include "core/palette_state.h"
#include "core/picture.h"
#include "core/shell_state.h"
#include "visuals/dither_order.h"
#include "visuals/screen_show.h"

namespace visuals {
namespace {

constexpr int kAreaX[3] = {0, 320, 160};
constexpr int kAreaWidth = 320;

// Skipping and the low-load setting show every style as a plain copy.
bool PlainShows() { return shell::SkipMode != 0 || shell::Low != 0; }

int AreaX(std::uint8_t area) { return kAreaX[area < 3 ? area : 0]; }

// Copies pixels x0 … x1 − 1 of screen row y from the composed picture onto the shown one.
void CopyRow(std::uint8_t* shown, const std::uint8_t* composed, int y, int x0, int x1) {
  std::memcpy(PixelAt(shown, x0, y), PixelAt(const_cast<std::uint8_t*>(composed), x0, y),
              static_cast<std::size_t>(x1 - x0));
}

// Both pictures locked for the span of one show; nothing happens when either is missing.
class PicturePair {
 public:
  PicturePair() : shown_(LockPicture(VmemDIB)), composed_(LockPicture(VbufDIB)) {}
  ~PicturePair() {
    if (shown_ != nullptr) resources::MemUnlock(VmemDIB);
    if (composed_ != nullptr) resources::MemUnlock(VbufDIB);
  }
  PicturePair(const PicturePair&) = delete;
  PicturePair& operator=(const PicturePair&) = delete;
  bool ok() const { return shown_ != nullptr && composed_ != nullptr; }
  std::uint8_t* shown() const { return shown_; }
  const std::uint8_t* composed() const { return composed_; }

 private:
  std::uint8_t* shown_;
  std::uint8_t* composed_;
};

void Interlaced(int x0, int x1) {
  PicturePair p;
  if (!p.ok()) return;
  for (int i = 0; i < kPictureHeight / 2; ++i) {
    const DWORD t = GetTickCount();
    for (const int y : {2 * i, kPictureHeight - 1 - 2 * i}) {
      CopyRow(p.shown(), p.composed(), y, x0, x1);
      RectSet(&UpdateRect, x0, y, x1, y + 1);
      shell::Present(&UpdateRect);
    }
    shell::WaitSince(t, 1);
  }
}

void Dither(int x0, int x1, bool whole) {
  PicturePair p;
  if (!p.ok()) return;
  for (const DitherPosition& at : kDitherOrder) {
    const DWORD t = GetTickCount();
    for (int y = at.row; y < kPictureHeight; y += 4) {
      std::uint8_t* shown = PixelAt(p.shown(), 0, y);
      const std::uint8_t* composed = PixelAt(const_cast<std::uint8_t*>(p.composed()), 0, y);
      for (int x = x0 + at.column; x < x1; x += 4) shown[x] = composed[x];
    }
    if (whole) {
      shell::Present(nullptr);
    } else {
      RectSet(&UpdateRect, x0, 0, x1, kPictureHeight);
      shell::Present(&UpdateRect);
    }
    shell::WaitSince(t, 3);
  }
}

void Blinds(int x0, int x1) {
  PicturePair p;
  if (!p.ok()) return;
  for (int k = 0; k <= kPictureWidth; k += 16) {
    const DWORD t = GetTickCount();
    UpdateRect = kEmptyUpdateRect;
    for (int j = 0; j < 16; ++j) {
      const int y = k - 17 * j;
      if (y < 0 || y >= kPictureHeight) continue;
      CopyRow(p.shown(), p.composed(), y, x0, x1);
      RectExtend(&UpdateRect, x0, y, x1, y + 1);
    }
    shell::Present(&UpdateRect);
    shell::WaitSince(t, 2);
  }
}

}  // namespace

void ShowArea(std::uint8_t area) {
  const int x = AreaX(area);
  {
    PicturePair p;
    if (!p.ok()) return;
    for (int y = 0; y < kPictureHeight; ++y) CopyRow(p.shown(), p.composed(), y, x, x + kAreaWidth);
  }
  RectSet(&UpdateRect, x, 0, x + kAreaWidth, kPictureHeight);
  shell::Present(&UpdateRect);
}

void ShowInterlaced() {
  if (PlainShows()) return ShowComposed();
  Interlaced(0, kPictureWidth);
}

void ShowAreaInterlaced(std::uint8_t area) {
  if (PlainShows()) return ShowArea(area);
  Interlaced(AreaX(area), AreaX(area) + kAreaWidth);
}

void ShowDither() {
  if (PlainShows()) return ShowComposed();
  Dither(0, kPictureWidth, true);
}

void ShowAreaDither(std::uint8_t area) {
  if (PlainShows()) return ShowArea(area);
  Dither(AreaX(area), AreaX(area) + kAreaWidth, false);
}

void ShowBlinds() {
  if (PlainShows()) return ShowComposed();
  Blinds(0, kPictureWidth);
}

void ShowAreaBlinds(std::uint8_t area) {
  if (PlainShows()) return ShowArea(area);
  Blinds(AreaX(area), AreaX(area) + kAreaWidth);
}

}  // namespace visuals
