#include "scenario/message_text.h"

namespace scenario {

// placeholder; waits for the message text interpreter (draws nothing, never cut short)
const std::uint8_t* ShowText(std::uint16_t, std::uint16_t, const std::uint8_t* text,
                             std::uint16_t, std::uint16_t, bool, bool) {
  return text;
}

}  // namespace scenario
