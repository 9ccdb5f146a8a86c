// The text state kept in the game state record, so that a page can be redrawn and saved:
// the message-start offset of the current page and the pen's x, y, colour and shadow
// colour. In GameState they are live; in ResumeState they are the page start.
#pragma once

#include <cstdint>

#include "core/game_state.h"
#include "text/text_layout.h"

namespace text {

inline std::uint16_t PageStart(const core::GameStateRecord& r) {
  return core::GetU16(r, core::field::kPageStart);
}
inline void SetPageStart(core::GameStateRecord& r, std::uint16_t offset) {
  core::SetU16(r, core::field::kPageStart, offset);
}

// The pen's four stored fields; the left margin starts at x and nothing has wrapped.
inline TextPen LoadPen(const core::GameStateRecord& r) {
  TextPen pen;
  pen.x = core::GetU16(r, core::field::kTextX);
  pen.y = core::GetU16(r, core::field::kTextX + 2);
  pen.colour = core::GetU16(r, core::field::kTextX + 4);
  pen.shadow = core::GetU16(r, core::field::kTextX + 6);
  pen.left_margin = pen.x;
  return pen;
}
inline void StorePen(core::GameStateRecord& r, const TextPen& pen) {
  core::SetU16(r, core::field::kTextX, pen.x);
  core::SetU16(r, core::field::kTextX + 2, pen.y);
  core::SetU16(r, core::field::kTextX + 4, pen.colour);
  core::SetU16(r, core::field::kTextX + 6, pen.shadow);
}

}  // namespace text
