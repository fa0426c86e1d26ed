// The key dispatcher: which mode takes a key, in the order of the chain, and
// the field's own keys (steps, edges, confirm, cancel, letters).
#include "tests/shell/shell_fixture.h"

#include "audio/music.h"
#include "battle/battle.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "field/shop.h"
#include "gfx/field_map.h"
#include "gfx/title_screens.h"
#include "message/message.h"
#include "state/save_slots.h"
#include "state/state.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int R = 'R'; // toggles the area label: shows whether a key reached the field

struct KeyChain : ShellTest {};

} // namespace

// A key no mode wants reaches the field; each mode in turn takes it instead
// (the field's label stays off and Escape closes nothing), with its own effect.
TEST_F(KeyChain, EachModeTakesTheKeyBeforeTheField) {
  key(R);
  EXPECT_EQ(field_map.area_label_on, 1) << "no mode: the field";
  key(0x99); // not in the key table
  EXPECT_EQ(field_map.area_label_on, 1);
  EXPECT_EQ(queued(), "");
  const struct {
    const char* what;
    void (*set)();
    int key;
    void (*check)();
  } modes[] = {
      {"a tune swallows even Escape", [] { music.tune_playing = 1; }, VK_ESCAPE, nullptr},
      {"the ending", [] { game.sb.flags[FLAG_ENDING] = 1; }, VK_ESCAPE, nullptr},
      {"the system menu", [] { field_menu.system_win = 1; }, R, nullptr},
      {"the system menu", [] { field_menu.system_win = 1; }, VK_ESCAPE, nullptr},
      {"the page wait", [] { msg_window.msg_wait_key = 1, msg_window.msg_line_delay = 5; }, R,
       [] {
         EXPECT_EQ(msg_window.msg_wait_key, 0);
         EXPECT_EQ(msg_window.msg_line_delay_phase, 4) << "the next line at the next tick";
       }},
      {"the battle's opening wait, cleared by the key alone",
       [] { battle.battle_mode = BATTLE_FIGHTING, battle.battle_wait_open = 1; }, VK_ESCAPE,
       [] { EXPECT_EQ(battle.battle_wait_open, 0); }},
      {"a lost battle: the wiped-out line comes before the system menu",
       [] {
         battle.gameover_state = 1, battle.battle_mode = BATTLE_LOST;
         field_menu.system_win = 1;
       },
       R,
       [] {
         EXPECT_EQ(battle.gameover_state, 2);
         EXPECT_EQ(msg_window.msg_visible, 1);
         EXPECT_NE(std::strstr(msg_window.msg_line[0], "たちは、全滅した。"), nullptr);
       }},
      {"the game-over screen", [] { battle.gameover_state = 2, battle.battle_mode = BATTLE_LOST; },
       VK_ESCAPE, nullptr},
  };
  for (const auto& m : modes) {
    SetUp();
    m.set();
    key(m.key);
    if (m.check) m.check();
    EXPECT_EQ(field_map.area_label_on, 0) << m.what;
    EXPECT_EQ(queued(), "") << m.what;
  }
}

TEST_F(KeyChain, MutedMusicHasNoSayAndARestartingKeyGoesOnToTheField) {
  music.tune_playing = 1;
  music.music_muted = 1;
  key(VK_ESCAPE);
  EXPECT_EQ(queued(), "close");
  music.music_muted = 0;
  music.tune_playing = 0;
  music.field_music_on = 0;
  key(R);
  EXPECT_EQ(music.field_music_on.load(), 1);
  EXPECT_EQ(field_map.area_label_on, 1);
}

TEST_F(KeyChain, TheKeyAfterABattleClosesItUnlessAnEventWaits) {
  battle.battle_mode = BATTLE_OVER;
  events.wait_answer = 1;
  key('D');
  EXPECT_EQ(events.wait_answer, 0);
  EXPECT_EQ(events.answer_key, 0x44u);
  EXPECT_EQ(battle.battle_mode, BATTLE_OVER);
  field_menu.cmd_menu = CMD_OPEN;
  msg_window.msg_visible = 1;
  music.field_music_on = 0;
  music.music_muted = 1; // the restart rule stays out of it
  key('D');
  EXPECT_EQ(battle.battle_mode, BATTLE_NONE);
  EXPECT_EQ(field_menu.cmd_menu, CMD_CLOSED);
  EXPECT_EQ(msg_window.msg_visible, 0);
  EXPECT_EQ(music.field_music_on.load(), 1);
}

TEST_F(KeyChain, AWaitingEventComesBeforeTheInnAndTheChurch) {
  for (i32* window : {&services.inn_win, &services.church_win}) {
    SetUp();
    events.wait_answer = 1;
    *window = 1;
    key(VK_UP);
    EXPECT_EQ(events.wait_answer, 0);
    EXPECT_EQ(events.answer_key, 0x26u);
    EXPECT_EQ(*window, 1) << "the window did not see the key";
  }
}

// Steps from the middle of the town (8, 8) and at its edges (15 the last
// tile): on foot, sailing round to the other edge, off an edge-exit map.
TEST_F(ShellTest, AStepMovesAtOnceOrOffTheMapOrTurnsAtAWall) {
  const struct {
    const char* what;
    int x, y, ship, edge_exit, key;
    int to_x, to_y, step, off, facing, view_x, view_y, leaving, map;
  } steps[] = {
      {"numpad 2", 8, 8, 0, 0, VK_NUMPAD2, 8, 9, STEP_DOWN, 0, 0, -1, -1, 0, 20},
      {"the pad's left", 8, 8, 0, 0, PAD_LEFT, 7, 8, STEP_LEFT, 16, 2, -1, -1, 0, 20},
      {"a wall at the edge turns", 8, 0, 0, 0, VK_UP, 8, 0, 0, 0, 6, -1, -1, 0, 20},
      {"sailing off the bottom", 8, 15, 1, 0, VK_DOWN, 8, 0, STEP_DOWN, 0, 0, -1, -10, 0, 20},
      {"sailing off the left", 0, 8, 1, 0, VK_LEFT, 15, 8, STEP_LEFT, 16, 2, 7, -1, 0, 20},
      {"right leaves the map change to the arrival", 15, 8, 0, 1, VK_RIGHT, 16, 8, STEP_RIGHT, 0, 4,
       -1, -1, 1, 20},
      {"left goes back at once", 0, 8, 0, 1, VK_LEFT, -1, 8, STEP_LEFT, 16, 2, -1, -1, 1, 4},
  };
  for (const auto& s : steps) {
    SetUp();
    game.pos_x = s.x, game.pos_y = s.y, game.on_ship = s.ship, game.edge_exit = s.edge_exit;
    game.return_map = 4;
    key(s.key);
    EXPECT_EQ(game.pos_x, s.to_x) << s.what;
    EXPECT_EQ(game.pos_y, s.to_y) << s.what;
    EXPECT_EQ(field_map.step_dir, s.step) << s.what;
    EXPECT_EQ(s.step == STEP_DOWN ? field_map.step_off_y : field_map.step_off_x, s.off) << s.what;
    EXPECT_EQ(game.facing, s.facing) << s.what;
    EXPECT_EQ(game.view_x, s.view_x) << s.what;
    EXPECT_EQ(game.view_y, s.view_y) << s.what;
    EXPECT_EQ(game.leaving_map, s.leaving) << s.what;
    EXPECT_EQ(game.cur_map, s.map) << s.what;
    if (!s.step) continue;
    key(VK_UP); // a key during the step is lost, not even a turn
    EXPECT_EQ(game.pos_y, s.to_y) << s.what;
    EXPECT_EQ(game.facing, s.facing) << s.what;
  }
}

TEST_F(ShellTest, DirectionKeysMoveAnOpenWindowOrStopAtTheMessage) {
  msg_window.msg_visible = 1;
  key(VK_DOWN);
  EXPECT_EQ(game.pos_y, 8);
  EXPECT_EQ(field_map.step_dir, 0);
  msg_window.msg_visible = 0;
  field_menu.cmd_menu = CMD_OPEN;
  key(VK_DOWN);
  EXPECT_EQ(field_menu.cmd_row, 1) << "the command cursor moved";
  EXPECT_EQ(game.pos_y, 8);
}
TEST_F(ShellTest, ConfirmHidesTheMessageAndClosesTalkOrSearch) {
  msg_window.msg_visible = 1;
  field_menu.cmd_menu = CMD_OPEN;
  field_menu.cmd_row = 2, field_menu.cmd_col = 1; // search
  key(VK_SPACE);
  EXPECT_EQ(msg_window.msg_visible, 0);
  EXPECT_EQ(field_menu.cmd_menu, CMD_CLOSED);
  msg_window.msg_visible = 1;
  field_menu.cmd_menu = CMD_OPEN;
  field_menu.cmd_row = 1, field_menu.cmd_col = 0; // status
  key('D');
  EXPECT_EQ(msg_window.msg_visible, 0);
  EXPECT_EQ(field_menu.cmd_menu, CMD_OPEN);
  field_menu.cmd_menu = CMD_CLOSED;
  key(VK_SPACE);
  EXPECT_EQ(field_menu.cmd_menu, CMD_OPEN) << "confirm on the field opens the command menu";
}

TEST_F(ShellTest, CancelStepsBackOneLevelAtATime) {
  field_menu.cmd_menu = CMD_STATUS;
  field_menu.status_win = 2;
  battle.member_pick = 1;
  const int cancels[] = {'C', VK_NUMPAD3, VK_NONCONVERT, 'C', 'C'};
  key(cancels[0]);
  EXPECT_EQ(field_menu.status_win, 1);
  key(cancels[1]);
  EXPECT_EQ(field_menu.status_win, 0);
  EXPECT_EQ(battle.member_pick, 1);
  key(cancels[2]);
  EXPECT_EQ(battle.member_pick, 0);
  key(cancels[3]);
  EXPECT_EQ(field_menu.cmd_menu, CMD_OPEN);
  key(cancels[4]);
  EXPECT_EQ(field_menu.cmd_menu, CMD_CLOSED);
  msg_window.msg_visible = 1;
  field_menu.cmd_menu = CMD_OPEN;
  key('C');
  EXPECT_EQ(msg_window.msg_visible, 0);
  EXPECT_EQ(field_menu.cmd_menu, CMD_OPEN) << "the message goes first, alone";
}

TEST_F(ShellTest, LetterKeysOpenTheSystemMenuAndSwitchViews) {
  field_menu.status_win = 1;
  key('Q');
  EXPECT_EQ(field_menu.system_win, 0) << "no system menu over an open window";
  field_menu.status_win = 0;
  key('Q');
  EXPECT_EQ(field_menu.system_win, 1);
  field_menu.system_win = 0;
  game.cur_map = 12;
  key('F');
  EXPECT_EQ(field_map.world_map_view, 0) << "the whole map is the world map's";
  game.cur_map = WORLD_MAP;
  field_map.world_map_drawn = 1;
  key('F');
  EXPECT_EQ(field_map.world_map_view, 1);
  EXPECT_EQ(field_map.world_map_drawn, 0);
  key('F');
  EXPECT_EQ(field_map.world_map_view, 0);
  key('N');
  EXPECT_EQ(music.music_muted, 1);
  key('N');
  EXPECT_EQ(music.music_muted, 0);
}

// An event that turns the ending on and then asks for a key: the key must
// reach it (the ending flag does not starve it), the event ends, and only
// then the ending shows.
TEST_F(ShellTest, AWaitingEventGetsItsKeyAfterTurningTheEndingOn) {
  event_record& r = event_table[1];
  const u8 code[] = {sci_system, FLAG_ENDING, sci_on, sci_input, sci_printn, 0};
  r = {};
  std::memcpy(r.code, code, sizeof code);
  r.length = sizeof code;
  std::strcpy(event_msg[0], "bye");
  event_start(1);
  ASSERT_EQ(events.wait_answer, 1);
  ASSERT_EQ(events.ending_shown, 0);
  key('Y');
  EXPECT_EQ(events.answer_key, 0x59u);
  EXPECT_EQ(events.ending_shown, 1);
  std::remove(SAVE_FILE); // the ending saved the game
}

// The ending screen stays until the program is closed: the field behind it
// never sees a key, only Escape and F12 close, and the menu bar still works.
TEST_F(ShellTest, TheEndingScreenOwnsEveryKeyButTheClosingOnes) {
  events.ending_shown = 1;
  game.cur_map = WORLD_MAP;
  const int swallowed[] = {VK_DOWN, VK_NUMPAD2, VK_LEFT,       VK_RIGHT, VK_UP, VK_SPACE,
                           'D',     'C',        VK_NONCONVERT, 'Q',      'F',   'R',
                           'M',     'N',        'P',           'K',      'Y'};
  for (int k : swallowed) {
    key(k);
    EXPECT_EQ(game.pos_x * 100 + game.pos_y, 808) << k;
    EXPECT_EQ(field_map.step_dir + field_menu.cmd_menu + field_menu.system_win +
                  field_map.area_label_on,
              0)
        << k;
    EXPECT_EQ(field_map.world_map_view + music.music_muted + game.cur_music, 0) << k;
    EXPECT_EQ(shell.frame_period_ms, FRAME_PERIOD_START) << k;
    EXPECT_EQ(queued(), "") << k;
  }
  music.field_music_on = 0;
  key(VK_DOWN);
  EXPECT_EQ(music.field_music_on.load(), 0) << "the map's music stays away";
  music.tune_playing = 1; // the ending's tune does not hold the closing keys
  for (int k : {VK_ESCAPE, VK_F12}) {
    key(k);
    EXPECT_EQ(queued(), "close") << k;
  }
  command(CMD_SLOWER);
  EXPECT_EQ(shell.frame_period_ms, FRAME_PERIOD_START + 2);
}
