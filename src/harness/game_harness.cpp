#include "harness/game_harness.h"

#include <cstdlib>
#include <utility>

#include "core/memory_blocks.h"
#include "shell/startup.h"

namespace harness {

platform::headless::Options InProcessOptions() {
  platform::headless::Options options;
  options.exit_throws = true;
  return options;
}

GameHarness::GameHarness(const platform::headless::Options& options, Start start)
    : own_backend_(std::make_unique<platform::headless::HeadlessBackend>(options)) {
  Begin(*own_backend_, start);
}

GameHarness::GameHarness(platform::Backend& backend, Start start) { Begin(backend, start); }

void GameHarness::Begin(platform::Backend& backend, Start start) {
  platform::SetBackend(&backend);
  platform::ResetPlatformState();
  if (start == Start::kGame) shell::ConnectLayers();
  core::MemInit();
  if (start == Start::kGame) shell::ResetGameState();
}

GameHarness::~GameHarness() {
  while (core::Memory.MemBlockCount > 0) core::MemFree(core::Memory.MemBlockTable[0].handle);
  platform::ResetPlatformState();
  platform::SetBackend(nullptr);
}

platform::headless::HeadlessBackend& GameHarness::backend() {
  // A harness on a backend of the caller's has none of its own to give.
  if (own_backend_ == nullptr) std::abort();
  return *own_backend_;
}

void GameHarness::RestartBackend(const platform::headless::Options& options,
                                 platform::headless::InputScript script) {
  platform::SetBackend(nullptr);
  own_backend_ = std::make_unique<platform::headless::HeadlessBackend>(options, std::move(script));
  platform::SetBackend(own_backend_.get());
  platform::ResetPlatformState();
}

bool GameHarness::OpenWindow() {
  // The window's instance handle only has to be the same for the whole process.
  static char instance;
  return shell::CreateMainWindow(reinterpret_cast<HINSTANCE>(&instance)) == -1;
}

}  // namespace harness
