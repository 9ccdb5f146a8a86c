// Backgrounds 7, 8, 9, 11, 12, 15, 16, 17, 19, 24, 27 and 45: the story's places again, in
// the colourings the ending's pages and the music mode give them.
#pragma once

#include <vector>

#include "catalogue.h"

namespace demo_art {

const std::vector<CatalogueEntry>& EndingBackgrounds();

}  // namespace demo_art
