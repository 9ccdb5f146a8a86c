// Profile (ini) files: GetPrivateProfileStringA and WritePrivateProfileStringA.
//
// A file is read whole and split into lines that keep their exact bytes and terminators, so
// a write changes only the lines it has to and leaves everything else (comments, blank
// lines, other sections, line endings) byte for byte as it was. Writes go to a temporary
// file beside the target that replaces it by rename, so a crash never leaves half an ini.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/backend.h"
#include "platform/common/file_replace.h"
#include "platform/common/platform_state.h"
#include "platform/file_services.h"
#include "platform/profile.h"
#include "platform/win32.h"

namespace platform {

ProfileCache Profile;

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(kBlanks);
  return s.substr(first, last - first + 1);
}

// Only ASCII letters fold; bytes 0x80 and up are parts of multibyte characters.
char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

bool IsShiftJisLead(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Like EqualsNoCase for Shift-JIS text: the second byte of a double-byte character may be
// an ASCII letter ("蛍" is 8C 75, 0x75 being 'u') and must then match exactly.
bool EqualsNoCaseShiftJis(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (IsShiftJisLead(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
      return false;
    }
  }
  return true;
}

// Shift-JIS spellings of the characters the program uses in section names. An ini file
// written by the original system carries its section "蛍" in Shift-JIS; a character
// missing here just means its name has no Shift-JIS spelling to fall back on.
struct ShiftJisSpelling {
  char32_t code_point;
  unsigned char bytes[2];
};
constexpr ShiftJisSpelling kShiftJisSpellings[] = {
    {0x86CD, {0x8C, 0x75}},  // 蛍
};

// Decodes one UTF-8 character at `s[i]`, advancing `i`; nullopt on invalid UTF-8.
std::optional<char32_t> DecodeUtf8(std::string_view s, std::size_t& i) {
  const auto c = static_cast<unsigned char>(s[i]);
  int extra;
  char32_t cp;
  if (c < 0x80) {
    ++i;
    return c;
  } else if (c >= 0xC2 && c <= 0xDF) {
    extra = 1, cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    extra = 2, cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    extra = 3, cp = c & 0x07;
  } else {
    return std::nullopt;
  }
  if (i + extra >= s.size()) return std::nullopt;
  for (int k = 1; k <= extra; ++k) {
    const auto t = static_cast<unsigned char>(s[i + k]);
    if ((t & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (t & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not valid UTF-8.
  static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    return std::nullopt;
  }
  i += extra + 1;
  return cp;
}

// The Shift-JIS spelling of a UTF-8 name, when it has one that differs from the name.
std::optional<std::string> ShiftJisSpellingOf(std::string_view utf8) {
  std::string out;
  bool differs = false;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto cp = DecodeUtf8(utf8, i);
    if (!cp) return std::nullopt;
    if (*cp < 0x80) {
      out += static_cast<char>(*cp);
      continue;
    }
    const auto* it = std::find_if(std::begin(kShiftJisSpellings), std::end(kShiftJisSpellings),
                                  [&](const ShiftJisSpelling& s) { return s.code_point == *cp; });
    if (it == std::end(kShiftJisSpellings)) return std::nullopt;
    out += static_cast<char>(it->bytes[0]);
    out += static_cast<char>(it->bytes[1]);
    differs = true;
  }
  if (!differs) return std::nullopt;
  return out;
}

void Classify(ProfileLine& line, bool first_line) {
  std::string_view text = line.text;
  // A byte order mark left by an editor is not part of the first line's content.
  if (first_line && text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  text = Trim(text);
  if (text.empty() || text.front() == ';') return;
  if (text.front() == '[') {
    text.remove_prefix(1);
    // A name ending the line keeps any ']' inside it: a Shift-JIS second byte can be 0x5D.
    std::size_t close = text.ends_with(']') ? text.size() - 1 : text.find(']');
    if (close == std::string_view::npos) close = text.size();
    line.kind = ProfileLine::Kind::kSection;
    line.name = Trim(text.substr(0, close));
    return;
  }
  const auto eq = text.find('=');
  if (eq == std::string_view::npos) return;
  line.kind = ProfileLine::Kind::kKey;
  line.name = Trim(text.substr(0, eq));
  line.value = Trim(text.substr(eq + 1));
}

std::vector<ProfileLine> ParseLines(std::string_view bytes) {
  std::vector<ProfileLine> lines;
  while (!bytes.empty()) {
    ProfileLine line;
    const auto nl = bytes.find('\n');
    std::string_view text = bytes.substr(0, nl);
    if (nl == std::string_view::npos) {
      bytes = {};
    } else {
      bytes.remove_prefix(nl + 1);
      const bool crlf = text.ends_with('\r');
      if (crlf) text.remove_suffix(1);
      line.eol = crlf ? "\r\n" : "\n";
    }
    line.text = text;
    Classify(line, lines.empty());
    lines.push_back(std::move(line));
  }
  return lines;
}

// The file's line ending style, from its first line. A file with no line ending yet gets
// CRLF, as the original system's ini files have; our reader takes either.
std::string LineEnding(const std::vector<ProfileLine>& lines) {
  if (!lines.empty() && !lines.front().eol.empty()) return lines.front().eol;
  return "\r\n";
}

std::optional<std::size_t> FindSectionSpelt(const std::vector<ProfileLine>& lines,
                                            std::string_view name,
                                            bool (*equals)(std::string_view, std::string_view)) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == ProfileLine::Kind::kSection && equals(lines[i].name, name)) return i;
  }
  return std::nullopt;
}

// The header line of the first section called `name`; a UTF-8 name also finds a section
// spelt in Shift-JIS when none is spelt as given.
std::optional<std::size_t> FindSection(const std::vector<ProfileLine>& lines,
                                       std::string_view name) {
  if (auto i = FindSectionSpelt(lines, name, EqualsNoCase)) return i;
  if (auto sjis = ShiftJisSpellingOf(name))
    return FindSectionSpelt(lines, *sjis, EqualsNoCaseShiftJis);
  return std::nullopt;
}

// One past the last line of the section whose header is at `header`.
std::size_t SectionEnd(const std::vector<ProfileLine>& lines, std::size_t header) {
  std::size_t i = header + 1;
  while (i < lines.size() && lines[i].kind != ProfileLine::Kind::kSection) ++i;
  return i;
}

std::optional<std::size_t> FindKey(const std::vector<ProfileLine>& lines, std::size_t header,
                                   std::string_view key) {
  const std::size_t end = SectionEnd(lines, header);
  for (std::size_t i = header + 1; i < end; ++i) {
    if (lines[i].kind == ProfileLine::Kind::kKey && EqualsNoCase(lines[i].name, key)) return i;
  }
  return std::nullopt;
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Where a profile file lives: a bare name is the program's profile file, placed by the
// backend; anything with a folder is a path, with `\` read as `/`.
std::optional<fs::path> ProfileFile(LPCSTR file) {
  if (file == nullptr || *file == '\0') return std::nullopt;
  std::string name = file;
  if (name.find_first_of("/\\") == std::string::npos)
    return fs::path(CurrentBackend().ProfilePath(name));
  std::replace(name.begin(), name.end(), '\\', '/');
  return fs::path(name);
}

// An ini file of the program holds a few short lines; anything larger is not one.
constexpr std::uint64_t kMaxProfileBytes = 1 << 20;

enum class ReadResult { kOk, kMissing, kFailed };

ReadResult ReadWholeFile(const fs::path& path, std::string& out, std::string* reason = nullptr) {
  const ReadOutcome read = ReadRegularFile(path, &out, kMaxProfileBytes);
  if (reason != nullptr) *reason = read.reason;
  if (read.ok()) return ReadResult::kOk;
  return read.status == ReadStatus::kMissing ? ReadResult::kMissing : ReadResult::kFailed;
}

// The file's lines; none for a missing or unreadable file.
const std::vector<ProfileLine>& LoadLines(const std::optional<fs::path>& path) {
  static const std::vector<ProfileLine> kNone;
  std::string bytes;
  if (!path || ReadWholeFile(*path, bytes) != ReadResult::kOk) return kNone;
  if (Profile.path != path->string() || Profile.bytes != bytes) {
    Profile.lines = ParseLines(bytes);
    Profile.path = path->string();
    Profile.bytes = std::move(bytes);
  }
  return Profile.lines;
}

// Replaces the file at `path` with `bytes` all at once (a linked file keeps its link and the
// file at its end is replaced). Empty on success, else why not.
std::string ReplaceFile(const fs::path& path, std::string_view bytes) {
  const fs::path target = ReplacementTarget(path);
  const fs::path dir = target.parent_path();
  std::error_code ec;
  if (!dir.empty()) {
    fs::create_directories(dir, ec);
    if (ec) return ec.message();
  }
  // Windows refuses to write a read-only ini; a rename alone would not notice.
  if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0)
    return std::strerror(errno);
  return ReplaceFileContents(target, bytes);
}

// Copies a value the way GetPrivateProfileString does: at most size-1 bytes and a NUL.
DWORD CopyValue(std::string_view value, LPSTR out, DWORD size) {
  const std::size_t n = std::min<std::size_t>(value.size(), size - 1);
  std::memcpy(out, value.data(), n);
  out[n] = '\0';
  return static_cast<DWORD>(n);
}

// Copies a list of names, each NUL-terminated, plus a final NUL. When it does not fit, the
// last name that fits is cut and still followed by two NULs, and the result is size-2.
DWORD CopyList(const std::vector<std::string_view>& names, LPSTR out, DWORD size) {
  std::string list;
  for (auto name : names) {
    list += name;
    list += '\0';
  }
  if (list.size() + 1 <= size) {
    std::memcpy(out, list.data(), list.size());
    out[list.size()] = '\0';
    return static_cast<DWORD>(list.size());
  }
  if (size < 2) {
    out[0] = '\0';
    return 0;
  }
  std::memcpy(out, list.data(), size - 2);
  out[size - 2] = '\0';
  out[size - 1] = '\0';
  return size - 2;
}

void AddName(std::vector<std::string_view>& names, std::string_view name) {
  const bool seen = std::any_of(names.begin(), names.end(),
                                [&](std::string_view n) { return EqualsNoCase(n, name); });
  if (!seen) names.push_back(name);
}

bool HasLineBreak(LPCSTR text) { return text != nullptr && std::strpbrk(text, "\r\n") != nullptr; }

}  // namespace
}  // namespace platform

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR default_value, LPSTR out,
                               DWORD out_size, LPCSTR file) {
  using namespace platform;
  if (out == nullptr || out_size == 0) return 0;
  const std::vector<ProfileLine>& lines = LoadLines(ProfileFile(file));

  if (section == nullptr) {
    std::vector<std::string_view> names;
    for (const ProfileLine& line : lines) {
      if (line.kind == ProfileLine::Kind::kSection) AddName(names, line.name);
    }
    return CopyList(names, out, out_size);
  }
  const auto header = FindSection(lines, section);
  if (key == nullptr) {
    std::vector<std::string_view> names;
    if (header) {
      for (std::size_t i = *header + 1, end = SectionEnd(lines, *header); i < end; ++i) {
        if (lines[i].kind == ProfileLine::Kind::kKey) AddName(names, lines[i].name);
      }
    }
    return CopyList(names, out, out_size);
  }
  if (header) {
    if (const auto at = FindKey(lines, *header, key)) {
      return CopyValue(Unquoted(lines[*at].value), out, out_size);
    }
  }
  std::string_view fallback = default_value != nullptr ? default_value : "";
  fallback = fallback.substr(0, fallback.find_last_not_of(" \t") + 1);
  return CopyValue(fallback, out, out_size);
}

namespace platform {
namespace {

// One WritePrivateProfileString change applied to the lines of a file.
void ApplyWrite(std::vector<ProfileLine>& lines, LPCSTR section, LPCSTR key, LPCSTR value) {
  const std::string eol = LineEnding(lines);
  const auto header = FindSection(lines, section);

  // A new line is classified as a read one is, so that the next change of the same write
  // finds the section and key it adds.
  auto new_line = [&](std::string text) {
    ProfileLine line;
    line.text = std::move(text);
    line.eol = eol;
    Classify(line, false);
    return line;
  };
  // Before a line goes in after `index`, that line needs an ending of its own.
  auto terminate = [&](std::size_t index) {
    if (index < lines.size() && lines[index].eol.empty()) lines[index].eol = eol;
  };

  if (key == nullptr) {
    if (!header) return;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*header),
                lines.begin() + static_cast<std::ptrdiff_t>(SectionEnd(lines, *header)));
  } else if (value == nullptr) {
    if (!header) return;
    // Every spelling of the key goes, so that a later duplicate does not show through.
    const auto first = lines.begin() + static_cast<std::ptrdiff_t>(*header + 1);
    const auto last = lines.begin() + static_cast<std::ptrdiff_t>(SectionEnd(lines, *header));
    lines.erase(std::remove_if(first, last,
                               [&](const ProfileLine& line) {
                                 return line.kind == ProfileLine::Kind::kKey &&
                                        EqualsNoCase(line.name, key);
                               }),
                last);
  } else if (!header) {
    if (!lines.empty()) terminate(lines.size() - 1);
    lines.push_back(new_line("[" + std::string(section) + "]"));
    lines.push_back(new_line(std::string(key) + "=" + value));
  } else if (const auto at = FindKey(lines, *header, key)) {
    lines[*at].text = lines[*at].name + "=" + value;
    lines[*at].value = value;
  } else {
    // After the section's last key, so that blank lines and comments closing it stay last.
    std::size_t after = *header;
    for (std::size_t i = *header + 1, end = SectionEnd(lines, *header); i < end; ++i) {
      if (lines[i].kind == ProfileLine::Kind::kKey) after = i;
    }
    terminate(after);
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after + 1),
                 new_line(std::string(key) + "=" + value));
  }
}

// Folds later copies of `section` into the first one: a key that only a later copy holds
// moves to the first (after its last key), a key the first already holds is dropped with
// its copy, since the reader only ever sees the first. Earlier versions could write a
// section twice; the next write of that section leaves it whole again.
void MergeDuplicateSections(std::vector<ProfileLine>& lines, LPCSTR section) {
  const auto first = FindSection(lines, section);
  if (!first) return;
  const std::string name = lines[*first].name;
  for (std::size_t i = SectionEnd(lines, *first); i < lines.size();) {
    if (lines[i].kind != ProfileLine::Kind::kSection || !EqualsNoCase(lines[i].name, name)) {
      ++i;
      continue;
    }
    const std::size_t end = SectionEnd(lines, i);
    std::vector<ProfileLine> moved;
    for (std::size_t k = i + 1; k < end; ++k) {
      if (lines[k].kind == ProfileLine::Kind::kKey && !FindKey(lines, *first, lines[k].name))
        moved.push_back(lines[k]);
    }
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i),
                lines.begin() + static_cast<std::ptrdiff_t>(end));
    std::size_t after = *first;
    for (std::size_t k = *first + 1, e = SectionEnd(lines, *first); k < e; ++k) {
      if (lines[k].kind == ProfileLine::Kind::kKey) after = k;
    }
    for (ProfileLine& line : moved) {
      if (line.eol.empty()) line.eol = LineEnding(lines);
      if (lines[after].eol.empty()) lines[after].eol = LineEnding(lines);
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(++after), std::move(line));
    }
    i = SectionEnd(lines, *first);
  }
}

// Reads the file, applies every change and replaces the file once when anything changed.
// Empty on success, else why the file could not be written.
std::string WriteChanges(LPCSTR section, std::span<const ProfileEntry> entries, LPCSTR file) {
  const auto path = ProfileFile(file);
  if (section == nullptr || !path) return "no file or section";
  // A line break would turn into lines of its own and change the file's structure.
  if (HasLineBreak(section)) return "a line break in a name";
  for (const ProfileEntry& entry : entries) {
    if (HasLineBreak(entry.key) || HasLineBreak(entry.value)) return "a line break in a value";
  }
  std::string bytes;
  std::string reason;
  // Never replace a file that exists but could not be read.
  if (ReadWholeFile(*path, bytes, &reason) == ReadResult::kFailed) return reason;
  std::vector<ProfileLine> lines = ParseLines(bytes);
  MergeDuplicateSections(lines, section);
  for (const ProfileEntry& entry : entries) ApplyWrite(lines, section, entry.key, entry.value);
  std::string result;
  result.reserve(bytes.size() + 64);
  for (const ProfileLine& line : lines) {
    result += line.text;
    result += line.eol;
  }
  if (result == bytes) return "";
  return ReplaceFile(*path, result);
}

}  // namespace

std::string ProfileReadProblem(LPCSTR file) {
  const auto path = ProfileFile(file);
  if (!path) return "";
  std::string bytes;
  std::string reason;
  if (ReadWholeFile(*path, bytes, &reason) != ReadResult::kFailed) return "";
  return path->string() + ": " + reason;
}

std::string WriteProfileStrings(LPCSTR section, std::span<const ProfileEntry> entries,
                                LPCSTR file) {
  return WriteChanges(section, entries, file);
}

void ResetProfileCache() { Profile = ProfileCache{}; }

}  // namespace platform

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
  using namespace platform;
  // All three null asks Windows to flush its ini cache; there is no cache to flush here (the
  // parsed file is kept only as long as the file on disk is unchanged).
  if (section == nullptr && key == nullptr && value == nullptr) return TRUE;
  const ProfileEntry entry{key, value};
  return WriteChanges(section, {&entry, 1}, file).empty() ? TRUE : FALSE;
}
