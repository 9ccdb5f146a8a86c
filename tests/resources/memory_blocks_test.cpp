#include "core/memory_blocks.h"

#include <string>
#include <vector>

#include "support/platform_fixture.h"

namespace {

using namespace resources;

class MemoryBlocksTest : public hotaru_test::PlatformTest {
 protected:
  static std::string NameAt(int i) { return MemBlockTable[i].name; }
};

TEST_F(MemoryBlocksTest, TableHoldsTwoHundredFiftySixBlocks) {
  for (int i = 0; i < kMemBlockTableSize; ++i) ASSERT_NE(MemAlloc(16, "block"), 0u) << i;
  EXPECT_EQ(MemBlockCount, kMemBlockTableSize);
  EXPECT_EQ(ExpectFatal([] { MemAlloc(16, "one too many"); }), "ハンドルオーバーです");
}

TEST_F(MemoryBlocksTest, NamesAreCutOrPaddedToSixteen) {
  struct Case {
    const char* name;
    const char* stored;
  };
  const Case cases[] = {
      {"abc", "abc             "},
      {"twenty characters!!!", "twenty character"},
      {"exactly sixteen!", "exactly sixteen!"},
      {"", "                "},
      {"pk:a_long_name.vgr", "pk:a_long_name.v"},
  };
  for (const Case& c : cases) {
    MemHandle handle = MemAlloc(1, c.name);
    EXPECT_EQ(NameAt(MemBlockCount - 1), c.stored) << c.name;
    EXPECT_EQ(MemBlockTable[MemBlockCount - 1].handle, handle);
  }
}

TEST_F(MemoryBlocksTest, FreeClosesUpTheTable) {
  MemHandle a = MemAlloc(10, "A");
  MemHandle b = MemAlloc(20, "B");
  MemHandle c = MemAlloc(30, "C");
  EXPECT_EQ(MemFree(a), 1);
  ASSERT_EQ(MemBlockCount, 2);
  EXPECT_EQ(MemBlockTable[0].handle, b);
  EXPECT_EQ(MemBlockTable[0].size, 20u);
  EXPECT_EQ(NameAt(0), "B               ");
  EXPECT_EQ(MemBlockTable[1].handle, c);
  EXPECT_EQ(MemBlockTable[1].size, 30u);
  EXPECT_EQ(NameAt(1), "C               ");
  // The entry given up is a free entry again.
  EXPECT_EQ(MemBlockTable[2].handle, 0u);
  EXPECT_EQ(MemBlockTable[2].size, 0u);
  EXPECT_EQ(NameAt(2), "                ");
  EXPECT_EQ(GlobalLock(a), nullptr);
}

TEST_F(MemoryBlocksTest, FreeUnlocksCompletely) {
  MemHandle handle = MemAlloc(8, "locked");
  MemLock(handle);
  MemLock(handle);
  MemWire(handle);
  EXPECT_EQ(MemFree(handle), 1);
  EXPECT_EQ(MemBlockCount, 0);
  EXPECT_EQ(GlobalSize(handle), 0u);
}

TEST_F(MemoryBlocksTest, FreeOfBlocksOutsideTheTable) {
  MemHandle listed = MemAlloc(8, "listed");
  // Not in the table: freed all the same, the table untouched.
  HGLOBAL stray = GlobalAlloc(GMEM_MOVEABLE, 8);
  GlobalLock(stray);
  EXPECT_EQ(MemFree(stray), 1);
  EXPECT_EQ(GlobalSize(stray), 0u);
  // A handle the platform refuses.
  EXPECT_EQ(MemFree(stray), 0);
  ASSERT_EQ(MemBlockCount, 1);
  EXPECT_EQ(MemBlockTable[0].handle, listed);
}

TEST_F(MemoryBlocksTest, LockOnceAddsALockOnlyToAnUnlockedBlock) {
  MemHandle handle = MemAlloc(8, "once");
  void* address = MemLock(handle);
  MemUnlock(handle);

  // Unlocked: locked once afterwards.
  EXPECT_EQ(MemLockOnce(handle), address);
  EXPECT_EQ(MemUnlock(handle), FALSE);
  EXPECT_EQ(MemUnlock(handle), FALSE);

  // Locked twice: still twice afterwards.
  MemLock(handle);
  MemLock(handle);
  EXPECT_EQ(MemLockOnce(handle), address);
  EXPECT_EQ(MemUnlock(handle), TRUE);
  EXPECT_EQ(MemUnlock(handle), FALSE);

  // Wired counts as locked.
  MemWire(handle);
  EXPECT_EQ(MemLockOnce(handle), address);
  EXPECT_EQ(MemUnwire(handle), FALSE);
}

TEST_F(MemoryBlocksTest, ReleaseDropsTheBlockAndClearsTheVariable) {
  MemHandle none = 0;
  EXPECT_EQ(MemRelease(&none), 0);
  EXPECT_EQ(MemRelease(nullptr), 0);

  MemHandle handle = MemAlloc(8, "held");
  MemHandle copy = handle;
  MemLock(handle);
  EXPECT_EQ(MemRelease(&handle), 1);
  EXPECT_EQ(handle, 0u);
  EXPECT_EQ(MemBlockCount, 0);
  EXPECT_EQ(GlobalLock(copy), nullptr);
}

TEST_F(MemoryBlocksTest, RefusedAllocationEndsTheProgram) {
  EXPECT_EQ(ExpectFatal([] { MemAlloc(0xC0000000u, "huge"); }), "メモリ不足です");
  EXPECT_EQ(MemBlockCount, 0);
}

TEST_F(MemoryBlocksTest, InitFreesWhatTheTableStillLists) {
  MemHandle handle = MemAlloc(8, "left over");
  MemLock(handle);
  EXPECT_EQ(MemInit(), 1);
  EXPECT_EQ(MemBlockCount, 0);
  EXPECT_EQ(MemBlockTable[0].handle, 0u);
  EXPECT_EQ(GlobalSize(handle), 0u);
}

}  // namespace
