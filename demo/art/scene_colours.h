// The colours the game shows the demo pictures in, taken from the game's own tables, so
// that the palettes written into the files and the previews match what a player sees.
#pragma once

#include <cstdint>
#include <vector>

#include "authoring/picture_file.h"
#include "authoring/png_io.h"

namespace demo_art {

// Character pictures leave this colour around the figure; the game skips it when drawing.
// Colour 0 is the background's black, which no figure needs.
inline constexpr std::uint8_t kCharacterTransparent = 0;
// The colours a figure may use: the base palette's, shared by every scene.
inline constexpr std::uint8_t kFirstFigureColour = 4;
inline constexpr std::uint8_t kLastFigureColour = 14;

// The scene palette of background n (0–199) as the game builds it: the base palette with
// colours 1–3 from the background table, colour 0 black and colour 15 white.
std::vector<authoring::Rgb8> ScenePalette(int n);

// The same with the 4-bit channels a picture file stores.
authoring::Palette16 ScenePalette16(int n);

// The palette with colours 0–14 at 10/15 brightness, as the game dims the scene while
// text is up; the text's white (colour 15) stays.
std::vector<authoring::Rgb8> Dimmed(std::vector<authoring::Rgb8> palette);

}  // namespace demo_art
