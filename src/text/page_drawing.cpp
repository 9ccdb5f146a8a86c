#include "text/page_drawing.h"

#include <cstddef>

#include "core/memory_blocks.h"
#include "core/scenario_state.h"
#include "core/text_code_table.h"
#include "core/window_state.h"
#include "platform/win32.h"
#include "text/font.h"
#include "text/text_layout.h"
#include "text/text_state.h"

namespace text {
namespace {

// Draws the items of `text` from `from` until `to` or its end code, whichever comes first,
// moving `pen`. An item reaching past `size` ends the drawing.
void DrawItems(const std::uint8_t* text, std::size_t size, std::size_t from, std::size_t to,
               TextPen& pen) {
  core::TextItem item;
  for (std::size_t pos = from; pos < to && core::ScanTextItem(text, size, pos, &item);
       pos += item.length) {
    if (item.kind == core::TextItemKind::kEnd) break;
    if (item.kind == core::TextItemKind::kGlyph) {
      pen.PlaceGlyph();
      if (item.glyph != 0 && item.glyph != kBlankGlyphAlias) {
        DrawGlyph(static_cast<std::int16_t>(pen.x), static_cast<std::int16_t>(pen.y),
                  static_cast<std::int16_t>(item.glyph), static_cast<std::uint8_t>(pen.colour),
                  static_cast<std::uint8_t>(pen.shadow));
      }
      pen.AdvanceGlyph();
      continue;
    }
    ApplyPenCode(pen, item);  // every other code and operation is passed over
  }
}

// MESSAGE DATA's address and size; null when no scenario is loaded.
const std::uint8_t* MessageBlock(std::size_t* size) {
  const auto* base =
      static_cast<const std::uint8_t*>(core::MemLockOnce(core::Scenario.MessageData));
  *size = base == nullptr ? 0 : GlobalSize(core::Scenario.MessageData);
  return base;
}

// The offset of `address` in a block, or nothing when it lies outside.
bool OffsetIn(const std::uint8_t* base, std::size_t size, const std::uint8_t* address,
              std::size_t* offset) {
  if (base == nullptr || address < base || address > base + size) return false;
  *offset = static_cast<std::size_t>(address - base);
  return true;
}

void RepaintWindow() { InvalidateRect(core::Window.MainWindow, nullptr, FALSE); }

}  // namespace

void RedrawPage(const std::uint8_t* end) {
  using core::GameState;
  using core::ResumeState;
  text::SetPageStart(GameState, text::PageStart(ResumeState));
  TextPen pen = text::LoadPen(ResumeState);
  std::size_t size = 0;
  std::size_t stop = 0;
  const std::uint8_t* base = MessageBlock(&size);
  if (OffsetIn(base, size, end, &stop)) {
    DrawItems(base, size, text::PageStart(ResumeState), stop, pen);
  }
  text::StorePen(GameState, pen);
  RepaintWindow();
}

void DrawMessageBlock(std::uint16_t x, std::uint16_t y, const std::uint8_t* text,
                      std::uint16_t colour, std::uint16_t shadow) {
  std::size_t size = 0;
  std::size_t start = 0;
  const std::uint8_t* base = MessageBlock(&size);
  if (!OffsetIn(base, size, text, &start)) start = size;
  DrawMessageBlock(core::Scenario.MessageData, x, y, start, colour, shadow);
}

void DrawMessageBlock(core::MemHandle block, std::uint16_t x, std::uint16_t y, std::size_t offset,
                      std::uint16_t colour, std::uint16_t shadow) {
  TextPen pen;
  pen.x = x;
  pen.left_margin = x;
  pen.y = y;
  pen.colour = colour;
  pen.shadow = shadow;
  const auto* base = static_cast<const std::uint8_t*>(core::MemLockOnce(block));
  const std::size_t size = base == nullptr ? 0 : GlobalSize(block);
  if (offset < size) DrawItems(base, size, offset, size, pen);
  RepaintWindow();
}

}  // namespace text
