// The window procedure's handlers, one file per concern.
#pragma once

#include "platform/win32.h"

namespace shell {

// window_paint.cpp: creation of the palette and the screen pictures, and the repaint.
void CreateWindowState(HWND hwnd);
void Repaint(HWND hwnd);
void RealizeOnFocus(HWND hwnd);
void RealizeOnPaletteChange(HWND hwnd, HWND changed_by);

// window_size.cpp: client size, the size and full-screen commands, the full-screen frame,
// display changes.
void OnSize(HWND hwnd, WPARAM kind, LPARAM size);
void SizeCommand(HWND hwnd, UINT id);
void FullScreenCommand(HWND hwnd);
LRESULT OnHitTest(HWND hwnd, WPARAM wparam, LPARAM lparam);
LRESULT OnNonClientPaint(HWND hwnd, WPARAM wparam, LPARAM lparam);
void OnDisplayChange(HWND hwnd);
// Enables the sizes that fit on the screen and grays the others.
void UpdateSizeItems(HWND hwnd);
// Ticks the 画面サイズ item of the present size (ours: the menu only greyed them).
void TickScreenSize(HWND hwnd);

// window_proc.cpp: the 60 ms window timer counts down the CD status poll.
void TimerTick();

// menu_commands.cpp
void OnCommand(HWND hwnd, UINT id);
void QuitConfirmation(HWND hwnd);

// program_resources.cpp: the menu ZEN_MENU and the dialog ZEN_DIALOG.
void RegisterProgramResources();

}  // namespace shell
