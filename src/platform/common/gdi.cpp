// Painting: palettes, device contexts, the update region and bitmap drawing into each
// window's client surface.
//
// The emulated display works like the real ones. On a palette display (8 bits per pixel) the
// surface holds indexes into a 256-entry system palette whose first and last ten entries are
// the fixed system colours (index 0 black, 255 white); a realised logical palette occupies
// the entries from 10 on, and AnimatePalette on it changes the screen at once. Above 8 bits
// the surface holds colours looked up when drawing, so a palette change shows only after a
// repaint.
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/backend.h"
#include "platform/common/platform_state.h"
#include "platform/common/window_table.h"

namespace platform {
namespace {

constexpr int kFirstFreeSystemEntry = 10;
// Beyond this many rectangles the update region is kept as their bounding box.
constexpr std::size_t kMaxInvalidRects = 32;

}  // namespace

GdiState Gdi;

std::array<PALETTEENTRY, 256> StartSystemPalette() {
  static constexpr BYTE kStatic[20][3] = {
      {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
      {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
      {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
      {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
  std::array<PALETTEENTRY, 256> palette;
  palette.fill(PALETTEENTRY{0, 0, 0, 0});
  for (int i = 0; i < 10; ++i) {
    palette[static_cast<std::size_t>(i)] = {kStatic[i][0], kStatic[i][1], kStatic[i][2], 0};
    palette[static_cast<std::size_t>(246 + i)] = {kStatic[10 + i][0], kStatic[10 + i][1],
                                                  kStatic[10 + i][2], 0};
  }
  return palette;
}

namespace {

void ResetSystemPalette() {
  Gdi.system_palette = StartSystemPalette();
  Gdi.realized = nullptr;
}

PaletteObject* FindPalette(HPALETTE h) {
  for (auto& p : Gdi.palettes) {
    if (reinterpret_cast<HPALETTE>(p.get()) == h) return p.get();
  }
  return nullptr;
}

DcRecord* FindDc(HDC h) {
  for (auto& d : Gdi.dcs) {
    if (reinterpret_cast<HDC>(d.get()) == h) return d.get();
  }
  return nullptr;
}

HDC NewDc(HWND hwnd, bool window_dc, std::vector<RECT> clip) {
  auto dc = std::make_unique<DcRecord>();
  dc->hwnd = hwnd;
  dc->window_dc = window_dc;
  dc->clip = std::move(clip);
  HDC h = reinterpret_cast<HDC>(dc.get());
  Gdi.dcs.push_back(std::move(dc));
  return h;
}

void FreeDc(HDC h) {
  Gdi.dcs.erase(std::remove_if(Gdi.dcs.begin(), Gdi.dcs.end(),
                               [h](const auto& d) { return reinterpret_cast<HDC>(d.get()) == h; }),
                Gdi.dcs.end());
}

RECT Intersect(const RECT& a, const RECT& b) {
  return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

bool PaletteDisplay() { return CurrentBackend().DisplayBits() <= 8; }

// The rectangles of the client area a DC may draw into.
std::vector<RECT> ClipRects(const DcRecord& dc, const WindowRecord& w) {
  const RECT client{0, 0, w.client_width, w.client_height};
  if (dc.clip.empty()) return {client};
  std::vector<RECT> out;
  for (const RECT& r : dc.clip) {
    RECT c = Intersect(r, client);
    if (!Empty(c)) out.push_back(c);
  }
  return out;
}

// Source pixel value → what the surface stores, through the bitmap's colour table of
// 16-bit palette indexes and the DC's logical palette: a system palette index on a palette
// display, a colour above 8 bits. Built once per blit.
struct PixelLookup {
  bool indexed = true;
  std::array<std::uint8_t, 256> index{};
  std::array<std::array<std::uint8_t, 3>, 256> rgb{};

  // Source values below this one map to themselves plus kFirstFreeSystemEntry on a palette
  // display (a colour table of the indexes 0, 1, 2 …, as the game's pictures have).
  unsigned offset_below = 0;

  PixelLookup(const std::uint16_t* table, unsigned count, const PaletteObject* palette,
              bool indexed_surface)
      : indexed(indexed_surface) {
    bool offset_so_far = true;
    for (unsigned v = 0; v < 256; ++v) {
      const unsigned entry = v < count ? table[v] : 0;
      index[v] = static_cast<std::uint8_t>(std::min<unsigned>(kFirstFreeSystemEntry + entry, 245));
      offset_so_far = offset_so_far && index[v] == kFirstFreeSystemEntry + v;
      if (offset_so_far) offset_below = v + 1;
      PALETTEENTRY c{0, 0, 0, 0};
      if (palette && entry < palette->entries.size()) c = palette->entries[entry];
      rgb[v] = {c.peRed, c.peGreen, c.peBlue};
    }
  }

  // Writes the n consecutive source pixels src[0, n) to surface row `row` from column `x`.
  // On a palette display sixteen pixels at a time are moved by adding the offset, as long as
  // all of them are below offset_below; the rest go through the table.
  void WriteSpan(ClientSurface& s, int row, int x, const std::uint8_t* src, int n) const {
    const std::size_t at = static_cast<std::size_t>(row) * static_cast<std::size_t>(s.width) +
                           static_cast<std::size_t>(x);
    if (!indexed) {
      std::uint8_t* out = &s.pixels[at * 3];
      for (int i = 0; i < n; ++i, out += 3) {
        const auto& c = rgb[src[i]];
        out[0] = c[0];
        out[1] = c[1];
        out[2] = c[2];
      }
      return;
    }
    std::uint8_t* out = &s.pixels[at];
    int i = 0;
#if defined(__SSE2__)
    if (offset_below > 0) {
      // Unsigned v < limit as max(v, limit − 1) == limit − 1.
      const __m128i top = _mm_set1_epi8(static_cast<char>(offset_below - 1));
      const __m128i add = _mm_set1_epi8(static_cast<char>(kFirstFreeSystemEntry));
      for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(v, top), top)) != 0xFFFF) {
          for (int k = i; k < i + 16; ++k) out[k] = index[src[k]];
          continue;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_add_epi8(v, add));
      }
    }
#endif
    for (; i < n; ++i) out[i] = index[src[i]];
  }

  // Writes source pixels src[sx[i]] for i in [0, n) to surface row `row` from column `x`.
  void WriteRow(ClientSurface& s, int row, int x, const std::uint8_t* src, const int* sx,
                int n) const {
    const std::size_t at = static_cast<std::size_t>(row) * static_cast<std::size_t>(s.width) +
                           static_cast<std::size_t>(x);
    if (indexed) {
      std::uint8_t* out = &s.pixels[at];
      for (int i = 0; i < n; ++i) out[i] = index[src[sx[i]]];
    } else {
      std::uint8_t* out = &s.pixels[at * 3];
      for (int i = 0; i < n; ++i, out += 3) {
        const auto& c = rgb[src[sx[i]]];
        out[0] = c[0];
        out[1] = c[1];
        out[2] = c[2];
      }
    }
  }
};

struct ColourTable {
  const std::uint16_t* indexes = nullptr;
  unsigned count = 0;
};

bool ReadBitmap(const BITMAPINFO* info, UINT usage, ColourTable* table, int* width, int* height) {
  if (info == nullptr || usage != DIB_PAL_COLORS) return false;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biBitCount != 8 || h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight == 0) {
    return false;
  }
  table->indexes = reinterpret_cast<const std::uint16_t*>(
      reinterpret_cast<const std::uint8_t*>(info) + h.biSize);
  table->count = h.biClrUsed ? std::min<DWORD>(h.biClrUsed, 256) : 256;
  *width = h.biWidth;
  *height = h.biHeight;
  return true;
}

// Row r (0 = top) of a bottom-up (positive height) or top-down bitmap.
const std::uint8_t* BitmapRow(const void* bits, int width, int height, int r) {
  const std::size_t stride = (static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
  const int rows = std::abs(height);
  const int stored = height > 0 ? rows - 1 - r : r;
  return static_cast<const std::uint8_t*>(bits) + static_cast<std::size_t>(stored) * stride;
}

void Changed(HWND hwnd) { CurrentBackend().SurfaceChanged(hwnd); }

}  // namespace

void ResizeSurface(WindowRecord& w) {
  ClientSurface& s = w.surface;
  const bool indexed = PaletteDisplay();
  if (s.width == w.client_width && s.height == w.client_height && s.indexed == indexed) return;
  s.width = w.client_width;
  s.height = w.client_height;
  s.indexed = indexed;
  s.pixels.assign(
      static_cast<std::size_t>(s.width) * static_cast<std::size_t>(s.height) * (indexed ? 1 : 3),
      0);
}

std::vector<std::uint8_t> ClientRgb(const WindowRecord& w) {
  const ClientSurface& s = w.surface;
  if (!s.indexed) return s.pixels;
  std::vector<std::uint8_t> rgb(s.pixels.size() * 3);
  for (std::size_t i = 0; i < s.pixels.size(); ++i) {
    const PALETTEENTRY& c = Gdi.system_palette[s.pixels[i]];
    rgb[i * 3] = c.peRed;
    rgb[i * 3 + 1] = c.peGreen;
    rgb[i * 3 + 2] = c.peBlue;
  }
  return rgb;
}

const PALETTEENTRY* SystemPalette() { return Gdi.system_palette.data(); }

HWND WindowNeedingPaint() {
  for (HWND hwnd : OwnTopLevelWindows()) {
    WindowRecord* w = FindWindowRecord(hwnd);
    if (w && !w->invalid.empty() && !w->iconic) return hwnd;
  }
  return nullptr;
}

void ResetGdi() { Gdi = GdiState{}; }

}  // namespace platform

HPALETTE CreatePalette(const LOGPALETTE* palette) {
  if (palette == nullptr || palette->palNumEntries == 0 || palette->palNumEntries > 256) {
    return nullptr;
  }
  if (platform::Gdi.realized == nullptr && platform::Gdi.palettes.empty()) {
    platform::ResetSystemPalette();
  }
  auto p = std::make_unique<platform::PaletteObject>();
  p->entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
  HPALETTE h = reinterpret_cast<HPALETTE>(p.get());
  platform::Gdi.palettes.push_back(std::move(p));
  return h;
}

UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries) {
  platform::PaletteObject* p = platform::FindPalette(palette);
  if (p == nullptr || entries == nullptr || start >= p->entries.size()) return 0;
  count = std::min<UINT>(count, static_cast<UINT>(p->entries.size()) - start);
  std::copy(entries, entries + count, p->entries.begin() + start);
  return count;
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries) {
  platform::PaletteObject* p = platform::FindPalette(palette);
  if (p == nullptr || entries == nullptr || start >= p->entries.size()) return 0;
  count = std::min<UINT>(count, static_cast<UINT>(p->entries.size()) - start);
  std::copy(p->entries.begin() + start, p->entries.begin() + start + count, entries);
  return count;
}

BOOL AnimatePalette(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries) {
  platform::PaletteObject* p = platform::FindPalette(palette);
  if (p == nullptr || entries == nullptr) return FALSE;
  bool shown = false;
  for (UINT i = 0; i < count && start + i < p->entries.size(); ++i) {
    PALETTEENTRY& e = p->entries[start + i];
    if (!(e.peFlags & PC_RESERVED)) continue;  // only reserved entries may be animated
    e = PALETTEENTRY{entries[i].peRed, entries[i].peGreen, entries[i].peBlue, e.peFlags};
    if (palette == platform::Gdi.realized && platform::PaletteDisplay()) {
      const std::size_t slot = platform::kFirstFreeSystemEntry + start + i;
      if (slot < 246) {
        platform::Gdi.system_palette[slot] = e;
        shown = true;
      }
    }
  }
  if (shown) {
    for (HWND hwnd : platform::OwnTopLevelWindows()) platform::Changed(hwnd);
  }
  return TRUE;
}

HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL force_background) {
  platform::DcRecord* d = platform::FindDc(dc);
  if (d == nullptr || platform::FindPalette(palette) == nullptr) return nullptr;
  HPALETTE previous = d->palette;
  d->palette = palette;
  d->background = force_background != FALSE;
  return previous ? previous : palette;
}

UINT RealizePalette(HDC dc) {
  platform::DcRecord* d = platform::FindDc(dc);
  if (d == nullptr) return 0;
  platform::PaletteObject* p = platform::FindPalette(d->palette);
  if (p == nullptr || !platform::PaletteDisplay()) return 0;
  UINT changed = 0;
  for (std::size_t i = 0; i < p->entries.size(); ++i) {
    const std::size_t slot = platform::kFirstFreeSystemEntry + i;
    if (slot >= 246) break;
    PALETTEENTRY& s = platform::Gdi.system_palette[slot];
    const PALETTEENTRY& e = p->entries[i];
    if (s.peRed != e.peRed || s.peGreen != e.peGreen || s.peBlue != e.peBlue) ++changed;
    s = e;
  }
  platform::Gdi.realized = d->palette;
  if (changed) {
    for (HWND hwnd : platform::OwnTopLevelWindows()) platform::Changed(hwnd);
  }
  return changed;
}

BOOL UpdateColors(HDC dc) { return platform::FindDc(dc) ? TRUE : FALSE; }

BOOL DeleteObject(HGDIOBJ object) {
  auto& palettes = platform::Gdi.palettes;
  auto it = std::find_if(palettes.begin(), palettes.end(), [object](const auto& p) {
    return reinterpret_cast<HGDIOBJ>(p.get()) == object;
  });
  if (it == palettes.end()) return FALSE;
  if (platform::Gdi.realized == object) platform::Gdi.realized = nullptr;
  for (auto& d : platform::Gdi.dcs) {
    if (d->palette == object) d->palette = nullptr;
  }
  palettes.erase(it);
  return TRUE;
}

HDC GetDC(HWND hwnd) { return platform::NewDc(hwnd, false, {}); }

HDC GetWindowDC(HWND hwnd) { return platform::NewDc(hwnd, true, {}); }

int ReleaseDC(HWND, HDC dc) {
  if (platform::FindDc(dc) == nullptr) return 0;
  platform::FreeDc(dc);
  return 1;
}

int GetDeviceCaps(HDC, int index) {
  auto& b = platform::CurrentBackend();
  switch (index) {
    case BITSPIXEL: return b.DisplayBits();
    case HORZRES: return b.ScreenWidth();
    case VERTRES: return b.ScreenHeight();
    default: return 0;
  }
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL) {
  platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
  if (w == nullptr || w->foreign) return FALSE;
  const RECT client{0, 0, w->client_width, w->client_height};
  RECT r = rect ? platform::Intersect(*rect, client) : client;
  if (platform::Empty(r)) return TRUE;
  w->invalid.push_back(r);
  if (w->invalid.size() > platform::kMaxInvalidRects) {
    RECT box = w->invalid.front();
    for (const RECT& x : w->invalid) {
      box = RECT{std::min(box.left, x.left), std::min(box.top, x.top), std::max(box.right, x.right),
                 std::max(box.bottom, x.bottom)};
    }
    w->invalid.assign(1, box);
  }
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
  if (w == nullptr) return FALSE;
  // Validating part of the region keeps it whole: the next paint covers a little more.
  if (rect == nullptr) w->invalid.clear();
  return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
  platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
  if (w == nullptr || paint == nullptr) return nullptr;
  *paint = PAINTSTRUCT{};
  std::vector<RECT> region = std::move(w->invalid);
  w->invalid.clear();
  RECT box{0, 0, 0, 0};
  for (std::size_t i = 0; i < region.size(); ++i) {
    const RECT& r = region[i];
    box = i == 0 ? r
                 : RECT{std::min(box.left, r.left), std::min(box.top, r.top),
                        std::max(box.right, r.right), std::max(box.bottom, r.bottom)};
  }
  paint->rcPaint = box;
  // An empty update region still gives a DC, which then draws nothing.
  if (region.empty()) region.push_back(RECT{0, 0, 0, 0});
  paint->hdc = platform::NewDc(hwnd, false, std::move(region));
  return paint->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
  if (paint == nullptr) return FALSE;
  platform::FreeDc(paint->hdc);
  platform::Changed(hwnd);
  return TRUE;
}

int SetDIBitsToDevice(HDC dc, int x_dest, int y_dest, DWORD width, DWORD height, int x_src,
                      int y_src, UINT start_scan, UINT scan_lines, const void* bits,
                      const BITMAPINFO* info, UINT usage) {
  platform::DcRecord* d = platform::FindDc(dc);
  platform::WindowRecord* w = d ? platform::FindWindowRecord(d->hwnd) : nullptr;
  platform::ColourTable table;
  int bw = 0, bh = 0;
  if (w == nullptr || d->window_dc || bits == nullptr ||
      !platform::ReadBitmap(info, usage, &table, &bw, &bh)) {
    return 0;
  }
  (void)start_scan;
  (void)scan_lines;
  // The source rectangle is given bottom-up for a bottom-up bitmap: y_src counts from the
  // bitmap's last stored row.
  const int rows = std::abs(bh);
  const int src_top = bh > 0 ? rows - y_src - static_cast<int>(height) : y_src;
  const platform::PixelLookup lookup(table.indexes, table.count, platform::FindPalette(d->palette),
                                     w->surface.indexed);
  for (const RECT& clip : platform::ClipRects(*d, *w)) {
    RECT dest = platform::Intersect(clip, RECT{x_dest, y_dest, x_dest + static_cast<int>(width),
                                               y_dest + static_cast<int>(height)});
    // Columns whose source lies outside the bitmap are left alone.
    dest.left = std::max<LONG>(dest.left, x_dest - x_src);
    dest.right = std::min<LONG>(dest.right, x_dest - x_src + bw);
    if (platform::Empty(dest)) continue;
    // The source columns are consecutive: whole spans, no column table.
    const int first_column = x_src + (dest.left - x_dest);
    for (int y = dest.top; y < dest.bottom; ++y) {
      const int sy = src_top + (y - y_dest);
      if (sy < 0 || sy >= rows) continue;
      lookup.WriteSpan(w->surface, y, dest.left,
                       platform::BitmapRow(bits, bw, bh, sy) + first_column,
                       dest.right - dest.left);
    }
  }
  return static_cast<int>(height);
}

int StretchDIBits(HDC dc, int x_dest, int y_dest, int dest_width, int dest_height, int x_src,
                  int y_src, int src_width, int src_height, const void* bits,
                  const BITMAPINFO* info, UINT usage, DWORD rop) {
  platform::DcRecord* d = platform::FindDc(dc);
  platform::WindowRecord* w = d ? platform::FindWindowRecord(d->hwnd) : nullptr;
  platform::ColourTable table;
  int bw = 0, bh = 0;
  if (w == nullptr || d->window_dc || bits == nullptr || rop != SRCCOPY || dest_width <= 0 ||
      dest_height <= 0 || src_width <= 0 || src_height <= 0 ||
      !platform::ReadBitmap(info, usage, &table, &bw, &bh)) {
    return 0;
  }
  const int rows = std::abs(bh);
  const int src_top = bh > 0 ? rows - y_src - src_height : y_src;
  const platform::PixelLookup lookup(table.indexes, table.count, platform::FindPalette(d->palette),
                                     w->surface.indexed);
  // Nearest neighbour: destination pixel i takes source pixel i × source / destination.
  auto source_x = [&](int x) {
    return x_src + static_cast<int>(static_cast<std::int64_t>(x - x_dest) * src_width / dest_width);
  };
  std::vector<int> columns;
  for (const RECT& clip : platform::ClipRects(*d, *w)) {
    RECT dest =
        platform::Intersect(clip, RECT{x_dest, y_dest, x_dest + dest_width, y_dest + dest_height});
    while (dest.left < dest.right && source_x(dest.left) < 0) ++dest.left;
    while (dest.right > dest.left && source_x(dest.right - 1) >= bw) --dest.right;
    if (platform::Empty(dest)) continue;
    columns.resize(static_cast<std::size_t>(dest.right - dest.left));
    for (int x = dest.left; x < dest.right; ++x)
      columns[static_cast<std::size_t>(x - dest.left)] = source_x(x);
    for (int y = dest.top; y < dest.bottom; ++y) {
      const int sy = src_top + static_cast<int>(static_cast<std::int64_t>(y - y_dest) * src_height /
                                                dest_height);
      if (sy < 0 || sy >= rows) continue;
      lookup.WriteRow(w->surface, y, dest.left, platform::BitmapRow(bits, bw, bh, sy),
                      columns.data(), dest.right - dest.left);
    }
  }
  return dest_height;
}

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
  platform::DcRecord* d = platform::FindDc(dc);
  platform::WindowRecord* w = d ? platform::FindWindowRecord(d->hwnd) : nullptr;
  if (w == nullptr || (rop != BLACKNESS && rop != WHITENESS)) return FALSE;
  if (d->window_dc) {
    // Painting over the frame: the menu bar is covered until it is drawn again.
    w->menu_bar_black = rop == BLACKNESS;
    platform::CurrentBackend().NonClientChanged(d->hwnd);
    return TRUE;
  }
  const bool white = rop == WHITENESS;
  platform::ClientSurface& s = w->surface;
  for (const RECT& clip : platform::ClipRects(*d, *w)) {
    const RECT r = platform::Intersect(clip, RECT{x, y, x + width, y + height});
    for (int py = r.top; py < r.bottom; ++py) {
      for (int px = r.left; px < r.right; ++px) {
        const std::size_t at = static_cast<std::size_t>(py) * static_cast<std::size_t>(s.width) +
                               static_cast<std::size_t>(px);
        if (s.indexed) {
          s.pixels[at] = white ? 255 : 0;
        } else {
          std::memset(&s.pixels[at * 3], white ? 255 : 0, 3);
        }
      }
    }
  }
  return TRUE;
}
