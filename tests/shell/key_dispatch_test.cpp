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
  EXPECT_EQ(fm.area_label_on, 1);
  key(0x99); // not in the key table
  EXPECT_EQ(fm.area_label_on, 1);
  EXPECT_EQ(queued(), "");
}

TEST_F(KeyChain, MusicRuleSwallowsDuringATuneRestartsTheMapMusicOtherwise) {
  mus.tune_playing = 1;
  key(VK_ESCAPE);
  EXPECT_EQ(queued(), "") << "a tune swallows even Escape";
  mus.music_muted = 1;
  key(VK_ESCAPE);
  EXPECT_EQ(queued(), "close") << "muted music has no say";
  mus.music_muted = 0;
  mus.tune_playing = 0;
  mus.field_music_on = 0;
  key(R);
  EXPECT_EQ(mus.field_music_on.load(), 1);
  EXPECT_EQ(fm.area_label_on, 1) << "the restarting key goes on to the field";
}

TEST_F(KeyChain, PageWaitTakesTheKeyAndLetsTheNextLineComeAtTheNextTick) {
  mw.msg_wait_key = 1;
  mw.msg_line_delay = 5;
  key(R);
  EXPECT_EQ(mw.msg_wait_key, 0);
  EXPECT_EQ(mw.msg_line_delay_phase, 4);
  EXPECT_EQ(fm.area_label_on, 0);
}

TEST_F(KeyChain, EndingAndGameOverSwallowEverythingTheWipedOutLineComesFirst) {
  st.sb.flags[FLAG_ENDING] = 1;
  key(VK_ESCAPE);
  EXPECT_EQ(queued(), "");
  st.sb.flags[FLAG_ENDING] = 0;
  bt.gameover_state = 1;
  bt.battle_mode = BATTLE_LOST;
  fmn.system_win = 1;
  key(R);
  EXPECT_EQ(bt.gameover_state, 2);
  EXPECT_EQ(mw.msg_visible, 1);
  EXPECT_NE(std::strstr(mw.msg_line[0], "たちは、全滅した。"), nullptr) << mw.msg_line[0];
  key(VK_ESCAPE);
  EXPECT_EQ(queued(), "") << "the game-over screen takes every key";
  EXPECT_EQ(fm.area_label_on, 0);
}

TEST_F(KeyChain, BattleOpeningWaitIsClearedByTheKeyAlone) {
  bt.battle_mode = BATTLE_FIGHTING;
  bt.battle_wait_open = 1;
  key(VK_ESCAPE);
  EXPECT_EQ(bt.battle_wait_open, 0);
  EXPECT_EQ(queued(), "");
}

TEST_F(KeyChain, TheKeyAfterABattleClosesItUnlessAnEventWaits) {
  bt.battle_mode = BATTLE_OVER;
  ev.wait_answer = 1;
  key('D');
  EXPECT_EQ(ev.wait_answer, 0);
  EXPECT_EQ(ev.answer_key, 0x44u);
  EXPECT_EQ(bt.battle_mode, BATTLE_OVER);
  fmn.cmd_menu = CMD_OPEN;
  mw.msg_visible = 1;
  mus.field_music_on = 0;
  mus.music_muted = 1; // the restart rule stays out of it
  key('D');
  EXPECT_EQ(bt.battle_mode, BATTLE_NONE);
  EXPECT_EQ(fmn.cmd_menu, CMD_CLOSED);
  EXPECT_EQ(mw.msg_visible, 0);
  EXPECT_EQ(mus.field_music_on.load(), 1);
}

TEST_F(KeyChain, AWaitingEventComesAfterTheShopButBeforeTheInnAndTheChurch) {
  ev.wait_answer = 1;
  sp.inn_win = 1;
  key(VK_UP);
  EXPECT_EQ(ev.wait_answer, 0);
  EXPECT_EQ(ev.answer_key, 0x26u);
  EXPECT_EQ(sp.inn_win, 1) << "the inn did not see the key";
  sp.inn_win = 0;
  ev.wait_answer = 1;
  sp.church_win = 1;
  key(VK_DOWN);
  EXPECT_EQ(ev.answer_key, 0x28u);
  EXPECT_EQ(sp.church_win, 1);
}

TEST_F(KeyChain, SystemMenuTakesEveryKey) {
  fmn.system_win = 1;
  key(R);
  key(VK_ESCAPE);
  EXPECT_EQ(fm.area_label_on, 0);
  EXPECT_EQ(queued(), "");
}

TEST_F(ShellTest, AStepMovesAtOnceAndAKeyDuringTheStepIsLost) {
  key(VK_NUMPAD2); // numpad 2
  EXPECT_EQ(st.pos_y, 9);
  EXPECT_EQ(fm.step_dir, STEP_DOWN);
  EXPECT_EQ(fm.step_off_y, 0);
  EXPECT_EQ(st.facing, 0);
  key(VK_DOWN);
  key(VK_LEFT);
  EXPECT_EQ(st.pos_y, 9);
  EXPECT_EQ(st.pos_x, 8);
  EXPECT_EQ(st.facing, 0) << "not even a turn during a step";
  fm.step_dir = 0;
  key(PAD_LEFT); // left
  EXPECT_EQ(st.pos_x, 7);
  EXPECT_EQ(fm.step_dir, STEP_LEFT);
  EXPECT_EQ(fm.step_off_x, 16);
  EXPECT_EQ(st.facing, 2);
}

TEST_F(ShellTest, DirectionKeysMoveAnOpenWindowOrStopAtTheMessage) {
  mw.msg_visible = 1;
  key(VK_DOWN);
  EXPECT_EQ(st.pos_y, 8);
  EXPECT_EQ(fm.step_dir, 0);
  mw.msg_visible = 0;
  fmn.cmd_menu = CMD_OPEN;
  key(VK_DOWN);
  EXPECT_EQ(fmn.cmd_row, 1) << "the command cursor moved";
  EXPECT_EQ(st.pos_y, 8);
}

TEST_F(ShellTest, SailingOffAnEdgeComesBackAtTheOtherEdge) {
  st.on_ship = 1;
  st.pos_y = st.map_max_y;
  key(VK_DOWN);
  EXPECT_EQ(st.pos_y, 0);
  EXPECT_EQ(st.view_y, -10);
  EXPECT_EQ(fm.step_dir, STEP_DOWN);
  fm.step_dir = 0;
  st.pos_x = 0;
  key(VK_LEFT);
  EXPECT_EQ(st.pos_x, st.map_max_x);
  EXPECT_EQ(st.view_x, st.map_max_x - 8);
  EXPECT_EQ(fm.step_off_x, 16);
}

TEST_F(ShellTest, AnEdgeExitStepsOffTheMapLeftGoesBackAtOnce) {
  st.edge_exit = 1;
  st.cur_map = 12;
  st.return_map = 4;
  st.pos_x = st.map_max_x;
  key(VK_RIGHT);
  EXPECT_EQ(st.pos_x, st.map_max_x + 1);
  EXPECT_EQ(st.leaving_map, 1);
  EXPECT_EQ(st.cur_map, 12) << "right leaves the map change to the arrival";
  fm.step_dir = 0;
  st.leaving_map = 0;
  st.pos_x = 0;
  key(VK_LEFT);
  EXPECT_EQ(st.pos_x, -1);
  EXPECT_EQ(st.leaving_map, 1);
  EXPECT_EQ(st.cur_map, 4);
}

TEST_F(ShellTest, AWallAtTheEdgeTurnsThePartyWithoutAStep) {
  st.pos_y = 0;
  key(VK_UP);
  EXPECT_EQ(st.pos_y, 0);
  EXPECT_EQ(st.facing, 6);
  EXPECT_EQ(fm.step_dir, 0);
}

TEST_F(ShellTest, ConfirmHidesTheMessageAndClosesTalkOrSearch) {
  mw.msg_visible = 1;
  fmn.cmd_menu = CMD_OPEN;
  fmn.cmd_row = 2, fmn.cmd_col = 1; // search
  key(VK_SPACE);
  EXPECT_EQ(mw.msg_visible, 0);
  EXPECT_EQ(fmn.cmd_menu, CMD_CLOSED);
  mw.msg_visible = 1;
  fmn.cmd_menu = CMD_OPEN;
  fmn.cmd_row = 1, fmn.cmd_col = 0; // status
  key('D');
  EXPECT_EQ(mw.msg_visible, 0);
  EXPECT_EQ(fmn.cmd_menu, CMD_OPEN);
  fmn.cmd_menu = CMD_CLOSED;
  key(VK_SPACE);
  EXPECT_EQ(fmn.cmd_menu, CMD_OPEN) << "confirm on the field opens the command menu";
}

TEST_F(ShellTest, CancelStepsBackOneLevelAtATime) {
  fmn.cmd_menu = CMD_STATUS;
  fmn.status_win = 2;
  bt.member_pick = 1;
  const int cancels[] = {'C', VK_NUMPAD3, VK_NONCONVERT, 'C', 'C'};
  key(cancels[0]);
  EXPECT_EQ(fmn.status_win, 1);
  key(cancels[1]);
  EXPECT_EQ(fmn.status_win, 0);
  EXPECT_EQ(bt.member_pick, 1);
  key(cancels[2]);
  EXPECT_EQ(bt.member_pick, 0);
  key(cancels[3]);
  EXPECT_EQ(fmn.cmd_menu, CMD_OPEN);
  key(cancels[4]);
  EXPECT_EQ(fmn.cmd_menu, CMD_CLOSED);
  mw.msg_visible = 1;
  fmn.cmd_menu = CMD_OPEN;
  key('C');
  EXPECT_EQ(mw.msg_visible, 0);
  EXPECT_EQ(fmn.cmd_menu, CMD_OPEN) << "the message goes first, alone";
}

TEST_F(ShellTest, LetterKeysOpenTheSystemMenuAndSwitchViews) {
  fmn.status_win = 1;
  key('Q');
  EXPECT_EQ(fmn.system_win, 0) << "no system menu over an open window";
  fmn.status_win = 0;
  key('Q');
  EXPECT_EQ(fmn.system_win, 1);
  fmn.system_win = 0;
  st.cur_map = 12;
  key('F');
  EXPECT_EQ(fm.world_map_view, 0) << "the whole map is the world map's";
  st.cur_map = WORLD_MAP;
  fm.world_map_drawn = 1;
  key('F');
  EXPECT_EQ(fm.world_map_view, 1);
  EXPECT_EQ(fm.world_map_drawn, 0);
  key('F');
  EXPECT_EQ(fm.world_map_view, 0);
  key('N');
  EXPECT_EQ(mus.music_muted, 1);
  key('N');
  EXPECT_EQ(mus.music_muted, 0);
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
  ASSERT_EQ(ev.wait_answer, 1);
  ASSERT_EQ(ev.ending_shown, 0);
  key('Y');
  EXPECT_EQ(ev.answer_key, 0x59u);
  EXPECT_STREQ(mw.msg_line[0], "bye");
  EXPECT_EQ(st.sb.flags[FLAG_ENDING], 0);
  EXPECT_EQ(ev.ending_shown, 1);
  std::FILE* saved = std::fopen(SAVE_FILE, "rb");
  EXPECT_NE(saved, nullptr) << "the ending saves";
  if (saved) std::fclose(saved);
  std::remove(SAVE_FILE);
}

// The ending screen stays until the program is closed: the field behind it
// never sees a key, only Escape and F12 close, and the menu bar still works.
TEST_F(ShellTest, TheEndingScreenOwnsEveryKeyButTheClosingOnes) {
  ev.ending_shown = 1;
  st.cur_map = WORLD_MAP;
  const int swallowed[] = {VK_DOWN, VK_NUMPAD2, VK_LEFT,       VK_RIGHT, VK_UP, VK_SPACE,
                           'D',     'C',        VK_NONCONVERT, 'Q',      'F',   'R',
                           'M',     'N',        'P',           'K',      'Y'};
  for (int k : swallowed) {
    key(k);
    EXPECT_EQ(st.pos_x * 100 + st.pos_y, 808) << k;
    EXPECT_EQ(fm.step_dir + fmn.cmd_menu + fmn.system_win + fm.area_label_on, 0) << k;
    EXPECT_EQ(fm.world_map_view + mus.music_muted + st.cur_music, 0) << k;
    EXPECT_EQ(sh.frame_period_ms, FRAME_PERIOD_START) << k;
    EXPECT_EQ(queued(), "") << k;
  }
  mus.field_music_on = 0;
  key(VK_DOWN);
  EXPECT_EQ(mus.field_music_on.load(), 0) << "the map's music stays away";
  mus.tune_playing = 1; // the ending's tune does not hold the closing keys
  for (int k : {VK_ESCAPE, VK_F12}) {
    key(k);
    EXPECT_EQ(queued(), "close") << k;
  }
  command(CMD_SLOWER);
  EXPECT_EQ(sh.frame_period_ms, FRAME_PERIOD_START + 2);
}
