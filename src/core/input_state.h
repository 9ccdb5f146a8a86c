// The input that the message pump gathers and the waits read, and the game's random state.
#pragma once

#include <cstdint>

namespace core {

// Input events since a consumer last cleared them.
enum InputBit : std::uint16_t {
  kInputUp = 0x01,
  kInputRight = 0x02,
  kInputDown = 0x04,
  kInputLeft = 0x08,
  kInputCancel = 0x10,
  kInputDecide = 0x20,
  kInputSpace = 0x40,
  // The mouse wheel turned away from the reader, and towards: not in the original's input,
  // read by the backlog alone.
  kInputWheelUp = 0x80,
  kInputWheelDown = 0x100,
};

struct InputState {
  std::uint16_t InputEvents = 0;
  std::uint16_t MouseX = 0;
  std::uint16_t MouseY = 0;
  std::uint16_t RandomState = 0;
  // Skip: 1 while the skip command runs timed waits and click waits through.
  std::uint16_t SkipMode = 0;
  // The keys held at the last PollKeys.
  std::uint8_t KeysPrevious = 0;

  bool operator==(const InputState&) const = default;
};

// Process lifetime.
extern InputState Input;
void ResetInputState();

}  // namespace core
