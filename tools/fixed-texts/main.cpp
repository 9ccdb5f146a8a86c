// hotaru-fixed-texts: compiles the system's fixed texts (UTF-8 source) into C++ byte arrays
// of message text through the charset table. Run by the build; see
// src/authoring/fixed_text_generator.h for the source format.
//
// usage: hotaru-fixed-texts --charset TBL --source TXT --out-dir DIR
// writes DIR/fixed_texts.h and DIR/fixed_texts.cpp (left untouched when unchanged).
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "authoring/charset.h"
#include "authoring/fixed_text_generator.h"

namespace {

constexpr const char* kUsage =
    "usage: hotaru-fixed-texts --charset TBL --source TXT --out-dir DIR\n";

int Fail(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  return 1;
}

bool ReadText(const std::filesystem::path& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  *text = all.str();
  return !in.bad();
}

// Writes only when the content differs, so that an unchanged result compiles nothing again.
std::string WriteIfChanged(const std::filesystem::path& path, const std::string& content) {
  std::string old;
  if (ReadText(path, &old) && old == content) return "";
  const std::filesystem::path temporary = path.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out.flush()) return "cannot write " + temporary.string();
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) return "cannot write " + path.string() + ": " + error.message();
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  std::string charset_path, source_path, out_dir;
  for (int i = 1; i < argc; ++i) {
    std::string* target = nullptr;
    if (std::strcmp(argv[i], "--charset") == 0) target = &charset_path;
    if (std::strcmp(argv[i], "--source") == 0) target = &source_path;
    if (std::strcmp(argv[i], "--out-dir") == 0) target = &out_dir;
    if (target == nullptr || i + 1 >= argc) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    *target = argv[++i];
  }
  if (charset_path.empty() || source_path.empty() || out_dir.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  authoring::Charset charset;
  if (std::string error = authoring::Charset::Read(charset_path, &charset); !error.empty())
    return Fail(error);
  std::string source;
  if (!ReadText(source_path, &source)) return Fail("cannot read " + source_path);
  std::vector<authoring::FixedTextLine> lines;
  if (std::string error = authoring::ParseFixedTexts(source, source_path, &lines); !error.empty())
    return Fail(error);
  authoring::GeneratedFixedTexts generated;
  if (std::string error =
          authoring::GenerateFixedTexts(lines, charset, source_path, charset_path, &generated);
      !error.empty()) {
    const bool missing = error.find("is not in the charset") != std::string::npos;
    return Fail(error + (missing
                             ? "\nhotaru-fixed-texts: add the missing characters to " + charset_path
                             : std::string()));
  }

  std::error_code error;
  std::filesystem::create_directories(out_dir, error);
  if (error) return Fail("cannot create " + out_dir + ": " + error.message());
  const std::filesystem::path dir = out_dir;
  if (std::string failure = WriteIfChanged(dir / "fixed_texts.h", generated.header);
      !failure.empty())
    return Fail(failure);
  if (std::string failure = WriteIfChanged(dir / "fixed_texts.cpp", generated.source);
      !failure.empty())
    return Fail(failure);
  return 0;
}
