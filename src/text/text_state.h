// The text layer's state: what the game state record keeps so that a page can be redrawn
// and saved, and the layer's own state of the run (the font, the backlog viewer's cache,
// the typewriter and the waves).
#pragma once

#include <cstdint>

#include "core/game_state.h"
#include "core/memory_blocks.h"
#include "text/text_layout.h"

namespace text {

// The typewriter's run (typewriter.h); set whole by TypeStart.
struct TypewriterState {
  bool active = false;
  std::uint32_t offset = 0;        // the next item, as an offset into MESSAGE DATA
  TextPen pen;                     // position, margin, wrap; the colours are kept but not drawn
  std::uint8_t glyph_delay = 0;    // frames to let pass after each drawn glyph
  std::uint8_t delay_counter = 0;  // frames still to let pass
  bool waiting = false;            // at a reader wait, blinking the cursor
  std::int16_t cursor = 0;         // the cursor glyph of that wait (223 line, 226 page)
  bool cursor_shown = false;
  std::uint8_t blink_counter = 0;  // frames until the cursor toggles

  bool operator==(const TypewriterState&) const = default;
};

// Where the last wave scene of a direction (wave_text_scene.h) left its wave: phase in
// degrees (0 … 359) and amplitude (0 … 128). A scene that does not open from a still
// picture goes on from here.
struct WaveMotion {
  std::uint16_t phase = 0;
  std::uint16_t amplitude = 0;

  bool operator==(const WaveMotion&) const = default;
};

struct TextState {
  // The font file's block; 0 until InitResources has loaded it.
  core::MemHandle FontData = 0;

  // The backlog viewer's cache: the unpacked message texts ("VIEW MES DATA") of one
  // scenario and its number (255 none). Lives while the viewer runs; empty outside it.
  core::MemHandle ViewMessages = 0;
  std::uint8_t ViewScenario = 255;

  // The typewriter inactive, every field at its start value.
  TypewriterState Typewriter;

  // Indexed by WaveDirection. Both waves stand still at phase 0 until their first scene.
  WaveMotion WaveMotions[2];

  bool operator==(const TextState&) const = default;
};

// Process lifetime.
extern TextState Text;
// A fresh TextState. The font and the viewer's blocks are forgotten, not freed: the block
// table's owner frees them (core::MemInit).
void ResetTextState();

// The text kept in the game state record: the message-start offset of the current page
// and the pen's x, y, colour and shadow colour. In GameState they are live; in ResumeState
// they are the page start.

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
