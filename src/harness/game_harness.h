// The game started inside this process, for the tests, the fuzzers, the benchmarks and the
// tools: a backend installed, a clean platform, an empty block table and, when asked for,
// every subsystem at its start values and the program's main window. The harness owns that
// state for its lifetime: its end frees every block still in the table and leaves no backend
// installed, so that the next harness of the process starts from the same place.
//
// A harness for the whole process is made with new and never ended, not kept in a static:
// a static one would end at exit after the platform's memory table, which was made with the
// first block, has gone (the table frees what is left in it at exit).
#pragma once

#include <memory>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/input_script.h"

namespace harness {

// Headless options for a run inside another program: the end of the program throws
// platform::ProcessExit back to the caller instead of ending the process.
platform::headless::Options InProcessOptions();

// How much of the game the harness starts.
enum class Start {
  // The backend, a clean platform and an empty block table, as the decoders and loaders
  // need; the game's state and the layers' hooks are left as they are.
  kPlatform,
  // Also the layers connected and every subsystem at its start values, as the program has
  // them before it creates its window.
  kGame,
};

class GameHarness {
 public:
  // On a headless backend of its own with these options.
  explicit GameHarness(const platform::headless::Options& options, Start start = Start::kGame);
  // On a backend the caller owns (the SDL backend of the benchmarks), which must outlive the
  // harness.
  GameHarness(platform::Backend& backend, Start start);
  ~GameHarness();

  GameHarness(const GameHarness&) = delete;
  GameHarness& operator=(const GameHarness&) = delete;

  // The harness's own headless backend; only for a harness that made one.
  platform::headless::HeadlessBackend& backend();

  // A fresh headless backend with these options and input script in place of the one in
  // use, and a clean platform; the blocks and the game's state stay as they are.
  void RestartBackend(const platform::headless::Options& options,
                      platform::headless::InputScript script = {});

  // Creates the program's main window the way start-up does (which starts the block table
  // and the game's state again first); false when it could not be created.
  bool OpenWindow();

 private:
  void Begin(platform::Backend& backend, Start start);

  std::unique_ptr<platform::headless::HeadlessBackend> own_backend_;
};

}  // namespace harness
