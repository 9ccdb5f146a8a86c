// One frame of a wave scene: 400 rows of the shown picture composed from their text bits
// and the moved background, which must fit well inside the scene's 10 ms frame.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "core/picture.h"
#include "text/wave_text_scene.h"

namespace {

void BM_WaveFrame(benchmark::State& state) {
  const auto direction = static_cast<text::WaveDirection>(state.range(0));
  std::vector<std::uint8_t> screen(core::kPixelBytes);
  std::vector<std::uint8_t> background(core::kPixelBytes);
  for (std::size_t i = 0; i < screen.size(); ++i) {
    background[i] = static_cast<std::uint8_t>((i * 7919u >> 3) & 3);
    screen[i] = static_cast<std::uint8_t>(background[i] | ((i / 5) % 3) << 2);
  }
  int phase = 0;
  for (auto _ : state) {
    text::ComposeWaveFrame(screen.data(), background.data(), direction, text::kWaveFullAmplitude,
                           phase);
    phase = (phase + 2) % 360;
    benchmark::DoNotOptimize(screen.data());
    benchmark::ClobberMemory();
  }
  state.SetLabel(direction == text::WaveDirection::kHorizontal ? "horizontal" : "vertical");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * core::kPixelBytes);
}
BENCHMARK(BM_WaveFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
