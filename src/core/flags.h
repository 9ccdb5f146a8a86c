// The scenario flags: flag n is byte 60 + n of the live game state record (unsigned bytes,
// n = 0 … 255, so numbers of 128 and above reach the text and history fields). Named here
// are the flags with a fixed role that the event script touches, and the bit sets kept in
// the flag area.
#pragma once

#include <cstdint>

#include "core/game_state.h"

namespace core {

namespace flag {
constexpr std::uint8_t kSeenScenarios = 40;  // 30 bytes: 240 bits, scenario n bit n
constexpr std::uint8_t kMarks = 90;          // 10 bytes: 80 bits set by opcode 0x96
constexpr std::uint8_t kQueuedMusic = 100;   // music for the next scene change in text
constexpr std::uint8_t kEntryRoutineRan = 101;
constexpr std::uint8_t kPendingColourEffect = 102;
constexpr std::uint8_t kFinishedGame = 103;  // a save slot's game was played to its end
constexpr std::uint8_t kChosenOption = 104;
constexpr std::uint8_t kProgressCount = 113;    // a save slot's count of progress writes
constexpr std::uint8_t kFinishedRequest = 114;  // set: a progress write marks the slot finished
constexpr std::uint8_t kMarksReached17 = 115;
constexpr std::uint8_t kWaveHorizontal = 117;  // armed, then start and end mode
constexpr std::uint8_t kWaveVertical = 120;    // armed, then start and end mode
}  // namespace flag

constexpr int kSeenScenarioBits = 240;
constexpr int kMarkBits = 80;

inline std::uint8_t Flag(std::uint8_t n) { return GameState[field::kFlags + n]; }
inline void SetFlag(std::uint8_t n, std::uint8_t v) { GameState[field::kFlags + n] = v; }

// Bit n (least significant first) of the bit set that starts at flag `first` of a record.
inline bool FlagBit(const GameStateRecord& r, std::uint8_t first, int n) {
  return (r[field::kFlags + first + n / 8] >> (n % 8)) & 1;
}
inline void SetFlagBit(GameStateRecord& r, std::uint8_t first, int n) {
  r[field::kFlags + first + n / 8] |= static_cast<std::uint8_t>(1u << (n % 8));
}

}  // namespace core
