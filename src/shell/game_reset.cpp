// Start values of every subsystem's state: each subsystem's state is one struct whose start
// values are written in it, and its reset assigns a fresh one.
#include "core/format_text.h"
#include "core/game_phase.h"
#include "core/input_state.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "core/window_state.h"
#include "flow/game_flow.h"
#include "resources/pack_archive.h"
#include "scenario/engine_state.h"
#include "shell/startup.h"
#include "sound/sound_state.h"
#include "text/text_state.h"

namespace shell {

void ResetGameState() {
  // Bottom layer first. No reset reads another subsystem's state, so the order only keeps
  // the list easy to check against the layers. The block table (core::Memory) is not among
  // them: core::MemInit empties it, which start-up runs just before this; the blocks the
  // structs held are forgotten here, not freed.
  core::ResetInputState();
  core::ResetScreenState();
  core::ResetScenarioState();
  core::ResetPhaseState();
  core::ResetSettingsState();
  core::ResetWindowState();
  core::ResetFormatterState();
  resources::ResetPackState();
  sound::ResetSoundState();
  text::ResetTextState();
  scenario::ResetEngineState();
  flow::ResetFlowState();
  ResetShellState();
}

}  // namespace shell
