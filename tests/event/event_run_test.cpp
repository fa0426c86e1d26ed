// The interpreter on records compiled from small sources and on malformed
// records made by hand: flags, items, statistics, gold, answers, jumps,
// music, battles and every runtime error.
#include "audio/music.h"
#include "battle/battle.h"
#include "event_test.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

using lines = std::vector<std::string>;

// Compiles the source into fresh tables and a fresh game, ready to run.
void load(const std::string& source) {
  ASSERT_EQ(compile(source), SCIC_OK);
  fresh_game();
}

// A hand-made record for event 1.
void record(std::vector<int> code, int length = -1) {
  fresh_game();
  event_record& r = event_table[1];
  r = {};
  for (std::size_t i = 0; i < code.size() && i < 128; i++) r.code[i] = static_cast<u8>(code[i]);
  r.length = static_cast<u16>(length < 0 ? code.size() : length);
}

member& hero(int m) {
  return game.sb.party[m];
}

} // namespace

TEST(event_answers, yes_runs_the_if_lines_no_and_other_keys_the_else_lines) {
  load(EXAMPLE);
  game.sb.flags[40] = 1; // a set flag skips the whole question
  event_start(12);
  EXPECT_EQ(events.wait_answer, 0);
  EXPECT_TRUE(shown().empty());
  EXPECT_EQ(events.event_pc, 23);
  for (u32 key : {0x59u, 0x4Eu, 0x0Du}) {
    load(EXAMPLE);
    event_start(12);
    EXPECT_EQ(events.wait_answer, 1);
    EXPECT_EQ(events.event_pc, 8);
    EXPECT_EQ(shown(), lines{"Will you help us?"});
    event_key(key);
    EXPECT_EQ(events.wait_answer, 0);
    EXPECT_EQ(events.answer_key, key);
    bool yes = key == 0x59;
    EXPECT_EQ(game.sb.flags[40], yes ? 1 : 0);
    EXPECT_EQ(hero(0).items[0], yes ? 7 : 0);
    EXPECT_EQ(shown().size(), yes ? 1u : 2u);
    EXPECT_EQ(events.event_pc, 23);
  }
}

TEST(event_answers, a_second_input_waits_again_and_a_jump_to_zero_starts_over) {
  load("evt001\ninput\nsystem001 on\ninput\nif ans n\nsystem002 on\nendif\nendevt\n");
  event_start(1);
  event_key(0x59);
  EXPECT_EQ(game.sb.flags[1], 1);
  EXPECT_EQ(events.wait_answer, 1);
  event_key(0x4E);
  EXPECT_EQ(events.wait_answer, 0);
  EXPECT_EQ(game.sb.flags[2], 1);
  record({sci_input, sci_system, 5, sci_on, sci_jump, 0});
  event_start(1);
  event_key(0x20);
  EXPECT_EQ(game.sb.flags[5], 1);
  EXPECT_EQ(events.wait_answer, 1);
  EXPECT_EQ(events.event_pc, 1);
}

TEST(event_items, get_and_put_use_the_first_entry_that_is_zero_or_holds_it) {
  load("evt001\nitem007 get\nsysitem151 get\nendevt\nevt002\nitem007 put\nsysitem151 put\n"
       "endevt\nevt003\nif sysitem151 on\nsystem010 on\nendif\nif item020 off\nsystem011 on\n"
       "endif\nif item020 on\nsystem012 on\nendif\nendevt\n");
  std::memset(hero(0).items, 9, 16);
  hero(1).items[0] = 255; // only 0 is a free entry here
  game.sb.bag[0] = 255;
  event_start(1);
  EXPECT_EQ(hero(1).items[1], 7);
  EXPECT_EQ(game.sb.bag[1], 151);
  hero(2).items[3] = 7;
  event_start(2);
  EXPECT_EQ(hero(1).items[1], 0);
  EXPECT_EQ(hero(2).items[3], 7);
  EXPECT_EQ(game.sb.bag[1], 0);
  EXPECT_EQ(game.sb.bag[0], 255);
  // the conditions on the bag and on what the party carries
  game.sb.bag[19] = 151;
  hero(2).items[15] = 21;
  event_start(3);
  EXPECT_EQ(game.sb.flags[10], 1);
  EXPECT_EQ(game.sb.flags[11], 1);
  EXPECT_EQ(game.sb.flags[12], 0);
}

TEST(event_items, a_full_party_takes_nothing_and_the_event_goes_on) {
  load("evt001\nitem007 get\nsysitem007 put\nsystem003 on\nendevt\n");
  for (int m = 0; m < 3; m++) std::memset(hero(m).items, m == 1 ? 255 : 12, 16);
  save_block before = game.sb;
  event_start(1);
  for (int m = 0; m < 3; m++) EXPECT_EQ(0, std::memcmp(hero(m).items, before.party[m].items, 16));
  EXPECT_EQ(game.sb.flags[3], 1);
  EXPECT_EQ(events.last_error, 0);
}

TEST(event_status, every_record_changes_at_its_width_without_clamps_and_gold_once) {
  load("evt001\nstatus007 up010\nstatus000 up250\nstatus002 up001\nstatus002 set300\n"
       "status001 down001\nstatus019 set007\nstatus011 up100\nendevt\n"
       "evt002\nstatus011 down200\nendevt\n");
  for (int m = 0; m < 5; m++) {
    hero(m).hp = m == 4 ? 65530 : 20;
    hero(m).hp_max = 25;
    hero(m).age = 10;
  }
  game.sb.gold = 50;
  event_start(1);
  for (int m = 0; m < 5; m++) {
    SCOPED_TRACE(m);
    EXPECT_EQ(hero(m).hp, m == 4 ? 4 : 30);
    EXPECT_EQ(hero(m).age, 4);
    EXPECT_EQ(hero(m).str, 1);
    EXPECT_EQ(hero(m).atk, 300);
    EXPECT_EQ(hero(m).exp, 0xFFFFFFFFu);
    EXPECT_EQ(hero(m).elem[7], 7);
  }
  EXPECT_EQ(game.sb.gold, 150);
  event_start(2);
  event_start(2);
  EXPECT_EQ(game.sb.gold, -250); // 32 bits, wrapping, as the save keeps it
}

TEST(event_status, an_index_out_of_range_is_shown_five_times_and_the_run_goes_on) {
  load("evt001\nstatus021 up001\nstatus020 set001\nstatus020 up001\nsystem009 on\nendevt\n");
  event_start(1);
  lines want(5, "err: byt00000[ 96] err0205");
  want.resize(10, "err: byt00005[ 96] err0205");
  EXPECT_EQ(shown(), want);
  EXPECT_EQ(hero(0).sex, 1);
  EXPECT_EQ(game.sb.flags[9], 1);
}

TEST(event_runtime, undefined_events_do_nothing) {
  fresh_game();
  event_start(77);
  EXPECT_EQ(events.event_pc, 0);
  EXPECT_TRUE(shown().empty());
  event_start(256);
  event_start(-1);
  EXPECT_EQ(events.event_no, 77);
}

// Each bad record, followed by a statement that must not run: what the
// window shows and the error that ended the run.
TEST(event_runtime, every_error_shows_its_line_and_ends_the_run) {
  const struct {
    std::vector<int> code;
    int error;
    lines want;
  } table[] = {
      {{sci_system, 1, sci_get}, SCIC_SYSFLG, {"err: byt00000[ 86] err0200"}},
      {{sci_if, sci_system, 1, sci_put, 0}, SCIC_SYSFLG, {"err: byt00000[ 84] err0200"}},
      {{sci_sysitem, 1, sci_on}, SCIC_SYSITEM, {"err: byt00000[ 87] err0201"}},
      {{sci_if, sci_item, 1, sci_get, 0}, SCIC_SYSITEM, {"err: byt00000[ 84] err0201"}},
      {{sci_item, 1, sci_off}, SCIC_ITEM, {"err: byt00000[ 92] err0202"}},
      {{sci_music, 0x70, 1}, SCIC_MUSIC, {"err: byt00000[ 94] err0203"}},
      {{sci_sound, 0x70, 1}, SCIC_SOUND, {"err: byt00000[ 95] err0204"}},
      {{sci_status, 1, sci_start, 0, 1}, SCIC_STATUS, {"err: byt00000[ 96] err0205"}},
      {{0x4F}, SCIC_ERROR, {"err: byt00000[ 79] err0206"}},
      {{sci_on}, SCIC_ERROR, {"err: byt00000[ 88] err0206"}},
      {{sci_set}, SCIC_ERROR, {"err: byt00000[102] err0206"}},
      {{0x68}, SCIC_ERROR, {"err: byt00000[104] err0206"}},
      {{sci_if, sci_input, 0}, SCIC_IF_ERR, {"err: byt00000[ 84] err0207"}},
      {{sci_magic}, SCIC_ERROR, {"sci_magic:", "err: byt00000[ 97] err0206"}},
      // a loop without a wait
      {{sci_system, 1, sci_on, sci_jump, 0}, SCIC_ERROR, {"err: byt00000[ 86] err0206"}},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.want.back());
    std::vector<int> code = row.code;
    code.insert(code.end(), {sci_system, 3, sci_on});
    record(code);
    event_start(1);
    EXPECT_EQ(shown(), row.want);
    EXPECT_EQ(events.last_error, row.error);
    EXPECT_EQ(events.event_pc, 128);
    EXPECT_EQ(game.sb.flags[3], 0);
  }
}

TEST(event_runtime, a_statement_cut_off_by_the_end_of_its_code_is_an_error) {
  // Operands at or past the code length, or past offset 128, are never read.
  for (std::vector<int> tail : {std::vector<int>{sci_system, 1},
                                {sci_printn},
                                {sci_if, sci_ans, 0x79},
                                {sci_status, 7, sci_up, 0},
                                {sci_music, sci_start},
                                {sci_jump}}) {
    record(tail);
    event_table[1].code[tail.size()] = sci_on; // beyond the length: never looked at
    event_start(1);
    EXPECT_EQ(events.last_error, SCIC_ERROR) << tail[0];
  }
  std::vector<int> full(128, sci_input);
  full[126] = sci_system;
  full[127] = 4;
  record(full, 300);
  event_start(1);
  for (int k = 0; k < 126; k++) event_key(0x20);
  EXPECT_EQ(events.last_error, SCIC_ERROR);
  EXPECT_EQ(game.sb.flags[4], 0);
}

TEST(event_runtime, message_lines_without_their_zero_are_cut) {
  record({sci_printn, 3});
  std::memset(event_msg[3], 'A', EVENT_MSG_SIZE);
  event_start(1);
  std::string all;
  for (const std::string& s : shown()) all += s;
  EXPECT_EQ(all, std::string(159, 'A'));
}

TEST(event_sound_and_music, sound_changes_nothing_but_the_trace_and_no_file_plays_nothing) {
  load("evt001\nsound012 start\nsound000 stop\nendevt\n");
  save_block before = game.sb;
  headless.log.clear();
  event_start(1);
  EXPECT_EQ(0, std::memcmp(&before, &game.sb, sizeof before));
  for (const char* line : {"debug: sci_sound: 012 start\n", "debug: sci_sound: stop\n"})
    EXPECT_NE(std::find(headless.log.begin(), headless.log.end(), line), headless.log.end());
  // a music entry that names no file
  for (int entry : {23, 24, 200}) {
    record({sci_music, sci_start, entry});
    std::strcpy(game.music_list[23], " ");
    music.field_music_on = 1;
    event_start(1);
    EXPECT_EQ(music.field_music_on, 0);
    EXPECT_EQ(music.tune_playing, 0) << entry;
    EXPECT_EQ(events.last_error, 0);
  }
}

TEST(event_battle, a_set_battle_waits_for_the_key_after_it) {
  record({sci_battle, 5, sci_system, 6, sci_on});
  events.event_person = 4;
  event_start(1);
  EXPECT_EQ(battle.figure, 4);
  EXPECT_EQ(events.wait_answer, 1);
  EXPECT_EQ(shown().at(0), ">敵だ！");
  EXPECT_EQ(game.sb.flags[6], 0);
  event_key(0x0D);
  EXPECT_EQ(game.sb.flags[6], 1);
}
