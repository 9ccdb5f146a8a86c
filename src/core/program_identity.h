// The program's names: its window class and title, its caption, its ini file and section.
#pragma once

#include "platform/win32.h"

namespace core {

constexpr const char* kWindowClass = "VELA_ZEN2";
constexpr const char* kWindowTitle = "Vela Story Series Vol.2 「蛍」－ほたる－";
constexpr const char* kAppCaption = "Vela Story Series Vol.2 「蛍」";
constexpr const char* kIniFile = "hotaru.ini";
constexpr const char* kIniSection = "蛍";
constexpr DWORD kMainWindowStyle = 0x90CB0000;

}  // namespace core
