#include "tools/replay/script.h"

#include <gtest/gtest.h>

namespace {

std::string error_of(const std::string& text) {
  std::vector<replay_step> steps;
  std::string error;
  return parse_script(text, steps, &error) == 0 ? "" : error;
}

} // namespace

TEST(ReplayScript, ReadsEveryCommand) {
  std::vector<replay_step> s;
  std::string error;
  ASSERT_EQ(parse_script("# a walk\n\nkey DOWN\ntick\ntick 16\nwait 500\nmenu 40003\n"
                         "activate 0\nshot a.png\r\ndump b.json\nkey 0x44\nkey numpad2\nkey F12\n",
                         s, &error),
            0)
      << error;
  ASSERT_EQ(s.size(), 11u);
  EXPECT_EQ(s[0].op, OP_KEY);
  EXPECT_EQ(s[0].value, 0x28u);
  EXPECT_EQ(s[0].line, 3);
  EXPECT_EQ(s[1].value, 1u); // tick alone is one tick
  EXPECT_EQ(s[2].value, 16u);
  EXPECT_EQ(s[3].op, OP_WAIT);
  EXPECT_EQ(s[4].value, 40003u);
  EXPECT_EQ(s[5].value, 0u);
  EXPECT_EQ(s[6].file, "a.png"); // a Windows line end is not part of the name
  EXPECT_EQ(s[7].op, OP_DUMP);
  EXPECT_EQ(s[8].value, 0x44u);
  EXPECT_EQ(s[9].value, 0x62u);
  EXPECT_EQ(s[10].value, 0x7Bu);
}

TEST(ReplayScript, KeyNames) {
  EXPECT_EQ(key_by_name("SPACE"), 0x20);
  EXPECT_EQ(key_by_name("escape"), 0x1B);
  EXPECT_EQ(key_by_name("F6"), 0x75);
  EXPECT_EQ(key_by_name("Q"), 0x51);
  EXPECT_EQ(key_by_name("7"), 0x37);
  EXPECT_EQ(key_by_name("NONCONVERT"), 0x1D);
  EXPECT_EQ(key_by_name("F0"), -1);
  EXPECT_EQ(key_by_name("F25"), -1);
  EXPECT_EQ(key_by_name("0x100"), -1);
  EXPECT_EQ(key_by_name("0x0"), -1);
  EXPECT_EQ(key_by_name("0xZZ"), -1);
  EXPECT_EQ(key_by_name("NUMPAD10"), -1);
  EXPECT_EQ(key_by_name("DOWNN"), -1);
}

TEST(ReplayScript, ErrorsNameTheirLine) {
  EXPECT_EQ(error_of("tick\njump 3\n"), "line 2: unknown command \"jump\"");
  EXPECT_EQ(error_of("key\n"), "line 1: key takes one key name");
  EXPECT_EQ(error_of("\n\nkey PAUSEBREAK\n"), "line 3: unknown key \"PAUSEBREAK\"");
  EXPECT_EQ(error_of("tick -1\n"), "line 1: bad tick count \"-1\"");
  EXPECT_EQ(error_of("tick 2 3\n"), "line 1: tick takes at most one count");
  EXPECT_EQ(error_of("tick 5x\n"), "line 1: bad tick count \"5x\"");
  EXPECT_EQ(error_of("wait\n"), "line 1: wait takes milliseconds");
  EXPECT_EQ(error_of("menu 70000\n"), "line 1: menu takes a command id");
  EXPECT_EQ(error_of("activate 2\n"), "line 1: activate takes 0 or 1");
  EXPECT_EQ(error_of("shot\n"), "line 1: shot takes one file name");
  EXPECT_EQ(error_of("dump a b\n"), "line 1: dump takes one file name");
  EXPECT_EQ(error_of("  # indented comment\n\t\nKEY DOWN\n"), "line 3: unknown command \"KEY\"");
}
