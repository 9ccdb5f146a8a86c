// Start values of every subsystem's global state: each subsystem knows its own, set next to
// their definitions.
#include "core/game_phase.h"
#include "core/message_pump.h"
#include "core/palette_state.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/shell_state.h"
#include "shell/startup.h"
#include "sound/sound_state.h"
#include "text/backlog.h"
#include "text/font.h"
#include "text/typewriter.h"
#include "text/wave_text_scene.h"

namespace shell {

void ResetGameState() {
  // Bottom layer first. No reset reads another subsystem's state, so the order only keeps
  // the list easy to check against the layers.
  ResetInputState();
  sound::ResetSoundState();
  visuals::ResetPaletteState();
  visuals::ResetPictureState();
  text::ResetFontState();
  text::ResetTypewriterState();
  text::ResetBacklogState();
  text::ResetWaveState();
  scenario::ResetScenarioState();
  flow::ResetFlowState();
  ResetShellState();
}

}  // namespace shell
