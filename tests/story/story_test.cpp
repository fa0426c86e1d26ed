// The default game's story: it compiles within the compiler's limits, every
// text fits the message window, every way through every event can be read
// and ends, and the world description and the story agree on who starts
// what and where each key comes from.
#include "audio/music.h"
#include "story_code.h"
#include "tools/maps/place_gen.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <set>

namespace {

std::vector<place_desc> places() {
  std::vector<place_desc> d;
  EXPECT_EQ(read_place_descs(std::string(ZK_SOURCE_DIR) + "/content/world/places.txt", d), "");
  return d;
}

// The events that turn flag f on.
std::set<int> setting(int f) {
  std::set<int> out;
  for (int n = 0; n < EVENT_COUNT; n++)
    for (const story_stmt& s : statements_of(n))
      if (s.op == sci_system && s.args[0] == f && s.args[1] == sci_on) out.insert(n);
  return out;
}

// Every test reads the story as the compiler left it in the event tables.
struct story : ::testing::Test {
  void SetUp() override { ASSERT_EQ(compile_story(), SCIC_OK); }
};

} // namespace

TEST_F(story, compiles_with_no_error_and_within_the_limits) {
  for (int i = 0; i < scic.error_count && i < SCIC_ERROR_LOG; i++)
    ADD_FAILURE() << "event.sci:" << scic.errors[i].line << ": "
                  << scic_error_name(scic.errors[i].code);
  EXPECT_EQ(scic.error_count, 0);
  EXPECT_GT(scic.event_msg_count, 150);
  EXPECT_LT(scic.event_msg_count, EVENT_MSG_COUNT);
  // The compiler keeps 79 bytes of a line; nothing of the story may be cut.
  std::vector<std::string> lines = story_lines();
  for (size_t i = 0; i < lines.size(); i++) EXPECT_LE(lines[i].size(), 79u) << "line " << i + 1;
  int defined = 0;
  for (int n = 0; n < EVENT_COUNT; n++) {
    if (event_table[n].length == 0) continue;
    defined++;
    EXPECT_LE(event_table[n].length, EVENT_CODE_MAX) << n;
    std::vector<story_stmt> code = statements_of(n);
    EXPECT_NE(code.back().op, -1) << "event " << n << " cannot be read to its end";
    EXPECT_EQ(code.back().op, sci_exit) << "event " << n << " ends with endevt";
  }
  EXPECT_GT(defined, 40);
}

TEST_F(story, every_message_is_one_line_of_the_window) {
  for (int m = 0; m < scic.event_msg_count; m++) {
    EXPECT_NE(event_msg[m][0], 0) << "message " << m << " is empty";
    EXPECT_EQ(window_lines(event_msg[m]), 1)
        << "message " << m << " (line " << m + 1 << " of eventmsg.msg) is wider than the window";
  }
}

TEST_F(story, every_way_through_every_event_can_be_read_and_ends) {
  for (int n = 0; n < EVENT_COUNT; n++)
    for (const std::string& f : path_faults(n)) ADD_FAILURE() << f;
}

TEST_F(story, the_opening_is_typed_without_waits_and_the_ending_comes_last) {
  // While the opening is typed every key belongs to the title screen: a
  // page mark or an input there would never be answered.
  for (const story_stmt& s : statements_of(255)) {
    EXPECT_NE(s.op, sci_input);
    if (s.op == sci_printn || s.op == sci_printc) {
      EXPECT_EQ(std::strstr(event_msg[s.args[0]], "@P"), nullptr);
    }
  }
  EXPECT_EQ(setting(FLAG_ENDING), std::set<int>{250});
  EXPECT_TRUE(setting(84).empty()) << "no battle of the story may be lost on purpose";
}

TEST_F(story, everything_the_places_start_is_written) {
  std::set<int> flags_set;
  for (int f = 0; f < 256; f++)
    if (!setting(f).empty()) flags_set.insert(f);
  for (const place_desc& d : places()) {
    for (const place_person& p : d.people) {
      if (p.type != 2) continue;
      EXPECT_GT(event_table[p.a].length, 0) << "person of map " << d.map << " starts event " << p.a;
      EXPECT_FALSE(flags_set.count(p.b))
          << "the story sends the person of map " << d.map << " away";
    }
    if (d.goal_event >= 0) {
      EXPECT_GT(event_table[d.goal_event].length, 0) << "goal of map " << d.map;
    }
  }
  EXPECT_GT(event_table[255].length, 0);
}

TEST_F(story, every_piece_of_the_music_list_is_heard_somewhere) {
  // What the game starts itself: the title at start-up, the battle music,
  // a battle won, found treasure and the fight with the great dragon.
  std::set<int> started = {0, 2, 3, 7, 8};
  // What the built maps start: their header's music number.
  constexpr int MUSIC_AT = 7;
  for (int map = 0; map < 256; map++) {
    char name[32];
    std::snprintf(name, sizeof name, "/dmapdat%03d.mp", map);
    std::ifstream in(std::string(ZK_GAME_DIR) + name, std::ios::binary);
    char header[MUSIC_AT + 1];
    if (in.read(header, sizeof header))
      started.insert(static_cast<unsigned char>(header[MUSIC_AT]));
  }
  // What the story starts.
  for (int n = 0; n < EVENT_COUNT; n++)
    for (const story_stmt& s : statements_of(n))
      if (s.op == sci_music && s.args.size() == 2 && s.args[0] == sci_start)
        started.insert(s.args[1]);
  for (int m = 0; m < MUSIC_COUNT; m++) EXPECT_TRUE(started.count(m)) << "music " << m;
}

TEST_F(story, every_locked_door_has_its_key_somewhere_and_the_ship_is_given) {
  std::set<int> found; // what the story puts into the bag
  for (int n = 0; n < EVENT_COUNT; n++)
    for (const story_stmt& s : statements_of(n))
      if (s.op == sci_sysitem && s.args[1] == sci_get) found.insert(s.args[0]);
  for (int item : found)
    EXPECT_EQ(builtin_items[item].kind, 6) << "item " << item << " is no event item";
  EXPECT_TRUE(found.count(160)) << "the ship";
  std::vector<place_desc> all = places();
  for (const place_desc& d : all)
    for (size_t i = 0; i + 1 < d.chests.size(); i += 2) found.insert(d.chests[i + 1]);
  for (const place_desc& d : all)
    if (d.door_key >= 0) {
      EXPECT_TRUE(found.count(149 + d.door_key)) << "the key of the door on map " << d.map;
    }
}
