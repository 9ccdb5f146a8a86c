// The platform's mutable state, one struct per concern, each owned by the file named above
// it. Start values are written in the structs; a reset assigns a fresh one, keeping only
// what is said to survive. ResetPlatformState resets them all.
//
// Not here, because they are wiring rather than state: the backend installed by SetBackend
// (process.cpp) and the tests' FileStepHook (files.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/common/window_table.h"
#include "platform/presentation.h"
#include "platform/resources.h"
#include "platform/win32.h"

namespace platform {

// --- windows.cpp: window classes, windows, the focus and the menu templates.

struct ClassRecord {
  WNDCLASSEXA wc{};
  std::string name;
  std::string menu_name;
};

struct WindowsState {
  std::vector<ClassRecord> classes;
  std::vector<std::unique_ptr<WindowRecord>> windows;
  HWND focus = nullptr;
  std::vector<std::pair<std::string, std::vector<MenuItemSpec>>> menu_resources;
  // The last handle given. Survives a reset: a handle is never given twice in a process.
  std::uintptr_t next_handle = 0x10000;
};

extern WindowsState Windows;

// Interned resource and stock-object names (LoadIconA, LoadCursorA, GetStockObject): a
// handle is the address of its name. Not reset: the program keeps such handles for its whole
// run, and a name is interned once.
struct ResourceNamesState {
  std::vector<std::unique_ptr<std::string>> names;
};

extern ResourceNamesState ResourceNames;

// --- message_queue.cpp: the message queue of the one thread, window timers and keys.

struct WindowTimer {
  HWND hwnd;
  std::uintptr_t id;
  UINT period;
  std::uint32_t due;
  TIMERPROC proc;
  bool operator==(const WindowTimer&) const = default;
};

struct MessageQueueState {
  std::deque<MSG> posted;
  std::vector<WindowTimer> timers;
  bool quit_posted = false;
  int quit_code = 0;
  std::array<bool, 256> keys{};
  // The tick count was read since the last idle: the program is pacing itself by the clock.
  bool tick_read = false;
  // The tick the running wait of the game ends at, when it has told.
  std::optional<std::uint32_t> wait_deadline;
};

extern MessageQueueState MessageQueue;
void ResetMessageQueue();

// --- gdi.cpp: palettes, device contexts and the emulated display's system palette.

struct PaletteObject {
  std::vector<PALETTEENTRY> entries;
};

struct DcRecord {
  HWND hwnd = nullptr;
  bool window_dc = false;      // the whole window, frame included
  HPALETTE palette = nullptr;  // the selected logical palette
  bool background = false;
  std::vector<RECT> clip;  // empty: the whole client area
};

// The system palette with nothing realised: the twenty static colours, black between.
std::array<PALETTEENTRY, 256> StartSystemPalette();

struct GdiState {
  std::vector<std::unique_ptr<PaletteObject>> palettes;
  std::vector<std::unique_ptr<DcRecord>> dcs;
  // The system palette of the emulated palette display, and which logical palette is
  // realised into it.
  std::array<PALETTEENTRY, 256> system_palette = StartSystemPalette();
  HPALETTE realized = nullptr;
};

extern GdiState Gdi;

// --- files.cpp: the open files behind OpenFile's handles.

struct OpenedFile {
  int fd = -1;
  std::uint32_t generation = 1;
  bool in_use = false;
  // OF_CREATE: the bytes go to `temp_path`, which replaces `target_path` on a clean close.
  bool replace_on_close = false;
  bool write_failed = false;
  std::string temp_path;
  std::string target_path;
  std::string folder;
  bool operator==(const OpenedFile&) const = default;
};

struct FilesState {
  // Slots, reused. A reset closes every file but keeps the slots: their generations survive
  // so that a handle kept from before the reset is refused, not taken for a new file's.
  std::vector<OpenedFile> files;
  // Names temporaries. Survives a reset: a name is not given twice in a process.
  unsigned temporary_counter = 0;
  // Folders whose stale temporaries were cleared. Survives a reset: that is done once per
  // folder in a run.
  std::set<std::string> swept_folders;
  // LastFileError: the Windows error code of the last file function that failed.
  std::uint32_t last_error = 0;
  bool operator==(const FilesState&) const = default;
};

extern FilesState Files;
void CloseAllFiles();

// --- file_replace.cpp: replacing a file whole. Not reset: both are for the process's run.

struct FileReplaceState {
  // The random part of temporary names.
  std::mt19937_64 temporary_names{std::random_device{}()};
  // Folders whose stale temporaries were cleared: that is done once per folder in a run.
  std::set<std::string> swept_folders;
};

extern FileReplaceState FileReplace;

// --- global_memory.cpp: the blocks of GlobalAlloc.

struct MemoryBlockSlot {
  void* data = nullptr;
  std::size_t size = 0;
  std::uint32_t locks = 0;
  std::uint16_t generation = 0;
  bool live = false;
};

// Not reset by ResetPlatformState: the blocks belong to whoever allocated them (the game's
// memory table outlives a backend restart and frees its blocks itself).
struct GlobalMemoryState {
  std::vector<MemoryBlockSlot> slots;
  // Freed slots are reused oldest first, so a stale handle meets a changed generation for
  // as long as possible.
  std::deque<std::uint32_t> free_slots;

  GlobalMemoryState() = default;
  GlobalMemoryState(const GlobalMemoryState&) = delete;
  GlobalMemoryState& operator=(const GlobalMemoryState&) = delete;
  // The process may end with blocks still allocated (an exit from inside the game's wait):
  // the memory goes with the table rather than being left unreachable.
  ~GlobalMemoryState() {
    for (MemoryBlockSlot& slot : slots) {
      if (slot.live) std::free(slot.data);
    }
  }
};

extern GlobalMemoryState GlobalMemory;

// --- cd_device.cpp: the "cdaudio" device and the auxiliary device's volume.

struct CdDevice {
  bool open = false;
  std::string disc_folder;
  DWORD time_format = MCI_FORMAT_MILLISECONDS;
  bool started = false;  // a track was started and not stopped since
  bool operator==(const CdDevice&) const = default;
};

struct CdState {
  CdDevice device;  // fresh on every open
  DWORD aux_volume = 0xFFFFFFFF;
  bool operator==(const CdState&) const = default;
};

extern CdState Cd;
void ResetCdDevice();

// --- wave_device.cpp: the wave output device.

struct WaveDevice {
  bool open = false;
  std::uintptr_t serial = 0;  // the handle given out: never reused
  WAVEFORMATEX format{};
  HWND notify = nullptr;
  WAVEHDR* playing = nullptr;  // the buffer written and not yet done
};

struct WaveState {
  WaveDevice device;  // fresh on every open
  DWORD volume = 0xFFFFFFFF;
  // The last handle given. Survives a reset: a handle is never given twice in a process.
  std::uintptr_t last_serial = 0;
};

extern WaveState Wave;
void ResetWaveDevice();

// --- dialogs.cpp: dialog templates and the dialogs open.

struct DialogState {
  HWND handle = nullptr;
  DialogSpec layout;
  DLGPROC proc = nullptr;
  std::map<int, bool> checks;
  bool ended = false;
  INT_PTR result = 0;
};

struct DialogsState {
  std::vector<std::pair<std::string, DialogSpec>> dialog_resources;
  std::vector<std::unique_ptr<DialogState>> open_dialogs;
};

extern DialogsState Dialogs;
void ResetDialogs();

// --- profile.cpp: the last ini file read, kept parsed.

struct ProfileLine {
  enum class Kind { kOther, kSection, kKey };
  std::string text;  // the line's bytes without its terminator
  std::string eol;   // "\r\n", "\n", or "" for a last line without one
  Kind kind = Kind::kOther;
  std::string name;   // section name or key, trimmed
  std::string value;  // key lines: the trimmed value, quotes still on
  bool operator==(const ProfileLine&) const = default;
};

// The last file read and its lines: the settings are read key by key at start-up, and each
// key must not cost a parse of the file. The bytes are compared, not the file's times,
// which can stay the same across two quick writes.
struct ProfileCache {
  std::string path;
  std::string bytes;
  std::vector<ProfileLine> lines;
  bool operator==(const ProfileCache&) const = default;
};

extern ProfileCache Profile;
void ResetProfileCache();

// --- presentation.cpp: the player's choice of scaling (platform/presentation.h).

extern Presentation PlayerPresentation;
void ResetPresentation();

}  // namespace platform
