// The ending sequence of opcode 0x95: fourteen pages, each a background faded in and dimmed
// with a page of the credits over it, to music played once.
#pragma once

#include <cstdint>

namespace scenario {

void PlayEnding(std::uint8_t track);

}  // namespace scenario
