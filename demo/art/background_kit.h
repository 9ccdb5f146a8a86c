// What every background is painted with: one ramp over colours 0–3 (black, then the
// background's three colours from dark to light, in every colouring of the table) and a
// few elements that several scenes share.
#pragma once

#include <cstdint>

#include "artwork.h"
#include "painting.h"

namespace demo_art {

// The ramp of every background pixel; tones run from 0 (black) to 3 (the lightest colour).
inline constexpr std::uint8_t kSceneRamp = 1;
inline Ink Tone(double tone) { return Ink{kSceneRamp, static_cast<float>(tone)}; }

// A full-screen canvas with the scene ramp registered.
Painting NewBackground();

// Raises the tone around `centre` by up to `strength`, fading out at `radius`: the light of
// a lamp, a firefly or the moon.
void Glow(Painting* painting, Point centre, double radius, double strength);

// A line of hills or tree tops: the y of the ridge at x, around `base`, rising and falling
// by up to `amplitude`, with bumps about `width` pixels apart.
double Ridge(double x, double base, double amplitude, double width, std::uint32_t seed);

// Fills everything below the ridge with paint(x, y).
template <class RidgeFn, class PaintFn>
void FillBelow(Painting* painting, RidgeFn ridge, PaintFn paint) {
  for (int x = 0; x < painting->width(); ++x) {
    const double top = ridge(x + 0.5);
    for (int y = 0; y < painting->height(); ++y) {
      if (y + 0.5 >= top) painting->at(x, y) = paint(x, y);
    }
  }
}

// The finished picture file's content: background picture `picture` (S%02d.VGR), placed
// at the screen's corner, with the colours of its first colouring.
Artwork FinishBackground(const Painting& painting, int picture);

}  // namespace demo_art
