// How long a sound takes from the wave device's write to its first samples reaching the
// audio driver: the mixer's copy of the buffer into its own format, then the wait for the
// driver's next request (512 frames at 44100 Hz, about 12 ms). Measured on the machine's
// sound device, or on SDL's dummy driver (same timing, silent) when there is none.
#include <SDL_mixer.h>
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "platform/sdl/mixer.h"

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<bool> g_heard{false};
std::atomic<std::int64_t> g_heard_at{0};

// Audio thread: notes the first mix that carries sound.
void NoteSound(void*, Uint8* stream, int bytes) {
  if (g_heard.load()) return;
  for (int i = 0; i < bytes; ++i) {
    if (stream[i] != 0) {
      g_heard_at = Clock::now().time_since_epoch().count();
      g_heard = true;
      return;
    }
  }
}

void BM_WaveWriteToDriver(benchmark::State& state) {
  if (platform::sdl::mixer::Open(true) == platform::sdl::mixer::Output::kFailed) {
    state.SkipWithError("no audio output, not even SDL's dummy driver");
    return;
  }
  // One second of a 22050 Hz mono sound, as the story's files are.
  const auto bytes = static_cast<std::size_t>(state.range(0));
  std::vector<std::uint8_t> sound(bytes);
  for (std::size_t i = 0; i < bytes; i += 2) sound[i + 1] = static_cast<std::uint8_t>(i % 64 + 16);
  Mix_SetPostMix(NoteSound, nullptr);
  for (auto _ : state) {
    platform::sdl::mixer::StopWave();
    g_heard = false;
    const auto start = Clock::now();
    platform::sdl::mixer::PlayWave(22050, 1, sound.data(), sound.size(), 1);
    while (!g_heard.load()) std::this_thread::yield();
    const auto heard = Clock::time_point(Clock::duration(g_heard_at.load()));
    state.SetIterationTime(std::chrono::duration<double>(heard - start).count());
  }
  platform::sdl::mixer::StopWave();
  Mix_SetPostMix(nullptr, nullptr);
  state.SetLabel(platform::sdl::mixer::State() == platform::sdl::mixer::Output::kDevice
                     ? "sound device"
                     : "dummy driver");
}
BENCHMARK(BM_WaveWriteToDriver)
    ->Arg(44100)
    ->Arg(441000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50);

}  // namespace
