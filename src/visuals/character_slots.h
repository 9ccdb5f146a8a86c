// The three character slots of the scene: pictures "C%02x.VGR" drawn over the background in
// VbufDIB with their transparent colour, and the drawing order of the occupied slots.
#pragma once

#include <cstdint>

namespace visuals {

// Horizontal offset of each slot, added to the picture file's own placement.
constexpr std::int16_t SlotX[3] = {0, 320, 160};

// Draws character picture `picture` into slot 0–2 (left, right, centre) on top of the
// scene; it becomes the top layer (2). Picture 255, or a slot number above 2, does nothing.
void ShowCharacter(std::uint8_t slot, std::uint8_t picture);
// Marks one slot, or all three, empty (picture and layer 255).
void EmptySlot(int slot);
void EmptyAllSlots();
// Closes the gaps in the layer numbers of the occupied slots, keeping their order, so that
// m occupied slots hold layers 0 … m − 1.
void RenumberLayers();

}  // namespace visuals
