#include "text/click_wait.h"

#include <utility>

#include "core/game_phase.h"
#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "text/font.h"
#include "text/text_layer.h"
#include "visuals/palette_fades.h"

namespace text {

void (*OpenInGameMenuHook)() = nullptr;

namespace {

constexpr std::uint32_t kCursorBufferSize = kGlyphCell * kGlyphCell;  // 676
constexpr std::uint16_t kBlinkRound = 3;                              // 30 ms per round
constexpr int kBlinkRounds = 8;                                       // 4 rounds shown, 4 hidden
constexpr int kHideRound = 3;
constexpr int kShowRound = 7;

// Space: the scene without its text, at full brightness, until decide or space.
void ShowPictureWithoutText() {
  std::swap(core::Screen.VmemDIB, core::Screen.VbufDIB);
  core::Present(nullptr);
  visuals::Undim();
  core::WaitClick();
  visuals::Dim();
  std::swap(core::Screen.VmemDIB, core::Screen.VbufDIB);
  core::Present(nullptr);
  core::Input.InputEvents &= static_cast<std::uint16_t>(~core::kInputSpace);
}

}  // namespace

int ClickWait(std::int16_t x, std::int16_t y, std::int16_t cursor, std::uint8_t colour,
              std::uint8_t shadow, bool menu_allowed) {
  if (core::Input.SkipMode != 0) return 0;
  if (core::Settings.Skip != 0 && core::Scenario.SkipAllowed == 1 && cursor != kPageCursorGlyph)
    return 0;

  // Buffer 1 holds the cell as it was, buffer 2 the cell with the cursor: the blink puts
  // them back in turn instead of drawing the glyph again.
  core::MemHandle under = core::MemAlloc(kCursorBufferSize, "cursor buf 1");
  core::MemHandle over = core::MemAlloc(kCursorBufferSize, "cursor buf 2");
  SaveRect(under, core::Screen.VmemDIB, x, y, kGlyphCell, kGlyphCell);
  DrawGlyph(x, y, cursor, colour, shadow);
  core::Present(&core::Screen.UpdateRect);
  SaveRect(over, core::Screen.VmemDIB, x, y, kGlyphCell, kGlyphCell);
  core::ClearInput();

  bool menu_opened = false;
  for (int round = 0; core::Input.SkipMode == 0; round = (round + 1) % kBlinkRounds) {
    core::Wait(kBlinkRound);
    if (round == kHideRound || round == kShowRound) {
      RestoreRect(core::Screen.VmemDIB, round == kHideRound ? under : over, x, y, kGlyphCell,
                  kGlyphCell);
      core::Present(&core::Screen.UpdateRect);
    }
    if (core::Input.InputEvents & core::kInputDecide) break;
    if (core::Input.InputEvents & core::kInputCancel) {
      if (menu_allowed && core::Phase.GamePhase == core::kPhasePlaying &&
          OpenInGameMenuHook != nullptr) {
        OpenInGameMenuHook();
        menu_opened = true;
      }
      break;
    }
    if (core::Input.InputEvents & core::kInputSpace) ShowPictureWithoutText();
  }

  if (!menu_opened) {
    RestoreRect(core::Screen.VmemDIB, under, x, y, kGlyphCell, kGlyphCell);
    core::Present(&core::Screen.UpdateRect);
  }
  core::MemFree(over);
  core::MemFree(under);
  core::ClearInput();
  return menu_opened ? 1 : 0;
}

}  // namespace text
