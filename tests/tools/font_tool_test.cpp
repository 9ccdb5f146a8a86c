// hotaru-tool font, run as a person runs it: build a font from a charset table, then look
// at it.
#include <filesystem>
#include <string>
#include <vector>

#include "authoring/font_builder.h"
#include "authoring/font_sheet.h"
#include "authoring/glyph_bitmap.h"
#include "authoring/png_io.h"
#include "support/platform_fixture.h"
#include "support/run_program.h"

namespace {

using authoring::IndexedImage;

class FontToolTest : public hotaru_test::PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    ASSERT_EQ(authoring::FindJapaneseFont(&ttf_), "") << "scripts/install-deps.sh installs one";
  }

  int Tool(const std::vector<std::string>& args, std::string* output = nullptr) {
    std::string ignored;
    std::vector<std::string> all = {"font"};
    all.insert(all.end(), args.begin(), args.end());
    return hotaru_test::RunProgram(HOTARU_TOOL_PATH, all, dir(), output ? output : &ignored);
  }
  std::string Path(const std::string& name) const { return (dir() / name).string(); }

  std::filesystem::path ttf_;
};

TEST_F(FontToolTest, BuildsAFontAndShowsItsGlyphsWithTheirNumbers) {
  WriteText(dir() / "small.tbl", "# a few glyphs\n2=Ａ\n4=蛍\n5=－\n");
  ASSERT_EQ(Tool({"build", "--charset", Path("small.tbl"), "--ttf", ttf_.string(), Path("F.KNJ")}),
            0);
  const std::vector<std::uint8_t> font = ReadBytes(dir() / "F.KNJ");
  ASSERT_EQ(font.size(), 5 * authoring::kGlyphBytes);
  EXPECT_EQ(authoring::FontGlyph(font, 3), authoring::GlyphPixels{});

  // Without --ttf the tool takes fontconfig's Japanese font, the same one.
  ASSERT_EQ(Tool({"build", "--charset", Path("small.tbl"), Path("G.KNJ")}), 0);
  EXPECT_EQ(ReadBytes(dir() / "G.KNJ"), font);

  // Glyphs 4 and 5, and the blank 3: each cell shows the glyph's pixels exactly.
  ASSERT_EQ(Tool({"show", Path("F.KNJ"), "4-5", "3", "--columns", "2", Path("sheet.png")}), 0);
  IndexedImage sheet;
  std::vector<std::string> warnings;
  ASSERT_EQ(authoring::ReadPng(dir() / "sheet.png", &sheet, &warnings), "");
  const authoring::FontSheetOptions layout{2, 1};
  const IndexedImage expected =
      authoring::DrawFontSheet(font, std::vector<std::uint16_t>{4, 5, 3}, layout);
  ASSERT_EQ(sheet.width, expected.width);
  ASSERT_EQ(sheet.height, expected.height);
  const std::uint16_t shown[] = {4, 5, 3};
  for (int i = 0; i < 3; ++i) {
    const authoring::SheetPoint cell = authoring::FontSheetCellOrigin(i, layout);
    const authoring::GlyphPixels pixels = authoring::FontGlyph(font, shown[i]);
    int ink = 0;
    for (int y = 0; y < authoring::kGlyphSide; ++y) {
      for (int x = 0; x < authoring::kGlyphSide; ++x) {
        const std::uint8_t index =
            sheet.pixels[static_cast<std::size_t>((cell.y + y) * sheet.width + cell.x + x)];
        const bool glyph_ink = pixels[static_cast<std::size_t>(y * authoring::kGlyphSide + x)] != 0;
        EXPECT_EQ(index, glyph_ink ? 1 : 2) << "glyph " << shown[i] << " at " << x << "," << y;
        ink += glyph_ink;
      }
    }
    EXPECT_EQ(ink > 0, shown[i] != 3) << shown[i];
    // The number above the cell is drawn in the number colour.
    bool number = false;
    for (int y = cell.y - 7; y < cell.y; ++y)
      for (int x = cell.x; x < cell.x + 8; ++x)
        number = number || sheet.pixels[static_cast<std::size_t>(y * sheet.width + x)] == 3;
    EXPECT_TRUE(number) << shown[i];
  }

  // All glyphs when none are named, scaled.
  ASSERT_EQ(Tool({"show", Path("F.KNJ"), "--scale", "2", Path("all.png")}), 0);
  ASSERT_EQ(authoring::ReadPng(dir() / "all.png", &sheet, &warnings), "");
  const IndexedImage all =
      authoring::DrawFontSheet(font, std::vector<std::uint16_t>{1, 2, 3, 4, 5}, {16, 2});
  EXPECT_EQ(sheet.width, all.width);
  EXPECT_EQ(sheet.pixels, all.pixels);
}

TEST_F(FontToolTest, ReportsWrongUseAndBadInput) {
  WriteText(dir() / "bad.tbl", "1=あ\n1=い\n");
  WriteText(dir() / "good.tbl", "1=あ\n");
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {{"build", Path("X.KNJ")}, 2, "build needs --charset TBL"},
      {{"build", "--charset", Path("good.tbl")}, 2, "build needs OUT.KNJ"},
      {{"build", "--charset", Path("good.tbl"), "--threshold", "0", Path("X.KNJ")},
       2,
       "--threshold takes a number from 1 to 255"},
      {{"build", "--charset", Path("bad.tbl"), Path("X.KNJ")},
       1,
       "bad.tbl:2: glyph 1 is given twice (first on line 1)"},
      {{"build", "--charset", Path("good.tbl"), "--ttf", Path("none.ttf"), Path("X.KNJ")},
       1,
       "cannot open the font"},
      {{"show", Path("X.KNJ")}, 2, "show takes FONT.KNJ [N...] OUT.png"},
      {{"frob"}, 2, "unknown subcommand 'frob'"},
  };
  for (const auto& c : cases) {
    std::string output;
    EXPECT_EQ(Tool(c.args, &output), c.status) << output;
    EXPECT_NE(output.find(c.message), std::string::npos) << output;
  }
  EXPECT_FALSE(std::filesystem::exists(dir() / "X.KNJ"));

  ASSERT_EQ(Tool({"build", "--charset", Path("good.tbl"), Path("F.KNJ")}), 0);
  std::string output;
  EXPECT_EQ(Tool({"show", Path("F.KNJ"), "1-2", Path("s.png")}, &output), 1);
  EXPECT_NE(output.find("glyph 2 is past the font's last glyph, 1"), std::string::npos) << output;
  EXPECT_EQ(Tool({"show", Path("F.KNJ"), "x", Path("s.png")}, &output), 1);
  EXPECT_NE(output.find("'x' is not a glyph number or a range N-M"), std::string::npos) << output;
}

}  // namespace
