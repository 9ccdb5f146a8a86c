// hotaru-demo-art: paints the demo story's pictures and writes them as picture files.
//
//   hotaru-demo-art OUTDIR [--png DIR] [NAME...]
//   hotaru-demo-art --icons THEME_DIR NAME
//
// Writes every picture of the catalogue (or only the NAMEs given, e.g. S01.VGR) into OUTDIR,
// the opening's data layers (.SDT) as packed data blocks;
// with --png also PNG previews into DIR. With --icons, writes the program's desktop icon at
// every size into THEME_DIR in the hicolor layout (NxN/apps/NAME.png). The same program
// always writes the same bytes.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app_icon.h"
#include "authoring/block_encoder.h"
#include "authoring/picture_file.h"
#include "catalogue.h"
#include "opening_art.h"
#include "previews.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: hotaru-demo-art OUTDIR [--png DIR] [NAME...]\n"
    "  writes the demo story's pictures (all, or the NAMEs given) into OUTDIR;\n"
    "  --png DIR also writes PNG previews: every picture, every background in its four\n"
    "  colourings, and every background as a scene with the characters in their slots\n"
    "usage: hotaru-demo-art --icons THEME_DIR NAME\n"
    "  writes the program's icon in every size as THEME_DIR/NxN/apps/NAME.png\n";

int UsageError(const std::string& what) {
  std::fprintf(stderr, "hotaru-demo-art: %s\n%s", what.c_str(), kUsage);
  return 2;
}

int Failure(const std::string& what) {
  std::fprintf(stderr, "hotaru-demo-art: %s\n", what.c_str());
  return 1;
}

bool WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string_view(argv[1]) == "--icons") {
    if (argc != 4) return UsageError("--icons needs THEME_DIR and NAME");
    if (std::string error = demo_art::WriteAppIcons(argv[2], argv[3]); !error.empty())
      return Failure(error);
    return 0;
  }
  fs::path out_dir;
  fs::path png_dir;
  std::vector<std::string> names;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--png") {
      if (i + 1 >= argc) return UsageError("--png needs a folder");
      png_dir = argv[++i];
    } else if (out_dir.empty()) {
      out_dir = argv[i];
    } else {
      names.emplace_back(arg);
    }
  }
  if (out_dir.empty()) return UsageError("missing OUTDIR");

  std::vector<const demo_art::CatalogueEntry*> chosen;
  for (const demo_art::CatalogueEntry& entry : demo_art::Catalogue()) {
    if (names.empty()) chosen.push_back(&entry);
  }
  for (const std::string& name : names) {
    const demo_art::CatalogueEntry* found = nullptr;
    for (const demo_art::CatalogueEntry& entry : demo_art::Catalogue()) {
      if (name == entry.file_name) found = &entry;
    }
    if (!found) return UsageError("no picture named " + name);
    chosen.push_back(found);
  }

  std::error_code ec;
  fs::create_directories(out_dir, ec);
  if (ec) return Failure("cannot create " + out_dir.string() + ": " + ec.message());

  std::vector<demo_art::Artwork> pictures;
  for (const demo_art::CatalogueEntry* entry : chosen) {
    demo_art::Artwork art = entry->paint();
    if (art.file_name != entry->file_name)
      return Failure(std::string(entry->file_name) + " paints a picture named " + art.file_name);
    std::vector<std::uint8_t> file;
    if (art.kind == demo_art::ArtKind::kOpeningLayer) {
      file = authoring::PackBlock(demo_art::LayerBytes(art));
    } else if (std::string error = authoring::BuildPictureFile(art.image, art.options, &file);
               !error.empty()) {
      return Failure(art.file_name + ": " + error);
    }
    if (!WriteFile(out_dir / art.file_name, file))
      return Failure("cannot write " + (out_dir / art.file_name).string());
    pictures.push_back(std::move(art));
  }
  if (!png_dir.empty()) {
    if (std::string error = demo_art::WritePreviews(pictures, png_dir); !error.empty())
      return Failure(error);
  }
  return 0;
}
