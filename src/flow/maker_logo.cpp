#include "flow/maker_logo.h"

#include <cstring>

#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "sound/cd_audio.h"
#include "visuals/palette_fades.h"
#include "visuals/picture_files.h"

namespace flow {

const std::int8_t LogoColourTable[5][3] = {
    {0, 0, -16}, {-16, 0, 16}, {16, -16, 0}, {0, 0, -16}, {-16, 0, 16}};

namespace {

constexpr std::uint8_t kLogoMusic = 0;
constexpr int kColourFrames = 80;
constexpr int kGreyFrame = 50;  // entry 14 turns light grey here
constexpr std::uint8_t kFirstCycledEntry = 5;
constexpr std::uint8_t kLastCycledEntry = 13;
constexpr int kBarFrames = 20;
constexpr int kBarStep = 6;  // rows a bar front moves in a frame
constexpr int kBarCount = 6;
constexpr int kBarGap = 5;  // rows between two bars' fronts

void SetColour(PALETTEENTRY* entry, BYTE r, BYTE g, BYTE b) {
  entry->peRed = r;
  entry->peGreen = g;
  entry->peBlue = b;
}

std::int16_t HalfRoundedDown(int d) {
  return static_cast<std::int16_t>(d >= 0 ? d / 2 : -((1 - d) / 2));
}

// The colours cycle in a wave: entry e runs 2 frames behind entry e + 1 and changes on
// every other frame.
void CycleColours() {
  for (int f = 0; f < kColourFrames; ++f) {
    const std::uint32_t start = GetTickCount();
    if (f == kGreyFrame) SetColour(&core::Screen.ScreenPalette[14], 208, 208, 208);
    for (int e = kFirstCycledEntry; e <= kLastCycledEntry; ++e) {
      const int d = f + e - 20;
      // Halved rounding down: d = −1 keeps the entry white, so each tint is added five
      // times and the colours pass through their five stages in steps of 16.
      if (d % 2 != 0) LogoColourStep(&core::Screen.ScreenPalette[e], HalfRoundedDown(d));
    }
    visuals::ApplyScreenPalette();
    core::WaitSince(start, 5);
  }
}

// Six black bars close in from the top and the bottom edge towards the middle.
void CloseWithBars() {
  for (int frame = 0; frame < kBarFrames; ++frame) {
    const std::uint32_t start = GetTickCount();
    const int b = frame * kBarStep;
    for (int j = 0; j < kBarCount; ++j) {
      const int y = b - kBarGap * j;
      if (y < 0) continue;
      const auto top = static_cast<std::int16_t>(y);
      const auto bottom = static_cast<std::int16_t>(core::kPictureHeight - 1 - y);
      core::FillPictureRect(core::Screen.VmemDIB, 0, top, core::kPictureWidth - 1, top, 0);
      core::FillPictureRect(core::Screen.VmemDIB, 0, bottom, core::kPictureWidth - 1, bottom, 0);
    }
    core::Present(nullptr);
    core::WaitSince(start, 1);
  }
}

}  // namespace

void LogoColourStep(PALETTEENTRY* entry, std::int16_t k) {
  if (k < 0) {
    SetColour(entry, 255, 255, 255);
    return;
  }
  const int q = k / 5;
  if (q >= 5) return;
  entry->peRed = static_cast<BYTE>(entry->peRed + LogoColourTable[q][0]);
  entry->peGreen = static_cast<BYTE>(entry->peGreen + LogoColourTable[q][1]);
  entry->peBlue = static_cast<BYTE>(entry->peBlue + LogoColourTable[q][2]);
}

void MakerLogo() {
  visuals::ApplyBlack();
  core::FillPictureRect(core::Screen.VmemDIB, 0, 0, core::kPictureWidth - 1,
                        core::kPictureHeight - 1, 15);
  visuals::DrawPictureFile(core::Screen.VmemDIB, "VELA.VGR", 0, 0);
  core::Present(nullptr);

  // The logo's own colours wait while the screen turns from black to white.
  PALETTEENTRY logo[16];
  std::memcpy(logo, core::Screen.ScreenPalette, sizeof logo);
  for (PALETTEENTRY& entry : core::Screen.ScreenPalette) SetColour(&entry, 0, 0, 0);
  sound::CdPlay(kLogoMusic);
  visuals::FadeToWhite(2);
  core::Wait(30);

  // Colours 0 … 4 of the logo come out of the white; 5 … 15 stay white until they cycle.
  std::memcpy(core::Screen.ScreenPalette, logo, sizeof logo);
  for (int e = 5; e < 16; ++e) SetColour(&core::Screen.ScreenPalette[e], 255, 255, 255);
  visuals::FadeFromWhite(2);

  CycleColours();
  CloseWithBars();
  core::Wait(90);
  visuals::FadeOut(2);
}

}  // namespace flow
