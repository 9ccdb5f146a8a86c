#include "visuals/display_effects.h"

#include <cstring>

#include "core/input_state.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "visuals/dither_order.h"
#include "visuals/screen_show.h"

namespace visuals {
namespace {

constexpr int kAreaX[3] = {0, 320, 160};
constexpr int kAreaWidth = 320;

// Skipping and the low-load setting show every style as a plain copy.
bool PlainShows() { return core::Input.SkipMode != 0 || core::Settings.Low != 0; }

int AreaX(std::uint8_t area) { return kAreaX[area < 3 ? area : 0]; }

// Copies pixels x0 … x1 − 1 of screen row y from the composed picture onto the shown one.
void CopyRow(std::uint8_t* shown, const std::uint8_t* composed, int y, int x0, int x1) {
  std::memcpy(core::PixelAt(shown, x0, y),
              core::PixelAt(const_cast<std::uint8_t*>(composed), x0, y),
              static_cast<std::size_t>(x1 - x0));
}

// Both pictures locked for the span of one show; nothing happens when either is missing.
class PicturePair {
 public:
  PicturePair()
      : shown_(core::LockPicture(core::Screen.VmemDIB)),
        composed_(core::LockPicture(core::Screen.VbufDIB)) {}
  ~PicturePair() {
    if (shown_ != nullptr) core::MemUnlock(core::Screen.VmemDIB);
    if (composed_ != nullptr) core::MemUnlock(core::Screen.VbufDIB);
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
  for (int i = 0; i < core::kPictureHeight / 2; ++i) {
    const DWORD t = GetTickCount();
    for (const int y : {2 * i, core::kPictureHeight - 1 - 2 * i}) {
      CopyRow(p.shown(), p.composed(), y, x0, x1);
      core::RectSet(&core::Screen.UpdateRect, x0, y, x1, y + 1);
      core::Present(&core::Screen.UpdateRect);
    }
    core::WaitSince(t, 1);
  }
}

void Dither(int x0, int x1, bool whole) {
  PicturePair p;
  if (!p.ok()) return;
  for (const DitherPosition& at : kDitherOrder) {
    const DWORD t = GetTickCount();
    for (int y = at.row; y < core::kPictureHeight; y += 4) {
      std::uint8_t* shown = core::PixelAt(p.shown(), 0, y);
      const std::uint8_t* composed = core::PixelAt(const_cast<std::uint8_t*>(p.composed()), 0, y);
      for (int x = x0 + at.column; x < x1; x += 4) shown[x] = composed[x];
    }
    if (whole) {
      core::Present(nullptr);
    } else {
      core::RectSet(&core::Screen.UpdateRect, x0, 0, x1, core::kPictureHeight);
      core::Present(&core::Screen.UpdateRect);
    }
    core::WaitSince(t, 3);
  }
}

void Blinds(int x0, int x1) {
  PicturePair p;
  if (!p.ok()) return;
  for (int k = 0; k <= core::kPictureWidth; k += 16) {
    const DWORD t = GetTickCount();
    core::Screen.UpdateRect = core::kEmptyUpdateRect;
    for (int j = 0; j < 16; ++j) {
      const int y = k - 17 * j;
      if (y < 0 || y >= core::kPictureHeight) continue;
      CopyRow(p.shown(), p.composed(), y, x0, x1);
      core::RectExtend(&core::Screen.UpdateRect, x0, y, x1, y + 1);
    }
    core::Present(&core::Screen.UpdateRect);
    core::WaitSince(t, 2);
  }
}

}  // namespace

void ShowArea(std::uint8_t area) {
  const int x = AreaX(area);
  {
    PicturePair p;
    if (!p.ok()) return;
    for (int y = 0; y < core::kPictureHeight; ++y)
      CopyRow(p.shown(), p.composed(), y, x, x + kAreaWidth);
  }
  core::RectSet(&core::Screen.UpdateRect, x, 0, x + kAreaWidth, core::kPictureHeight);
  core::Present(&core::Screen.UpdateRect);
}

void ShowInterlaced() {
  if (PlainShows()) return ShowComposed();
  Interlaced(0, core::kPictureWidth);
}

void ShowAreaInterlaced(std::uint8_t area) {
  if (PlainShows()) return ShowArea(area);
  Interlaced(AreaX(area), AreaX(area) + kAreaWidth);
}

void ShowDither() {
  if (PlainShows()) return ShowComposed();
  Dither(0, core::kPictureWidth, true);
}

void ShowAreaDither(std::uint8_t area) {
  if (PlainShows()) return ShowArea(area);
  Dither(AreaX(area), AreaX(area) + kAreaWidth, false);
}

void ShowBlinds() {
  if (PlainShows()) return ShowComposed();
  Blinds(0, core::kPictureWidth);
}

void ShowAreaBlinds(std::uint8_t area) {
  if (PlainShows()) return ShowArea(area);
  Blinds(AreaX(area), AreaX(area) + kAreaWidth);
}

}  // namespace visuals
