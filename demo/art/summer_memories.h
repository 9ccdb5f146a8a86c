// The event pictures of the story's last pages: the summer remembered.
#pragma once

#include "artwork.h"

namespace demo_art {

Artwork PaintFestivalLanterns();   // V03: lanterns over the festival's stalls
Artwork PaintWatermelonVeranda();  // V04: watermelon on the veranda, the garden beyond
Artwork PaintRiverProfile();       // H02: Hotaru's profile by the river at night
Artwork PaintRiceFieldRoad();      // H03: two children running down a road through the rice
Artwork PaintHotaruTurning();      // H04: Hotaru turning round among the fireflies

}  // namespace demo_art
