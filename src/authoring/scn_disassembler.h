// The scenario disassembler: both unpacked blocks of a scenario file as scenario source
// (docs/scenario-language.md), which the assembler turns back into the same bytes.
//
// Event code is read from the first byte after the label table, one instruction after the
// other; a byte that starts no instruction of the table, or an instruction cut by a label or
// by the block's end, becomes a `db` line. Label table entries name their offsets `L<n>`,
// jump targets that no label names `J<hex offset>`; entries and targets that point elsewhere
// are written as `.label` directives and numbers. Message texts start at the offsets of the
// message table (`M<n>`) and at any other text between them (`T<hex offset>`); bytes that
// form no whole text become `db` lines.
#pragma once

#include <string>
#include <string_view>

#include "authoring/charset.h"
#include "authoring/scn_file.h"

namespace authoring {

// The source of both blocks. `title` goes into the first comment line (a file name, say).
std::string DisassembleScenario(const ScenarioBlocks& blocks, const Charset& charset,
                                std::string_view title);

}  // namespace authoring
