#include "scenario/ending_sequence.h"

#include "core/game_phase.h"
#include "core/input_state.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "core/text_code_table.h"
#include "scenario/ending_credits.h"
#include "scenario/message_text.h"
#include "sound/cd_audio.h"
#include "visuals/background.h"
#include "visuals/palette_fades.h"
#include "visuals/screen_show.h"

namespace scenario {
namespace {

constexpr std::uint8_t kPageBackgrounds[kCreditPages] = {1,  6,  7,  8,  9,  12, 15,
                                                         16, 17, 19, 24, 27, 45, 11};

// Prints the lines of the page at `pos` of the credits and answers the offset of the next
// page. The credits are walked with the text scanner, so a page without its end stops at
// the end of the text instead of reading past it.
std::size_t PrintPage(std::span<const std::uint8_t> credits, std::size_t pos) {
  while (pos < credits.size() && credits[pos] != core::kTextEnd) {
    const auto line_end = core::MessageEnd(credits.data(), credits.size(), pos);
    if (!line_end) return credits.size();
    ShowText(160, 150, credits.data() + pos, 15, 0, false, false);
    pos = *line_end;
    core::Present(&core::Screen.UpdateRect);
  }
  return pos < credits.size() ? pos + 1 : pos;
}

}  // namespace

void PlayEnding(std::uint8_t track) {
  core::Phase.GamePhase = core::kPhaseEnding;
  core::Input.SkipMode = 0;
  if (core::Screen.PaletteState == 3) visuals::Undim();

  core::Wait(120);
  visuals::FadeOut(2);
  sound::CdMarkFade();
  sound::CdFadeOut();
  core::Wait(60);

  sound::CdPlayOnce(track);
  visuals::ApplyBlack();
  visuals::ClearPictureAndShow(core::Screen.VmemDIB);
  core::ClearPicture(core::Screen.VbufDIB);
  std::uint32_t start = GetTickCount();
  // Each pause is measured from the end of the one before, as a step of an animation.
  auto pause = [&start](std::uint16_t count) {
    core::WaitSince(start, count);
    start = GetTickCount();
  };

  const std::span<const std::uint8_t> credits = CreditText();
  std::size_t pos = 0;
  for (int page = 0; page < kCreditPages; ++page) {
    visuals::ShowBackground(kPageBackgrounds[page]);
    core::CopyPicture(core::Screen.VmemDIB, core::Screen.VbufDIB);
    core::Present(nullptr);
    pause(120);
    visuals::FadeIn(1);
    pause(240);
    visuals::Dim();
    pause(80);
    pos = PrintPage(credits, pos);
    if (page == kCreditPages - 1) break;
    pause(520);
    visuals::FadeOutDim(1);
  }

  core::WaitClick();
  visuals::FadeOutDim(1);
  core::Wait(80);
  visuals::ClearPictureAndShow(core::Screen.VmemDIB);
  core::ClearPicture(core::Screen.VbufDIB);
  sound::CdMarkFade();
  sound::CdFadeOut();
}

}  // namespace scenario
