// The wave output device of the platform: its subset's refusals, a looping buffer on the
// virtual clock, and MM_WOM_DONE, which a closed device withdraws.
#include <gtest/gtest.h>

#include <vector>

#include "support/platform_fixture.h"

namespace {

LRESULT PlainProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

constexpr WAVEFORMATEX kMono22k = {WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};

class WaveDeviceTest : public hotaru_test::PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = "WAVETEST";
    ASSERT_NE(RegisterClassExA(&wc), 0);
    hwnd_ = CreateWindowExA(0, "WAVETEST", "wave", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                            nullptr, nullptr);
    ASSERT_NE(hwnd_, nullptr);
    // 1102 samples (50 ms at 22050 Hz) and an odd byte, which is not played.
    data_.assign(2205, 0);
    header_ = WAVEHDR{};
    header_.lpData = reinterpret_cast<LPSTR>(data_.data());
    header_.dwBufferLength = static_cast<DWORD>(data_.size());
    header_.dwFlags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
    header_.dwLoops = 2;
  }
  MMRESULT Open() {
    return waveOutOpen(&device_, 0, &kMono22k, reinterpret_cast<DWORD_PTR>(hwnd_), 0,
                       CALLBACK_WINDOW);
  }
  // Lets the virtual clock reach `ms` without taking any message out of the queue.
  void IdleUntil(DWORD ms) {
    MSG msg;
    while (GetTickCount() < ms) PeekMessageA(&msg, nullptr, WM_USER + 1, WM_USER + 1, PM_NOREMOVE);
  }
  bool TakeDone(MSG* msg) { return PeekMessageA(msg, hwnd_, MM_WOM_DONE, MM_WOM_DONE, PM_REMOVE); }

  HWND hwnd_ = nullptr;
  HWAVEOUT device_ = nullptr;
  std::vector<std::uint8_t> data_;
  WAVEHDR header_{};
};

TEST_F(WaveDeviceTest, TheSubsetRefusesWhatItDoesNotKeep) {
  WAVEFORMATEX eight_bit = kMono22k;
  eight_bit.wBitsPerSample = 8;
  HWAVEOUT other = nullptr;
  EXPECT_EQ(waveOutOpen(&other, 0, &eight_bit, 0, 0, CALLBACK_NULL), WAVERR_BADFORMAT);
  EXPECT_EQ(waveOutOpen(&other, 3, &kMono22k, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
  ASSERT_EQ(Open(), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutOpen(&other, 0, &kMono22k, 0, 0, CALLBACK_NULL), MMSYSERR_ALLOCATED);
  EXPECT_EQ(waveOutWrite(device_, &header_, sizeof header_), WAVERR_UNPREPARED);
  ASSERT_EQ(waveOutPrepareHeader(device_, &header_, sizeof header_), MMSYSERR_NOERROR);
  ASSERT_EQ(waveOutWrite(device_, &header_, sizeof header_), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutWrite(device_, &header_, sizeof header_), WAVERR_STILLPLAYING);
  EXPECT_EQ(waveOutUnprepareHeader(device_, &header_, sizeof header_), WAVERR_STILLPLAYING);
  EXPECT_EQ(waveOutClose(device_), WAVERR_STILLPLAYING);
  EXPECT_EQ(waveOutReset(device_), MMSYSERR_NOERROR);
  EXPECT_NE(header_.dwFlags & WHDR_DONE, 0u);
  EXPECT_EQ(waveOutUnprepareHeader(device_, &header_, sizeof header_), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutClose(device_), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutReset(device_), MMSYSERR_INVALHANDLE);
}

TEST_F(WaveDeviceTest, TheBufferEndsAfterItsLoopsWithDoneToTheWindow) {
  ASSERT_EQ(Open(), MMSYSERR_NOERROR);
  waveOutPrepareHeader(device_, &header_, sizeof header_);
  const DWORD start = GetTickCount();
  waveOutWrite(device_, &header_, sizeof header_);
  MSG msg;
  IdleUntil(start + 99);
  EXPECT_FALSE(TakeDone(&msg));
  EXPECT_NE(header_.dwFlags & WHDR_INQUEUE, 0u);
  IdleUntil(start + 101);
  ASSERT_TRUE(TakeDone(&msg));
  EXPECT_EQ(msg.wParam, reinterpret_cast<WPARAM>(device_));
  EXPECT_EQ(msg.lParam, reinterpret_cast<LPARAM>(&header_));
  EXPECT_EQ(msg.time, start + 100);
  EXPECT_NE(header_.dwFlags & WHDR_DONE, 0u);
}

TEST_F(WaveDeviceTest, ADeviceClosedBeforeItsDoneIsTakenWithdrawsIt) {
  ASSERT_EQ(Open(), MMSYSERR_NOERROR);
  waveOutPrepareHeader(device_, &header_, sizeof header_);
  const DWORD start = GetTickCount();
  waveOutWrite(device_, &header_, sizeof header_);
  IdleUntil(start + 200);  // the end is posted, not yet taken
  waveOutReset(device_);
  waveOutUnprepareHeader(device_, &header_, sizeof header_);
  waveOutClose(device_);
  // The next sound must not see the end of the one before.
  ASSERT_EQ(Open(), MMSYSERR_NOERROR);
  MSG msg;
  EXPECT_FALSE(TakeDone(&msg));
}

TEST_F(WaveDeviceTest, AnEndlessBufferPlaysUntilReset) {
  header_.dwLoops = 0xFFFFFFFF;
  ASSERT_EQ(Open(), MMSYSERR_NOERROR);
  waveOutPrepareHeader(device_, &header_, sizeof header_);
  const DWORD start = GetTickCount();
  waveOutWrite(device_, &header_, sizeof header_);
  IdleUntil(start + 10000);
  MSG msg;
  EXPECT_FALSE(TakeDone(&msg));
  waveOutReset(device_);
  IdleUntil(start + 10010);
  EXPECT_FALSE(TakeDone(&msg));
}

}  // namespace
