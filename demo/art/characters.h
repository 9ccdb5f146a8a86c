// The demo story's characters, waist up, one picture each (C%02x.VGR).
#pragma once

#include "artwork.h"

namespace demo_art {

inline constexpr int kHotaruPicture = 1;         // the girl in the indigo yukata
inline constexpr int kSoutaPicture = 2;          // the boy in a white shirt
inline constexpr int kNatsumiPicture = 3;        // the friend with a ponytail
inline constexpr int kHotaruSmilingPicture = 4;  // the girl again, smiling

Artwork PaintHotaru();
Artwork PaintSouta();
Artwork PaintNatsumi();
Artwork PaintHotaruSmiling();

}  // namespace demo_art
