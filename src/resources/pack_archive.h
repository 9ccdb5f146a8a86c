// The pack archive ZEN2DATA.PAK and file access in the data folder: loose files first,
// then the archive; whole loose files read and written for the save slots.
#pragma once

#include <cstdint>
#include <string>

#include "core/memory_blocks.h"
#include "platform/win32.h"

namespace resources {

struct PackState {
  // Open from PackOpen to PackClose; the index block stays unlocked between loads.
  core::MemHandle PackIndex = 0;
  std::uint16_t PackEntryCount = 0;

  bool operator==(const PackState&) const = default;
};

// Process lifetime.
extern PackState Pack;
// No archive open. The index block is forgotten, not freed: the block table's owner frees
// it (core::MemInit).
void ResetPackState();

int PackOpen();
void PackClose();
// The returned block is unlocked; every failure ends the program with its message.
core::MemHandle LoadFile(const char* name, std::uint32_t* size);
core::MemHandle FileReadAll(const char* name, std::uint32_t* size);
int FileWriteAll(const char* name, const void* data, std::uint32_t size);

// The save slots' own access, which never ends the program: a slot file may be missing,
// damaged or unwritable and the game goes on.
// Reads a loose file of the data folder into `out` when it is exactly `size` bytes long.
// Answers the file's length, or -1 when it is missing or cannot be read.
std::int64_t FileReadExact(const char* name, void* out, std::uint32_t size);
// FileWriteAll that answers 0 with the reason in `failure` instead of ending the program:
// "ファイルが書き込めません : NAME" (or "ファイルが開けません", when the file cannot be
// created) and, on a second line, why, when the platform knows: the disk is full, the folder
// is read-only, access is not permitted, the folder is missing. The file is replaced whole
// or not at all.
int FileTryWriteAll(const char* name, const void* data, std::uint32_t size, std::string* failure);
// Whether `name` can be loaded: a loose file in the data folder or an entry of the archive.
bool DataFileExists(const char* name);
std::uint32_t FileGetSize(HFILE file);

}  // namespace resources
