#include "scenario/shake_and_attacks.h"

#include <cstdint>

#include "core/game_state.h"
#include "sound/pcm.h"
#include "visuals/effect_frames.h"
#include "visuals/palette_fades.h"
#include "visuals/shake_effects.h"

namespace scenario {
namespace {

constexpr std::uint8_t kShakeSound = 3;
constexpr std::uint8_t kClawSound = 18;
constexpr std::uint8_t kNoSound = 255;

std::uint8_t LoadedSound() { return core::GetU8(core::GameState, core::field::kPcmNumber); }
bool SoundPlaying() { return core::GetU8(core::GameState, core::field::kPcmPlaying) != 0; }

void PlayOnce(std::uint8_t n) {
  sound::PcmLoad(n);
  sound::PcmPlay(1, 0);
}

// The sound of an effect ends with the effect: whatever is loaded is let finish (a counted
// sound is waited out, an endless one faded) and unloaded.
void EndEffectSound() {
  if (LoadedSound() == kNoSound) return;
  sound::PcmFinish();
  sound::PcmUnload();
}

}  // namespace

void Quake() {
  core::MemHandle buffer = visuals::AllocQuakeBuffer();
  // A voice that is playing is not cut off by the shake's sound; a silent one is put back
  // afterwards.
  std::uint8_t silent = kNoSound;
  if (!SoundPlaying()) {
    silent = LoadedSound();
    PlayOnce(kShakeSound);
  }
  visuals::ShakeShownPicture(buffer);
  core::MemFree(buffer);
  EndEffectSound();
  if (silent != kNoSound) sound::PcmLoad(silent);
}

void ClawEffect1() {
  visuals::BeginEffectFrames();
  PlayOnce(kClawSound);
  visuals::ShowEffectFrames(visuals::kClawFrameName, 1, 4);
  visuals::FadeOut(1);
  EndEffectSound();
  visuals::EndOnEmptyScene();
}

}  // namespace scenario
