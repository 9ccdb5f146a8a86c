#include "scenario/item_selector.h"

#include <algorithm>
#include <array>

#include "core/game_phase.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "core/text_code_table.h"
#include "core/window_state.h"
#include "scenario/in_game_menu.h"
#include "scenario/message_text.h"
#include "text/page_drawing.h"
#include "text/text_state.h"
#include "visuals/palette_fades.h"

namespace scenario {
namespace {

constexpr std::uint16_t kArrowsBack = core::kInputUp | core::kInputLeft;
constexpr std::uint16_t kArrowsOn = core::kInputDown | core::kInputRight;
constexpr int kPointerSteps = 16;
constexpr int kPointerOnItem = 8;       // right of an item's left edge
constexpr int kPointerBeforeItem = 16;  // left of item 0 when nothing is highlighted
constexpr std::uint16_t kQuestionGap = 12;

struct Item {
  const std::uint8_t* text = nullptr;  // after its leading position codes
  std::uint16_t x = 0;
  std::uint16_t y = 0;
  RECT rect = core::kEmptyUpdateRect;
  bool enabled = true;
};

struct Selector {
  std::array<Item, kMaxSelectorItems> items;
  int count = 0;

  bool Valid(int i) const { return i >= 0 && i < count; }
  bool Choosable(int i) const { return Valid(i) && items[i].enabled; }
};

void SetPenY(std::uint16_t y) {
  text::TextPen pen = text::LoadPen(core::GameState);
  pen.y = y;
  text::StorePen(core::GameState, pen);
}

// Draws item i at its place, in one piece. The presses pending before are kept for the
// selector (text drawing starts by clearing them).
void DrawItem(Item& item, std::uint8_t colour) {
  const std::uint16_t pending = core::Input.InputEvents;
  ShowTextAtOnce(item.x, item.y, item.text, colour, 0);
  core::Input.InputEvents |= pending;
}

std::uint8_t ColourOf(const Item& item, bool highlighted) {
  return item.enabled && highlighted ? kItemHighlightColour : kItemColour;
}

// The redraw step: every item from the live pen, each placed by its leading position codes,
// then the union of their rectangles presented.
void DrawAll(Selector& s, int highlighted, std::span<const std::uint8_t* const> texts) {
  RECT all = core::kEmptyUpdateRect;
  for (int i = 0; i < s.count; ++i) {
    Item& item = s.items[i];
    core::Screen.UpdateRect = core::kEmptyUpdateRect;
    text::TextPen pen = text::LoadPen(core::GameState);
    const std::uint8_t* t = texts[i];
    for (;;) {
      if (t[0] == static_cast<std::uint8_t>(core::TextCode::SetX)) {
        pen.x = static_cast<std::uint16_t>(t[1] * text::kMarginUnit);
        t += 2;
      } else if (t[0] == static_cast<std::uint8_t>(core::TextCode::SetY)) {
        pen.y = static_cast<std::uint16_t>(t[1] | t[2] << 8);
        t += 3;
      } else {
        break;
      }
    }
    item.text = t;
    item.x = pen.x;
    item.y = pen.y;
    DrawItem(item, ColourOf(item, i == highlighted));
    item.rect = core::Screen.UpdateRect;
    core::RectUnion(&all, &item.rect);
    SetPenY(static_cast<std::uint16_t>(text::LoadPen(core::GameState).y + kItemGap));
  }
  core::Screen.UpdateRect = all;
  core::Present(&core::Screen.UpdateRect);
}

// Where the pointer rests on item i, in client pixels.
POINT PointerOn(const Item& item, int dx) {
  return {ToClientX(item.rect.left + dx), ToClientY((item.rect.top + item.rect.bottom) / 2)};
}

int HitTest(const Selector& s) {
  for (int i = 0; i < s.count; ++i) {
    const RECT& r = s.items[i].rect;
    if (core::Input.MouseX >= ToClientX(r.left) && core::Input.MouseX < ToClientX(r.right) &&
        core::Input.MouseY >= ToClientY(r.top) && core::Input.MouseY < ToClientY(r.bottom)) {
      return i;
    }
  }
  return kNoItem;
}

// One arrow press moves one step, cyclic; the pointer follows so that the hit test keeps it.
int StepByArrows(const Selector& s, int highlighted) {
  int next = highlighted;
  if (core::Input.InputEvents & kArrowsBack) {
    next = highlighted <= 0 ? s.count - 1 : highlighted - 1;
  } else if (core::Input.InputEvents & kArrowsOn) {
    next = highlighted < 0 || highlighted >= s.count - 1 ? 0 : highlighted + 1;
  } else {
    return highlighted;
  }
  core::Input.InputEvents &= static_cast<std::uint16_t>(~(kArrowsBack | kArrowsOn));
  const POINT p = PointerOn(s.items[next], kPointerOnItem);
  core::PlaceCursor(static_cast<std::uint16_t>(p.x), static_cast<std::uint16_t>(p.y));
  return next;
}

}  // namespace

std::uint16_t ToClientX(long x) {
  return static_cast<std::uint16_t>(std::max(0L, x) * core::Window.ClientWidth /
                                    core::kPictureWidth);
}
std::uint16_t ToClientY(long y) {
  return static_cast<std::uint16_t>(std::max(0L, y) * core::Window.ClientHeight /
                                    core::kPictureHeight);
}

void GlidePointer(POINT target) {
  POINT at{core::Input.MouseX, core::Input.MouseY};
  for (int step = 0; step < kPointerSteps; ++step) {
    at.x += (target.x - at.x) / 2;
    at.y += (target.y - at.y) / 2;
    core::PlaceCursor(static_cast<std::uint16_t>(at.x), static_cast<std::uint16_t>(at.y));
    core::Wait(1);
    if (core::Input.MouseX != at.x || core::Input.MouseY != at.y) return;
  }
  core::PlaceCursor(static_cast<std::uint16_t>(target.x), static_cast<std::uint16_t>(target.y));
}

std::int16_t SelectItem(const ItemSelection& selection) {
  Selector s;
  s.count = static_cast<int>(std::min(selection.items.size(), kMaxSelectorItems));
  if (s.count == 0) return kNoItem;
  for (int i = 0; i < s.count; ++i) {
    s.items[i].enabled = static_cast<std::size_t>(i) >= selection.enabled.size() ||
                         selection.enabled[static_cast<std::size_t>(i)] != 0;
  }
  int highlighted = s.Valid(selection.highlighted) ? selection.highlighted : kNoItem;

  core::ClearInput();  // the press that opened the selector is spent
  DrawAll(s, highlighted, selection.items);
  if (core::Settings.Mmv != 0 && selection.pointer) {
    GlidePointer(s.Valid(highlighted) ? PointerOn(s.items[highlighted], kPointerOnItem)
                                      : PointerOn(s.items[0], -kPointerBeforeItem));
  }
  if (core::Screen.PaletteState == 0) visuals::FadeInDim(1);

  int drawn = highlighted;  // the item last drawn highlighted
  bool redraw_all = false;
  for (;;) {
    if (redraw_all) {
      DrawAll(s, highlighted, selection.items);
      redraw_all = false;
      drawn = highlighted;
    } else if (highlighted != drawn) {
      core::Screen.UpdateRect = core::kEmptyUpdateRect;
      if (s.Valid(drawn)) DrawItem(s.items[drawn], kItemColour);
      if (s.Valid(highlighted))
        DrawItem(s.items[highlighted], ColourOf(s.items[highlighted], true));
      core::Present(&core::Screen.UpdateRect);
      drawn = highlighted;
    }

    highlighted = HitTest(s);
    highlighted = StepByArrows(s, highlighted);

    if (core::Input.InputEvents & core::kInputCancel) {
      core::ClearInput();
      if (selection.cancel_opens_menu && core::Phase.GamePhase == core::kPhasePlaying) {
        InGameMenu();
        if (core::Scenario.ScriptStop != 0) return kNoItem;
        // The menu covered the question: its page comes back, and the items below it.
        text::RedrawPage(selection.items[0]);
        SetPenY(static_cast<std::uint16_t>(text::LoadPen(core::GameState).y + kQuestionGap));
        core::Present(&core::Screen.UpdateRect);
        redraw_all = true;
      }
      if (selection.cancel_answers) return kNoItem;
    }

    if (core::Input.InputEvents & core::kInputDecide) {
      core::ClearInput();
      if (s.Choosable(highlighted)) {
        DrawItem(s.items[highlighted], kItemHighlightColour);
        core::Present(&core::Screen.UpdateRect);
        return static_cast<std::int16_t>(highlighted);
      }
    }
    core::PumpMessage();
  }
}

}  // namespace scenario
