#include "scenario/scene_operations.h"

#include <cstdint>

#include "scenario/event_pictures.h"
#include "core/flags.h"
#include "core/message_pump.h"
#include "sound/cd_audio.h"
#include "sound/pcm.h"
#include "visuals/background.h"
#include "visuals/display_effects.h"
#include "visuals/palette_fades.h"
#include "core/palette_state.h"
#include "core/picture.h"
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
  switch (ins.opcode) {
    case 0x26: shell::WaitClick(); break;
    case 0x30: visuals::ShowBackground(op(0)); break;
    case 0x31: visuals::RestoreBackground(op(0)); break;
    case 0x32: visuals::ForgetBackground(); break;
    case 0x33:  // inside text the filled scene is not shown
      visuals::FillBackground(op(0));
      if (!in_text) visuals::ShowComposed();
      break;
    case 0x34: visuals::ClearScene(op(0)); break;
    case 0x35: ShowEventPictureH(op(0)); break;
    case 0x36: ShowEventPictureV(op(0)); break;
    case 0x37: visuals::ShowCharacter(op(0), op(1)); break;
    case 0x38: ShowInStyle(op(0), op(1)); break;
    case 0x39: visuals::Transition(op(0)); break;
    case 0x3A:  // inside text the glyphs drawn so far are shown before the cross-fade
      if (in_text) shell::Present(&visuals::UpdateRect);
      visuals::ApplyColourEffect(op(0), true);
      break;
    case 0x3B: SetFlag(flag::kPendingColourEffect, op(0)); break;
    case 0x3C: visuals::ApplyColourEffect(op(0), false); break;
    case 0x4B: SetFlag(op(0), op(1)); break;
    case 0x4C: SetFlag(op(0), static_cast<std::uint8_t>(Flag(op(0)) + op(1))); break;
    case 0x60: visuals::ApplyScreenPalette(); break;
    case 0x61: visuals::ApplyBlack(); break;
    case 0x62: visuals::FadeOut(op(0)); break;
    case 0x63: visuals::FadeIn(op(0)); break;
    case 0x64: visuals::SavePalette(); break;
    case 0x65: visuals::RestorePalette(); break;
    case 0x66:  // white
      for (int i = 0; i < 16; ++i) {
        visuals::ScreenPalette[i].peRed = 255;
        visuals::ScreenPalette[i].peGreen = 255;
        visuals::ScreenPalette[i].peBlue = 255;
      }
      visuals::ApplyScreenPalette();
      visuals::PaletteState = 2;
      break;
    case 0x67: visuals::FadeToWhite(op(0)); break;
    case 0x68: visuals::FadeFromWhite(op(0)); break;
    case 0x69: visuals::Undim(); break;
    case 0x6A: visuals::Dim(); break;
    case 0x6B: visuals::FadeInDim(op(0)); break;
    case 0x6C: visuals::FadeOutDim(op(0)); break;
    case 0x80: sound::CdPlay(op(0)); break;
    case 0x81: sound::CdMarkFade(); break;
    case 0x82: sound::CdStop(); break;
    case 0x85: sound::CdFadeOut(); break;
    case 0x86: sound::CdWaitEnd(); break;
    case 0x87: SetFlag(flag::kQueuedMusic, op(0)); break;
    case 0xA0: sound::PcmLoad(op(0)); break;
    case 0xA1: sound::PcmUnload(); break;
    case 0xA2: sound::PcmPlay(op(0), static_cast<std::uint16_t>(op(1) * 20)); break;
    case 0xA3: sound::PcmStop(); break;
    case 0xA6:  // inside text the glyphs drawn so far are shown before the sound ends
      if (in_text) shell::Present(&visuals::UpdateRect);
      sound::PcmFinish();
      break;
    default:  // 0x83, 0x84, 0xA4, 0xA5 and opcodes that are not operations: nothing
      break;
  }
}

}  // namespace scenario
