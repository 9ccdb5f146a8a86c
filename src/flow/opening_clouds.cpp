// The cloud passes: the cloud layer scrolls over "OP2_MN_W.VGR", mixed into its pixels by
// bits, while the palette fades in, holds and fades out. The final pass fades in only and
// hands over, without a visible jump, to the title scene.
#include <cstdint>

#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/palette_state.h"
#include "core/picture.h"
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
  PALETTEENTRY* p = visuals::ScreenPalette;
  for (int i = 4; i < 16; ++i) {
    if (i % 4 == 0) continue;
    const PALETTEENTRY& cloud = p[i / 4];
    const PALETTEENTRY& picture = p[i & ~3];
    p[i].peRed = static_cast<BYTE>((cloud.peRed + picture.peRed) / 2);
    p[i].peGreen = static_cast<BYTE>((cloud.peGreen + picture.peGreen) / 2);
    p[i].peBlue = static_cast<BYTE>((cloud.peBlue + picture.peBlue) / 2);
  }
  for (int i = 16; i < 32; ++i) visuals::ShownPalette[i] = PALETTEENTRY{0, 0, 0, PC_RESERVED};
}

// Rewrites every pixel of a screen picture's storage.
template <class Fn>
void ForEachPixel(resources::MemHandle picture, Fn fn) {
  std::uint8_t* pixels = visuals::LockPicture(picture);
  if (pixels == nullptr) return;
  pixels += visuals::kPixelOffset;
  for (std::uint32_t i = 0; i < visuals::kPixelBytes; ++i) pixels[i] = fn(pixels[i]);
  resources::MemUnlock(picture);
}

// The end of the final pass: the last cloud frame is on screen through entries 0 … 15.
// The title scene is shown through entries 16 … 31 in its own colours while 0 … 15 still
// show the clouds' colours, then moved back to 0 … 15, so the switch shows nothing.
void HandOverToTitle() {
  visuals::ClearPicture(visuals::VbufDIB);
  visuals::DrawPictureFile(visuals::VbufDIB, "OP2_BACK.VGR", 0, 0);
  ForEachPixel(visuals::VmemDIB, [](std::uint8_t v) { return v & kMaskBit ? kMasked : v; });
  shell::Present(nullptr);
  ForEachPixel(visuals::VbufDIB,
               [](std::uint8_t v) { return static_cast<std::uint8_t>(v | kMaskBit); });
  for (int i = 0; i < 16; ++i) {
    visuals::ShownPalette[16 + i] = visuals::ScreenPalette[i];
    visuals::ShownPalette[16 + i].peFlags = PC_RESERVED;
    visuals::ScreenPalette[i] = visuals::ShownPalette[i];
    visuals::ScreenPalette[i].peFlags = PC_RESERVED;
  }
  visuals::ApplyScreenPalette();
  visuals::ShowComposed();
  for (int i = 0; i < 16; ++i) visuals::ScreenPalette[i] = visuals::ShownPalette[16 + i];
  visuals::ApplyScreenPalette();
  ForEachPixel(visuals::VbufDIB,
               [](std::uint8_t v) { return static_cast<std::uint8_t>(v & ~kMaskBit); });
  visuals::ShowComposed();

  visuals::DrawPictureFile(visuals::VbufDIB, "TITLE.VGR", 0, 0);
  visuals::DrawPictureFile(visuals::VbufDIB, "TITLE2.VGR", 0, 0);
  visuals::ShowAreaDither(2);
  shell::WaitClick();
  visuals::DrawPictureFile(visuals::VbufDIB, "TITLE2_.VGR", 0, 0);
  visuals::ShowAreaDither(2);
  visuals::Dim();
}

}  // namespace

int OpeningClouds(bool final_pass) {
  const std::uint16_t step = OpeningFrameStep();
  const std::int16_t full = static_cast<std::int16_t>(visuals::FadeSteps);
  visuals::ClearPictureAndShow(visuals::VmemDIB);
  visuals::DrawPictureFile(visuals::VmemDIB, "OP2_MN_W.VGR", 0, 0);
  MixCloudColours();
  ForEachPixel(visuals::VmemDIB, [](std::uint8_t v) { return v == 15 ? kMasked : v; });

  resources::MemHandle cloud = LoadOpeningLayer("OP2_KM_W.SDT", "OP2 KUMO", kCloudLayerSize);
  visuals::CopyPicture(visuals::VbufDIB, visuals::VmemDIB);
  const auto* clouds = static_cast<const std::uint8_t*>(resources::MemLock(cloud));
  std::uint8_t* shown = visuals::LockPicture(visuals::VmemDIB) + visuals::kPixelOffset;
  std::uint8_t* kept = visuals::LockPicture(visuals::VbufDIB) + visuals::kPixelOffset;
  std::uint8_t* target = shown;
  std::int16_t level = 0;
  int fade_phase = 0;
  int cut = 0;
  for (int x = 0; x <= kCloudEnd; x += step) {
    const std::uint32_t t = GetTickCount();
    ComposeClouds(target, clouds, x);
    if (cut) break;
    if (shell::WaitInputSince(t, step)) {
      // The reader cut it short: one last composition, of the pass's last frame, into the
      // kept picture, which the final pass dissolves onto the screen.
      cut = 1;
      target = kept;
      x = kCloudEnd - step;
      continue;
    }
    shell::Present(nullptr);
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
  resources::MemUnlock(visuals::VbufDIB);
  resources::MemUnlock(visuals::VmemDIB);
  resources::MemRelease(&cloud);

  if (!final_pass) {
    while (level > 0) {
      visuals::SetPaletteLevel(--level, 0);
      shell::Wait(1);
    }
    visuals::ClearPictureAndShow(visuals::VmemDIB);
    return cut;
  }
  if (cut) {
    for (; level < full; ++level) {
      visuals::SetPaletteLevel(level, 0);
      shell::Wait(1);
    }
    visuals::ShowDither();
  }
  HandOverToTitle();
  return 0;
}

}  // namespace flow
