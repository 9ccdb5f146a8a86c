#include "visuals/effect_frames.h"

#include <string>

#include "core/format_text.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "visuals/background.h"
#include "visuals/palette_fades.h"
#include "visuals/picture_files.h"
#include "visuals/screen_show.h"

namespace visuals {
namespace {

constexpr std::uint16_t kFrameTime = 2;   // 20 ms
constexpr std::uint16_t kFlashTime = 3;   // 30 ms
constexpr std::uint16_t kHold = 60;       // 600 ms
constexpr std::uint8_t kEmptyScene = 0;   // background 0: no picture, black
constexpr std::uint8_t kBloodScene = 40;  // three colours, all dark red
constexpr std::uint8_t kFlashColour = 1;

// One frame: decoded over the shown picture, its palette applied and the picture presented
// together. On a palette display the palette changes the screen the moment it is applied,
// so the repaint follows at once rather than after the frame's wait: otherwise the frame
// before would stand for 20 ms in this frame's colours.
void ShowEffectFrame(const std::string& name) {
  const DWORD start = GetTickCount();
  DrawPictureFile(core::Screen.VmemDIB, name.c_str(), 0, 0);
  ApplyScreenPalette();
  core::Present(nullptr);
  core::WaitSince(start, kFrameTime);
}

}  // namespace

void BeginEffectFrames() {
  ShowComposed();
  FadeOutDim(3);
  ForgetBackground();
  ClearPictureAndShow(core::Screen.VmemDIB);
}

void ShowEffectFrames(const char* name, int first, int last) {
  for (int n = first; n <= last; ++n) ShowEffectFrame(core::FormatString(name, n));
}

void EndOnEmptyScene() {
  ShowBackground(kEmptyScene);
  ClearPictureAndShow(core::Screen.VmemDIB);
  SetPaletteLevel15(static_cast<std::int16_t>(core::Screen.FadeSteps), 0);
}

void BloodEffect() {
  BeginEffectFrames();
  ShowEffectFrames(kBloodFrameName, 0, 3);
  // The red scene comes on in the last frame's colours; the dim takes it to its own.
  const DWORD start = GetTickCount();
  ShowBackground(kBloodScene);
  ShowComposed();
  core::WaitSince(start, kHold);
  Dim();
}

void ClawEffect2() {
  BeginEffectFrames();
  ShowEffectFrames(kClawFrameName, 5, 11);
  const DWORD start = GetTickCount();
  core::FillPictureRect(core::Screen.VmemDIB, 0, 0, core::kPictureWidth - 1,
                        core::kPictureHeight - 1, kFlashColour);
  core::WaitSince(start, kFlashTime);
  core::Present(nullptr);
  core::Wait(kHold);
  FadeOut(3);
  EndOnEmptyScene();
}

}  // namespace visuals
