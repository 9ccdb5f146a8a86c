#include <array>
#include <cstdio>

#include "core/game_state.h"
#include "core/input_state.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "flow/title_items.h"
#include "scenario/event_pictures.h"
#include "scenario/save_slots.h"
#include "visuals/palette_fades.h"
#include "visuals/picture_files.h"

namespace flow {
namespace {

constexpr int kGalleryPictures = 80;
using SeenSet = std::array<std::uint8_t, kGalleryPictures / 8>;

// The seen bits of every save file together. A missing file, one of another size or one
// that fails its seal adds nothing: an empty slot never ends the program.
void ReadSeenPictures(SeenSet* v, SeenSet* h) {
  for (int slot = 0; slot < scenario::kSlotCount; ++slot) {
    core::GameStateRecord record;
    if (!scenario::ReadUnsealedSlot(slot, record)) continue;
    for (std::size_t i = 0; i < v->size(); ++i) {
      (*v)[i] |= record[core::field::kFlags + scenario::kSeenVPictures + i];
      (*h)[i] |= record[core::field::kFlags + scenario::kSeenHPictures + i];
    }
  }
}

// Shows the seen pictures of one kind in ascending number. Answers false when the reader
// cancelled.
bool ShowSeen(const SeenSet& seen, char kind) {
  for (int n = 0; n < kGalleryPictures; ++n) {
    if (((seen[static_cast<std::size_t>(n / 8)] >> (n % 8)) & 1) == 0) continue;
    char name[16];
    std::snprintf(name, sizeof name, "%c%02d.VGR", kind, n);
    core::ClearPicture(core::Screen.VmemDIB);
    visuals::DrawPictureFile(core::Screen.VmemDIB, name, 0, 0);
    core::Present(nullptr);
    visuals::FadeIn(2);
    core::WaitAnyButton();
    const bool cancelled = (core::Input.InputEvents & core::kInputCancel) != 0;
    visuals::FadeOut(2);
    if (cancelled) return false;
  }
  return true;
}

}  // namespace

void Gallery() {
  visuals::SavePalette();
  visuals::ApplyBlack();
  SeenSet v{}, h{};
  ReadSeenPictures(&v, &h);
  core::ClearInput();
  if (ShowSeen(v, 'V')) ShowSeen(h, 'H');
  visuals::RestorePalette();
}

}  // namespace flow
