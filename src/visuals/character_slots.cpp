#include "visuals/character_slots.h"

#include <algorithm>
#include <array>

#include "core/format_text.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "visuals/picture_files.h"
#include "visuals/scene_state.h"

namespace visuals {

void EmptySlot(int slot) {
  SetSlotPicture(slot, kNoCharacter);
  SetSlotLayer(slot, kNoLayer);
}

void EmptyAllSlots() {
  for (int slot = 0; slot < kSlotCount; ++slot) EmptySlot(slot);
}

// Ordering by the old layer (ties, which only a damaged saved game can hold, by slot number)
// keeps the stacking and gives every occupied slot a layer of its own.
void RenumberLayers() {
  std::array<int, kSlotCount> occupied{};
  int count = 0;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (SlotLayer(slot) != kNoLayer) occupied[count++] = slot;
  }
  std::stable_sort(occupied.begin(), occupied.begin() + count,
                   [](int a, int b) { return SlotLayer(a) < SlotLayer(b); });
  for (int layer = 0; layer < count; ++layer) {
    SetSlotLayer(occupied[layer], static_cast<std::uint8_t>(layer));
  }
}

void ShowCharacter(std::uint8_t slot, std::uint8_t picture) {
  // Slots 3 and above do not exist: there is no offset and no state byte for them.
  if (picture == kNoCharacter || slot >= kSlotCount) return;
  char name[16];
  core::FormatText(name, "C%02x.VGR", picture);
  DrawPictureFile(core::Screen.VbufDIB, name, SlotX[slot], 0);
  // The decode gave ScreenPalette the file's own colours; characters show in the scene's.
  core::PaletteCopy(core::Screen.ScreenPalette, core::Screen.BackgroundPalette);
  core::Screen.ScreenPalette[15] = PALETTEENTRY{255, 255, 255, PC_RESERVED};
  SetSlotPicture(slot, picture);
  SetSlotLayer(slot, kNoLayer);
  RenumberLayers();
  SetSlotLayer(slot, 2);
}

}  // namespace visuals
