#include "visuals/transition.h"

#include "core/input_state.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "visuals/display_effects.h"
#include "visuals/palette_fades.h"
#include "visuals/transition_motion.h"
#include "visuals/transition_patterns.h"

namespace visuals {
namespace {

constexpr std::uint16_t kInstant = 11;

// Transition 0: the new scene fades in from black.
void FadeInScene() {
  ApplyBlack();
  core::CopyPicture(core::Screen.VmemDIB, core::Screen.VbufDIB);
  core::Present(nullptr);
  core::PumpMessage();
  FadeIn(1);
}

// Transition 11: the new scene at once, in its palette.
void ShowAtOnce() {
  ApplyScreenPalette();
  core::CopyPicture(core::Screen.VmemDIB, core::Screen.VbufDIB);
  core::Present(nullptr);
}

// Transitions 1–8, 10 and 19: the old screen and the new pixels are both seen in the scene
// palette while the pattern copies the composed picture over.
void CopyInPattern(std::uint16_t n) {
  ApplyScreenPalette();
  patterns::LockedScreens screens;
  if (!screens.ok()) return;
  const patterns::Brush copy = screens.Copying();
  switch (n) {
    case 1: return patterns::Blocks(copy, patterns::SpiralOrder(), true);
    case 2: return patterns::RandomBlocks(copy);
    case 3: return patterns::Diamonds(copy, false);
    case 4: return patterns::Diamonds(copy, true);
    case 7: return patterns::ColumnSweep(copy);
    case 8: return patterns::DitherSweep(copy);
    case 10: return patterns::InterleavedColumns(copy);
    case 19: return patterns::RandomRows(copy);
    default: return;
  }
}

}  // namespace

void Transition(std::uint16_t n) {
  if (core::Input.SkipMode == 1) n = kInstant;
  if (core::Settings.Low != 0 || n > 19) n = 0;
  switch (n) {
    case 0: return FadeInScene();
    case kInstant: return ShowAtOnce();
    case 5:
    case 12:
      // The dither dissolve and the blinds are the show styles with the palette step first;
      // skipping and the low-load setting were already turned into 11 and 0 above.
      ApplyScreenPalette();
      return ShowDither();
    case 6: ApplyScreenPalette(); return ShowBlinds();
    case 9: return transitions::UnfoldVertically();
    case 13: return transitions::OpenIris();
    case 14:
    case 15:
    case 16:
    case 17: return transitions::SlideIn(n);
    case 18: return transitions::CrossFadeFourColours();
    default: return CopyInPattern(n);
  }
}

}  // namespace visuals
