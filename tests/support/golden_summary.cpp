#include "support/golden_summary.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <sstream>

#include "authoring/png_io.h"

namespace hotaru_test::golden {

namespace fs = std::filesystem;

namespace {

// One trace line, "MS KIND DETAILS".
struct Event {
  std::uint32_t ms = 0;
  std::string kind;
  std::string details;
};

bool Parse(const std::string& line, Event* out) {
  const std::size_t space = line.find(' ');
  if (space == std::string::npos || space == 0) return false;
  for (std::size_t i = 0; i < space; ++i)
    if (line[i] < '0' || line[i] > '9') return false;
  out->ms = static_cast<std::uint32_t>(std::stoul(line.substr(0, space)));
  const std::size_t kind_end = line.find(' ', space + 1);
  out->kind = line.substr(space + 1,
                          kind_end == std::string::npos ? std::string::npos : kind_end - space - 1);
  out->details = kind_end == std::string::npos ? "" : line.substr(kind_end + 1);
  return true;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.rfind(prefix, 0) == 0;
}

// An op line's details: "SCENARIO OFFSET MNEMONIC OPERANDS". The offset is left out of the
// summary: it moves with any edit of the text before it, which changes nothing of the play.
struct Op {
  std::string scenario, mnemonic, operands;
};

Op ParseOp(const std::string& details) {
  std::istringstream in(details);
  Op op;
  std::string offset;
  in >> op.scenario >> offset >> op.mnemonic;
  std::getline(in >> std::ws, op.operands);
  return op;
}

// A slot as the slot screen labels it (記録１ … 記録３) with its file.
std::string SlotName(const std::string& file_slot) {
  char name[48];
  const int n = std::stoi(file_slot);
  std::snprintf(name, sizeof name, "slot %d (ZEN2_%02d.SAV)", n + 1, n);
  return name;
}

// "read N scenario S", "read N empty", "write N scenario S", "progress N scenario S" as the
// reader's acts.
std::string SlotLine(const std::string& details) {
  std::istringstream in(details);
  std::string act, slot;
  in >> act >> slot;
  std::string rest;
  std::getline(in >> std::ws, rest);
  const char* what = act == "write"      ? "save "
                     : act == "read"     ? "load "
                     : act == "progress" ? "progress written to "
                                         : "slot ";
  return what + SlotName(slot) + ": " + rest;
}

std::string Minutes(std::uint32_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%u:%02u", ms / 60000, ms / 1000 % 60);
  return text;
}

}  // namespace

std::vector<std::string> ShotNames(const std::vector<std::string>& input_lines) {
  std::vector<std::string> names;
  for (const std::string& line : input_lines) {
    std::istringstream in(line.substr(0, line.find('#')));
    std::string when, action, file;
    if (!(in >> when)) continue;
    if (when == "at") in >> when;  // "at MS ACTION" or "+MS ACTION"
    if (in >> action >> file && action == "shot") names.push_back(file);
  }
  return names;
}

std::string PixelHash(const fs::path& png) {
  int width = 0, height = 0;
  std::vector<authoring::Rgb8> colours;
  const std::string error = authoring::ReadPngColours(png, &width, &height, &colours);
  if (!error.empty()) return "unreadable: " + error;
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a, 64 bits
  const auto mix = [&hash](std::uint8_t byte) {
    hash ^= byte;
    hash *= 1099511628211ull;
  };
  for (const authoring::Rgb8& c : colours) {
    mix(c.r);
    mix(c.g);
    mix(c.b);
  }
  char text[64];
  std::snprintf(text, sizeof text, "%dx%d %016llx", width, height,
                static_cast<unsigned long long>(hash));
  return text;
}

std::vector<std::string> Summarise(const std::vector<std::string>& trace_lines,
                                   const std::vector<std::string>& shot_names,
                                   const fs::path& shot_dir) {
  std::vector<std::string> out;
  std::string scenario;
  Op last_op;
  bool any_op = false;
  std::string exit_status;
  std::string last_play;
  bool track_ended = false;
  std::uint32_t length = 0;
  for (const std::string& line : trace_lines) {
    Event e;
    if (!Parse(line, &e)) continue;
    length = e.ms;
    if (e.kind == "op") {
      const Op op = ParseOp(e.details);
      if (!any_op || op.scenario != scenario) out.push_back("scenario " + op.scenario);
      scenario = op.scenario;
      last_op = op;
      any_op = true;
      if (op.mnemonic == "pcm_load") out.push_back("sound load " + op.operands);
      if (op.mnemonic == "ending") out.push_back("ending " + op.operands);
    } else if (e.kind == "choice") {
      out.push_back("choice " + e.details);
    } else if (e.kind == "cd" && e.details == "status mode stop") {
      track_ended = true;
    } else if (e.kind == "cd" && StartsWith(e.details, "play ")) {
      // Music that repeats plays its track again when it has ended: how often depends on
      // how long the reader stays, so only the first play is a fact of the story.
      if (!(track_ended && e.details == last_play)) out.push_back("music " + e.details);
      last_play = e.details;
      track_ended = false;
    } else if (e.kind == "wave" && StartsWith(e.details, "write ")) {
      out.push_back("sound play " + e.details.substr(6));
    } else if (e.kind == "slot") {
      out.push_back(SlotLine(e.details));
    } else if (e.kind == "msgbox" || e.kind == "error") {
      out.push_back(e.kind + " " + e.details);
    } else if (e.kind == "exit") {
      exit_status = e.details;
    }
  }
  if (any_op) {
    out.push_back("last op " + last_op.scenario + " " + last_op.mnemonic +
                  (last_op.operands.empty() ? "" : " " + last_op.operands));
  }
  out.push_back(exit_status.empty() ? "exit none: the run was stopped before the program ended"
                                    : "exit " + exit_status);
  for (const std::string& name : shot_names) {
    const fs::path file = shot_dir / name;
    out.push_back("shot " + name + " " +
                  (fs::exists(file) ? PixelHash(file) : std::string("missing")));
  }
  out.push_back("virtual length " + std::to_string(length) + " ms (" + Minutes(length) + ")");
  return out;
}

std::string LineDiff(const std::vector<std::string>& expected,
                     const std::vector<std::string>& actual) {
  // The longest common subsequence, table from the ends: summaries are a few hundred lines.
  const std::size_t n = expected.size(), m = actual.size();
  std::vector<std::vector<std::uint32_t>> common(n + 1, std::vector<std::uint32_t>(m + 1, 0));
  for (std::size_t i = n; i-- > 0;) {
    for (std::size_t j = m; j-- > 0;) {
      common[i][j] = expected[i] == actual[j] ? common[i + 1][j + 1] + 1
                                              : std::max(common[i + 1][j], common[i][j + 1]);
    }
  }
  std::string diff;
  std::string shared = "(start)";
  bool in_group = false;
  const auto open_group = [&] {
    if (!in_group) diff += "  after: " + shared + "\n";
    in_group = true;
  };
  std::size_t i = 0, j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && expected[i] == actual[j]) {
      shared = expected[i];
      in_group = false;
      ++i;
      ++j;
    } else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
      open_group();
      diff += "- " + expected[i++] + "\n";
    } else {
      open_group();
      diff += "+ " + actual[j++] + "\n";
    }
  }
  return diff;
}

}  // namespace hotaru_test::golden
