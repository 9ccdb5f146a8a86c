#include "scenario/scene_operations.h"

#include <cstdint>

#include "core/flags.h"
#include "core/message_pump.h"
#include "core/palette_state.h"
#include "core/picture.h"
#include "scenario/event_pictures.h"
#include "sound/cd_audio.h"
#include "sound/pcm.h"
#include "visuals/background.h"
#include "visuals/display_effects.h"
#include "visuals/palette_fades.h"
#include "visuals/screen_show.h"
#include "visuals/transition.h"

namespace scenario {
namespace {

// 0x38: style k of the whole screen (n = 0) or of area n - 1. Styles above 3 and areas
// beyond the three there are do nothing.
void ShowInStyle(std::uint8_t k, std::uint8_t n) {
  if (k > 3) return;
  if (n == 0) {
    constexpr void (*kWhole[])() = {visuals::ShowComposed, visuals::ShowInterlaced,
                                    visuals::ShowDither, visuals::ShowBlinds};
    kWhole[k]();
    return;
  }
  if (n > 3) return;
  constexpr void (*kArea[])(std::uint8_t) = {visuals::ShowArea, visuals::ShowAreaInterlaced,
                                             visuals::ShowAreaDither, visuals::ShowAreaBlinds};
  kArea[k](static_cast<std::uint8_t>(n - 1));
}

}  // namespace

void RunSceneOperation(const Instruction& ins, bool in_text) {
  const auto op = [&ins](std::size_t i) { return ins.operands[i]; };
  switch (static_cast<Op>(ins.opcode)) {
    case Op::WaitClick: shell::WaitClick(); break;
    case Op::ShowBackground: visuals::ShowBackground(op(0)); break;
    case Op::RestoreBackground: visuals::RestoreBackground(op(0)); break;
    case Op::ForgetBackground: visuals::ForgetBackground(); break;
    case Op::FillBackground:  // inside text the filled scene is not shown
      visuals::FillBackground(op(0));
      if (!in_text) visuals::ShowComposed();
      break;
    case Op::ClearScene: visuals::ClearScene(op(0)); break;
    case Op::ShowEventPictureH: ShowEventPictureH(op(0)); break;
    case Op::ShowEventPictureV: ShowEventPictureV(op(0)); break;
    case Op::ShowCharacter: visuals::ShowCharacter(op(0), op(1)); break;
    case Op::ShowInStyle: ShowInStyle(op(0), op(1)); break;
    case Op::Transition: visuals::Transition(op(0)); break;
    case Op::ColourFade:  // inside text the glyphs drawn so far are shown before the cross-fade
      if (in_text) shell::Present(&visuals::UpdateRect);
      visuals::ApplyColourEffect(op(0), true);
      break;
    case Op::ColourPending: SetFlag(flag::kPendingColourEffect, op(0)); break;
    case Op::ColourSet: visuals::ApplyColourEffect(op(0), false); break;
    case Op::SetFlag: SetFlag(op(0), op(1)); break;
    case Op::AddToFlag: SetFlag(op(0), static_cast<std::uint8_t>(Flag(op(0)) + op(1))); break;
    case Op::ApplyPalette: visuals::ApplyScreenPalette(); break;
    case Op::Black: visuals::ApplyBlack(); break;
    case Op::FadeOut: visuals::FadeOut(op(0)); break;
    case Op::FadeIn: visuals::FadeIn(op(0)); break;
    case Op::SavePalette: visuals::SavePalette(); break;
    case Op::RestorePalette: visuals::RestorePalette(); break;
    case Op::White:
      for (int i = 0; i < 16; ++i) {
        visuals::ScreenPalette[i].peRed = 255;
        visuals::ScreenPalette[i].peGreen = 255;
        visuals::ScreenPalette[i].peBlue = 255;
      }
      visuals::ApplyScreenPalette();
      visuals::PaletteState = 2;
      break;
    case Op::FadeToWhite: visuals::FadeToWhite(op(0)); break;
    case Op::FadeFromWhite: visuals::FadeFromWhite(op(0)); break;
    case Op::Undim: visuals::Undim(); break;
    case Op::Dim: visuals::Dim(); break;
    case Op::FadeInDim: visuals::FadeInDim(op(0)); break;
    case Op::FadeOutDim: visuals::FadeOutDim(op(0)); break;
    case Op::CdPlay: sound::CdPlay(op(0)); break;
    case Op::CdMarkFade: sound::CdMarkFade(); break;
    case Op::CdStop: sound::CdStop(); break;
    case Op::CdFadeOut: sound::CdFadeOut(); break;
    case Op::CdWaitEnd: sound::CdWaitEnd(); break;
    case Op::CdQueue: SetFlag(flag::kQueuedMusic, op(0)); break;
    case Op::PcmLoad: sound::PcmLoad(op(0)); break;
    case Op::PcmUnload: sound::PcmUnload(); break;
    case Op::PcmPlay: sound::PcmPlay(op(0), static_cast<std::uint16_t>(op(1) * 20)); break;
    case Op::PcmStop: sound::PcmStop(); break;
    case Op::PcmFinish:  // inside text the glyphs drawn so far are shown before the sound ends
      if (in_text) shell::Present(&visuals::UpdateRect);
      sound::PcmFinish();
      break;
    default:  // Skip83, Skip84, SkipA4, SkipA5 and opcodes that are not operations: nothing
      break;
  }
}

}  // namespace scenario
