// Movable global memory with real lock counts.
//
// Blocks sit in a table of slots. A handle carries the slot number and the slot's
// generation, which changes whenever the slot's block is freed, so a handle kept past
// GlobalFree, or one that was never issued, is recognised and refused instead of reaching
// freed memory. Blocks never move: "movable" only ever promised a stable address while
// locked, and an address that is stable for the block's whole life keeps that promise.
//
// One thread only, like the rest of the platform layer: no lock guards the table.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <vector>

#include "platform/common/platform_state.h"
#include "platform/win32.h"

namespace platform {

GlobalMemoryState GlobalMemory;

namespace {

// Larger requests are a caller's mistake (a size read from a damaged file), not a need.
constexpr std::size_t kMaxBlockBytes = std::size_t{512} << 20;

// handle = generation << 16 | (slot + 1): the low half is never 0, so neither is a handle.
constexpr std::uint32_t kSlotBits = 16;
constexpr std::uint32_t kSlotMask = (1u << kSlotBits) - 1;
constexpr std::size_t kMaxSlots = kSlotMask;

HGLOBAL MakeHandle(std::uint32_t slot, std::uint16_t generation) {
  return (static_cast<std::uint32_t>(generation) << kSlotBits) | (slot + 1);
}

// The live slot a handle names, or null for anything else.
MemoryBlockSlot* Find(HGLOBAL mem) {
  std::uint32_t low = mem & kSlotMask;
  if (low == 0) return nullptr;
  GlobalMemoryState& table = GlobalMemory;
  std::uint32_t index = low - 1;
  if (index >= table.slots.size()) return nullptr;
  MemoryBlockSlot& slot = table.slots[index];
  if (!slot.live || slot.generation != (mem >> kSlotBits)) return nullptr;
  return &slot;
}

}  // namespace
}  // namespace platform

HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes) {
  using namespace platform;
  if (bytes > kMaxBlockBytes) return 0;
  GlobalMemoryState& table = GlobalMemory;
  if (table.free_slots.empty() && table.slots.size() >= kMaxSlots) return 0;

  // A block of 0 bytes still gets an address of its own.
  void* data = std::malloc(bytes == 0 ? 1 : bytes);
  if (data == nullptr) return 0;
  if (flags & GMEM_ZEROINIT) {
    std::memset(data, 0, bytes);
  } else {
#ifndef NDEBUG
    // Makes reads of never-written contents stand out in a debugger.
    std::memset(data, 0xCD, bytes);
#endif
  }

  std::uint32_t index;
  if (!table.free_slots.empty()) {
    index = table.free_slots.front();
    table.free_slots.pop_front();
  } else {
    index = static_cast<std::uint32_t>(table.slots.size());
    table.slots.emplace_back();
  }
  MemoryBlockSlot& slot = table.slots[index];
  slot.data = data;
  slot.size = bytes;
  slot.locks = 0;
  slot.live = true;
  return MakeHandle(index, slot.generation);
}

void* GlobalLock(HGLOBAL mem) {
  platform::MemoryBlockSlot* slot = platform::Find(mem);
  if (slot == nullptr) return nullptr;
  if (slot->locks != UINT32_MAX) ++slot->locks;
  return slot->data;
}

BOOL GlobalUnlock(HGLOBAL mem) {
  platform::MemoryBlockSlot* slot = platform::Find(mem);
  if (slot == nullptr || slot->locks == 0) return FALSE;
  --slot->locks;
  return slot->locks != 0 ? TRUE : FALSE;
}

void* GlobalWire(HGLOBAL mem) { return GlobalLock(mem); }

BOOL GlobalUnWire(HGLOBAL mem) { return GlobalUnlock(mem); }

HGLOBAL GlobalFree(HGLOBAL mem) {
  platform::MemoryBlockSlot* slot = platform::Find(mem);
  if (slot == nullptr) return mem;
  // As on Windows, a block still locked is freed all the same.
  std::free(slot->data);
  slot->data = nullptr;
  slot->size = 0;
  slot->locks = 0;
  slot->live = false;
  ++slot->generation;
  platform::GlobalMemory.free_slots.push_back((mem & platform::kSlotMask) - 1);
  return 0;
}

std::size_t GlobalSize(HGLOBAL mem) {
  platform::MemoryBlockSlot* slot = platform::Find(mem);
  return slot == nullptr ? 0 : slot->size;
}
