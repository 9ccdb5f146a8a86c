// Global state of the application shell: settings, the main window, screen metrics.
// Everything here lives for the whole process; start values are set by ResetShellState
// (and by the window's creation for the window's own fields).
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace shell {

// Settings (ini section "蛍"). DataDir is read by InitResources; the five flags by
// ReadSettings, written back by WriteSettings.
extern char DataDir[256];
extern std::uint16_t Music;
extern std::uint16_t Pcm;
extern std::uint16_t Skip;
extern std::uint16_t Mmv;
extern std::uint16_t Low;

// The main window and the program instance (kept for the settings dialog).
extern HWND MainWindow;
extern HINSTANCE Instance;

// Screen metrics, read at start-up and on every display change.
extern std::uint16_t ScreenWidth;
extern std::uint16_t ScreenHeight;
extern std::uint16_t CaptionMenuHeight;

// Window size state (the window procedure keeps these up to date).
extern std::uint16_t ScreenMode;
extern std::uint16_t SavedMode;
extern std::uint16_t ClientWidth;
extern std::uint16_t ClientHeight;
extern std::uint16_t PictureWidth;
extern std::uint16_t PictureHeight;
extern std::uint16_t DisplayBits;
// Full screen only: 1 while the menu bar is drawn, 0 while the frame is painted black.
extern std::uint16_t MenuShown;
// A display change arrived while the window was minimised; handled on activation.
extern std::uint32_t DisplayChangePending;

// Open settings dialogs, 0 or 1.
extern std::uint16_t DialogDepth;

// Set once ExitProgram has begun.
extern bool Exiting;

// Input and timing state shared with the message pump.
extern std::uint16_t SkipMode;
extern std::uint8_t KeysPrevious;

// The start values of the settings, the exit guard, the dialog depth, the picture and client
// sizes and the input timing above; the screen metrics and the window's fields are left to
// the window's creation.
void ResetShellState();

// Identity of the program.
constexpr const char* kWindowClass = "VELA_ZEN2";
constexpr const char* kWindowTitle = "Vela Story Series Vol.2 「蛍」－ほたる－";
constexpr const char* kAppCaption = "Vela Story Series Vol.2 「蛍」";
constexpr const char* kIniFile = "hotaru.ini";
constexpr const char* kIniSection = "蛍";
constexpr DWORD kMainWindowStyle = 0x90CB0000;
constexpr std::uint16_t kModeFullScreen = 40000;
constexpr std::uint16_t kModeWindow640 = 40003;
constexpr std::uint16_t kModeOtherSize = 40009;

// The window sizes of the size commands 40001 to 40008 (client width × height).
struct ClientSize {
  std::uint16_t width;
  std::uint16_t height;
};
constexpr ClientSize kSizeTable[8] = {{320, 200}, {480, 300},  {640, 400},  {800, 500},
                                      {960, 600}, {1024, 640}, {1280, 800}, {1600, 1000}};
constexpr std::uint16_t kModeFirstSize = 40001;

// Menu commands.
constexpr std::uint16_t kCommandSettings = 40020;
constexpr std::uint16_t kCommandSkip = 40030;
constexpr std::uint16_t kCommandVersion = 40040;
constexpr std::uint16_t kCommandQuit = 40050;

}  // namespace shell
