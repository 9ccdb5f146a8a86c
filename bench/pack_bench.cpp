// Speed of the pack archive: opening the largest index, and loading (reading and
// unscrambling) one packed file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "authoring/pack_writer.h"
#include "core/memory_blocks.h"
#include "core/settings.h"
#include "harness/game_harness.h"
#include "resources/pack_archive.h"
#include "resources/pack_format.h"

namespace {

// A data folder with one archive in it, and the headless platform the game code runs on,
// set up as the tests set it up. Removed at the end of the benchmark.
class PackFolder {
 public:
  explicit PackFolder(const std::vector<authoring::PackSource>& files) {
    dir_ = std::filesystem::temp_directory_path() /
           ("hotaru-pack-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir_);
    error_ = authoring::WritePack(dir_ / resources::kPackFileName, files);

    platform::headless::Options options = harness::InProcessOptions();
    options.ini_path = (dir_ / "hotaru.ini").string();
    game_.emplace(options, harness::Start::kPlatform);
    std::snprintf(core::Settings.DataDir, sizeof core::Settings.DataDir, "%s", dir_.c_str());
  }

  ~PackFolder() {
    resources::PackClose();
    game_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  const std::string& error() const { return error_; }

 private:
  std::filesystem::path dir_;
  std::string error_;
  std::optional<harness::GameHarness> game_;
};

void BM_PackOpen(benchmark::State& state) {
  std::vector<authoring::PackSource> files;
  for (std::size_t i = 0; i < resources::kPackMaxEntries; ++i)
    files.push_back({"F" + std::to_string(i) + ".DAT", std::vector<std::uint8_t>(16, 0x55)});
  PackFolder folder(files);
  if (!folder.error().empty()) {
    state.SkipWithError(folder.error().c_str());
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(resources::PackOpen());
    resources::PackClose();
  }
  state.counters["entries"] = static_cast<double>(resources::kPackMaxEntries);
}
BENCHMARK(BM_PackOpen);

void BM_PackLoadFile(benchmark::State& state) {
  const std::size_t size = static_cast<std::size_t>(state.range(0));
  std::vector<std::uint8_t> data(size);
  std::mt19937 random(1);
  for (auto& b : data) b = static_cast<std::uint8_t>(random());
  PackFolder folder({{"FIRST.DAT", {1, 2, 3}}, {"S01.VGR", data}});
  if (!folder.error().empty() || resources::PackOpen() != 1) {
    state.SkipWithError("cannot set up the archive");
    return;
  }
  for (auto _ : state) {
    std::uint32_t loaded = 0;
    core::MemHandle handle = resources::LoadFile("S01.VGR", &loaded);
    benchmark::DoNotOptimize(handle);
    core::MemFree(handle);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(size));
}
BENCHMARK(BM_PackLoadFile)->Arg(256 * 1024);

// The unscrambling alone, the part of LoadFile that is the archive's own work.
void BM_PackUnscramble(benchmark::State& state) {
  std::vector<std::uint8_t> data(static_cast<std::size_t>(state.range(0)), 0xA5);
  for (auto _ : state) {
    resources::Unscramble(data.data(), data.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_PackUnscramble)->Arg(256 * 1024);

}  // namespace
