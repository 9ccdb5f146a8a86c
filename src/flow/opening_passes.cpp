// The two passes between the cloud passes: a sliding layer and an overlay layer, each pass
// in colours of its own, faded in and out by palette level.
#include <cstdint>

#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "flow/opening_parts.h"
#include "platform/win32.h"
#include "visuals/palette_fades.h"
#include "visuals/screen_show.h"

namespace flow {
namespace {

// 4-bit channels, shown as v × 17. Entries 1–3 are the sliding layer's colours, entries
// 4, 8, 12 the overlay's; where both have ink, pass 1 shows the sliding layer and pass 2
// the overlay.
using PassPalette = std::uint8_t[16][3];
constexpr PassPalette kPass1Palette = {
    {0, 0, 0}, {0, 8, 8}, {2, 5, 5}, {0, 0, 0}, {9, 2, 2}, {0, 8, 8}, {2, 5, 5}, {0, 0, 0},
    {7, 0, 0}, {0, 8, 8}, {2, 5, 5}, {0, 0, 0}, {0, 0, 0}, {0, 8, 8}, {2, 5, 5}, {0, 0, 0}};
constexpr PassPalette kPass2Palette = {
    {0, 0, 0}, {10, 2, 0}, {8, 0, 0}, {0, 0, 0}, {5, 4, 11}, {5, 4, 11}, {5, 4, 11}, {5, 4, 11},
    {3, 2, 9}, {3, 2, 9},  {3, 2, 9}, {3, 2, 9}, {0, 0, 0},  {0, 0, 0},  {0, 0, 0},  {0, 0, 0}};

struct PassPlan {
  const PassPalette& palette;
  // The two layers in the order they are unpacked.
  const char* first_file;
  const char* first_block;
  const char* second_file;
  const char* second_block;
  bool slide_first;  // whether the first one is the sliding layer
  int slide_side;
  int overlay_column;
};

constexpr PassPlan kPasses[2] = {
    {kPass1Palette, "OP1W.SDT", "OP1A BUF", "OP2W.SDT", "OP1B BUF", true, 0, 0},
    {kPass2Palette, "OP3W.SDT", "OP1C BUF", "OP4W.SDT", "OP1D BUF", false, 1, 192},
};

constexpr int kPassLength = 160;  // u runs 0 … 159
constexpr int kFadeInUntil = 64;  // the palette rises a level every 4 units below this
constexpr int kFadeOutFrom = 96;  // and falls a level every 4 units from this on
constexpr int kSlideStart = 176;  // the sliding layer's columns shown at u = 0

void SetPassPalette(const PassPalette& palette) {
  for (int i = 0; i < 16; ++i) {
    core::Screen.ScreenPalette[i] =
        PALETTEENTRY{static_cast<BYTE>(palette[i][0] * 17), static_cast<BYTE>(palette[i][1] * 17),
                     static_cast<BYTE>(palette[i][2] * 17), PC_RESERVED};
  }
}

void ShowLevel(int k) {
  visuals::SetPaletteLevel(static_cast<std::int16_t>(core::Screen.FadeSteps * k / 15), 0);
}

}  // namespace

int OpeningPass(int pass) {
  const PassPlan& plan = kPasses[pass - 1];
  core::MemHandle first = LoadOpeningLayer(plan.first_file, plan.first_block,
                                           plan.slide_first ? kSlideLayerSize : kOverlayLayerSize);
  core::MemHandle second = LoadOpeningLayer(plan.second_file, plan.second_block,
                                            plan.slide_first ? kOverlayLayerSize : kSlideLayerSize);
  const core::MemHandle slide = plan.slide_first ? first : second;
  const core::MemHandle overlay = plan.slide_first ? second : first;
  SetPassPalette(plan.palette);

  visuals::ClearPictureAndShow(core::Screen.VmemDIB);
  const auto* slide_pixels = static_cast<const std::uint8_t*>(core::MemLock(slide));
  const auto* overlay_pixels = static_cast<const std::uint8_t*>(core::MemLock(overlay));
  std::uint8_t* screen = core::LockPicture(core::Screen.VmemDIB) + core::kPixelOffset;
  const std::uint16_t step = OpeningFrameStep();
  int cut = 0;
  int k = 0;
  for (int u = 0; u < kPassLength; u += step) {
    const std::uint32_t t = GetTickCount();
    if (u % 4 == 0) {
      if (u < kFadeInUntil && k < 15) ShowLevel(++k);
      if (u >= kFadeOutFrom && k > 0) ShowLevel(--k);
    }
    SlideLayer(screen, slide_pixels, plan.slide_side, u + kSlideStart);
    OverlayLayer(screen + plan.overlay_column, overlay_pixels, u);
    if (core::WaitInputSince(t, step)) {
      cut = 1;
      break;
    }
    core::Present(nullptr);
  }
  core::MemUnlock(core::Screen.VmemDIB);
  core::MemUnlock(overlay);
  core::MemUnlock(slide);

  core::Screen.PaletteState = visuals::kPaletteNormal;
  for (; k >= 0; --k) {
    ShowLevel(k);
    core::Wait(2);
  }
  visuals::ApplyBlack();
  visuals::ClearPictureAndShow(core::Screen.VmemDIB);
  core::MemRelease(&first);
  core::MemRelease(&second);
  return cut;
}

}  // namespace flow
