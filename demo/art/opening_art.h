// The opening's art. Its data layers are 8-bit values mixed into the screen by bits, so
// each one uses only its own values: the sliding layers 0 … 3 (bits 0–1), the overlay
// layers 0, 4, 8, 12 (bits 2–3), the cloud layer 0 … 3 over a picture that uses 0, 4, 8,
// 12 and 15 (15 is masked out of the clouds and shows black). The layers are written as
// packed data blocks (.SDT) with rows bottom-up, the picture as a picture file.
#pragma once

#include <vector>

#include "artwork.h"
#include "pixel_kit.h"

namespace demo_art {

Artwork PaintOpeningNight();   // OP2_MN_W.VGR: the moon over the hills, under the clouds
Artwork PaintOpeningClouds();  // OP2_KM_W.SDT: 1280 × 400 clouds, seamless across
Artwork PaintHotaruProfile();  // OP1W.SDT: pass 1's sliding layer, Hotaru's profile
Artwork PaintLanterns();       // OP2W.SDT: pass 1's overlay, festival lanterns
Artwork PaintSparks();         // OP3W.SDT: pass 2's overlay, fireworks' falling sparks
Artwork PaintSunsetTree();     // OP4W.SDT: pass 2's sliding layer, the hill's lone tree

// A data layer from its canvas; the colours are those its previews are shown in.
Artwork FinishOpeningLayer(const char* name, const PixelCanvas& canvas,
                           const authoring::Palette16& preview_colours);

// The bytes a data layer's block holds: its rows bottom-up.
std::vector<std::uint8_t> LayerBytes(const Artwork& layer);

}  // namespace demo_art
