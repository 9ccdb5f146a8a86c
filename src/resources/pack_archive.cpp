// The pack archive ZEN2DATA.PAK and whole-file access in the data folder.
//
// Every read is checked against what it should have given, and every packed file's place
// against the archive's length: a damaged archive or a file that shrank ends the program
// with a message naming it, instead of handing on a block of undefined bytes.
#include "resources/pack_archive.h"

#include <cstring>
#include <string>

#include "core/exit_program.h"
#include "core/format_text.h"
#include "core/settings.h"
#include "platform/file_services.h"
#include "resources/pack_format.h"

namespace resources {

PackState Pack;

void ResetPackState() { Pack = PackState{}; }

namespace {

constexpr const char* kCannotOpen = "ファイルが開けません : %s";
constexpr const char* kWrongFile = "ファイルが違います : %s";
constexpr const char* kNotFound = "ファイルが見つかりません[PACK] : %s";
constexpr const char* kNoMemory = "メモリ不足です : %s";
constexpr const char* kBroken = "ファイルが壊れています : %s";
constexpr const char* kCannotRead = "ファイルが読めません : %s";
constexpr const char* kCannotWrite = "ファイルが書き込めません : %s";
constexpr const char* kIndexBlockName = "PACK FILE INDEX";

// FileGetSize's answer when the length cannot be learnt (the _lread convention).
constexpr std::uint32_t kUnknownSize = static_cast<std::uint32_t>(HFILE_ERROR);

[[noreturn]] void Fail(const char* format, const char* name) {
  std::string message = core::FormatString(format, name);
  core::ExitProgram(message.c_str());
}

// The message of a failed write with the platform's reason on a second line, when the
// platform knows one the reader can act on.
std::string WithReason(const std::string& message) {
  const char* reason = nullptr;
  switch (platform::LastFileError()) {
    case platform::kDiskFull: reason = "ディスクがいっぱいです"; break;
    case platform::kWriteProtected: reason = "書き込みが禁止されています"; break;
    case platform::kAccessDenied: reason = "アクセスが許可されていません"; break;
    case platform::kPathNotFound:
    case platform::kFileNotFound: reason = "フォルダが見つかりません"; break;
    default: break;
  }
  return reason == nullptr ? message : message + "\n" + reason;
}

// A name in the data folder. With no data folder set the name stands alone, relative to
// the current folder, rather than becoming "\name".
std::string DataPath(const char* name) {
  if (core::Settings.DataDir[0] == '\0') return name;
  return core::FormatString("%s\\%s", core::Settings.DataDir, name);
}

HFILE OpenData(const char* name, UINT style) {
  std::string path = DataPath(name);
  OFSTRUCT info;
  return OpenFile(path.c_str(), &info, style);
}

std::uint32_t ReadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Reads all of an open file into a new unlocked block named after it; closes the file.
core::MemHandle ReadWholeFile(HFILE file, const char* name, std::uint32_t* size) {
  std::uint32_t length = FileGetSize(file);
  if (length == kUnknownSize) {
    _lclose(file);
    Fail(kCannotRead, name);
  }
  core::MemHandle block = core::MemAlloc(length, name);
  if (block == 0) {
    _lclose(file);
    Fail(kNoMemory, name);
  }
  void* data = core::MemLock(block);
  if (_lread(file, data, length) != length) {
    _lclose(file);
    core::MemFree(block);
    Fail(kCannotRead, name);
  }
  _lclose(file);
  core::MemUnlock(block);
  if (size != nullptr) *size = length;
  return block;
}

// The archive's entry for `name`: its place and length. The first entry of that name
// counts; the index is only read, and unlocked again at once.
bool FindPacked(const char* name, std::uint32_t* offset, std::uint32_t* length) {
  if (Pack.PackIndex == 0) return false;
  char wanted[kPackNameLength];
  PackIndexName(name, wanted);
  const auto* index = static_cast<const std::uint8_t*>(core::MemLock(Pack.PackIndex));
  std::size_t count = Pack.PackEntryCount;
  if (count * kPackEntrySize > GlobalSize(Pack.PackIndex))
    count = GlobalSize(Pack.PackIndex) / kPackEntrySize;
  const std::uint8_t* entry = nullptr;
  for (std::size_t i = 0; i < count && entry == nullptr; ++i) {
    const std::uint8_t* candidate = index + i * kPackEntrySize;
    if (std::memcmp(candidate, wanted, kPackNameLength) == 0) entry = candidate;
  }
  if (entry != nullptr) {
    *offset = ReadU32(entry + 12);
    *length = ReadU32(entry + 16);
  }
  core::MemUnlock(Pack.PackIndex);
  return entry != nullptr;
}

core::MemHandle LoadPacked(const char* name, std::uint32_t* size) {
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
  if (!FindPacked(name, &offset, &length)) Fail(kNotFound, name);

  HFILE file = OpenData(kPackFileName, OF_READ);
  if (file == HFILE_ERROR) Fail(kCannotOpen, kPackFileName);
  // An entry that reaches past the end of the archive names bytes that are not there.
  std::uint32_t archive_size = FileGetSize(file);
  if (archive_size == kUnknownSize) {
    _lclose(file);
    Fail(kCannotRead, kPackFileName);
  }
  if (std::uint64_t{offset} + length > archive_size) {
    _lclose(file);
    Fail(kBroken, name);
  }

  std::string block_name = core::FormatString("pk:%s", name);
  core::MemHandle block = core::MemAlloc(length, block_name.c_str());
  if (block == 0) {
    _lclose(file);
    Fail(kNoMemory, name);
  }
  auto* data = static_cast<std::uint8_t*>(core::MemLock(block));
  if (_llseek(file, static_cast<LONG>(offset), FILE_BEGIN) != static_cast<LONG>(offset) ||
      _lread(file, data, length) != length) {
    _lclose(file);
    core::MemFree(block);
    Fail(kCannotRead, kPackFileName);
  }
  _lclose(file);
  // Each file is scrambled by itself: its first byte is at key position 0.
  Unscramble(data, length);
  core::MemUnlock(block);
  if (size != nullptr) *size = length;
  return block;
}

}  // namespace

int PackOpen() {
  // Opening again replaces the index held so far.
  core::MemRelease(&Pack.PackIndex);
  Pack.PackEntryCount = 0;

  HFILE file = OpenData(kPackFileName, OF_READ);
  if (file == HFILE_ERROR) Fail(kCannotOpen, kPackFileName);

  std::uint8_t header[kPackHeaderSize];
  if (_lread(file, header, sizeof header) != sizeof header ||
      std::memcmp(header, kPackMagic, sizeof kPackMagic) != 0) {
    _lclose(file);
    Fail(kWrongFile, kPackFileName);
  }
  auto count = static_cast<std::uint16_t>(header[8] | header[9] << 8);
  std::uint32_t archive_size = FileGetSize(file);
  if (archive_size == kUnknownSize) {
    _lclose(file);
    Fail(kCannotRead, kPackFileName);
  }
  // More entries than positions the index can count, or an index that would begin inside
  // the header: not an archive of ours.
  std::uint32_t index_bytes = count * static_cast<std::uint32_t>(kPackEntrySize);
  if (count > kPackMaxEntries || archive_size - kPackHeaderSize < index_bytes) {
    _lclose(file);
    Fail(kWrongFile, kPackFileName);
  }

  core::MemHandle index = core::MemAlloc(index_bytes, kIndexBlockName);
  if (index == 0) {
    _lclose(file);
    Fail(kNoMemory, kPackFileName);
  }
  auto* bytes = static_cast<std::uint8_t*>(core::MemLock(index));
  LONG index_start = static_cast<LONG>(archive_size - index_bytes);
  if (_llseek(file, index_start, FILE_BEGIN) != index_start ||
      _lread(file, bytes, index_bytes) != index_bytes) {
    _lclose(file);
    core::MemFree(index);
    Fail(kCannotRead, kPackFileName);
  }
  _lclose(file);

  Unscramble(bytes, index_bytes);
  // Byte 11 ends the 11-character name, whatever was stored there.
  for (std::uint32_t i = 0; i < count; ++i) bytes[i * kPackEntrySize + kPackNameLength] = 0;
  core::MemUnlock(index);
  Pack.PackIndex = index;
  Pack.PackEntryCount = count;
  return 1;
}

void PackClose() {
  core::MemRelease(&Pack.PackIndex);
  Pack.PackEntryCount = 0;
}

core::MemHandle LoadFile(const char* name, std::uint32_t* size) {
  // A loose file in the data folder wins over the archive and is taken as it is.
  HFILE file = OpenData(name, OF_READ);
  if (file != HFILE_ERROR) return ReadWholeFile(file, name, size);
  return LoadPacked(name, size);
}

core::MemHandle FileReadAll(const char* name, std::uint32_t* size) {
  HFILE file = OpenData(name, OF_READ);
  if (file == HFILE_ERROR) Fail(kCannotOpen, name);
  return ReadWholeFile(file, name, size);
}

int FileWriteAll(const char* name, const void* data, std::uint32_t size) {
  std::string failure;
  if (FileTryWriteAll(name, data, size, &failure) == 0) core::ExitProgram(failure.c_str());
  return 1;
}

int FileTryWriteAll(const char* name, const void* data, std::uint32_t size, std::string* failure) {
  platform::SetLastFileError(platform::kNoFileError);
  HFILE file = OpenData(name, OF_CREATE);
  if (file == HFILE_ERROR) {
    *failure = WithReason(core::FormatString(kCannotOpen, name));
    return 0;
  }
  // The platform replaces the old file only when the close follows clean writes, so on a
  // failure here the old file is still whole.
  bool written = size == 0 || _lwrite(file, static_cast<const char*>(data), size) == size;
  if (_lclose(file) == HFILE_ERROR || !written) {
    *failure = WithReason(core::FormatString(kCannotWrite, name));
    return 0;
  }
  return 1;
}

std::int64_t FileReadExact(const char* name, void* out, std::uint32_t size) {
  HFILE file = OpenData(name, OF_READ);
  if (file == HFILE_ERROR) return -1;
  const std::uint32_t length = FileGetSize(file);
  std::int64_t answer = length == kUnknownSize ? -1 : std::int64_t{length};
  if (length == size && _lread(file, out, size) != size) answer = -1;
  _lclose(file);
  return answer;
}

bool DataFileExists(const char* name) {
  std::string path = DataPath(name);
  OFSTRUCT info;
  if (OpenFile(path.c_str(), &info, OF_EXIST) != HFILE_ERROR) return true;
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
  return FindPacked(name, &offset, &length);
}

std::uint32_t FileGetSize(HFILE file) {
  LONG here = _llseek(file, 0, FILE_CURRENT);
  if (here == HFILE_ERROR) return kUnknownSize;
  LONG end = _llseek(file, 0, FILE_END);
  _llseek(file, here, FILE_BEGIN);
  return end == HFILE_ERROR ? kUnknownSize : static_cast<std::uint32_t>(end);
}

}  // namespace resources
