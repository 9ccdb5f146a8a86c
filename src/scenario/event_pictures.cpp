#include "scenario/event_pictures.h"

#include "core/format_text.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "visuals/background.h"
#include "visuals/picture_files.h"

namespace scenario {
namespace {

// One kind of event picture: its file pattern, the record byte of the one composed, and the
// first flag of its seen bits.
struct EventPictureKind {
  const char* pattern;
  std::size_t shown_field;
  std::size_t other_field;
  std::uint8_t seen_flags;
};

constexpr EventPictureKind kH{"H%02d.VGR", core::field::kShownHPicture, core::field::kShownVPicture,
                              kSeenHPictures};
constexpr EventPictureKind kV{"V%02d.VGR", core::field::kShownVPicture, core::field::kShownHPicture,
                              kSeenVPictures};

// An event picture takes the place of the background: the scene has no background number
// and no kept copy, and the other kind's picture is gone.
void ShowEventPicture(const EventPictureKind& kind, std::uint8_t n) {
  visuals::SetBackgroundNumber(visuals::kNoBackground);
  visuals::ForgetBackground();
  core::SetU8(core::GameState, kind.other_field, core::kNoEventPicture);
  if (core::GetU8(core::GameState, kind.shown_field) == n) return;

  core::SetU8(core::GameState, kind.shown_field, n);
  visuals::SetColourEffect(0);
  core::ClearPicture(core::Screen.VbufDIB);
  if (n != 0) {
    if (n < kEventPictureBits) core::SetFlagBit(core::GameState, kind.seen_flags, n);
    char name[16];
    core::FormatText(name, kind.pattern, n);
    visuals::DrawPictureFile(core::Screen.VbufDIB, name, 0, 0);
    core::Screen.ScreenPalette[15] = PALETTEENTRY{255, 255, 255, PC_RESERVED};
  }
  core::PaletteCopy(core::Screen.PlainPalette, core::Screen.ScreenPalette);
  if (visuals::PendingColourEffect() != 0) {
    visuals::ApplyColourEffect(visuals::PendingColourEffect(), false);
    visuals::SetPendingColourEffect(0);
  }
}

}  // namespace

void ShowEventPictureH(std::uint8_t n) { ShowEventPicture(kH, n); }
void ShowEventPictureV(std::uint8_t n) { ShowEventPicture(kV, n); }

}  // namespace scenario
