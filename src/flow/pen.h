// The text pen the menus of the game flow start from.
#pragma once

#include <cstdint>

#include "core/game_state.h"
#include "text/text_state.h"

namespace flow {

// Moves the pen of the live record to (x, y); colour and shadow stay.
inline void SetPen(std::uint16_t x, std::uint16_t y) {
  text::TextPen pen = text::LoadPen(core::GameState);
  pen.x = x;
  pen.y = y;
  text::StorePen(core::GameState, pen);
}

}  // namespace flow
