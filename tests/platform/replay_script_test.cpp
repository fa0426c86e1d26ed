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
  // tick alone is one tick
  const std::pair<int, std::uint32_t> want[] = {{OP_KEY, 0x28}, {OP_TICK, 1},     {OP_TICK, 16},
                                                {OP_WAIT, 500}, {OP_MENU, 40003}, {OP_ACTIVATE, 0},
                                                {OP_SHOT, 0},   {OP_DUMP, 0},     {OP_KEY, 0x44},
                                                {OP_KEY, 0x62}, {OP_KEY, 0x7B}};
  ASSERT_EQ(s.size(), std::size(want));
  for (std::size_t i = 0; i < s.size(); i++) {
    EXPECT_EQ(s[i].op, want[i].first) << i;
    EXPECT_EQ(s[i].value, want[i].second) << i;
  }
  EXPECT_EQ(s[0].line, 3);
  EXPECT_EQ(s[6].file, "a.png"); // a Windows line end is not part of the name
}

TEST(ReplayScript, KeyNames) {
  const std::pair<const char*, int> names[] = {
      {"SPACE", 0x20},      {"escape", 0x1B}, {"F6", 0x75}, {"Q", 0x51},   {"7", 0x37},
      {"NONCONVERT", 0x1D}, {"F0", -1},       {"F25", -1},  {"0x100", -1}, {"0x0", -1},
      {"0xZZ", -1},         {"NUMPAD10", -1}, {"DOWNN", -1}};
  for (auto [name, code] : names) EXPECT_EQ(key_by_name(name), code) << name;
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
