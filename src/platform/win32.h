// The Win32 subset the game is written against.
//
// Game code calls these functions by their Windows names and with their Windows semantics;
// the implementation behind them is ours (src/platform/common) on top of one backend
// (headless or SDL) chosen at link time. Nothing here includes a backend header.
//
// Texts are UTF-8 where Windows would use the ANSI code page.
#pragma once

#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------------------------------
// Basic types
// ---------------------------------------------------------------------------------------
using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using ATOM = WORD;
using LPCSTR = const char*;
using LPSTR = char*;

struct HWND__;
struct HINSTANCE__;
struct HDC__;
struct HMENU__;
struct HICON__;
struct HCURSOR__;
struct HGDIOBJ__;
using HWND = HWND__*;
using HINSTANCE = HINSTANCE__*;
using HDC = HDC__*;
using HMENU = HMENU__*;
using HICON = HICON__*;
using HCURSOR = HCURSOR__*;
using HGDIOBJ = HGDIOBJ__*;
using HBRUSH = HGDIOBJ;
using HPALETTE = HGDIOBJ;

// Global memory handles are 32-bit values here, as on the original system; 0 is no block.
using HGLOBAL = std::uint32_t;
// File handles of the _lopen family.
using HFILE = int;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

struct POINT {
  LONG x;
  LONG y;
};

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;

  bool operator==(const RECT&) const = default;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};

constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) {
  return static_cast<LPARAM>(static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16));
}

// ---------------------------------------------------------------------------------------
// Windows and messages (USER32)
// ---------------------------------------------------------------------------------------
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, std::uintptr_t, DWORD);

struct WNDCLASSEXA {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
  HICON hIconSm;
};

struct CREATESTRUCTA {
  void* lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
};

// Messages
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_DISPLAYCHANGE = 0x007E;
constexpr UINT WM_NCHITTEST = 0x0084;
constexpr UINT WM_NCPAINT = 0x0085;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_MENUSELECT = 0x011F;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
// wParam's high word: the signed distance turned, in units of WHEEL_DELTA per notch,
// positive away from the reader.
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr int WHEEL_DELTA = 120;
constexpr short GET_WHEEL_DELTA_WPARAM(std::uintptr_t w) { return static_cast<short>(HIWORD(w)); }
constexpr UINT WM_QUERYNEWPALETTE = 0x030F;
constexpr UINT WM_PALETTECHANGED = 0x0311;
constexpr UINT MM_WOM_DONE = 0x03BD;
constexpr UINT WM_USER = 0x0400;

// WM_SYSCOMMAND
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_RESTORE = 0xF120;
constexpr WPARAM SC_CLOSE = 0xF060;

// WM_SIZE
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;

// WM_ACTIVATE
constexpr WORD WA_INACTIVE = 0;
constexpr WORD WA_ACTIVE = 1;

// WM_NCHITTEST answers
constexpr LRESULT HTNOWHERE = 0;
constexpr LRESULT HTCLIENT = 1;
constexpr LRESULT HTCAPTION = 2;
constexpr LRESULT HTMENU = 5;

// PeekMessage
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

// Window styles
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// ShowWindow
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;

// GetSystemMetrics
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;

// MessageBox styles and answers
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONINFORMATION = 0x00000040;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

ATOM RegisterClassExA(const WNDCLASSEXA* wc);
HWND CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     void* param);
BOOL DestroyWindow(HWND hwnd);
LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
BOOL ShowWindow(HWND hwnd, int cmd);
BOOL UpdateWindow(HWND hwnd);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);
BOOL SetForegroundWindow(HWND hwnd);
HWND GetFocus();
BOOL EnumWindows(WNDENUMPROC proc, LPARAM lparam);
int GetWindowTextA(HWND hwnd, LPSTR buffer, int max_count);
BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu);
BOOL GetClientRect(HWND hwnd, RECT* rect);
BOOL GetWindowRect(HWND hwnd, RECT* rect);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
int GetSystemMetrics(int index);

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filter_min, UINT filter_max, UINT remove);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
void PostQuitMessage(int exit_code);

std::uintptr_t SetTimer(HWND hwnd, std::uintptr_t id, UINT elapse_ms, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, std::uintptr_t id);
DWORD GetTickCount();

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// Modal dialogs (the template is a resource of the program, see resources.h)
using INT_PTR = std::intptr_t;
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr WPARAM BST_UNCHECKED = 0;
constexpr WPARAM BST_CHECKED = 1;
// Runs the dialog modally: the owner's messages (painting, timers) are still handled, the
// caller waits until the dialog procedure calls EndDialog, whose result is returned (-1 when
// the template is unknown).
INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR template_name, HWND owner, DLGPROC proc,
                        LPARAM init_param);
BOOL EndDialog(HWND dialog, INT_PTR result);
LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT msg, WPARAM wparam, LPARAM lparam);

// Keyboard
constexpr int VK_RETURN = 0x0D;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
// High bit set while the key is held.
std::int16_t GetAsyncKeyState(int virtual_key);

// Resources of the program (icons, cursors) are known by name; the backend decides what
// they look like.
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
constexpr int NULL_BRUSH = 5;
constexpr int BLACK_BRUSH = 4;
HGDIOBJ GetStockObject(int which);

// ---------------------------------------------------------------------------------------
// Palettes
// ---------------------------------------------------------------------------------------
struct PALETTEENTRY {
  BYTE peRed;
  BYTE peGreen;
  BYTE peBlue;
  BYTE peFlags;

  bool operator==(const PALETTEENTRY&) const = default;
};
constexpr BYTE PC_RESERVED = 0x01;

// ---------------------------------------------------------------------------------------
// Menus of our windows (the menu itself is a resource of the program, see resources.h)
// ---------------------------------------------------------------------------------------
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_SEPARATOR = 0x0800;

HMENU GetMenu(HWND hwnd);
// The item's previous state (MF_GRAYED / MF_DISABLED bits), or 0xFFFFFFFF if there is none.
DWORD EnableMenuItem(HMENU menu, UINT id, UINT flags);
// The item's previous check state (MF_CHECKED or MF_UNCHECKED), or 0xFFFFFFFF if there is none.
DWORD CheckMenuItem(HMENU menu, UINT id, UINT check);
BOOL DrawMenuBar(HWND hwnd);

// Window order and the cursor
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-2));
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;
BOOL SetWindowPos(HWND hwnd, HWND after, int x, int y, int width, int height, UINT flags);
BOOL ClientToScreen(HWND hwnd, POINT* point);
BOOL SetCursorPos(int x, int y);

// ---------------------------------------------------------------------------------------
// Painting (GDI): device-independent bitmaps drawn through the window palette
// ---------------------------------------------------------------------------------------
struct BITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;  // positive: rows stored bottom-up
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

struct RGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
};

struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};

struct LOGPALETTE {
  WORD palVersion;
  WORD palNumEntries;
  PALETTEENTRY palPalEntry[1];
};

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};

constexpr DWORD BI_RGB = 0;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr UINT DIB_PAL_COLORS = 1;
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

HPALETTE CreatePalette(const LOGPALETTE* palette);
UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries);
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
// Changes entries flagged PC_RESERVED. On a palette display the screen follows at once when
// the palette is the one realised; above 8 bits per pixel only a repaint shows the change.
BOOL AnimatePalette(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries);
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL force_background);
// Number of entries of the system palette that changed.
UINT RealizePalette(HDC dc);
BOOL UpdateColors(HDC dc);
BOOL DeleteObject(HGDIOBJ object);

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
// The whole window including its frame: drawing there reaches the non-client area.
HDC GetWindowDC(HWND hwnd);
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);

int SetDIBitsToDevice(HDC dc, int x_dest, int y_dest, DWORD width, DWORD height, int x_src,
                      int y_src, UINT start_scan, UINT scan_lines, const void* bits,
                      const BITMAPINFO* info, UINT usage);
int StretchDIBits(HDC dc, int x_dest, int y_dest, int dest_width, int dest_height, int x_src,
                  int y_src, int src_width, int src_height, const void* bits,
                  const BITMAPINFO* info, UINT usage, DWORD rop);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);

// ---------------------------------------------------------------------------------------
// Device contexts and display modes
// ---------------------------------------------------------------------------------------
constexpr int BITSPIXEL = 12;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;

HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
int GetDeviceCaps(HDC dc, int index);

struct DEVMODEA {
  WORD dmSize;
  WORD dmDriverExtra;
  DWORD dmFields;
  DWORD dmBitsPerPel;
  DWORD dmPelsWidth;
  DWORD dmPelsHeight;
  DWORD dmDisplayFrequency;
};

constexpr DWORD DM_BITSPERPEL = 0x00040000;
constexpr DWORD DM_PELSWIDTH = 0x00080000;
constexpr DWORD DM_PELSHEIGHT = 0x00100000;
constexpr DWORD CDS_UPDATEREGISTRY = 0x00000001;
constexpr DWORD CDS_TEST = 0x00000002;
constexpr DWORD CDS_FULLSCREEN = 0x00000004;
constexpr LONG DISP_CHANGE_SUCCESSFUL = 0;
constexpr LONG DISP_CHANGE_RESTART = 1;
constexpr LONG DISP_CHANGE_FAILED = -1;
constexpr LONG DISP_CHANGE_BADMODE = -2;
constexpr DWORD ENUM_CURRENT_SETTINGS = 0xFFFFFFFF;

LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags);
BOOL EnumDisplaySettingsA(LPCSTR device, DWORD mode_index, DEVMODEA* mode);

constexpr UINT EWX_REBOOT = 0x00000002;
// Never restarts this machine: the request is reported and refused.
BOOL ExitWindowsEx(UINT flags, DWORD reason);

// ---------------------------------------------------------------------------------------
// Process
// ---------------------------------------------------------------------------------------
// Runs the backend's exit reporting, then ends the process through the runtime's normal
// exit (static destructors and atexit handlers run).
[[noreturn]] void ExitProcess(UINT exit_code);

// ---------------------------------------------------------------------------------------
// Movable global memory (KERNEL32) with real lock counts. Addresses stay put for a block's
// whole life; the lock count is what the game's discipline is checked against.
// ---------------------------------------------------------------------------------------
constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_SHARE = 0x2000;

HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes);
void* GlobalLock(HGLOBAL mem);
// Nonzero while the block is still locked after this call; 0 when the count reached 0
// (or the block was not locked at all).
BOOL GlobalUnlock(HGLOBAL mem);
void* GlobalWire(HGLOBAL mem);
BOOL GlobalUnWire(HGLOBAL mem);
// 0 on success, the handle itself on failure.
HGLOBAL GlobalFree(HGLOBAL mem);
std::size_t GlobalSize(HGLOBAL mem);

// ---------------------------------------------------------------------------------------
// Files: the _lopen family. `\` separates folders; every folder and file name is found
// regardless of ASCII case when no exact match exists. Files opened with OF_CREATE are
// written to a temporary beside the target and take its place only when closed without a
// failed write, so a crash or a full disk never leaves a half-written file.
// ---------------------------------------------------------------------------------------
constexpr HFILE HFILE_ERROR = -1;
constexpr UINT OF_READ = 0x0000;
constexpr UINT OF_WRITE = 0x0001;
constexpr UINT OF_READWRITE = 0x0002;
constexpr UINT OF_CREATE = 0x1000;
constexpr UINT OF_EXIST = 0x4000;
constexpr int FILE_BEGIN = 0;
constexpr int FILE_CURRENT = 1;
constexpr int FILE_END = 2;

struct OFSTRUCT {
  BYTE cBytes;
  BYTE fFixedDisk;
  WORD nErrCode;
  WORD Reserved1;
  WORD Reserved2;
  char szPathName[128];
};

HFILE OpenFile(LPCSTR path, OFSTRUCT* info, UINT style);
// Bytes read, or HFILE_ERROR (as UINT) on failure.
UINT _lread(HFILE file, void* buffer, UINT bytes);
// Bytes written, or HFILE_ERROR (as UINT) on failure.
UINT _lwrite(HFILE file, const char* buffer, UINT bytes);
LONG _llseek(HFILE file, LONG offset, int origin);
HFILE _lclose(HFILE file);

// ---------------------------------------------------------------------------------------
// Profile (ini) files. A file name without a folder means the program's profile file,
// whose place the backend sets (the runner's --ini, the user's configuration folder).
// Section and key names match regardless of ASCII case.
// ---------------------------------------------------------------------------------------
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR default_value, LPSTR out,
                               DWORD out_size, LPCSTR file);
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file);

// ---------------------------------------------------------------------------------------
// Time
// ---------------------------------------------------------------------------------------
struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};

void GetLocalTime(SYSTEMTIME* time);

// ---------------------------------------------------------------------------------------
// Multimedia (WINMM): the "cdaudio" MCI device, emulated from one audio file per disc
// track (see platform/common/track_files.h), its volume through auxiliary device 0, and the
// wave output device. Both play on the backend's clock: the headless runner lets a track or
// a buffer "play" for its real length on the virtual clock.
// ---------------------------------------------------------------------------------------
using DWORD_PTR = std::uintptr_t;
using UINT_PTR = std::uintptr_t;
using MMRESULT = UINT;
using MCIERROR = DWORD;
using MCIDEVICEID = UINT;

constexpr UINT MCI_OPEN = 0x0803;
constexpr UINT MCI_CLOSE = 0x0804;
constexpr UINT MCI_PLAY = 0x0806;
constexpr UINT MCI_STOP = 0x0808;
constexpr UINT MCI_SET = 0x080D;
constexpr UINT MCI_STATUS = 0x0814;
constexpr UINT MM_MCINOTIFY = 0x03B9;

constexpr DWORD MCI_NOTIFY = 0x00000001;
constexpr DWORD MCI_WAIT = 0x00000002;
constexpr DWORD MCI_FROM = 0x00000004;
constexpr DWORD MCI_TO = 0x00000008;
constexpr DWORD MCI_OPEN_SHAREABLE = 0x00000100;
constexpr DWORD MCI_OPEN_ELEMENT = 0x00000200;
constexpr DWORD MCI_OPEN_TYPE = 0x00002000;
constexpr DWORD MCI_SET_TIME_FORMAT = 0x00000400;
constexpr DWORD MCI_STATUS_ITEM = 0x00000100;

constexpr DWORD MCI_FORMAT_MILLISECONDS = 0;
constexpr DWORD MCI_FORMAT_TMSF = 10;
constexpr DWORD MCI_STATUS_MODE = 0x00000004;
constexpr DWORD MCI_MODE_NOT_READY = 524;
constexpr DWORD MCI_MODE_STOP = 525;
constexpr DWORD MCI_MODE_PLAY = 526;

constexpr MCIERROR MCIERR_BASE = 256;
constexpr MCIERROR MCIERR_INVALID_DEVICE_ID = MCIERR_BASE + 1;
constexpr MCIERROR MCIERR_UNRECOGNIZED_COMMAND = MCIERR_BASE + 5;
constexpr MCIERROR MCIERR_HARDWARE = MCIERR_BASE + 6;
constexpr MCIERROR MCIERR_INVALID_DEVICE_NAME = MCIERR_BASE + 7;
constexpr MCIERROR MCIERR_DEVICE_OPEN = MCIERR_BASE + 9;
constexpr MCIERROR MCIERR_OUTOFRANGE = MCIERR_BASE + 26;
constexpr MCIERROR MCIERR_MUST_USE_SHAREABLE = MCIERR_BASE + 45;

struct MCI_OPEN_PARMSA {
  DWORD_PTR dwCallback;
  MCIDEVICEID wDeviceID;
  LPCSTR lpstrDeviceType;
  LPCSTR lpstrElementName;
  LPCSTR lpstrAlias;
};
struct MCI_GENERIC_PARMS {
  DWORD_PTR dwCallback;
};
struct MCI_SET_PARMS {
  DWORD_PTR dwCallback;
  DWORD dwTimeFormat;
  DWORD dwAudio;
};
struct MCI_PLAY_PARMS {
  DWORD_PTR dwCallback;
  DWORD dwFrom;
  DWORD dwTo;
};
struct MCI_STATUS_PARMS {
  DWORD_PTR dwCallback;
  DWORD_PTR dwReturn;
  DWORD dwItem;
  DWORD dwTrack;
};

// Track, minutes, seconds, frames packed into one position.
constexpr DWORD MCI_MAKE_TMSF(BYTE t, BYTE m, BYTE s, BYTE f) {
  return static_cast<DWORD>(t) | (static_cast<DWORD>(m) << 8) | (static_cast<DWORD>(s) << 16) |
         (static_cast<DWORD>(f) << 24);
}
constexpr BYTE MCI_TMSF_TRACK(DWORD tmsf) { return static_cast<BYTE>(tmsf & 0xFF); }

// The subset: "cdaudio" open (MCI_OPEN_TYPE; with MCI_OPEN_ELEMENT the element names the
// folder that stands for the disc, else it is the current folder), MCI_SET of the time format,
// MCI_PLAY from a track to a later track (TMSF, whole tracks), MCI_STOP, MCI_STATUS of the mode,
// MCI_CLOSE. 0 or an MCIERR_ value.
MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR param);

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT WAVERR_BADFORMAT = 32;
constexpr MMRESULT WAVERR_STILLPLAYING = 33;
constexpr MMRESULT WAVERR_UNPREPARED = 34;

constexpr WORD AUXCAPS_CDAUDIO = 1;
constexpr DWORD AUXCAPS_VOLUME = 0x0001;
constexpr DWORD AUXCAPS_LRVOLUME = 0x0002;

struct AUXCAPSA {
  WORD wMid;
  WORD wPid;
  UINT vDriverVersion;
  char szPname[32];
  WORD wTechnology;
  WORD wReserved1;
  DWORD dwSupport;
};

// One auxiliary device: the CD audio's volume. Volumes hold the left channel in the low
// 16 bits and the right channel in the high 16 bits.
UINT auxGetNumDevs();
MMRESULT auxGetDevCapsA(UINT_PTR device, AUXCAPSA* caps, UINT size);
MMRESULT auxGetVolume(UINT device, DWORD* volume);
MMRESULT auxSetVolume(UINT device, DWORD volume);

struct HWAVEOUT__;
using HWAVEOUT = HWAVEOUT__*;

constexpr WORD WAVE_FORMAT_PCM = 1;
constexpr UINT WAVE_MAPPER = 0xFFFFFFFF;
constexpr DWORD CALLBACK_NULL = 0x00000000;
constexpr DWORD CALLBACK_WINDOW = 0x00010000;

struct WAVEFORMATEX {
  WORD wFormatTag;
  WORD nChannels;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec;
  WORD nBlockAlign;
  WORD wBitsPerSample;
  WORD cbSize;
  bool operator==(const WAVEFORMATEX&) const = default;
};

constexpr DWORD WHDR_DONE = 0x01;
constexpr DWORD WHDR_PREPARED = 0x02;
constexpr DWORD WHDR_BEGINLOOP = 0x04;
constexpr DWORD WHDR_ENDLOOP = 0x08;
constexpr DWORD WHDR_INQUEUE = 0x10;

struct WAVEHDR {
  LPSTR lpData;
  DWORD dwBufferLength;
  DWORD dwBytesRecorded;
  DWORD_PTR dwUser;
  DWORD dwFlags;
  DWORD dwLoops;
  WAVEHDR* lpNext;
  DWORD_PTR reserved;

  bool operator==(const WAVEHDR&) const = default;
};

// The subset: one open device at a time, 16-bit PCM; one buffer written at a time, looped
// dwLoops times when it carries WHDR_BEGINLOOP | WHDR_ENDLOOP (0xFFFFFFFF: until reset).
// With CALLBACK_WINDOW, MM_WOM_DONE (wParam the device, lParam the header) is posted to the
// window when the buffer has played, or at once when waveOutReset cuts it short.
MMRESULT waveOutOpen(HWAVEOUT* device, UINT device_id, const WAVEFORMATEX* format,
                     DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
MMRESULT waveOutPrepareHeader(HWAVEOUT device, WAVEHDR* header, UINT size);
MMRESULT waveOutUnprepareHeader(HWAVEOUT device, WAVEHDR* header, UINT size);
MMRESULT waveOutWrite(HWAVEOUT device, WAVEHDR* header, UINT size);
MMRESULT waveOutReset(HWAVEOUT device);
MMRESULT waveOutClose(HWAVEOUT device);
MMRESULT waveOutGetVolume(HWAVEOUT device, DWORD* volume);
MMRESULT waveOutSetVolume(HWAVEOUT device, DWORD volume);
