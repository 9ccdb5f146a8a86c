#include "flow/game_flow.h"

#include "core/game_state.h"
#include "core/palette_state.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/shell_state.h"
#include "scenario/event_interpreter.h"
#include "scenario/scenario_loader.h"
#include "visuals/palette_fades.h"
#include "visuals/screen_show.h"

namespace flow {

bool NewGameOnly = false;

namespace {

// The play loop: the interpreter is run again while play goes on; a stop with 2 (a load or
// a return to the resume point) starts it again at the restored EventPC.
void PlayLoop() {
  while (scenario::ScriptStop != 1) {
    GamePhase = kPhasePlaying;
    scenario::ScriptStop = 0;
    scenario::RunEvents();
  }
}

// A new game as the title's start item begins one when no saved game is continued: the
// story from scenario 0, label 1, played to its end.
void PlayNewGame() {
  GamePhase = kPhaseStartItem;
  shell::SkipMode = 0;
  scenario::ScriptStop = 0;
  visuals::FadeOutDim(1);
  visuals::ClearPictureAndShow(visuals::VmemDIB);
  visuals::ClearPicture(visuals::VbufDIB);
  visuals::ApplyScreenPalette();
  scenario::SetU16(scenario::GameState, scenario::field::kHistoryCount, 0);
  scenario::BeginNewGame();
  visuals::FadeIn(1);
  PlayLoop();
  scenario::OfferSkipCommand(false);
  visuals::FadeOut(1);
}

}  // namespace

void RunGame() {
  if (NewGameOnly) {
    GamePhase = kPhaseOpening;
    scenario::SetCurrentScenario(scenario::kNoScenario);
    shell::SkipMode = 0;
    visuals::ClearPicture(visuals::VmemDIB);
    visuals::ClearPicture(visuals::VbufDIB);
    visuals::ApplyBlack();
    PlayNewGame();
    return;
  }
  // The logo, the opening and the title screen are not in the program yet: without the
  // runner's --new-game the game is over at once and the program ends normally.
}

}  // namespace flow
