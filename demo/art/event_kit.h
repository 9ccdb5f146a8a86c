// What the event pictures are painted with. An event picture fills the screen and brings
// its own 16 colours (colour 15 always shows white), so each one registers ramps over a
// palette made for it.
#pragma once

#include "artwork.h"
#include "painting.h"

namespace demo_art {

// A palette from 4-bit red, green, blue triples; colour 15 is white whatever is given.
authoring::Palette16 EventPalette(const std::uint8_t (&colours)[16][3]);

// A point of light whose halo is dithered into what is already there: inside `radius` a
// pixel takes the `glow` ramp, at a tone rising towards `peak` at the centre, with a chance
// that falls off with the distance. Within `core` every pixel is at the peak, which by
// default is the ramp's last colour.
void Sparkle(Painting* p, Point centre, double radius, double core, std::uint8_t glow,
             double peak = 9);

// The finished picture file's content: "H%02d.VGR" or "V%02d.VGR" (`kind` 'H' or 'V').
Artwork FinishEventPicture(const Painting& painting, char kind, int number,
                           const authoring::Palette16& palette);

}  // namespace demo_art
