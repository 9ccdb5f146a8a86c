// One save into a slot file, the way the game makes it: sealed, written to a temporary
// file, flushed, renamed over the slot, the folder flushed. And the slot screen's read of
// one slot.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "core/game_state.h"
#include "core/settings.h"
#include "harness/game_harness.h"
#include "scenario/save_slots.h"

namespace {

// The game on the headless backend with a data folder of its own under the system's
// temporary folder (a real disk folder, so that the flushes cost what they cost).
class SaveFolder {
 public:
  SaveFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "hotaru-save-XXXXXX").string();
    folder_ = mkdtemp(pattern.data());
    game_.emplace(harness::InProcessOptions());
    std::strncpy(core::Settings.DataDir, folder_.c_str(), sizeof core::Settings.DataDir - 1);
  }
  ~SaveFolder() {
    game_.reset();
    std::filesystem::remove_all(folder_);
  }

 private:
  std::string folder_;
  std::optional<harness::GameHarness> game_;
};

void BM_SaveSlotWithFlushes(benchmark::State& state) {
  SaveFolder folder;
  for (auto _ : state) {
    if (!scenario::SaveSlot(0)) state.SkipWithError("the save failed");
  }
}
BENCHMARK(BM_SaveSlotWithFlushes)->Unit(benchmark::kMillisecond);

void BM_ReadSlotInfo(benchmark::State& state) {
  SaveFolder folder;
  scenario::SaveSlot(0);
  for (auto _ : state) benchmark::DoNotOptimize(scenario::ReadSlotInfo(0));
}
BENCHMARK(BM_ReadSlotInfo)->Unit(benchmark::kMicrosecond);

}  // namespace
