// The save/load screen: three framed boxes, one per slot, with the save's progress, date
// and time, picked with the mouse or the arrow keys.
#include <array>
#include <string>

#include "core/format_text.h"
#include "core/input_state.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "core/text_code_table.h"
#include "core/window_state.h"
#include "scenario/item_selector.h"
#include "scenario/message_text.h"
#include "scenario/save_files.h"
#include "scenario/save_slots.h"
#include "text/fixed_texts.h"
#include "text/text_state.h"
#include "visuals/palette_fades.h"

namespace scenario {
namespace {

constexpr std::uint8_t kHighlightColour = 15;
constexpr std::uint8_t kSlotColour = 4;
constexpr std::uint8_t kFrameShadow = 0;
constexpr int kNoShadow = -1;
constexpr int kNoSlot = -1;
constexpr int kLoadMode = 0;
constexpr const char* kDamagedSlotCaption = "ロードできません";
constexpr const char* kDamagedSlotText = "この記録は壊れているため読み込めません : %s";

constexpr std::uint16_t kTitleX = 64;
constexpr std::uint16_t kTitleY = 8;
constexpr int kSlotPitch = 120;  // a slot's base line y0 = 120 × slot
constexpr int kBoxLeft = 64;
constexpr int kBoxTop = 40;
constexpr int kBoxRight = 576;   // exclusive
constexpr int kBoxBottom = 160;  // exclusive
constexpr int kShadowOffset = 2;
constexpr std::uint16_t kLabelX = 96;
constexpr std::uint16_t kInfoX = 272;
constexpr int kFirstLine = 56;
constexpr int kSecondLine = 86;
constexpr int kThirdLine = 116;
constexpr int kPointerFromRight = 16;
constexpr int kPointerFromTop = 32;

constexpr std::uint8_t kSpeedCode = static_cast<std::uint8_t>(core::TextCode::Speed);
constexpr std::uint8_t kEndCode = core::kTextEnd;

struct Box {
  int left, top, right, bottom;  // right and bottom exclusive
};

Box SlotBox(int slot) {
  const int y0 = kSlotPitch * slot;
  return {kBoxLeft, y0 + kBoxTop, kBoxRight, y0 + kBoxBottom};
}

void FillBar(int x1, int y1, int x2, int y2, std::uint8_t colour) {
  core::FillPictureRect(core::Screen.VmemDIB, static_cast<std::int16_t>(x1),
                        static_cast<std::int16_t>(y1), static_cast<std::int16_t>(x2),
                        static_cast<std::int16_t>(y2), colour);
}

// Text of the slot screen in one piece; the presses pending before stay for the screen's
// own loop (text drawing starts by clearing them).
void DrawText(std::uint16_t x, int y, const std::uint8_t* text, std::uint8_t colour,
              std::uint8_t shadow) {
  const std::uint16_t pending = core::Input.InputEvents;
  ShowTextAtOnce(x, static_cast<std::uint16_t>(y), text, colour, shadow);
  core::Input.InputEvents |= pending;
}

// A number line of the slot information, built in glyph form: each value in full-width
// digits followed by its unit glyph (the first two bytes of the unit's fixed text).
using GlyphLine = char[128];

const std::uint8_t* AsText(const GlyphLine& line) {
  return reinterpret_cast<const std::uint8_t*>(line);
}

void DrawInformation(int y0, const SlotInfo& info, std::uint8_t colour, std::uint8_t shadow) {
  GlyphLine line{};
  core::FormatText(line, "%c%c%!d%c", kSpeedCode, 0, static_cast<std::int32_t>(info.progress) + 1,
                   kEndCode);
  DrawText(kInfoX, y0 + kFirstLine, AsText(line), colour, shadow);
  const text::TextPen pen = text::LoadPen(core::GameState);
  DrawText(pen.x, pen.y, text::kSlotCountSuffix, colour, shadow);

  const auto unit = [](const std::uint8_t* text, int i) { return text[i]; };
  core::FormatText(line, "%c%c%!4d%c%c%!2d%c%c%!2d%c%c%c", kSpeedCode, 0, info.year,
                   unit(text::kUnitYear, 0), unit(text::kUnitYear, 1), info.month,
                   unit(text::kUnitMonth, 0), unit(text::kUnitMonth, 1), info.day,
                   unit(text::kUnitDay, 0), unit(text::kUnitDay, 1), kEndCode);
  DrawText(kInfoX, y0 + kSecondLine, AsText(line), colour, shadow);
  core::FormatText(line, "%c%c%!2d%c%c%!2d%c%c%!2d%c%c%c", kSpeedCode, 0, info.hour,
                   unit(text::kUnitHour, 0), unit(text::kUnitHour, 1), info.minute,
                   unit(text::kUnitMinute, 0), unit(text::kUnitMinute, 1), info.second,
                   unit(text::kUnitSecond, 0), unit(text::kUnitSecond, 1), kEndCode);
  DrawText(kInfoX, y0 + kThirdLine, AsText(line), colour, shadow);
}

POINT PointerOnSlot(int slot) {
  const Box b = SlotBox(slot);
  return {ToClientX(b.right - kPointerFromRight), ToClientY(b.top + kPointerFromTop)};
}

void PlacePointerOnSlot(int slot) {
  const POINT p = PointerOnSlot(slot);
  core::PlaceCursor(static_cast<std::uint16_t>(p.x), static_cast<std::uint16_t>(p.y));
}

int HitTest() {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const Box b = SlotBox(slot);
    if (core::Input.MouseX >= ToClientX(b.left) && core::Input.MouseX < ToClientX(b.right) &&
        core::Input.MouseY >= ToClientY(b.top) && core::Input.MouseY < ToClientY(b.bottom)) {
      return slot;
    }
  }
  return kNoSlot;
}

// A damaged save stays in its file; loading it would end the program.
void RefuseDamagedSlot(int slot) {
  const std::string message = core::FormatString(kDamagedSlotText, SlotFileName(slot).c_str());
  MessageBoxA(core::Window.MainWindow, message.c_str(), kDamagedSlotCaption, MB_OK | MB_ICONHAND);
  core::ClearInput();
}

void Redraw(int slot, std::uint8_t colour) {
  DrawSlot(slot, ReadSlotInfo(slot), colour, kNoShadow);
}

}  // namespace

void DrawSlot(int slot, const SlotInfo& info, std::uint8_t colour, int shadow) {
  if (slot < 0 || slot >= kSlotCount) return;
  const int y0 = kSlotPitch * slot;
  // Top, left, right and bottom bars (corners inclusive, from the base line), each over its
  // shadow when there is one. The frame ends a little above the box the mouse is tested on.
  constexpr std::array<Box, 4> kBars{{
      {64, 40, 575, 43},
      {64, 44, 67, 155},
      {572, 44, 575, 155},
      {64, 152, 575, 155},
  }};
  std::array<Box, 4> bars = kBars;
  for (Box& bar : bars) {
    bar.top += y0;
    bar.bottom += y0;
  }
  for (const Box& bar : bars) {
    if (shadow != kNoShadow) {
      FillBar(bar.left + kShadowOffset, bar.top + kShadowOffset, bar.right + kShadowOffset,
              bar.bottom + kShadowOffset, static_cast<std::uint8_t>(shadow));
    }
    FillBar(bar.left, bar.top, bar.right, bar.bottom, colour);
  }
  // Glyph shadows take the frame shadow's low byte: 255 when there is none.
  const auto glyph_shadow = static_cast<std::uint8_t>(shadow & 0xFF);
  DrawText(kLabelX, y0 + kFirstLine, text::kSlotLabels[slot], colour, glyph_shadow);
  if (!info.valid) {
    DrawText(kInfoX, y0 + kSecondLine, info.damaged ? text::kSlotDamaged : text::kSlotEmpty, colour,
             glyph_shadow);
    return;
  }
  DrawInformation(y0, info, colour, glyph_shadow);
}

int SlotScreen(int mode) {
  if (mode < 0 || mode > 2) return kNoSlot;
  DrawText(kTitleX, kTitleY, text::kSlotTitles[mode], kHighlightColour, kFrameShadow);
  int highlighted = core::Scenario.LastUsedSlot < kSlotCount ? core::Scenario.LastUsedSlot : 0;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    DrawSlot(slot, ReadSlotInfo(slot), slot == highlighted ? kHighlightColour : kSlotColour,
             kFrameShadow);
  }
  core::Present(nullptr);
  if (core::Settings.Mmv != 0) GlidePointer(PointerOnSlot(highlighted));
  if (core::Screen.PaletteState == 0) visuals::FadeInDim(1);

  int drawn = highlighted;
  for (;;) {
    if (highlighted != drawn) {
      if (drawn != kNoSlot) Redraw(drawn, kSlotColour);
      if (highlighted != kNoSlot) Redraw(highlighted, kHighlightColour);
      core::Present(nullptr);
      drawn = highlighted;
    }
    highlighted = HitTest();
    // One arrow press moves one step; the pointer follows so that the next hit test keeps it.
    const std::uint16_t arrows = core::kInputUp | core::kInputDown;
    if (core::Input.InputEvents & arrows) {
      if (core::Input.InputEvents & core::kInputUp) {
        highlighted = highlighted <= 0 ? kSlotCount - 1 : highlighted - 1;
      } else {
        highlighted = highlighted == kNoSlot || highlighted >= kSlotCount - 1 ? 0 : highlighted + 1;
      }
      core::Input.InputEvents &= static_cast<std::uint16_t>(
          ~(core::kInputUp | core::kInputDown | core::kInputLeft | core::kInputRight));
      PlacePointerOnSlot(highlighted);
    }
    if (core::Input.InputEvents & core::kInputCancel) {
      core::ClearInput();
      return kNoSlot;
    }
    if (core::Input.InputEvents & core::kInputDecide) {
      core::ClearInput();
      if (highlighted != kNoSlot && mode == kLoadMode && ReadSlotInfo(highlighted).damaged) {
        RefuseDamagedSlot(highlighted);
      } else if (highlighted != kNoSlot) {
        core::Scenario.LastUsedSlot = static_cast<std::uint8_t>(highlighted);
        return highlighted;
      }
    }
    core::PumpMessage();
  }
}

}  // namespace scenario
