#include <array>

#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "flow/title_items.h"
#include "scenario/item_selector.h"
#include "scenario/message_text.h"
#include "sound/cd_audio.h"
#include "text/fixed_texts.h"
#include "visuals/background.h"
#include "visuals/display_effects.h"
#include "visuals/palette_fades.h"
#include "visuals/transition.h"

namespace flow {

const std::uint8_t MusicList[kMusicCount] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                             13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25};
const std::int16_t MusicKind[kMusicCount] = {2, 1, 2, 1, 2, 1, 0, 0, 0, 3, 0, 1, 1,
                                             0, 4, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 2};

namespace {

constexpr std::uint8_t kMusicBackground = 8;
constexpr std::uint16_t kPlayingLine = 100;
constexpr std::uint16_t kSelectedLine = 200;
enum MusicCommand : std::int16_t { kPrevious = 0, kPlay = 1, kNext = 2 };

void DrawText(std::uint16_t x, std::uint16_t y, const std::uint8_t* text) {
  scenario::ShowText(x, y, text, 15, 0, false, false);
}

// The heading and the two lines' labels and separators.
void DrawFrame() {
  DrawText(260, 32, text::kMusicHeading);
  core::Present(&core::Screen.UpdateRect);
  DrawText(96, kPlayingLine, text::kMusicPlayingLabel);
  DrawText(96, kPlayingLine + 30, text::kMusicSeparator);
  core::Present(&core::Screen.UpdateRect);
  MusicModeLine(0, kPlayingLine);
  DrawText(96, kSelectedLine, text::kMusicSelectLabel);
  DrawText(96, kSelectedLine + 30, text::kMusicSeparator);
  core::Present(&core::Screen.UpdateRect);
}

}  // namespace

void MusicModeLine(int i, std::uint16_t y) {
  // The font's digit glyphs are consecutive: the template's two digits become i's.
  std::array<std::uint8_t, text::kMusicNumberLength> number;
  std::copy(text::kMusicNumber, text::kMusicNumber + text::kMusicNumberLength, number.begin());
  number[1] = static_cast<std::uint8_t>(number[1] + i / 10);
  number[3] = static_cast<std::uint8_t>(number[3] + i % 10);

  RECT& area = core::Screen.UpdateRect;
  core::RectSet(&area, 240, y, 602, y + 54);
  core::CopyPictureRect(core::Screen.VmemDIB, core::Screen.VbufDIB, &area);
  DrawText(240, y, number.data());
  DrawText(384, y, text::kMusicTitles[i]);
  DrawText(240, static_cast<std::uint16_t>(y + 30), text::kMusicKinds[MusicKind[i]]);
  core::Present(&core::Screen.UpdateRect);
}

int MusicMode() {
  visuals::ShowBackground(kMusicBackground);
  sound::CdStop();
  sound::CdPlayOnce(MusicList[0]);
  visuals::Transition(0);
  core::Wait(30);
  visuals::Dim();
  DrawFrame();

  int i = 0;
  MusicModeLine(i, kSelectedLine);
  scenario::ItemSelection commands;
  commands.items = text::kMusicCommands;
  commands.cancel_answers = true;
  commands.pointer = false;
  for (;;) {
    switch (scenario::SelectItem(commands)) {
      case kPrevious:
        i = i == 0 ? kMusicCount - 1 : i - 1;
        MusicModeLine(i, kSelectedLine);
        break;
      case kPlay:
        MusicModeLine(i, kPlayingLine);
        sound::CdStop();
        sound::CdPlayOnce(MusicList[i]);
        break;
      case kNext:
        i = i == kMusicCount - 1 ? 0 : i + 1;
        MusicModeLine(i, kSelectedLine);
        break;
      default:
        visuals::ClearScene(0);
        sound::CdStop();
        return 1;
    }
  }
}

}  // namespace flow
