// The settings dialog: four check boxes for Music, Pcm, Skip and Mmv.
#pragma once

#include "platform/win32.h"

namespace shell {

// Controls of ZEN_DIALOG.
constexpr int kDialogOk = 1;
constexpr int kDialogCancel = 2;
constexpr int kBoxPcm = 1002;
constexpr int kBoxMusic = 1003;
constexpr int kBoxSkip = 1004;
constexpr int kBoxMmv = 1005;

// The menu command 40020: runs the dialog modally, writes the settings back (after OK and
// after Cancel) and stops or restarts music and PCM sound that were switched.
void OpenSettings();
INT_PTR SettingsDialogProc(HWND dialog, UINT msg, WPARAM wparam, LPARAM lparam);

}  // namespace shell
