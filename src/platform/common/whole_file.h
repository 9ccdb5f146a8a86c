// Reading a regular file whole, with every failure reported as a value: a folder, a device
// or a file too large for its purpose is an error with a reason, never an exception or an
// endless read.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace platform {

enum class ReadStatus { kOk, kMissing, kNotAFile, kTooLarge, kFailed };

struct ReadOutcome {
  ReadStatus status = ReadStatus::kOk;
  // Why it failed, in a few words ("is a folder", the system's text for errno); empty on kOk.
  std::string reason;
  bool ok() const { return status == ReadStatus::kOk; }
};

// The size is checked before anything is read, so a huge file costs nothing.
ReadOutcome ReadRegularFile(const std::filesystem::path& path, std::string* bytes,
                            std::uint64_t max_size);
ReadOutcome ReadRegularFile(const std::filesystem::path& path, std::vector<std::uint8_t>* bytes,
                            std::uint64_t max_size);

}  // namespace platform
