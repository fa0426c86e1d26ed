// The title menu and its keys (moving, confirming, the opening, continuing
// from a slot, the load list), and the title screens, the ending and
// "GAME OEVR" as drawn on the back buffer.
#include "audio/music.h"
#include "audio/sound.h"
#include "battle/battle.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "field/title_menu.h"
#include "gfx/field_map.h"
#include "gfx/surfaces.h"
#include "gfx/text.h"
#include "gfx/title_screens.h"
#include "message/message.h"
#include "platform/headless/headless.h"
#include "platform/headless/sound_headless.h"
#include "platform/keys.h"
#include "platform/sound.h"
#include "shell/shell.h"
#include "state/save_slots.h"
#include "state/state.h"
#include "tests/common/back_buffer.h"
#include "tests/common/save_picture.h"
#include "tests/common/test_files.h"
#include "tests/common/window_pieces.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int DOWN = VK_DOWN, UP = VK_UP, KEY_D = 'D', KEY_C = 'C';

const pixel_rgb DARK_BLUE{0, 0, 100}, WHITE{255, 255, 255}, DIM_RED{50, 0, 0}, GREEN{0, 255, 0};

// A short silent wave, so that an effect is present and its play is logged
// whether or not the game's own sounds are built in.
void make_effect(int effect) {
  static const std::uint8_t samples[64] = {};
  wave_info w;
  w.format = {1, 1, 22050, 44100, 2, 16};
  w.data = samples;
  w.size = sizeof samples;
  sound_create_from(&sound.objects[effect], w, 1);
}

// A clean game on the title menu, with window pieces and a cursor a test can
// tell apart on the back buffer.
void fresh_title() {
  headless_audio_reset();
  headless_reset();
  reset_game();
  title_screens.title_mode = TITLE_MENU;
  sound.device = snd_device_open() == 1;
  make_effect(SND_MENU);
  make_effect(SND_CANCEL);
  mark_window_pieces();
  headless.log.clear();
}

int logged(const std::string& line) {
  return static_cast<int>(std::count(headless.log.begin(), headless.log.end(), line));
}

TEST(TitleKeys, OnlyMovesThatGoSomewhereSoundAndDConfirms) {
  fresh_title();
  title_screens.pulse_level = 120, title_screens.pulse_down = 0;
  const int ignored[] = {VK_SPACE, VK_ESCAPE,     VK_F12, VK_LEFT,      VK_RIGHT,   VK_RETURN,
                         KEY_C,    VK_NONCONVERT, 'Q',    UP /* top */, VK_NUMPAD8, PAD_UP};
  for (int key : ignored) title_key(key);
  EXPECT_EQ(title_screens.title_mode, TITLE_MENU);
  EXPECT_EQ(title_screens.title_cursor, 0);
  EXPECT_EQ(title_screens.pulse_level, 120);
  EXPECT_EQ(title_screens.pulse_down, 0);
  EXPECT_TRUE(headless.log.empty());

  title_key(VK_NUMPAD2); // onto CONTINUE: the pulse starts bright and darkens
  EXPECT_EQ(title_screens.title_cursor, 1);
  EXPECT_EQ(title_screens.pulse_level, 254);
  EXPECT_EQ(title_screens.pulse_down, 1);
  title_screens.pulse_level = 90;
  title_key(PAD_DOWN); // down on CONTINUE: nothing
  EXPECT_EQ(title_screens.title_cursor, 1);
  EXPECT_EQ(title_screens.pulse_level, 90);
  EXPECT_EQ(logged("sound: menusound"), 1);
  title_key(UP);
  EXPECT_EQ(title_screens.title_cursor, 0);
  title_key(KEY_D);
  EXPECT_EQ(title_screens.title_mode, TITLE_OPENING);
  EXPECT_EQ(logged("sound: menusound"), 3);
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
  headless.log.clear();
  title_key(UP);
  EXPECT_EQ(title_screens.title_slot, 0);
  EXPECT_TRUE(headless.log.empty());
  for (int k = 0; k < 9; k++) title_key(DOWN);
  EXPECT_EQ(title_screens.title_slot, 7);
  EXPECT_EQ(logged("sound: menusound"), 7);
  EXPECT_EQ(title_screens.title_cursor, 1); // the title cursor stays
  EXPECT_EQ(title_screens.pulse_level, 254);

  headless.log.clear();
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
  title_key(VK_NUMPAD3);
  EXPECT_EQ(title_screens.title_mode, TITLE_MENU);
}

// A world map of max x 39 and max y 49, `cut` bytes short of its rows.
void write_world_map(std::size_t cut = 0) {
  std::vector<u8> map(16 + 40 * 50, 1);
  map[0] = 39, map[1] = 49;
  ASSERT_TRUE(write_file("dmapdat004.mp", map.data(), map.size() - cut));
}

// Slot `used` on the world map at (x, y), then the title's load list on it.
void choose_saved_slot(int used, int x = 20, int y = 30) {
  fresh_title();
  save_block slots[SLOT_COUNT]{};
  slots[used].map = WORLD_MAP, slots[used].area = 6, slots[used].gold = 1234;
  slots[used].x = static_cast<u8>(x), slots[used].y = static_cast<u8>(y);
  ASSERT_TRUE(write_file(SAVE_FILE, slots, sizeof slots));
  write_world_map();
  read_slots();
  title_screens.title_mode = TITLE_LOAD_LIST;
  title_screens.title_slot = used;
}

TEST(TitleKeys, AUsedSlotResumesAndBecomesTheCurrentSlot) {
  choose_saved_slot(5);
  title_key(KEY_D);
  EXPECT_EQ(title_screens.title_mode, TITLE_PLAY);
  EXPECT_EQ(game.sb.gold, 1234) << "resumed";
  EXPECT_EQ(game.cur_slot, 5);
  EXPECT_EQ(field_menu.sys_state, 0);
  EXPECT_EQ(field_map.transition, WIPE_CLOSING);
  EXPECT_EQ(music.field_music_on.load(), 1);
  std::remove(SAVE_FILE);
}

// A slot that cannot be resumed leaves the player in the list with the game
// and the save file as they were; a slot whose place is gone says so under
// the list until the next key.
TEST(TitleKeys, ASlotThatCannotBeResumedChangesNothing) {
  const struct {
    const char* why;
    int x, y;
    void (*damage)();
    const char* line;
  } cases[] = {
      {"the save file gone", 20, 30, [] { std::remove(SAVE_FILE); }, nullptr},
      {"no map file", 20, 30, [] { std::remove("dmapdat004.mp"); }, SLOT_PLACE_MISSING_TEXT},
      {"a map file cut short", 20, 30, [] { write_world_map(1); }, SLOT_PLACE_MISSING_TEXT},
      {"a folder for a map file", 20, 30,
       [] { std::remove("dmapdat004.mp"), std::filesystem::create_directory("dmapdat004.mp"); },
       SLOT_PLACE_MISSING_TEXT},
      {"x beyond the map", 40, 30, [] {}, SLOT_PLACE_MISSING_TEXT},
      {"y beyond the map", 20, 50, [] {}, SLOT_PLACE_MISSING_TEXT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    choose_saved_slot(3, c.x, c.y);
    c.damage();
    std::vector<std::uint8_t> saved = read_file(SAVE_FILE);
    state_data before = game;
    title_key(KEY_D);
    EXPECT_EQ(title_screens.title_mode, TITLE_LOAD_LIST);
    EXPECT_EQ(std::memcmp(&before, &game, sizeof game), 0);
    EXPECT_EQ(field_map.transition, WIPE_NONE);
    EXPECT_EQ(field_menu.sys_state, 0);
    EXPECT_EQ(logged("sound: menusound"), 1) << "and no box";
    EXPECT_EQ(headless.log.size(), 1u);
    EXPECT_EQ(read_file(SAVE_FILE), saved);
    EXPECT_EQ(msg_window.msg_visible, c.line != nullptr);
    if (c.line) {
      ASSERT_EQ(msg_window.msg_count, 1);
      EXPECT_STREQ(msg_window.msg_line[0], c.line);
    }
    title_key(DOWN);
    EXPECT_EQ(msg_window.msg_visible, 0);
    std::filesystem::remove("dmapdat004.mp");
  }
  std::remove(SAVE_FILE);
}

TEST(TitleScreen, TheHighlightedItemPulsesTheOtherStaysDim) {
  fresh_title();
  draw_title_screens();
  save_picture("title.png");
  EXPECT_EQ(headless.presents, 1);
  EXPECT_EQ(pixel(0, 0), DARK_BLUE);
  EXPECT_EQ(pixel(255, 255), DARK_BLUE);
  EXPECT_GT(count_color(8, 60, 248, 60, WHITE), 0);        // the name
  EXPECT_EQ(title_screens.pulse_level, 52);                // 2 a tick
  EXPECT_GT(count_color(70, 150, 130, 22, {52, 0, 0}), 0); // NEW GAME
  EXPECT_GT(count_color(72, 170, 120, 20, DIM_RED), 0);    // CONTINUE
  EXPECT_EQ(count_color(72, 174, 130, 20, {52, 0, 0}), 0);
  EXPECT_GT(count_color(20, 215, 236, 30, WHITE), 0); // the credit line

  int top = 0, bottom = 999, turns = 0, last = title_screens.pulse_level, dir = 1;
  for (int t = 0; t < 400; t++) {
    draw_title_screens();
    int level = title_screens.pulse_level;
    int d = level > last ? 1 : level < last ? -1 : dir;
    if (d != dir) turns++, dir = d;
    top = std::max(top, level), bottom = std::min(bottom, level);
    // a tick's pause at the bottom, where the direction turns
    int step = std::abs(level - last);
    EXPECT_TRUE(step == 2 || (step == 0 && last == 50)) << t;
    last = level;
  }
  EXPECT_EQ(top, 254);
  EXPECT_EQ(bottom, 50);
  EXPECT_GE(turns, 3); // about 100 ticks each way

  title_screens.title_cursor = 1;
  draw_title_screens();
  pixel_rgb lit{title_screens.pulse_level, 0, 0};
  EXPECT_GT(count_color(72, 174, 130, 20, lit), 0);
  EXPECT_GT(count_color(70, 150, 130, 22, DIM_RED), 0);
}

TEST(TitleScreen, TheOpeningIsTheMessageWindowOnBlue) {
  fresh_title();
  title_screens.title_mode = TITLE_OPENING;
  msg_window.msg_speed = 1;
  msg_print(PRINT_NEW, "ABC");
  msg_window.msg_speed_phase = 1;
  draw_title_screens();
  EXPECT_EQ(pixel(0, 0), DARK_BLUE);
  EXPECT_EQ(pixel(8, 152).r, 1); // the window's top-left piece
  EXPECT_EQ(msg_window.msg_reveal_col, 1);
  EXPECT_EQ(count_color(8, 60, 248, 60, WHITE), 0); // no title
}

// The pixels of a load-list line's text, 12 rows from y.
std::vector<pixel_rgb> strip(int y) {
  std::vector<pixel_rgb> s;
  for (int j = y; j < y + 12; j++)
    for (int x = 34; x < 34 + 6 * 18; x++) s.push_back(pixel(x, j));
  return s;
}

// The strip of one load-list line as it should read, drawn apart.
std::vector<pixel_rgb> expected_line(const char* text) {
  surface saved = gfx.back_surface;
  surface_create(gfx.back_surface, 256, 256);
  begin_text(text_drawing.menu_font, TEXT_OPAQUE);
  text_out(34, 0, text);
  end_text();
  std::vector<pixel_rgb> s = strip(0);
  gfx.back_surface = saved;
  return s;
}

TEST(TitleScreen, LoadListNamesEachSlotByItsPlace) {
  fresh_title();
  title_screens.title_mode = TITLE_LOAD_LIST;
  game.slots[1].map = WORLD_MAP, game.slots[1].area = 6;
  game.slots[4].map = 12, game.slots[4].area = 3;
  title_screens.title_slot = 4;
  draw_title_screens();
  save_picture("load_list.png");
  EXPECT_EQ(pixel(16, 16).r, 1); // the frame: 152 x 134 rounds to 152 x 136
  EXPECT_EQ(pixel(167, 151).r, 4);
  EXPECT_EQ(pixel(168, 100), DARK_BLUE);
  EXPECT_EQ(pixel(100, 152), DARK_BLUE);
  char want[64];
  for (int i = 0; i < 8; i++) {
    const char* place = i == 1 ? world_area_names[6] : i == 4 ? place_names[3] : "－－ 未使用 －－";
    std::snprintf(want, sizeof want, "%d.%16s", i + 1, place);
    EXPECT_TRUE(strip(30 + 14 * i) == expected_line(want)) << i;
  }
  // the cursor at the chosen slot
  EXPECT_EQ(pixel(24, 30 + 14 * 4), GREEN);
  EXPECT_EQ(pixel(29, 41 + 14 * 4), GREEN);
  EXPECT_NE(pixel(24, 30), GREEN);
}

TEST(EndingScreen, TheBackgroundBrightensThenTheTextFadesIn) {
  fresh_title();
  title_screens.title_mode = TITLE_PLAY;
  draw_ending_screen();
  EXPECT_EQ(pixel(0, 0), (pixel_rgb{0, 0, 0}));
  EXPECT_EQ(title_screens.ending_fade, 1);
  for (int t = 1; t < 100; t++) draw_ending_screen();
  EXPECT_EQ(pixel(128, 128), (pixel_rgb{0, 0, 99}));
  EXPECT_EQ(title_screens.ending_fade, 100);
  EXPECT_EQ(title_screens.ending_text_level, 0); // no text yet
  draw_ending_screen();
  EXPECT_EQ(pixel(128, 200), DARK_BLUE);
  EXPECT_EQ(title_screens.ending_text_level, 2);
  for (int t = 0; t < 200; t++) draw_ending_screen();
  EXPECT_EQ(title_screens.ending_text_level, 254);
  EXPECT_EQ(title_screens.ending_fade, 100);
  save_picture("ending.png");
  pixel_rgb grey{254, 254, 254};
  EXPECT_GT(count_color(220, 226, 36, 30, grey), 0); // "fin"
  EXPECT_GT(count_color(40, 45, 200, 30, grey), 0);  // the name
  EXPECT_GT(count_color(30, 95, 220, 60, grey), 0);  // the credits
  EXPECT_EQ(count_color(0, 0, 256, 40, grey), 0);
  EXPECT_EQ(count_color(248, 0, 8, 220, grey), 0); // nothing runs off the right
  EXPECT_EQ(headless.presents, 301);
}

TEST(GameOver, RedTextOverAShadowDarkensFourATick) {
  fresh_title();
  title_screens.title_mode = TITLE_PLAY;
  draw_game_over(); // not while the party stands
  EXPECT_EQ(title_screens.pulse_level, PULSE_START);
  battle.gameover_state = 2;
  title_screens.pulse_level = 200;
  draw_game_over();
  save_picture("game_over.png");
  EXPECT_EQ(title_screens.pulse_level, 196);
  EXPECT_GT(count_color(40, 90, 200, 40, {200, 0, 0}), 0);
  EXPECT_GT(count_color(40, 90, 200, 40, {1, 1, 1}), 0);
  EXPECT_EQ(headless.presents, 0); // the field frame presents it
  title_screens.pulse_level = 2;
  draw_game_over();
  EXPECT_EQ(title_screens.pulse_level, 254); // back to bright after 0
  for (int t = 0; t < 64; t++) draw_game_over();
  EXPECT_EQ(title_screens.pulse_level, 254); // a cycle of 64 ticks
}

} // namespace
