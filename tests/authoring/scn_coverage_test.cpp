// The coverage of a story: what the walk from a new game counts and what it leaves out, the
// operands of the scene-change codes, and values outside their range as findings.
#include "authoring/scn_coverage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "support/scenario_builder.h"

namespace {

using hotaru_test::ScenarioBuilder;

// Scenario files from source, by number.
authoring::ScenarioCoverage Measure(const std::vector<std::pair<int, std::string>>& sources) {
  std::vector<authoring::ScenarioFile> files;
  for (const auto& [number, source] : sources) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.SCN", number);
    files.push_back({number, name, ScenarioBuilder::Assemble(source), {}});
  }
  return authoring::MeasureCoverage(authoring::UnpackScenarios(files));
}

const authoring::CoverageTally& Tally(const authoring::ScenarioCoverage& coverage,
                                      const std::string& what) {
  const auto it = std::find_if(coverage.tallies.begin(), coverage.tallies.end(),
                               [&](const authoring::CoverageTally& t) { return t.what == what; });
  EXPECT_NE(it, coverage.tallies.end()) << what;
  return *it;
}

// The numbers reached of a numbered tally ("3 diamonds"), in order.
std::vector<int> ReachedNumbers(const authoring::ScenarioCoverage& coverage,
                                const std::string& what, int first = 0) {
  const authoring::CoverageTally& tally = Tally(coverage, what);
  std::vector<int> reached;
  for (int n = first; n < first + static_cast<int>(tally.total); ++n) {
    const std::string prefix = std::to_string(n) + " ";
    if (std::none_of(tally.never.begin(), tally.never.end(),
                     [&](const std::string& name) { return name.starts_with(prefix); }))
      reached.push_back(n);
  }
  return reached;
}

bool Never(const authoring::ScenarioCoverage& coverage, const std::string& what,
           const std::string& name) {
  const auto& never = Tally(coverage, what).never;
  return std::find(never.begin(), never.end(), name) != never.end();
}

TEST(ScnCoverageTest, FollowsEveryBranchButNotCodeNoWayLeadsTo) {
  const auto coverage = Measure({{0,
                                  "L0: transition 1\n"
                                  "    end\n"
                                  "L1: choice \"<g1>\" \"<g2>\" first \"<g3>\" second\n"
                                  "first:\n"
                                  "    end\n"
                                  "second:\n"
                                  "    transition 2      ; only through the second option\n"
                                  "    jyes answered\n"
                                  "    transition 3      ; a no goes on here\n"
                                  "answered:\n"
                                  "    call sub\n"
                                  "    jump over\n"
                                  "    transition 4      ; after a jump, and no label points here\n"
                                  "over:\n"
                                  "    msg_wipe \"<g4>{transition:5}\"\n"
                                  "    end\n"
                                  "sub:\n"
                                  "    transition 6\n"
                                  "    end\n"
                                  "L9: transition 7      ; a label nothing uses\n"
                                  "    end\n"}});
  EXPECT_EQ(ReachedNumbers(coverage, "transitions"), (std::vector<int>{1, 2, 3, 5, 6}));
  EXPECT_TRUE(Never(coverage, "opcodes", "jne"));
  EXPECT_FALSE(Never(coverage, "opcodes", "msg_wipe"));
  EXPECT_TRUE(coverage.findings.empty());
}

TEST(ScnCoverageTest, AScenarioJumpBringsInTheOtherFileFromItsEntryRoutineAndLabel) {
  const auto coverage = Measure({{0, "L0: end\nL1: scenario 1 L2\n"},
                                 {1,
                                  "L0: clear_scene 1\n"
                                  "    end\n"
                                  "L1: clear_scene 2   ; not where the jump goes\n"
                                  "    end\n"
                                  "L2: clear_scene 3\n"
                                  "    scenario 7 L1\n"},
                                 {2, "L0: clear_scene 4\n    end\nL1: end\n"}});
  EXPECT_EQ(ReachedNumbers(coverage, "scene-clearing effects"), (std::vector<int>{1, 3}));
  EXPECT_EQ(Tally(coverage, "scenario files").never, (std::vector<std::string>{"002.SCN"}));
  EXPECT_EQ(coverage.findings,
            (std::vector<std::string>{"001.SCN: EVENT DATA 0x020A: scenario to scenario 7, "
                                      "which has no file (007.SCN)"}));
}

TEST(ScnCoverageTest, SceneChangeCodesCountTheirTransitionEffectAndPlaces) {
  struct Case {
    const char* text;
    std::vector<int> transitions, effects, places;
  };
  const Case cases[] = {
      {"{bg_change:3,4,5}", {5}, {4}, {}},
      {"{bg_always:3,255,255}", {}, {}, {}},
      // Effect 18 clears nothing in the four scene changes, but does in the combined one.
      {"{event_v_change:1,18,6}", {6}, {}, {}},
      {"{event_h_change:1,12,19}", {19}, {12}, {}},
      {"{bg_chara:6,1,3,18,7}", {7}, {18}, {2}},
      // A place with its mode (p + 4); picture 255 shows no character.
      {"{chara_change:5,1}{chara_add:0,255}", {}, {}, {1}},
      {"{chara3:0,1,4,2,2,255}", {}, {}, {0}},
  };
  for (const Case& c : cases) {
    const auto coverage =
        Measure({{0, std::string("L0: end\nL1: msg \"") + c.text + "\"\n    end\n"}});
    EXPECT_EQ(ReachedNumbers(coverage, "transitions"), c.transitions) << c.text;
    EXPECT_EQ(ReachedNumbers(coverage, "scene-clearing effects"), c.effects) << c.text;
    EXPECT_EQ(ReachedNumbers(coverage, "character places"), c.places) << c.text;
    EXPECT_TRUE(coverage.findings.empty()) << c.text;
  }
}

TEST(ScnCoverageTest, ValuesOutsideTheirRangeAndCodesAWaveScenePassesOverAreFindings) {
  const auto coverage =
      Measure({{0,
                "L0: end\n"
                "L1: transition 25\n"
                "    show 4 5\n"
                "    colour_pending 7\n"
                "    chara 3 1\n"
                "    chara 3 255       ; no character, nowhere: nothing to say\n"
                "    msg \"{clear_scene:20}{bg_change:1,255,30}{chara_only:7,2}\"\n"
                "    sub 1 \"<g5>{nl}{quake}{bg:2}{wait_page}\" 0 0\n"
                "    end\n"}});
  EXPECT_EQ(coverage.findings,
            (std::vector<std::string>{
                "000.SCN: EVENT DATA 0x0203: transition 25 is not one of 0-19: the game runs 0",
                "000.SCN: EVENT DATA 0x0205: show style 4 is not one of 0-3: nothing is shown",
                "000.SCN: EVENT DATA 0x0205: show area 5 is not one of 0-3 (0 the whole screen): "
                "nothing is shown",
                "000.SCN: EVENT DATA 0x0208: colour effect 7 is not one of 0-6: it is recorded "
                "and changes no colour",
                "000.SCN: EVENT DATA 0x020A: character place 3 is not one of 0-2: the character "
                "is not shown",
                "000.SCN: MESSAGE DATA 0x0202: scene-clearing effect 20 is not one of 0-19: the "
                "game runs 0",
                "000.SCN: MESSAGE DATA 0x0204: transition 30 is not one of 0-19: the game runs 0",
                "000.SCN: MESSAGE DATA 0x0208: character place 3 is not one of 0-2: the "
                "character is not shown",
                "000.SCN: MESSAGE DATA 0x020F: {quake} in a wave scene's text, whose typewriter "
                "passes over it",
                "000.SCN: MESSAGE DATA 0x0210: {bg} in a wave scene's text, whose typewriter "
                "passes over it",
            }));
  // What the typewriter passes over is not reached; what it carries out is.
  EXPECT_TRUE(Never(coverage, "opcodes", "bg"));
  EXPECT_TRUE(Never(coverage, "text codes", "{quake}"));
  EXPECT_FALSE(Never(coverage, "text codes", "{wait_page}"));
  EXPECT_FALSE(coverage.Complete());
}

TEST(ScnCoverageTest, FilesThatCannotBeWalkedAreFindingsNotCrashes) {
  std::vector<authoring::ScenarioFile> files = {
      {0, "000.SCN", ScenarioBuilder::Assemble("L0: end\nL1: scenario 1 L1\n"), {}},
      {1, "001.SCN", {1, 2, 3}, {}},
      {2, "002.SCN", {}, "cannot open 002.SCN"},
  };
  const auto coverage = authoring::MeasureCoverage(authoring::UnpackScenarios(files));
  EXPECT_EQ(coverage.findings,
            (std::vector<std::string>{
                "001.SCN: does not unpack: the header is cut short (3 bytes, 4 needed)",
                "002.SCN: cannot be read: cannot open 002.SCN"}));
  EXPECT_EQ(Tally(coverage, "scenario files").never, (std::vector<std::string>{"002.SCN"}));

  const auto no_start = authoring::MeasureCoverage(authoring::UnpackScenarios({files[1]}));
  EXPECT_EQ(no_start.findings.front(), "000.SCN: the story starts here, and there is no such file");
}

TEST(ScnCoverageTest, TheReportSaysHowMuchIsReachedAndNamesTheRest) {
  const auto coverage = Measure({{0,
                                  "L0: end\n"
                                  "L1: bg 1\n"
                                  "    transition 3\n"
                                  "    colour_fade 5\n"
                                  "    msg \"<g1>{wait_page}\"\n"
                                  "    end\n"},
                                 {4, "L0: end\n"}});
  const std::string report = authoring::CoverageReport(coverage);
  EXPECT_TRUE(
      report.starts_with("scenario files: reached 1 of 2\n"
                         "  never reached: 004.SCN\n"
                         "opcodes: reached 5 of 76\n"
                         "  never reached: sub, call, wait, scenario, choice, click,"))
      << report;
  EXPECT_TRUE(report.find("\ntransitions: reached 1 of 20\n"
                          "  never reached: 0 fade in, 1 spiral blocks, 2 random blocks, "
                          "4 diamond wave, 5 dither, 6 blinds,\n") != std::string::npos)
      << report;
  EXPECT_TRUE(
      report.ends_with("colour effects: reached 1 of 6\n"
                       "  never reached: 1 grey, 2 red, 3 green, 4 blue, 6 dim\n"
                       "character places: reached 0 of 3\n"
                       "  never reached: 0 left, 1 right, 2 centre\n"
                       "findings: 0\n"
                       "152 never reached, 0 findings\n"))
      << report;
  for (std::size_t from = 0, to; (to = report.find('\n', from)) != std::string::npos; from = to + 1)
    EXPECT_LE(to - from, 100u) << report.substr(from, to - from);
}

}  // namespace
