// Sealing of a save file: a game state record with sixteen random words, the date and time
// of the save, a 16-bit checksum over all its bytes, and a rolling byte scramble whose key
// the file itself carries in its last byte. Files sealed here and by any other writer of
// the format read the same both ways.
#pragma once

#include <cstdint>
#include <span>

#include "core/flags.h"
#include "core/game_state.h"
#include "platform/win32.h"

namespace scenario {

using SaveBytes = std::span<std::uint8_t, core::kGameStateSize>;

// Bytes of the record that only a save file uses.
namespace save_field {
constexpr std::size_t kRandomWords = 0;  // 16 × u16
constexpr std::size_t kRandomWordCount = 16;
constexpr std::size_t kZeros = 32;  // 5 bytes
constexpr std::size_t kZeroCount = 5;
constexpr std::size_t kYear = 166;  // u16, then month, day, hour, minute, second
constexpr std::size_t kMonth = 168;
constexpr std::size_t kDay = 169;
constexpr std::size_t kHour = 170;
constexpr std::size_t kMinute = 171;
constexpr std::size_t kSecond = 172;
constexpr std::size_t kProgress = core::field::kFlags + core::flag::kProgressCount;
// A file with the finished-game request set is a cleared slot: it reads as empty.
constexpr std::size_t kFinishedRequest = core::field::kFlags + core::flag::kFinishedRequest;
constexpr std::size_t kKeyByte = core::kGameStateSize - 1;
}  // namespace save_field

// The step of the scramble's key from one byte to the next.
constexpr std::uint8_t kScrambleStep = 87;

// The 16-bit sum of all bytes of a record.
std::uint16_t RecordSum(std::span<const std::uint8_t, core::kGameStateSize> record);

// Seals `record` in place as a save dated `now`. Draws its random words and key from
// core::Random: Random(1) once, then two Random(2) per word, then Random(1) for the key.
void SealSaveRecord(SaveBytes record, const SYSTEMTIME& now);

}  // namespace scenario
