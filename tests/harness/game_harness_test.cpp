// The harness every in-process test, fuzzer, benchmark and tool starts the game with.
#include <gtest/gtest.h>

#include "core/memory_blocks.h"
#include "harness/game_harness.h"
#include "platform/backend.h"

namespace {

// Fuzzers start a harness per input in one process: whatever an input left in the block
// table, locked or not, must be gone before the next one, and no backend may outlive it.
TEST(GameHarness, EndFreesEveryBlockLeftAndUninstallsItsBackend) {
  core::MemHandle locked = 0;
  core::MemHandle unlocked = 0;
  {
    harness::GameHarness game(harness::InProcessOptions(), harness::Start::kPlatform);
    locked = core::MemAlloc(16, "left locked");
    core::MemLock(locked);
    core::MemLock(locked);
    unlocked = core::MemAlloc(8, "left");
  }
  EXPECT_EQ(core::Memory.MemBlockCount, 0);
  EXPECT_EQ(GlobalSize(locked), 0u);
  EXPECT_EQ(GlobalSize(unlocked), 0u);
  EXPECT_DEATH(platform::CurrentBackend(), "no platform backend");
}

}  // namespace
