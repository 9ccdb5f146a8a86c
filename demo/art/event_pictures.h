// The demo story's event pictures: whole-screen moments with colours of their own, which
// the title's gallery shows once they have been seen.
#pragma once

#include "artwork.h"

namespace demo_art {

Artwork PaintFirefliesByTheRiver();  // H01: Hotaru, seen from behind, among fireflies by the river
Artwork PaintFireworks();            // V01: fireworks over the town, two friends watching
Artwork PaintSunsetHill();           // V02: the sun going down behind a hill with a lone tree

}  // namespace demo_art
