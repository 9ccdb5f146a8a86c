// The maker's logo and the title menu's own pictures over the title scene.
#pragma once

#include "artwork.h"

namespace demo_art {

Artwork PaintMakerLogo();        // VELA.VGR: the maker's name, its bands cycled by the logo
Artwork PaintTitleBeforeMenu();  // TITLE2.VGR: the scene and the title in the centre box
Artwork PaintTitleMenuPlates();  // TITLE2_.VGR: dark plates where the title menu's items go
Artwork PaintTitleNight();       // TITLE_.VGR: the centre box with the night alone
Artwork PaintTitleWithMenu();    // TITLE.VGR: the title and the menu's plates in the box

}  // namespace demo_art
