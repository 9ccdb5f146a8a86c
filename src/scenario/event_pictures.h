// Event pictures: the "H" and "V" pictures composed in VbufDIB in place of a background,
// whose first showing is recorded for the gallery.
#pragma once

#include <cstdint>

#include "core/flags.h"
#include "core/game_state.h"

namespace scenario {

// The seen bits: picture n < 80 has bit n of the 80-bit set starting at these flags.
constexpr std::uint8_t kSeenVPictures = 70;
constexpr std::uint8_t kSeenHPictures = 80;
constexpr int kEventPictureBits = 80;

// The event picture of each kind composed now; 255 none.
inline std::uint8_t ShownHPicture() { return core::GameState[core::field::kShownHPicture]; }
inline std::uint8_t ShownVPicture() { return core::GameState[core::field::kShownVPicture]; }
// True when "H" (or "V") picture n is the one composed (the text's picture change skips it).
inline bool IsHPictureShown(std::uint8_t n) { return ShownHPicture() == n; }
inline bool IsVPictureShown(std::uint8_t n) { return ShownVPicture() == n; }

// Whether picture n has been shown in the play that `record` holds; false for n ≥ 80.
inline bool HPictureSeen(const core::GameStateRecord& record, std::uint8_t n) {
  return n < kEventPictureBits && core::FlagBit(record, kSeenHPictures, n);
}
inline bool VPictureSeen(const core::GameStateRecord& record, std::uint8_t n) {
  return n < kEventPictureBits && core::FlagBit(record, kSeenVPictures, n);
}

// Composes "H%02d.VGR" (or "V%02d.VGR") in VbufDIB, alone, in place of the background; n = 0
// composes an empty black picture. Nothing happens when picture n of that kind is already
// composed. The picture is not shown: a transition or show operation brings it up.
void ShowEventPictureH(std::uint8_t n);
void ShowEventPictureV(std::uint8_t n);

}  // namespace scenario
