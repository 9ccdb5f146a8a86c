#include "shell/settings.h"

#include "core/shell_state.h"
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
    {"Music", &Music, "ON"}, {"Pcm", &Pcm, "ON"},  {"Skip", &Skip, "ON"},
    {"Mmv", &Mmv, "ON"},     {"Low", &Low, "OFF"},
};

}  // namespace

void ReadSettings() {
  for (const Setting& s : kSettings) {
    char value[256];
    GetPrivateProfileStringA(kIniSection, s.key, s.default_value, value, sizeof value, kIniFile);
    *s.flag = static_cast<std::uint16_t>(StrEqual(value, "ON", 0));
  }
}

void WriteSettings() {
  for (const Setting& s : kSettings) {
    WritePrivateProfileStringA(kIniSection, s.key, *s.flag != 0 ? "ON" : "OFF", kIniFile);
  }
}

}  // namespace shell
