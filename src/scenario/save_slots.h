// Save slots and the resume point: the three game state records moved between play, the
// resume point and the slot files "ZEN2_%02d.SAV" (slots 0, 1, 2) in the data folder.
#pragma once

#include <cstdint>
#include <span>

#include "core/game_state.h"

namespace scenario {

constexpr int kSlotCount = 3;

// What the slot screen shows of a slot. An empty or unusable slot reads as all zero; a
// damaged one (a sealed save whose scenario, EventPC or scene files do not fit the story
// data) is marked so, and is not valid.
struct SlotInfo {
  std::uint16_t year = 0;
  std::uint8_t month = 0, day = 0, hour = 0, minute = 0, second = 0;
  std::uint8_t progress = 0;  // record byte 173
  bool valid = false;
  bool damaged = false;
};

// SaveImage = GameState: a save writes the state as it was when the current message began.
void TakeSaveSnapshot();
// ResumeState = GameState; ResumeValid = 1.
void SetResumePoint();
// Makes ResumeState the running game: its scenario reloaded, EventPC, scene, music, sound.
void RestoreState(bool with_effect);
// Flags 0 … 127 from ResumeState into GameState, then flags 0 … 19 cleared: a finished game
// continued as a new one keeps its persistent flags.
void CarryOverFlags();
// The persistent part of this play written into the last used slot (opcode 0x94).
void WriteProgress();

// SaveImage, dated and sealed, written to the slot's file. A write that fails leaves the slot
// as it was, tells the reader why in a message box and answers false; the game goes on.
bool SaveSlot(int slot);
// Reads the slot into ResumeState and SaveImage. Whatever the file holds, first clears
// ResumeValid, the flags, the message history, the colour effect and the music of
// GameState. Answers false for a missing, unreadable or cleared slot (an empty slot) and for
// a damaged save, which is left in its file.
bool LoadSlot(int slot);
SlotInfo ReadSlotInfo(int slot);

// Unseals a 4206-byte save file in place; true when its checksum holds. The gallery reads
// the seen pictures of the three files through it.
bool UnsealSaveRecord(std::span<std::uint8_t> file);
// Reads slot `slot`'s file and unseals it into `record`: true for a file of 4206 bytes whose
// checksum holds, whatever else it holds (a cleared slot too). A missing file is false,
// never an error: the gallery's reading of the seen pictures.
bool ReadUnsealedSlot(int slot, std::span<std::uint8_t, core::kGameStateSize> record);

// Draws slot `slot`'s box into VmemDIB: the frame in `colour` over a shadow in colour
// `shadow` (−1 none), the slot's label, and the progress, date and time of a valid slot, the
// damaged-slot text or the empty-slot text. Not presented.
void DrawSlot(int slot, const SlotInfo& info, std::uint8_t colour, int shadow);

// The save/load screen. mode 0 load, 1 save, 2 clear → slot 0 … 2 (which becomes the last
// used slot), or −1 when cancelled. A damaged slot cannot be picked to load: the reader is
// told so in a message box and the screen stays.
int SlotScreen(int mode);

}  // namespace scenario
