// Window classes, windows, their geometry and the focus.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "platform/backend.h"
#include "platform/common/input_state.h"
#include "platform/common/platform_state.h"
#include "platform/common/window_table.h"

namespace platform {

WindowsState Windows;
ResourceNamesState ResourceNames;

namespace {

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
  for (auto& c : Windows.classes) {
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

int NonClientTop(const WindowRecord& w, int menu_lines) {
  int top = FrameHeight(w.style);
  if ((w.style & WS_CAPTION) == WS_CAPTION) top += CurrentBackend().Metric(SM_CYCAPTION);
  if (w.has_menu) top += menu_lines * CurrentBackend().Metric(SM_CYMENU);
  return top;
}

// Display width of a menu label: "&" is not shown; a multi-byte character takes two
// columns.
int LabelColumns(std::string_view text) {
  int columns = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '&') continue;
    if (c < 0x80) {
      ++columns;
    } else if (c >= 0xC0) {
      columns += 2;  // a lead byte; its continuation bytes add nothing
    }
  }
  return columns;
}

// Sets the outer rectangle and derives the client size from it.
void Place(WindowRecord& w, int x, int y, int width, int height) {
  w.outer = RECT{x, y, x + width, y + height};
  w.menu_lines = w.has_menu ? MenuBarLines(w, width) : 0;
  w.client_width = std::max(0, width - 2 * FrameWidth(w.style));
  w.client_height = std::max(0, height - NonClientTop(w, w.menu_lines) - FrameHeight(w.style));
  ResizeSurface(w);
}

void SendSize(HWND hwnd, WPARAM kind) {
  WindowRecord* w = FindWindowRecord(hwnd);
  if (w == nullptr) return;
  const bool minimized = kind == SIZE_MINIMIZED;
  const int cw = minimized ? 0 : w->client_width;
  const int ch = minimized ? 0 : w->client_height;
  Trace("size", std::to_string(cw) + "x" + std::to_string(ch) + " " +
                    (minimized                ? "minimized"
                     : kind == SIZE_MAXIMIZED ? "maximized"
                                              : "restored"));
  SendMessageA(hwnd, WM_SIZE, kind, MAKELPARAM(static_cast<WORD>(cw), static_cast<WORD>(ch)));
}

std::vector<MenuItemState> BuildMenu(const std::string& name) {
  std::vector<MenuItemState> out;
  for (const auto& [n, bar] : Windows.menu_resources) {
    if (n != name) continue;
    for (const auto& item : bar) {
      out.push_back(MenuItemState{item.text, item.id, MF_ENABLED, 0});
      for (const auto& sub : item.items) {
        const bool separator = sub.text.empty() && sub.id == 0;
        out.push_back(MenuItemState{sub.text, sub.id, separator ? MF_SEPARATOR : MF_ENABLED, 1});
      }
    }
  }
  return out;
}

}  // namespace

int MenuBarLines(const WindowRecord& w, int outer_width) {
  const int available = std::max(1, outer_width - 2 * FrameWidth(w.style));
  int lines = 1;
  int used = 0;
  for (const auto& item : w.menu) {
    if (item.depth != 0) continue;
    const int item_width = CurrentBackend().MenuItemWidth(item.text);
    if (used > 0 && used + item_width > available) {
      ++lines;
      used = 0;
    }
    used += item_width;
  }
  return lines;
}

// A classic menu font: 7 pixels a column and 8 pixels of padding per item.
int Backend::MenuItemWidth(std::string_view label) { return 8 + 7 * LabelColumns(label); }

void RegisterMenuResource(const std::string& name, std::vector<MenuItemSpec> bar) {
  for (auto& [n, items] : Windows.menu_resources) {
    if (n == name) {
      items = std::move(bar);
      return;
    }
  }
  Windows.menu_resources.emplace_back(name, std::move(bar));
}

WindowRecord* FindWindowRecord(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  for (auto& w : Windows.windows) {
    if (w->handle == hwnd) return w->destroyed ? nullptr : w.get();
  }
  return nullptr;
}

std::vector<HWND> OwnTopLevelWindows() {
  std::vector<HWND> out;
  for (auto& w : Windows.windows) {
    if (!w->destroyed && !w->foreign) out.push_back(w->handle);
  }
  return out;
}

HWND InputWindow() {
  if (FindWindowRecord(Windows.focus)) return Windows.focus;
  auto own = OwnTopLevelWindows();
  return own.empty() ? nullptr : own.front();
}

void SetFocusWindow(HWND hwnd) { Windows.focus = hwnd; }

void ResetWindows() {
  const std::uintptr_t next_handle = Windows.next_handle;
  Windows = WindowsState{};
  Windows.next_handle = next_handle;
}

HWND NewHandle() { return reinterpret_cast<HWND>(Windows.next_handle += 0x10); }

}  // namespace platform

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
  if (wc == nullptr || wc->lpszClassName == nullptr || wc->lpfnWndProc == nullptr) return 0;
  if (platform::FindClass(wc->lpszClassName)) return 0;  // already registered
  platform::ClassRecord rec;
  rec.wc = *wc;
  rec.name = wc->lpszClassName;
  rec.menu_name = wc->lpszMenuName ? wc->lpszMenuName : "";
  platform::Windows.classes.push_back(std::move(rec));
  return static_cast<ATOM>(0xC000 + platform::Windows.classes.size());
}

HWND CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     void* param) {
  platform::ClassRecord* cls = class_name ? platform::FindClass(class_name) : nullptr;
  if (cls == nullptr) return nullptr;
  auto rec = std::make_unique<platform::WindowRecord>();
  rec->handle = platform::NewHandle();
  rec->title = title ? title : "";
  rec->class_name = cls->name;
  rec->proc = cls->wc.lpfnWndProc;
  rec->style = style;
  rec->has_menu = menu != nullptr || !cls->menu_name.empty();
  if (!cls->menu_name.empty()) rec->menu = platform::BuildMenu(cls->menu_name);
  rec->visible = (style & WS_VISIBLE) != 0;
  rec->extra.assign(static_cast<std::size_t>(std::max(0, cls->wc.cbWndExtra)), 0);
  if (x == CW_USEDEFAULT) x = 0;
  if (y == CW_USEDEFAULT) y = 0;
  platform::Place(*rec, x, y, width, height);
  HWND hwnd = rec->handle;
  WNDPROC proc = rec->proc;
  platform::Windows.windows.push_back(std::move(rec));
  if (parent == nullptr) platform::Windows.focus = hwnd;
  platform::CurrentBackend().WindowCreated(hwnd);

  CREATESTRUCTA cs{
      param, instance,   menu,    parent, height, width, y, x, static_cast<LONG>(style),
      title, class_name, ex_style};
  if (proc(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  platform::SendSize(hwnd, SIZE_RESTORED);
  if (platform::WindowRecord* w = platform::FindWindowRecord(hwnd); w && w->visible) {
    InvalidateRect(hwnd, nullptr, TRUE);
  }
  return hwnd;
}

BOOL DestroyWindow(HWND hwnd) {
  platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
  if (w == nullptr || w->foreign) return FALSE;
  WNDPROC proc = w->proc;
  proc(hwnd, WM_DESTROY, 0, 0);
  if ((w = platform::FindWindowRecord(hwnd)) != nullptr) {
    w->destroyed = true;
    platform::CurrentBackend().WindowDestroyed(hwnd);
  }
  if (platform::Windows.focus == hwnd) platform::Windows.focus = nullptr;
  return TRUE;
}

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  (void)lparam;
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_SYSCOMMAND:
      if ((wparam & 0xFFF0) == SC_CLOSE) SendMessageA(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_NCPAINT:
      if (platform::WindowRecord* w = platform::FindWindowRecord(hwnd)) {
        w->menu_bar_black = false;
        platform::CurrentBackend().NonClientChanged(hwnd);
      }
      return 0;
    case WM_NCHITTEST: {
      platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
      if (w == nullptr) return HTNOWHERE;
      const int x = static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(lparam)));
      const int y = static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(lparam)));
      if (x < w->outer.left || x >= w->outer.right || y < w->outer.top || y >= w->outer.bottom) {
        return HTNOWHERE;
      }
      const int frame = platform::FrameHeight(w->style);
      const int caption_bottom = w->outer.top + platform::NonClientTop(*w, 0);
      const int menu_bottom = w->outer.top + platform::NonClientTop(*w, w->menu_lines);
      if (y >= caption_bottom && y < menu_bottom) return HTMENU;
      if (y >= w->outer.top + frame && y < caption_bottom) return HTCAPTION;
      if (y >= menu_bottom && y < w->outer.bottom - frame) return HTCLIENT;
      return HTNOWHERE;
    }
    default: return 0;
  }
}

BOOL ShowWindow(HWND hwnd, int cmd) {
  platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
  if (w == nullptr) return FALSE;
  BOOL was_visible = w->visible ? TRUE : FALSE;
  const bool was_iconic = w->iconic;
  if (w->foreign) {
    if (cmd == SW_RESTORE) platform::CurrentBackend().RestoreForeignWindow(w->foreign_id);
    return was_visible;
  }
  switch (cmd) {
    case SW_HIDE: w->visible = false; break;
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
    default: w->visible = true; break;
  }
  if (w->iconic != was_iconic) {
    platform::SendSize(hwnd, w->iconic ? SIZE_MINIMIZED : SIZE_RESTORED);
    if (!w->iconic) InvalidateRect(hwnd, nullptr, TRUE);
  }
  return was_visible;
}

BOOL UpdateWindow(HWND hwnd) {
  platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
  if (w == nullptr) return FALSE;
  if (!w->invalid.empty()) SendMessageA(hwnd, WM_PAINT, 0, 0);
  return TRUE;
}

BOOL IsIconic(HWND hwnd) {
  platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
  return (w && w->iconic) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd) {
  platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
  return (w && w->zoomed) ? TRUE : FALSE;
}

BOOL SetForegroundWindow(HWND hwnd) {
  platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
  if (w == nullptr) return FALSE;
  if (w->foreign) {
    platform::CurrentBackend().RaiseForeignWindow(w->foreign_id);
  } else {
    platform::Windows.focus = hwnd;
  }
  return TRUE;
}

HWND GetFocus() {
  return platform::FindWindowRecord(platform::Windows.focus) ? platform::Windows.focus : nullptr;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lparam) {
  if (proc == nullptr) return FALSE;
  // Other programs' windows come first: they were there before ours.
  std::vector<HWND> order;
  for (const auto& fw : platform::CurrentBackend().ForeignWindows()) {
    platform::WindowRecord* found = nullptr;
    for (auto& w : platform::Windows.windows) {
      if (w->foreign && w->foreign_id == fw.id && !w->destroyed) found = w.get();
    }
    if (found == nullptr) {
      auto rec = std::make_unique<platform::WindowRecord>();
      rec->handle = platform::NewHandle();
      rec->foreign = true;
      rec->foreign_id = fw.id;
      rec->visible = true;
      found = rec.get();
      platform::Windows.windows.push_back(std::move(rec));
    }
    found->title = fw.title;
    found->iconic = fw.iconic;
    order.push_back(found->handle);
  }
  for (HWND own : platform::OwnTopLevelWindows()) order.push_back(own);
  for (HWND hwnd : order) {
    if (platform::FindWindowRecord(hwnd) == nullptr) continue;
    if (!proc(hwnd, lparam)) break;
  }
  return TRUE;
}

int GetWindowTextA(HWND hwnd, LPSTR buffer, int max_count) {
  platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
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
  platform::WindowRecord probe;
  probe.style = style;
  probe.has_menu = menu != FALSE;
  int fx = platform::FrameWidth(style);
  int fy = platform::FrameHeight(style);
  rect->left -= fx;
  rect->right += fx;
  // As on the desktop, the menu bar counts as one row here whatever its width.
  rect->top -= platform::NonClientTop(probe, 1);
  rect->bottom += fy;
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
  platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
  if (w == nullptr || rect == nullptr) return FALSE;
  *rect = RECT{0, 0, w->client_width, w->client_height};
  return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
  if (w == nullptr || rect == nullptr) return FALSE;
  *rect = w->outer;
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
  if (w == nullptr || w->foreign) return FALSE;
  platform::Place(*w, x, y, width, height);
  platform::CurrentBackend().WindowMoved(hwnd);
  // The size message arrives before MoveWindow returns, even when the size stays the same:
  // callers wait for it.
  platform::SendSize(hwnd, w->zoomed ? SIZE_MAXIMIZED : SIZE_RESTORED);
  if (repaint) InvalidateRect(hwnd, nullptr, TRUE);
  return TRUE;
}

int GetSystemMetrics(int index) {
  auto& b = platform::CurrentBackend();
  switch (index) {
    case SM_CXSCREEN: return b.ScreenWidth();
    case SM_CYSCREEN: return b.ScreenHeight();
    default: return b.Metric(index);
  }
}

namespace platform {
namespace {
// A handle is the address of its name.
const char* Intern(LPCSTR name) {
  auto& names = ResourceNames.names;
  std::string key = name ? name : "";
  for (auto& n : names) {
    if (*n == key) return n->c_str();
  }
  names.push_back(std::make_unique<std::string>(key));
  return names.back()->c_str();
}
}  // namespace
}  // namespace platform

HICON LoadIconA(HINSTANCE, LPCSTR name) {
  return reinterpret_cast<HICON>(const_cast<char*>(platform::Intern(name)));
}

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
  return reinterpret_cast<HCURSOR>(const_cast<char*>(platform::Intern(name)));
}

HGDIOBJ GetStockObject(int which) {
  static const char* const kStock[] = {"WHITE_BRUSH",  "LTGRAY_BRUSH", "GRAY_BRUSH",
                                       "DKGRAY_BRUSH", "BLACK_BRUSH",  "NULL_BRUSH"};
  if (which < 0 || which > 5) return nullptr;
  return reinterpret_cast<HGDIOBJ>(const_cast<char*>(platform::Intern(kStock[which])));
}

HMENU GetMenu(HWND hwnd) {
  platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
  if (w == nullptr || w->menu.empty()) return nullptr;
  // A window has one menu: its handle names the window.
  return reinterpret_cast<HMENU>(hwnd);
}

DWORD EnableMenuItem(HMENU menu, UINT id, UINT flags) {
  platform::WindowRecord* w = platform::FindWindowRecord(reinterpret_cast<HWND>(menu));
  if (w == nullptr) return 0xFFFFFFFF;
  for (auto& item : w->menu) {
    if (item.id != id || id == 0) continue;
    const DWORD previous = item.flags & (MF_GRAYED | MF_DISABLED);
    const UINT state = flags & (MF_GRAYED | MF_DISABLED);
    item.flags = (item.flags & MF_CHECKED) | state;
    platform::Trace("menu", std::to_string(id) + (state ? " grayed" : " enabled"));
    return previous;
  }
  return 0xFFFFFFFF;
}

DWORD CheckMenuItem(HMENU menu, UINT id, UINT check) {
  platform::WindowRecord* w = platform::FindWindowRecord(reinterpret_cast<HWND>(menu));
  if (w == nullptr) return 0xFFFFFFFF;
  for (auto& item : w->menu) {
    if (item.id != id || id == 0) continue;
    const DWORD previous = item.flags & MF_CHECKED;
    item.flags = (item.flags & ~MF_CHECKED) | (check & MF_CHECKED);
    return previous;
  }
  return 0xFFFFFFFF;
}

BOOL DrawMenuBar(HWND hwnd) {
  platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
  if (w == nullptr || w->menu.empty()) return FALSE;
  // Redrawing the bar repaints the frame, which the window may paint itself.
  SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND after, int x, int y, int width, int height, UINT flags) {
  platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
  if (w == nullptr || w->foreign) return FALSE;
  if (!(flags & SWP_NOZORDER)) {
    if (after == HWND_TOPMOST) w->topmost = true;
    if (after == HWND_NOTOPMOST) w->topmost = false;
  }
  if (!(flags & SWP_NOMOVE) || !(flags & SWP_NOSIZE)) {
    const int nx = (flags & SWP_NOMOVE) ? w->outer.left : x;
    const int ny = (flags & SWP_NOMOVE) ? w->outer.top : y;
    const int nw = (flags & SWP_NOSIZE) ? w->outer.right - w->outer.left : width;
    const int nh = (flags & SWP_NOSIZE) ? w->outer.bottom - w->outer.top : height;
    return MoveWindow(hwnd, nx, ny, nw, nh, TRUE);
  }
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point) {
  platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
  if (w == nullptr || point == nullptr) return FALSE;
  point->x += w->outer.left + platform::FrameWidth(w->style);
  point->y += w->outer.top + platform::NonClientTop(*w, w->menu_lines);
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  platform::Trace("cursor", std::to_string(x) + " " + std::to_string(y));
  platform::CurrentBackend().CursorMoved(x, y);
  // The window under the new place hears of the move, as with a real mouse.
  HWND hwnd = platform::InputWindow();
  if (platform::WindowRecord* w = platform::FindWindowRecord(hwnd)) {
    const int cx = x - w->outer.left - platform::FrameWidth(w->style);
    const int cy = y - w->outer.top - platform::NonClientTop(*w, w->menu_lines);
    if (cx >= 0 && cy >= 0 && cx < w->client_width && cy < w->client_height) {
      platform::PostInput(WM_MOUSEMOVE, 0,
                          MAKELPARAM(static_cast<WORD>(cx), static_cast<WORD>(cy)));
    }
  }
  return TRUE;
}
