#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/win32.h"

namespace {

// Every operation refuses a handle it did not issue or that was freed, without touching it.
void ExpectRefused(HGLOBAL mem) {
  EXPECT_EQ(GlobalLock(mem), nullptr) << mem;
  EXPECT_EQ(GlobalUnlock(mem), FALSE) << mem;
  EXPECT_EQ(GlobalWire(mem), nullptr) << mem;
  EXPECT_EQ(GlobalUnWire(mem), FALSE) << mem;
  EXPECT_EQ(GlobalSize(mem), 0u) << mem;
  if (mem != 0) {
    EXPECT_EQ(GlobalFree(mem), mem);
  }
}

TEST(GlobalMemory, LockCountsAreSharedByLockAndWire) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, 64);
  ASSERT_NE(mem, 0u);
  void* address = GlobalLock(mem);
  ASSERT_NE(address, nullptr);
  EXPECT_EQ(GlobalWire(mem), address);
  EXPECT_EQ(GlobalLock(mem), address);
  // Three locks: the unlocks report "still locked" twice, then 0, and 0 again past zero.
  EXPECT_EQ(GlobalUnWire(mem), TRUE);
  EXPECT_EQ(GlobalUnlock(mem), TRUE);
  EXPECT_EQ(GlobalUnlock(mem), FALSE);
  EXPECT_EQ(GlobalUnlock(mem), FALSE);
  EXPECT_EQ(GlobalUnWire(mem), FALSE);
  // The block does not move between lock spans.
  EXPECT_EQ(GlobalLock(mem), address);
  EXPECT_EQ(GlobalFree(mem), 0u);
}

TEST(GlobalMemory, SizesAndZeroFill) {
  HGLOBAL zeroed = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4096);
  ASSERT_NE(zeroed, 0u);
  EXPECT_EQ(GlobalSize(zeroed), 4096u);
  auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(zeroed));
  EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + 4096), std::vector<std::uint8_t>(4096, 0));

  // A block of no bytes is a block all the same, with an address of its own.
  HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(empty, 0u);
  EXPECT_EQ(GlobalSize(empty), 0u);
  EXPECT_NE(GlobalLock(empty), nullptr);
  EXPECT_EQ(GlobalFree(empty), 0u);
  EXPECT_EQ(GlobalFree(zeroed), 0u);

  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, (std::size_t{512} << 20) + 1), 0u);
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_MAX), 0u);
}

TEST(GlobalMemory, StaleAndMadeUpHandlesAreRefused) {
  for (HGLOBAL bogus : {0u, 1u, 0x12345u, 0xFFFFFFFFu}) ExpectRefused(bogus);

  HGLOBAL first = GlobalAlloc(GMEM_MOVEABLE, 16);
  ASSERT_NE(first, 0u);
  GlobalLock(first);
  // Freeing a locked block succeeds, as on Windows; the handle is dead afterwards.
  EXPECT_EQ(GlobalFree(first), 0u);
  ExpectRefused(first);

  // Blocks allocated after the free, however many, never answer to the old handle.
  std::vector<HGLOBAL> later;
  for (int i = 0; i < 300; ++i) {
    later.push_back(GlobalAlloc(GMEM_MOVEABLE, 8));
    ASSERT_NE(later.back(), 0u);
    ASSERT_NE(later.back(), first);
  }
  ExpectRefused(first);
  for (HGLOBAL mem : later) EXPECT_EQ(GlobalFree(mem), 0u);
}

TEST(GlobalMemory, BlocksKeepTheirAddressAndContentsWhileOthersComeAndGo) {
  HGLOBAL keep = GlobalAlloc(GMEM_MOVEABLE, 100);
  auto* kept = static_cast<char*>(GlobalLock(keep));
  std::memcpy(kept, "stays put", 10);
  GlobalUnlock(keep);

  std::vector<HGLOBAL> others;
  for (int i = 0; i < 1000; ++i) others.push_back(GlobalAlloc(GMEM_MOVEABLE, 1000 + i));
  for (std::size_t i = 0; i < others.size(); i += 2) GlobalFree(others[i]);

  EXPECT_EQ(GlobalLock(keep), kept);
  EXPECT_STREQ(kept, "stays put");
  for (std::size_t i = 1; i < others.size(); i += 2) {
    EXPECT_EQ(GlobalSize(others[i]), 1000 + i);
    GlobalFree(others[i]);
  }
  GlobalFree(keep);
}

}  // namespace
