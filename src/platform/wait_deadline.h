// The tick a wait of the game is waiting for, so that the platform can sleep until then
// instead of waking every millisecond to let the game look at the clock.
#pragma once

#include <cstdint>
#include <optional>

namespace platform {

// The first tick count at which the running wait ends (none: no timed wait runs). The wait
// itself still reads the clock and decides; this only tells the backend when to look.
void SetWaitDeadline(std::optional<std::uint32_t> tick);
std::optional<std::uint32_t> WaitDeadline();

}  // namespace platform
