// The game state record: a fixed 4206-byte array with named fields at fixed offsets.
// Flag numbers 128 and above alias the text and history fields, and a save file is this
// array byte for byte, so it stays an array. Multi-byte fields are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

namespace core {

constexpr std::size_t kGameStateSize = 4206;
using GameStateRecord = std::uint8_t[kGameStateSize];

// Process lifetime. GameState is live; ResumeState holds the resume point (or a slot read);
// SaveImage is the state at the start of the current message, which a save writes.
extern GameStateRecord GameState;
extern GameStateRecord ResumeState;
extern GameStateRecord SaveImage;

// Field offsets.
namespace field {
constexpr std::size_t kSlotLayer = 37;         // 3 × u8
constexpr std::size_t kEventPC = 40;           // u16
constexpr std::size_t kCurrentScenario = 42;   // u8, 255 none
constexpr std::size_t kCdTrack = 43;           // u8, 255 none
constexpr std::size_t kPcmNumber = 44;         // u8, 255 none
constexpr std::size_t kPcmPlaying = 45;        // u8
constexpr std::size_t kPcmLoops = 46;          // u16, 0 endless
constexpr std::size_t kPcmParam = 48;          // u16
constexpr std::size_t kBackgroundNumber = 50;  // u8, 255 none
constexpr std::size_t kStoredBackground = 51;  // u8, 255 none
constexpr std::size_t kShownVPicture = 52;     // u8, 255 none
constexpr std::size_t kShownHPicture = 53;     // u8, 255 none
constexpr std::size_t kSlotPicture = 54;       // 3 × u8, 255 none
constexpr std::size_t kColourEffect = 57;      // u8
constexpr std::size_t kChecksum = 58;          // u16, save files only
constexpr std::size_t kFlags = 60;             // flag n is byte 60 + n
constexpr std::size_t kFlagCount = 128;
constexpr std::size_t kPageStart = 188;      // u16
constexpr std::size_t kTextX = 190;          // u16 × 4: x, y, colour, shadow colour
constexpr std::size_t kHistoryCount = 200;   // u16
constexpr std::size_t kHistoryBefore = 202;  // u16
constexpr std::size_t kHistory = 204;        // 2000 × (scenario u8, message u8)
}  // namespace field

// The shown event picture fields hold 255 while no event picture is composed.
constexpr std::uint8_t kNoEventPicture = 255;

inline std::uint8_t GetU8(const GameStateRecord& r, std::size_t offset) { return r[offset]; }
inline void SetU8(GameStateRecord& r, std::size_t offset, std::uint8_t v) { r[offset] = v; }
inline std::uint16_t GetU16(const GameStateRecord& r, std::size_t offset) {
  return static_cast<std::uint16_t>(r[offset] | (r[offset + 1] << 8));
}
inline void SetU16(GameStateRecord& r, std::size_t offset, std::uint16_t v) {
  r[offset] = static_cast<std::uint8_t>(v & 0xFF);
  r[offset + 1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace core
