// The moves between the three game state records: the snapshot a save writes, the resume
// point, the restore that makes ResumeState the running game, and the carry-over of the
// persistent flags into a new play.
#include <cstring>

#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/scenario_state.h"
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
void CopyFlagsAndHistory(GameStateRecord& to, const GameStateRecord& from) {
  std::memcpy(to + field::kFlags, from + field::kFlags, field::kFlagCount);
  std::memcpy(to + field::kHistoryCount, from + field::kHistoryCount,
              kGameStateSize - 2 - field::kHistoryCount);
}

// The live record's scene empties before the saved one is composed, so that nothing of the
// scene left behind survives and no picture is taken as already shown.
void ForgetScene() {
  visuals::SetBackgroundNumber(visuals::kNoBackground);
  visuals::SetStoredBackground(visuals::kNoBackground);
  SetU8(GameState, field::kShownVPicture, kNoEventPicture);
  SetU8(GameState, field::kShownHPicture, kNoEventPicture);
  visuals::EmptyAllSlots();
  visuals::SetColourEffect(0);
}

// A colour effect still pending in the saved state was set after the saved scene was shown;
// it belongs to the next scene change of the play, so the redraw here must not use it up
// (else a page whose own text changes the scene came back without its colours).
void ComposeSavedScene(const GameStateRecord& saved) {
  const std::uint8_t pending = visuals::PendingColourEffect();
  visuals::SetPendingColourEffect(0);
  if (GetU8(saved, field::kBackgroundNumber) != visuals::kNoBackground) {
    visuals::ShowBackground(GetU8(saved, field::kStoredBackground));
  } else if (GetU8(saved, field::kShownVPicture) != kNoEventPicture) {
    ShowEventPictureV(GetU8(saved, field::kShownVPicture));
  } else if (GetU8(saved, field::kShownHPicture) != kNoEventPicture) {
    ShowEventPictureH(GetU8(saved, field::kShownHPicture));
  }
  // Characters come back in their drawing order.
  for (std::uint8_t layer = 0; layer < visuals::kSlotCount; ++layer) {
    for (std::uint8_t slot = 0; slot < visuals::kSlotCount; ++slot) {
      const std::uint8_t picture = GetU8(saved, field::kSlotPicture + slot);
      if (GetU8(saved, field::kSlotLayer + slot) == layer && picture != visuals::kNoCharacter) {
        visuals::ShowCharacter(slot, picture);
      }
    }
  }
  visuals::SetPendingColourEffect(pending);
}

void ResumeSavedSound(const GameStateRecord& saved) {
  const std::uint8_t pcm = GetU8(saved, field::kPcmNumber);
  if (pcm == kNone) {
    sound::PcmUnload();
    return;
  }
  sound::PcmLoad(pcm);
  if (GetU8(saved, field::kPcmPlaying) == 1) {
    sound::PcmPlay(GetU16(saved, field::kPcmLoops), GetU16(saved, field::kPcmParam));
  }
}

// A restored EventPC must name code of its scenario; one outside the event block is damaged
// data, and nothing is run from it.
void CheckEventPC(std::uint8_t scenario) {
  const std::uint16_t pc = GetU16(GameState, field::kEventPC);
  if (EventData == 0 || pc < kBlockTableEnd || pc >= GlobalSize(EventData)) {
    ScenarioBroken(scenario);
  }
}

}  // namespace

void TakeSaveSnapshot() { std::memcpy(SaveImage, GameState, kGameStateSize); }

void SetResumePoint() {
  std::memcpy(ResumeState, GameState, kGameStateSize);
  ResumeValid = 1;
}

void RestoreState(bool with_effect) {
  const GameStateRecord& saved = ResumeState;
  sound::CdMarkFade();
  if (with_effect) visuals::ClearScene(kRestoreSceneClear);
  sound::CdFadeOut();
  visuals::ClearPicture(visuals::VbufDIB);
  visuals::ClearPictureAndShow(visuals::VmemDIB);
  sound::PcmStop();
  sound::PcmUnload();
  visuals::ForgetBackground();

  CopyFlagsAndHistory(GameState, saved);
  ForgetScene();
  const std::uint8_t scenario = GetU8(saved, field::kCurrentScenario);
  SetCurrentScenario(kNoScenario);
  EnterScenario(scenario, false);
  SetU16(GameState, field::kEventPC, GetU16(saved, field::kEventPC));
  CheckEventPC(scenario);

  sound::CdPlay(GetU8(saved, field::kCdTrack));
  ComposeSavedScene(saved);
  ResumeSavedSound(saved);
  visuals::SavePalette();
  if (GetU8(saved, field::kColourEffect) != 0) {
    visuals::ApplyColourEffect(GetU8(saved, field::kColourEffect), false);
  }
  visuals::Transition(0);
  TakeSaveSnapshot();
  shell::ClearInput();
  shell::Wait(kRestoreSettle);
  visuals::Dim();
}

void CarryOverFlags() {
  std::memcpy(GameState + field::kFlags, ResumeState + field::kFlags, field::kFlagCount);
  std::memset(GameState + field::kFlags, 0, kLocalFlagCount);
}

}  // namespace scenario
