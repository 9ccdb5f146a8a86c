// The file services beside the game's _lopen family: the reason of the family's last
// failure, and, for the tools, services with every failure reported as a value and never as
// an exception or an end of the program:
// - reading a regular file whole: a folder, a device or a file too large for its purpose is an
//   error with a reason, never an endless read;
// - replacing a file so that a crash, a full disk or a planted link never costs the old
//   content: the new bytes go to a file of their own in the same folder, which takes the
//   target's name only when every byte is on disk.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Why the last of the game's file functions that failed (OpenFile, _lread, _lwrite, _llseek,
// _lclose) failed, as a Windows error code: the platform's GetLastError. Calls that succeed
// leave it as it is.
enum FileError : std::uint32_t {
  kNoFileError = 0,
  kFileNotFound = 2,
  kPathNotFound = 3,
  kTooManyOpenFiles = 4,
  kAccessDenied = 5,
  kWriteProtected = 19,  // a read-only folder or file system
  kDeviceFailed = 31,
  kInvalidParameter = 87,
  kDiskFull = 112,
};
std::uint32_t LastFileError();
void SetLastFileError(std::uint32_t code);

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

// Whether a link at the path is followed to the file it names (an output the user chose) or
// replaced itself (a file written into a folder that someone else may have prepared).
enum class AtLink { kFollow, kReplace };

// Writes `bytes` as the new content of `path`. A regular or missing file is replaced as a
// whole through a new file beside it; a FIFO, a device or a terminal is written straight into.
// Empty on success, else why not in a few words.
std::string ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes,
                                AtLink at_link = AtLink::kFollow);

}  // namespace platform
