// Named memory blocks: one fixed table of every live block, in allocation order.
#include "core/memory_blocks.h"

#include <cstring>
#include <string>

#include "core/exit_program.h"
#include "core/format_text.h"

namespace resources {

MemBlockEntry MemBlockTable[kMemBlockTableSize];
std::int16_t MemBlockCount = 0;

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

void ClearEntry(MemBlockEntry& entry) {
  entry.handle = 0;
  entry.size = 0;
  SetName(entry, "");
}

[[noreturn]] void Fatal(const char* message) {
  std::string text = FormatString(message);
  shell::ExitProgram(text.c_str());
}

}  // namespace

int MemInit() {
  // Blocks still listed (only when a test starts the program again in one process) are
  // freed rather than forgotten.
  for (int i = 0; i < MemBlockCount && i < kMemBlockTableSize; ++i) {
    while (GlobalUnlock(MemBlockTable[i].handle)) {
    }
    GlobalFree(MemBlockTable[i].handle);
  }
  for (MemBlockEntry& entry : MemBlockTable) ClearEntry(entry);
  MemBlockCount = 0;
  return 1;
}

MemHandle MemAlloc(std::uint32_t size, const char* name) {
  if (MemBlockCount >= kMemBlockTableSize) Fatal("ハンドルオーバーです");
  MemHandle handle = GlobalAlloc(kBlockFlags, size);
  if (handle == 0) Fatal("メモリ不足です");
  MemBlockEntry& entry = MemBlockTable[MemBlockCount];
  entry.handle = handle;
  entry.size = size;
  SetName(entry, name);
  ++MemBlockCount;
  return handle;
}

int MemFree(MemHandle handle) {
  for (int i = 0; i < MemBlockCount; ++i) {
    if (MemBlockTable[i].handle != handle) continue;
    // Close up so the table stays in allocation order without gaps.
    for (int j = i; j + 1 < MemBlockCount; ++j) MemBlockTable[j] = MemBlockTable[j + 1];
    ClearEntry(MemBlockTable[MemBlockCount - 1]);
    --MemBlockCount;
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

}  // namespace resources
