// The message pump that every wait of the game runs, the input it gathers, the waits built
// on it, presenting, cursor placement and the game's random numbers.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace shell {

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

// Process lifetime.
extern std::uint16_t InputEvents;
extern std::uint16_t MouseX;
extern std::uint16_t MouseY;
extern std::uint16_t RandomState;
// The process-start values of the four above (the game resets them once, before the window).
void ResetInputState();

int PumpMessage();
void PollKeys();
void Wait(std::uint16_t count);
void WaitSince(std::uint32_t start, std::uint16_t count);
int WaitInputSince(std::uint32_t start, std::uint16_t count);
void WaitClick();
void WaitAnyButton();
void ClearInput();
void PlaceCursor(std::uint16_t x, std::uint16_t y);
// Repaints the whole window (null) or a rectangle of the picture, which is then reset to the
// empty rectangle; an empty rectangle repaints nothing.
void Present(RECT* rect);
std::uint8_t Random(std::uint16_t mode);

// Called after every look at the queue; set by the sound subsystem's owner at start-up
// (shell::ConnectLayers) to the CD's status poll.
extern void (*PollCdHook)();

}  // namespace shell
