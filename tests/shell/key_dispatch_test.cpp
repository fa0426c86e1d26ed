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

TEST_F(KeyChain, AKeyReachesTheFieldOnlyWhenNoModeTakesIt) {
  key(R);
  EXPECT_EQ(field_map.area_label_on, 1);
  key(0x99); // not in the key table
  EXPECT_EQ(field_map.area_label_on, 1);
  EXPECT_EQ(queued(), "");
}

TEST_F(KeyChain, MusicRuleSwallowsDuringATuneRestartsTheMapMusicOtherwise) {
  music.tune_playing = 1;
  key(VK_ESCAPE);
  EXPECT_EQ(queued(), "") << "a tune swallows even Escape";
  music.music_muted = 1;
  key(VK_ESCAPE);
  EXPECT_EQ(queued(), "close") << "muted music has no say";
  music.music_muted = 0;
  music.tune_playing = 0;
  music.field_music_on = 0;
  key(R);
  EXPECT_EQ(music.field_music_on.load(), 1);
  EXPECT_EQ(field_map.area_label_on, 1) << "the restarting key goes on to the field";
}

TEST_F(KeyChain, PageWaitTakesTheKeyAndLetsTheNextLineComeAtTheNextTick) {
  msg_window.msg_wait_key = 1;
  msg_window.msg_line_delay = 5;
  key(R);
  EXPECT_EQ(msg_window.msg_wait_key, 0);
  EXPECT_EQ(msg_window.msg_line_delay_phase, 4);
  EXPECT_EQ(field_map.area_label_on, 0);
}

TEST_F(KeyChain, EndingAndGameOverSwallowEverythingTheWipedOutLineComesFirst) {
  game.sb.flags[FLAG_ENDING] = 1;
  key(VK_ESCAPE);
  EXPECT_EQ(queued(), "");
  game.sb.flags[FLAG_ENDING] = 0;
  battle.gameover_state = 1;
  battle.battle_mode = BATTLE_LOST;
  field_menu.system_win = 1;
  key(R);
  EXPECT_EQ(battle.gameover_state, 2);
  EXPECT_EQ(msg_window.msg_visible, 1);
  EXPECT_NE(std::strstr(msg_window.msg_line[0], "たちは、全滅した。"), nullptr)
      << msg_window.msg_line[0];
  key(VK_ESCAPE);
  EXPECT_EQ(queued(), "") << "the game-over screen takes every key";
  EXPECT_EQ(field_map.area_label_on, 0);
}

TEST_F(KeyChain, BattleOpeningWaitIsClearedByTheKeyAlone) {
  battle.battle_mode = BATTLE_FIGHTING;
  battle.battle_wait_open = 1;
  key(VK_ESCAPE);
  EXPECT_EQ(battle.battle_wait_open, 0);
  EXPECT_EQ(queued(), "");
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

TEST_F(KeyChain, AWaitingEventComesAfterTheShopButBeforeTheInnAndTheChurch) {
  events.wait_answer = 1;
  services.inn_win = 1;
  key(VK_UP);
  EXPECT_EQ(events.wait_answer, 0);
  EXPECT_EQ(events.answer_key, 0x26u);
  EXPECT_EQ(services.inn_win, 1) << "the inn did not see the key";
  services.inn_win = 0;
  events.wait_answer = 1;
  services.church_win = 1;
  key(VK_DOWN);
  EXPECT_EQ(events.answer_key, 0x28u);
  EXPECT_EQ(services.church_win, 1);
}

TEST_F(KeyChain, SystemMenuTakesEveryKey) {
  field_menu.system_win = 1;
  key(R);
  key(VK_ESCAPE);
  EXPECT_EQ(field_map.area_label_on, 0);
  EXPECT_EQ(queued(), "");
}

TEST_F(ShellTest, AStepMovesAtOnceAndAKeyDuringTheStepIsLost) {
  key(VK_NUMPAD2); // numpad 2
  EXPECT_EQ(game.pos_y, 9);
  EXPECT_EQ(field_map.step_dir, STEP_DOWN);
  EXPECT_EQ(field_map.step_off_y, 0);
  EXPECT_EQ(game.facing, 0);
  key(VK_DOWN);
  key(VK_LEFT);
  EXPECT_EQ(game.pos_y, 9);
  EXPECT_EQ(game.pos_x, 8);
  EXPECT_EQ(game.facing, 0) << "not even a turn during a step";
  field_map.step_dir = 0;
  key(PAD_LEFT); // left
  EXPECT_EQ(game.pos_x, 7);
  EXPECT_EQ(field_map.step_dir, STEP_LEFT);
  EXPECT_EQ(field_map.step_off_x, 16);
  EXPECT_EQ(game.facing, 2);
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

TEST_F(ShellTest, SailingOffAnEdgeComesBackAtTheOtherEdge) {
  game.on_ship = 1;
  game.pos_y = game.map_max_y;
  key(VK_DOWN);
  EXPECT_EQ(game.pos_y, 0);
  EXPECT_EQ(game.view_y, -10);
  EXPECT_EQ(field_map.step_dir, STEP_DOWN);
  field_map.step_dir = 0;
  game.pos_x = 0;
  key(VK_LEFT);
  EXPECT_EQ(game.pos_x, game.map_max_x);
  EXPECT_EQ(game.view_x, game.map_max_x - 8);
  EXPECT_EQ(field_map.step_off_x, 16);
}

TEST_F(ShellTest, AnEdgeExitStepsOffTheMapLeftGoesBackAtOnce) {
  game.edge_exit = 1;
  game.cur_map = 12;
  game.return_map = 4;
  game.pos_x = game.map_max_x;
  key(VK_RIGHT);
  EXPECT_EQ(game.pos_x, game.map_max_x + 1);
  EXPECT_EQ(game.leaving_map, 1);
  EXPECT_EQ(game.cur_map, 12) << "right leaves the map change to the arrival";
  field_map.step_dir = 0;
  game.leaving_map = 0;
  game.pos_x = 0;
  key(VK_LEFT);
  EXPECT_EQ(game.pos_x, -1);
  EXPECT_EQ(game.leaving_map, 1);
  EXPECT_EQ(game.cur_map, 4);
}

TEST_F(ShellTest, AWallAtTheEdgeTurnsThePartyWithoutAStep) {
  game.pos_y = 0;
  key(VK_UP);
  EXPECT_EQ(game.pos_y, 0);
  EXPECT_EQ(game.facing, 6);
  EXPECT_EQ(field_map.step_dir, 0);
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
// then the ending shows and the game is saved.
TEST_F(ShellTest, AWaitingEventGetsItsKeyAfterTurningTheEndingOn) {
  std::remove(SAVE_FILE);
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
  EXPECT_STREQ(msg_window.msg_line[0], "bye");
  EXPECT_EQ(game.sb.flags[FLAG_ENDING], 0);
  EXPECT_EQ(events.ending_shown, 1);
  std::FILE* saved = std::fopen(SAVE_FILE, "rb");
  EXPECT_NE(saved, nullptr) << "the ending saves";
  if (saved) std::fclose(saved);
  std::remove(SAVE_FILE);
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
