// Save files from outside: any bytes as slot 0's file of a data folder that holds scenario
// 0. A file of a save's size is taken as a plain record and sealed first, so that the checks
// behind the checksum are reached; other sizes go in as they are. Reading the slot must stay
// inside the file; a record that loads is restored, which may end only on damaged data.
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "authoring/charset.h"
#include "authoring/scn_assembler.h"
#include "authoring/scn_file.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "core/message_pump.h"
#include "core/settings.h"
#include "harness/game_harness.h"
#include "platform/backend.h"
#include "scenario/save_sealing.h"
#include "scenario/save_slots.h"
#include "temporary_folder.h"

namespace {

constexpr std::uint32_t kRunMs = 2000;

// The data folder, made once: scenario 0 with labels 0 and 1.
const std::string& DataFolder() {
  static const fuzz_support::TemporaryFolder made_folder("hotaru-save-fuzz");
  static const std::string folder = [] {
    const std::string& made = made_folder.path();
    authoring::ScenarioBlocks blocks;
    authoring::AssembleScenario("L0:\n    end\nL1:\n    end\n", "save_fuzz", authoring::Charset{},
                                &blocks);
    const auto scenario = authoring::BuildScenarioFile(blocks);
    std::ofstream(made + "/000.SCN", std::ios::binary)
        .write(reinterpret_cast<const char*>(scenario.data()),
               static_cast<std::streamsize>(scenario.size()));
    return made;
  }();
  return folder;
}

void WriteSlot(const std::uint8_t* data, std::size_t size) {
  std::array<std::uint8_t, core::kGameStateSize> sealed;
  if (size == sealed.size()) {
    std::memcpy(sealed.data(), data, size);
    core::Input.RandomState = 0x1234;
    scenario::SealSaveRecord(sealed, SYSTEMTIME{1998, 7, 4, 9, 19, 0, 0, 0});
    data = sealed.data();
  }
  std::ofstream(DataFolder() + "/ZEN2_00.SAV", std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::headless::Options options = harness::InProcessOptions();
  options.until_ms = kRunMs;
  options.ini_path = "/dev/null";
  harness::GameHarness game(options);
  try {
    game.OpenWindow();
    std::strncpy(core::Settings.DataDir, DataFolder().c_str(), sizeof core::Settings.DataDir - 1);
    WriteSlot(data, size);
    const scenario::SlotInfo info = scenario::ReadSlotInfo(0);
    const bool loaded = scenario::LoadSlot(0);
    if (loaded != info.valid) std::abort();
    if (loaded) scenario::RestoreState(false);
  } catch (const platform::ProcessExit& e) {
    // 1: ended on damaged data; 3: the time was up.
    if (e.status != 1 && e.status != 3) std::abort();
  }
  return 0;
}
