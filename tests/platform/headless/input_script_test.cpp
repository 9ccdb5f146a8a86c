#include <gtest/gtest.h>

#include "platform/headless/input_script.h"
#include "platform/win32.h"

namespace platform::headless {
namespace {

TEST(InputScript, ParsesAbsoluteAndRelativeTimesAndEveryAction) {
  InputScript s;
  std::string error;
  ASSERT_TRUE(ParseInputScript(R"(# a comment
at 100 click 10 20
+50 rclick
+0 move 3 4   # trailing comment
at 500 key Enter 1000
+5 menu 40003
+5 msgbox cancel
+5 dialog Music=0 Pcm=1 ok
+5 shot a.png
+5 dump b.json
+5 close
+5 deactivate
+5 wheel -2
)",
                               &s, &error))
      << error;
  ASSERT_EQ(s.actions.size(), 12u);
  EXPECT_EQ(s.actions[0].time, 100u);
  EXPECT_TRUE(s.actions[0].has_position);
  EXPECT_EQ(s.actions[1].time, 150u);
  EXPECT_FALSE(s.actions[1].has_position);
  EXPECT_EQ(s.actions[2].time, 150u);
  EXPECT_EQ(s.actions[3].key, VK_RETURN);
  EXPECT_EQ(s.actions[3].hold_ms, 1000u);
  EXPECT_EQ(s.actions[4].id, 40003);
  EXPECT_FALSE(s.actions[5].ok);
  ASSERT_EQ(s.actions[6].boxes.size(), 2u);
  EXPECT_EQ(s.actions[6].boxes[0], (std::pair<std::string, int>{"Music", 0}));
  EXPECT_EQ(s.actions[7].path, "a.png");
  EXPECT_EQ(s.actions[9].kind, ActionKind::Close);
  EXPECT_FALSE(s.actions[10].ok);
  EXPECT_EQ(s.actions[11].kind, ActionKind::Wheel);
  EXPECT_EQ(s.actions[11].id, -2);
}

TEST(InputScript, SortsByTimeKeepingLineOrderForEqualTimes) {
  InputScript s;
  std::string error;
  ASSERT_TRUE(ParseInputScript("at 200 menu 1\nat 100 menu 2\nat 100 menu 3\n", &s, &error));
  EXPECT_EQ(s.actions[0].id, 2);
  EXPECT_EQ(s.actions[1].id, 3);
  EXPECT_EQ(s.actions[2].id, 1);
}

TEST(InputScript, RejectsBadLinesWithTheirNumber) {
  const char* bad[] = {"click 1 2",
                       "at x click",
                       "at 5 jump",
                       "at 5 key f1",
                       "at 5 move 1",
                       "at 5 msgbox maybe",
                       "at 5 dialog Music=2 ok",
                       "at 5 menu",
                       "at 5 close now",
                       "at 5 wheel",
                       "at 5 wheel 0",
                       "at 5 wheel up"};
  for (const char* line : bad) {
    InputScript s;
    std::string error;
    EXPECT_FALSE(ParseInputScript(std::string("# ok\n") + line + "\n", &s, &error)) << line;
    EXPECT_EQ(error.rfind("2: ", 0), 0u) << line << " -> " << error;
  }
}

}  // namespace
}  // namespace platform::headless
