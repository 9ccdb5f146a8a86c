#include "support/scenario_builder.h"

#include <gtest/gtest.h>

#include "authoring/block_encoder.h"
#include "authoring/charset.h"
#include "authoring/scn_assembler.h"
#include "authoring/scn_file.h"

namespace hotaru_test {
namespace {

Bytes EmptyBlock() {
  Bytes block(kCodeStart, 0);
  for (std::size_t entry = 0; entry < 256; ++entry) {
    block[2 + 2 * entry] = static_cast<std::uint8_t>(kCodeStart & 0xFF);
    block[3 + 2 * entry] = static_cast<std::uint8_t>(kCodeStart >> 8);
  }
  return block;
}

void SetEntry(Bytes& block, std::uint8_t entry, std::size_t offset) {
  block[2 + 2 * entry] = static_cast<std::uint8_t>(offset & 0xFF);
  block[3 + 2 * entry] = static_cast<std::uint8_t>(offset >> 8);
}

void PadTo16(Bytes& file) {
  while (file.size() % 16 != 0) file.push_back(0);
}

}  // namespace

// Messages not given are the empty text right after the table, so that every entry of a
// built table points inside its block.
ScenarioBuilder::ScenarioBuilder() : event_(EmptyBlock()), messages_(EmptyBlock()) {
  messages_.push_back(0xAF);
}

ScenarioBuilder& ScenarioBuilder::Label(std::uint8_t label) {
  SetEntry(event_, label, event_.size());
  return *this;
}

ScenarioBuilder& ScenarioBuilder::Code(std::initializer_list<std::uint8_t> bytes) {
  event_.insert(event_.end(), bytes.begin(), bytes.end());
  return *this;
}

ScenarioBuilder& ScenarioBuilder::Code(const Bytes& bytes) {
  event_.insert(event_.end(), bytes.begin(), bytes.end());
  return *this;
}

ScenarioBuilder& ScenarioBuilder::Message(std::uint8_t n, const Bytes& text) {
  SetEntry(messages_, n, messages_.size());
  messages_.insert(messages_.end(), text.begin(), text.end());
  return *this;
}

ScenarioBuilder& ScenarioBuilder::LabelAt(std::uint8_t label, std::uint16_t offset) {
  SetEntry(event_, label, offset);
  return *this;
}

ScenarioBuilder& ScenarioBuilder::MessageAt(std::uint8_t n, std::uint16_t offset) {
  SetEntry(messages_, n, offset);
  return *this;
}

Bytes ScenarioBuilder::Build() const { return File(event_, messages_); }

Bytes ScenarioBuilder::File(const Bytes& event_block, const Bytes& message_block) {
  Bytes file(16, 0);
  const Bytes event = authoring::PackBlock(event_block);
  const Bytes messages = authoring::PackBlock(message_block);
  const std::size_t event_at = file.size();
  file.insert(file.end(), event.begin(), event.end());
  PadTo16(file);
  const std::size_t message_at = file.size();
  file.insert(file.end(), messages.begin(), messages.end());
  file[0] = static_cast<std::uint8_t>(event_at / 16);
  file[1] = static_cast<std::uint8_t>(event_at / 16 >> 8);
  file[2] = static_cast<std::uint8_t>(message_at / 16);
  file[3] = static_cast<std::uint8_t>(message_at / 16 >> 8);
  return file;
}

Bytes ScenarioBuilder::Assemble(std::string_view source) {
  authoring::ScenarioBlocks blocks;
  const std::string problems =
      authoring::AssembleScenario(source, "test.hsc", authoring::Charset{}, &blocks);
  EXPECT_EQ(problems, "");
  if (!problems.empty()) return {};
  return authoring::BuildScenarioFile(blocks);
}

}  // namespace hotaru_test
