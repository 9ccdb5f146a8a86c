#include "shell/state_dump.h"

#include <cstdio>
#include <string_view>

#include "core/game_state.h"
#include "core/memory_blocks.h"
#include "core/palette_state.h"
#include "core/scenario_state.h"
#include "core/shell_state.h"
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
  out.reserve(scenario::kGameStateSize * 6 + 4096);
  // The three game state records, each as hex digits.
  const auto record = [&](const char* name, const scenario::GameStateRecord& r) {
    out += std::string(out.size() > 1 ? "," : "") + "\"" + name + "\":\"";
    for (std::uint8_t b : r) {
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
    out += "\"";
  };
  record("state", scenario::GameState);
  record("resume", scenario::ResumeState);
  record("save_image", scenario::SaveImage);
  out += ",\"DataDir\":" + JsonString(DataDir);
  Field(out, "Music", Music);
  Field(out, "Pcm", Pcm);
  Field(out, "Skip", Skip);
  Field(out, "Mmv", Mmv);
  Field(out, "Low", Low);
  Field(out, "ScriptStop", scenario::ScriptStop);
  Field(out, "GamePhase", flow::GamePhase);
  Field(out, "SkipMode", SkipMode);
  Field(out, "SkipAllowed", scenario::SkipAllowed);
  Field(out, "ResumeValid", scenario::ResumeValid);
  Field(out, "PaletteState", visuals::PaletteState);
  Field(out, "ScreenMode", ScreenMode);
  Field(out, "ClientWidth", ClientWidth);
  Field(out, "ClientHeight", ClientHeight);
  Field(out, "DisplayBits", DisplayBits);
  out += ",\"shown\":[";
  for (int i = 0; i < 32; ++i) {
    const PALETTEENTRY& e = visuals::ShownPalette[i];
    if (i) out += ',';
    out += "[" + std::to_string(e.peRed) + "," + std::to_string(e.peGreen) + "," +
           std::to_string(e.peBlue) + "]";
  }
  out += "],\"blocks\":[";
  for (int i = 0; i < resources::MemBlockCount; ++i) {
    std::string_view name(resources::MemBlockTable[i].name);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    if (i) out += ',';
    out += "[" + JsonString(name) + "," + std::to_string(resources::MemBlockTable[i].size) + "]";
  }
  out += "]}";
  return out;
}

}  // namespace shell
