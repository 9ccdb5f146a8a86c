#include "core/flags.h"
#include "core/game_phase.h"
#include "core/game_state.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "flow/pen.h"
#include "flow/title_items.h"
#include "scenario/event_interpreter.h"
#include "scenario/item_selector.h"
#include "scenario/save_slots.h"
#include "scenario/scenario_loader.h"
#include "text/fixed_texts.h"
#include "visuals/palette_fades.h"
#include "visuals/screen_show.h"

namespace flow {
namespace {

// Flag 103 of a saved game: the story was played to its end.
constexpr std::size_t kFinishedFlag = 103;

enum class Beginning { kBackOut, kContinue, kNewGame };

// The slot screen and the continue question, until the reader settles on a way to begin.
Beginning ChooseBeginning() {
  for (;;) {
    visuals::ShowComposed();
    SetPen(260, 120);
    core::Screen.ScreenPalette[4].peRed = 255;
    core::Screen.ScreenPalette[4].peGreen = 255;
    core::Screen.ScreenPalette[4].peBlue = 255;
    const int slot = scenario::SlotScreen(0);
    if (slot < 0) return Beginning::kBackOut;
    visuals::ShowComposed();
    // An empty or unusable slot begins a new game without carried flags.
    if (!scenario::LoadSlot(core::Scenario.LastUsedSlot)) return Beginning::kNewGame;
    // A finished game goes on as a new one that keeps its persistent flags, unasked.
    if (core::ResumeState[core::field::kFlags + kFinishedFlag] == 1) {
      scenario::CarryOverFlags();
      return Beginning::kNewGame;
    }
    SetPen(236, 120);
    scenario::ItemSelection question;
    question.items = text::kContinueItems;
    question.highlighted = 0;
    question.cancel_answers = true;
    const std::int16_t answer = scenario::SelectItem(question);
    if (answer == 0) return Beginning::kContinue;
    if (answer == 1) {
      scenario::CarryOverFlags();
      return Beginning::kNewGame;
    }
  }
}

// The play loop: the interpreter is run again while play goes on; a stop with 2 (a load or
// a return to the resume point) starts it again at the restored EventPC.
void PlayLoop() {
  while (core::Scenario.ScriptStop != 1) {
    core::Phase.GamePhase = core::kPhasePlaying;
    core::Scenario.ScriptStop = 0;
    scenario::RunEvents();
  }
}

// From the title's screen to the first scene: a saved game restored as it was, or the story
// begun at scenario 0, label 1.
void Begin(Beginning how) {
  visuals::FadeOutDim(1);
  visuals::ClearPictureAndShow(core::Screen.VmemDIB);
  core::ClearPicture(core::Screen.VbufDIB);
  visuals::ApplyScreenPalette();
  if (how == Beginning::kContinue) {
    scenario::RestoreState(false);
  } else {
    core::SetU16(core::GameState, core::field::kHistoryCount, 0);
    scenario::BeginNewGame();
    visuals::FadeIn(1);
  }
}

// Plays until the story ends; the skip command is greyed again after it.
void PlayToTheEnd() {
  PlayLoop();
  scenario::OfferSkipCommand(false);
  visuals::FadeOut(1);
}

}  // namespace

int StartStory() {
  if (core::Phase.GamePhase == core::kPhaseStartItem) {
    const Beginning how = ChooseBeginning();
    if (how == Beginning::kBackOut) return 1;
    Begin(how);
  }
  PlayToTheEnd();
  return 0;
}

void PlayNewGame() {
  Begin(Beginning::kNewGame);
  PlayToTheEnd();
}

}  // namespace flow
