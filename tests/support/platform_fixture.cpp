#include "support/platform_fixture.h"

#include <fstream>
#include <iterator>
#include <random>

#include "core/settings.h"
#include "core/window_state.h"
#include "platform/backend.h"

namespace hotaru_test {

void PlatformTest::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::random_device rd;
  dir_ =
      std::filesystem::temp_directory_path() / (std::string("hotaru-") + info->test_suite_name() +
                                                "-" + info->name() + "-" + std::to_string(rd()));
  std::filesystem::create_directories(dir_);

  platform::headless::Options options = harness::InProcessOptions();
  options.ini_path = ini_path().string();
  game_.emplace(options);
  UseDataFolder();
}

void PlatformTest::UseDataFolder() {
  const std::string data = dir_.string();
  std::snprintf(core::Settings.DataDir, sizeof core::Settings.DataDir, "%s", data.c_str());
}

bool PlatformTest::OpenWindow() {
  const bool opened = game_->OpenWindow();
  UseDataFolder();
  return opened;
}

void PlatformTest::RestartBackend(platform::headless::Options options, const std::string& script) {
  platform::headless::InputScript parsed;
  std::string error;
  ASSERT_TRUE(platform::headless::ParseInputScript(script, &parsed, &error)) << error;
  options.ini_path = ini_path().string();
  options.exit_throws = true;
  game_->RestartBackend(options, std::move(parsed));
}

void PlatformTest::TearDown() {
  // Frees whatever the test left in the block table.
  game_.reset();
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

void PlatformTest::WriteBytes(const std::filesystem::path& path,
                              const std::vector<std::uint8_t>& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

void PlatformTest::WriteText(const std::filesystem::path& path, const std::string& text) {
  WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint8_t> PlatformTest::ReadBytes(const std::filesystem::path& path) {
  return ReadFileBytes(path);
}

std::string PlatformTest::ReadText(const std::filesystem::path& path) {
  auto bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

std::string PlatformTest::ExpectFatal(const std::function<void()>& fn) {
  const std::size_t boxes_before = backend().message_boxes().size();
  try {
    fn();
  } catch (const platform::ProcessExit& e) {
    EXPECT_EQ(e.status, 1);
    // The exit guard is part of the state a test may go on with.
    core::Window.Exiting = false;
    if (backend().message_boxes().size() == boxes_before) return "";
    return backend().message_boxes().back().text;
  }
  ADD_FAILURE() << "the call did not end the program";
  return "";
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
}

}  // namespace hotaru_test
