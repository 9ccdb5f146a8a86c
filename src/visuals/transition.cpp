#include "visuals/transition.h"

namespace visuals {

void Transition(std::uint16_t) {}  // placeholder; waits for the screen transitions

}  // namespace visuals
