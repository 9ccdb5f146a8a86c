// The main window, its size and mode, the screen's metrics and the run's exit guard.
#pragma once

#include <cstdint>

#include "core/menu_command_ids.h"
#include "platform/win32.h"

namespace core {

struct WindowState {
  // The main window and the program instance (kept for the settings dialog); set by the
  // window's creation.
  HWND MainWindow = nullptr;
  HINSTANCE Instance = nullptr;

  // Screen metrics, read at start-up and on every display change.
  std::uint16_t ScreenWidth = 0;
  std::uint16_t ScreenHeight = 0;
  std::uint16_t CaptionMenuHeight = 0;

  // Window size state (the window procedure keeps these up to date).
  std::uint16_t ScreenMode = kModeWindow640;
  std::uint16_t SavedMode = 0;
  std::uint16_t ClientWidth = 640;
  std::uint16_t ClientHeight = 400;
  std::uint16_t PictureWidth = 640;
  std::uint16_t PictureHeight = 400;
  std::uint16_t DisplayBits = 8;
  // Full screen only: 1 while the menu bar is drawn, 0 while the frame is painted black.
  std::uint16_t MenuShown = 0;
  // A display change arrived while the window was minimised; handled on activation.
  std::uint32_t DisplayChangePending = 0;

  // Open settings dialogs, 0 or 1.
  std::uint16_t DialogDepth = 0;

  // Set once ExitProgram has begun.
  bool Exiting = false;

  bool operator==(const WindowState&) const = default;
};

// Process lifetime.
extern WindowState Window;
void ResetWindowState();

}  // namespace core
