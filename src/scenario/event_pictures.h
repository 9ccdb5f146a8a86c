// Event pictures: the "H" and "V" pictures composed in VbufDIB, whose first showing is
// recorded for the gallery.
#pragma once

#include <cstdint>

namespace scenario {

void ShowEventPictureH(std::uint8_t n);
void ShowEventPictureV(std::uint8_t n);

}  // namespace scenario
