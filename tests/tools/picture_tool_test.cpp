// hotaru-tool picture and block, run as a person runs them.
#include <filesystem>
#include <string>
#include <vector>

#include "authoring/block_encoder.h"
#include "authoring/png_io.h"
#include "platform/common/png_writer.h"
#include "support/platform_fixture.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;
using authoring::IndexedImage;
using authoring::Rgb8;
using Bytes = std::vector<std::uint8_t>;

class PictureToolTest : public hotaru_test::PlatformTest {
 protected:
  // Exit status; stdout and stderr together in `output`.
  int Tool(const std::vector<std::string>& args, std::string* output = nullptr) {
    std::string ignored;
    return hotaru_test::RunProgram(HOTARU_TOOL_PATH, args, dir(), output ? output : &ignored);
  }

  std::string Path(const std::string& name) const { return (dir() / name).string(); }

  IndexedImage ReadPngFile(const std::string& name) {
    IndexedImage image;
    std::vector<std::string> warnings;
    EXPECT_EQ(authoring::ReadPng(dir() / name, &image, &warnings), "");
    return image;
  }

  // A palette of 4-bit colours (v × 17), colour 15 white as the game shows it.
  static std::vector<Rgb8> GamePalette() {
    std::vector<Rgb8> palette;
    for (int k = 0; k < 15; ++k)
      palette.push_back(Rgb8{static_cast<std::uint8_t>(k * 17),
                             static_cast<std::uint8_t>((15 - k) * 17),
                             static_cast<std::uint8_t>((k * 7 % 16) * 17)});
    palette.push_back(Rgb8{255, 255, 255});
    return palette;
  }

  static IndexedImage Indexed(int width, int height, std::vector<Rgb8> palette,
                              std::uint8_t (*pixel)(int x, int y)) {
    IndexedImage image;
    image.width = width;
    image.height = height;
    image.palette = std::move(palette);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) image.pixels.push_back(pixel(x, y));
    return image;
  }

  void WriteRgb(const std::string& name, int width, int height, const std::vector<Rgb8>& colours,
                int (*which)(int x, int y)) {
    Bytes rgb;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const Rgb8& c = colours[static_cast<std::size_t>(which(x, y))];
        rgb.insert(rgb.end(), {c.r, c.g, c.b});
      }
    }
    ASSERT_TRUE(platform::WritePngRgb(Path(name), width, height, rgb));
  }
};

TEST_F(PictureToolTest, DecodeOfEncodeGivesBackPixelsAndPalette) {
  const IndexedImage screen = Indexed(640, 400, GamePalette(), [](int x, int y) {
    return static_cast<std::uint8_t>(((x / 3) ^ (y / 5)) % 16);
  });
  ASSERT_EQ(authoring::WriteIndexedPng(dir() / "in.png", screen), "");
  for (const char* order : {"columns", "rows"}) {
    SCOPED_TRACE(order);
    std::string output;
    ASSERT_EQ(
        Tool({"picture", "encode", Path("in.png"), Path("S01.VGR"), "--order", order}, &output), 0)
        << output;
    ASSERT_EQ(Tool({"picture", "decode", Path("S01.VGR"), Path("out.png")}, &output), 0) << output;
    const IndexedImage decoded = ReadPngFile("out.png");
    EXPECT_EQ(decoded.width, 640);
    EXPECT_EQ(decoded.height, 400);
    EXPECT_TRUE(decoded.pixels == screen.pixels);
    EXPECT_EQ(decoded.palette, screen.palette);

    ASSERT_EQ(Tool({"picture", "info", Path("S01.VGR")}, &output), 0) << output;
    EXPECT_NE(output.find("left 0 top 0 right 79 bottom 399: at 0,0, 640 x 400 pixels"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find(std::string("(") + order + ")"), std::string::npos) << output;
    EXPECT_NE(output.find("unpacked     128000 bytes"), std::string::npos) << output;
    EXPECT_NE(output.find("transparent  255 (none)"), std::string::npos) << output;
  }
}

TEST_F(PictureToolTest, SmallRgbPictureIsDrawnOverTheBaseWithItsTransparentColour) {
  // Three colours in order of first appearance: black (0), red (1), blue (2).
  WriteRgb("chara.png", 64, 32, {{0, 0, 0}, {255, 0, 0}, {0, 0, 170}},
           [](int x, int y) { return (x + y) % 5 == 0 ? 0 : 1 + (x / 16 + y / 8) % 2; });
  const IndexedImage base =
      Indexed(640, 400, GamePalette(), [](int, int) { return std::uint8_t{5}; });
  ASSERT_EQ(authoring::WriteIndexedPng(dir() / "base.png", base), "");

  std::string output;
  ASSERT_EQ(Tool({"picture", "encode", Path("chara.png"), Path("C01.VGR"), "--at", "64,40",
                  "--transparent", "0"},
                 &output),
            0)
      << output;
  ASSERT_EQ(Tool({"picture", "decode", Path("C01.VGR"), Path("out.png"), "--over", Path("base.png"),
                  "--at", "8,0"},
                 &output),
            0)
      << output;
  const IndexedImage out = ReadPngFile("out.png");
  ASSERT_EQ(out.pixels.size(), 640u * 400u);
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 640; ++x) {
      std::uint8_t want = 5;
      const int px = x - 72, py = y - 40;
      if (px >= 0 && px < 64 && py >= 0 && py < 32 && (px + py) % 5 != 0)
        want = static_cast<std::uint8_t>(1 + (px / 16 + py / 8) % 2);
      ASSERT_EQ(out.pixels[static_cast<std::size_t>(y) * 640 + static_cast<std::size_t>(x)], want)
          << x << "," << y;
    }
  }
  ASSERT_EQ(out.palette.size(), 16u);
  EXPECT_EQ(out.palette[0], (Rgb8{0, 0, 0}));
  EXPECT_EQ(out.palette[1], (Rgb8{255, 0, 0}));
  EXPECT_EQ(out.palette[2], (Rgb8{0, 0, 170}));
  EXPECT_EQ(out.palette[15], (Rgb8{255, 255, 255}));

  ASSERT_EQ(Tool({"picture", "info", Path("C01.VGR")}, &output), 0);
  EXPECT_NE(output.find("left 8 top 40 right 15 bottom 71: at 64,40, 64 x 32 pixels"),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("transparent  0\n"), std::string::npos) << output;
}

TEST_F(PictureToolTest, ColoursOutsideTheSixteenLevelsAreRoundedWithAWarning) {
  WriteRgb("odd.png", 8, 2, {{100, 0, 0}, {0, 34, 255}}, [](int x, int) { return x % 2; });
  std::string output;
  ASSERT_EQ(Tool({"picture", "encode", Path("odd.png"), Path("ODD.VGR")}, &output), 0) << output;
  EXPECT_NE(output.find("colour 0 #640000 has no 4-bit form; it becomes #660000"),
            std::string::npos)
      << output;
  EXPECT_EQ(output.find("colour 1"), std::string::npos) << output;
  ASSERT_EQ(Tool({"picture", "decode", Path("ODD.VGR"), Path("out.png")}, &output), 0) << output;
  const IndexedImage out = ReadPngFile("out.png");
  EXPECT_EQ(out.palette[0], (Rgb8{0x66, 0, 0}));
  EXPECT_EQ(out.palette[1], (Rgb8{0, 34, 255}));
}

TEST_F(PictureToolTest, RefusalsSayWhy) {
  ASSERT_EQ(authoring::WriteIndexedPng(
                dir() / "narrow.png",
                Indexed(12, 4, GamePalette(), [](int, int) { return std::uint8_t{1}; })),
            "");
  WriteRgb(
      "many.png", 17, 1,
      [] {
        std::vector<Rgb8> colours;
        for (int k = 0; k < 17; ++k)
          colours.push_back(Rgb8{static_cast<std::uint8_t>(k * 15), 0, 0});
        return colours;
      }(),
      [](int x, int) { return x; });
  ASSERT_EQ(authoring::WriteIndexedPng(
                dir() / "small.png",
                Indexed(16, 8, GamePalette(), [](int, int) { return std::uint8_t{1}; })),
            "");
  ASSERT_EQ(Tool({"picture", "encode", Path("small.png"), Path("GOOD.VGR")}), 0);
  Bytes bad_magic = ReadBytes(dir() / "GOOD.VGR");
  bad_magic[0] = 'X';
  WriteBytes(dir() / "MAGIC.VGR", bad_magic);
  Bytes version_2 = ReadBytes(dir() / "GOOD.VGR");
  version_2[40] = 2;
  WriteBytes(dir() / "V2.VGR", version_2);
  WriteBytes(dir() / "SHORT.VGR", Bytes(20, 0));

  struct Case {
    std::vector<std::string> args;
    int status;
    const char* says;
  };
  const Case cases[] = {
      {{"picture", "encode", Path("narrow.png"), Path("x.vgr")},
       1,
       "must be a positive multiple of 8"},
      {{"picture", "encode", Path("many.png"), Path("x.vgr")}, 1, "more than 16 colours"},
      {{"picture", "encode", Path("small.png"), Path("x.vgr"), "--at", "4,0"}, 1, "multiple of 8"},
      {{"picture", "encode", Path("small.png"), Path("x.vgr"), "--at", "632,0"},
       1,
       "outside the screen"},
      {{"picture", "encode", Path("small.png"), Path("x.vgr"), "--order", "diagonal"}, 2, "usage:"},
      {{"picture", "encode", Path("small.png"), Path("x.vgr"), "--transparent", "16"},
       2,
       "0 to 15"},
      {{"picture", "encode", Path("missing.png"), Path("x.vgr")}, 1, "missing.png"},
      {{"picture", "decode", Path("MAGIC.VGR"), Path("x.png")}, 1, "データ異常です"},
      {{"picture", "decode", Path("V2.VGR"), Path("x.png")}, 1, "非対応のバージョンです"},
      {{"picture", "decode", Path("SHORT.VGR"), Path("x.png")}, 1, "too short"},
      {{"picture", "decode", Path("GOOD.VGR"), Path("x.png"), "--over", Path("small.png")},
       1,
       "640 x 400"},
      {{"picture", "decode", Path("GOOD.VGR")}, 2, "usage:"},
      {{"picture", "decode", Path("GOOD.VGR"), Path("x.png"), "--at", "1"}, 2, "X,Y"},
      {{"picture", "info", Path("MAGIC.VGR")}, 1, "not a picture file"},
      {{"picture", "shrink"}, 2, "unknown subcommand"},
  };
  for (const Case& c : cases) {
    std::string output;
    EXPECT_EQ(Tool(c.args, &output), c.status) << c.args[1] << " " << c.args[2] << ": " << output;
    EXPECT_NE(output.find(c.says), std::string::npos) << output;
  }
  EXPECT_FALSE(fs::exists(dir() / "x.vgr"));
  EXPECT_FALSE(fs::exists(dir() / "x.png"));
}

TEST_F(PictureToolTest, BlockPackAndUnpack) {
  Bytes data;
  for (int i = 0; i < 20000; ++i) data.push_back(static_cast<std::uint8_t>((i * i) >> 7));
  WriteBytes(dir() / "event.bin", data);
  std::string output;
  ASSERT_EQ(Tool({"block", "pack", Path("event.bin"), Path("event.blk")}, &output), 0) << output;
  EXPECT_EQ(ReadBytes(dir() / "event.blk"), authoring::PackBlock(data));
  ASSERT_EQ(Tool({"block", "unpack", Path("event.blk"), Path("event.out")}, &output), 0) << output;
  EXPECT_TRUE(ReadBytes(dir() / "event.out") == data);

  // Damage the game would not notice is refused here.
  Bytes packed = ReadBytes(dir() / "event.blk");
  WriteBytes(dir() / "cut.blk", Bytes(packed.begin(), packed.end() - 10));
  Bytes huge = packed;
  huge[3] = 0x10;
  WriteBytes(dir() / "huge.blk", huge);
  Bytes negative = packed;
  negative[3] = 0x80;
  WriteBytes(dir() / "negative.blk", negative);
  struct Case {
    const char* file;
    const char* says;
  };
  for (const Case& c : {Case{"cut.blk", "the stream ends after"}, Case{"huge.blk", "too short for"},
                        Case{"negative.blk", "negative"}}) {
    EXPECT_EQ(Tool({"block", "unpack", Path(c.file), Path("x.out")}, &output), 1) << c.file;
    EXPECT_NE(output.find(c.says), std::string::npos) << output;
  }
  EXPECT_FALSE(fs::exists(dir() / "x.out"));
  EXPECT_EQ(Tool({"block", "unpack", Path("event.blk")}, &output), 2);
  EXPECT_NE(output.find("usage:"), std::string::npos);
}

}  // namespace
