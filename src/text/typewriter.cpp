#include "text/typewriter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "core/flags.h"
#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/palette_state.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/shell_state.h"
#include "core/text_code_table.h"
#include "text/font.h"

namespace text {

TypewriterState Typewriter;
void ResetTypewriterState() { Typewriter = TypewriterState{}; }

namespace {

constexpr std::uint8_t kTextBitsCleared = 3;  // a pixel modulo 4: the background's bits

bool SeenTextFast() { return shell::Skip != 0 && scenario::SkipAllowed == 1; }

// The text layer taken out of the 26 × 26 cell at the pen: the cursor disappears. The cell
// is clipped to the picture the way DrawGlyph clips it.
void ClearCursorCell() {
  std::uint8_t* picture = visuals::LockPicture(visuals::VmemDIB);
  if (picture == nullptr) return;
  const int x = static_cast<std::int16_t>(Typewriter.pen.x);
  const int y = static_cast<std::int16_t>(Typewriter.pen.y);
  const int left = std::max(x, 0);
  const int right = std::min(x + kGlyphCell, visuals::kPictureWidth);
  const int top = std::max(y, 0);
  const int bottom = std::min(y + kGlyphCell, visuals::kPictureHeight);
  for (int row = top; row < bottom; ++row) {
    std::uint8_t* line = visuals::PixelAt(picture, 0, row);
    for (int col = left; col < right; ++col) line[col] &= kTextBitsCleared;
  }
  resources::MemUnlock(visuals::VmemDIB);
}

void DrawCursor() {
  DrawGlyph(static_cast<std::int16_t>(Typewriter.pen.x),
            static_cast<std::int16_t>(Typewriter.pen.y), Typewriter.cursor, kLayerColour,
            kLayerShadow);
}

void BeginReaderWait(std::int16_t cursor) {
  Typewriter.cursor = cursor;
  Typewriter.blink_counter = kTypeBlinkFrames;
  Typewriter.waiting = true;
  shell::ClearInput();
}

void TypeGlyph(std::uint16_t glyph) {
  TypewriterState& tw = Typewriter;
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
  scenario::SetFlag(armed, 1);
  scenario::SetFlag(static_cast<std::uint8_t>(armed + 1), op[0]);
  scenario::SetFlag(static_cast<std::uint8_t>(armed + 2), op[1]);
}

// Carries out a control code. False when it ends the step (a reader wait begins).
bool TypeCode(const scenario::TextItem& item) {
  using scenario::TextCode;
  TypewriterState& tw = Typewriter;
  if (ApplyPenCode(tw.pen, item)) return true;
  const std::uint8_t* op = item.operands;
  switch (static_cast<TextCode>(item.code->number)) {
    case TextCode::WaitLine:
      if (shell::SkipMode != 0 || SeenTextFast()) break;
      BeginReaderWait(kLineCursorGlyph);
      return false;
    case TextCode::WaitPage:
      // Seen text shown fast still stops at a page.
      if (shell::SkipMode != 0) break;
      BeginReaderWait(kPageCursorGlyph);
      return false;
    case TextCode::Speed: tw.glyph_delay = op[0]; break;
    case TextCode::WaveH: ArmWaveScene(scenario::flag::kWaveHorizontal, op); break;
    case TextCode::WaveV: ArmWaveScene(scenario::flag::kWaveVertical, op); break;
    default: break;  // not expected in typed text: passed over with its operands
  }
  return true;
}

// Types one item. False when the step ends here (the end, or a reader wait).
bool TypeItem(const scenario::TextItem& item) {
  switch (item.kind) {
    case scenario::TextItemKind::kEnd: Typewriter.active = false; return false;
    case scenario::TextItemKind::kGlyph: TypeGlyph(item.glyph); return true;
    case scenario::TextItemKind::kCode: return TypeCode(item);
    case scenario::TextItemKind::kOperation:
    case scenario::TextItemKind::kIgnored: return true;
  }
  return true;
}

}  // namespace

void TypeStart(std::uint16_t x, std::uint16_t y, const std::uint8_t* text, std::uint16_t colour,
               std::uint16_t shadow) {
  Typewriter = TypewriterState{};
  Typewriter.pen.x = x;
  Typewriter.pen.y = y;
  Typewriter.pen.left_margin = x;
  Typewriter.pen.colour = colour;
  Typewriter.pen.shadow = shadow;

  // Kept as an offset, so that the block may move between frames.
  const auto* block = static_cast<const std::uint8_t*>(resources::MemLock(scenario::MessageData));
  if (block != nullptr) {
    const std::size_t size = GlobalSize(scenario::MessageData);
    const auto at = reinterpret_cast<std::uintptr_t>(text);
    const auto base = reinterpret_cast<std::uintptr_t>(block);
    if (text != nullptr && at >= base && at - base < size) {
      Typewriter.offset = static_cast<std::uint32_t>(at - base);
      Typewriter.active = true;
    }
    resources::MemUnlock(scenario::MessageData);
  }
  shell::ClearInput();
}

void TypeStep() {
  TypewriterState& tw = Typewriter;
  if (!tw.active) return;
  if (tw.delay_counter > 0) {
    --tw.delay_counter;
    return;
  }
  if (tw.waiting) {
    if (shell::SkipMode != 0) shell::InputEvents |= shell::kInputDecide;
    TypeBlink();
    return;
  }

  const auto* block = static_cast<const std::uint8_t*>(resources::MemLock(scenario::MessageData));
  const std::size_t size = block == nullptr ? 0 : GlobalSize(scenario::MessageData);
  const int per_step = shell::DisplayBits > 8 ? kTypeItemsDeep : kTypeItemsShallow;
  const bool fast = shell::SkipMode != 0 || SeenTextFast();
  bool hurried = false;
  for (int items = 1;; ++items) {
    if (shell::InputEvents & shell::kInputDecide) {
      shell::InputEvents &= static_cast<std::uint16_t>(~shell::kInputDecide);
      hurried = true;
    }
    scenario::TextItem item;
    if (!scenario::ScanTextItem(block, size, tw.offset, &item)) {
      tw.active = false;  // the message runs off its block: nothing more to type
      break;
    }
    tw.offset += static_cast<std::uint32_t>(item.length);
    if (!TypeItem(item)) break;
    if (items >= per_step && !hurried && !fast) break;
  }
  if (block != nullptr) resources::MemUnlock(scenario::MessageData);
}

void TypeBlink() {
  TypewriterState& tw = Typewriter;
  if (shell::InputEvents & (shell::kInputDecide | shell::kInputCancel)) {
    ClearCursorCell();
    tw.waiting = false;
    tw.cursor_shown = false;
    shell::ClearInput();
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
