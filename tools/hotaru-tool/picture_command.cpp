// hotaru-tool picture: picture files (.VGR) to and from PNG, and their header.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/pack_writer.h"
#include "authoring/picture_file.h"
#include "authoring/png_io.h"
#include "command_support.h"
#include "commands.h"
#include "core/memory_blocks.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "harness/game_harness.h"
#include "platform/backend.h"
#include "resources/picture_decoder.h"

namespace tool {
namespace {

constexpr const char* kUsage =
    "usage: hotaru-tool picture decode FILE OUT.png [--over BASE.png] [--at X,Y]\n"
    "       hotaru-tool picture encode IN.png OUT [--order columns|rows] [--transparent N]\n"
    "                                             [--at X,Y]\n"
    "       hotaru-tool picture info FILE\n"
    "\n"
    "  decode  draws the picture file the way the game does into a 640 x 400 screen filled\n"
    "          with colour 0, or holding BASE.png's colour indexes (640 x 400, at most 16\n"
    "          colours), moved by X,Y (default 0,0), and writes the screen as an 8-bit\n"
    "          palette PNG with the colours the game then shows (colour 15 is always white)\n"
    "  encode  writes the whole PNG (at most 16 colours; a palette PNG keeps its indexes)\n"
    "          as a picture file whose top-left corner is at X,Y on the screen (X a\n"
    "          multiple of 8; default 0,0); the width must be a multiple of 8. Colour\n"
    "          channels are rounded to the 16 levels the game has. --order sets the pixel\n"
    "          order (default columns); --transparent N makes colour N (0 to 15)\n"
    "          transparent (default none)\n"
    "  info    prints the header: magic, rectangle, pixel order, transparent colour,\n"
    "          unpacked size and palette\n";
const CommandText kCommand{"picture", kUsage};

// Far more than any picture needs (a whole screen packs to about 150 KB at worst); the
// file is copied into one memory block.
constexpr std::size_t kMaxPictureFileSize = 64 * 1024 * 1024;

void Warn(const std::string& what) {
  std::fprintf(stderr, "hotaru-tool picture: warning: %s\n", what.c_str());
}

// Positional arguments and --name VALUE options, in any order.
struct Arguments {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> options;
};

// "" on success, else the usage error.
std::string SplitArguments(int argc, char** argv, const std::vector<std::string_view>& known,
                           Arguments* out) {
  for (int i = 0; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg.size() > 2 && arg.substr(0, 2) == "--") {
      bool is_known = false;
      for (std::string_view k : known) is_known = is_known || k == arg;
      if (!is_known) return "unknown option '" + std::string(arg) + "'";
      if (i + 1 >= argc) return std::string(arg) + " needs a value";
      for (const auto& [name, value] : out->options)
        if (name == arg) return std::string(arg) + " given twice";
      out->options.emplace_back(std::string(arg), argv[++i]);
    } else {
      out->positional.emplace_back(arg);
    }
  }
  return "";
}

const std::string* Option(const Arguments& args, std::string_view name) {
  for (const auto& [n, value] : args.options)
    if (n == name) return &value;
  return nullptr;
}

bool ParseInt(const std::string& text, long min, long max, int* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < min || v > max) return false;
  *out = static_cast<int>(v);
  return true;
}

bool ParsePoint(const std::string& text, long min, long max, int* x, int* y) {
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos) return false;
  return ParseInt(text.substr(0, comma), min, max, x) &&
         ParseInt(text.substr(comma + 1), min, max, y);
}

std::string Hex(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", r, g, b);
  return text;
}

int Decode(int argc, char** argv) {
  Arguments args;
  if (std::string error = SplitArguments(argc, argv, {"--over", "--at"}, &args); !error.empty())
    return kCommand.UsageError(error);
  if (args.positional.size() != 2) return kCommand.UsageError("decode takes FILE OUT.png");
  int x = 0, y = 0;
  if (const std::string* at = Option(args, "--at");
      at != nullptr && !ParsePoint(*at, -32768, 32767, &x, &y))
    return kCommand.UsageError("--at takes X,Y (whole numbers)");
  const std::string& path = args.positional[0];

  std::vector<std::uint8_t> file;
  if (std::string error = authoring::ReadWholeFile(path, &file); !error.empty())
    return kCommand.Failure(error);
  resources::PictureHeader header{};
  if (!resources::ParsePictureHeader(file.data(), file.size(), &header))
    return kCommand.Failure(path + ": too short for a picture file (" +
                            std::to_string(file.size()) + " bytes; the header alone is 48)");
  if (file.size() > kMaxPictureFileSize)
    return kCommand.Failure(path + ": too large for a picture file (" +
                            std::to_string(file.size()) + " bytes)");

  std::vector<std::uint8_t> base(
      static_cast<std::size_t>(authoring::kScreenWidth) * authoring::kScreenHeight, 0);
  if (const std::string* over = Option(args, "--over")) {
    authoring::IndexedImage image;
    std::vector<std::string> warnings;
    if (std::string error = authoring::ReadPng(*over, &image, &warnings); !error.empty())
      return kCommand.Failure(error);
    for (const auto& w : warnings) Warn(*over + ": " + w);
    if (image.width != authoring::kScreenWidth || image.height != authoring::kScreenHeight)
      return kCommand.Failure(*over + ": a base picture is 640 x 400, not " +
                              std::to_string(image.width) + " x " + std::to_string(image.height));
    base = std::move(image.pixels);
  }

  // Damage the game does not notice: said here, then drawn as the decoder draws it.
  if (header.magic_ok && header.version >= 0 && header.version < 2 && header.unpacked_size > 0 &&
      header.width() > 0 && header.height() > 0) {
    // What the decoder can use: the rectangle's bytes at most (bounded, the header being
    // outside data).
    const std::int64_t wanted = std::min<std::int64_t>(
        {header.unpacked_size, header.width() * header.height() / 2, std::int64_t{1} << 24});
    std::vector<std::uint8_t> unpacked(static_cast<std::size_t>(wanted));
    const std::size_t produced = resources::UnpackPictureStream(
        file.data() + resources::kPictureFileHeaderSize,
        file.size() - resources::kPictureFileHeaderSize, unpacked.data(), unpacked.size());
    if (produced < unpacked.size())
      Warn(path + ": the stream ends after " + std::to_string(produced) + " of " +
           std::to_string(unpacked.size()) + " bytes; the rest is not drawn");
    if (header.unpacked_size != header.width() * header.height() / 2)
      Warn(path + ": the unpacked size " + std::to_string(header.unpacked_size) +
           " is not that of the rectangle (" +
           std::to_string(header.width() * header.height() / 2) + ")");
    const std::int64_t left = std::int64_t{x} + header.left * 8, top = std::int64_t{y} + header.top;
    if (left < 0 || top < 0 || left + header.width() > authoring::kScreenWidth ||
        top + header.height() > authoring::kScreenHeight)
      Warn(path + ": the rectangle placed at " + std::to_string(left) + "," + std::to_string(top) +
           " reaches outside the screen; only its part inside is drawn");
  }
  if (header.version < 0)
    Warn(path + ": the version byte " + std::to_string(static_cast<std::uint8_t>(header.version)) +
         " reads as negative: the game draws nothing");

  authoring::IndexedImage screen;
  screen.width = authoring::kScreenWidth;
  screen.height = authoring::kScreenHeight;
  try {
    // The game's decoder on the headless backend in its in-process mode, so that a fatal
    // error comes back as an exception, with a fresh memory-block table.
    harness::GameHarness game(harness::InProcessOptions(), harness::Start::kPlatform);
    const core::MemHandle picture = core::AllocPicture("VbufDIB");
    std::uint8_t* pixels = core::LockPicture(picture);
    for (int row = 0; row < screen.height; ++row)
      std::memcpy(core::PixelAt(pixels, 0, row),
                  base.data() + static_cast<std::size_t>(row) * screen.width,
                  static_cast<std::size_t>(screen.width));
    core::MemUnlock(picture);

    const core::MemHandle loaded =
        core::MemAlloc(static_cast<std::uint32_t>(file.size()), "S01.VGR");
    std::memcpy(core::MemLock(loaded), file.data(), file.size());
    core::MemUnlock(loaded);

    const int drawn = resources::DecodePicture(picture, loaded, static_cast<std::int16_t>(x),
                                               static_cast<std::int16_t>(y));
    if (!game.backend().message_boxes().empty()) {
      const auto& box = game.backend().message_boxes().back();
      return kCommand.Failure(path + ": the game refuses the picture: " + box.caption + ": " +
                              box.text);
    }
    if (drawn == 0) {
      if (header.unpacked_size <= 0)
        return kCommand.Failure(path + ": nothing to draw: the unpacked size is " +
                                std::to_string(header.unpacked_size));
      return kCommand.Failure(path + ": nothing to draw: the rectangle is empty or off the screen");
    }

    pixels = core::LockPicture(picture);
    screen.pixels.resize(base.size());
    for (int row = 0; row < screen.height; ++row)
      std::memcpy(screen.pixels.data() + static_cast<std::size_t>(row) * screen.width,
                  core::PixelAt(pixels, 0, row), static_cast<std::size_t>(screen.width));
    core::MemUnlock(picture);
    for (const PALETTEENTRY& c : core::Screen.ScreenPalette)
      screen.palette.push_back(authoring::Rgb8{c.peRed, c.peGreen, c.peBlue});
  } catch (const platform::ProcessExit& exit) {
    return kCommand.Failure(path + ": the decoder ended the program (status " +
                            std::to_string(exit.status) + ")");
  }
  if (std::string error = authoring::WriteIndexedPng(args.positional[1], screen); !error.empty())
    return kCommand.Failure(args.positional[1] + ": " + error);
  return 0;
}

int Encode(int argc, char** argv) {
  Arguments args;
  if (std::string error = SplitArguments(argc, argv, {"--order", "--transparent", "--at"}, &args);
      !error.empty())
    return kCommand.UsageError(error);
  if (args.positional.size() != 2) return kCommand.UsageError("encode takes IN.png OUT");
  authoring::PictureOptions options;
  if (const std::string* at = Option(args, "--at");
      at != nullptr && !ParsePoint(*at, 0, 32767, &options.x, &options.y))
    return kCommand.UsageError("--at takes X,Y (whole numbers, 0 or more)");
  if (const std::string* order = Option(args, "--order")) {
    if (*order == "columns") {
      options.order = authoring::PixelOrder::kColumns;
    } else if (*order == "rows") {
      options.order = authoring::PixelOrder::kRows;
    } else {
      return kCommand.UsageError("--order takes columns or rows");
    }
  }
  if (const std::string* transparent = Option(args, "--transparent")) {
    int n = 0;
    if (!ParseInt(*transparent, 0, 15, &n))
      return kCommand.UsageError("--transparent takes a colour 0 to 15");
    options.transparent = static_cast<std::uint8_t>(n);
  }

  const std::string& in = args.positional[0];
  authoring::IndexedImage image;
  std::vector<std::string> warnings;
  if (std::string error = authoring::ReadPng(in, &image, &warnings); !error.empty())
    return kCommand.Failure(error);
  for (const auto& w : warnings) Warn(in + ": " + w);
  for (std::size_t k = 0; k < image.palette.size(); ++k) {
    const authoring::Rgb8& c = image.palette[k];
    const authoring::Rgb4 four{authoring::FourBitLevel(c.r), authoring::FourBitLevel(c.g),
                               authoring::FourBitLevel(c.b)};
    options.palette[k] = four;
    const std::string stored =
        Hex(authoring::EightBitLevel(four.r), authoring::EightBitLevel(four.g),
            authoring::EightBitLevel(four.b));
    if (stored != Hex(c.r, c.g, c.b))
      Warn(in + ": colour " + std::to_string(k) + " " + Hex(c.r, c.g, c.b) +
           " has no 4-bit form; it becomes " + stored);
  }

  authoring::PictureImage picture;
  picture.width = image.width;
  picture.height = image.height;
  picture.pixels = std::move(image.pixels);
  std::vector<std::uint8_t> file;
  if (std::string error = authoring::BuildPictureFile(picture, options, &file); !error.empty())
    return kCommand.Failure(in + ": " + error);
  if (std::string error = authoring::WriteWholeFile(args.positional[1], file); !error.empty())
    return kCommand.Failure(error);
  return 0;
}

int Info(int argc, char** argv) {
  if (argc != 1) return kCommand.UsageError("info takes one FILE");
  const std::string path = argv[0];
  std::vector<std::uint8_t> file;
  if (std::string error = authoring::ReadWholeFile(path, &file); !error.empty())
    return kCommand.Failure(error);
  resources::PictureHeader header{};
  if (!resources::ParsePictureHeader(file.data(), file.size(), &header))
    return kCommand.Failure(path + ": too short for a picture file (" +
                            std::to_string(file.size()) + " bytes; the header alone is 48)");
  if (!header.magic_ok) {
    std::string magic;
    for (int i = 0; i < 8; ++i) {
      const unsigned char c = file[static_cast<std::size_t>(i)];
      char part[8];
      std::snprintf(part, sizeof part, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02x", c);
      magic += part;
    }
    return kCommand.Failure(path + ": not a picture file: its magic is \"" + magic +
                            "\", not \"VELACODE\"");
  }
  std::printf("magic        VELACODE\n");
  std::printf("rectangle    left %d top %d right %d bottom %d: at %d,%d, %lld x %lld pixels\n",
              header.left, header.top, header.right, header.bottom, header.left * 8, header.top,
              static_cast<long long>(header.width()), static_cast<long long>(header.height()));
  const char* order = header.version == 0   ? "columns"
                      : header.version == 1 ? "rows"
                      : header.version < 0  ? "negative: the game draws nothing"
                                            : "not supported by the game";
  std::printf("order        %u (%s)\n", static_cast<std::uint8_t>(header.version), order);
  if (header.transparent <= 15) {
    std::printf("transparent  %u\n", header.transparent);
  } else {
    std::printf("transparent  %u (none)\n", header.transparent);
  }
  std::printf("unpacked     %d bytes", header.unpacked_size);
  if (header.width() > 0 && header.height() > 0)
    std::printf(" (the rectangle holds %lld)",
                static_cast<long long>(header.width() * header.height() / 2));
  std::printf("\nstream       %zu bytes\n", file.size() - resources::kPictureFileHeaderSize);
  std::printf("palette      4-bit red green blue, and as shown\n");
  for (int k = 0; k < 16; ++k) {
    const std::uint8_t* c = header.palette[k];
    std::printf("  %2d  %2u %2u %2u  %s%s\n", k, c[0], c[1], c[2],
                Hex(authoring::EightBitLevel(c[0]), authoring::EightBitLevel(c[1]),
                    authoring::EightBitLevel(c[2]))
                    .c_str(),
                k == 15 ? "  (the game shows white)" : "");
  }
  return 0;
}

}  // namespace

int PictureCommand(int argc, char** argv) {
  if (kCommand.HelpAsked(argc, argv)) return 0;
  if (argc < 1) return kCommand.UsageError("missing subcommand");
  std::string_view action = argv[0];
  if (action == "decode") return Decode(argc - 1, argv + 1);
  if (action == "encode") return Encode(argc - 1, argv + 1);
  if (action == "info") return Info(argc - 1, argv + 1);
  return kCommand.UsageError("unknown subcommand '" + std::string(action) + "'");
}

}  // namespace tool
