#include "platform/headless/input_script.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "platform/win32.h"

namespace platform::headless {
namespace {

// A key held for this long is seen by at least one key poll: the window timer alone
// delivers a message every 60 ms.
constexpr std::uint32_t kDefaultKeyHoldMs = 100;

bool ParseNumber(const std::string& word, long* out) {
  if (word.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(word.c_str(), &end, 10);
  if (*end != '\0') return false;
  *out = v;
  return true;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

int KeyFromName(const std::string& name) {
  static const std::pair<const char*, int> kKeys[] = {
      {"enter", VK_RETURN}, {"return", VK_RETURN}, {"escape", VK_ESCAPE}, {"esc", VK_ESCAPE},
      {"space", VK_SPACE},  {"home", VK_HOME},     {"up", VK_UP},         {"down", VK_DOWN},
      {"left", VK_LEFT},    {"right", VK_RIGHT},
  };
  std::string lower = Lower(name);
  for (const auto& [n, vk] : kKeys) {
    if (lower == n) return vk;
  }
  return 0;
}

bool ParseInputScript(const std::string& text, InputScript* script, std::string* error) {
  std::istringstream in(text);
  std::string raw;
  int line_number = 0;
  std::uint32_t previous_time = 0;
  auto fail = [&](const std::string& what) {
    *error = std::to_string(line_number) + ": " + what;
    return false;
  };
  while (std::getline(in, raw)) {
    ++line_number;
    if (auto hash = raw.find('#'); hash != std::string::npos) raw.resize(hash);
    std::istringstream words(raw);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    if (w.empty()) continue;

    ScriptAction a;
    a.line = line_number;
    std::size_t i = 0;
    long t = 0;
    if (w[0] == "at") {
      if (w.size() < 2 || !ParseNumber(w[1], &t) || t < 0) return fail("expected 'at MS'");
      a.time = static_cast<std::uint32_t>(t);
      i = 2;
    } else if (w[0][0] == '+') {
      if (!ParseNumber(w[0].substr(1), &t) || t < 0) return fail("expected '+MS'");
      a.time = previous_time + static_cast<std::uint32_t>(t);
      i = 1;
    } else {
      return fail("a line starts with 'at MS' or '+MS'");
    }
    if (i >= w.size()) return fail("missing action");
    const std::string verb = Lower(w[i]);
    const std::vector<std::string> args(w.begin() + static_cast<long>(i) + 1, w.end());

    auto position = [&](bool required) {
      if (args.empty() && !required) return true;
      long x = 0, y = 0;
      if (args.size() != 2 || !ParseNumber(args[0], &x) || !ParseNumber(args[1], &y)) {
        return false;
      }
      a.has_position = true;
      a.x = static_cast<int>(x);
      a.y = static_cast<int>(y);
      return true;
    };

    if (verb == "click" || verb == "rclick") {
      a.kind = verb == "click" ? ActionKind::Click : ActionKind::RightClick;
      if (!position(false)) return fail(verb + " takes no position or X Y");
    } else if (verb == "move") {
      a.kind = ActionKind::Move;
      if (!position(true)) return fail("move takes X Y");
    } else if (verb == "wheel") {
      long notches = 0;
      if (args.size() != 1 || !ParseNumber(args[0], &notches) || notches == 0 || notches < -100 ||
          notches > 100) {
        return fail("wheel takes N, a number of notches from -100 to 100 other than 0");
      }
      a.kind = ActionKind::Wheel;
      a.id = static_cast<int>(notches);
    } else if (verb == "key") {
      a.kind = ActionKind::Key;
      if (args.empty() || args.size() > 2) return fail("key takes NAME [HOLD_MS]");
      a.key = KeyFromName(args[0]);
      if (a.key == 0) return fail("unknown key '" + args[0] + "'");
      a.hold_ms = kDefaultKeyHoldMs;
      if (args.size() == 2) {
        long hold = 0;
        if (!ParseNumber(args[1], &hold) || hold <= 0) return fail("bad hold time");
        a.hold_ms = static_cast<std::uint32_t>(hold);
      }
    } else if (verb == "menu") {
      long id = 0;
      if (args.size() != 1 || !ParseNumber(args[0], &id)) return fail("menu takes ID");
      a.kind = ActionKind::Menu;
      a.id = static_cast<int>(id);
    } else if (verb == "msgbox") {
      a.kind = ActionKind::MessageBox;
      if (args.size() != 1 || (args[0] != "ok" && args[0] != "cancel")) {
        return fail("msgbox takes ok or cancel");
      }
      a.ok = args[0] == "ok";
    } else if (verb == "dialog") {
      a.kind = ActionKind::Dialog;
      if (args.empty() || (args.back() != "ok" && args.back() != "cancel")) {
        return fail("dialog ends with ok or cancel");
      }
      a.ok = args.back() == "ok";
      for (std::size_t k = 0; k + 1 < args.size(); ++k) {
        auto eq = args[k].find('=');
        long v = 0;
        if (eq == std::string::npos || !ParseNumber(args[k].substr(eq + 1), &v) ||
            (v != 0 && v != 1)) {
          return fail("dialog boxes are KEY=0 or KEY=1");
        }
        a.boxes.emplace_back(args[k].substr(0, eq), static_cast<int>(v));
      }
    } else if (verb == "close") {
      a.kind = ActionKind::Close;
    } else if (verb == "activate" || verb == "deactivate") {
      a.kind = ActionKind::Activate;
      a.ok = verb == "activate";
    } else if (verb == "shot" || verb == "dump") {
      a.kind = verb == "shot" ? ActionKind::Shot : ActionKind::Dump;
      if (args.size() != 1) return fail(verb + " takes FILE");
      a.path = args[0];
    } else {
      return fail("unknown action '" + w[i] + "'");
    }
    if (!args.empty() && (verb == "close" || verb == "activate" || verb == "deactivate")) {
      return fail(verb + " takes no arguments");
    }
    previous_time = a.time;
    script->actions.push_back(std::move(a));
  }
  std::stable_sort(script->actions.begin(), script->actions.end(),
                   [](const ScriptAction& x, const ScriptAction& y) { return x.time < y.time; });
  return true;
}

}  // namespace platform::headless
