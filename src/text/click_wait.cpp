#include "text/click_wait.h"

#include <utility>

#include "core/game_phase.h"
#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/palette_state.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/shell_state.h"
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
  std::swap(visuals::VmemDIB, visuals::VbufDIB);
  shell::Present(nullptr);
  visuals::Undim();
  shell::WaitClick();
  visuals::Dim();
  std::swap(visuals::VmemDIB, visuals::VbufDIB);
  shell::Present(nullptr);
  shell::InputEvents &= static_cast<std::uint16_t>(~shell::kInputSpace);
}

}  // namespace

int ClickWait(std::int16_t x, std::int16_t y, std::int16_t cursor, std::uint8_t colour,
              std::uint8_t shadow, bool menu_allowed) {
  if (shell::SkipMode != 0) return 0;
  if (shell::Skip != 0 && scenario::SkipAllowed == 1 && cursor != kPageCursorGlyph) return 0;

  // Buffer 1 holds the cell as it was, buffer 2 the cell with the cursor: the blink puts
  // them back in turn instead of drawing the glyph again.
  resources::MemHandle under = resources::MemAlloc(kCursorBufferSize, "cursor buf 1");
  resources::MemHandle over = resources::MemAlloc(kCursorBufferSize, "cursor buf 2");
  SaveRect(under, visuals::VmemDIB, x, y, kGlyphCell, kGlyphCell);
  DrawGlyph(x, y, cursor, colour, shadow);
  shell::Present(&visuals::UpdateRect);
  SaveRect(over, visuals::VmemDIB, x, y, kGlyphCell, kGlyphCell);
  shell::ClearInput();

  bool menu_opened = false;
  for (int round = 0; shell::SkipMode == 0; round = (round + 1) % kBlinkRounds) {
    shell::Wait(kBlinkRound);
    if (round == kHideRound || round == kShowRound) {
      RestoreRect(visuals::VmemDIB, round == kHideRound ? under : over, x, y, kGlyphCell,
                  kGlyphCell);
      shell::Present(&visuals::UpdateRect);
    }
    if (shell::InputEvents & shell::kInputDecide) break;
    if (shell::InputEvents & shell::kInputCancel) {
      if (menu_allowed && flow::GamePhase == flow::kPhasePlaying && OpenInGameMenuHook != nullptr) {
        OpenInGameMenuHook();
        menu_opened = true;
      }
      break;
    }
    if (shell::InputEvents & shell::kInputSpace) ShowPictureWithoutText();
  }

  if (!menu_opened) {
    RestoreRect(visuals::VmemDIB, under, x, y, kGlyphCell, kGlyphCell);
    shell::Present(&visuals::UpdateRect);
  }
  resources::MemFree(over);
  resources::MemFree(under);
  shell::ClearInput();
  return menu_opened ? 1 : 0;
}

}  // namespace text
