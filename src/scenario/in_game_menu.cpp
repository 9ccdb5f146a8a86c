#include "scenario/in_game_menu.h"

#include <array>

#include "core/message_pump.h"
#include "core/palette_state.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "scenario/choices.h"
#include "scenario/item_selector.h"
#include "scenario/save_slots.h"
#include "sound/cd_audio.h"
#include "sound/pcm.h"
#include "text/backlog.h"
#include "text/fixed_texts.h"
#include "text/text_layout.h"
#include "text/text_state.h"
#include "visuals/display_effects.h"
#include "visuals/palette_fades.h"
#include "visuals/screen_show.h"

namespace scenario {
namespace {

enum MenuItem : std::int16_t {
  kHideText = 0,
  kLoad = 1,
  kSave = 2,
  kBacklog = 3,
  kReturnToResumePoint = 4,
  kEndGame = 5,
};
constexpr std::uint16_t kMenuX = 224;
constexpr std::uint16_t kMenuY = 80;
constexpr std::uint16_t kEndSceneClear = 6;

void SetPen(std::uint16_t x, std::uint16_t y) {
  text::TextPen pen = LoadPen(GameState);
  pen.x = x;
  pen.y = y;
  StorePen(GameState, pen);
}

void WipeText() {
  visuals::CopyPicture(visuals::VmemDIB, visuals::VbufDIB);
  shell::Present(nullptr);
}

void StopSound() {
  sound::CdStop();
  sound::PcmStop();
  sound::PcmUnload();
}

// Space's view from the menu: the scene undimmed and without text until a click.
void HideText() {
  WipeText();
  visuals::Undim();
  shell::WaitClick();
  visuals::Dim();
}

// Placeholders: the load and save items wait for the slot screen and LoadSlot / SaveSlot of
// the save slots. Until then each behaves as the slot screen cancelled: the scene comes
// back and the menu stays. When LoadSlot lands, a finished game continued from the menu
// starts with an empty message history (count 0), as does an empty slot.
void LoadItem() { visuals::ShowComposed(); }
void SaveItem() { visuals::ShowComposed(); }

// Answers true when the menu is left.
bool Act(std::int16_t item) {
  switch (item) {
    case kHideText: HideText(); return true;
    case kLoad: LoadItem(); return false;
    case kSave: SaveItem(); return false;
    case kBacklog: text::ShowBacklog(); return false;
    case kReturnToResumePoint:
      if (!AskYesNo(text::kReturnQuestion)) return false;
      StopSound();
      RestoreState(true);
      ScriptStop = 2;
      return true;
    case kEndGame:
      if (!AskYesNo(text::kEndQuestion)) return false;
      visuals::ClearScene(kEndSceneClear);
      ScriptStop = 1;
      return true;
    default: WipeText(); return true;  // cancel
  }
}

}  // namespace

void InGameMenu() {
  std::array<std::uint8_t, 6> enabled{1, 1, 1, 1, 1, 1};
  enabled[kReturnToResumePoint] = ResumeValid != 0 ? 1 : 0;
  WipeText();
  ItemSelection selection;
  selection.items = text::kGameMenuItems;
  selection.enabled = enabled;
  selection.highlighted = kHideText;
  selection.cancel_answers = true;
  for (;;) {
    SetPen(kMenuX, kMenuY);
    const std::int16_t chosen = SelectItem(selection);
    if (Act(chosen)) break;
    selection.highlighted = chosen;
  }
  SetPen(text::kPageLeft, text::kPageTop);
}

}  // namespace scenario
