// The title menu's keys: moving, confirming, the opening, continuing from a
// slot and going back from the load list.
#include "title_fixture.h"

#include "audio/music.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "field/title_menu.h"
#include "gfx/title_screens.h"
#include "message/message.h"
#include "platform/headless/headless.h"
#include "platform/keys.h"
#include "shell/shell.h"
#include "state/save_slots.h"
#include "state/state.h"

#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>

namespace {

constexpr int DOWN = VK_DOWN, UP = VK_UP, SPACE = VK_SPACE, KEY_D = 'D', KEY_C = 'C';
constexpr int NUMPAD2 = VK_NUMPAD2, NUMPAD8 = VK_NUMPAD8, NUMPAD3 = VK_NUMPAD3;

TEST(TitleKeys, SpaceAndOtherKeysDoNothingDConfirms) {
  fresh_title();
  const int ignored[] = {SPACE,     VK_ESCAPE,     VK_F12, VK_LEFT, VK_RIGHT,
                         VK_RETURN, VK_NONCONVERT, KEY_C,  int('Q')};
  for (int key : ignored) title_key(key);
  EXPECT_EQ(sh.title_mode, TITLE_MENU);
  EXPECT_EQ(ts.title_cursor, 0);
  EXPECT_EQ(ts.pulse_level, PULSE_START);
  EXPECT_TRUE(headless.log.empty());
  title_key(KEY_D);
  EXPECT_EQ(sh.title_mode, TITLE_OPENING);
  EXPECT_EQ(logged("sound: menusound"), 1);
}

TEST(TitleKeys, UpOnNewGameIsSilentAndKeepsThePulse) {
  fresh_title();
  ts.pulse_level = 120, ts.pulse_down = 0;
  for (int key : {UP, NUMPAD8, int(PAD_UP)}) title_key(key);
  EXPECT_EQ(ts.title_cursor, 0);
  EXPECT_EQ(ts.pulse_level, 120);
  EXPECT_EQ(ts.pulse_down, 0);
  EXPECT_TRUE(headless.log.empty());

  title_key(NUMPAD2); // onto CONTINUE: the pulse starts bright and darkens
  EXPECT_EQ(ts.title_cursor, 1);
  EXPECT_EQ(ts.pulse_level, 254);
  EXPECT_EQ(ts.pulse_down, 1);
  EXPECT_EQ(logged("sound: menusound"), 1);
  ts.pulse_level = 90;
  title_key(PAD_DOWN); // down on CONTINUE: nothing
  EXPECT_EQ(ts.title_cursor, 1);
  EXPECT_EQ(ts.pulse_level, 90);
  EXPECT_EQ(logged("sound: menusound"), 1);
  title_key(UP);
  EXPECT_EQ(ts.title_cursor, 0);
  EXPECT_EQ(logged("sound: menusound"), 2);
}

TEST(TitleKeys, NewGameTypesTheOpeningThenPlayBegins) {
  fresh_title();
  // event 255 prints a line
  std::strcpy(ev.msg[7], "opening line");
  ev.table[255].length = 2;
  ev.table[255].code[0] = sci_printn, ev.table[255].code[1] = 7;
  st.cur_music = 3;
  title_key(KEY_D);
  EXPECT_EQ(sh.title_mode, TITLE_OPENING);
  EXPECT_EQ(mw.msg_speed, 1);
  EXPECT_EQ(mw.msg_visible, 1);
  EXPECT_EQ(sh.transition, WIPE_CLOSING);
  EXPECT_EQ(sh.transition_pos, 0);
  EXPECT_EQ(mus.field_music_on.load(), 1);
  EXPECT_EQ(ev.event_no, 255);
  EXPECT_STREQ(mw.msg_line[0], "opening line");

  // a confirm while the text is still typed ends the opening at once
  sh.transition = WIPE_NONE;
  mus.field_music_on = 0;
  title_key(DOWN); // no cursor in the opening
  EXPECT_EQ(ts.title_cursor, 0);
  title_key(KEY_D);
  EXPECT_EQ(sh.title_mode, TITLE_PLAY);
  EXPECT_EQ(mw.msg_visible, 0);
  EXPECT_EQ(mw.msg_speed, 0);
  EXPECT_EQ(sh.transition, WIPE_CLOSING);
  EXPECT_EQ(mus.field_music_on.load(), 1);
  EXPECT_EQ(st.cur_map, WORLD_MAP); // the game start-up built
}

TEST(TitleKeys, LoadListMovesWithinItsEightSlotsAndCancelGoesBack) {
  fresh_title();
  title_key(DOWN);
  title_key(KEY_D);
  ASSERT_EQ(sh.title_mode, TITLE_LOAD_LIST);
  clear_log();
  title_key(UP);
  EXPECT_EQ(ts.title_slot, 0);
  EXPECT_TRUE(headless.log.empty());
  for (int k = 0; k < 9; k++) title_key(DOWN);
  EXPECT_EQ(ts.title_slot, 7);
  EXPECT_EQ(logged("sound: menusound"), 7);
  EXPECT_EQ(ts.title_cursor, 1); // the title cursor stays
  EXPECT_EQ(ts.pulse_level, 254);

  clear_log();
  title_key(KEY_D); // an unused slot: nothing but the confirm sound
  EXPECT_EQ(sh.title_mode, TITLE_LOAD_LIST);
  EXPECT_EQ(sh.transition, WIPE_NONE);
  EXPECT_EQ(logged("sound: menusound"), 1);

  title_key(KEY_C);
  EXPECT_EQ(sh.title_mode, TITLE_MENU);
  EXPECT_EQ(logged("sound: Cancel"), 1);
  EXPECT_EQ(ts.title_slot, 7); // kept for the next visit
  title_key(KEY_C);            // the title menu itself has no cancel
  EXPECT_EQ(sh.title_mode, TITLE_MENU);
  EXPECT_EQ(logged("sound: Cancel"), 1);
  title_key(KEY_D);
  title_key(NUMPAD3);
  EXPECT_EQ(sh.title_mode, TITLE_MENU);
}

void write_save_file(int used_slot) {
  save_block slots[SLOT_COUNT]{};
  slots[used_slot].map = WORLD_MAP;
  slots[used_slot].area = 6;
  slots[used_slot].x = 20;
  slots[used_slot].y = 30;
  slots[used_slot].gold = 1234;
  std::FILE* f = std::fopen(SAVE_FILE, "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(slots, sizeof slots, 1, f);
  std::fclose(f);
  read_slots();
}

TEST(TitleKeys, AUsedSlotResumesAndBecomesTheCurrentSlot) {
  fresh_title();
  write_save_file(5);
  sh.title_mode = TITLE_LOAD_LIST;
  ts.title_slot = 5;
  title_key(KEY_D);
  EXPECT_EQ(sh.title_mode, TITLE_PLAY);
  EXPECT_EQ(st.sb.gold, 1234);
  EXPECT_EQ(st.pos_x, 20);
  EXPECT_EQ(st.pos_y, 30);
  EXPECT_EQ(st.cur_area, 6);
  EXPECT_EQ(st.cur_slot, 5);
  EXPECT_EQ(fmn.sys_state, 0);
  EXPECT_EQ(sh.transition, WIPE_CLOSING);
  EXPECT_EQ(mus.field_music_on.load(), 1);
  std::remove(SAVE_FILE);
}

TEST(TitleKeys, ASlotWhoseFileHasGoneLeavesThePlayerInTheList) {
  fresh_title();
  write_save_file(2);
  std::remove(SAVE_FILE);
  sh.title_mode = TITLE_LOAD_LIST;
  ts.title_slot = 2;
  title_key(KEY_D);
  EXPECT_EQ(sh.title_mode, TITLE_LOAD_LIST);
  EXPECT_EQ(st.sb.gold, 0);
  EXPECT_EQ(st.cur_slot, 0);
  EXPECT_EQ(fmn.sys_state, 0);
  EXPECT_EQ(sh.transition, WIPE_NONE);
}

} // namespace
