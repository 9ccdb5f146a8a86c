// The program's main window in a real SDL window for the benchmarks that measure what a
// reader sees: made once for the whole run and shared by every benchmark of the program.
// Needs an X display (run under Xvfb, e.g. `Xvfb :99 -screen 0 1920x1200x24` and
// DISPLAY=:99); without one the benchmarks report an error.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "core/window_state.h"
#include "harness/game_harness.h"
#include "platform/sdl/sdl_backend.h"

namespace hotaru_bench {

// The program's main window in an SDL window, made once for the whole run.
inline platform::sdl::SdlBackend* Backend(std::string* error) {
  static platform::sdl::SdlBackend* backend = nullptr;
  static harness::GameHarness* game = nullptr;
  static std::string start_error;
  if (backend == nullptr && start_error.empty()) {
    auto* b = new platform::sdl::SdlBackend(platform::sdl::Options{});
    if (!b->Start(&start_error)) {
      delete b;
    } else {
      backend = b;
      // Kept, like the backend, to the end of the process.
      game = new harness::GameHarness(*backend, harness::Start::kGame);
      game->OpenWindow();
      ShowWindow(core::Window.MainWindow, SW_SHOWNORMAL);
      // The 60 ms timer of the running program: an empty queue never waits longer.
      SetTimer(core::Window.MainWindow, 1, 60, nullptr);
      // A picture of all 16 colours whose rows all differ, as in a drawn background.
      auto* p = core::LockPicture(core::Screen.VmemDIB);
      for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 640; ++x)
          *core::PixelAt(p, x, y) = static_cast<std::uint8_t>((x / 8 + y) % 16);
      }
      core::MemUnlock(core::Screen.VmemDIB);
    }
  }
  if (backend != nullptr) platform::SetBackend(backend);
  *error = start_error;
  return backend;
}

// Shows the window at the size of a size command and lets it settle.
inline bool AtSize(benchmark::State& state, WPARAM command, platform::sdl::SdlBackend** out) {
  std::string error;
  platform::sdl::SdlBackend* b = Backend(&error);
  if (b == nullptr) {
    state.SkipWithError(("no display: " + error).c_str());
    return false;
  }
  SendMessageA(core::Window.MainWindow, WM_COMMAND, command, 0);
  core::Present(nullptr);
  const DWORD settle = GetTickCount() + 300;
  while (GetTickCount() < settle) core::PumpMessage();
  if (core::Window.ScreenMode != command) {
    state.SkipWithError("the screen is too small for this size");
    return false;
  }
  state.SetLabel(std::to_string(core::Window.ClientWidth) + "x" +
                 std::to_string(core::Window.ClientHeight));
  *out = b;
  return true;
}

}  // namespace hotaru_bench
