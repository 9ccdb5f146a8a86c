// The item selector: the one way the reader picks from a list, for every menu of the system
// (choices, the in-game menu, yes/no questions, the title menus, the slot screen, the music
// mode). Items are message texts drawn one below the other with the mouse, the arrow keys,
// decide and cancel acting on them.
#pragma once

#include <cstdint>
#include <span>

#include "platform/win32.h"

namespace scenario {

// At most this many items are offered; further items are left out.
constexpr std::size_t kMaxSelectorItems = 12;
constexpr std::int16_t kNoItem = -1;

// Item colours: the highlighted enabled item, and every other one.
constexpr std::uint8_t kItemHighlightColour = 15;
constexpr std::uint8_t kItemColour = 4;
// Added below each item, after the pen position the item's text leaves.
constexpr std::uint16_t kItemGap = 4;

struct ItemSelection {
  // Each item's message text. A text may begin with position codes (x, y) that place it;
  // otherwise it starts where the one before left the pen, the first one at the live pen.
  std::span<const std::uint8_t* const> items;
  // 0 for a disabled item (it can be highlighted but not chosen); empty: all enabled.
  std::span<const std::uint8_t> enabled;
  std::int16_t highlighted = kNoItem;  // highlighted at the start
  bool cancel_answers = false;         // a cancel press answers kNoItem
  bool cancel_opens_menu = false;      // a cancel press during play opens the in-game menu
  bool pointer = true;                 // the mouse pointer is moved onto the item when Mmv is on
};

// Draws the items, then lets the reader pick one. Answers the chosen enabled item's index,
// or kNoItem after a cancel that answers, when ScriptStop was raised in the in-game menu,
// and at once for a selection without items. Item rectangles are kept in picture
// coordinates; the mouse is hit-tested against them scaled to the client size.
std::int16_t SelectItem(const ItemSelection& selection);

// Client pixels of a picture coordinate: the picture fills the whole client area.
std::uint16_t ToClientX(long x);
std::uint16_t ToClientY(long y);
// Glides the mouse pointer to `target` (client pixels), halving the distance each 10 ms in
// up to 16 steps; a move of the reader's own ends the glide where it is.
void GlidePointer(POINT target);

}  // namespace scenario
