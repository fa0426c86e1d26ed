// The default game's events as the build compiled them into the game folder,
// read back as the game reads them, and run with either answer.
#include "event_helpers.h"
#include "state/data_files.h"
#include "state/state.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string game_file(const char* name) {
  const char* dir = std::getenv("ZK_GAME_DIR");
  return std::string(dir ? dir : ".") + "/" + name;
}

// Reads eventdat.evt and eventmsg.mgb from the game folder through the
// game's own readers.
void load_game_events() {
  reset_event_state();
  std::FILE* f = std::fopen(game_file("eventdat.evt").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(read_event_table(f), READ_OK);
  std::fclose(f);
  f = std::fopen(game_file("eventmsg.mgb").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(read_event_messages(f), READ_OK);
  std::fclose(f);
}

} // namespace

TEST(default_events, messages_read_by_the_game_are_the_compiled_texts) {
  load_game_events();
  std::ifstream in(game_file("eventmsg.msg"), std::ios::binary);
  std::string line;
  int n = 0;
  while (std::getline(in, line)) {
    EXPECT_EQ(std::string(event_msg[n]), line) << n;
    n++;
  }
  EXPECT_GT(n, 40);
  EXPECT_EQ(event_msg[n][0], 0);
}

TEST(default_events, new_game_opening_is_event_255) {
  load_game_events();
  fresh_game();
  event_start(255);
  ASSERT_FALSE(shown().empty());
  EXPECT_EQ(shown()[0], "遥か昔、十二の国がひとつの海に浮かんでいた。");
  EXPECT_EQ(ev.last_error, 0);
  EXPECT_EQ(ev.wait_answer, 0);
}

TEST(default_events, every_event_runs_to_its_end_with_either_answer) {
  for (u32 answer : {0x59u, 0x4Eu}) {
    load_game_events();
    fresh_game();
    st.sb.party[0].hp = st.sb.party[0].hp_max = 30;
    for (int n = 0; n < EVENT_COUNT; n++) {
      if (event_table[n].length == 0) continue;
      event_start(n);
      for (int keys = 0; ev.wait_answer && keys < 10; keys++) event_key(answer);
      EXPECT_EQ(ev.wait_answer, 0) << n;
      EXPECT_EQ(ev.last_error, 0) << n;
      for (const std::string& s : shown()) EXPECT_FALSE(s.empty()) << n;
    }
    EXPECT_TRUE(ending_is_shown());
  }
}

TEST(default_events, the_event_door_lets_the_party_in_only_once_it_is_opened) {
  load_game_events();
  fresh_game();
  EXPECT_EQ(event_door(4), 1);
  st.npc_table[3].a = 2;
  event_talk(3); // the hermit gives the pass
  EXPECT_EQ(ev.event_person, 3);
  EXPECT_EQ(event_door(4), 1); // still shut while the question waits
  event_key(0x59);
  EXPECT_EQ(st.sb.flags[255], 1);
  EXPECT_EQ(event_door(4), 0); // the next try goes through
  EXPECT_EQ(event_door(4), 0); // and arriving on the door tile runs it again
  EXPECT_EQ(ev.wait_answer, 0);
}
