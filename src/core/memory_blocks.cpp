// Named memory blocks: one fixed table of every live block, in allocation order.
#include "core/memory_blocks.h"

#include <cstring>
#include <string>

#include "core/fatal_error.h"
#include "core/format_text.h"

namespace core {

MemoryState Memory;

namespace {

// Movable and shareable, not zero-filled: owners write their blocks before reading them.
constexpr UINT kBlockFlags = GMEM_MOVEABLE | GMEM_SHARE;

void SetName(MemBlockEntry& entry, const char* name) {
  std::size_t length = 0;
  if (name != nullptr) {
    while (length < kMemBlockNameLength && name[length] != '\0') ++length;
    std::memcpy(entry.name, name, length);
  }
  std::memset(entry.name + length, ' ', kMemBlockNameLength - length);
  entry.name[kMemBlockNameLength] = '\0';
}

[[noreturn]] void Fatal(const char* message) {
  std::string text = FormatString(message);
  FatalError(text.c_str());
}

}  // namespace

int MemInit() {
  // Blocks still listed (only when a test starts the program again in one process) are
  // freed rather than forgotten.
  for (int i = 0; i < Memory.MemBlockCount && i < kMemBlockTableSize; ++i) {
    while (GlobalUnlock(Memory.MemBlockTable[i].handle)) {
    }
    GlobalFree(Memory.MemBlockTable[i].handle);
  }
  Memory = MemoryState{};
  return 1;
}

MemHandle MemAlloc(std::uint32_t size, const char* name) {
  if (Memory.MemBlockCount >= kMemBlockTableSize) Fatal("ハンドルオーバーです");
  MemHandle handle = GlobalAlloc(kBlockFlags, size);
  if (handle == 0) Fatal("メモリ不足です");
  MemBlockEntry& entry = Memory.MemBlockTable[Memory.MemBlockCount];
  entry.handle = handle;
  entry.size = size;
  SetName(entry, name);
  ++Memory.MemBlockCount;
  return handle;
}

int MemFree(MemHandle handle) {
  for (int i = 0; i < Memory.MemBlockCount; ++i) {
    if (Memory.MemBlockTable[i].handle != handle) continue;
    // Close up so the table stays in allocation order without gaps.
    for (int j = i; j + 1 < Memory.MemBlockCount; ++j)
      Memory.MemBlockTable[j] = Memory.MemBlockTable[j + 1];
    Memory.MemBlockTable[Memory.MemBlockCount - 1] = MemBlockEntry{};
    --Memory.MemBlockCount;
    break;
  }
  // Callers need not unlock first; a block unknown to the table is freed all the same.
  while (GlobalUnlock(handle)) {
  }
  return GlobalFree(handle) == 0 ? 1 : 0;
}

void* MemLock(MemHandle handle) { return GlobalLock(handle); }

BOOL MemUnlock(MemHandle handle) { return GlobalUnlock(handle); }

void* MemWire(MemHandle handle) { return GlobalWire(handle); }

BOOL MemUnwire(MemHandle handle) { return GlobalUnWire(handle); }

void* MemLockOnce(MemHandle handle) {
  void* address = GlobalLock(handle);
  // Still locked after giving our lock back: it was locked before, and stays as it was.
  if (GlobalUnlock(handle)) return address;
  return GlobalLock(handle);
}

int MemRelease(MemHandle* handle) {
  if (handle == nullptr || *handle == 0) return 0;
  MemUnlock(*handle);
  int result = MemFree(*handle);
  *handle = 0;
  return result;
}

}  // namespace core
