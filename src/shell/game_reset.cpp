// Start values of every subsystem's global state.
#include <algorithm>
#include <cstring>

#include "flow/game_flow.h"
#include "core/game_state.h"
#include "core/scenario_state.h"
#include "core/message_pump.h"
#include "core/shell_state.h"
#include "shell/startup.h"
#include "sound/sound_state.h"
#include "text/font.h"
#include "text/typewriter.h"
#include "text/wave_text_scene.h"
#include "core/palette_state.h"
#include "core/picture.h"

namespace shell {
namespace {

void SetBlack(PALETTEENTRY* palette, int count) {
  std::fill(palette, palette + count, PALETTEENTRY{0, 0, 0, PC_RESERVED});
}

void ClearFlags(scenario::GameStateRecord& record) {
  std::memset(record + scenario::field::kFlags, 0, scenario::field::kFlagCount);
}

}  // namespace

void ResetGameState() {
  // The ini file decides all five settings later; these hold until it is read.
  Music = 1;
  Pcm = 1;
  Skip = 0;
  Mmv = 1;
  Low = 0;
  Exiting = false;
  DialogDepth = 0;

  PictureWidth = 640;
  PictureHeight = 400;
  ClientWidth = 640;
  ClientHeight = 400;
  SkipMode = 0;
  flow::GamePhase = 0;
  KeysPrevious = 0;
  // Process-start values of the input state (the reset runs once, before the window).
  InputEvents = 0;
  MouseX = 0;
  MouseY = 0;
  RandomState = 0;

  text::FontData = 0;
  text::Typewriter = text::TypewriterState{};
  // Both waves stand still at phase 0 until their first scene.
  for (text::WaveMotion& motion : text::WaveMotions) motion = text::WaveMotion{};
  visuals::BackgroundBlock = 0;
  scenario::EventData = 0;
  scenario::MessageData = 0;
  sound::PcmBlock = 0;

  using namespace scenario::field;
  auto& live = scenario::GameState;
  scenario::SetU8(live, kBackgroundNumber, 255);
  scenario::SetU8(live, kStoredBackground, 255);
  for (std::size_t slot = 0; slot < 3; ++slot) scenario::SetU8(live, kSlotPicture + slot, 255);
  // The scene's other bytes: no character layers, no event picture, no colour effect.
  for (std::size_t slot = 0; slot < 3; ++slot) scenario::SetU8(live, kSlotLayer + slot, 255);
  scenario::SetU8(live, kShownHPicture, 255);
  scenario::SetU8(live, kShownVPicture, 255);
  scenario::SetU8(live, kColourEffect, 0);
  scenario::SetU8(live, kPcmNumber, 255);
  scenario::SetU8(live, kCurrentScenario, 255);
  ClearFlags(scenario::GameState);
  ClearFlags(scenario::SaveImage);

  SetBlack(visuals::BackgroundPalette, 16);
  SetBlack(visuals::PreviousPalette, 16);
  SetBlack(visuals::SavedPalette, 16);
  SetBlack(visuals::PlainPalette, 16);
  visuals::PaletteState = 0;
  visuals::BuildBasePalettes();
  visuals::UpdateRect = visuals::kEmptyUpdateRect;
}

}  // namespace shell
