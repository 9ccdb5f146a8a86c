// Scenario files for tests: event code as raw bytes with labels, message texts, packed
// into a .SCN file with the real block encoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace hotaru_test {

using Bytes = std::vector<std::uint8_t>;

class ScenarioBuilder {
 public:
  ScenarioBuilder();

  // Label L begins at the next code byte.
  ScenarioBuilder& Label(std::uint8_t label);
  // Appends raw event code.
  ScenarioBuilder& Code(std::initializer_list<std::uint8_t> bytes);
  ScenarioBuilder& Code(const Bytes& bytes);
  // The offset in EVENT DATA of the next code byte.
  std::size_t Here() const { return event_.size(); }
  // Message n: `text` as given (end it with 0xAF yourself to make it well formed).
  ScenarioBuilder& Message(std::uint8_t n, const Bytes& text);

  // Direct table entries, for damaged tables.
  ScenarioBuilder& LabelAt(std::uint8_t label, std::uint16_t offset);
  ScenarioBuilder& MessageAt(std::uint8_t n, std::uint16_t offset);

  // The unpacked blocks: u16 0, the 256-entry table, the code or texts. Labels not given
  // point at the first code byte, messages not given at an empty text (0xAF) after the
  // table.
  const Bytes& EventBlock() const { return event_; }
  const Bytes& MessageBlock() const { return messages_; }

  // The scenario file: E and M, then each block packed at the next multiple of 16.
  Bytes Build() const;
  // A scenario file from unpacked blocks given as they are.
  static Bytes File(const Bytes& event_block, const Bytes& message_block);
  // A scenario file from source in the scenario language (glyphs written as <gN>); a
  // source that does not assemble fails the test and gives an empty file.
  static Bytes Assemble(std::string_view source);

 private:
  Bytes event_;
  Bytes messages_;
};

// The table entries start after u16 0; code and texts after the 256 entries.
constexpr std::size_t kCodeStart = 2 + 2 * 256;

}  // namespace hotaru_test
