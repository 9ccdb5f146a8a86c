#include <cstring>

#include "core/game_state.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "flow/pen.h"
#include "flow/title_items.h"
#include "scenario/choices.h"
#include "scenario/message_text.h"
#include "scenario/save_slots.h"
#include "text/fixed_texts.h"

namespace flow {
namespace {

// Flags of a cleared slot: 103 (a finished game, so its progress carries over) and 114
// (cleared: the slot screen shows it empty and loading it starts a new game).
constexpr std::size_t kFinishedFlag = 103;
constexpr std::size_t kClearedFlag = 114;

void ShowWorkPicture() {
  core::CopyPicture(core::Screen.VmemDIB, core::Screen.VbufDIB);
  core::Present(nullptr);
}

}  // namespace

void ClearSlot() {
  ShowWorkPicture();
  core::Scenario.LastUsedSlot = 0;
  const int slot = scenario::SlotScreen(2);
  if (slot >= 0 && slot < scenario::kSlotCount) {
    ShowWorkPicture();
    if (scenario::AskYesNo(text::kClearSlotQuestions[slot])) {
      scenario::TakeSaveSnapshot();
      std::memset(core::SaveImage + core::field::kFlags, 0, core::field::kFlagCount);
      core::SaveImage[core::field::kFlags + kFinishedFlag] = 1;
      core::SaveImage[core::field::kFlags + kClearedFlag] = 1;
      // A write that fails has told the reader why; the confirmation would be untrue.
      if (scenario::SaveSlot(slot)) {
        ShowWorkPicture();
        SetPen(216, 160);
        scenario::ShowText(216, 160, text::kClearSlotDone, 15, 0, false, false);
        core::Present(&core::Screen.UpdateRect);
        core::WaitClick();
      }
    }
  }
  SetPen(16, 10);
  ShowWorkPicture();
}

}  // namespace flow
