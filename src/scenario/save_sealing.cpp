#include "scenario/save_sealing.h"

#include "core/message_pump.h"
#include "scenario/save_slots.h"

namespace scenario {

std::uint16_t RecordSum(std::span<const std::uint8_t, core::kGameStateSize> record) {
  std::uint16_t sum = 0;
  for (std::uint8_t b : record) sum = static_cast<std::uint16_t>(sum + b);
  return sum;
}

void SealSaveRecord(SaveBytes record, const SYSTEMTIME& now) {
  using namespace save_field;
  record[kYear] = static_cast<std::uint8_t>(now.wYear & 0xFF);
  record[kYear + 1] = static_cast<std::uint8_t>(now.wYear >> 8);
  record[kMonth] = static_cast<std::uint8_t>(now.wMonth);
  record[kDay] = static_cast<std::uint8_t>(now.wDay);
  record[kHour] = static_cast<std::uint8_t>(now.wHour);
  record[kMinute] = static_cast<std::uint8_t>(now.wMinute);
  record[kSecond] = static_cast<std::uint8_t>(now.wSecond);

  core::Random(1);
  for (std::size_t i = 0; i < kRandomWordCount; ++i) {
    // Word i is 256 × the first draw + the second, stored little-endian.
    const std::uint8_t high = core::Random(2);
    const std::uint8_t low = core::Random(2);
    record[kRandomWords + 2 * i] = low;
    record[kRandomWords + 2 * i + 1] = high;
  }
  for (std::size_t i = 0; i < kZeroCount; ++i) record[kZeros + i] = 0;
  record[core::field::kChecksum] = 0;
  record[core::field::kChecksum + 1] = 0;
  record[kKeyByte] = 0;

  const std::uint16_t sum = RecordSum(record);
  record[core::field::kChecksum] = static_cast<std::uint8_t>(sum & 0xFF);
  record[core::field::kChecksum + 1] = static_cast<std::uint8_t>(sum >> 8);

  std::uint8_t key = core::Random(1);
  for (std::uint8_t& b : record) {
    b = static_cast<std::uint8_t>(b + key);
    key = static_cast<std::uint8_t>(key - kScrambleStep);
  }
}

bool UnsealSaveRecord(std::span<std::uint8_t> file) {
  using namespace save_field;
  if (file.size() != core::kGameStateSize) return false;
  // The last byte was 0 before scrambling, so it holds the last key.
  std::uint8_t key = file[kKeyByte];
  for (std::size_t i = core::kGameStateSize; i-- > 0;) {
    file[i] = static_cast<std::uint8_t>(file[i] - key);
    key = static_cast<std::uint8_t>(key + kScrambleStep);
  }
  const std::uint16_t stored = static_cast<std::uint16_t>(file[core::field::kChecksum] |
                                                          file[core::field::kChecksum + 1] << 8);
  file[core::field::kChecksum] = 0;
  file[core::field::kChecksum + 1] = 0;
  file[kKeyByte] = 0;
  return RecordSum(file.first<core::kGameStateSize>()) == stored;
}

}  // namespace scenario
