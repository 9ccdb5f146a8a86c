// The message pump that every wait of the game runs, the input it gathers, the waits built
// on it, presenting, cursor placement and the game's random numbers. The input itself is
// core::Input (core/input_state.h).
#pragma once

#include <cstdint>

#include "core/input_state.h"
#include "platform/win32.h"

namespace core {

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

}  // namespace core
