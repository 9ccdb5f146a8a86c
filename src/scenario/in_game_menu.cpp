#include "scenario/in_game_menu.h"

#include <array>

#include "core/flags.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "scenario/choices.h"
#include "scenario/item_selector.h"
#include "scenario/message_text.h"
#include "scenario/save_slots.h"
#include "scenario/scenario_loader.h"
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
constexpr std::uint16_t kLoadSceneClear = 6;

void SetPen(std::uint16_t x, std::uint16_t y) {
  text::TextPen pen = text::LoadPen(core::GameState);
  pen.x = x;
  pen.y = y;
  text::StorePen(core::GameState, pen);
}

void WipeText() {
  core::CopyPicture(core::Screen.VmemDIB, core::Screen.VbufDIB);
  core::Present(nullptr);
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
  core::WaitClick();
  visuals::Dim();
}

constexpr std::uint16_t kSaveDoneX = 216;
constexpr std::uint16_t kSaveDoneY = 160;

// Picks a slot on the slot screen and confirms with `question`; false when either is
// declined, with the scene shown again for the menu.
bool PickSlot(int mode, const std::uint8_t* question) {
  visuals::ShowComposed();
  if (SlotScreen(mode) < 0) {
    visuals::ShowComposed();
    return false;
  }
  visuals::ShowComposed();
  if (!AskYesNo(question)) {
    visuals::ShowComposed();
    return false;
  }
  return true;
}

// A new game that starts from a slot that has no game in progress. Its message history
// starts empty, also for a finished game continued (whose earlier play is over).
void StartNewGameFromSlot(bool finished) {
  StopSound();
  if (finished) CarryOverFlags();
  core::SetU16(core::GameState, core::field::kHistoryCount, 0);
  BeginNewGame();
}

// Answers true when the menu is left: a slot was loaded and play starts again from it.
bool LoadItem() {
  if (!PickSlot(0, text::kLoadQuestion)) return false;
  visuals::ClearScene(kLoadSceneClear);
  const bool loaded = LoadSlot(core::Scenario.LastUsedSlot);
  if (loaded && core::ResumeState[core::field::kFlags + core::flag::kFinishedGame] == 0) {
    RestoreState(false);
  } else {
    StartNewGameFromSlot(loaded);
  }
  core::Scenario.ScriptStop = 2;
  visuals::ShowComposed();
  return true;
}

void SaveItem() {
  if (!PickSlot(1, text::kSaveQuestion)) return;
  // A save made during play never carries the finished-game request.
  core::SaveImage[core::field::kFlags + core::flag::kFinishedRequest] = 0;
  // A save that failed has told the reader why; it is not confirmed.
  if (SaveSlot(core::Scenario.LastUsedSlot)) {
    WipeText();
    ShowText(kSaveDoneX, kSaveDoneY, text::kSaveDone, text::kTextColour, text::kTextShadow, false,
             false);
    core::Present(&core::Screen.UpdateRect);
    core::WaitClick();
  }
  WipeText();
  visuals::ShowComposed();
}

// Answers true when the menu is left.
bool Act(std::int16_t item) {
  switch (item) {
    case kHideText: HideText(); return true;
    case kLoad: return LoadItem();
    case kSave: SaveItem(); return false;
    case kBacklog: text::ShowBacklog(); return false;
    case kReturnToResumePoint:
      if (!AskYesNo(text::kReturnQuestion)) return false;
      StopSound();
      RestoreState(true);
      core::Scenario.ScriptStop = 2;
      return true;
    case kEndGame:
      if (!AskYesNo(text::kEndQuestion)) return false;
      visuals::ClearScene(kEndSceneClear);
      core::Scenario.ScriptStop = 1;
      return true;
    default: WipeText(); return true;  // cancel
  }
}

}  // namespace

void InGameMenu() {
  std::array<std::uint8_t, 6> enabled{1, 1, 1, 1, 1, 1};
  enabled[kReturnToResumePoint] = core::Scenario.ResumeValid != 0 ? 1 : 0;
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
