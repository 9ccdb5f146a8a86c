#include "scenario/event_pictures.h"

namespace scenario {

void ShowEventPictureH(std::uint8_t) {}  // placeholder; waits for the event pictures
void ShowEventPictureV(std::uint8_t) {}  // placeholder; waits for the event pictures

}  // namespace scenario
