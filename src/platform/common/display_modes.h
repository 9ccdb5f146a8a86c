// The display modes that EnumDisplaySettingsA lists, the same on every backend's screen.
#pragma once

#include "platform/win32.h"

namespace platform {

// Mode `index` of a screen whose own size is `width` × `height`: that size first, then
// 640 × 480 when it differs, both at the current depth `bits` and 60 Hz. False past the last.
bool OfferedDisplayMode(int width, int height, int bits, DWORD index, DEVMODEA* mode);

}  // namespace platform
