#include "visuals/transition.h"

#include "shell/message_pump.h"
#include "shell/shell_state.h"
#include "visuals/palette_fades.h"
#include "visuals/palette_state.h"
#include "visuals/picture.h"

namespace visuals {
namespace {

constexpr std::uint16_t kInstant = 11;

// Transition 0: the new scene fades in from black.
void FadeInScene() {
  ApplyBlack();
  CopyPicture(VmemDIB, VbufDIB);
  shell::Present(nullptr);
  shell::PumpMessage();
  FadeIn(1);
}

// Transition 11: the new scene at once, in its palette.
void ShowAtOnce() {
  ApplyScreenPalette();
  CopyPicture(VmemDIB, VbufDIB);
  shell::Present(nullptr);
}

}  // namespace

void Transition(std::uint16_t n) {
  if (shell::SkipMode == 1) n = kInstant;
  if (shell::Low != 0 || n > 19) n = 0;
  if (n == kInstant) {
    ShowAtOnce();
    return;
  }
  // placeholder for transitions 1–10 and 12–19; waits for the screen transitions, and until
  // then they run as transition 0 (what the low-load setting makes of them)
  FadeInScene();
}

}  // namespace visuals
