// The program's window on the headless backend for the scene and palette tests: picture
// files written loose into the data folder, pixel reads of the screen pictures, and a probe
// that samples the shown palette every virtual millisecond while the game waits.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "authoring/picture_file.h"
#include "core/memory_blocks.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "platform/headless/input_script.h"
#include "support/platform_fixture.h"

namespace hotaru_test {

class VisualsTest : public PlatformTest {
 protected:
  // A fresh window on a display of `bits` per pixel (FadeSteps 47 at 8 bits, else 15), with
  // one "present" trace line per present.
  void StartWindow(int bits = 8) {
    platform::headless::Options options;
    options.display_bits = bits;
    options.trace_presents = true;
    RestartBackend(options);
    ASSERT_TRUE(OpenWindow());
  }

  // Writes picture file `name` loose into the data folder: an image of w × h pixels from
  // `pixel(x, y)` placed at (x, y) with a palette of greys and the given transparent colour.
  void WritePicture(const std::string& name, int left, int top, int w, int h,
                    const std::function<std::uint8_t(int, int)>& pixel,
                    std::uint8_t transparent = authoring::kNoTransparentColour) {
    authoring::PictureImage image{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w * h))};
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) image.pixels[static_cast<std::size_t>(y * w + x)] = pixel(x, y);
    }
    authoring::PictureOptions options;
    options.x = left;
    options.y = top;
    options.transparent = transparent;
    for (int i = 0; i < 16; ++i) {
      const auto v = static_cast<std::uint8_t>(15 - i);
      options.palette[static_cast<std::size_t>(i)] = authoring::Rgb4{v, v, v};
    }
    std::vector<std::uint8_t> file;
    ASSERT_EQ(authoring::BuildPictureFile(image, options, &file), "");
    WriteBytes(dir() / name, file);
  }

  // Sets every pixel of a Picture to f(x, y).
  static void Fill(core::MemHandle picture, const std::function<std::uint8_t(int, int)>& f) {
    std::uint8_t* p = core::LockPicture(picture);
    for (int y = 0; y < core::kPictureHeight; ++y) {
      for (int x = 0; x < core::kPictureWidth; ++x) *core::PixelAt(p, x, y) = f(x, y);
    }
    core::MemUnlock(picture);
  }

  // Runs `op`; answers how long it took on the virtual clock and fills `mid` with VmemDIB
  // as it was `at` ms after the start (left empty when `op` had ended by then).
  std::uint32_t RunCapturing(const std::function<void()>& op, std::uint32_t at,
                             std::vector<std::uint8_t>* mid) {
    backend().SetDumpProvider([mid] {
      *mid = Screen(core::Screen.VmemDIB);
      return std::string("{}");
    });
    const DWORD start = GetTickCount();
    platform::headless::InputScript script;
    std::string error;
    EXPECT_TRUE(platform::headless::ParseInputScript(
        "at " + std::to_string(start + at) + " dump /dev/null\n", &script, &error))
        << error;
    backend().LoadScript(script);
    op();
    const std::uint32_t took = GetTickCount() - start;
    backend().LoadScript({});
    backend().SetDumpProvider(nullptr);
    return took;
  }

  // Pixels of a Picture, top row first.
  static std::vector<std::uint8_t> Screen(core::MemHandle picture) {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(core::kPictureWidth) *
                                  core::kPictureHeight);
    auto* p = static_cast<std::uint8_t*>(core::MemLock(picture));
    if (p == nullptr) {
      ADD_FAILURE() << "no picture";
      return {};
    }
    for (int y = 0; y < core::kPictureHeight; ++y) {
      for (int x = 0; x < core::kPictureWidth; ++x) {
        out[static_cast<std::size_t>(y * core::kPictureWidth + x)] = *core::PixelAt(p, x, y);
      }
    }
    core::MemUnlock(picture);
    return out;
  }

  struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
  };
  static Rgb ToRgb(const PALETTEENTRY& e) { return {e.peRed, e.peGreen, e.peBlue}; }
  // What the window palette holds for entry i (what the screen shows).
  static Rgb WindowEntry(int i) {
    PALETTEENTRY e{};
    GetPaletteEntries(core::Screen.WindowPalette, static_cast<UINT>(i), 1, &e);
    return ToRgb(e);
  }

  // Runs `op` while ShownPalette entry `entry` is sampled at every virtual millisecond the
  // game waits through (up to `span` ms); answers the samples in order.
  std::vector<Rgb> Sample(int entry, std::uint32_t span, const std::function<void()>& op) {
    std::vector<Rgb> samples;
    const std::uint32_t now = GetTickCount();
    SampleDuring(
        now, now + span, 1,
        [&samples, entry] { samples.push_back(ToRgb(core::Screen.ShownPalette[entry])); }, op);
    return samples;
  }

  // Runs `op` while `sample` is called at every `every`-th virtual millisecond from `from` up
  // to `until` that the game waits through: each is a dump of the runner's script.
  void SampleDuring(std::uint32_t from, std::uint32_t until, std::uint32_t every,
                    const std::function<void()>& sample, const std::function<void()>& op) {
    backend().SetDumpProvider([&sample] {
      sample();
      return std::string("{}");
    });
    std::string text;
    for (std::uint32_t t = from; t < until; t += every)
      text += "at " + std::to_string(t) + " dump /dev/null\n";
    platform::headless::InputScript script;
    std::string error;
    EXPECT_TRUE(platform::headless::ParseInputScript(text, &script, &error)) << error;
    backend().LoadScript(script);
    op();
    backend().LoadScript({});
    backend().SetDumpProvider(nullptr);
  }

  // Consecutive equal samples folded into one: (value, how many samples).
  static std::vector<std::pair<Rgb, int>> Runs(const std::vector<Rgb>& samples) {
    std::vector<std::pair<Rgb, int>> runs;
    for (const Rgb& s : samples) {
      if (!runs.empty() && runs.back().first == s) {
        ++runs.back().second;
      } else {
        runs.push_back({s, 1});
      }
    }
    return runs;
  }

  int Presents() {
    int n = 0;
    for (const std::string& line : backend().trace_lines()) {
      if (line.find(" present ") != std::string::npos) ++n;
    }
    return n;
  }
};

}  // namespace hotaru_test
