#include "text/typewriter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "core/flags.h"
#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "core/text_code_table.h"
#include "core/window_state.h"
#include "text/font.h"

namespace text {

namespace {

constexpr std::uint8_t kTextBitsCleared = 3;  // a pixel modulo 4: the background's bits

bool SeenTextFast() { return core::Settings.Skip != 0 && core::Scenario.SkipAllowed == 1; }

// The text layer taken out of the 26 × 26 cell at the pen: the cursor disappears. The cell
// is clipped to the picture the way DrawGlyph clips it.
void ClearCursorCell() {
  std::uint8_t* picture = core::LockPicture(core::Screen.VmemDIB);
  if (picture == nullptr) return;
  const int x = static_cast<std::int16_t>(Text.Typewriter.pen.x);
  const int y = static_cast<std::int16_t>(Text.Typewriter.pen.y);
  const int left = std::max(x, 0);
  const int right = std::min(x + kGlyphCell, core::kPictureWidth);
  const int top = std::max(y, 0);
  const int bottom = std::min(y + kGlyphCell, core::kPictureHeight);
  for (int row = top; row < bottom; ++row) {
    std::uint8_t* line = core::PixelAt(picture, 0, row);
    for (int col = left; col < right; ++col) line[col] &= kTextBitsCleared;
  }
  core::MemUnlock(core::Screen.VmemDIB);
}

void DrawCursor() {
  DrawGlyph(static_cast<std::int16_t>(Text.Typewriter.pen.x),
            static_cast<std::int16_t>(Text.Typewriter.pen.y), Text.Typewriter.cursor, kLayerColour,
            kLayerShadow);
}

void BeginReaderWait(std::int16_t cursor) {
  Text.Typewriter.cursor = cursor;
  Text.Typewriter.blink_counter = kTypeBlinkFrames;
  Text.Typewriter.waiting = true;
  core::ClearInput();
}

void TypeGlyph(std::uint16_t glyph) {
  TypewriterState& tw = Text.Typewriter;
  tw.pen.PlaceGlyph();
  if (glyph != kBlankGlyph && glyph != kBlankGlyphAlias) {
    DrawGlyph(static_cast<std::int16_t>(tw.pen.x), static_cast<std::int16_t>(tw.pen.y),
              static_cast<std::int16_t>(glyph), kLayerColour, kLayerShadow);
    tw.delay_counter = tw.glyph_delay;
  }
  tw.pen.AdvanceGlyph();
}

// WaveH and WaveV arm a wave scene for the next message of the event script, as the message
// text interpreter does.
void ArmWaveScene(std::uint8_t armed, const std::uint8_t* op) {
  core::SetFlag(armed, 1);
  core::SetFlag(static_cast<std::uint8_t>(armed + 1), op[0]);
  core::SetFlag(static_cast<std::uint8_t>(armed + 2), op[1]);
}

// Carries out a control code. False when it ends the step (a reader wait begins).
bool TypeCode(const core::TextItem& item) {
  using core::TextCode;
  TypewriterState& tw = Text.Typewriter;
  if (ApplyPenCode(tw.pen, item)) return true;
  const std::uint8_t* op = item.operands;
  switch (static_cast<TextCode>(item.code->number)) {
    case TextCode::WaitLine:
      if (core::Input.SkipMode != 0 || SeenTextFast()) break;
      BeginReaderWait(kLineCursorGlyph);
      return false;
    case TextCode::WaitPage:
      // Seen text shown fast still stops at a page.
      if (core::Input.SkipMode != 0) break;
      BeginReaderWait(kPageCursorGlyph);
      return false;
    case TextCode::Speed: tw.glyph_delay = op[0]; break;
    case TextCode::WaveH: ArmWaveScene(core::flag::kWaveHorizontal, op); break;
    case TextCode::WaveV: ArmWaveScene(core::flag::kWaveVertical, op); break;
    default: break;  // not expected in typed text: passed over with its operands
  }
  return true;
}

// Types one item. False when the step ends here (the end, or a reader wait).
bool TypeItem(const core::TextItem& item) {
  switch (item.kind) {
    case core::TextItemKind::kEnd: Text.Typewriter.active = false; return false;
    case core::TextItemKind::kGlyph: TypeGlyph(item.glyph); return true;
    case core::TextItemKind::kCode: return TypeCode(item);
    case core::TextItemKind::kOperation:
    case core::TextItemKind::kIgnored: return true;
  }
  return true;
}

}  // namespace

void TypeStart(std::uint16_t x, std::uint16_t y, const std::uint8_t* text, std::uint16_t colour,
               std::uint16_t shadow) {
  Text.Typewriter = TypewriterState{};
  Text.Typewriter.pen.x = x;
  Text.Typewriter.pen.y = y;
  Text.Typewriter.pen.left_margin = x;
  Text.Typewriter.pen.colour = colour;
  Text.Typewriter.pen.shadow = shadow;

  // Kept as an offset, so that the block may move between frames.
  const auto* block = static_cast<const std::uint8_t*>(core::MemLock(core::Scenario.MessageData));
  if (block != nullptr) {
    const std::size_t size = GlobalSize(core::Scenario.MessageData);
    const auto at = reinterpret_cast<std::uintptr_t>(text);
    const auto base = reinterpret_cast<std::uintptr_t>(block);
    if (text != nullptr && at >= base && at - base < size) {
      Text.Typewriter.offset = static_cast<std::uint32_t>(at - base);
      Text.Typewriter.active = true;
    }
    core::MemUnlock(core::Scenario.MessageData);
  }
  core::ClearInput();
}

void TypeStep() {
  TypewriterState& tw = Text.Typewriter;
  if (!tw.active) return;
  if (tw.delay_counter > 0) {
    --tw.delay_counter;
    return;
  }
  if (tw.waiting) {
    if (core::Input.SkipMode != 0) core::Input.InputEvents |= core::kInputDecide;
    TypeBlink();
    return;
  }

  const auto* block = static_cast<const std::uint8_t*>(core::MemLock(core::Scenario.MessageData));
  const std::size_t size = block == nullptr ? 0 : GlobalSize(core::Scenario.MessageData);
  const int per_step = core::Window.DisplayBits > 8 ? kTypeItemsDeep : kTypeItemsShallow;
  const bool fast = core::Input.SkipMode != 0 || SeenTextFast();
  bool hurried = false;
  for (int items = 1;; ++items) {
    if (core::Input.InputEvents & core::kInputDecide) {
      core::Input.InputEvents &= static_cast<std::uint16_t>(~core::kInputDecide);
      hurried = true;
    }
    core::TextItem item;
    if (!core::ScanTextItem(block, size, tw.offset, &item)) {
      tw.active = false;  // the message runs off its block: nothing more to type
      break;
    }
    tw.offset += static_cast<std::uint32_t>(item.length);
    if (!TypeItem(item)) break;
    if (items >= per_step && !hurried && !fast) break;
  }
  if (block != nullptr) core::MemUnlock(core::Scenario.MessageData);
}

void TypeBlink() {
  TypewriterState& tw = Text.Typewriter;
  if (core::Input.InputEvents & (core::kInputDecide | core::kInputCancel)) {
    ClearCursorCell();
    tw.waiting = false;
    tw.cursor_shown = false;
    core::ClearInput();
    return;
  }
  if (tw.blink_counter > 0) {
    --tw.blink_counter;
    return;
  }
  if (tw.cursor_shown) {
    ClearCursorCell();
  } else {
    DrawCursor();
  }
  tw.cursor_shown = !tw.cursor_shown;
  tw.blink_counter = kTypeBlinkFrames;
}

}  // namespace text
