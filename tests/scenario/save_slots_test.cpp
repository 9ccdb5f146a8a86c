// The save slots: sealing and unsealing save files, reading slots whatever they hold,
// saving, the resume point and its restore, the progress write, and a save interrupted at
// every step of its writing.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "authoring/picture_file.h"
#include "authoring/scn_code_walk.h"
#include "core/flags.h"
#include "core/format_text.h"
#include "core/input_state.h"
#include "core/message_pump.h"
#include "core/scenario_state.h"
#include "core/settings.h"
#include "platform/common/file_steps.h"
#include "resources/pack_archive.h"
#include "scenario/save_files.h"
#include "scenario/save_sealing.h"
#include "scenario/save_slots.h"
#include "scenario/scenario_loader.h"
#include "support/scenario_fixture.h"
#include "visuals/background.h"
#include "visuals/scene_state.h"

namespace {

namespace fs = std::filesystem;
using hotaru_test::Bytes;
using hotaru_test::ScenarioBuilder;
using Record = std::array<std::uint8_t, core::kGameStateSize>;
namespace field = core::field;

constexpr SYSTEMTIME kDate{1996, 7, 5, 5, 10, 3, 9, 0};

// FNV-1a, 64 bits: a short name for a whole file in the vectors below.
std::uint64_t Fnv(const Record& r) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (std::uint8_t b : r) h = (h ^ b) * 0x100000001b3ull;
  return h;
}

Record Pattern() {
  Record r;
  for (std::size_t i = 0; i < r.size(); ++i) r[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return r;
}

// The bytes a save file holds apart from the record: random words, zeros, checksum, key.
bool SealingOwns(std::size_t i) {
  return i < 37 || i == field::kChecksum || i == field::kChecksum + 1 ||
         i == core::kGameStateSize - 1;
}

class SaveSealingTest : public hotaru_test::ScenarioTest {};

// Vectors worked out apart from the program from the record's layout, with Random seeded to
// 0x1234 and its clock at 0.
TEST_F(SaveSealingTest, SealingGivesTheWorkedOutFileBytes) {
  struct Case {
    const char* name;
    Record record;
    std::uint64_t fnv;
    std::array<std::uint8_t, 8> head;
    std::uint8_t key_byte;
  };
  const Case cases[] = {
      {"zeros",
       Record{},
       0x276d60eabf9607c7ull,
       {0xe3, 0x3f, 0x04, 0xf8, 0x91, 0x68, 0x52, 0x31},
       0x3e},
      {"pattern",
       Pattern(),
       0xf1c43ee75edc53afull,
       {0xe3, 0x3f, 0x04, 0xf8, 0x91, 0x68, 0x52, 0x31},
       0x3e},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(GetTickCount() & 0xFFFF, 0u);
    core::Input.RandomState = 0x1234;
    Record r = c.record;
    scenario::SealSaveRecord(r, kDate);
    EXPECT_EQ(Fnv(r), c.fnv) << c.name;
    EXPECT_TRUE(std::equal(c.head.begin(), c.head.end(), r.begin())) << c.name;
    EXPECT_EQ(r.back(), c.key_byte) << c.name;
  }
}

TEST_F(SaveSealingTest, UnsealingGivesBackEveryRecordAndAnySingleChangeFailsTheCheck) {
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    Record plain;
    for (auto& b : plain) b = static_cast<std::uint8_t>(random());
    core::Input.RandomState = static_cast<std::uint16_t>(random());
    Record file = plain;
    scenario::SealSaveRecord(file, kDate);
    Record unsealed = file;
    ASSERT_TRUE(scenario::UnsealSaveRecord(unsealed)) << "round " << round;
    for (std::size_t i = 0; i < plain.size(); ++i) {
      if (i >= 166 && i <= 172) continue;  // the date
      if (!SealingOwns(i)) {
        ASSERT_EQ(unsealed[i], plain[i]) << "byte " << i;
      }
    }
    EXPECT_EQ(unsealed[166] | unsealed[167] << 8, 1996);
    EXPECT_EQ(unsealed[172], 9);
    EXPECT_TRUE(std::all_of(unsealed.begin() + 32, unsealed.begin() + 37,
                            [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(unsealed[field::kChecksum] | unsealed[field::kChecksum + 1] | unsealed.back(), 0);

    const std::size_t at = random() % file.size();
    Record damaged = file;
    damaged[at] = static_cast<std::uint8_t>(damaged[at] + 1 + random() % 255);
    EXPECT_FALSE(scenario::UnsealSaveRecord(damaged)) << "byte " << at << " changed";
  }
}

TEST_F(SaveSealingTest, AFileOfZerosUnsealsToTheKeyStepsAndFails) {
  Record file{};
  EXPECT_FALSE(scenario::UnsealSaveRecord(file));
  for (std::size_t i = 0; i < file.size(); ++i) {
    if (i == field::kChecksum || i == field::kChecksum + 1 || i == file.size() - 1) continue;
    ASSERT_EQ(file[i], static_cast<std::uint8_t>(-87 * static_cast<int>(4205 - i))) << i;
  }
  std::vector<std::uint8_t> short_file(100);
  EXPECT_FALSE(scenario::UnsealSaveRecord(short_file));
}

// Scenario 1: a resume point after two settings, then changes that a restore takes back.
constexpr const char* kStory = R"(
L1:
    set 11 1
    cd_play 3
    set_resume
    set 11 2
    set 12 7
    resume
L2:
    set 13 1
    end
)";

class SaveSlotsTest : public hotaru_test::ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    WriteScenarioFile(1, ScenarioBuilder::Assemble(kStory));
  }
  fs::path SlotPath(int slot) const { return dir() / core::FormatString("ZEN2_%02d.SAV", slot); }
  // A save of scenario 1 at label 2 with flag 30 = `mark`, sealed as the game seals it.
  Record GoodPlain(std::uint8_t mark) {
    scenario::EnterScenario(1, false);
    Record r{};
    std::memcpy(r.data(), core::GameState, r.size());
    std::fill_n(r.begin() + field::kFlags, field::kFlagCount, 0);
    r[field::kCurrentScenario] = 1;
    r[field::kEventPC] = static_cast<std::uint8_t>(scenario::LabelOffset(2) & 0xFF);
    r[field::kEventPC + 1] = static_cast<std::uint8_t>(scenario::LabelOffset(2) >> 8);
    r[field::kFlags + 30] = mark;
    return r;
  }
  void WriteSealed(int slot, Record r) {
    scenario::SealSaveRecord(r, kDate);
    WriteBytes(SlotPath(slot), Bytes(r.begin(), r.end()));
  }
  static void Dirty() {
    core::Scenario.ResumeValid = 1;
    std::fill_n(core::GameState + field::kFlags, field::kFlagCount, 9);
    core::SetU16(core::GameState, field::kHistoryCount, 40);
    core::SetU16(core::GameState, field::kHistoryBefore, 0x0102);
    core::GameState[field::kColourEffect] = 2;
    core::GameState[field::kCdTrack] = 4;
  }
};

void SetPC(Record& r, std::size_t pc) {
  r[field::kEventPC] = static_cast<std::uint8_t>(pc & 0xFF);
  r[field::kEventPC + 1] = static_cast<std::uint8_t>(pc >> 8);
}
// The size of the loaded EVENT DATA (scenario 1's, after GoodPlain).
std::size_t EventSize() { return GlobalSize(core::Scenario.EventData); }

TEST_F(SaveSlotsTest, LoadSlotClearsThePlayWhateverTheFileHoldsAndReadsOnlyGoodSaves) {
  // Scenario 8's file is too short for its header: entering it ends the program.
  WriteScenarioFile(8, Bytes{1, 2, 3});
  enum Expect { kLoads, kEmpty, kDamaged };
  struct Case {
    const char* name;
    Expect expect;
    void (*plain)(Record&);  // a change to the record before sealing, or none
    void (*file)(Bytes&);    // a change to the sealed file, or none
  };
  const Case cases[] = {
      {"good", kLoads, nullptr, nullptr},
      {"at the first code", kLoads, [](Record& r) { SetPC(r, scenario::kBlockTableEnd); }, nullptr},
      {"at the last byte, an end", kLoads, [](Record& r) { SetPC(r, EventSize() - 1); }, nullptr},
      {"missing", kEmpty, nullptr, [](Bytes& f) { f.clear(); }},
      {"too short", kEmpty, nullptr, [](Bytes& f) { f.pop_back(); }},
      {"too long", kEmpty, nullptr, [](Bytes& f) { f.push_back(0); }},
      {"bad checksum", kEmpty, nullptr, [](Bytes& f) { f[300] ^= 0x10; }},
      {"cleared (flag 114)", kEmpty, [](Record& r) { r[field::kFlags + 114] = 1; }, nullptr},
      {"scenario without file", kDamaged, [](Record& r) { r[field::kCurrentScenario] = 7; },
       nullptr},
      {"no scenario", kDamaged, [](Record& r) { r[field::kCurrentScenario] = 255; }, nullptr},
      {"damaged scenario file", kDamaged, [](Record& r) { r[field::kCurrentScenario] = 8; },
       nullptr},
      {"EventPC 0xFFFF", kDamaged, [](Record& r) { SetPC(r, 0xFFFF); }, nullptr},
      {"EventPC 0x8000", kDamaged, [](Record& r) { SetPC(r, 0x8000); }, nullptr},
      {"EventPC at the block's end", kDamaged, [](Record& r) { SetPC(r, EventSize()); }, nullptr},
      {"EventPC 0", kDamaged, [](Record& r) { SetPC(r, 0); }, nullptr},
      {"EventPC 1", kDamaged, [](Record& r) { SetPC(r, 1); }, nullptr},
      {"EventPC in the label table", kDamaged,
       [](Record& r) { SetPC(r, scenario::kBlockTableEnd - 1); }, nullptr},
      {"H picture without file", kDamaged,
       [](Record& r) {
         r[field::kBackgroundNumber] = 255;
         r[field::kShownHPicture] = 5;
       },
       nullptr},
      {"character without file", kDamaged, [](Record& r) { r[field::kSlotPicture + 1] = 3; },
       nullptr},
      {"sound without file", kDamaged, [](Record& r) { r[field::kPcmNumber] = 9; }, nullptr},
  };
  for (const Case& c : cases) {
    const bool loads = c.expect == kLoads;
    Record sealed = GoodPlain(5);
    if (c.plain != nullptr) c.plain(sealed);
    scenario::SealSaveRecord(sealed, kDate);
    Bytes bytes(sealed.begin(), sealed.end());
    if (c.file != nullptr) c.file(bytes);
    fs::remove(SlotPath(2));
    if (!bytes.empty()) WriteBytes(SlotPath(2), bytes);
    std::fill_n(core::ResumeState, core::kGameStateSize, 0xEE);

    Dirty();
    EXPECT_EQ(scenario::LoadSlot(2), loads) << c.name;
    EXPECT_EQ(core::Scenario.ResumeValid, 0) << c.name;
    EXPECT_TRUE(std::all_of(core::GameState + field::kFlags,
                            core::GameState + field::kFlags + field::kFlagCount,
                            [](std::uint8_t b) { return b == 0; }))
        << c.name;
    EXPECT_EQ(core::GetU16(core::GameState, field::kHistoryCount), 0) << c.name;
    EXPECT_EQ(core::GetU16(core::GameState, field::kHistoryBefore), 0) << c.name;
    EXPECT_EQ(core::GameState[field::kColourEffect], 0) << c.name;
    EXPECT_EQ(core::GameState[field::kCdTrack], 255) << c.name;
    EXPECT_EQ(scenario::ReadSlotInfo(2).valid, loads) << c.name;
    EXPECT_EQ(scenario::ReadSlotInfo(2).damaged, c.expect == kDamaged) << c.name;
    // Nothing the reader saved is removed by reading it.
    if (!bytes.empty()) {
      EXPECT_EQ(ReadBytes(SlotPath(2)), bytes) << c.name;
    }
    // The gallery reads every file whose checksum holds.
    Record unsealed;
    EXPECT_EQ(scenario::ReadUnsealedSlot(2, unsealed), c.file == nullptr) << c.name;
    if (loads) {
      EXPECT_EQ(core::ResumeState[field::kFlags + 30], 5);
      EXPECT_EQ(std::memcmp(core::ResumeState, core::SaveImage, sealed.size()), 0);
      // What loads also restores, and play goes on at the saved EventPC.
      scenario::RestoreState(false);
      EXPECT_EQ(scenario::EventPC(), core::GetU16(core::ResumeState, field::kEventPC)) << c.name;
    } else {
      EXPECT_EQ(core::ResumeState[field::kFlags + 30], 0xEE) << c.name << ": untouched";
    }
  }
}

TEST_F(SaveSlotsTest, ASaveReadsBackWithTheClocksDateAndItsProgress) {
  // A fresh data folder: no slot files, every slot empty, and saving creates the file.
  for (int slot = 0; slot < scenario::kSlotCount; ++slot) {
    const scenario::SlotInfo info = scenario::ReadSlotInfo(slot);
    EXPECT_FALSE(info.valid);
    EXPECT_EQ(info.year + info.month + info.day + info.progress, 0);
  }
  Record r = GoodPlain(6);
  r[field::kFlags + 113] = 41;
  std::memcpy(core::SaveImage, r.data(), r.size());
  ASSERT_TRUE(scenario::SaveSlot(1));
  const scenario::SlotInfo info = scenario::ReadSlotInfo(1);
  ASSERT_TRUE(info.valid);
  // The runner's clock: 1998-07-09 19:00:00 at virtual time 0.
  EXPECT_EQ(info.year, 1998);
  EXPECT_EQ(info.month, 7);
  EXPECT_EQ(info.day, 9);
  EXPECT_EQ(info.hour, 19);
  EXPECT_EQ(info.progress, 41);
  ASSERT_TRUE(scenario::LoadSlot(1));
  EXPECT_EQ(core::ResumeState[field::kFlags + 30], 6);
  EXPECT_TRUE(TraceOf("msgbox").empty());
}

TEST_F(SaveSlotsTest, TheResumePointComesBackWithAndWithoutEffect) {
  RunLabel(1, 1);
  EXPECT_EQ(core::Scenario.ScriptStop, 2);
  EXPECT_EQ(core::Scenario.ResumeValid, 1);
  EXPECT_EQ(Flag(11), 1);
  EXPECT_EQ(Flag(12), 0);
  EXPECT_EQ(core::GameState[field::kCdTrack], 3);
  EXPECT_EQ(scenario::CurrentScenario(), 1);
  // Play goes on after the resume point's instruction.
  EXPECT_EQ(scenario::EventPC(), scenario::LabelOffset(1) + 6);  // set (3) and cd_play (2) + 1
  EXPECT_EQ(std::memcmp(core::SaveImage, core::GameState, core::kGameStateSize), 0);

  // The effect is the scene clearing before the restore: it takes time.
  const auto restore_ms = [](bool effect) {
    const DWORD start = GetTickCount();
    scenario::RestoreState(effect);
    return GetTickCount() - start;
  };
  const DWORD plain = restore_ms(false);
  EXPECT_EQ(scenario::CurrentScenario(), 1) << "reloaded even though it was loaded";
  EXPECT_GT(restore_ms(true), plain);
}

TEST_F(SaveSlotsTest, AColourEffectPendingAtTheSaveWaitsForThePlaysNextSceneChange) {
  authoring::PictureImage image{640, 400, Bytes(640 * 400, 1)};
  std::vector<std::uint8_t> file;
  ASSERT_EQ(authoring::BuildPictureFile(image, {}, &file), "");
  WriteBytes(dir() / "S02.VGR", file);
  WriteBytes(dir() / "S03.VGR", file);
  // Saved on a page shown over background 2 in its own colours, with effect 3 set for the
  // scene the page's text changes to.
  Record r = GoodPlain(0);
  r[field::kBackgroundNumber] = 2;
  r[field::kStoredBackground] = 2;
  r[field::kFlags + core::flag::kPendingColourEffect] = 3;
  std::memcpy(core::ResumeState, r.data(), r.size());

  scenario::RestoreState(false);
  EXPECT_EQ(visuals::ColourEffect(), 0) << "the saved scene comes back in its own colours";
  EXPECT_EQ(visuals::PendingColourEffect(), 3);
  visuals::ShowBackground(3);
  EXPECT_EQ(visuals::ColourEffect(), 3) << "the page's scene change takes the effect";
  EXPECT_EQ(visuals::PendingColourEffect(), 0);
}

TEST_F(SaveSlotsTest, ARestoredEventPCOutsideItsEventBlockIsScenarioDamage) {
  Record r = GoodPlain(0);
  r[field::kEventPC] = 0xF0;
  r[field::kEventPC + 1] = 0xFF;
  std::memcpy(core::ResumeState, r.data(), r.size());
  EXPECT_EQ(ExpectFatal([] { scenario::RestoreState(false); }), "シナリオが壊れています : 001.SCN");
}

TEST_F(SaveSlotsTest, CarryOverKeepsThePersistentFlagsOnly) {
  for (int n = 0; n < 128; ++n)
    core::ResumeState[field::kFlags + n] = static_cast<std::uint8_t>(n + 1);
  scenario::CarryOverFlags();
  EXPECT_EQ(Flag(0), 0);
  EXPECT_EQ(Flag(19), 0);
  EXPECT_EQ(Flag(20), 21);
  EXPECT_EQ(Flag(127), 128);
}

TEST_F(SaveSlotsTest, WriteProgressKeepsTheSlotsPlaceAndCountsItsPlays) {
  struct Case {
    const char* name;
    std::uint8_t slot_count, play_count, request;
    std::uint8_t count, finished;
  };
  const Case cases[] = {
      {"counts on from this play", 3, 7, 0, 8, 0},
      {"255 stays", 0, 255, 0, 255, 0},
      {"finished", 3, 7, 1, 0, 1},
  };
  for (const Case& c : cases) {
    Record slot = GoodPlain(1);
    slot[field::kFlags + 113] = c.slot_count;
    WriteSealed(0, slot);
    scenario::SetCurrentScenario(12);
    SetFlag(113, c.play_count);
    SetFlag(114, c.request);
    SetFlag(30, 2);
    SetFlag(5, 4);  // a local flag of this play: not carried
    Record before;
    std::memcpy(before.data(), core::GameState, before.size());

    scenario::WriteProgress();
    EXPECT_EQ(std::memcmp(before.data(), core::GameState, before.size()), 0) << c.name;
    EXPECT_EQ(core::Scenario.ResumeValid, 0);
    Bytes file = ReadBytes(SlotPath(0));
    ASSERT_TRUE(scenario::UnsealSaveRecord(file)) << c.name;
    EXPECT_EQ(file[field::kFlags + 113], c.count) << c.name;
    EXPECT_EQ(file[field::kFlags + 103], c.finished) << c.name;
    EXPECT_EQ(file[field::kFlags + 114], 0) << c.name;
    EXPECT_EQ(file[field::kFlags + 30], 2) << c.name;
    EXPECT_EQ(file[field::kFlags + 5], 0) << c.name;
    EXPECT_EQ(file[field::kEventPC], slot[field::kEventPC]) << c.name << ": its place kept";
    EXPECT_EQ(file[101] >> 4 & 1, 1) << c.name << ": scenario 12 seen";
  }
}

TEST_F(SaveSlotsTest, TheProgressWriteKeepsADamagedSaveAndAddsTheProgressToIt) {
  // The last used slot holds a save of a scenario this story lacks.
  Record slot = GoodPlain(1);
  slot[field::kCurrentScenario] = 7;
  WriteSealed(0, slot);
  ASSERT_TRUE(scenario::ReadSlotInfo(0).damaged);
  scenario::SetCurrentScenario(1);
  SetFlag(30, 2);
  scenario::WriteProgress();
  Bytes file = ReadBytes(SlotPath(0));
  ASSERT_TRUE(scenario::UnsealSaveRecord(file));
  EXPECT_EQ(file[field::kCurrentScenario], 7);
  EXPECT_EQ(file[field::kEventPC], slot[field::kEventPC]);
  EXPECT_EQ(file[field::kFlags + 30], 2) << "the persistent flags of this play";
}

// Every place a save can hold in the demo story: the message and choice instructions (a
// save writes the state as the message or choice began) and the instruction after each
// resume point (a save right after a return to it). Each must read as a save that loads.
class SavePointCollector : public authoring::CodeWalk::Visitor {
 public:
  std::vector<std::size_t> points;
  void Instruction(std::size_t pos, const core::Instruction& ins) override {
    if (ins.opcode == 0x50 || ins.opcode == 0x51 || ins.opcode == 0x25) points.push_back(pos);
    if (ins.opcode == 0x27) points.push_back(pos + ins.length);
  }
};

TEST_F(SaveSlotsTest, EveryPlaceADemoSaveCanHoldReadsAsLoadable) {
  std::snprintf(core::Settings.DataDir, sizeof core::Settings.DataDir, "%s", HOTARU_DEMO_DATA_DIR);
  resources::PackClose();
  ASSERT_EQ(resources::PackOpen(), 1);
  int scenarios = 0;
  std::size_t points = 0;
  for (int n = 0; n < 255; ++n) {
    const auto number = static_cast<std::uint8_t>(n);
    if (!resources::DataFileExists(core::FormatString("%03d.SCN", n).c_str())) continue;
    ++scenarios;
    scenario::EnterScenario(number, false);
    const auto* base = static_cast<const std::uint8_t*>(core::MemLock(core::Scenario.EventData));
    const std::vector<std::uint8_t> code(base, base + GlobalSize(core::Scenario.EventData));
    core::MemUnlock(core::Scenario.EventData);
    authoring::CodeWalk walk(code);
    for (int label = 0; label < 256; ++label) walk.StartLabel(static_cast<std::uint8_t>(label));
    SavePointCollector collector;
    walk.Run(collector);
    for (std::size_t pc : collector.points) {
      Record r = GoodPlain(0);
      r[field::kCurrentScenario] = number;
      SetPC(r, pc);
      core::GameStateRecord record;
      std::memcpy(record, r.data(), r.size());
      EXPECT_EQ(scenario::CheckSavedRecord(record).damage, scenario::SaveDamage::kNone)
          << "scenario " << n << " at " << pc;
    }
    points += collector.points.size();
  }
  EXPECT_GT(scenarios, 5);
  EXPECT_GT(points, 100u);
}

// The save interrupted after each system call of the file layer: by a killed writer, and by
// a failing disk. The slot then holds the old save or the new one, never neither.
class SaveInterruptedTest : public SaveSlotsTest {
 protected:
  static int& Calls() {
    static int calls = 0;
    return calls;
  }
  static int& StopAt() {
    static int stop_at = 0;
    return stop_at;
  }
  // The mark (flag 30) of the save slot 0 holds; -1 when it holds none.
  int SlotMark() {
    Record r;
    return scenario::ReadSlotRecord(0, r) == scenario::SlotState::kGood ? r[field::kFlags + 30]
                                                                        : -1;
  }
  void PrepareSaves() {
    WriteSealed(0, GoodPlain(1));  // the old save
    Record next = GoodPlain(2);    // the new one
    std::memcpy(core::SaveImage, next.data(), next.size());
  }
  // Counts the system calls of one whole save.
  int CallsOfASave() {
    PrepareSaves();
    Calls() = 0;
    platform::FileStepHook = [](const char*) {
      ++Calls();
      return true;
    };
    EXPECT_TRUE(scenario::SaveSlot(0));
    platform::FileStepHook = nullptr;
    return Calls();
  }
  void TearDown() override {
    platform::FileStepHook = nullptr;
    SaveSlotsTest::TearDown();
  }
};

TEST_F(SaveInterruptedTest, AWriterKilledAfterAnySystemCallLeavesTheOldSaveOrTheNew) {
  const int steps = CallsOfASave();
  EXPECT_GE(steps, 7);  // temporary, write, fsync, close, rename, folder open, sync, close
  std::printf("[ interruption points: %d ]\n", steps + 1);
  for (int stop = 0; stop <= steps; ++stop) {
    PrepareSaves();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      Calls() = 0;
      StopAt() = stop;
      platform::FileStepHook = [](const char*) {
        if (++Calls() >= StopAt()) _exit(0);
        return true;
      };
      if (stop == 0) _exit(0);
      scenario::SaveSlot(0);
      _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    const int mark = SlotMark();
    EXPECT_TRUE(mark == 1 || mark == 2) << "killed after system call " << stop;
    if (stop < steps - 3) {
      EXPECT_EQ(mark, 1) << "killed after system call " << stop;
    }
    if (stop == steps) {
      EXPECT_EQ(mark, 2);
    }
  }
}

TEST_F(SaveInterruptedTest, ASaveThatFailsAtAnySystemCallSaysSoAndTheGameGoesOn) {
  const int steps = CallsOfASave();
  for (int fail = 1; fail <= steps; ++fail) {
    PrepareSaves();
    const std::size_t boxes = TraceOf("msgbox").size();
    Calls() = 0;
    StopAt() = fail;
    platform::FileStepHook = [](const char*) { return ++Calls() != StopAt(); };
    const bool saved = scenario::SaveSlot(0);
    platform::FileStepHook = nullptr;
    const int mark = SlotMark();
    EXPECT_TRUE(mark == 1 || mark == 2) << "failed at system call " << fail;
    if (!saved) {
      ASSERT_EQ(TraceOf("msgbox").size(), boxes + 1) << "failed at system call " << fail;
      EXPECT_NE(TraceOf("msgbox").back().find("ZEN2_00.SAV"), std::string::npos);
    } else {
      EXPECT_EQ(mark, 2);
    }
  }
  // Nothing is left behind but the slot file.
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir())) names.push_back(e.path().filename());
  EXPECT_EQ(std::count_if(names.begin(), names.end(),
                          [](const std::string& n) { return n.find(".tmp") != std::string::npos; }),
            0);
}

}  // namespace
