// The moves between the three game state records: the snapshot a save writes, the resume
// point, the restore that makes ResumeState the running game, and the carry-over of the
// persistent flags into a new play.
#include <cstring>

#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "scenario/event_pictures.h"
#include "scenario/save_slots.h"
#include "scenario/scenario_loader.h"
#include "sound/cd_audio.h"
#include "sound/pcm.h"
#include "visuals/background.h"
#include "visuals/character_slots.h"
#include "visuals/colour_effects.h"
#include "visuals/display_effects.h"
#include "visuals/palette_fades.h"
#include "visuals/scene_state.h"
#include "visuals/screen_show.h"
#include "visuals/transition.h"

namespace scenario {
namespace {

constexpr std::uint16_t kRestoreSceneClear = 6;
constexpr std::uint16_t kRestoreSettle = 30;
constexpr std::uint8_t kLocalFlagCount = 20;
constexpr std::uint8_t kNone = 255;

// Flags, history count, the entry before the first, and the whole history: the bytes from
// the flag area to the end of the history.
void CopyFlagsAndHistory(core::GameStateRecord& to, const core::GameStateRecord& from) {
  std::memcpy(to + core::field::kFlags, from + core::field::kFlags, core::field::kFlagCount);
  std::memcpy(to + core::field::kHistoryCount, from + core::field::kHistoryCount,
              core::kGameStateSize - 2 - core::field::kHistoryCount);
}

// The live record's scene empties before the saved one is composed, so that nothing of the
// scene left behind survives and no picture is taken as already shown.
void ForgetScene() {
  visuals::SetBackgroundNumber(visuals::kNoBackground);
  visuals::SetStoredBackground(visuals::kNoBackground);
  core::SetU8(core::GameState, core::field::kShownVPicture, core::kNoEventPicture);
  core::SetU8(core::GameState, core::field::kShownHPicture, core::kNoEventPicture);
  visuals::EmptyAllSlots();
  visuals::SetColourEffect(0);
}

// A colour effect still pending in the saved state was set after the saved scene was shown;
// it belongs to the next scene change of the play, so the redraw here must not use it up
// (else a page whose own text changes the scene came back without its colours).
void ComposeSavedScene(const core::GameStateRecord& saved) {
  const std::uint8_t pending = visuals::PendingColourEffect();
  visuals::SetPendingColourEffect(0);
  if (core::GetU8(saved, core::field::kBackgroundNumber) != visuals::kNoBackground) {
    visuals::ShowBackground(core::GetU8(saved, core::field::kStoredBackground));
  } else if (core::GetU8(saved, core::field::kShownVPicture) != core::kNoEventPicture) {
    ShowEventPictureV(core::GetU8(saved, core::field::kShownVPicture));
  } else if (core::GetU8(saved, core::field::kShownHPicture) != core::kNoEventPicture) {
    ShowEventPictureH(core::GetU8(saved, core::field::kShownHPicture));
  }
  // Characters come back in their drawing order.
  for (std::uint8_t layer = 0; layer < visuals::kSlotCount; ++layer) {
    for (std::uint8_t slot = 0; slot < visuals::kSlotCount; ++slot) {
      const std::uint8_t picture = core::GetU8(saved, core::field::kSlotPicture + slot);
      if (core::GetU8(saved, core::field::kSlotLayer + slot) == layer &&
          picture != visuals::kNoCharacter) {
        visuals::ShowCharacter(slot, picture);
      }
    }
  }
  visuals::SetPendingColourEffect(pending);
}

void ResumeSavedSound(const core::GameStateRecord& saved) {
  const std::uint8_t pcm = core::GetU8(saved, core::field::kPcmNumber);
  if (pcm == kNone) {
    sound::PcmUnload();
    return;
  }
  sound::PcmLoad(pcm);
  if (core::GetU8(saved, core::field::kPcmPlaying) == 1) {
    sound::PcmPlay(core::GetU16(saved, core::field::kPcmLoops),
                   core::GetU16(saved, core::field::kPcmParam));
  }
}

// A restored EventPC must name code of its scenario; one outside the event block is damaged
// data, and nothing is run from it.
void CheckEventPC(std::uint8_t scenario) {
  const std::uint16_t pc = core::GetU16(core::GameState, core::field::kEventPC);
  if (core::Scenario.EventData == 0 || pc < kBlockTableEnd ||
      pc >= GlobalSize(core::Scenario.EventData)) {
    ScenarioBroken(scenario);
  }
}

}  // namespace

void TakeSaveSnapshot() { std::memcpy(core::SaveImage, core::GameState, core::kGameStateSize); }

void SetResumePoint() {
  std::memcpy(core::ResumeState, core::GameState, core::kGameStateSize);
  core::Scenario.ResumeValid = 1;
}

void RestoreState(bool with_effect) {
  const core::GameStateRecord& saved = core::ResumeState;
  sound::CdMarkFade();
  if (with_effect) visuals::ClearScene(kRestoreSceneClear);
  sound::CdFadeOut();
  core::ClearPicture(core::Screen.VbufDIB);
  visuals::ClearPictureAndShow(core::Screen.VmemDIB);
  sound::PcmStop();
  sound::PcmUnload();
  visuals::ForgetBackground();

  CopyFlagsAndHistory(core::GameState, saved);
  ForgetScene();
  const std::uint8_t scenario = core::GetU8(saved, core::field::kCurrentScenario);
  SetCurrentScenario(kNoScenario);
  EnterScenario(scenario, false);
  core::SetU16(core::GameState, core::field::kEventPC, core::GetU16(saved, core::field::kEventPC));
  CheckEventPC(scenario);

  sound::CdPlay(core::GetU8(saved, core::field::kCdTrack));
  ComposeSavedScene(saved);
  ResumeSavedSound(saved);
  visuals::SavePalette();
  if (core::GetU8(saved, core::field::kColourEffect) != 0) {
    visuals::ApplyColourEffect(core::GetU8(saved, core::field::kColourEffect), false);
  }
  visuals::Transition(0);
  TakeSaveSnapshot();
  core::ClearInput();
  core::Wait(kRestoreSettle);
  visuals::Dim();
}

void CarryOverFlags() {
  std::memcpy(core::GameState + core::field::kFlags, core::ResumeState + core::field::kFlags,
              core::field::kFlagCount);
  std::memset(core::GameState + core::field::kFlags, 0, kLocalFlagCount);
}

}  // namespace scenario
