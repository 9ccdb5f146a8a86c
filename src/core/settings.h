// The player's settings (ini section "蛍"). DataDir is read by InitResources; the five flags
// by ReadSettings, written back by WriteSettings.
#pragma once

#include <cstdint>

namespace core {

struct SettingsState {
  char DataDir[256] = "";
  // The ini file decides all five later; these hold until it is read.
  std::uint16_t Music = 1;
  std::uint16_t Pcm = 1;
  std::uint16_t Skip = 0;
  std::uint16_t Mmv = 1;
  std::uint16_t Low = 0;

  bool operator==(const SettingsState&) const = default;
};

// Process lifetime.
extern SettingsState Settings;
void ResetSettingsState();

}  // namespace core
