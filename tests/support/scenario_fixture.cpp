#include "support/scenario_fixture.h"

#include <string>

#include "core/flags.h"
#include "core/format_text.h"
#include "core/memory_blocks.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "scenario/event_interpreter.h"
#include "scenario/scenario_loader.h"

namespace hotaru_test {

void ScenarioTest::SetUp() {
  PlatformTest::SetUp();
  Restart("");
}

void ScenarioTest::Restart(const std::string& script, std::optional<std::uint32_t> until,
                           int display_bits, int screen_width, int screen_height) {
  platform::headless::Options options;
  options.trace_ops = true;
  options.trace_presents = true;
  options.until_ms = until;
  options.display_bits = display_bits;
  options.screen_width = screen_width;
  options.screen_height = screen_height;
  RestartBackend(options, script);
  StartWindow();
}

void ScenarioTest::StartWindow() {
  ASSERT_TRUE(OpenWindow());
  // The reset leaves nothing loaded and play running, but keeps the EventPC a test before
  // left in the record.
  scenario::SetEventPC(0);
}

void ScenarioTest::WriteScenario(std::uint8_t n, const ScenarioBuilder& scenario) {
  WriteScenarioFile(n, scenario.Build());
}

void ScenarioTest::WriteScenarioFile(std::uint8_t n, const Bytes& file) {
  WriteBytes(dir() / core::FormatString("%03d.SCN", n), file);
}

void ScenarioTest::RunLabel(std::uint8_t n, std::uint8_t label) {
  scenario::EnterScenario(n, false);
  scenario::SetEventPC(scenario::LabelOffset(label));
  core::Scenario.ScriptStop = 0;
  scenario::RunEvents();
}

std::vector<ScenarioTest::TimedLine> ScenarioTest::TimedTraceOf(const std::string& kind) const {
  std::vector<TimedLine> out;
  for (const std::string& line : const_cast<ScenarioTest*>(this)->backend().trace_lines()) {
    const std::size_t kind_at = line.find(' ') + 1;
    const std::size_t details_at = line.find(' ', kind_at);
    if (line.compare(kind_at, details_at - kind_at, kind) != 0) continue;
    out.push_back({static_cast<std::uint32_t>(std::stoul(line)),
                   details_at == std::string::npos ? "" : line.substr(details_at + 1)});
  }
  return out;
}

std::vector<std::string> ScenarioTest::TraceOf(const std::string& kind) const {
  std::vector<std::string> out;
  for (const TimedLine& line : TimedTraceOf(kind)) out.push_back(line.details);
  return out;
}

std::vector<std::string> ScenarioTest::Ops() const {
  std::vector<std::string> out;
  for (const std::string& op : TraceOf("op")) out.push_back(op.substr(op.find(' ') + 1));
  return out;
}

std::vector<std::string> ScenarioTest::OpPlaces() const {
  std::vector<std::string> out;
  for (const std::string& op : TraceOf("op")) {
    out.push_back(op.substr(0, op.find(' ', op.find(' ') + 1)));
  }
  return out;
}

std::uint8_t ScenarioTest::ShownPixel(int x, int y) {
  std::uint8_t* p = core::LockPicture(core::Screen.VmemDIB);
  const std::uint8_t v = *core::PixelAt(p, x, y);
  core::MemUnlock(core::Screen.VmemDIB);
  return v;
}

std::uint8_t ScenarioTest::Flag(std::uint8_t n) { return core::Flag(n); }
void ScenarioTest::SetFlag(std::uint8_t n, std::uint8_t v) { core::SetFlag(n, v); }

}  // namespace hotaru_test
