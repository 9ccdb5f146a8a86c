// The SDL backend on an X display (run under Xvfb, e.g. `Xvfb :99 -screen 0 1920x1200x24`
// and DISPLAY=:99; without a display the benchmarks report an error): the cost of a
// present (a palette fade step, one glyph of text, the menu bar) and the real length of 48
// palette-fade steps of 10 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "core/window_state.h"
#include "harness/game_harness.h"
#include "platform/common/window_table.h"
#include "platform/sdl/sdl_backend.h"
#include "sdl_bench_window.h"

namespace {

using hotaru_bench::AtSize;

// One step of a palette fade on the emulated palette display: every pixel of the client
// area changes colour, the worst case of a present.
void BM_SdlPresentPaletteStep(benchmark::State& state) {
  platform::sdl::SdlBackend* b = nullptr;
  if (!AtSize(state, static_cast<WPARAM>(state.range(0)), &b)) return;
  PALETTEENTRY entries[16];
  int step = 0;
  for (auto _ : state) {
    const auto level = static_cast<BYTE>((++step & 1) ? 40 : 200);
    for (int i = 0; i < 16; ++i)
      entries[i] = PALETTEENTRY{level, static_cast<BYTE>(i * 16), level, PC_RESERVED};
    AnimatePalette(core::Screen.WindowPalette, 0, 16, entries);
    b->RenderNow();
  }
}
BENCHMARK(BM_SdlPresentPaletteStep)->Arg(40003)->Arg(40008)->Unit(benchmark::kMillisecond);

// One glyph of text (24 × 24 picture pixels) drawn and presented.
void BM_SdlPresentGlyph(benchmark::State& state) {
  platform::sdl::SdlBackend* b = nullptr;
  if (!AtSize(state, static_cast<WPARAM>(state.range(0)), &b)) return;
  int step = 0;
  for (auto _ : state) {
    auto* p = core::LockPicture(core::Screen.VmemDIB);
    for (int y = 100; y < 124; ++y) {
      for (int x = 200; x < 224; ++x)
        *core::PixelAt(p, x, y) = static_cast<std::uint8_t>((x + y + step) % 16);
    }
    core::MemUnlock(core::Screen.VmemDIB);
    ++step;
    RECT r{200, 100, 224, 124};
    core::Present(&r);
    b->RenderNow();
  }
}
BENCHMARK(BM_SdlPresentGlyph)->Arg(40003)->Arg(40008)->Unit(benchmark::kMillisecond);

// The menu bar drawn again with ImGui (the client area unchanged).
void BM_SdlPresentMenuBar(benchmark::State& state) {
  platform::sdl::SdlBackend* b = nullptr;
  if (!AtSize(state, static_cast<WPARAM>(state.range(0)), &b)) return;
  for (auto _ : state) {
    b->NonClientChanged(core::Window.MainWindow);
    b->RenderNow();
  }
}
BENCHMARK(BM_SdlPresentMenuBar)->Arg(40003)->Arg(40008)->Unit(benchmark::kMillisecond);

// 48 steps of WaitSince(tick at the step's start, 1), as a palette fade paces itself. Each
// step lasts until more than 10 ms have passed: 11 ticks of 1 ms.
void BM_SdlFortyEightFadeSteps(benchmark::State& state) {
  platform::sdl::SdlBackend* b = nullptr;
  if (!AtSize(state, 40003, &b)) return;
  for (auto _ : state) {
    for (int i = 0; i < 48; ++i) core::WaitSince(GetTickCount(), 1);
  }
}
BENCHMARK(BM_SdlFortyEightFadeSteps)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace
