#include "shell/state_dump.h"

#include <cstdio>
#include <string_view>

#include "core/game_phase.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "core/window_state.h"
#include "flow/game_flow.h"

namespace shell {
namespace {

// Length of the valid UTF-8 sequence at `s`, or 0.
std::size_t Utf8Length(std::string_view s) {
  const auto b = static_cast<unsigned char>(s[0]);
  std::size_t n = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
  if (b >= 0xF5 || n == 0 || s.size() < n) return 0;
  for (std::size_t i = 1; i < n; ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0;
  }
  return n;
}

// A JSON string; bytes that are not valid UTF-8 (a name cut inside a character) become
// U+FFFD.
std::string JsonString(std::string_view s) {
  std::string out = "\"";
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 0x80) {
      std::size_t n = Utf8Length(s.substr(i));
      if (n == 0) {
        out += "\\ufffd";
        ++i;
      } else {
        out.append(s.substr(i, n));
        i += n;
      }
      continue;
    }
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
    ++i;
  }
  return out + "\"";
}

void Field(std::string& out, const char* name, unsigned value) {
  out += ",\"";
  out += name;
  out += "\":" + std::to_string(value);
}

}  // namespace

std::string StateDumpJson() {
  static const char kHex[] = "0123456789abcdef";
  std::string out = "{";
  out.reserve(core::kGameStateSize * 6 + 4096);
  // The three game state records, each as hex digits.
  const auto record = [&](const char* name, const core::GameStateRecord& r) {
    out += std::string(out.size() > 1 ? "," : "") + "\"" + name + "\":\"";
    for (std::uint8_t b : r) {
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
    out += "\"";
  };
  record("state", core::GameState);
  record("resume", core::ResumeState);
  record("save_image", core::SaveImage);
  out += ",\"DataDir\":" + JsonString(core::Settings.DataDir);
  Field(out, "Music", core::Settings.Music);
  Field(out, "Pcm", core::Settings.Pcm);
  Field(out, "Skip", core::Settings.Skip);
  Field(out, "Mmv", core::Settings.Mmv);
  Field(out, "Low", core::Settings.Low);
  Field(out, "ScriptStop", core::Scenario.ScriptStop);
  Field(out, "GamePhase", core::Phase.GamePhase);
  Field(out, "SkipMode", core::Input.SkipMode);
  Field(out, "SkipAllowed", core::Scenario.SkipAllowed);
  Field(out, "ResumeValid", core::Scenario.ResumeValid);
  Field(out, "PaletteState", core::Screen.PaletteState);
  Field(out, "ScreenMode", core::Window.ScreenMode);
  Field(out, "ClientWidth", core::Window.ClientWidth);
  Field(out, "ClientHeight", core::Window.ClientHeight);
  Field(out, "DisplayBits", core::Window.DisplayBits);
  out += ",\"shown\":[";
  for (int i = 0; i < 32; ++i) {
    const PALETTEENTRY& e = core::Screen.ShownPalette[i];
    if (i) out += ',';
    out += "[" + std::to_string(e.peRed) + "," + std::to_string(e.peGreen) + "," +
           std::to_string(e.peBlue) + "]";
  }
  out += "],\"blocks\":[";
  for (int i = 0; i < core::Memory.MemBlockCount; ++i) {
    std::string_view name(core::Memory.MemBlockTable[i].name);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    if (i) out += ',';
    out += "[" + JsonString(name) + "," + std::to_string(core::Memory.MemBlockTable[i].size) + "]";
  }
  out += "]}";
  return out;
}

}  // namespace shell
