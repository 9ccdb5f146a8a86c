// The scenario disassembler and assembler on any unpacked blocks: whatever the blocks hold,
// the source the disassembler writes assembles without a problem into the same bytes. The
// coverage walk goes over the same blocks, which must never read outside them.
//
// Input: a mode byte, two bytes that split the rest into the event block and the message
// block, then the blocks' bytes. Mode bit 0 puts a table in front of each block whose
// entries point mostly inside it (as in real scenario files), bit 1 reads text without a
// charset table.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "authoring/charset.h"
#include "authoring/scn_assembler.h"
#include "authoring/scn_coverage.h"
#include "authoring/scn_disassembler.h"
#include "authoring/scn_file.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const authoring::Charset& FuzzCharset() {
  static const authoring::Charset charset = [] {
    authoring::Charset table;
    // '"' and ';' glyphs stress the quoting of texts and comments.
    authoring::Charset::Parse("1=　\n28=０\n100=あ\n175=れ\n300=ァ\n500=\"\n501=;\n502=}\n503=>\n",
                              "fuzz", &table);
    return table;
  }();
  return charset;
}

// The bytes behind a table whose entries are drawn from the bytes themselves: mostly inside
// the block, now and then at its end or far past it.
Bytes WithTable(std::span<const std::uint8_t> body) {
  Bytes block(authoring::kScnBodyStart, 0);
  for (std::size_t n = 0; n < authoring::kScnTableEntries; ++n) {
    const std::uint8_t seed = body.empty() ? static_cast<std::uint8_t>(n) : body[n % body.size()];
    const std::size_t offset =
        seed == 0xFF ? 0xFFFF : authoring::kScnBodyStart + (seed * 7u + n) % (body.size() + 2);
    block[2 + 2 * n] = static_cast<std::uint8_t>(offset & 0xFF);
    block[3 + 2 * n] = static_cast<std::uint8_t>(offset >> 8 & 0xFF);
  }
  block.insert(block.end(), body.begin(), body.end());
  return block;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::uint8_t mode = data[0];
  const std::span<const std::uint8_t> rest(data + 3, size - 3);
  const std::size_t split = static_cast<std::size_t>(data[1] | data[2] << 8) % (rest.size() + 1);
  authoring::ScenarioBlocks blocks;
  if (mode & 1) {
    blocks.event = WithTable(rest.first(split));
    blocks.messages = WithTable(rest.subspan(split));
  } else {
    blocks.event.assign(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(split));
    blocks.messages.assign(rest.begin() + static_cast<std::ptrdiff_t>(split), rest.end());
  }
  const authoring::Charset none;
  const authoring::Charset& charset = mode & 2 ? none : FuzzCharset();

  const std::string source = authoring::DisassembleScenario(blocks, charset, "fuzz");
  authoring::ScenarioBlocks back;
  if (!authoring::AssembleScenario(source, "fuzz.scn", charset, &back).empty()) __builtin_trap();
  if (back.event != blocks.event || back.messages != blocks.messages) __builtin_trap();

  // As scenario 0, where the story starts, and scenario 1, for its scenario jumps to land in.
  std::vector<authoring::UnpackedScenario> set(2);
  for (int number : {0, 1}) {
    set[static_cast<std::size_t>(number)] = {
        number, authoring::ScenarioName(number), true, blocks, {}};
  }
  if (authoring::CoverageReport(authoring::MeasureCoverage(set)).empty()) __builtin_trap();
  return 0;
}
