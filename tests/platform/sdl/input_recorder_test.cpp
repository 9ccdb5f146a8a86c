// The recording of `hotaru --record`: what it writes must read back, as the runner reads it,
// into the same input at the same ticks.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "platform/headless/input_script.h"
#include "platform/sdl/input_recorder.h"
#include "platform/win32.h"

namespace platform::sdl {
namespace {

namespace fs = std::filesystem;
using headless::ActionKind;

class InputRecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = fs::temp_directory_path() / ("hotaru-record-" + std::to_string(std::random_device()()));
    std::string error;
    ASSERT_TRUE(recorder_.Open(path_.string(), &error)) << error;
  }
  void TearDown() override { fs::remove(path_); }

  // Ends the recording and reads it back with the runner's parser.
  headless::InputScript ReadBack() {
    recorder_.Finish(finish_tick_);
    std::ifstream in(path_);
    std::stringstream text;
    text << in.rdbuf();
    headless::InputScript script;
    std::string error;
    EXPECT_TRUE(headless::ParseInputScript(text.str(), &script, &error)) << error << "\n"
                                                                         << text.str();
    return script;
  }

  fs::path path_;
  InputRecorder recorder_;
  std::uint32_t finish_tick_ = 10000;
};

TEST_F(InputRecorderTest, APlayReadsBackAsTheSameActionsInTimeOrder) {
  recorder_.Comment("replay: hotaru-headless --input x");
  recorder_.Move(90, 100, 200);
  recorder_.Click(100, true);
  recorder_.KeyDown(200, VK_RETURN);
  recorder_.CursorPlaced(5, 6);  // the game moves the cursor: no line
  recorder_.Click(250, false);   // while Enter is held
  recorder_.KeyUp(380, VK_RETURN);
  recorder_.Wheel(400, -3);
  recorder_.Menu(500, 40004);
  recorder_.Close(600);
  recorder_.MessageBoxAnswer(IDNO);
  recorder_.Focus(700, false);
  recorder_.Focus(800, true);
  recorder_.DialogAnswer(900, {{"Music", 0}, {"Pcm", 1}}, true);
  const headless::InputScript s = ReadBack();

  struct Expected {
    std::uint32_t time;
    ActionKind kind;
  } expected[] = {
      {90, ActionKind::Move},        {100, ActionKind::Click},      {200, ActionKind::Key},
      {250, ActionKind::RightClick}, {400, ActionKind::Wheel},      {500, ActionKind::Menu},
      {600, ActionKind::Close},      {600, ActionKind::MessageBox}, {700, ActionKind::Activate},
      {800, ActionKind::Activate},   {900, ActionKind::Dialog}};
  ASSERT_EQ(s.actions.size(), std::size(expected));
  for (std::size_t i = 0; i < s.actions.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(s.actions[i].time, expected[i].time);
    EXPECT_EQ(s.actions[i].kind, expected[i].kind);
  }
  EXPECT_EQ(s.actions[1].x, 100);
  EXPECT_EQ(s.actions[1].y, 200);
  EXPECT_EQ(s.actions[2].key, VK_RETURN);
  EXPECT_EQ(s.actions[2].hold_ms, 180u);
  EXPECT_EQ(s.actions[3].x, 5);
  EXPECT_EQ(s.actions[3].y, 6);
  EXPECT_EQ(s.actions[4].id, -3);
  EXPECT_EQ(s.actions[5].id, 40004);
  EXPECT_FALSE(s.actions[7].ok);  // a "no" is the runner's cancel
  EXPECT_FALSE(s.actions[8].ok);
  EXPECT_TRUE(s.actions[9].ok);
  EXPECT_EQ(s.actions[10].boxes,
            (std::vector<std::pair<std::string, int>>{{"Music", 0}, {"Pcm", 1}}));
  EXPECT_TRUE(s.actions[10].ok);
}

// A box can come up on the runner's clock sooner than it did on the desktop: its answer is
// written with the input before it, never after the box.
TEST_F(InputRecorderTest, AMessageBoxAnswerGoesWithTheInputBeforeIt) {
  recorder_.MessageBoxAnswer(IDCANCEL);  // a box at start-up, before any input
  recorder_.Click(4000, true);
  recorder_.MessageBoxAnswer(IDOK);
  const headless::InputScript s = ReadBack();
  ASSERT_EQ(s.actions.size(), 3u);
  EXPECT_EQ(s.actions[0].time, 0u);
  EXPECT_FALSE(s.actions[0].ok);
  EXPECT_FALSE(s.actions[1].has_position);  // no place known yet
  EXPECT_EQ(s.actions[2].time, 4000u);
  EXPECT_EQ(s.actions[2].kind, ActionKind::MessageBox);
}

TEST_F(InputRecorderTest, MovesAreThinnedButTheLastPlaceBeforeOtherInputIsKept) {
  for (std::uint32_t t = 0; t < 100; ++t) recorder_.Move(1000 + t, static_cast<int>(t), 7);
  recorder_.Wheel(1200, 1);
  const headless::InputScript s = ReadBack();
  ASSERT_GE(s.actions.size(), 3u);
  EXPECT_LE(s.actions.size(), 2 + 100 / InputRecorder::kMoveSpacingMs);
  const headless::ScriptAction& last_move = s.actions[s.actions.size() - 2];
  EXPECT_EQ(last_move.kind, ActionKind::Move);
  EXPECT_EQ(last_move.x, 99);
  EXPECT_EQ(last_move.time, 1099u);
  for (std::size_t i = 1; i + 1 < s.actions.size(); ++i) {
    EXPECT_GE(s.actions[i].time, s.actions[i - 1].time);
  }
}

// Keys the game does not read are left out; a key still held at the end, or when the focus
// goes, is held until then.
TEST_F(InputRecorderTest, KeysHeldAtTheEndOrAsTheFocusGoesAreLetGoThen) {
  recorder_.KeyDown(100, 'A');
  recorder_.KeyDown(100, VK_SPACE);
  recorder_.Focus(300, false);
  recorder_.KeyDown(400, VK_UP);
  finish_tick_ = 450;
  const headless::InputScript s = ReadBack();
  ASSERT_EQ(s.actions.size(), 3u);
  EXPECT_EQ(s.actions[0].key, VK_SPACE);
  EXPECT_EQ(s.actions[0].hold_ms, 200u);
  EXPECT_EQ(s.actions[1].kind, ActionKind::Activate);
  EXPECT_EQ(s.actions[2].key, VK_UP);
  EXPECT_EQ(s.actions[2].hold_ms, 50u);
}

TEST(InputRecorderOpen, AFileThatCannotBeWrittenIsRefusedWithItsName) {
  InputRecorder recorder;
  std::string error;
  EXPECT_FALSE(recorder.Open("/nonexistent-folder/play.txt", &error));
  EXPECT_NE(error.find("/nonexistent-folder/play.txt"), std::string::npos) << error;
  EXPECT_FALSE(recorder.active());
}

// A pipe with no reader would hold the program at its start, and a device (/dev/full
// among them) or a folder holds no recording: each is refused at once, by what it is.
TEST(InputRecorderOpen, OnlyARegularFileOrANewOneIsTaken) {
  const fs::path dir =
      fs::temp_directory_path() / ("hotaru-record-kinds-" + std::to_string(std::random_device()()));
  fs::create_directories(dir / "folder");
  ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
  std::ofstream(dir / "old.txt") << "an earlier recording\n";
  struct Case {
    fs::path path;
    bool taken;
    const char* said;  // in the refusal
  } cases[] = {
      {dir / "pipe", false, "a pipe"},  {dir / "folder", false, "a folder"},
      {"/dev/full", false, "a device"}, {"/dev/null", false, "a device"},
      {dir / "new.txt", true, ""},      {dir / "old.txt", true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.string());
    InputRecorder recorder;
    std::string error;
    EXPECT_EQ(recorder.Open(c.path.string(), &error), c.taken) << error;
    EXPECT_EQ(recorder.active(), c.taken);
    if (c.taken) {
      recorder.Finish(0);
      EXPECT_EQ(fs::file_size(c.path), 0u);  // created, or emptied
    } else {
      EXPECT_NE(error.find(c.path.string() + ": " + c.said), std::string::npos) << error;
    }
  }
  fs::remove_all(dir);
}

// A file size limit makes writes fail as a full disk does (with "File too large" in place
// of "No space left on device"). For the test's own process only, put back at the end.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    // Past the limit the kernel would also send SIGXFSZ, which ends a process.
    saved_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    Set(bytes);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, saved_handler_);
  }
  void Set(rlim_t bytes) {
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  }
  void Lift() { EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &saved_), 0); }

 private:
  rlimit saved_{};
  void (*saved_handler_)(int) = SIG_DFL;
};

// The game goes on through failed writes: the player hears of it at the first one, not of
// every line after it, hears again when lines are written again and at the end how many
// were lost; the file holds only whole lines (one cut short by the limit is taken back),
// so what was recorded replays.
TEST_F(InputRecorderTest, WritesThatFailAreToldOnceCountedAndLeaveWholeLines) {
  std::vector<std::string> told;
  recorder_.SetReport([&](const std::string& message) { told.push_back(message); });
  recorder_.Click(100, true);  // "at 100 click\n": 13 bytes
  {
    FileSizeLimit limit(20);  // the next click fits only in part
    recorder_.Click(200, true);
    for (std::uint32_t t = 300; t < 1300; t += 20) recorder_.Move(t, static_cast<int>(t), 5);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(
        told[0].find("cannot write the recording " + path_.string() + ": " + std::strerror(EFBIG)),
        std::string::npos)
        << told[0];
    EXPECT_NE(told[0].find("the game goes on"), std::string::npos) << told[0];
    EXPECT_EQ(fs::file_size(path_), 13u);
    limit.Lift();
    recorder_.Menu(2000, 40001);
  }
  ASSERT_EQ(told.size(), 2u);
  EXPECT_NE(told[1].find("written again; 51 line(s) of input are missing"), std::string::npos)
      << told[1];
  const headless::InputScript s = ReadBack();
  ASSERT_EQ(s.actions.size(), 2u);
  EXPECT_EQ(s.actions[0].time, 100u);
  EXPECT_EQ(s.actions[1].kind, ActionKind::Menu);
  ASSERT_EQ(told.size(), 3u);
  EXPECT_NE(told[2].find("misses 51 line(s)"), std::string::npos) << told[2];
}

}  // namespace
}  // namespace platform::sdl
