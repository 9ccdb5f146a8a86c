// Window classes, windows, their geometry and the focus.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "platform/backend.h"
#include "platform/common/window_table.h"
#include "platform/common/input_state.h"

namespace platform {
namespace {

struct ClassRecord {
  WNDCLASSEXA wc{};
  std::string name;
  std::string menu_name;
};

std::vector<ClassRecord> g_classes;
std::vector<std::unique_ptr<WindowRecord>> g_windows;
HWND g_focus = nullptr;
std::uintptr_t g_next_handle = 0x10000;

bool SameName(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
    if (fold(static_cast<unsigned char>(a[i])) != fold(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

ClassRecord* FindClass(const char* name) {
  for (auto& c : g_classes) {
    if (SameName(c.name, name)) return &c;
  }
  return nullptr;
}

int FrameWidth(DWORD style) {
  if (style & WS_THICKFRAME) return CurrentBackend().Metric(SM_CXFRAME);
  if (style & (WS_DLGFRAME | WS_BORDER)) return CurrentBackend().Metric(SM_CXDLGFRAME);
  return 0;
}

int FrameHeight(DWORD style) {
  if (style & WS_THICKFRAME) return CurrentBackend().Metric(SM_CYFRAME);
  if (style & (WS_DLGFRAME | WS_BORDER)) return CurrentBackend().Metric(SM_CYDLGFRAME);
  return 0;
}

int NonClientTop(const WindowRecord& w) {
  int top = FrameHeight(w.style);
  if ((w.style & WS_CAPTION) == WS_CAPTION) top += CurrentBackend().Metric(SM_CYCAPTION);
  if (w.has_menu) top += CurrentBackend().Metric(SM_CYMENU);
  return top;
}

// Sets the outer rectangle and derives the client size from it.
void Place(WindowRecord& w, int x, int y, int width, int height) {
  w.outer = RECT{x, y, x + width, y + height};
  w.client_width = std::max(0, width - 2 * FrameWidth(w.style));
  w.client_height = std::max(0, height - NonClientTop(w) - FrameHeight(w.style));
}

}  // namespace

WindowRecord* FindWindowRecord(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  for (auto& w : g_windows) {
    if (w->handle == hwnd) return w->destroyed ? nullptr : w.get();
  }
  return nullptr;
}

std::vector<HWND> OwnTopLevelWindows() {
  std::vector<HWND> out;
  for (auto& w : g_windows) {
    if (!w->destroyed && !w->foreign) out.push_back(w->handle);
  }
  return out;
}

HWND InputWindow() {
  if (FindWindowRecord(g_focus)) return g_focus;
  auto own = OwnTopLevelWindows();
  return own.empty() ? nullptr : own.front();
}

void SetFocusWindow(HWND hwnd) { g_focus = hwnd; }

void ResetWindows() {
  g_classes.clear();
  g_windows.clear();
  g_focus = nullptr;
}

HWND NewHandle() { return reinterpret_cast<HWND>(g_next_handle += 0x10); }

}  // namespace platform

using platform::FindWindowRecord;
using platform::WindowRecord;

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
  if (wc == nullptr || wc->lpszClassName == nullptr || wc->lpfnWndProc == nullptr) return 0;
  if (platform::FindClass(wc->lpszClassName)) return 0;  // already registered
  platform::ClassRecord rec;
  rec.wc = *wc;
  rec.name = wc->lpszClassName;
  rec.menu_name = wc->lpszMenuName ? wc->lpszMenuName : "";
  platform::g_classes.push_back(std::move(rec));
  return static_cast<ATOM>(0xC000 + platform::g_classes.size());
}

HWND CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     void* param) {
  platform::ClassRecord* cls = class_name ? platform::FindClass(class_name) : nullptr;
  if (cls == nullptr) return nullptr;
  auto rec = std::make_unique<WindowRecord>();
  rec->handle = platform::NewHandle();
  rec->title = title ? title : "";
  rec->class_name = cls->name;
  rec->proc = cls->wc.lpfnWndProc;
  rec->style = style;
  rec->has_menu = menu != nullptr || !cls->menu_name.empty();
  rec->visible = (style & WS_VISIBLE) != 0;
  rec->extra.assign(static_cast<std::size_t>(std::max(0, cls->wc.cbWndExtra)), 0);
  if (x == CW_USEDEFAULT) x = 0;
  if (y == CW_USEDEFAULT) y = 0;
  platform::Place(*rec, x, y, width, height);
  HWND hwnd = rec->handle;
  WNDPROC proc = rec->proc;
  platform::g_windows.push_back(std::move(rec));
  if (parent == nullptr) platform::g_focus = hwnd;
  platform::CurrentBackend().WindowCreated(hwnd);

  CREATESTRUCTA cs{param, instance, menu, parent, height, width, y, x,
                   static_cast<LONG>(style), title, class_name, ex_style};
  if (proc(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (WindowRecord* w = FindWindowRecord(hwnd)) {
    proc(hwnd, WM_SIZE, SIZE_RESTORED,
         MAKELPARAM(static_cast<WORD>(w->client_width), static_cast<WORD>(w->client_height)));
  }
  return hwnd;
}

BOOL DestroyWindow(HWND hwnd) {
  WindowRecord* w = FindWindowRecord(hwnd);
  if (w == nullptr || w->foreign) return FALSE;
  WNDPROC proc = w->proc;
  proc(hwnd, WM_DESTROY, 0, 0);
  if ((w = FindWindowRecord(hwnd)) != nullptr) {
    w->destroyed = true;
    platform::CurrentBackend().WindowDestroyed(hwnd);
  }
  if (platform::g_focus == hwnd) platform::g_focus = nullptr;
  return TRUE;
}

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  (void)lparam;
  switch (msg) {
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SYSCOMMAND:
      if ((wparam & 0xFFF0) == SC_CLOSE) SendMessageA(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_NCHITTEST:
      return HTCLIENT;
    default:
      return 0;
  }
}

BOOL ShowWindow(HWND hwnd, int cmd) {
  WindowRecord* w = FindWindowRecord(hwnd);
  if (w == nullptr) return FALSE;
  BOOL was_visible = w->visible ? TRUE : FALSE;
  if (w->foreign) {
    if (cmd == SW_RESTORE) platform::CurrentBackend().RestoreForeignWindow(w->foreign_id);
    return was_visible;
  }
  switch (cmd) {
    case SW_HIDE:
      w->visible = false;
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
      w->visible = true;
      w->iconic = true;
      break;
    case SW_SHOWMAXIMIZED:
      w->visible = true;
      w->iconic = false;
      w->zoomed = true;
      break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
      w->visible = true;
      w->iconic = false;
      w->zoomed = false;
      break;
    default:
      w->visible = true;
      break;
  }
  return was_visible;
}

BOOL UpdateWindow(HWND hwnd) {
  // Painting (the invalid region and WM_PAINT) arrives with the window's paint handling;
  // until then there is never anything to repaint.
  return FindWindowRecord(hwnd) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hwnd) {
  WindowRecord* w = FindWindowRecord(hwnd);
  return (w && w->iconic) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd) {
  WindowRecord* w = FindWindowRecord(hwnd);
  return (w && w->zoomed) ? TRUE : FALSE;
}

BOOL SetForegroundWindow(HWND hwnd) {
  WindowRecord* w = FindWindowRecord(hwnd);
  if (w == nullptr) return FALSE;
  if (w->foreign) {
    platform::CurrentBackend().RaiseForeignWindow(w->foreign_id);
  } else {
    platform::g_focus = hwnd;
  }
  return TRUE;
}

HWND GetFocus() { return FindWindowRecord(platform::g_focus) ? platform::g_focus : nullptr; }

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lparam) {
  if (proc == nullptr) return FALSE;
  // Other programs' windows come first: they were there before ours.
  std::vector<HWND> order;
  for (const auto& fw : platform::CurrentBackend().ForeignWindows()) {
    WindowRecord* found = nullptr;
    for (auto& w : platform::g_windows) {
      if (w->foreign && w->foreign_id == fw.id && !w->destroyed) found = w.get();
    }
    if (found == nullptr) {
      auto rec = std::make_unique<WindowRecord>();
      rec->handle = platform::NewHandle();
      rec->foreign = true;
      rec->foreign_id = fw.id;
      rec->visible = true;
      found = rec.get();
      platform::g_windows.push_back(std::move(rec));
    }
    found->title = fw.title;
    found->iconic = fw.iconic;
    order.push_back(found->handle);
  }
  for (HWND own : platform::OwnTopLevelWindows()) order.push_back(own);
  for (HWND hwnd : order) {
    if (FindWindowRecord(hwnd) == nullptr) continue;
    if (!proc(hwnd, lparam)) break;
  }
  return TRUE;
}

int GetWindowTextA(HWND hwnd, LPSTR buffer, int max_count) {
  WindowRecord* w = FindWindowRecord(hwnd);
  if (buffer == nullptr || max_count <= 0) return 0;
  if (w == nullptr) {
    buffer[0] = '\0';
    return 0;
  }
  std::size_t n = std::min(w->title.size(), static_cast<std::size_t>(max_count - 1));
  std::memcpy(buffer, w->title.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) {
  if (rect == nullptr) return FALSE;
  WindowRecord probe;
  probe.style = style;
  probe.has_menu = menu != FALSE;
  int fx = platform::FrameWidth(style);
  int fy = platform::FrameHeight(style);
  rect->left -= fx;
  rect->right += fx;
  rect->top -= platform::NonClientTop(probe);
  rect->bottom += fy;
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
  WindowRecord* w = FindWindowRecord(hwnd);
  if (w == nullptr || rect == nullptr) return FALSE;
  *rect = RECT{0, 0, w->client_width, w->client_height};
  return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  WindowRecord* w = FindWindowRecord(hwnd);
  if (w == nullptr || rect == nullptr) return FALSE;
  *rect = w->outer;
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  (void)repaint;
  WindowRecord* w = FindWindowRecord(hwnd);
  if (w == nullptr || w->foreign) return FALSE;
  platform::Place(*w, x, y, width, height);
  // The size message arrives before MoveWindow returns, even when the size stays the same:
  // callers wait for it.
  SendMessageA(hwnd, WM_SIZE, w->zoomed ? SIZE_MAXIMIZED : SIZE_RESTORED,
               MAKELPARAM(static_cast<WORD>(w->client_width),
                          static_cast<WORD>(w->client_height)));
  return TRUE;
}

int GetSystemMetrics(int index) {
  auto& b = platform::CurrentBackend();
  switch (index) {
    case SM_CXSCREEN:
      return b.ScreenWidth();
    case SM_CYSCREEN:
      return b.ScreenHeight();
    default:
      return b.Metric(index);
  }
}

namespace {
// Interned resource and stock-object names: a handle is the address of its name.
const char* Intern(LPCSTR name) {
  static std::vector<std::unique_ptr<std::string>> names;
  std::string key = name ? name : "";
  for (auto& n : names) {
    if (*n == key) return n->c_str();
  }
  names.push_back(std::make_unique<std::string>(key));
  return names.back()->c_str();
}
}  // namespace

HICON LoadIconA(HINSTANCE, LPCSTR name) {
  return reinterpret_cast<HICON>(const_cast<char*>(Intern(name)));
}

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
  return reinterpret_cast<HCURSOR>(const_cast<char*>(Intern(name)));
}

HGDIOBJ GetStockObject(int which) {
  static const char* const kStock[] = {"WHITE_BRUSH", "LTGRAY_BRUSH", "GRAY_BRUSH",
                                       "DKGRAY_BRUSH", "BLACK_BRUSH", "NULL_BRUSH"};
  if (which < 0 || which > 5) return nullptr;
  return reinterpret_cast<HGDIOBJ>(const_cast<char*>(Intern(kStock[which])));
}
