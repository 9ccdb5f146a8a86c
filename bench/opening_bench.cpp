// The opening on the SDL backend (an X display is needed, see sdl_bench_window.h): the
// cost of one frame of each kind, composed into the shown picture and presented at
// 640 × 400, and the real length of a cloud pass and an art pass against their nominal
// length (the sum of their paced waits).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "authoring/block_encoder.h"
#include "authoring/picture_file.h"
#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "flow/opening_parts.h"
#include "sdl_bench_window.h"

namespace {

using hotaru_bench::AtSize;

constexpr WPARAM kSize640x400 = 40003;

std::uint8_t Scatter(int x, int y) {
  return static_cast<std::uint8_t>((static_cast<unsigned>(x * 7919 + y * 104729) >> 3) & 3);
}

std::vector<std::uint8_t> Layer(int width, int rows, std::uint8_t scale) {
  std::vector<std::uint8_t> data(static_cast<std::size_t>(width * rows));
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < width; ++c)
      data[static_cast<std::size_t>(r * width + c)] =
          static_cast<std::uint8_t>(Scatter(c, r) * scale);
  return data;
}

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// The opening's files with busy content in a folder of their own, made the data folder.
void UseOpeningData() {
  static std::filesystem::path dir;
  if (dir.empty()) {
    dir = std::filesystem::temp_directory_path() / "hotaru-opening-bench";
    std::filesystem::create_directories(dir);
    WriteFile(dir / "OP2_KM_W.SDT", authoring::PackBlock(Layer(1280, 400, 1)));
    WriteFile(dir / "OP1W.SDT", authoring::PackBlock(Layer(336, 400, 1)));
    WriteFile(dir / "OP2W.SDT", authoring::PackBlock(Layer(448, 512, 4)));
    authoring::PictureImage night{640, 400, {}};
    for (int y = 0; y < 400; ++y)
      for (int x = 0; x < 640; ++x)
        night.pixels.push_back(y > 360 ? 15
                                       : static_cast<std::uint8_t>(Scatter(x / 16, y / 16) * 4));
    authoring::PictureOptions options;
    options.order = authoring::PixelOrder::kRows;
    std::vector<std::uint8_t> file;
    authoring::BuildPictureFile(night, options, &file);
    WriteFile(dir / "OP2_MN_W.VGR", file);
  }
  std::snprintf(core::Settings.DataDir, sizeof core::Settings.DataDir, "%s", dir.string().c_str());
}

// A cloud frame: the whole picture rewritten, then presented and drawn in the window.
void BM_OpeningCloudFrame(benchmark::State& state) {
  platform::sdl::SdlBackend* b = nullptr;
  if (!AtSize(state, kSize640x400, &b)) return;
  const std::vector<std::uint8_t> cloud = Layer(flow::kCloudLayerWidth, flow::kOpeningRows, 1);
  int x = 0;
  for (auto _ : state) {
    std::uint8_t* screen = core::LockPicture(core::Screen.VmemDIB) + core::kPixelOffset;
    flow::ComposeClouds(screen, cloud.data(), x);
    core::MemUnlock(core::Screen.VmemDIB);
    core::Present(nullptr);
    b->RenderNow();
    x = (x + 2) % 642;
  }
}
BENCHMARK(BM_OpeningCloudFrame)->Unit(benchmark::kMillisecond);

// A frame of an art pass: the sliding layer and the overlay drawn, presented and shown.
void BM_OpeningPassFrame(benchmark::State& state) {
  platform::sdl::SdlBackend* b = nullptr;
  if (!AtSize(state, kSize640x400, &b)) return;
  const std::vector<std::uint8_t> slide = Layer(flow::kSlideLayerWidth, flow::kOpeningRows, 1);
  const std::vector<std::uint8_t> overlay =
      Layer(flow::kOverlayLayerWidth, flow::kOverlayLayerRows, 4);
  int u = 0;
  for (auto _ : state) {
    std::uint8_t* screen = core::LockPicture(core::Screen.VmemDIB) + core::kPixelOffset;
    flow::SlideLayer(screen, slide.data(), 0, u + 176);
    flow::OverlayLayer(screen, overlay.data(), u);
    core::MemUnlock(core::Screen.VmemDIB);
    core::Present(nullptr);
    b->RenderNow();
    u = (u + 2) % 160;
  }
}
BENCHMARK(BM_OpeningPassFrame)->Unit(benchmark::kMillisecond);

// The first cloud pass and art pass 1 as the opening plays them, timed on the wall clock.
// Nominal: every frame waits its step × 10 ms; a cloud pass has 2 × FadeSteps + 17 frames
// (fade in, hold, fade out), an art pass 160 / step frames and one 20 ms fade-out step.
void BM_OpeningStagesRealLength(benchmark::State& state) {
  platform::sdl::SdlBackend* b = nullptr;
  if (!AtSize(state, kSize640x400, &b)) return;
  UseOpeningData();
  const int step = flow::OpeningFrameStep();
  const int cloud_frames = std::min(2 * core::Screen.FadeSteps + 17, 640 / step + 1);
  const double nominal_ms = cloud_frames * step * 10 + (160 / step) * step * 10 + 20;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    flow::OpeningClouds(false);
    flow::OpeningPass(1);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(took.count() / 1000);
  }
  state.counters["nominal_ms"] = nominal_ms;
  state.counters["step"] = step;
  state.counters["fade_steps"] = core::Screen.FadeSteps;
}
BENCHMARK(BM_OpeningStagesRealLength)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

}  // namespace
