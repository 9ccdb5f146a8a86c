#include "shell/settings.h"

#include <string>
#include <vector>

#include "core/program_identity.h"
#include "core/settings.h"
#include "core/window_state.h"
#include "platform/profile.h"
#include "shell/startup.h"

namespace shell {
namespace {

struct Setting {
  const char* key;
  std::uint16_t* flag;
  const char* default_value;
};

// In the order they are read and written.
const Setting kSettings[] = {
    {"Music", &core::Settings.Music, "ON"}, {"Pcm", &core::Settings.Pcm, "ON"},
    {"Skip", &core::Settings.Skip, "ON"},   {"Mmv", &core::Settings.Mmv, "ON"},
    {"Low", &core::Settings.Low, "OFF"},
};

}  // namespace

void ReadSettings() {
  for (const Setting& s : kSettings) {
    char value[256];
    GetPrivateProfileStringA(core::kIniSection, s.key, s.default_value, value, sizeof value,
                             core::kIniFile);
    *s.flag = static_cast<std::uint16_t>(StrEqual(value, "ON", 0));
  }
}

void WriteSettings() {
  std::vector<platform::ProfileEntry> entries;
  for (const Setting& s : kSettings) entries.push_back({s.key, *s.flag != 0 ? "ON" : "OFF"});
  WriteIniKeys(core::Window.MainWindow, core::kIniSection, entries);
}

void WriteIniKeys(HWND owner, LPCSTR section, std::span<const platform::ProfileEntry> entries) {
  const std::string failure = platform::WriteProfileStrings(section, entries, core::kIniFile);
  if (!failure.empty()) {
    const std::string text = "設定を保存できませんでした。\n" + failure;
    MessageBoxA(owner, text.c_str(), core::kAppCaption, MB_OK | MB_ICONEXCLAMATION);
  }
}

}  // namespace shell
