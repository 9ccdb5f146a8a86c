// Process entry and exit, the resources held for the whole run, and the settings.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32.h"

namespace shell {

struct ShellState {
  // Set by the program's command line before WinMain, and kept by a reset: start-up resets
  // the game after they are set. The data folder of this run in place of the ini's
  // HotaruDir (empty: the ini decides), and whether the window goes to full screen before
  // the game starts.
  std::string DataDirOverride;
  bool StartFullScreen = false;

  // The window of a running copy, found by FindInstanceProc.
  HWND RunningCopy = nullptr;

  bool operator==(const ShellState&) const = default;
};

// Process lifetime.
extern ShellState Shell;
// A fresh ShellState that keeps the command line's DataDirOverride and StartFullScreen.
void ResetShellState();

int WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show_command);
BOOL FindInstanceProc(HWND window, LPARAM unused);
// Start-up up to the created main window: the block table, the reset, the window class and
// the window, centred on the screen. Returns -1 on success, else the exit status for
// WinMain (0 when the class cannot be registered, 1 when the window cannot be created).
int CreateMainWindow(HINSTANCE instance);
// Sets the hooks through which a lower layer reaches a higher one (the pump's CD poll, the
// click wait's in-game menu, the exit path's release of the run's resources).
void ConnectLayers();
// Sets the state of every subsystem to its start values (the choices made before start-up
// kept: flow::Flow.StartPoint, Shell.DataDirOverride and Shell.StartFullScreen).
void ResetGameState();
int InitResources();
void ReleaseResources();

// Byte-wise equality up to and including the NUL; with case_sensitive 0, A–Z fold to a–z.
int StrEqual(const char* a, const char* b, int case_sensitive);
// Length in bytes of a Shift-JIS text (a byte of 0x80 or more leads a two-byte character).
std::uint16_t StrLenSjis(const char* text);

}  // namespace shell
