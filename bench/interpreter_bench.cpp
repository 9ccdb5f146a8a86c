// The event script interpreter's speed on a long straight-line script, with the message
// pump it runs after every instruction.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "authoring/block_encoder.h"
#include "core/scenario_state.h"
#include "core/window_state.h"
#include "harness/game_harness.h"
#include "scenario/event_interpreter.h"
#include "scenario/scenario_loader.h"

namespace {

constexpr std::size_t kTableEnd = 2 + 2 * 256;

// A scenario file whose label 0 is an end and whose label 1 runs `count` flag instructions
// (sets and adds in turn) and then ends.
std::vector<std::uint8_t> StraightLineScenario(int count) {
  std::vector<std::uint8_t> code(kTableEnd, 0);
  auto label = [&code](int l, std::size_t at) {
    code[2 + 2 * l] = static_cast<std::uint8_t>(at);
    code[3 + 2 * l] = static_cast<std::uint8_t>(at >> 8);
  };
  label(0, code.size());
  code.push_back(0x20);
  label(1, code.size());
  for (int i = 0; i < count; ++i) {
    code.insert(code.end(), {static_cast<std::uint8_t>(i % 2 ? 0x4C : 0x4B),
                             static_cast<std::uint8_t>(i % 20), static_cast<std::uint8_t>(i)});
  }
  code.push_back(0x20);
  // Every message is the one empty text after the table.
  std::vector<std::uint8_t> messages(kTableEnd + 1, 0);
  for (int m = 0; m < 256; ++m) {
    messages[2 + 2 * m] = kTableEnd & 0xFF;
    messages[3 + 2 * m] = kTableEnd >> 8;
  }
  messages[kTableEnd] = 0xAF;

  std::vector<std::uint8_t> file(16, 0);
  const auto event = authoring::PackBlock(code);
  file.insert(file.end(), event.begin(), event.end());
  while (file.size() % 16) file.push_back(0);
  const std::size_t message_at = file.size();
  const auto packed = authoring::PackBlock(messages);
  file.insert(file.end(), packed.begin(), packed.end());
  file[0] = 1;
  file[2] = static_cast<std::uint8_t>(message_at / 16);
  file[3] = static_cast<std::uint8_t>(message_at / 16 >> 8);
  return file;
}

void BM_StraightLineScript(benchmark::State& state) {
  constexpr int kInstructions = 20000;
  platform::headless::Options options = harness::InProcessOptions();
  options.ini_path = "/dev/null";
  harness::GameHarness game(options);
  game.OpenWindow();
  SetTimer(core::Window.MainWindow, 1, 60, nullptr);

  const std::vector<std::uint8_t> file = StraightLineScenario(kInstructions);
  scenario::InstallScenario(1, file.data(), static_cast<std::uint32_t>(file.size()));
  const std::uint16_t start = scenario::LabelOffset(1);
  for (auto _ : state) {
    scenario::SetEventPC(start);
    core::Scenario.ScriptStop = 0;
    scenario::RunEvents();
  }
  state.counters["instructions_per_s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * (kInstructions + 1), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StraightLineScript)->Unit(benchmark::kMillisecond);

}  // namespace
