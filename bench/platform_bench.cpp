// The headless runner's virtual clock and the cost of one repaint.
#include <benchmark/benchmark.h>

#include <optional>

#include "core/message_pump.h"
#include "core/window_state.h"
#include "harness/game_harness.h"

namespace {

// The program's window on a headless display, with the 60 ms timer running.
class WindowOnHeadless {
 public:
  explicit WindowOnHeadless(int display_bits) {
    platform::headless::Options options = harness::InProcessOptions();
    options.ini_path = "/dev/null";
    options.screen_width = 1920;
    options.screen_height = 1200;
    options.display_bits = display_bits;
    game_.emplace(options);
    game_->OpenWindow();
    SetTimer(core::Window.MainWindow, 1, 60, nullptr);
  }

 private:
  std::optional<harness::GameHarness> game_;
};

// A 60-second wait of the game on the virtual clock: 60,000 empty peeks and 1,000 timer
// messages.
void BM_VirtualClockSixtySecondWait(benchmark::State& state) {
  WindowOnHeadless window(8);
  for (auto _ : state) core::Wait(6000);
  state.counters["virtual_s_per_real_s"] = benchmark::Counter(
      60.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_VirtualClockSixtySecondWait)->Unit(benchmark::kMillisecond);

// One whole-window repaint at a size command, on a palette display and a true-colour one.
void BM_Repaint(benchmark::State& state) {
  const auto command = static_cast<WPARAM>(state.range(0));
  WindowOnHeadless window(static_cast<int>(state.range(1)));
  SendMessageA(core::Window.MainWindow, WM_COMMAND, command, 0);
  for (auto _ : state) core::Present(nullptr);
  state.SetLabel(std::to_string(core::Window.ClientWidth) + "x" +
                 std::to_string(core::Window.ClientHeight) + " at " +
                 std::to_string(state.range(1)) + " bits");
}
BENCHMARK(BM_Repaint)
    ->Args({40003, 8})
    ->Args({40008, 8})
    ->Args({40003, 32})
    ->Args({40008, 32})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
