// The player's choice of how the picture fills a window or screen larger than it: a menu of
// our own after the original's, kept in the ini file under a section of our own that the
// original never reads.
#pragma once

#include "platform/win32.h"

namespace shell {

// Our section and keys of the ini file.
constexpr const char* kScalingSection = "hotaru";
constexpr const char* kScalingKey = "Scaling";  // fit, whole or stretch
constexpr const char* kFilterKey = "Filter";    // nearest or smooth

// Commands of our menu, numbered apart from the original's (40000 to 40050).
constexpr UINT kCommandScaleFit = 41001;
constexpr UINT kCommandScaleWhole = 41002;
constexpr UINT kCommandScaleStretch = 41003;
constexpr UINT kCommandFilterNearest = 41011;
constexpr UINT kCommandFilterSmooth = 41012;

// Reads the choice from the ini file (a missing or unknown value is fit, nearest), hands it
// to the platform and checks its items in the window's menu.
void ReadScalingChoice(HWND hwnd);
// One of the commands above: the choice changes at once and is written to the ini file.
// False for any other command.
bool ScalingCommand(HWND hwnd, UINT id);

}  // namespace shell
