// The title screen's pictures: the night by the river where the story's fireflies are
// (OP2_BACK.VGR, which the opening ends on), the title 「蛍」 over it and its reading (laid
// into the pictures of the centre box, title_menu_art.h). The title pictures are decoded one
// over the other and each one sets the screen's 16 colours, so they all carry the same
// palette, TitlePalette.
#pragma once

#include "artwork.h"

namespace demo_art {

// The shared colours of the title pictures. The menus and slot screens over the title draw
// their items in colour 4 (15 when highlighted), so 4 is the light of the moon, a pale
// colour that reads on the night like the other screens' grey.
enum TitleColour : std::uint8_t {
  kTitleBlack = 0,
  kTitleSkyTop = 1,  // the sky: 1, 2, 3, then 9, from the zenith down to the horizon's glow
  kTitleMoonlight = 4,
  kTitleHills = 5,
  kTitleBank = 6,
  kTitleGrass = 7,
  kTitleRiver = 8,
  kTitleSkyHorizon = 9,
  kTitleMoon = 10,
  kTitleFireflyHalo = 11,
  kTitleFireflyGlow = 12,
  kTitleFireflyCore = 13,
  kTitleGold = 14,
  kTitleWhite = 15,
};

authoring::Palette16 TitlePalette();

Artwork PaintTitleBack();      // OP2_BACK.VGR: the whole screen
Artwork PaintTitleLogo();      // the title alone, centred in the upper half
Artwork PaintTitleSubtitle();  // "HOTARU" under the title

}  // namespace demo_art
