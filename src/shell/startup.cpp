// Process entry, the resources held for the whole run, and the one way out.
#include "shell/startup.h"

#include <algorithm>
#include <string>

#include "core/exit_program.h"
#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/palette_state.h"
#include "core/scenario_state.h"
#include "core/shell_state.h"
#include "flow/game_flow.h"
#include "platform/profile.h"
#include "resources/pack_archive.h"
#include "scenario/in_game_menu.h"
#include "shell/settings.h"
#include "shell/window_internal.h"
#include "shell/window_proc.h"
#include "sound/cd_audio.h"
#include "sound/sound_state.h"
#include "text/click_wait.h"
#include "text/font.h"

namespace shell {

std::string DataDirOverride;
bool StartFullScreen = false;

namespace {

constexpr std::uintptr_t kTimerId = 1;
constexpr UINT kTimerPeriodMs = 60;

// The window of a running copy, found by FindInstanceProc.
HWND g_running_copy = nullptr;

// Offers to switch a true-colour display to 256 colours. Nothing changes unless the user
// agrees; a restart of the system is asked for but the platform never performs one.
void OfferPaletteDisplay() {
  HDC dc = GetDC(MainWindow);
  const int bits = GetDeviceCaps(dc, BITSPIXEL);
  if (bits > 8) {
    DEVMODEA mode{};
    mode.dmSize = 148;
    mode.dmDriverExtra = 0;
    mode.dmFields = DM_BITSPERPEL;
    mode.dmBitsPerPel = 8;
    LONG test = ChangeDisplaySettingsA(&mode, CDS_TEST);
    if (test == DISP_CHANGE_SUCCESSFUL || test == DISP_CHANGE_RESTART) {
      if (MessageBoxA(MainWindow,
                      "当ソフトは２５６色モードでの起動を推奨します。\n"
                      "２５６色モードに変更しますか？",
                      kAppCaption, MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
        if (test == DISP_CHANGE_RESTART &&
            MessageBoxA(MainWindow,
                        "設定を有効にするにはシステムを再起動する必要があります。\n"
                        "再起動しますか？",
                        kAppCaption, MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
          test = DISP_CHANGE_SUCCESSFUL;
        }
        if (test == DISP_CHANGE_SUCCESSFUL &&
            ChangeDisplaySettingsA(&mode, CDS_UPDATEREGISTRY) == DISP_CHANGE_RESTART) {
          ExitWindowsEx(EWX_REBOOT, 0);
        }
      }
    }
  }
  ReleaseDC(MainWindow, dc);
}

}  // namespace

BOOL FindInstanceProc(HWND window, LPARAM) {
  char title[80];
  GetWindowTextA(window, title, 79);
  title[79] = '\0';
  const std::uint16_t n = StrLenSjis(kWindowTitle);
  for (std::uint16_t i = 0; i < n; ++i) {
    if (title[i] != kWindowTitle[i]) return TRUE;
  }
  g_running_copy = window;
  return FALSE;
}

void ConnectLayers() {
  PollCdHook = sound::CdPoll;                       // owner: sound
  text::OpenInGameMenuHook = scenario::InGameMenu;  // owner: scenario
  ReleaseResourcesHook = ReleaseResources;          // owner: shell
}

int CreateMainWindow(HINSTANCE instance) {
  ConnectLayers();
  resources::MemInit();
  ResetGameState();
  RegisterProgramResources();

  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = 0;
  wc.lpfnWndProc = MainWindowProc;
  wc.cbWndExtra = 4;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, "ZEN_ICON");
  wc.hIconSm = LoadIconA(instance, "ZEN_ICON");
  wc.hCursor = LoadCursorA(instance, "ZEN_CURSOR");
  wc.hbrBackground = GetStockObject(NULL_BRUSH);
  wc.lpszMenuName = "ZEN_MENU";
  wc.lpszClassName = kWindowClass;
  if (RegisterClassExA(&wc) == 0) return 0;

  ScreenWidth = static_cast<std::uint16_t>(GetSystemMetrics(SM_CXSCREEN));
  ScreenHeight = static_cast<std::uint16_t>(GetSystemMetrics(SM_CYSCREEN));
  CaptionMenuHeight =
      static_cast<std::uint16_t>(GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU));

  RECT rect{0, 0, 640, 400};
  AdjustWindowRect(&rect, kMainWindowStyle, TRUE);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  // Integer division rounds towards zero, also on a screen smaller than the window.
  const int x = (static_cast<int>(ScreenWidth) - width) / 2;
  const int y = (static_cast<int>(ScreenHeight) - height) / 2;
  Instance = instance;
  HWND hwnd = CreateWindowExA(0, kWindowClass, kWindowTitle, kMainWindowStyle, x, y, width, height,
                              nullptr, nullptr, instance, nullptr);
  if (hwnd == nullptr) {
    // Nothing can run without the window; say so instead of ending silently.
    MessageBoxA(nullptr, "ウィンドウが作成できません", kAppCaption, MB_ICONHAND);
    return 1;
  }
  MainWindow = hwnd;
  return -1;
}

int WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int show_command) {
  g_running_copy = nullptr;
  EnumWindows(FindInstanceProc, 0);
  if (g_running_copy != nullptr) {
    MessageBoxA(nullptr, "既に実行されています", kAppCaption, MB_ICONHAND);
    if (IsIconic(g_running_copy)) ShowWindow(g_running_copy, SW_RESTORE);
    SetForegroundWindow(g_running_copy);
    return 0;
  }
  if (previous != nullptr) return 0;

  if (int status = CreateMainWindow(instance); status >= 0) return status;

  OfferPaletteDisplay();
  ShowWindow(MainWindow, show_command);
  UpdateWindow(MainWindow);
  // As the menu's full-screen command would; a display that refuses it keeps the window.
  if (StartFullScreen) SendMessageA(MainWindow, WM_COMMAND, kModeFullScreen, 0);
  SendMessageA(MainWindow, WM_USER, 0, 0);
  // The WM_USER handler ends the process; this line is not reached.
  return 0;
}

int InitResources() {
  // An ini that exists but cannot be read (a folder, no permission) would otherwise look like
  // an empty one, and the game would run without its data folder and settings.
  if (const std::string problem = platform::ProfileReadProblem(kIniFile); !problem.empty()) {
    const std::string message = "設定ファイルが読めません : " + problem;
    ExitProgram(message.c_str());
  }
  GetPrivateProfileStringA(kIniSection, "HotaruDir", nullptr, DataDir, sizeof DataDir, kIniFile);
  // A folder named on the command line serves this run only; the ini keeps its own.
  if (!DataDirOverride.empty()) {
    DataDirOverride.copy(DataDir, sizeof DataDir - 1);
    DataDir[std::min(DataDirOverride.size(), sizeof DataDir - 1)] = '\0';
  }
  sound::CdOpen(0);
  if (resources::PackOpen() != 1) return 0;
  std::uint32_t size = 0;
  text::FontData = resources::LoadFile(text::kFontFileName, &size);
  if (text::FontData == 0) return 0;
  SetTimer(MainWindow, kTimerId, kTimerPeriodMs, nullptr);
  ReadSettings();
  return 1;
}

void ReleaseResources() {
  KillTimer(MainWindow, kTimerId);
  resources::MemRelease(&text::FontData);
  resources::MemRelease(&visuals::BackgroundBlock);
  resources::MemRelease(&scenario::EventData);
  resources::MemRelease(&scenario::MessageData);
  resources::MemRelease(&sound::PcmBlock);
  resources::PackClose();
  sound::CdClose();
}

}  // namespace shell
