// The demo story's backgrounds, one painter per scene. Each picture shows in the four
// colourings of the background table: background n = p, p + 50, p + 100, p + 150 for
// picture p.
#pragma once

#include "artwork.h"

namespace demo_art {

inline constexpr int kNightFieldPicture = 1;
inline constexpr int kRiversidePicture = 2;
inline constexpr int kRoomPicture = 3;
inline constexpr int kSkyPicture = 4;
inline constexpr int kStreetPicture = 5;
inline constexpr int kShrinePicture = 6;

Artwork PaintNightField();  // a field at night under a crescent moon, fireflies over the grass
Artwork PaintRiverside();   // a river under the full moon, reeds on the near bank, a bridge
Artwork PaintRoom();        // a Japanese room: shoji window, tatami, a low table, a paper lamp
Artwork PaintSky();         // a summer sky with towering clouds over roofs and power lines
Artwork PaintStreet();      // a small-town street at dusk: houses, poles, a lamp, a vending machine
Artwork PaintShrine();      // stone steps up to a torii gate between tall cedars, lanterns

}  // namespace demo_art
