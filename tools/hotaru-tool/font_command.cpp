// hotaru-tool font: build the kanji font from the charset table, and look at a font.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/charset.h"
#include "authoring/font_builder.h"
#include "authoring/font_sheet.h"
#include "authoring/glyph_bitmap.h"
#include "authoring/pack_writer.h"
#include "authoring/png_io.h"
#include "command_support.h"
#include "commands.h"

namespace tool {
namespace {

constexpr const char* kUsage =
    "usage: hotaru-tool font build --charset TBL [--ttf FONT] [--threshold N] OUT.KNJ\n"
    "       hotaru-tool font show FONT.KNJ [N|N-M...] [--scale S] [--columns C] OUT.png\n"
    "\n"
    "  build  draws every character of the charset table (lines NUMBER=CHARACTER) from the\n"
    "         TrueType font into a 24 x 24 glyph of one bit per pixel; glyph n lies at byte\n"
    "         (n - 1) x 72, and glyphs the table does not name are blank. FONT defaults to\n"
    "         the Japanese font that fontconfig finds; N (1-255, default 112) is the\n"
    "         antialiased coverage from which a pixel is ink\n"
    "  show   a PNG sheet of the glyphs (all, or the numbers and ranges given), each with\n"
    "         its number; S scales it (1-16), C cells per row (default 16)\n";
const CommandText kCommand{"font", kUsage};

bool ParseInt(std::string_view text, int* value) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return error == std::errc() && end == text.data() + text.size();
}

int Build(int argc, char** argv) {
  std::string charset_path, ttf_path, out_path;
  authoring::FontBuildOptions options;
  for (int i = 0; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--charset" || arg == "--ttf" || arg == "--threshold") {
      if (i + 1 >= argc) return kCommand.UsageError(std::string(arg) + " needs a value");
      const char* value = argv[++i];
      if (arg == "--charset") charset_path = value;
      if (arg == "--ttf") ttf_path = value;
      if (arg == "--threshold" && (!ParseInt(value, &options.threshold) || options.threshold < 1 ||
                                   options.threshold > 255))
        return kCommand.UsageError("--threshold takes a number from 1 to 255");
    } else if (arg.starts_with("--") || !out_path.empty()) {
      return kCommand.UsageError("unexpected argument '" + std::string(arg) + "'");
    } else {
      out_path = arg;
    }
  }
  if (charset_path.empty()) return kCommand.UsageError("build needs --charset TBL");
  if (out_path.empty()) return kCommand.UsageError("build needs OUT.KNJ");

  authoring::Charset charset;
  if (std::string error = authoring::Charset::Read(charset_path, &charset); !error.empty())
    return kCommand.Failure(error);
  std::filesystem::path ttf = ttf_path;
  if (ttf.empty()) {
    if (std::string error = authoring::FindJapaneseFont(&ttf); !error.empty())
      return kCommand.Failure(error);
  }
  std::vector<std::uint8_t> font;
  std::vector<std::string> warnings;
  if (std::string error = authoring::BuildFont(charset, ttf, &font, &warnings, options);
      !error.empty())
    return kCommand.Failure(error);
  for (const auto& warning : warnings)
    std::fprintf(stderr, "hotaru-tool font: warning: %s\n", warning.c_str());
  if (std::string error = authoring::WriteWholeFile(out_path, font); !error.empty())
    return kCommand.Failure(error);
  return 0;
}

// "N" or "N-M" into glyph numbers, checked against the font's glyph count.
std::string AddGlyphs(std::string_view range, std::size_t glyph_count,
                      std::vector<std::uint16_t>* glyphs) {
  const std::size_t dash = range.find('-');
  int first = 0, last = 0;
  if (!ParseInt(range.substr(0, dash), &first) ||
      !ParseInt(dash == std::string_view::npos ? range : range.substr(dash + 1), &last) ||
      first < 0 || last < first)
    return "'" + std::string(range) + "' is not a glyph number or a range N-M";
  if (last >= static_cast<int>(authoring::kGlyphNumberLimit))
    return "glyph " + std::to_string(last) + " cannot be named: glyph numbers are below 8192";
  if (static_cast<std::size_t>(last) > glyph_count)
    return "glyph " + std::to_string(last) + " is past the font's last glyph, " +
           std::to_string(glyph_count);
  for (int g = first; g <= last; ++g) glyphs->push_back(static_cast<std::uint16_t>(g));
  return "";
}

int Show(int argc, char** argv) {
  std::vector<std::string_view> positional;
  authoring::FontSheetOptions options;
  for (int i = 0; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--scale" || arg == "--columns") {
      int value = 0;
      if (i + 1 >= argc || !ParseInt(argv[i + 1], &value) || value < 1 ||
          value > (arg == "--scale" ? 16 : 1024))
        return kCommand.UsageError(std::string(arg) +
                                   (arg == "--scale" ? " takes 1 to 16" : " takes 1 to 1024"));
      (arg == "--scale" ? options.scale : options.columns) = value;
      ++i;
    } else if (arg.starts_with("--")) {
      return kCommand.UsageError("unexpected option '" + std::string(arg) + "'");
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() < 2) return kCommand.UsageError("show takes FONT.KNJ [N...] OUT.png");

  std::vector<std::uint8_t> font;
  if (std::string error = authoring::ReadWholeFile(std::string(positional.front()), &font);
      !error.empty())
    return kCommand.Failure(error);
  const std::size_t count = authoring::FontGlyphCount(font);
  if (font.size() % authoring::kGlyphBytes != 0)
    std::fprintf(stderr,
                 "hotaru-tool font: warning: %zu bytes after the last whole glyph are ignored\n",
                 font.size() % authoring::kGlyphBytes);
  std::vector<std::uint16_t> glyphs;
  if (positional.size() == 2) {
    if (count == 0) return kCommand.Failure("the font has no glyph");
    // Numbers past 8191 cannot occur in text; a longer file shows its first 8191 glyphs.
    const std::size_t shown = std::min<std::size_t>(count, authoring::kGlyphNumberLimit - 1);
    if (std::string error = AddGlyphs("1-" + std::to_string(shown), count, &glyphs); !error.empty())
      return kCommand.Failure(error);
  }
  for (std::size_t i = 1; i + 1 < positional.size(); ++i) {
    if (std::string error = AddGlyphs(positional[i], count, &glyphs); !error.empty())
      return kCommand.Failure(error);
  }
  const authoring::IndexedImage sheet = authoring::DrawFontSheet(font, glyphs, options);
  if (static_cast<std::uint32_t>(std::max(sheet.width, sheet.height)) > authoring::kMaxPngSide)
    return kCommand.Failure("the sheet would be " + std::to_string(sheet.width) + " x " +
                            std::to_string(sheet.height) +
                            " pixels: show fewer glyphs, other columns or a smaller scale");
  if (std::string error = authoring::WriteIndexedPng(std::string(positional.back()), sheet);
      !error.empty())
    return kCommand.Failure(error);
  return 0;
}

}  // namespace

int FontCommand(int argc, char** argv) {
  if (kCommand.HelpAsked(argc, argv)) return 0;
  if (argc < 1) return kCommand.UsageError("missing subcommand");
  const std::string_view action = argv[0];
  if (action == "build") return Build(argc - 1, argv + 1);
  if (action == "show") return Show(argc - 1, argv + 1);
  return kCommand.UsageError("unknown subcommand '" + std::string(action) + "'");
}

}  // namespace tool
