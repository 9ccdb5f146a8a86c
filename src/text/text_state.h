// The text state kept in the game state record, so that a page can be redrawn and saved:
// the message-start offset of the current page and the pen's x, y, colour and shadow
// colour. In GameState they are live; in ResumeState they are the page start.
#pragma once

#include <cstdint>

#include "core/game_state.h"
#include "text/text_layout.h"

namespace scenario {

inline std::uint16_t PageStart(const GameStateRecord& r) { return GetU16(r, field::kPageStart); }
inline void SetPageStart(GameStateRecord& r, std::uint16_t offset) {
  SetU16(r, field::kPageStart, offset);
}

// The pen's four stored fields; the left margin starts at x and nothing has wrapped.
inline text::TextPen LoadPen(const GameStateRecord& r) {
  text::TextPen pen;
  pen.x = GetU16(r, field::kTextX);
  pen.y = GetU16(r, field::kTextX + 2);
  pen.colour = GetU16(r, field::kTextX + 4);
  pen.shadow = GetU16(r, field::kTextX + 6);
  pen.left_margin = pen.x;
  return pen;
}
inline void StorePen(GameStateRecord& r, const text::TextPen& pen) {
  SetU16(r, field::kTextX, pen.x);
  SetU16(r, field::kTextX + 2, pen.y);
  SetU16(r, field::kTextX + 4, pen.colour);
  SetU16(r, field::kTextX + 6, pen.shadow);
}

}  // namespace scenario
