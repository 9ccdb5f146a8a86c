// Screen transitions: VbufDIB brought onto the shown picture step by step.
#pragma once

#include <cstdint>

namespace visuals {

void Transition(std::uint16_t n);

}  // namespace visuals
