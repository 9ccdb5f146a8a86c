#include "core/shell_state.h"

namespace shell {

char DataDir[256] = "";
std::uint16_t Music = 1;
std::uint16_t Pcm = 1;
std::uint16_t Skip = 0;
std::uint16_t Mmv = 1;
std::uint16_t Low = 0;

HWND MainWindow = nullptr;
HINSTANCE Instance = nullptr;

std::uint16_t ScreenWidth = 0;
std::uint16_t ScreenHeight = 0;
std::uint16_t CaptionMenuHeight = 0;

std::uint16_t ScreenMode = kModeWindow640;
std::uint16_t SavedMode = 0;
std::uint16_t ClientWidth = 640;
std::uint16_t ClientHeight = 400;
std::uint16_t PictureWidth = 640;
std::uint16_t PictureHeight = 400;
std::uint16_t DisplayBits = 8;
std::uint16_t MenuShown = 0;
std::uint32_t DisplayChangePending = 0;

std::uint16_t DialogDepth = 0;
bool Exiting = false;

std::uint16_t SkipMode = 0;
std::uint8_t KeysPrevious = 0;

void ResetShellState() {
  // The ini file decides all five settings later; these hold until it is read.
  Music = 1;
  Pcm = 1;
  Skip = 0;
  Mmv = 1;
  Low = 0;
  Exiting = false;
  DialogDepth = 0;

  PictureWidth = 640;
  PictureHeight = 400;
  ClientWidth = 640;
  ClientHeight = 400;
  SkipMode = 0;
  KeysPrevious = 0;
}

}  // namespace shell
