// Tests of the scenario engine: the program's window on the headless backend with the op
// trace on, scenario files written loose into the data folder, and runs of the interpreter.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/platform_fixture.h"
#include "support/scenario_builder.h"

namespace hotaru_test {

class ScenarioTest : public PlatformTest {
 protected:
  void SetUp() override;

  // Starts again with this input script and, when given, a time at which the run ends, on a
  // display of `display_bits` per pixel and a screen of `screen_width` × `screen_height`.
  void Restart(const std::string& script, std::optional<std::uint32_t> until = {},
               int display_bits = 8, int screen_width = 1024, int screen_height = 768);
  // Writes scenario n as the loose file NNN.SCN.
  void WriteScenario(std::uint8_t n, const ScenarioBuilder& scenario);
  void WriteScenarioFile(std::uint8_t n, const Bytes& file);
  // Loads scenario n without running its entry routine, then runs the interpreter once
  // from label `label` as the play loop's top level.
  void RunLabel(std::uint8_t n, std::uint8_t label);

  // The op trace as "OFFSET MNEMONIC OPERANDS" (scenario number dropped), in order.
  std::vector<std::string> Ops() const;
  // The scenario numbers and offsets of the op trace, as "SCENARIO OFFSET".
  std::vector<std::string> OpPlaces() const;
  // Trace lines of one kind, details only; TimedTraceOf keeps each line's time.
  struct TimedLine {
    std::uint32_t ms;
    std::string details;
  };
  std::vector<TimedLine> TimedTraceOf(const std::string& kind) const;
  std::vector<std::string> TraceOf(const std::string& kind) const;

  // The pixel value at (x, y) of the shown picture, VmemDIB.
  static std::uint8_t ShownPixel(int x, int y);

  static std::uint8_t Flag(std::uint8_t n);
  static void SetFlag(std::uint8_t n, std::uint8_t v);

 private:
  void StartWindow();
};

}  // namespace hotaru_test
