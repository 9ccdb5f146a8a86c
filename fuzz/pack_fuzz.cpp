// Pack archives from outside: the tool's reader and the game's loader take the same bytes.
// Both must stay inside the data they were given, and they must agree: whatever the
// reader accepts, the game opens, and every entry the game can name loads with the
// reader's bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "authoring/pack_writer.h"
#include "core/memory_blocks.h"
#include "core/settings.h"
#include "core/window_state.h"
#include "harness/game_harness.h"
#include "platform/backend.h"
#include "resources/pack_archive.h"
#include "resources/pack_format.h"

namespace {

// Removed at exit; kept as plain characters so that nothing is destroyed before that.
char g_folder[4096];

const std::filesystem::path& DataFolder() {
  static const std::filesystem::path dir = [] {
    auto d =
        std::filesystem::temp_directory_path() / ("hotaru-pack-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    std::snprintf(g_folder, sizeof g_folder, "%s", d.c_str());
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(g_folder, ignored);
    });
    return d;
  }();
  return dir;
}

// Runs a game call that may end the program; true when it returned normally.
template <typename F>
bool Survives(F&& call) {
  try {
    call();
    return true;
  } catch (const platform::ProcessExit&) {
    core::Window.Exiting = false;
    return false;
  }
}

bool SameIgnoringAsciiCase(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  std::vector<authoring::PackEntry> entries;
  const bool accepted = authoring::ReadPackIndex(bytes, &entries).empty();

  const auto& dir = DataFolder();
  {
    std::ofstream out(dir / resources::kPackFileName, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }

  // A fresh backend each time, so recorded message boxes do not pile up.
  platform::headless::Options options = harness::InProcessOptions();
  options.ini_path = (dir / "hotaru.ini").string();
  const harness::GameHarness game(options, harness::Start::kPlatform);
  std::snprintf(core::Settings.DataDir, sizeof core::Settings.DataDir, "%s", dir.c_str());

  const bool opened = Survives([] { resources::PackOpen(); });
  if (accepted && !opened) std::abort();

  if (opened) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const auto& entry = entries[i];
      // A name that is the archive itself, or that leads into other folders, may find a loose
      // file instead; such names are still loaded, but not compared.
      const bool may_be_loose = SameIgnoringAsciiCase(entry.name, resources::kPackFileName) ||
                                entry.name.find_first_of("/\\") != std::string::npos;
      std::uint32_t loaded_size = 0;
      core::MemHandle handle = 0;
      const bool loaded =
          Survives([&] { handle = resources::LoadFile(entry.name.c_str(), &loaded_size); });
      // The program's end released the index; open it again for the next entry.
      if (!loaded && !Survives([] { resources::PackOpen(); })) std::abort();

      // The name leads back to this entry's index form only for well-formed names; then the
      // first entry of that form is the one the game must have loaded.
      char index_form[resources::kPackNameLength];
      resources::PackIndexName(entry.name.c_str(), index_form);
      if (may_be_loose || std::memcmp(index_form, entry.index_name, sizeof index_form) != 0) {
        if (loaded) core::MemFree(handle);
        continue;
      }
      const authoring::PackEntry* first = &entry;
      for (std::size_t j = 0; j < i; ++j) {
        if (std::memcmp(entries[j].index_name, index_form, sizeof index_form) == 0) {
          first = &entries[j];
          break;
        }
      }
      if (!loaded) std::abort();
      const std::vector<std::uint8_t> expected = authoring::PackEntryData(bytes, *first);
      const auto* got = static_cast<const std::uint8_t*>(core::MemLock(handle));
      if (loaded_size != expected.size() ||
          (loaded_size != 0 && std::memcmp(got, expected.data(), loaded_size) != 0))
        std::abort();
      core::MemFree(handle);
    }
  }
  // A name the index does not hold must end the program, never crash it.
  constexpr const char* kAbsent = "~ABSENT~.~~~";
  char absent_form[resources::kPackNameLength];
  resources::PackIndexName(kAbsent, absent_form);
  bool held = false;
  for (const auto& entry : entries)
    held = held || std::memcmp(entry.index_name, absent_form, sizeof absent_form) == 0;
  if (accepted && !held && Survives([] { resources::LoadFile(kAbsent, nullptr); })) std::abort();

  resources::PackClose();
  return 0;
}
