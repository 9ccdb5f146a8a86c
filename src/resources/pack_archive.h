// The pack archive ZEN2DATA.PAK and file access in the data folder: loose files first,
// then the archive; whole loose files read and written for the save slots.
#pragma once

#include <cstdint>

#include "core/memory_blocks.h"
#include "platform/win32.h"

namespace resources {

// Open from PackOpen to PackClose; the index block stays unlocked between loads.
extern MemHandle PackIndex;
extern std::uint16_t PackEntryCount;

int PackOpen();
void PackClose();
// The returned block is unlocked; every failure ends the program with its message.
MemHandle LoadFile(const char* name, std::uint32_t* size);
MemHandle FileReadAll(const char* name, std::uint32_t* size);
int FileWriteAll(const char* name, const void* data, std::uint32_t size);
std::uint32_t FileGetSize(HFILE file);

}  // namespace resources
