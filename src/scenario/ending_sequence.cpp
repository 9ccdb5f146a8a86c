#include "scenario/ending_sequence.h"

#include "core/game_phase.h"
#include "core/message_pump.h"
#include "core/palette_state.h"
#include "core/picture.h"
#include "core/shell_state.h"
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
  while (pos < credits.size() && credits[pos] != kTextEnd) {
    const auto line_end = MessageEnd(credits.data(), credits.size(), pos);
    if (!line_end) return credits.size();
    ShowText(160, 150, credits.data() + pos, 15, 0, false, false);
    pos = *line_end;
    shell::Present(&visuals::UpdateRect);
  }
  return pos < credits.size() ? pos + 1 : pos;
}

}  // namespace

void PlayEnding(std::uint8_t track) {
  flow::GamePhase = flow::kPhaseEnding;
  shell::SkipMode = 0;
  if (visuals::PaletteState == 3) visuals::Undim();

  shell::Wait(120);
  visuals::FadeOut(2);
  sound::CdMarkFade();
  sound::CdFadeOut();
  shell::Wait(60);

  sound::CdPlayOnce(track);
  visuals::ApplyBlack();
  visuals::ClearPictureAndShow(visuals::VmemDIB);
  visuals::ClearPicture(visuals::VbufDIB);
  std::uint32_t start = GetTickCount();
  // Each pause is measured from the end of the one before, as a step of an animation.
  auto pause = [&start](std::uint16_t count) {
    shell::WaitSince(start, count);
    start = GetTickCount();
  };

  const std::span<const std::uint8_t> credits = CreditText();
  std::size_t pos = 0;
  for (int page = 0; page < kCreditPages; ++page) {
    visuals::ShowBackground(kPageBackgrounds[page]);
    visuals::CopyPicture(visuals::VmemDIB, visuals::VbufDIB);
    shell::Present(nullptr);
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

  shell::WaitClick();
  visuals::FadeOutDim(1);
  shell::Wait(80);
  visuals::ClearPictureAndShow(visuals::VmemDIB);
  visuals::ClearPicture(visuals::VbufDIB);
  sound::CdMarkFade();
  sound::CdFadeOut();
}

}  // namespace scenario
