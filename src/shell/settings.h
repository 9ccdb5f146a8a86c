// The five on/off settings in the ini file, and the writing of the ini's keys.
#pragma once

#include <span>

#include "platform/profile.h"
#include "platform/win32.h"

namespace shell {

void ReadSettings();
void WriteSettings();

// Writes these keys of one section in one replacement of the file. A file that cannot be
// written keeps the values for this run only, and the player is told so; the game goes on.
void WriteIniKeys(HWND owner, LPCSTR section, std::span<const platform::ProfileEntry> entries);

}  // namespace shell
