// hotaru-tool save: what a save file "ZEN2_%02d.SAV" holds, and its plain game state record
// to and from the sealed file.
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "authoring/pack_writer.h"
#include "command_support.h"
#include "commands.h"
#include "core/flags.h"
#include "core/input_state.h"
#include "core/message_pump.h"
#include "core/settings.h"
#include "harness/game_harness.h"
#include "platform/backend.h"
#include "resources/pack_archive.h"
#include "scenario/save_files.h"
#include "scenario/save_sealing.h"
#include "scenario/save_slots.h"

namespace tool {
namespace {

constexpr const char* kUsage =
    "usage: hotaru-tool save show FILE [--data DIR]\n"
    "       hotaru-tool save unseal FILE OUT\n"
    "       hotaru-tool save seal IN OUT\n"
    "\n"
    "  show    whether FILE is a save the game loads (or why not), its date, progress,\n"
    "          scenario, event position, set flags, seen pictures and history length;\n"
    "          what the save refers to (its scenario, the event position in it, the\n"
    "          pictures and sound of its scene) is checked against the game in DIR, by\n"
    "          default the folder of FILE, when DIR holds ZEN2DATA.PAK\n"
    "  unseal  writes the plain 4206-byte game state record of save file FILE to OUT\n"
    "  seal    writes the plain 4206-byte record IN to OUT as a save file, keeping the\n"
    "          date and time the record holds (bytes 166 to 172)\n";
const CommandText kCommand{"save", kUsage};

using Record = std::array<std::uint8_t, core::kGameStateSize>;
namespace sf = scenario::save_field;

constexpr int kPictureBits = 80;
constexpr std::uint8_t kSeenVPictures = 70;
constexpr std::uint8_t kSeenHPictures = 80;

// Reads a file that must be exactly one record long.
std::string ReadRecord(const std::string& path, Record* record) {
  std::vector<std::uint8_t> bytes;
  if (std::string error = authoring::ReadWholeFile(path, &bytes); !error.empty()) return error;
  if (bytes.size() != record->size()) {
    return path + ": " + std::to_string(bytes.size()) + " bytes; a save file and its record are " +
           std::to_string(record->size()) + " bytes";
  }
  std::memcpy(record->data(), bytes.data(), record->size());
  return "";
}

std::uint16_t U16(const Record& r, std::size_t at) {
  return static_cast<std::uint16_t>(r[at] | r[at + 1] << 8);
}

std::string ByteOrNone(std::uint8_t v) { return v == 255 ? "none" : std::to_string(v); }

std::string BitList(const Record& r, std::uint8_t first, int bits) {
  std::string out;
  for (int n = 0; n < bits; ++n) {
    if ((r[core::field::kFlags + first + n / 8] >> (n % 8)) & 1)
      out += (out.empty() ? "" : " ") + std::to_string(n);
  }
  return out.empty() ? "none" : out;
}

// Flags with a value other than 0, outside the bit sets and the date, which are shown apart.
std::string SetFlags(const Record& r) {
  std::string out;
  for (int n = 0; n < static_cast<int>(core::field::kFlagCount); ++n) {
    const bool shown_apart = (n >= core::flag::kSeenScenarios && n < 90) || (n >= 106 && n <= 113);
    const std::uint8_t v = r[core::field::kFlags + n];
    if (!shown_apart && v != 0)
      out += (out.empty() ? "" : " ") + std::to_string(n) + "=" + std::to_string(v);
  }
  return out.empty() ? "none" : out;
}

// Why the game refuses a save whose references do not hold, in a few words.
std::string DamageText(const scenario::SaveCheck& check, const Record& r) {
  using scenario::SaveDamage;
  const std::string file = Printable(check.file);
  char pc[8];
  std::snprintf(pc, sizeof pc, "0x%04x", U16(r, core::field::kEventPC));
  switch (check.damage) {
    case SaveDamage::kNone: return "";
    case SaveDamage::kNoScenario:
      return r[core::field::kCurrentScenario] == 255 ? "it names no scenario (255)"
                                                     : "its scenario " + file + " does not exist";
    case SaveDamage::kScenarioDamaged: return "its scenario " + file + " is damaged";
    case SaveDamage::kEventPCOutside:
      return std::string("EventPC ") + pc + " is no instruction of " + file +
             "'s event code (offsets 514 to " + std::to_string(check.event_size - 1) + ")";
    case SaveDamage::kSceneFileMissing: return "its scene shows " + file + ", which does not exist";
  }
  return "";
}

// The data folder's pack, or "" when the folder holds none.
std::string FindPack(const std::filesystem::path& folder) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    std::string name = entry.path().filename().string();
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (name == "ZEN2DATA.PAK" && entry.is_regular_file(error)) return entry.path().string();
  }
  return "";
}

// The verdict on a sealed save: loads, cleared, damaged (and why), or not checked for want of
// the game's data. True when the game loads it (or may, unchecked).
bool ShowVerdict(const std::string& path, const Record& r, const std::string& data_dir) {
  if (r[sf::kFinishedRequest] != 0) {
    std::printf("%s: a cleared slot: flag 114 is set, so the game reads it as empty\n",
                path.c_str());
    return false;
  }
  const std::filesystem::path folder = data_dir.empty()
                                           ? std::filesystem::absolute(path).parent_path()
                                           : std::filesystem::path(data_dir);
  if (FindPack(folder).empty()) {
    std::printf(
        "%s: a sealed save; what it refers to is not checked: no ZEN2DATA.PAK in %s "
        "(--data names the game's folder)\n",
        path.c_str(), Printable(folder.string()).c_str());
    return true;
  }
  harness::GameHarness game(harness::InProcessOptions());
  std::snprintf(core::Settings.DataDir, sizeof core::Settings.DataDir, "%s",
                folder.string().c_str());
  scenario::SaveCheck check;
  try {
    resources::PackOpen();
    core::GameStateRecord record;
    std::memcpy(record, r.data(), r.size());
    check = scenario::CheckSavedRecord(record);
  } catch (const platform::ProcessExit&) {
    std::printf("%s: not checked: the game's data in %s cannot be read\n", path.c_str(),
                Printable(folder.string()).c_str());
    return false;
  }
  if (check.damage != scenario::SaveDamage::kNone) {
    std::printf(
        "%s: a damaged save: %s; the game shows the slot as damaged and does not load "
        "it\n",
        path.c_str(), DamageText(check, r).c_str());
    return false;
  }
  std::printf("%s: a save the game loads\n", path.c_str());
  return true;
}

int Show(const std::string& path, const std::string& data_dir) {
  Record r;
  if (std::string error = ReadRecord(path, &r); !error.empty()) return kCommand.Failure(error);
  if (!scenario::UnsealSaveRecord(r)) {
    return kCommand.Failure(path + ": the checksum does not hold (damaged, or not a save file)");
  }
  const bool loads = ShowVerdict(path, r, data_dir);
  std::printf("saved: %04u-%02u-%02u %02u:%02u:%02u\n", U16(r, sf::kYear), r[sf::kMonth],
              r[sf::kDay], r[sf::kHour], r[sf::kMinute], r[sf::kSecond]);
  std::printf("progress: %u (shown as %u)%s\n", r[sf::kProgress], r[sf::kProgress] + 1u,
              r[core::field::kFlags + core::flag::kFinishedGame] != 0 ? ", finished game" : "");
  std::printf("scenario: %s\n", ByteOrNone(r[core::field::kCurrentScenario]).c_str());
  std::printf("EventPC: 0x%04x\n", U16(r, core::field::kEventPC));
  std::printf("music: %s\n", ByteOrNone(r[core::field::kCdTrack]).c_str());
  std::printf("flags set: %s\n", SetFlags(r).c_str());
  std::printf("seen scenarios: %s\n",
              BitList(r, core::flag::kSeenScenarios, core::kSeenScenarioBits).c_str());
  std::printf("seen V pictures: %s\n", BitList(r, kSeenVPictures, kPictureBits).c_str());
  std::printf("seen H pictures: %s\n", BitList(r, kSeenHPictures, kPictureBits).c_str());
  std::printf("history: %u entries\n", U16(r, core::field::kHistoryCount));
  return loads ? 0 : 1;
}

int Unseal(const std::string& in, const std::string& out) {
  Record r;
  if (std::string error = ReadRecord(in, &r); !error.empty()) return kCommand.Failure(error);
  if (!scenario::UnsealSaveRecord(r))
    return kCommand.Failure(in + ": the checksum does not hold (damaged, or not a save file)");
  if (std::string error = authoring::WriteWholeFile(out, r); !error.empty())
    return kCommand.Failure(error);
  return 0;
}

int Seal(const std::string& in, const std::string& out) {
  Record r;
  if (std::string error = ReadRecord(in, &r); !error.empty()) return kCommand.Failure(error);
  SYSTEMTIME date{};
  date.wYear = U16(r, sf::kYear);
  date.wMonth = r[sf::kMonth];
  date.wDay = r[sf::kDay];
  date.wHour = r[sf::kHour];
  date.wMinute = r[sf::kMinute];
  date.wSecond = r[sf::kSecond];
  // The game's random words and key, drawn from a seed of our own: the platform's clock
  // stands still in the tool.
  harness::GameHarness game(harness::InProcessOptions(), harness::Start::kPlatform);
  core::Input.RandomState = static_cast<std::uint16_t>(std::random_device{}());
  scenario::SealSaveRecord(r, date);
  if (std::string error = authoring::WriteWholeFile(out, r); !error.empty())
    return kCommand.Failure(error);
  return 0;
}

}  // namespace

int SaveCommand(int argc, char** argv) {
  if (kCommand.HelpAsked(argc, argv)) return 0;
  if (argc < 1) return kCommand.UsageError("no subcommand given");
  const std::string sub = argv[0];
  if (sub == "show" && argc == 2) return Show(argv[1], "");
  if (sub == "show" && argc == 4 && std::string(argv[2]) == "--data") return Show(argv[1], argv[3]);
  if (sub == "unseal" && argc == 3) return Unseal(argv[1], argv[2]);
  if (sub == "seal" && argc == 3) return Seal(argv[1], argv[2]);
  if (sub == "show" || sub == "unseal" || sub == "seal")
    return kCommand.UsageError("wrong number of arguments for '" + sub + "'");
  return kCommand.UsageError("unknown subcommand '" + sub + "'");
}

}  // namespace tool
