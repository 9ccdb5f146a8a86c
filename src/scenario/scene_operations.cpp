#include "scenario/scene_operations.h"

#include <cstdint>

#include "core/flags.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"
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

void RunSceneOperation(const core::Instruction& ins, bool in_text) {
  const auto op = [&ins](std::size_t i) { return ins.operands[i]; };
  switch (static_cast<core::Op>(ins.opcode)) {
    case core::Op::WaitClick: core::WaitClick(); break;
    case core::Op::ShowBackground: visuals::ShowBackground(op(0)); break;
    case core::Op::RestoreBackground: visuals::RestoreBackground(op(0)); break;
    case core::Op::ForgetBackground: visuals::ForgetBackground(); break;
    case core::Op::FillBackground:  // inside text the filled scene is not shown
      visuals::FillBackground(op(0));
      if (!in_text) visuals::ShowComposed();
      break;
    case core::Op::ClearScene: visuals::ClearScene(op(0)); break;
    case core::Op::ShowEventPictureH: ShowEventPictureH(op(0)); break;
    case core::Op::ShowEventPictureV: ShowEventPictureV(op(0)); break;
    case core::Op::ShowCharacter: visuals::ShowCharacter(op(0), op(1)); break;
    case core::Op::ShowInStyle: ShowInStyle(op(0), op(1)); break;
    case core::Op::Transition: visuals::Transition(op(0)); break;
    case core::Op::ColourFade:  // inside text the glyphs drawn so far are shown before the
                                // cross-fade
      if (in_text) core::Present(&core::Screen.UpdateRect);
      visuals::ApplyColourEffect(op(0), true);
      break;
    case core::Op::ColourPending: core::SetFlag(core::flag::kPendingColourEffect, op(0)); break;
    case core::Op::ColourSet: visuals::ApplyColourEffect(op(0), false); break;
    case core::Op::SetFlag: core::SetFlag(op(0), op(1)); break;
    case core::Op::AddToFlag:
      core::SetFlag(op(0), static_cast<std::uint8_t>(core::Flag(op(0)) + op(1)));
      break;
    case core::Op::ApplyPalette: visuals::ApplyScreenPalette(); break;
    case core::Op::Black: visuals::ApplyBlack(); break;
    case core::Op::FadeOut: visuals::FadeOut(op(0)); break;
    case core::Op::FadeIn: visuals::FadeIn(op(0)); break;
    case core::Op::SavePalette: visuals::SavePalette(); break;
    case core::Op::RestorePalette: visuals::RestorePalette(); break;
    case core::Op::White:
      for (int i = 0; i < 16; ++i) {
        core::Screen.ScreenPalette[i].peRed = 255;
        core::Screen.ScreenPalette[i].peGreen = 255;
        core::Screen.ScreenPalette[i].peBlue = 255;
      }
      visuals::ApplyScreenPalette();
      core::Screen.PaletteState = 2;
      break;
    case core::Op::FadeToWhite: visuals::FadeToWhite(op(0)); break;
    case core::Op::FadeFromWhite: visuals::FadeFromWhite(op(0)); break;
    case core::Op::Undim: visuals::Undim(); break;
    case core::Op::Dim: visuals::Dim(); break;
    case core::Op::FadeInDim: visuals::FadeInDim(op(0)); break;
    case core::Op::FadeOutDim: visuals::FadeOutDim(op(0)); break;
    case core::Op::CdPlay: sound::CdPlay(op(0)); break;
    case core::Op::CdMarkFade: sound::CdMarkFade(); break;
    case core::Op::CdStop: sound::CdStop(); break;
    case core::Op::CdFadeOut: sound::CdFadeOut(); break;
    case core::Op::CdWaitEnd: sound::CdWaitEnd(); break;
    case core::Op::CdQueue: core::SetFlag(core::flag::kQueuedMusic, op(0)); break;
    case core::Op::PcmLoad: sound::PcmLoad(op(0)); break;
    case core::Op::PcmUnload: sound::PcmUnload(); break;
    case core::Op::PcmPlay: sound::PcmPlay(op(0), static_cast<std::uint16_t>(op(1) * 20)); break;
    case core::Op::PcmStop: sound::PcmStop(); break;
    case core::Op::PcmFinish:  // inside text the glyphs drawn so far are shown before the sound
                               // ends
      if (in_text) core::Present(&core::Screen.UpdateRect);
      sound::PcmFinish();
      break;
    default:  // Skip83, Skip84, SkipA4, SkipA5 and opcodes that are not operations: nothing
      break;
  }
}

}  // namespace scenario
