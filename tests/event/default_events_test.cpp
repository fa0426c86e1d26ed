// The default game's story as the build compiled it into the game folder,
// read back as the game reads them, and run through the interpreter.
#include "event_test.h"
#include "state/data_files.h"
#include "state/state.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr u32 KEY_Y = 0x59, KEY_N = 0x4E;

// Reads eventdat.evt and eventmsg.mgb from the game folder through the
// game's own readers, into a fresh game.
void load_game_events() {
  reset_event_state();
  using reader_fn = int (*)(std::FILE*);
  for (auto [name, reader] : {std::pair<const char*, reader_fn>{"/eventdat.evt", read_event_table},
                              {"/eventmsg.mgb", read_event_messages}}) {
    std::FILE* f = std::fopen((std::string(ZK_GAME_DIR) + name).c_str(), "rb");
    ASSERT_NE(f, nullptr) << name;
    EXPECT_EQ(reader(f), READ_OK) << name;
    std::fclose(f);
  }
  fresh_game();
}

int in_bag(int item) {
  int n = 0;
  for (u8 e : game.sb.bag) n += e == item;
  return n;
}

// Starts event n and gives every question the same answer.
void run(int n, u32 key = KEY_Y) {
  event_start(n);
  for (int k = 0; events.wait_answer && k < 10; k++) event_key(key);
}

// The same through a person whose talk starts event n.
void talk(int n, u32 key = KEY_Y) {
  game.npc_table[0].type = 2;
  game.npc_table[0].a = static_cast<u8>(n);
  event_talk(0);
  for (int k = 0; events.wait_answer && k < 10; k++) event_key(key);
}

// What event n tests: (0, flag), (1, item in the bag), (2, item carried).
std::vector<std::pair<int, int>> conditions(int n) {
  std::vector<std::pair<int, int>> out;
  const event_record& r = event_table[n];
  for (int p = 0; p + 2 < r.length; p++) {
    if (r.code[p] != sci_if) continue;
    int q = r.code[p + 1];
    if (q == sci_system || q == sci_sysitem || q == sci_item)
      out.push_back({q == sci_system ? 0 : q == sci_sysitem ? 1 : 2, r.code[p + 2]});
  }
  return out;
}

// Sets the state that the bits of mask choose for the conditions.
void set_conditions(const std::vector<std::pair<int, int>>& c, unsigned mask) {
  for (size_t i = 0; i < c.size() && i < 8; i++) {
    u8 on = (mask >> i) & 1;
    if (c[i].first == 0) game.sb.flags[c[i].second] = on;
    if (c[i].first == 1) game.sb.bag[i] = on ? static_cast<u8>(c[i].second) : 0;
    if (c[i].first == 2) game.sb.party[0].items[i] = on ? static_cast<u8>(c[i].second) : 0;
  }
}

} // namespace

TEST(default_events, every_event_runs_to_its_end_in_every_state_with_either_answer) {
  load_game_events();
  event_start(255); // the new game's opening
  ASSERT_GE(shown().size(), 8u);
  EXPECT_EQ(shown()[0], "十二の国が、ひとつの海に抱かれた世界。");
  EXPECT_EQ(events.wait_answer, 0);
  for (int n = 0; n < EVENT_COUNT; n++) {
    if (event_table[n].length == 0) continue;
    std::vector<std::pair<int, int>> c = conditions(n);
    unsigned states = 1u << (c.size() < 8 ? c.size() : 8);
    for (unsigned mask = 0; mask < states; mask++)
      for (u32 key : {KEY_Y, KEY_N}) {
        SCOPED_TRACE(testing::Message() << "event " << n << " state " << mask << " key " << key);
        fresh_game();
        game.sb.party[0].hp = game.sb.party[0].hp_max = 30;
        set_conditions(c, mask);
        run(n, key);
        EXPECT_EQ(events.wait_answer, 0);
        EXPECT_EQ(events.last_error, 0);
        EXPECT_EQ(events.ending_shown, n == 250 ? 1 : 0);
      }
  }
}

TEST(default_events, the_main_quest_hands_each_land_what_the_next_needs) {
  load_game_events();
  talk(21, KEY_N); // the elder's letter, refused
  EXPECT_EQ(in_bag(199), 0);
  talk(21, KEY_Y);
  talk(21, KEY_Y);
  EXPECT_EQ(in_bag(199), 1);
  run(10);
  run(11); // the great gear raises the causeway to Turk
  EXPECT_EQ(game.sb.flags[83], 1);
  talk(31, KEY_N);
  EXPECT_EQ(has_key(2), 0);
  talk(31, KEY_Y); // the pass opens the lake shrine's door
  EXPECT_EQ(has_key(2), 1);
  talk(37);
  EXPECT_EQ(in_bag(160), 0) << "no ship before the helm is found";
  run(12);
  talk(37);
  talk(37);
  EXPECT_EQ(in_bag(160), 1);
  talk(51); // the Master takes the letter and gives the disc
  EXPECT_EQ(in_bag(199), 0);
  EXPECT_EQ(in_bag(200), 1);
  for (int goal : {13, 14, 17}) run(goal);
  EXPECT_EQ(in_bag(201) + in_bag(202) + in_bag(203), 3);
  EXPECT_EQ(events.last_error, 0);
  EXPECT_EQ(events.ending_shown, 0);
}

TEST(default_events, rewards_are_given_once) {
  load_game_events();
  i32 gold = game.sb.gold;
  talk(61);
  talk(61);
  EXPECT_EQ(game.sb.gold, gold + 100);
  u16 str = game.sb.party[0].str;
  run(10);
  run(10);
  EXPECT_EQ(game.sb.party[0].str, str + 2);
  talk(46, KEY_Y);
  talk(46, KEY_Y);
  EXPECT_EQ(game.sb.gold, gold + 400);
  fresh_game();
  u16 mag = game.sb.party[0].mag;
  talk(46, KEY_N); // the modest answer gets magic instead of gold
  talk(46, KEY_Y);
  EXPECT_EQ(game.sb.gold, gold);
  EXPECT_EQ(game.sb.party[0].mag, mag + 3);
}

TEST(default_events, the_ending_follows_the_last_of_its_pages) {
  load_game_events();
  event_start(250);
  int keys = 0;
  for (; events.wait_answer && keys < 10; keys++) {
    EXPECT_EQ(events.ending_shown, 0) << "page " << keys;
    EXPECT_FALSE(file_exists("rpgpcd.pcd")) << "saved before the end, page " << keys;
    event_key(KEY_N);
  }
  EXPECT_EQ(keys, 3);
  EXPECT_EQ(events.ending_shown, 1);
  EXPECT_TRUE(file_exists("rpgpcd.pcd"));
  EXPECT_EQ(game.sb.flags[86], 0);
}

TEST(default_events, the_sealed_gate_lets_the_party_in_only_once_it_is_opened) {
  load_game_events();
  EXPECT_EQ(event_door(4), 1); // no disc: shut, and nothing asked
  EXPECT_EQ(events.wait_answer, 0);
  game.sb.bag[3] = 200;
  EXPECT_EQ(event_door(4), 1); // still shut while the question waits
  event_key(KEY_N);
  EXPECT_EQ(game.sb.flags[255], 0);
  EXPECT_EQ(event_door(4), 1);
  event_key(KEY_Y);
  EXPECT_EQ(game.sb.flags[255], 1);
  EXPECT_EQ(event_door(4), 0); // the next try goes through
  EXPECT_EQ(event_door(4), 0); // and arriving on the door tile runs it again
  EXPECT_EQ(events.wait_answer, 0);
}
