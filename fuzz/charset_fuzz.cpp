// The charset table parser and the message text source, on any input: the bytes before the
// first NUL are a table, the rest is both story text and message text bytes. Whatever reads
// without a problem must read back into the same glyphs and bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/charset.h"
#include "authoring/message_text_source.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = input.find('\0');
  const std::string_view table = input.substr(0, cut);
  const std::string_view rest = cut == std::string_view::npos ? "" : input.substr(cut + 1);

  authoring::Charset charset;
  if (!authoring::Charset::Parse(table, "fuzz", &charset).empty()) charset = authoring::Charset();

  std::vector<std::uint16_t> glyphs;
  if (charset.Encode(rest, &glyphs).empty()) {
    std::vector<std::uint16_t> again;
    if (!charset.Encode(charset.Decode(glyphs), &again).empty() || again != glyphs)
      __builtin_trap();
  }

  const std::span<const std::uint8_t> bytes(data + (size - rest.size()), rest.size());
  std::string problem;
  const std::string source = authoring::DecodeMessageText(bytes, charset, &problem);
  if (problem.empty()) {
    std::vector<std::uint8_t> back;
    if (!authoring::EncodeMessageText(source, charset, &back).empty() ||
        !std::equal(back.begin(), back.end(), bytes.begin(), bytes.end()))
      __builtin_trap();
  }
  return 0;
}
