// The real program on an X display of its own (Xvfb): its window, menu, mouse and keys,
// message boxes, full screen, the running-copy refusal, and its picture against the
// headless runner's. Skipped when Xvfb or the X tools are missing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "authoring/block_encoder.h"
#include "authoring/picture_file.h"
#include "programs/x_session.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using hotaru_test::XWindow;

const std::string kTitle = "Vela Story Series Vol.2 「蛍」－ほたる－";
const std::string kCaption = "Vela Story Series Vol.2 「蛍」";
// The menu bar's height at the program's 16-pixel font (one row at 640 pixels).
constexpr int kMenuRow = 22;
// Where label 1 waits for the click, in the scenario below.
constexpr int kClickOffset = 521;

void PutU16(Bytes* out, std::size_t at, unsigned v) {
  (*out)[at] = static_cast<std::uint8_t>(v);
  (*out)[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// A data block: u16 0, 256 u16 offsets (every one `target` but label 1's), then `code`.
Bytes TableBlock(std::size_t target, std::size_t label1, const Bytes& code) {
  Bytes block(514, 0);
  for (int i = 0; i < 256; ++i)
    PutU16(&block, 2 + 2 * static_cast<std::size_t>(i), static_cast<unsigned>(target));
  PutU16(&block, 4, static_cast<unsigned>(label1));
  block.insert(block.end(), code.begin(), code.end());
  return block;
}

// 000.SCN: label 0 (the entry routine) ends at once; label 1 shows background 0, applies
// the scene palette, waits for a click and ends, or with `ticking` goes on for ever adding 1
// to flag 5 every 50 ms. Every message is empty.
Bytes Scenario(bool ticking = false, const Bytes& effects = {}) {
  Bytes code = {0x20,                                             // 514: label 0: end
                0x30, 0, 0x38, 0, 0, 0x60, 0x26, 0x20};           // 515: label 1
  code.insert(code.begin() + 7, effects.begin(), effects.end());  // before the click wait
  if (ticking) {
    code.pop_back();
    code.insert(code.end(), {0x23, 5, 0x4C, 5, 1, 0x40, 0xF9});  // 522: wait, add, jump 522
  }
  const Bytes event = authoring::PackBlock(TableBlock(514, 515, code));
  const Bytes message = authoring::PackBlock(TableBlock(514, 514, Bytes{0xAF}));
  Bytes file(16, 0);
  PutU16(&file, 0, 1);
  file.insert(file.end(), event.begin(), event.end());
  file.resize((file.size() + 15) / 16 * 16, 0);
  PutU16(&file, 2, static_cast<unsigned>(file.size() / 16));
  file.insert(file.end(), message.begin(), message.end());
  return file;
}

// S00.VGR: sixteen bands of colour, crossed by a checker so that scaling errors show.
Bytes Background() {
  authoring::PictureImage image{640, 400, Bytes(640 * 400)};
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 640; ++x) {
      image.pixels[static_cast<std::size_t>(y * 640 + x)] =
          static_cast<std::uint8_t>((x / 40 + ((x / 5 + y / 5) & 1) * 3) % 16);
    }
  }
  authoring::PictureOptions options;
  for (int i = 0; i < 16; ++i) {
    options.palette[static_cast<std::size_t>(i)] =
        authoring::Rgb4{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(15 - i),
                        static_cast<std::uint8_t>((i * 7) % 16)};
  }
  Bytes file;
  EXPECT_EQ(authoring::BuildPictureFile(image, options, &file), "");
  return file;
}

// An effect frame n (or with `transparent` 255 a background): a diagonal band in colours 1
// to 3 over the transparent colour 0, in a palette of its own.
Bytes EffectPicture(int n, std::uint8_t transparent = 0) {
  authoring::PictureImage image{640, 400, Bytes(640 * 400)};
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 640; ++x) {
      const int d = (x + y + 40 * n) % 160;
      image.pixels[static_cast<std::size_t>(y * 640 + x)] =
          static_cast<std::uint8_t>(d < 40 ? 1 + d / 14 : 0);
    }
  }
  authoring::PictureOptions options;
  options.transparent = transparent;
  for (int i = 1; i < 4; ++i) {
    options.palette[static_cast<std::size_t>(i)] = authoring::Rgb4{
        static_cast<std::uint8_t>(15 - i), static_cast<std::uint8_t>((n * 3 + i) % 16), 4};
  }
  Bytes file;
  EXPECT_EQ(authoring::BuildPictureFile(image, options, &file), "");
  return file;
}

class HotaruWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"Xvfb", "xdotool", "xwininfo", "import", "convert"}) {
      if (!hotaru_test::HaveProgram(tool)) GTEST_SKIP() << tool << " is not installed";
    }
    program_ = fs::path(HOTARU_HEADLESS_PATH).parent_path() / "hotaru";
    ASSERT_TRUE(fs::exists(program_)) << program_;
    if (!x_.Start(screen_width_, screen_height_)) GTEST_SKIP() << "no X display could be started";
    std::random_device rd;
    dir_ = fs::temp_directory_path() / ("hotaru-sdl-" + std::to_string(rd()));
    fs::create_directories(dir_ / "data");
    fs::create_directories(dir_ / "src");
    fs::create_directories(dir_ / "config" / "hotaru");
    Write(dir_ / "src" / "KNJ_ALL.KNJ", Bytes(72, 0));
    Write(dir_ / "src" / "S00.VGR", Background());
    PackData(Scenario());
    std::ofstream(ini()) << "[蛍]\nHotaruDir=" << (dir_ / "data").string() << "\n";
    // In sanitizer builds: D-Bus, which SDL talks to, keeps global memory that only its own
    // shutdown would free, and SDL never calls it.
    std::ofstream(dir_ / "lsan.supp") << "leak:libdbus-1.so\n";
  }

  // Packs the scenario, the font, S00.VGR and the `extra` files of the src folder.
  void PackData(const Bytes& scenario, const std::vector<std::string>& extra = {}) {
    Write(dir_ / "src" / "000.SCN", scenario);
    std::vector<std::string> args = {"pack",
                                     "build",
                                     (dir_ / "data" / "ZEN2DATA.PAK").string(),
                                     (dir_ / "src" / "KNJ_ALL.KNJ").string(),
                                     (dir_ / "src" / "000.SCN").string(),
                                     (dir_ / "src" / "S00.VGR").string()};
    for (const std::string& name : extra) args.push_back((dir_ / "src" / name).string());
    std::string out;
    ASSERT_EQ(hotaru_test::RunProgram(HOTARU_TOOL_PATH, args, {}, &out), 0) << out;
  }

  void TearDown() override {
    first_.Kill();
    second_.Kill();
    if (!dir_.empty()) fs::remove_all(dir_);
  }

  fs::path ini() const { return dir_ / "config" / "hotaru" / "hotaru.ini"; }

  // The headless runner's picture of a new game at `at_ms` (a click ends the run just after),
  // the script starting with the lines `before`; empty, with a failure, when the runner did
  // not end as it should.
  Bytes RunnerShot(int at_ms, const std::string& before = "",
                   const std::vector<std::string>& extra_args = {}) {
    const fs::path shot = dir_ / "headless.png";
    const fs::path script = dir_ / "script.txt";
    std::ofstream(script) << before << "at " << at_ms << " shot " << shot.string() << "\nat "
                          << at_ms + 100 << " click\n";
    std::vector<std::string> args = {"--ini", ini().string(), "--new-game", "--input",
                                     script.string()};
    args.insert(args.end(), extra_args.begin(), extra_args.end());
    std::string out;
    const int status = hotaru_test::RunProgram(HOTARU_HEADLESS_PATH, args, {}, &out);
    EXPECT_EQ(status, 1) << out;
    return status == 1 ? hotaru_test::PngPixels(shot) : Bytes{};
  }
  fs::path trace(const char* which = "first") const {
    return dir_ / (std::string(which) + ".trace");
  }

  static void Write(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }

  // Starts hotaru with its home in the test folder; `which` names its trace and log.
  bool Start(hotaru_test::Spawned& p, const char* which, int display_bits = 8,
             const std::vector<std::string>& args = {}) {
    return p.Start(program_.string(),
                   {{"DISPLAY", x_.display()},
                    {"HOME", dir_.string()},
                    {"XDG_CONFIG_HOME", (dir_ / "config").string()},
                    {"HOTARU_START", "new-game"},
                    {"HOTARU_TRACE", trace(which).string()},
                    {"HOTARU_DISPLAY_BITS", std::to_string(display_bits)},
                    {"HOTARU_DUMP_AT_EXIT", (dir_ / (std::string(which) + ".json")).string()},
                    {"LSAN_OPTIONS", "suppressions=" + (dir_ / "lsan.supp").string()}},
                   dir_ / (std::string(which) + ".log"), args);
  }

  // Starts the first copy and waits for its window and for the click wait of label 1.
  XWindow StartAndWaitForClick(int display_bits = 8, int click_offset = kClickOffset) {
    EXPECT_TRUE(Start(first_, "first", display_bits));
    std::optional<XWindow> w = hotaru_test::WaitForWindow(x_.display(), kTitle, 15s);
    EXPECT_TRUE(w.has_value()) << Log("first");
    if (!w) return XWindow{};
    if (display_bits > 8) {
      // The offer to switch to 256 colours comes first: refused.
      EXPECT_TRUE(WaitForBox("first")) << Log("first");
      Keys(*w, "Escape");
    }
    EXPECT_TRUE(WaitForTrace("first", " op 0 " + std::to_string(click_offset) + " click", 15s))
        << Log("first");
    // The wait begins right after the line; let the last frame reach the screen.
    std::this_thread::sleep_for(300ms);
    return *w;
  }

  std::string Log(const char* which) const {
    std::ifstream in(dir_ / (std::string(which) + ".log"));
    std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ifstream t(trace(which));
    std::string tr((std::istreambuf_iterator<char>(t)), std::istreambuf_iterator<char>());
    return "\nlog:\n" + log + "\ntrace:\n" + tr;
  }

  bool WaitForTrace(const char* which, const std::string& part, std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    do {
      for (const std::string& line : hotaru_test::ReadLines(trace(which))) {
        if (line.find(part) != std::string::npos) return true;
      }
      std::this_thread::sleep_for(20ms);
    } while (std::chrono::steady_clock::now() < until);
    return false;
  }

  // A message box is up (the backend's trace notes it as it opens).
  bool WaitForBox(const char* which, int count = 1) {
    const auto until = std::chrono::steady_clock::now() + 10s;
    do {
      int boxes = 0;
      for (const std::string& line : hotaru_test::ReadLines(trace(which))) {
        if (line.find(" box open ") != std::string::npos) ++boxes;
      }
      if (boxes >= count) {
        std::this_thread::sleep_for(200ms);  // its first frames
        return true;
      }
      std::this_thread::sleep_for(20ms);
    } while (std::chrono::steady_clock::now() < until);
    return false;
  }

  void Xdo(const std::string& args) { hotaru_test::RunOn(x_.display(), "xdotool " + args); }
  void Keys(const XWindow& w, const std::string& keys) {
    Xdo("windowfocus " + std::to_string(w.id));
    std::this_thread::sleep_for(50ms);
    Xdo("key " + keys);
  }
  // A click at a point of the window (window pixels).
  void Click(const XWindow& w, int x, int y) {
    Xdo("mousemove " + std::to_string(w.x + x) + " " + std::to_string(w.y + y));
    std::this_thread::sleep_for(100ms);
    Xdo("click 1");
  }
  std::optional<XWindow> Window() {
    for (const XWindow& w : hotaru_test::TopLevelWindows(x_.display())) {
      if (w.title == kTitle) return w;
    }
    return std::nullopt;
  }
  // The window once it has this size (nothing when it does not get it).
  std::optional<XWindow> WaitForSize(int width, int height) {
    const auto until = std::chrono::steady_clock::now() + 5s;
    do {
      std::optional<XWindow> w = Window();
      if (w && w->width == width && w->height == height) return w;
      std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < until);
    return std::nullopt;
  }

  // The desktop's size.
  int screen_width_ = 1280, screen_height_ = 1024;
  hotaru_test::XServer x_;
  fs::path program_;
  fs::path dir_;
  hotaru_test::Spawned first_, second_;
};

TEST_F(HotaruWindow, OpensWithItsTitleAndSizeAndEndsAfterTheClick) {
  const XWindow w = StartAndWaitForClick();
  ASSERT_NE(w.id, 0u);
  // The client area of 640 × 400 under one row of menu bar, centred on the screen.
  EXPECT_EQ(w.width, 640);
  EXPECT_EQ(w.height, 400 + kMenuRow);
  EXPECT_EQ(w.x, (1280 - 640) / 2);
  EXPECT_EQ(w.y, (1024 - 400 - kMenuRow) / 2);
  EXPECT_TRUE(first_.Running());
  Click(w, 320, kMenuRow + 200);
  EXPECT_EQ(first_.Wait(10s), std::optional<int>(1)) << Log("first");
}

// The client area as the program shows it against the runner's shot of the same moment:
// on the emulated palette display and on a true-colour one, and stretched to 800 × 500.
TEST_F(HotaruWindow, ClientAreaIsTheHeadlessRunnersShotPixelForPixel) {
  struct Case {
    int bits;
    int size_item;  // position of the size command in the drop-down (3: 640 × 400)
    int width, height;
  } cases[] = {{8, 3, 640, 400}, {32, 3, 640, 400}, {8, 4, 800, 500}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.bits) + " bits, " + std::to_string(c.width));
    const Bytes expected = RunnerShot(
        4000, "at 0 msgbox cancel\nat 3000 menu " + std::to_string(40000 + c.size_item) + "\n",
        {"--display-bits", std::to_string(c.bits)});
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(c.width * c.height * 3));

    XWindow w = StartAndWaitForClick(c.bits);
    ASSERT_NE(w.id, 0u);
    if (c.size_item != 3) {
      Keys(w, "alt+s");
      std::this_thread::sleep_for(300ms);
      std::string keys;
      for (int i = 0; i < c.size_item; ++i) keys += "Down ";
      Keys(w, keys + "Return");
      const std::optional<XWindow> resized = WaitForSize(c.width, c.height + kMenuRow);
      ASSERT_TRUE(resized) << Log("first");
      w = *resized;
      std::this_thread::sleep_for(300ms);
    }
    const Bytes window = hotaru_test::WindowPixels(x_.display(), w);
    ASSERT_EQ(window.size(),
              static_cast<std::size_t>(w.width) * static_cast<std::size_t>(w.height) * 3);
    const Bytes client(window.begin() + static_cast<std::ptrdiff_t>(kMenuRow) * w.width * 3,
                       window.end());
    ASSERT_EQ(client.size(), expected.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < client.size(); ++i) differing += client[i] != expected[i];
    EXPECT_EQ(differing, 0u);
    first_.Kill();
    std::this_thread::sleep_for(200ms);
  }
}

// The shake, both claw attacks and the blood run in the real program as on the runner: the
// window ends showing the same dimmed red scene as the runner's shot.
TEST_F(HotaruWindow, TheShakeAndAttacksEndOnTheRunnersPicture) {
  std::vector<std::string> extra = {"S40.VGR", "HT_VD03.P16", "HT_VD18.P16"};
  Write(dir_ / "src" / "S40.VGR", EffectPicture(0, 255));
  Write(dir_ / "src" / "HT_VD03.P16", Bytes(4410, 0));
  Write(dir_ / "src" / "HT_VD18.P16", Bytes(4410, 0));
  for (int n = 1; n <= 11; ++n) {
    extra.push_back("CLAW" + std::string(n < 10 ? "0" : "") + std::to_string(n) + "W.VGR");
    Write(dir_ / "src" / extra.back(), EffectPicture(n));
  }
  for (int n = 0; n <= 3; ++n) {
    extra.push_back("BLDW" + std::to_string(n) + ".VGR");
    Write(dir_ / "src" / extra.back(), EffectPicture(n + 2));
  }
  const Bytes effects = {0x92, 0x97, 0x99, 0x98};  // quake, claw 1, claw 2, blood
  PackData(Scenario(false, effects), extra);
  const Bytes expected = RunnerShot(15000);
  ASSERT_EQ(expected.size(), 640u * 400u * 3u);

  const XWindow w = StartAndWaitForClick(8, kClickOffset + static_cast<int>(effects.size()));
  ASSERT_NE(w.id, 0u);
  const Bytes window = hotaru_test::WindowPixels(x_.display(), w);
  ASSERT_EQ(window.size(), static_cast<std::size_t>(w.width) * w.height * 3);
  const Bytes client(window.begin() + static_cast<std::ptrdiff_t>(kMenuRow) * w.width * 3,
                     window.end());
  ASSERT_EQ(client.size(), expected.size());
  std::size_t differing = 0;
  for (std::size_t i = 0; i < client.size(); ++i) differing += client[i] != expected[i];
  EXPECT_EQ(differing, 0u);
  // The red scene, dimmed: dark red 8, 0, 0 at 31 of 47 where colours 1–3 are.
  EXPECT_EQ(static_cast<int>(expected[0]), 136 * 31 / 47);
}

TEST_F(HotaruWindow, SizeCommandsFromTheMenuResizeTheWindow) {
  XWindow w = StartAndWaitForClick();
  ASSERT_NE(w.id, 0u);
  // The first bar item opens the sizes; its items follow 20 pixels apart from y = 38:
  // "Full Screen", "320x200", "480x300", "640x400", "800x500".
  Click(w, 40, kMenuRow / 2);
  std::this_thread::sleep_for(300ms);
  Click(w, 50, 38 + 4 * 20);
  std::optional<XWindow> resized = WaitForSize(800, 500 + kMenuRow);
  ASSERT_TRUE(resized) << Log("first");
  EXPECT_TRUE(WaitForTrace("first", " size 800x500 restored", 2s));

  // Alt+S and the keyboard (it starts on the first item): the second item, 320 × 200,
  // where the bar wraps onto two rows and the window grows to keep the client area whole.
  Keys(*resized, "alt+s");
  std::this_thread::sleep_for(300ms);
  Keys(*resized, "Down Return");
  EXPECT_TRUE(WaitForSize(320, 200 + 2 * kMenuRow)) << Log("first");
  EXPECT_TRUE(WaitForTrace("first", " size 320x200 restored", 2s));
  EXPECT_TRUE(first_.Running());
}

// While a drop-down is open the game stands still, as in a desktop menu loop; F10 and Alt
// pressed alone open the first menu.
TEST_F(HotaruWindow, AnOpenMenuHoldsTheGame) {
  PackData(Scenario(true));
  const XWindow w = StartAndWaitForClick();
  ASSERT_NE(w.id, 0u);
  Click(w, 320, kMenuRow + 200);
  ASSERT_TRUE(WaitForTrace("first", " op 0 522 wait 5", 5s)) << Log("first");
  for (const char* opener : {"F10", "alt"}) {
    std::this_thread::sleep_for(500ms);
    Keys(w, opener);
    std::this_thread::sleep_for(1500ms);
    Keys(w, "Escape");
  }
  std::this_thread::sleep_for(500ms);
  ASSERT_TRUE(first_.Running()) << Log("first");

  // The gaps between script instructions: two of well over a second, while the menus were
  // open; the script ran on after each.
  std::vector<long> times;
  for (const std::string& line : hotaru_test::ReadLines(trace("first"))) {
    if (line.find(" op 0 52") != std::string::npos) times.push_back(std::stol(line));
  }
  int long_gaps = 0;
  for (std::size_t i = 1; i < times.size(); ++i) {
    if (times[i] - times[i - 1] > 1200) ++long_gaps;
    EXPECT_LT(times[i] - times[i - 1], 2500) << Log("first");
  }
  EXPECT_EQ(long_gaps, 2) << Log("first");
  ASSERT_FALSE(times.empty());
  EXPECT_GT(times.size(), 40u);
}

TEST_F(HotaruWindow, CloseButtonAsksAndOnlyOkEndsTheProgram) {
  const XWindow w = StartAndWaitForClick();
  ASSERT_NE(w.id, 0u);
  const std::string question = "\"終了します。\\nよろしいですか？\"";
  hotaru_test::SendCloseRequest(x_.display(), w.id);
  ASSERT_TRUE(WaitForBox("first")) << Log("first");
  Keys(w, "Escape");
  EXPECT_TRUE(WaitForTrace("first", " msgbox \"" + kCaption + "\" " + question + " cancel", 5s))
      << Log("first");
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(first_.Running());

  hotaru_test::SendCloseRequest(x_.display(), w.id);
  ASSERT_TRUE(WaitForBox("first", 2)) << Log("first");
  Keys(w, "Return");
  EXPECT_EQ(first_.Wait(10s), std::optional<int>(1)) << Log("first");
  EXPECT_TRUE(WaitForTrace("first", " msgbox \"" + kCaption + "\" " + question + " ok", 1s));
}

TEST_F(HotaruWindow, SecondCopyIsRefusedWhileTheFirstRuns) {
  const XWindow w = StartAndWaitForClick();
  ASSERT_NE(w.id, 0u);
  ASSERT_TRUE(Start(second_, "second"));
  // The refusal has a small window of its own, titled by the caption.
  std::optional<XWindow> box = hotaru_test::WaitForWindow(x_.display(), kCaption, 15s);
  ASSERT_TRUE(box) << Log("second");
  ASSERT_TRUE(WaitForBox("second"));
  Keys(*box, "Return");
  EXPECT_EQ(second_.Wait(10s), std::optional<int>(0)) << Log("second");
  EXPECT_TRUE(
      WaitForTrace("second", " msgbox \"" + kCaption + "\" \"既に実行されています\" ok", 1s));
  EXPECT_TRUE(first_.Running());
}

TEST_F(HotaruWindow, FullScreenCoversTheScreenWithTheBarShownOnlyAtTheTop) {
  XWindow w = StartAndWaitForClick();
  ASSERT_NE(w.id, 0u);
  Click(w, 40, kMenuRow / 2);
  std::this_thread::sleep_for(300ms);
  Click(w, 50, 38);  // "Full Screen"
  std::optional<XWindow> full = WaitForSize(1280, 1024);
  ASSERT_TRUE(full) << Log("first");
  EXPECT_EQ(full->x, 0);
  EXPECT_EQ(full->y, 0);
  EXPECT_TRUE(WaitForTrace("first", " display set width=640 height=480 -> 0", 2s));
  // 640 × 480 scaled by 2 keeps its shape: bands of 32 rows above and below. The bar rows
  // are black while the mouse is over the client area, and drawn while it is at the top.
  auto bar_lit = [&] {
    const Bytes screen = hotaru_test::WindowPixels(x_.display(), *full);
    std::size_t lit = 0;
    for (int y = 32; y < 32 + 2 * kMenuRow; ++y) {
      for (int x = 0; x < 1280; ++x) {
        const std::size_t at =
            (static_cast<std::size_t>(y) * 1280 + static_cast<std::size_t>(x)) * 3;
        lit += screen[at] > 100 && screen[at + 1] > 100 && screen[at + 2] > 100;
      }
    }
    return lit > 1280u * 10u;
  };
  Xdo("mousemove 640 600");
  std::this_thread::sleep_for(400ms);
  EXPECT_FALSE(bar_lit());
  Xdo("mousemove 640 0");
  std::this_thread::sleep_for(400ms);
  EXPECT_TRUE(bar_lit());

  // Back to a window of 640 × 400 from the bar.
  Xdo("mousemove 80 50");
  std::this_thread::sleep_for(100ms);
  Xdo("click 1");
  std::this_thread::sleep_for(400ms);
  Xdo("mousemove 100 " + std::to_string(32 + 2 * (38 + 3 * 20)));
  std::this_thread::sleep_for(100ms);
  Xdo("click 1");
  EXPECT_TRUE(WaitForSize(640, 400 + kMenuRow)) << Log("first");
  EXPECT_TRUE(WaitForTrace("first", " display restore -> 0", 2s));
}

// The player's command line: the game from a folder the ini does not name, in full screen
// from the start; the ini keeps its own folder.
TEST_F(HotaruWindow, AGameFolderAndFullScreenFromTheCommandLine) {
  const std::string ini_text = "[蛍]\nHotaruDir=" + (dir_ / "src").string() + "\n";
  std::ofstream(ini()) << ini_text;
  ASSERT_TRUE(Start(first_, "first", 8, {"--fullscreen", (dir_ / "data").string()}));
  EXPECT_TRUE(WaitForTrace("first", " op 0 " + std::to_string(kClickOffset) + " click", 15s))
      << Log("first");
  EXPECT_TRUE(WaitForTrace("first", " display set width=640 height=480 -> 0", 2s)) << Log("first");
  EXPECT_TRUE(WaitForSize(1280, 1024)) << Log("first");
  std::ifstream in(ini());
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
            ini_text);
}

TEST_F(HotaruWindow, SettingsDialogWritesTheIniFile) {
  const XWindow w = StartAndWaitForClick();
  ASSERT_NE(w.id, 0u);
  Keys(w, "alt+c");
  ASSERT_TRUE(WaitForTrace("first", " dialog open ", 5s)) << Log("first");
  std::this_thread::sleep_for(300ms);
  // ZEN_DIALOG at (18, 18) dialog units from the client origin, 2 pixels a unit at the
  // 16-pixel font, under a 22-pixel title; "音楽演奏" at (9, 10) units.
  Click(w, 36 + 18 + 8, kMenuRow + 36 + 22 + 20 + 9);
  std::this_thread::sleep_for(300ms);
  Keys(w, "Return");
  EXPECT_TRUE(WaitForTrace("first", " dialog close ", 5s)) << Log("first");
  // The profile is written after the dialog closes: read it until it shows the change.
  std::string text;
  const auto until = std::chrono::steady_clock::now() + 5s;
  do {
    std::this_thread::sleep_for(50ms);
    std::ifstream in(ini());
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } while (text.find("Music=OFF") == std::string::npos && std::chrono::steady_clock::now() < until);
  EXPECT_NE(text.find("Music=OFF"), std::string::npos) << text;
  EXPECT_NE(text.find("Pcm=ON"), std::string::npos) << text;
  EXPECT_TRUE(first_.Running());
}

}  // namespace

// F12 writes the game's picture into the pictures folder (~/Pictures when xdg-user-dirs
// names none): at 640 × 400 whatever the window's size, the runner's shot of the same moment
// pixel for pixel, and a second shot beside the first rather than over it.
TEST_F(HotaruWindow, F12SavesTheRunnersPictureOfTheSameMoment) {
  const Bytes expected = RunnerShot(4000);
  ASSERT_EQ(expected.size(), 640u * 400u * 3u);

  XWindow w = StartAndWaitForClick();
  ASSERT_NE(w.id, 0u);
  Keys(w, "alt+s");
  std::this_thread::sleep_for(300ms);
  Keys(w, "Down Down Down Down Return");  // 800 × 500
  const std::optional<XWindow> resized = WaitForSize(800, 500 + kMenuRow);
  ASSERT_TRUE(resized) << Log("first");
  std::this_thread::sleep_for(300ms);
  Keys(*resized, "F12");
  ASSERT_TRUE(WaitForTrace("first", " screenshot ", 10s)) << Log("first");
  Keys(*resized, "F12");
  const auto two_shots = [&] {
    int shots = 0;
    for (const std::string& line : hotaru_test::ReadLines(trace())) {
      shots += line.find(" screenshot ") != std::string::npos;
    }
    return shots == 2;
  };
  for (int i = 0; i < 100 && !two_shots(); ++i) std::this_thread::sleep_for(50ms);
  ASSERT_TRUE(two_shots()) << Log("first");

  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(dir_ / "Pictures")) files.push_back(entry.path());
  ASSERT_EQ(files.size(), 2u);
  for (const fs::path& file : files) {
    EXPECT_EQ(file.filename().string().rfind("hotaru ", 0), 0u) << file;
    // The names hold spaces, which the picture reader's command line does not take.
    const fs::path plain = dir_ / "shot.png";
    fs::copy_file(file, plain, fs::copy_options::overwrite_existing);
    const Bytes pixels = hotaru_test::PngPixels(plain);
    ASSERT_EQ(pixels.size(), expected.size()) << file;
    EXPECT_TRUE(pixels == expected) << file;
  }
  // The game never heard the key: it still waits for its click.
  EXPECT_TRUE(first_.Running());
  Click(*resized, 400, kMenuRow + 250);
  EXPECT_EQ(first_.Wait(10s), std::optional<int>(1)) << Log("first");
}

// A play of the demo recorded with --record (clicks at the click waits, a choice taken with
// an arrow and a click, the close button and its question answered) replays on the runner
// through the same instructions to the same state.
TEST_F(HotaruWindow, ARecordedPlayOfTheDemoReplaysOnTheRunnerToTheSameState) {
  // With Mmv the choice glides the pointer to its first option: the test sees the
  // selector is up.
  std::ofstream(ini()) << "[蛍]\nHotaruDir=" << HOTARU_DEMO_DATA_DIR << "\nMmv=ON\n";
  fs::copy_file(ini(), dir_ / "replay.ini");
  const fs::path recording = dir_ / "play.txt";
  ASSERT_TRUE(Start(first_, "first", 8, {"--record", recording.string()}));
  const std::optional<XWindow> w = hotaru_test::WaitForWindow(x_.display(), kTitle, 15s);
  ASSERT_TRUE(w) << Log("first");
  Xdo("mousemove " + std::to_string(w->x + 320) + " " + std::to_string(w->y + kMenuRow + 300));

  // At a click wait the page stands still and only the cursor (24 × 24) blinks: the last
  // presents repeat one small rectangle. (A wave of text repeats a large one.)
  const auto small_rect = [](const std::string& present) {
    int left = 0, top = 0, right = 0, bottom = 0;
    return std::sscanf(present.c_str(), " present %d %d %d %d", &left, &top, &right, &bottom) ==
               4 &&
           right - left <= 32 && bottom - top <= 32;
  };
  std::size_t seen = 0;  // trace lines already looked at
  const auto next_click_wait = [&](bool selector_wanted = false) -> std::string {
    const auto until = std::chrono::steady_clock::now() + 30s;
    while (std::chrono::steady_clock::now() < until) {
      const std::vector<std::string> lines = hotaru_test::ReadLines(trace());
      std::vector<std::string> presents;
      for (std::size_t i = seen; i < lines.size(); ++i) {
        if (lines[i].find(" op ") != std::string::npos &&
            lines[i].find(" choice ") != std::string::npos) {
          seen = i + 1;
          return "choice";
        }
        if (selector_wanted && lines[i].find(" cursor ") != std::string::npos) {
          std::this_thread::sleep_for(500ms);  // the glide's end
          seen = hotaru_test::ReadLines(trace()).size();
          return "selector";
        }
        const std::size_t at = lines[i].find(" present ");
        if (at != std::string::npos) presents.push_back(lines[i].substr(at));
      }
      const std::size_t n = presents.size();
      if (n >= 3 && presents[n - 1] == presents[n - 2] && presents[n - 1] == presents[n - 3] &&
          small_rect(presents[n - 1])) {
        seen = lines.size();
        return "click";
      }
      std::this_thread::sleep_for(50ms);
    }
    return "";
  };
  int clicks = 0;
  std::string at = next_click_wait();
  while (at == "click") {
    Xdo("click 1");
    ++clicks;
    at = next_click_wait();
  }
  ASSERT_EQ(at, "choice") << clicks << " clicks" << Log("first");
  // The question's page comes first, then the options.
  at = next_click_wait(true);
  while (at == "click") {
    Xdo("click 1");
    at = next_click_wait(true);
  }
  ASSERT_EQ(at, "selector") << Log("first");
  Keys(*w, "Up");  // the last option
  std::this_thread::sleep_for(300ms);
  Xdo("click 1");
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(next_click_wait(), "click") << Log("first");
    Xdo("click 1");
  }
  ASSERT_EQ(next_click_wait(), "click") << Log("first");
  hotaru_test::SendCloseRequest(x_.display(), w->id);
  ASSERT_TRUE(WaitForBox("first")) << Log("first");
  Keys(*w, "Return");
  ASSERT_EQ(first_.Wait(10s), std::optional<int>(1)) << Log("first");

  const fs::path replay_trace = dir_ / "replay.trace";
  const fs::path replay_dump = dir_ / "replay.json";
  std::string out;
  ASSERT_EQ(
      hotaru_test::RunProgram(HOTARU_HEADLESS_PATH,
                              {"--ini", (dir_ / "replay.ini").string(), "--new-game", "--screen",
                               "1280x1024", "--input", recording.string(), "--trace-ops", "--trace",
                               replay_trace.string(), "--dump-at-exit", replay_dump.string()},
                              {}, &out),
      1)
      << out;
  // The same instructions in the same order, the choice's branch among them.
  const auto ops = [](const fs::path& path) {
    std::vector<std::string> found;
    for (const std::string& line : hotaru_test::ReadLines(path)) {
      const std::size_t at = line.find(" op ");
      if (at != std::string::npos) found.push_back(line.substr(at));
    }
    return found;
  };
  const std::vector<std::string> played = ops(trace());
  EXPECT_GT(played.size(), 20u);
  EXPECT_EQ(ops(replay_trace), played);
  const auto read = [](const fs::path& path) {
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  };
  const std::string dump = read(dir_ / "first.json");
  ASSERT_FALSE(dump.empty());
  EXPECT_EQ(read(replay_dump), dump);
}

// The player's choice of how full screen looks, on a 1500 × 1000 desktop: chosen from our
// menu in a window, kept in the ini file, in force after a restart, and changed again in
// full screen. Whole-number scaling shows each picture pixel as a 2 × 2 block, centred, black
// around; fit and stretch put the picture where they should.
class HotaruScaling : public HotaruWindow {
 protected:
  HotaruScaling() {
    screen_width_ = 1500;
    screen_height_ = 1000;
  }

  // How far the screen differs from the picture `expected` (640 × 400) shown in `placed`, each
  // screen pixel showing the picture pixel under it, and black outside.
  static std::size_t Differing(const Bytes& screen, const Bytes& expected, int x0, int y0, int w,
                               int h) {
    std::size_t differing = 0;
    for (int y = 0; y < 1000; ++y) {
      for (int x = 0; x < 1500; ++x) {
        const std::uint8_t* got = &screen[(static_cast<std::size_t>(y) * 1500 + x) * 3];
        const bool inside = x >= x0 && x < x0 + w && y >= y0 && y < y0 + h;
        std::uint8_t black[3] = {0, 0, 0};
        const std::uint8_t* want = black;
        if (inside) {
          const std::size_t px = static_cast<std::size_t>((x - x0) * 640 / w);
          const std::size_t py = static_cast<std::size_t>((y - y0) * 400 / h);
          want = &expected[(py * 640 + px) * 3];
        }
        differing += got[0] != want[0] || got[1] != want[1] || got[2] != want[2];
      }
    }
    return differing;
  }

  std::string IniText() const {
    std::ifstream in(ini());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  Bytes Screen(const XWindow& full) {
    // The pointer moving over the picture: the bar is painted over (it stays drawn after a
    // menu until the pointer moves) and the picture shows under it.
    Xdo("mousemove 700 500");
    std::this_thread::sleep_for(100ms);
    Xdo("mousemove 750 500");
    std::this_thread::sleep_for(400ms);
    return hotaru_test::WindowPixels(x_.display(), full);
  }
};

TEST_F(HotaruScaling, TheChoiceShapesFullScreenAndSurvivesARestart) {
  const Bytes expected = RunnerShot(4000);
  ASSERT_EQ(expected.size(), 640u * 400u * 3u);

  // Our menu, the last of the bar: its second item is whole-number scaling.
  const XWindow w = StartAndWaitForClick();
  ASSERT_NE(w.id, 0u);
  Keys(w, "alt+v");
  std::this_thread::sleep_for(300ms);
  Keys(w, "Down Return");
  const auto until = std::chrono::steady_clock::now() + 5s;
  while (IniText().find("Scaling=whole") == std::string::npos &&
         std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(50ms);
  }
  const std::string text = IniText();
  EXPECT_NE(text.find("[hotaru]"), std::string::npos) << text;
  EXPECT_NE(text.find("Scaling=whole"), std::string::npos) << text;
  EXPECT_NE(text.find("Filter=nearest"), std::string::npos) << text;
  EXPECT_NE(text.find("HotaruDir=" + (dir_ / "data").string()), std::string::npos) << text;
  first_.Kill();
  std::this_thread::sleep_for(200ms);

  const fs::path recording = dir_ / "play.txt";
  ASSERT_TRUE(Start(first_, "again", 8, {"--fullscreen", "--record", recording.string()}));
  ASSERT_TRUE(WaitForTrace("again", " op 0 " + std::to_string(kClickOffset) + " click", 15s))
      << Log("again");
  const std::optional<XWindow> full = WaitForSize(1500, 1000);
  ASSERT_TRUE(full) << Log("again");
  // Twice the picture, 1280 × 800, centred.
  EXPECT_EQ(Differing(Screen(*full), expected, 110, 100, 1280, 800), 0u);
  // F12 saves the picture itself, not its enlargement.
  Keys(*full, "F12");
  ASSERT_TRUE(WaitForTrace("again", " screenshot ", 10s)) << Log("again");
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(dir_ / "Pictures")) files.push_back(entry.path());
  ASSERT_EQ(files.size(), 1u);
  const fs::path plain = dir_ / "shot.png";
  fs::copy_file(files[0], plain, fs::copy_options::overwrite_existing);
  EXPECT_TRUE(hotaru_test::PngPixels(plain) == expected);

  // Fit: the whole width, 937 rows; stretch: the whole screen.
  struct Step {
    const char* keys;
    int x, y, w, h;
  } steps[] = {{"Return", 0, 31, 1500, 937}, {"Down Down Return", 0, 0, 1500, 1000}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.keys);
    Keys(*full, "alt+v");
    std::this_thread::sleep_for(300ms);
    Keys(*full, s.keys);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(Differing(Screen(*full), expected, s.x, s.y, s.w, s.h), 0u);
  }
  EXPECT_NE(IniText().find("Scaling=stretch"), std::string::npos) << IniText();
  EXPECT_TRUE(first_.Running());

  // Back to whole-number scaling: a click on the band left of the picture is a click at its
  // left edge, and the recording says so in the game's own coordinates.
  Keys(*full, "alt+v");
  std::this_thread::sleep_for(300ms);
  Keys(*full, "Down Return");
  std::this_thread::sleep_for(300ms);
  Xdo("mousemove 50 300");
  std::this_thread::sleep_for(100ms);
  Xdo("click 1");
  EXPECT_EQ(first_.Wait(10s), std::optional<int>(1)) << Log("again");
  bool clicked = false;
  for (const std::string& line : hotaru_test::ReadLines(recording)) {
    clicked = clicked || line.find(" click 0 100") != std::string::npos;
  }
  EXPECT_TRUE(clicked) << Log("again");
}
