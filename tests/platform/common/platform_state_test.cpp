// ResetPlatformState: after the platform has been used in every way it keeps state, each
// concern's state equals a fresh one, but for what is meant to survive.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/backend.h"
#include "platform/common/input_state.h"
#include "platform/common/platform_state.h"
#include "platform/common/window_table.h"
#include "platform/presentation.h"
#include "platform/resources.h"
#include "platform/wait_deadline.h"
#include "support/platform_fixture.h"

namespace {

constexpr WAVEFORMATEX kMono22k = {WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};

void NoTimerProc(HWND, UINT, std::uintptr_t, DWORD) {}

bool SamePalette(const std::array<PALETTEENTRY, 256>& a, const std::array<PALETTEENTRY, 256>& b) {
  return std::memcmp(a.data(), b.data(), sizeof(PALETTEENTRY) * a.size()) == 0;
}

class PlatformStateTest : public hotaru_test::PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "STATE";
    ASSERT_NE(RegisterClassExA(&wc), 0);
    hwnd_ = CreateWindowExA(0, "state", "title", WS_POPUP | WS_CAPTION, 0, 0, 646, 425, nullptr,
                            nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd_, nullptr);
  }

  std::string GamePath(const std::string& rest) const { return dir().string() + "\\" + rest; }

  // Leaves something behind in every concern's state.
  void UseEverything() {
    // Windows and menus.
    platform::RegisterMenuResource("MENU", {platform::MenuItemSpec{"&File", 0, {}}});
    // The message queue, timers, keys and the clock.
    ASSERT_TRUE(PostMessageA(hwnd_, WM_USER + 1, 7, 8));
    ASSERT_NE(SetTimer(hwnd_, 1, 100, nullptr), 0u);
    ASSERT_NE(SetTimer(nullptr, 2, 50, NoTimerProc), 0u);
    PostQuitMessage(3);
    platform::SetKeyState(VK_SPACE, true);
    platform::SetWaitDeadline(1234);
    (void)GetTickCount();
    // GDI: a palette realised through a DC still held.
    LOGPALETTE logical{0x300, 1, {{1, 2, 3, 0}}};
    palette_ = CreatePalette(&logical);
    ASSERT_NE(palette_, nullptr);
    dc_ = GetDC(hwnd_);
    ASSERT_NE(dc_, nullptr);
    SelectPalette(dc_, palette_, FALSE);
    RealizePalette(dc_);
    // Files: one read, one being replaced.
    WriteText(dir() / "read.txt", "read");
    OFSTRUCT info{};
    read_file_ = OpenFile(GamePath("read.txt").c_str(), &info, OF_READ);
    ASSERT_NE(read_file_, HFILE_ERROR);
    written_file_ = OpenFile(GamePath("new.txt").c_str(), &info, OF_CREATE);
    ASSERT_NE(written_file_, HFILE_ERROR);
    // A block of global memory.
    block_ = GlobalAlloc(GMEM_MOVEABLE, 16);
    ASSERT_NE(block_, 0u);
    std::memcpy(GlobalLock(block_), "kept", 5);
    GlobalUnlock(block_);
    // The CD device, open with its time format set, and the auxiliary volume.
    MCI_OPEN_PARMSA open{};
    open.lpstrDeviceType = "cdaudio";
    const std::string disc = dir().string();
    open.lpstrElementName = disc.c_str();
    ASSERT_EQ(mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT,
                              reinterpret_cast<DWORD_PTR>(&open)),
              0u);
    MCI_SET_PARMS set{};
    set.dwTimeFormat = MCI_FORMAT_TMSF;
    ASSERT_EQ(mciSendCommandA(open.wDeviceID, MCI_SET, MCI_SET_TIME_FORMAT,
                              reinterpret_cast<DWORD_PTR>(&set)),
              0u);
    ASSERT_EQ(auxSetVolume(0, 0x11112222), MMSYSERR_NOERROR);
    // The wave device, open, with a volume.
    ASSERT_EQ(
        waveOutOpen(&wave_, 0, &kMono22k, reinterpret_cast<DWORD_PTR>(hwnd_), 0, CALLBACK_WINDOW),
        MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutSetVolume(wave_, 0x33334444), MMSYSERR_NOERROR);
    // A dialog template.
    platform::DialogSpec dialog;
    dialog.caption = "Settings";
    platform::RegisterDialogResource("DIALOG", dialog);
    // The profile, read once and kept parsed.
    WriteText(ini_path(), "[s]\r\nk=v\r\n");
    char out[16];
    ASSERT_EQ(GetPrivateProfileStringA("s", "k", "", out, sizeof out, "hotaru.ini"), 1u);
    // The player's presentation.
    platform::SetPresentation({platform::ScaleMode::kWhole, platform::ScaleFilter::kSmooth});
  }

  HWND hwnd_ = nullptr;
  HPALETTE palette_ = nullptr;
  HDC dc_ = nullptr;
  HFILE read_file_ = HFILE_ERROR;
  HFILE written_file_ = HFILE_ERROR;
  HGLOBAL block_ = 0;
  HWAVEOUT wave_ = nullptr;
};

TEST_F(PlatformStateTest, EveryConcernStartsAgainAfterAReset) {
  ASSERT_NO_FATAL_FAILURE(UseEverything());

  // Every concern holds something before the reset, so each comparison below has work to do.
  ASSERT_FALSE(platform::Windows.classes.empty());
  ASSERT_FALSE(platform::Windows.windows.empty());
  ASSERT_NE(platform::Windows.focus, nullptr);
  ASSERT_FALSE(platform::Windows.menu_resources.empty());
  ASSERT_FALSE(platform::MessageQueue.posted.empty());
  ASSERT_EQ(platform::MessageQueue.timers.size(), 2u);
  ASSERT_TRUE(platform::MessageQueue.quit_posted);
  ASSERT_EQ(platform::MessageQueue.quit_code, 3);
  ASSERT_TRUE(platform::MessageQueue.keys[VK_SPACE]);
  ASSERT_TRUE(platform::MessageQueue.tick_read);
  ASSERT_TRUE(platform::MessageQueue.wait_deadline.has_value());
  ASSERT_FALSE(platform::Gdi.palettes.empty());
  ASSERT_FALSE(platform::Gdi.dcs.empty());
  ASSERT_EQ(platform::Gdi.realized, palette_);
  ASSERT_NE(platform::Cd, platform::CdState{});
  ASSERT_TRUE(platform::Wave.device.open);
  ASSERT_NE(platform::Wave.volume, platform::WaveState{}.volume);
  ASSERT_FALSE(platform::Dialogs.dialog_resources.empty());
  ASSERT_NE(platform::Profile, platform::ProfileCache{});
  ASSERT_NE(platform::PlayerPresentation, platform::Presentation{});

  const std::uintptr_t next_handle = platform::Windows.next_handle;
  const std::uintptr_t last_serial = platform::Wave.last_serial;
  platform::FilesState files_after = platform::Files;
  for (platform::OpenedFile& f : files_after.files) {
    const std::uint32_t generation = f.in_use ? f.generation + 1 : f.generation;
    f = platform::OpenedFile{};
    f.generation = generation;
  }

  platform::ResetPlatformState();

  // Windows: all fresh but the handle counter.
  const platform::WindowsState fresh_windows;
  EXPECT_TRUE(platform::Windows.classes.empty());
  EXPECT_TRUE(platform::Windows.windows.empty());
  EXPECT_EQ(platform::Windows.focus, fresh_windows.focus);
  EXPECT_TRUE(platform::Windows.menu_resources.empty());
  EXPECT_EQ(platform::Windows.next_handle, next_handle);

  const platform::MessageQueueState fresh_queue;
  EXPECT_TRUE(platform::MessageQueue.posted.empty());
  EXPECT_EQ(platform::MessageQueue.timers, fresh_queue.timers);
  EXPECT_EQ(platform::MessageQueue.quit_posted, fresh_queue.quit_posted);
  EXPECT_EQ(platform::MessageQueue.quit_code, fresh_queue.quit_code);
  EXPECT_EQ(platform::MessageQueue.keys, fresh_queue.keys);
  EXPECT_EQ(platform::MessageQueue.tick_read, fresh_queue.tick_read);
  EXPECT_EQ(platform::MessageQueue.wait_deadline, fresh_queue.wait_deadline);

  const platform::GdiState fresh_gdi;
  EXPECT_TRUE(platform::Gdi.palettes.empty());
  EXPECT_TRUE(platform::Gdi.dcs.empty());
  EXPECT_TRUE(SamePalette(platform::Gdi.system_palette, fresh_gdi.system_palette));
  EXPECT_EQ(platform::Gdi.realized, fresh_gdi.realized);

  // Files: every file closed, the slots' generations moved on, the rest kept.
  EXPECT_EQ(platform::Files, files_after);
  for (const platform::OpenedFile& f : platform::Files.files) EXPECT_FALSE(f.in_use);

  EXPECT_EQ(platform::Cd, platform::CdState{});

  const platform::WaveState fresh_wave;
  EXPECT_FALSE(platform::Wave.device.open);
  EXPECT_EQ(platform::Wave.device.serial, fresh_wave.device.serial);
  // Field by field: the struct's padding bytes hold whatever they held.
  EXPECT_TRUE(platform::Wave.device.format == fresh_wave.device.format);
  EXPECT_EQ(platform::Wave.device.notify, fresh_wave.device.notify);
  EXPECT_EQ(platform::Wave.device.playing, fresh_wave.device.playing);
  EXPECT_EQ(platform::Wave.volume, fresh_wave.volume);
  EXPECT_EQ(platform::Wave.last_serial, last_serial);

  EXPECT_TRUE(platform::Dialogs.dialog_resources.empty());
  EXPECT_TRUE(platform::Dialogs.open_dialogs.empty());

  EXPECT_EQ(platform::Profile, platform::ProfileCache{});
  EXPECT_EQ(platform::PlayerPresentation, platform::Presentation{});

  GlobalFree(block_);
}

TEST_F(PlatformStateTest, HandlesFromBeforeAResetAreRefusedAndBlocksKept) {
  ASSERT_NO_FATAL_FAILURE(UseEverything());
  platform::ResetPlatformState();

  // The files are closed, and their old handles name nothing, not even a file opened since.
  OFSTRUCT info{};
  const HFILE reopened = OpenFile(GamePath("read.txt").c_str(), &info, OF_READ);
  ASSERT_NE(reopened, HFILE_ERROR);
  EXPECT_NE(reopened, read_file_);
  char byte;
  EXPECT_EQ(_lread(read_file_, &byte, 1), HFILE_ERROR);
  EXPECT_EQ(_lclose(written_file_), HFILE_ERROR);
  // A file being replaced when the reset came was dropped, not put in place.
  EXPECT_FALSE(std::filesystem::exists(dir() / "new.txt"));
  _lclose(reopened);

  // The wave device's and the window's handles are not given again.
  EXPECT_EQ(waveOutSetVolume(wave_, 0), MMSYSERR_INVALHANDLE);
  HWAVEOUT again = nullptr;
  ASSERT_EQ(waveOutOpen(&again, 0, &kMono22k, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  EXPECT_NE(again, wave_);
  waveOutClose(again);
  EXPECT_EQ(platform::FindWindowRecord(hwnd_), nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "STATE";
  ASSERT_NE(RegisterClassExA(&wc), 0);
  const HWND other = CreateWindowExA(0, "state", "title", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  EXPECT_NE(other, hwnd_);

  // A block of global memory belongs to its allocator, not to the platform's reset.
  const char* kept = static_cast<const char*>(GlobalLock(block_));
  ASSERT_NE(kept, nullptr);
  EXPECT_STREQ(kept, "kept");
  GlobalUnlock(block_);
  EXPECT_EQ(GlobalFree(block_), 0u);
}

}  // namespace
