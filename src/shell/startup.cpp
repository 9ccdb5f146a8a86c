// Process entry, the resources held for the whole run, and the one way out.
#include "shell/startup.h"

#include <algorithm>
#include <string>
#include <utility>

#include "core/exit_program.h"
#include "core/fatal_error.h"
#include "core/memory_blocks.h"
#include "core/menu_command_ids.h"
#include "core/message_pump.h"
#include "core/program_identity.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "core/window_state.h"
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

ShellState Shell;

void ResetShellState() {
  Shell = ShellState{.DataDirOverride = std::move(Shell.DataDirOverride),
                     .StartFullScreen = Shell.StartFullScreen};
}

namespace {

constexpr std::uintptr_t kTimerId = 1;
constexpr UINT kTimerPeriodMs = 60;

// Offers to switch a true-colour display to 256 colours. Nothing changes unless the user
// agrees; a restart of the system is asked for but the platform never performs one.
void OfferPaletteDisplay() {
  HDC dc = GetDC(core::Window.MainWindow);
  const int bits = GetDeviceCaps(dc, BITSPIXEL);
  if (bits > 8) {
    DEVMODEA mode{};
    mode.dmSize = 148;
    mode.dmDriverExtra = 0;
    mode.dmFields = DM_BITSPERPEL;
    mode.dmBitsPerPel = 8;
    LONG test = ChangeDisplaySettingsA(&mode, CDS_TEST);
    if (test == DISP_CHANGE_SUCCESSFUL || test == DISP_CHANGE_RESTART) {
      if (MessageBoxA(core::Window.MainWindow,
                      "当ソフトは２５６色モードでの起動を推奨します。\n"
                      "２５６色モードに変更しますか？",
                      core::kAppCaption, MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
        if (test == DISP_CHANGE_RESTART &&
            MessageBoxA(core::Window.MainWindow,
                        "設定を有効にするにはシステムを再起動する必要があります。\n"
                        "再起動しますか？",
                        core::kAppCaption, MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
          test = DISP_CHANGE_SUCCESSFUL;
        }
        if (test == DISP_CHANGE_SUCCESSFUL &&
            ChangeDisplaySettingsA(&mode, CDS_UPDATEREGISTRY) == DISP_CHANGE_RESTART) {
          ExitWindowsEx(EWX_REBOOT, 0);
        }
      }
    }
  }
  ReleaseDC(core::Window.MainWindow, dc);
}

}  // namespace

BOOL FindInstanceProc(HWND window, LPARAM) {
  char title[80];
  GetWindowTextA(window, title, 79);
  title[79] = '\0';
  const std::uint16_t n = StrLenSjis(core::kWindowTitle);
  for (std::uint16_t i = 0; i < n; ++i) {
    if (title[i] != core::kWindowTitle[i]) return TRUE;
  }
  Shell.RunningCopy = window;
  return FALSE;
}

void ConnectLayers() {
  core::PollCdHook = sound::CdPoll;                 // owner: sound
  text::OpenInGameMenuHook = scenario::InGameMenu;  // owner: scenario
  core::ReleaseResourcesHook = ReleaseResources;    // owner: shell
  core::FatalErrorHook = core::ExitProgram;         // owner: shell
}

int CreateMainWindow(HINSTANCE instance) {
  ConnectLayers();
  core::MemInit();
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
  wc.lpszClassName = core::kWindowClass;
  if (RegisterClassExA(&wc) == 0) return 0;

  core::Window.ScreenWidth = static_cast<std::uint16_t>(GetSystemMetrics(SM_CXSCREEN));
  core::Window.ScreenHeight = static_cast<std::uint16_t>(GetSystemMetrics(SM_CYSCREEN));
  core::Window.CaptionMenuHeight =
      static_cast<std::uint16_t>(GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU));

  RECT rect{0, 0, 640, 400};
  AdjustWindowRect(&rect, core::kMainWindowStyle, TRUE);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  // Integer division rounds towards zero, also on a screen smaller than the window.
  const int x = (static_cast<int>(core::Window.ScreenWidth) - width) / 2;
  const int y = (static_cast<int>(core::Window.ScreenHeight) - height) / 2;
  core::Window.Instance = instance;
  HWND hwnd = CreateWindowExA(0, core::kWindowClass, core::kWindowTitle, core::kMainWindowStyle, x,
                              y, width, height, nullptr, nullptr, instance, nullptr);
  if (hwnd == nullptr) {
    // Nothing can run without the window; say so instead of ending silently.
    MessageBoxA(nullptr, "ウィンドウが作成できません", core::kAppCaption, MB_ICONHAND);
    return 1;
  }
  core::Window.MainWindow = hwnd;
  return -1;
}

int WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int show_command) {
  Shell.RunningCopy = nullptr;
  EnumWindows(FindInstanceProc, 0);
  if (Shell.RunningCopy != nullptr) {
    MessageBoxA(nullptr, "既に実行されています", core::kAppCaption, MB_ICONHAND);
    if (IsIconic(Shell.RunningCopy)) ShowWindow(Shell.RunningCopy, SW_RESTORE);
    SetForegroundWindow(Shell.RunningCopy);
    return 0;
  }
  if (previous != nullptr) return 0;

  if (int status = CreateMainWindow(instance); status >= 0) return status;

  OfferPaletteDisplay();
  ShowWindow(core::Window.MainWindow, show_command);
  UpdateWindow(core::Window.MainWindow);
  // As the menu's full-screen command would; a display that refuses it keeps the window.
  if (Shell.StartFullScreen)
    SendMessageA(core::Window.MainWindow, WM_COMMAND, core::kModeFullScreen, 0);
  SendMessageA(core::Window.MainWindow, WM_USER, 0, 0);
  // The WM_USER handler ends the process; this line is not reached.
  return 0;
}

int InitResources() {
  // An ini that exists but cannot be read (a folder, no permission) would otherwise look like
  // an empty one, and the game would run without its data folder and settings.
  if (const std::string problem = platform::ProfileReadProblem(core::kIniFile); !problem.empty()) {
    const std::string message = "設定ファイルが読めません : " + problem;
    core::ExitProgram(message.c_str());
  }
  GetPrivateProfileStringA(core::kIniSection, "HotaruDir", nullptr, core::Settings.DataDir,
                           sizeof core::Settings.DataDir, core::kIniFile);
  // A folder named on the command line serves this run only; the ini keeps its own.
  if (!Shell.DataDirOverride.empty()) {
    const std::size_t length =
        std::min(Shell.DataDirOverride.size(), sizeof core::Settings.DataDir - 1);
    Shell.DataDirOverride.copy(core::Settings.DataDir, length);
    core::Settings.DataDir[length] = '\0';
  }
  sound::CdOpen(0);
  if (resources::PackOpen() != 1) return 0;
  std::uint32_t size = 0;
  text::Text.FontData = resources::LoadFile(text::kFontFileName, &size);
  if (text::Text.FontData == 0) return 0;
  SetTimer(core::Window.MainWindow, kTimerId, kTimerPeriodMs, nullptr);
  ReadSettings();
  return 1;
}

void ReleaseResources() {
  KillTimer(core::Window.MainWindow, kTimerId);
  core::MemRelease(&text::Text.FontData);
  core::MemRelease(&core::Screen.BackgroundBlock);
  core::MemRelease(&core::Scenario.EventData);
  core::MemRelease(&core::Scenario.MessageData);
  core::MemRelease(&sound::Sound.PcmBlock);
  resources::PackClose();
  sound::CdClose();
}

}  // namespace shell
