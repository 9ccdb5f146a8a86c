// The cloud passes: the cloud layer scrolls over "OP2_MN_W.VGR", mixed into its pixels by
// bits, while the palette fades in, holds and fades out. The final pass fades in only and
// hands over, without a visible jump, to the title scene.
#include <cstdint>

#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "flow/opening_parts.h"
#include "platform/win32.h"
#include "visuals/display_effects.h"
#include "visuals/palette_fades.h"
#include "visuals/picture_files.h"
#include "visuals/screen_show.h"

namespace flow {
namespace {

// Pixels of this value are masked out of the clouds; window entries 16 … 31 are black
// while the clouds run, so they stay black.
constexpr std::uint8_t kMasked = 16;
constexpr std::uint8_t kMaskBit = 0x10;
constexpr int kHoldFrames = 16;
constexpr int kCloudEnd = 640;  // the last composition reads cloud columns 640 … 1279

// Entries 4 … 15 that are not multiples of 4 show a cloud over picture colour i & 12: the
// average of that colour and entry i / 4.
void MixCloudColours() {
  PALETTEENTRY* p = core::Screen.ScreenPalette;
  for (int i = 4; i < 16; ++i) {
    if (i % 4 == 0) continue;
    const PALETTEENTRY& cloud = p[i / 4];
    const PALETTEENTRY& picture = p[i & ~3];
    p[i].peRed = static_cast<BYTE>((cloud.peRed + picture.peRed) / 2);
    p[i].peGreen = static_cast<BYTE>((cloud.peGreen + picture.peGreen) / 2);
    p[i].peBlue = static_cast<BYTE>((cloud.peBlue + picture.peBlue) / 2);
  }
  for (int i = 16; i < 32; ++i) core::Screen.ShownPalette[i] = PALETTEENTRY{0, 0, 0, PC_RESERVED};
}

// Rewrites every pixel of a screen picture's storage.
template <class Fn>
void ForEachPixel(core::MemHandle picture, Fn fn) {
  std::uint8_t* pixels = core::LockPicture(picture);
  if (pixels == nullptr) return;
  pixels += core::kPixelOffset;
  for (std::uint32_t i = 0; i < core::kPixelBytes; ++i) pixels[i] = fn(pixels[i]);
  core::MemUnlock(picture);
}

// The end of the final pass: the last cloud frame is on screen through entries 0 … 15.
// The title scene is shown through entries 16 … 31 in its own colours while 0 … 15 still
// show the clouds' colours, then moved back to 0 … 15, so the switch shows nothing.
void HandOverToTitle() {
  core::ClearPicture(core::Screen.VbufDIB);
  visuals::DrawPictureFile(core::Screen.VbufDIB, "OP2_BACK.VGR", 0, 0);
  ForEachPixel(core::Screen.VmemDIB, [](std::uint8_t v) { return v & kMaskBit ? kMasked : v; });
  core::Present(nullptr);
  ForEachPixel(core::Screen.VbufDIB,
               [](std::uint8_t v) { return static_cast<std::uint8_t>(v | kMaskBit); });
  for (int i = 0; i < 16; ++i) {
    core::Screen.ShownPalette[16 + i] = core::Screen.ScreenPalette[i];
    core::Screen.ShownPalette[16 + i].peFlags = PC_RESERVED;
    core::Screen.ScreenPalette[i] = core::Screen.ShownPalette[i];
    core::Screen.ScreenPalette[i].peFlags = PC_RESERVED;
  }
  visuals::ApplyScreenPalette();
  visuals::ShowComposed();
  for (int i = 0; i < 16; ++i) core::Screen.ScreenPalette[i] = core::Screen.ShownPalette[16 + i];
  visuals::ApplyScreenPalette();
  ForEachPixel(core::Screen.VbufDIB,
               [](std::uint8_t v) { return static_cast<std::uint8_t>(v & ~kMaskBit); });
  visuals::ShowComposed();

  visuals::DrawPictureFile(core::Screen.VbufDIB, "TITLE.VGR", 0, 0);
  visuals::DrawPictureFile(core::Screen.VbufDIB, "TITLE2.VGR", 0, 0);
  visuals::ShowAreaDither(2);
  core::WaitClick();
  visuals::DrawPictureFile(core::Screen.VbufDIB, "TITLE2_.VGR", 0, 0);
  visuals::ShowAreaDither(2);
  visuals::Dim();
}

}  // namespace

int OpeningClouds(bool final_pass) {
  const std::uint16_t step = OpeningFrameStep();
  const std::int16_t full = static_cast<std::int16_t>(core::Screen.FadeSteps);
  visuals::ClearPictureAndShow(core::Screen.VmemDIB);
  visuals::DrawPictureFile(core::Screen.VmemDIB, "OP2_MN_W.VGR", 0, 0);
  MixCloudColours();
  ForEachPixel(core::Screen.VmemDIB, [](std::uint8_t v) { return v == 15 ? kMasked : v; });

  core::MemHandle cloud = LoadOpeningLayer("OP2_KM_W.SDT", "OP2 KUMO", kCloudLayerSize);
  core::CopyPicture(core::Screen.VbufDIB, core::Screen.VmemDIB);
  const auto* clouds = static_cast<const std::uint8_t*>(core::MemLock(cloud));
  std::uint8_t* shown = core::LockPicture(core::Screen.VmemDIB) + core::kPixelOffset;
  std::uint8_t* kept = core::LockPicture(core::Screen.VbufDIB) + core::kPixelOffset;
  std::uint8_t* target = shown;
  std::int16_t level = 0;
  int fade_phase = 0;
  int cut = 0;
  for (int x = 0; x <= kCloudEnd; x += step) {
    const std::uint32_t t = GetTickCount();
    ComposeClouds(target, clouds, x);
    if (cut) break;
    if (core::WaitInputSince(t, step)) {
      // The reader cut it short: one last composition, of the pass's last frame, into the
      // kept picture, which the final pass dissolves onto the screen.
      cut = 1;
      target = kept;
      x = kCloudEnd - step;
      continue;
    }
    core::Present(nullptr);
    if (final_pass) {
      if (level < full) visuals::SetPaletteLevel(level++, 0);
      continue;
    }
    if (fade_phase == 0) {
      if (level < full) {
        visuals::SetPaletteLevel(level++, 0);
      } else {
        fade_phase = 1;
      }
    } else if (fade_phase < kHoldFrames) {
      ++fade_phase;
    } else if (level > 0) {
      visuals::SetPaletteLevel(level--, 0);
    } else {
      break;
    }
  }
  core::MemUnlock(core::Screen.VbufDIB);
  core::MemUnlock(core::Screen.VmemDIB);
  core::MemRelease(&cloud);

  if (!final_pass) {
    while (level > 0) {
      visuals::SetPaletteLevel(--level, 0);
      core::Wait(1);
    }
    visuals::ClearPictureAndShow(core::Screen.VmemDIB);
    return cut;
  }
  if (cut) {
    for (; level < full; ++level) {
      visuals::SetPaletteLevel(level, 0);
      core::Wait(1);
    }
    visuals::ShowDither();
  }
  HandOverToTitle();
  return 0;
}

}  // namespace flow
