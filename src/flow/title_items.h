// The title screen's menu and what its items open: the story (new or continued), clearing a
// save slot, the gallery of event pictures seen in any slot, and the music mode.
#pragma once

#include <cstdint>

namespace flow {

// The title menu's items, in the order they are offered.
enum TitleItem : std::int16_t {
  kTitleStart = 0,
  kTitleClearSlot = 1,
  kTitleGallery = 2,
  kTitleQuit = 3,
  kTitleMusic = 4,
};

constexpr int kMusicCount = 26;
// The music mode's list: list index → music number.
extern const std::uint8_t MusicList[kMusicCount];
// List index → number of the description text shown under the title.
extern const std::int16_t MusicKind[kMusicCount];

// Offers the five title items with `highlighted` lit; answers the chosen one. Cancel
// presses are ignored.
std::int16_t TitleMenu(std::int16_t highlighted);

// The start item: the slot screen, then the chosen slot continued, or a new game begun,
// played until the story ends. Answers 1 when the reader backed out at the slot screen,
// 0 after the story was played.
int StartStory();
// The start item's new game without the slot screen: what the test runner's --new-game
// plays.
void PlayNewGame();

// The clear-slot item: a slot picked, its question answered, and a yes writes it cleared.
void ClearSlot();

// The event pictures seen in any of the three save files, "V" pictures first, then "H",
// each in ascending number; cancel ends it at once.
void Gallery();

// The music mode; answers 1 when the reader leaves it with cancel.
int MusicMode();
// Draws list entry i (its number, title and description) at line y.
void MusicModeLine(int i, std::uint16_t y);

}  // namespace flow
