// The layout of the text area: story text is written straight onto the whole screen
// picture, line by line from the top-left corner, on a 24-pixel pitch.
#pragma once

#include <cstdint>

#include "core/text_code_table.h"

namespace text {

constexpr std::uint16_t kPageLeft = 16;  // a page starts at (16, 10), left margin 16
constexpr std::uint16_t kPageTop = 10;
constexpr std::uint16_t kGlyphPitch = 24;
constexpr std::uint16_t kLinePitch = 30;
constexpr std::uint16_t kWrapX = 592;     // a glyph at this x or beyond starts a new line
constexpr std::uint16_t kMarginUnit = 8;  // the unit of the x code's operand

// Colours of the normal display: white ink, black shadow.
constexpr std::uint8_t kTextColour = 15;
constexpr std::uint8_t kTextShadow = 0;
// The text layer of the typewriter and the wave scenes: ink and shadow use bits 2 and 3 of
// a pixel only, so the background keeps bits 0 and 1.
constexpr std::uint8_t kLayerColour = 8;
constexpr std::uint8_t kLayerShadow = 4;

// A pen walking the layout: position, colours, the left margin a new line returns to, and
// whether the last glyph wrapped (so that a following new line adds no second line).
struct TextPen {
  std::uint16_t x = kPageLeft;
  std::uint16_t y = kPageTop;
  std::uint16_t colour = kTextColour;
  std::uint16_t shadow = kTextShadow;
  std::uint16_t left_margin = kPageLeft;
  bool wrapped = false;

  // Before a glyph: wrap when the glyph would start at kWrapX or beyond.
  void PlaceGlyph() {
    wrapped = false;
    if (x >= kWrapX) {
      wrapped = true;
      y = static_cast<std::uint16_t>(y + kLinePitch);
      x = left_margin;
    }
  }
  void AdvanceGlyph() { x = static_cast<std::uint16_t>(x + kGlyphPitch); }
  // TextCode::NewLine
  void NewLine() {
    if (wrapped) return;
    y = static_cast<std::uint16_t>(y + kLinePitch);
    x = left_margin;
  }
  // TextCode::CarriageReturn
  void ReturnToZero() {
    x = 0;
    if (!wrapped) y = static_cast<std::uint16_t>(y + kLinePitch);
  }
  // TextCode::SetX
  void SetMargin(std::uint8_t n) {
    x = static_cast<std::uint16_t>(n * kMarginUnit);
    left_margin = x;
  }

  bool operator==(const TextPen&) const = default;
};

// The pen codes: new line, carriage return, ink, shadow, x with the margin, and y. Whoever
// walks message text (the interpreter, the typewriter, the page redraw) moves its pen through
// here, so that a page drawn again lands where it was drawn the first time. Answers whether
// `item` was one of them; any other item leaves the pen as it is.
bool ApplyPenCode(TextPen& pen, const core::TextItem& item);

}  // namespace text
