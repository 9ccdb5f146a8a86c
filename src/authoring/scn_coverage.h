// The coverage of a story: what of the engine the scenario files reach on their branches,
// and what they never do.
//
// The walk starts where a new game starts, scenario 0 (its entry routine, label 0, and then
// label 1), and follows every way the story can go: both ways of each conditional jump and
// yes/no question, every option of a choice, calls, and scenario jumps into the other file
// (its entry routine, then the label jumped to). Along it, it counts the opcodes met and the
// messages shown (msg, msg_wipe, a choice's question and options, the wave scenes of `sub`),
// and in those messages the text codes and the event operations written in the text. The
// operands that pick a transition, a scene-clearing effect, a show style, a colour effect or
// a character place are counted too, from the instructions and from the scene-change codes.
//
// Which branch a flag really takes is not asked: a branch counts when some way of the code
// leads there. A message shown by msg after a text armed a wave scene counts as shown as
// usual. Operand values the game does not define, and what the walk cannot follow (a file
// that does not unpack, a scenario jump to no file), are findings.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "authoring/scn_set.h"

namespace authoring {

// One kind of thing counted: how many there are, and the names of those never reached, in
// the order of their table.
struct CoverageTally {
  std::string what;  // "opcodes"
  std::size_t total = 0;
  std::vector<std::string> never;
  std::size_t Reached() const { return total - never.size(); }
};

struct ScenarioCoverage {
  // Scenario files, opcodes, text codes, transitions, scene-clearing effects, show styles,
  // colour effects, character places, in this order.
  std::vector<CoverageTally> tallies;
  // FindingLine form, by scenario number and offset.
  std::vector<std::string> findings;

  // Everything reached and nothing found.
  bool Complete() const;
};

ScenarioCoverage MeasureCoverage(const std::vector<UnpackedScenario>& scenarios);

// The report for people: one block per tally ("opcodes: reached 40 of 76" and the names
// never reached), the findings, and a summary line. Stable: the same coverage gives the same
// text.
std::string CoverageReport(const ScenarioCoverage& coverage);

}  // namespace authoring
