// The frames of the claw and blood effects and the red scene the blood ends on. They are
// painted with whole numbers only (fixed point where a fraction is needed), so the same
// bytes come out of every build.
#pragma once

#include "artwork.h"

namespace demo_art {

// CLAW01W–CLAW04W: three claw marks torn from the upper right to the lower left, longer
// in every frame, white-hot at first and blood red at the end. CLAW05W–CLAW11W: a second,
// wider blow of four marks from the upper left, ending in the red that the screen then
// flashes (colour 1 of the last frame).
Artwork PaintClawFrame(int n);
// BLDW0–BLDW3: blood splashing over the dark, the drops spreading and running down.
Artwork PaintBloodFrame(int n);
// S40: the red that is left, a dark red screen with a black shade at its edges and black
// runs from the top. All three of its table colours are the same dark red.
Artwork PaintRedOut();

}  // namespace demo_art
