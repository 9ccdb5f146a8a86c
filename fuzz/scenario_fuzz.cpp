// Scenario files from outside: any bytes loaded as scenario 0 and played from its entry
// routine and label 1 for a bounded time under the headless backend, in the program's window
// with a font, so that messages are drawn. Refusing the file or ending on damaged data is
// fine; a crash or a read outside a block is not (ASan, UBSan).
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/memory_blocks.h"
#include "core/scenario_state.h"
#include "core/settings.h"
#include "harness/game_harness.h"
#include "platform/backend.h"
#include "scenario/event_interpreter.h"
#include "scenario/scenario_loader.h"
#include "temporary_folder.h"
#include "text/font.h"

namespace {

// Virtual milliseconds per input: every instruction pumps at least once, and each pump of an
// empty queue moves the clock on by 1 ms, so this bounds the instructions run too.
constexpr std::uint32_t kRunMs = 200;
constexpr std::uint32_t kFontGlyphs = 300;

// A font whose every glyph has ink along its diagonal.
void InstallFont() {
  text::Text.FontData = core::MemAlloc(kFontGlyphs * text::kGlyphBytes, text::kFontFileName);
  auto* font = static_cast<std::uint8_t*>(core::MemLock(text::Text.FontData));
  std::memset(font, 0, kFontGlyphs * text::kGlyphBytes);
  for (std::uint32_t g = 0; g < kFontGlyphs; ++g) {
    for (int row = 0; row < 24; ++row)
      font[g * 72 + (row / 8) * 24 + row] = static_cast<std::uint8_t>(0x80 >> (row % 8));
  }
  core::MemUnlock(text::Text.FontData);
}

// A block declared larger than this only tries the zero filling of a long unpacked tail,
// which costs milliseconds an input and which the block fuzzer covers; the scenario's
// tables address 64 KB at most.
constexpr std::uint32_t kMaxDeclaredBlock = 256 * 1024;

bool DeclaresHugeBlock(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return false;
  for (int field = 0; field < 2; ++field) {
    const std::size_t at = 16u * (data[2 * field] | unsigned{data[2 * field + 1]} << 8);
    if (at + 4 > size) continue;
    const std::uint32_t declared = data[at] | std::uint32_t{data[at + 1]} << 8 |
                                   std::uint32_t{data[at + 2]} << 16 |
                                   std::uint32_t{data[at + 3]} << 24;
    if (declared > kMaxDeclaredBlock) return true;
  }
  return false;
}

// The data folder of the runs: saves and progress writes of the played bytes land here, not
// in the folder the fuzzer was started from.
const std::string& DataFolder() {
  static const fuzz_support::TemporaryFolder folder("hotaru-scenario-fuzz");
  return folder.path();
}

void Play(const std::uint8_t* data, std::size_t size) {
  scenario::InstallScenario(0, data, static_cast<std::uint32_t>(size));
  // Scenario 0 is loaded now, so entering it only runs its entry routine.
  scenario::EnterScenario(0, true);
  scenario::SetEventPC(scenario::LabelOffset(1));
  while (core::Scenario.ScriptStop != 1) {
    core::Scenario.ScriptStop = 0;
    scenario::RunEvents();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (DeclaresHugeBlock(data, size)) return 0;
  platform::headless::Options options = harness::InProcessOptions();
  options.until_ms = kRunMs;
  options.ini_path = "/dev/null";
  harness::GameHarness game(options);

  try {
    game.OpenWindow();
    std::strncpy(core::Settings.DataDir, DataFolder().c_str(), sizeof core::Settings.DataDir - 1);
    InstallFont();
    Play(data, size);
  } catch (const platform::ProcessExit& e) {
    // 1: refused or ended on damaged data; 3: the time was up.
    if (e.status != 1 && e.status != 3) std::abort();
  }
  return 0;
}
