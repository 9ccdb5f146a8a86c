// State of the composed scene: background number, the kept background copy, the three
// character slots and the colour effect. The numbers are bytes of the live game state
// record, so a save carries them; the accessors here name them. The palettes of the scene
// (BackgroundPalette, PlainPalette, PreviousPalette) are with the other palettes in
// core/screen_state.h.
#pragma once

#include <cstdint>

#include "core/flags.h"
#include "core/game_state.h"
#include "core/memory_blocks.h"
#include "core/screen_state.h"
#include "visuals/background_table.h"

namespace visuals {

constexpr std::uint8_t kNoBackground = 255;  // BackgroundNumber, StoredBackground
constexpr std::uint8_t kNoCharacter = 255;   // SlotPicture of an empty slot
constexpr std::uint8_t kNoLayer = 255;       // SlotLayer of an empty slot
constexpr int kSlotCount = 3;                // 0 left, 1 right, 2 centre

// The pixels of the current background ("BACK GRP", 256000 bytes laid out as a Picture's
// pixels), or 0. From the ShowBackground that loads a picture until the next picture,
// ForgetBackground or a game restore.
inline core::MemHandle& BackgroundCopy = core::Screen.BackgroundBlock;

// Background of the composed scene; 255 none.
inline std::uint8_t BackgroundNumber() { return core::GameState[core::field::kBackgroundNumber]; }
inline void SetBackgroundNumber(std::uint8_t n) {
  core::GameState[core::field::kBackgroundNumber] = n;
}
// True when background n is the one composed (the text's background change skips it then).
inline bool IsBackgroundShown(std::uint8_t n) { return BackgroundNumber() == n; }

// Background whose pixels BackgroundCopy holds; 255 none.
inline std::uint8_t StoredBackground() { return core::GameState[core::field::kStoredBackground]; }
inline void SetStoredBackground(std::uint8_t n) {
  core::GameState[core::field::kStoredBackground] = n;
}

// Per slot (0–2): the place in the drawing order (0 drawn first, 255 empty) and the
// character picture shown (255 none). Slot numbers of 3 and above read as empty and are not
// written.
inline std::uint8_t SlotLayer(int slot) {
  return slot >= 0 && slot < kSlotCount ? core::GameState[core::field::kSlotLayer + slot]
                                        : kNoLayer;
}
inline std::uint8_t SlotPicture(int slot) {
  return slot >= 0 && slot < kSlotCount ? core::GameState[core::field::kSlotPicture + slot]
                                        : kNoCharacter;
}
inline void SetSlotLayer(int slot, std::uint8_t layer) {
  if (slot >= 0 && slot < kSlotCount) core::GameState[core::field::kSlotLayer + slot] = layer;
}
inline void SetSlotPicture(int slot, std::uint8_t picture) {
  if (slot >= 0 && slot < kSlotCount) core::GameState[core::field::kSlotPicture + slot] = picture;
}

// Colour effect of the scene palette (0 none, 1–6 the effects, above 6 recorded only).
inline std::uint8_t ColourEffect() { return core::GameState[core::field::kColourEffect]; }
inline void SetColourEffect(std::uint8_t kind) {
  core::GameState[core::field::kColourEffect] = kind;
}
// Colour effect the next background or event picture applies without fading (flag 102).
inline std::uint8_t PendingColourEffect() { return core::Flag(core::flag::kPendingColourEffect); }
inline void SetPendingColourEffect(std::uint8_t kind) {
  core::SetFlag(core::flag::kPendingColourEffect, kind);
}

}  // namespace visuals
