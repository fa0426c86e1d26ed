// The title menu's keys: moving, confirming, the opening, continuing from a
// slot and going back from the load list.
#include "title_fixture.h"

#include "audio/music.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "field/title_menu.h"
#include "gfx/field_map.h"
#include "gfx/title_screens.h"
#include "message/message.h"
#include "platform/headless/headless.h"
#include "platform/keys.h"
#include "shell/shell.h"
#include "state/save_slots.h"
#include "state/state.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int DOWN = VK_DOWN, UP = VK_UP, SPACE = VK_SPACE, KEY_D = 'D', KEY_C = 'C';
constexpr int NUMPAD2 = VK_NUMPAD2, NUMPAD8 = VK_NUMPAD8, NUMPAD3 = VK_NUMPAD3;

TEST(TitleKeys, SpaceAndOtherKeysDoNothingDConfirms) {
  fresh_title();
  const int ignored[] = {SPACE,     VK_ESCAPE,     VK_F12, VK_LEFT, VK_RIGHT,
                         VK_RETURN, VK_NONCONVERT, KEY_C,  int('Q')};
  for (int key : ignored) title_key(key);
  EXPECT_EQ(title_screens.title_mode, TITLE_MENU);
  EXPECT_EQ(title_screens.title_cursor, 0);
  EXPECT_EQ(title_screens.pulse_level, PULSE_START);
  EXPECT_TRUE(headless.log.empty());
  title_key(KEY_D);
  EXPECT_EQ(title_screens.title_mode, TITLE_OPENING);
  EXPECT_EQ(logged("sound: menusound"), 1);
}

TEST(TitleKeys, UpOnNewGameIsSilentAndKeepsThePulse) {
  fresh_title();
  title_screens.pulse_level = 120, title_screens.pulse_down = 0;
  for (int key : {UP, NUMPAD8, int(PAD_UP)}) title_key(key);
  EXPECT_EQ(title_screens.title_cursor, 0);
  EXPECT_EQ(title_screens.pulse_level, 120);
  EXPECT_EQ(title_screens.pulse_down, 0);
  EXPECT_TRUE(headless.log.empty());

  title_key(NUMPAD2); // onto CONTINUE: the pulse starts bright and darkens
  EXPECT_EQ(title_screens.title_cursor, 1);
  EXPECT_EQ(title_screens.pulse_level, 254);
  EXPECT_EQ(title_screens.pulse_down, 1);
  EXPECT_EQ(logged("sound: menusound"), 1);
  title_screens.pulse_level = 90;
  title_key(PAD_DOWN); // down on CONTINUE: nothing
  EXPECT_EQ(title_screens.title_cursor, 1);
  EXPECT_EQ(title_screens.pulse_level, 90);
  EXPECT_EQ(logged("sound: menusound"), 1);
  title_key(UP);
  EXPECT_EQ(title_screens.title_cursor, 0);
  EXPECT_EQ(logged("sound: menusound"), 2);
}

TEST(TitleKeys, NewGameTypesTheOpeningThenPlayBegins) {
  fresh_title();
  // event 255 prints a line
  std::strcpy(events.msg[7], "opening line");
  events.table[255].length = 2;
  events.table[255].code[0] = sci_printn, events.table[255].code[1] = 7;
  game.cur_music = 3;
  title_key(KEY_D);
  EXPECT_EQ(title_screens.title_mode, TITLE_OPENING);
  EXPECT_EQ(msg_window.msg_speed, 1);
  EXPECT_EQ(msg_window.msg_visible, 1);
  EXPECT_EQ(field_map.transition, WIPE_CLOSING);
  EXPECT_EQ(field_map.transition_pos, 0);
  EXPECT_EQ(music.field_music_on.load(), 1);
  EXPECT_EQ(events.event_no, 255);
  EXPECT_STREQ(msg_window.msg_line[0], "opening line");

  // a confirm while the text is still typed ends the opening at once
  field_map.transition = WIPE_NONE;
  music.field_music_on = 0;
  title_key(DOWN); // no cursor in the opening
  EXPECT_EQ(title_screens.title_cursor, 0);
  title_key(KEY_D);
  EXPECT_EQ(title_screens.title_mode, TITLE_PLAY);
  EXPECT_EQ(msg_window.msg_visible, 0);
  EXPECT_EQ(msg_window.msg_speed, 0);
  EXPECT_EQ(field_map.transition, WIPE_CLOSING);
  EXPECT_EQ(music.field_music_on.load(), 1);
  EXPECT_EQ(game.cur_map, WORLD_MAP); // the game start-up built
}

TEST(TitleKeys, LoadListMovesWithinItsEightSlotsAndCancelGoesBack) {
  fresh_title();
  title_key(DOWN);
  title_key(KEY_D);
  ASSERT_EQ(title_screens.title_mode, TITLE_LOAD_LIST);
  clear_log();
  title_key(UP);
  EXPECT_EQ(title_screens.title_slot, 0);
  EXPECT_TRUE(headless.log.empty());
  for (int k = 0; k < 9; k++) title_key(DOWN);
  EXPECT_EQ(title_screens.title_slot, 7);
  EXPECT_EQ(logged("sound: menusound"), 7);
  EXPECT_EQ(title_screens.title_cursor, 1); // the title cursor stays
  EXPECT_EQ(title_screens.pulse_level, 254);

  clear_log();
  title_key(KEY_D); // an unused slot: nothing but the confirm sound
  EXPECT_EQ(title_screens.title_mode, TITLE_LOAD_LIST);
  EXPECT_EQ(field_map.transition, WIPE_NONE);
  EXPECT_EQ(logged("sound: menusound"), 1);

  title_key(KEY_C);
  EXPECT_EQ(title_screens.title_mode, TITLE_MENU);
  EXPECT_EQ(logged("sound: Cancel"), 1);
  EXPECT_EQ(title_screens.title_slot, 7); // kept for the next visit
  title_key(KEY_C);                       // the title menu itself has no cancel
  EXPECT_EQ(title_screens.title_mode, TITLE_MENU);
  EXPECT_EQ(logged("sound: Cancel"), 1);
  title_key(KEY_D);
  title_key(NUMPAD3);
  EXPECT_EQ(title_screens.title_mode, TITLE_MENU);
}

void write_bytes(const char* name, const void* bytes, std::size_t size) {
  std::FILE* f = std::fopen(name, "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes, 1, size, f);
  std::fclose(f);
}

std::string read_file(const char* name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool any_box() {
  for (const std::string& l : headless.log)
    if (l.rfind("box: ", 0) == 0) return true;
  return false;
}

// A world map of max x 39 and max y 49, `cut` bytes short of its rows.
void write_world_map(std::size_t cut = 0) {
  std::vector<u8> map(16 + 40 * 50, 1);
  map[0] = 39, map[1] = 49;
  write_bytes("dmapdat004.mp", map.data(), map.size() - cut);
}

// Slot used_slot on the world map at (x, y); the map file as write_world_map.
void write_save_file(int used_slot, int x = 20, int y = 30) {
  save_block slots[SLOT_COUNT]{};
  slots[used_slot].map = WORLD_MAP;
  slots[used_slot].area = 6;
  slots[used_slot].x = static_cast<u8>(x);
  slots[used_slot].y = static_cast<u8>(y);
  slots[used_slot].gold = 1234;
  write_bytes(SAVE_FILE, slots, sizeof slots);
  write_world_map();
  read_slots();
}

TEST(TitleKeys, AUsedSlotResumesAndBecomesTheCurrentSlot) {
  fresh_title();
  write_save_file(5);
  title_screens.title_mode = TITLE_LOAD_LIST;
  title_screens.title_slot = 5;
  title_key(KEY_D);
  EXPECT_EQ(title_screens.title_mode, TITLE_PLAY);
  EXPECT_EQ(game.sb.gold, 1234);
  EXPECT_EQ(game.pos_x, 20);
  EXPECT_EQ(game.pos_y, 30);
  EXPECT_EQ(game.cur_area, 6);
  EXPECT_EQ(game.cur_slot, 5);
  EXPECT_EQ(field_menu.sys_state, 0);
  EXPECT_EQ(field_map.transition, WIPE_CLOSING);
  EXPECT_EQ(music.field_music_on.load(), 1);
  std::remove(SAVE_FILE);
}

TEST(TitleKeys, ASlotWhoseFileHasGoneLeavesThePlayerInTheList) {
  fresh_title();
  write_save_file(2);
  std::remove(SAVE_FILE);
  title_screens.title_mode = TITLE_LOAD_LIST;
  title_screens.title_slot = 2;
  title_key(KEY_D);
  EXPECT_EQ(title_screens.title_mode, TITLE_LOAD_LIST);
  EXPECT_EQ(game.sb.gold, 0);
  EXPECT_EQ(game.cur_slot, 0);
  EXPECT_EQ(field_menu.sys_state, 0);
  EXPECT_EQ(field_map.transition, WIPE_NONE);
}

// A slot whose place is gone is refused under the list: the game, the save
// file and the slot list stay as they were, and the next key takes the line away.
TEST(TitleKeys, ASlotWhosePlaceIsGoneIsRefusedWithALine) {
  const struct {
    const char* why;
    int x, y;
    void (*damage)();
  } cases[] = {
      {"no map file", 20, 30, [] { std::remove("dmapdat004.mp"); }},
      {"a map file cut short", 20, 30, [] { write_world_map(1); }},
      {"a folder for a map file", 20, 30,
       [] { std::remove("dmapdat004.mp"), std::filesystem::create_directory("dmapdat004.mp"); }},
      {"x beyond the map", 40, 30, [] {}},
      {"y beyond the map", 20, 50, [] {}},
  };
  for (const auto& c : cases) {
    fresh_title();
    write_save_file(3, c.x, c.y);
    c.damage();
    std::string saved = read_file(SAVE_FILE);
    state_data before = game;
    title_screens.title_mode = TITLE_LOAD_LIST;
    title_screens.title_slot = 3;
    title_key(KEY_D);
    EXPECT_EQ(title_screens.title_mode, TITLE_LOAD_LIST) << c.why;
    ASSERT_EQ(msg_window.msg_count, 1) << c.why;
    EXPECT_STREQ(msg_window.msg_line[0], SLOT_PLACE_MISSING_TEXT) << c.why;
    EXPECT_EQ(msg_window.msg_visible, 1) << c.why;
    EXPECT_EQ(std::memcmp(&before, &game, sizeof game), 0) << c.why;
    EXPECT_EQ(field_map.transition, WIPE_NONE) << c.why;
    EXPECT_FALSE(any_box()) << c.why;
    EXPECT_EQ(read_file(SAVE_FILE), saved) << c.why;
    title_key(DOWN);
    EXPECT_EQ(msg_window.msg_visible, 0) << c.why;
    std::filesystem::remove("dmapdat004.mp");
  }
  std::remove(SAVE_FILE);
}

} // namespace
