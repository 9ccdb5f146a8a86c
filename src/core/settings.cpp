#include "core/settings.h"

namespace core {

SettingsState Settings;

void ResetSettingsState() { Settings = SettingsState{}; }

}  // namespace core
