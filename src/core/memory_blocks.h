// Named memory blocks: every large buffer of the program is a movable global memory block
// registered with its size and a short name in one fixed table.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace core {

using MemHandle = std::uint32_t;

constexpr int kMemBlockTableSize = 256;
constexpr int kMemBlockNameLength = 16;

struct MemBlockEntry {
  MemHandle handle = 0;    // 0 in a free entry
  std::uint32_t size = 0;  // as requested; 0 in a free entry
  // Cut at 16, padded with spaces, NUL behind.
  char name[kMemBlockNameLength + 1] = "                ";

  bool operator==(const MemBlockEntry&) const = default;
};

struct MemoryState {
  MemBlockEntry MemBlockTable[kMemBlockTableSize];
  std::int16_t MemBlockCount = 0;

  bool operator==(const MemoryState&) const = default;
};

// Process lifetime; emptied by MemInit at start-up.
extern MemoryState Memory;

int MemInit();
// Ends the program (FatalError) when the table is full or memory runs out.
MemHandle MemAlloc(std::uint32_t size, const char* name);
int MemFree(MemHandle handle);
void* MemLock(MemHandle handle);
BOOL MemUnlock(MemHandle handle);
void* MemWire(MemHandle handle);
BOOL MemUnwire(MemHandle handle);
void* MemLockOnce(MemHandle handle);
int MemRelease(MemHandle* handle);

}  // namespace core
