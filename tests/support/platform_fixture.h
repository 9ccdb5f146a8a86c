// A clean platform and game state for each test: a fresh data folder, the headless backend
// in its in-process mode (ExitProcess throws platform::ProcessExit), an empty block table.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "harness/game_harness.h"
#include "platform/headless/headless_backend.h"

namespace hotaru_test {

class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  platform::headless::HeadlessBackend& backend() { return game_->backend(); }
  // The data folder (core::Settings.DataDir points at it).
  const std::filesystem::path& dir() const { return dir_; }
  // The profile file the platform reads for "hotaru.ini".
  std::filesystem::path ini_path() const { return dir_ / "hotaru.ini"; }

  void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
  void WriteText(const std::filesystem::path& path, const std::string& text);
  std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
  std::string ReadText(const std::filesystem::path& path);

  // Replaces the backend by one with these options (the profile file and the in-process
  // exit are kept) and this input script; the platform starts clean.
  void RestartBackend(platform::headless::Options options, const std::string& script = "");
  // Creates the program's main window (start-up's reset included); false when it failed.
  // The reset empties core::Settings.DataDir, which the program's InitResources fills from
  // the ini afterwards: the data folder is named again, as the ini would.
  bool OpenWindow();

  // Runs `fn`, which must end the program through ExitProgram; checks exit status 1 and
  // returns the text of the message box shown last ("" when none was shown).
  std::string ExpectFatal(const std::function<void()>& fn);

 private:
  void UseDataFolder();

  std::filesystem::path dir_;
  std::optional<harness::GameHarness> game_;
};

// Reads a whole file; empty when missing.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);

}  // namespace hotaru_test
