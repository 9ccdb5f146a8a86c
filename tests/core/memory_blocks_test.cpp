#include "core/memory_blocks.h"

#include <string>
#include <vector>

#include "support/platform_fixture.h"

namespace {

using namespace core;

class MemoryBlocksTest : public hotaru_test::PlatformTest {
 protected:
  static std::string NameAt(int i) { return core::Memory.MemBlockTable[i].name; }
};

TEST_F(MemoryBlocksTest, TableHoldsTwoHundredFiftySixBlocks) {
  for (int i = 0; i < core::kMemBlockTableSize; ++i)
    ASSERT_NE(core::MemAlloc(16, "block"), 0u) << i;
  EXPECT_EQ(core::Memory.MemBlockCount, core::kMemBlockTableSize);
  EXPECT_EQ(ExpectFatal([] { core::MemAlloc(16, "one too many"); }), "ハンドルオーバーです");
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
    core::MemHandle handle = core::MemAlloc(1, c.name);
    EXPECT_EQ(NameAt(core::Memory.MemBlockCount - 1), c.stored) << c.name;
    EXPECT_EQ(core::Memory.MemBlockTable[core::Memory.MemBlockCount - 1].handle, handle);
  }
}

TEST_F(MemoryBlocksTest, FreeClosesUpTheTable) {
  core::MemHandle a = core::MemAlloc(10, "A");
  core::MemHandle b = core::MemAlloc(20, "B");
  core::MemHandle c = core::MemAlloc(30, "C");
  EXPECT_EQ(core::MemFree(a), 1);
  ASSERT_EQ(core::Memory.MemBlockCount, 2);
  EXPECT_EQ(core::Memory.MemBlockTable[0].handle, b);
  EXPECT_EQ(core::Memory.MemBlockTable[0].size, 20u);
  EXPECT_EQ(NameAt(0), "B               ");
  EXPECT_EQ(core::Memory.MemBlockTable[1].handle, c);
  EXPECT_EQ(core::Memory.MemBlockTable[1].size, 30u);
  EXPECT_EQ(NameAt(1), "C               ");
  // The entry given up is a free entry again.
  EXPECT_EQ(core::Memory.MemBlockTable[2].handle, 0u);
  EXPECT_EQ(core::Memory.MemBlockTable[2].size, 0u);
  EXPECT_EQ(NameAt(2), "                ");
  EXPECT_EQ(GlobalLock(a), nullptr);
}

TEST_F(MemoryBlocksTest, FreeUnlocksCompletely) {
  core::MemHandle handle = core::MemAlloc(8, "locked");
  core::MemLock(handle);
  core::MemLock(handle);
  core::MemWire(handle);
  EXPECT_EQ(core::MemFree(handle), 1);
  EXPECT_EQ(core::Memory.MemBlockCount, 0);
  EXPECT_EQ(GlobalSize(handle), 0u);
}

TEST_F(MemoryBlocksTest, FreeOfBlocksOutsideTheTable) {
  core::MemHandle listed = core::MemAlloc(8, "listed");
  // Not in the table: freed all the same, the table untouched.
  HGLOBAL stray = GlobalAlloc(GMEM_MOVEABLE, 8);
  GlobalLock(stray);
  EXPECT_EQ(core::MemFree(stray), 1);
  EXPECT_EQ(GlobalSize(stray), 0u);
  // A handle the platform refuses.
  EXPECT_EQ(core::MemFree(stray), 0);
  ASSERT_EQ(core::Memory.MemBlockCount, 1);
  EXPECT_EQ(core::Memory.MemBlockTable[0].handle, listed);
}

TEST_F(MemoryBlocksTest, LockOnceAddsALockOnlyToAnUnlockedBlock) {
  core::MemHandle handle = core::MemAlloc(8, "once");
  void* address = core::MemLock(handle);
  core::MemUnlock(handle);

  // Unlocked: locked once afterwards.
  EXPECT_EQ(core::MemLockOnce(handle), address);
  EXPECT_EQ(core::MemUnlock(handle), FALSE);
  EXPECT_EQ(core::MemUnlock(handle), FALSE);

  // Locked twice: still twice afterwards.
  core::MemLock(handle);
  core::MemLock(handle);
  EXPECT_EQ(core::MemLockOnce(handle), address);
  EXPECT_EQ(core::MemUnlock(handle), TRUE);
  EXPECT_EQ(core::MemUnlock(handle), FALSE);

  // Wired counts as locked.
  core::MemWire(handle);
  EXPECT_EQ(core::MemLockOnce(handle), address);
  EXPECT_EQ(core::MemUnwire(handle), FALSE);
}

TEST_F(MemoryBlocksTest, ReleaseDropsTheBlockAndClearsTheVariable) {
  core::MemHandle none = 0;
  EXPECT_EQ(core::MemRelease(&none), 0);
  EXPECT_EQ(core::MemRelease(nullptr), 0);

  core::MemHandle handle = core::MemAlloc(8, "held");
  core::MemHandle copy = handle;
  core::MemLock(handle);
  EXPECT_EQ(core::MemRelease(&handle), 1);
  EXPECT_EQ(handle, 0u);
  EXPECT_EQ(core::Memory.MemBlockCount, 0);
  EXPECT_EQ(GlobalLock(copy), nullptr);
}

TEST_F(MemoryBlocksTest, RefusedAllocationEndsTheProgram) {
  EXPECT_EQ(ExpectFatal([] { core::MemAlloc(0xC0000000u, "huge"); }), "メモリ不足です");
  EXPECT_EQ(core::Memory.MemBlockCount, 0);
}

TEST_F(MemoryBlocksTest, InitFreesWhatTheTableStillLists) {
  core::MemHandle handle = core::MemAlloc(8, "left over");
  core::MemLock(handle);
  EXPECT_EQ(core::MemInit(), 1);
  EXPECT_EQ(core::Memory.MemBlockCount, 0);
  EXPECT_EQ(core::Memory.MemBlockTable[0].handle, 0u);
  EXPECT_EQ(GlobalSize(handle), 0u);
}

}  // namespace
