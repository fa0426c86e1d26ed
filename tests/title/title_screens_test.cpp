// The title screens, the ending and "GAME OEVR" on the back buffer.
#include "title_fixture.h"

#include "battle/battle.h"
#include "gfx/surfaces.h"
#include "gfx/text.h"
#include "gfx/title_screens.h"
#include "message/message.h"
#include "platform/headless/headless.h"
#include "shell/shell.h"
#include "state/state.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace {

const pixel_rgb DARK_BLUE{0, 0, 100}, WHITE{255, 255, 255}, DIM_RED{50, 0, 0};

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
    int d = title_screens.pulse_level > last ? 1 : title_screens.pulse_level < last ? -1 : dir;
    if (d != dir) turns++, dir = d;
    top = std::max(top, title_screens.pulse_level),
    bottom = std::min(bottom, title_screens.pulse_level);
    // a tick's pause at the bottom, where the direction turns
    int step = std::abs(title_screens.pulse_level - last);
    EXPECT_TRUE(step == 2 || (step == 0 && last == 50)) << t;
    last = title_screens.pulse_level;
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

// The strip of one load-list line as it should read, drawn apart.
std::vector<pixel_rgb> expected_line(const char* text) {
  surface saved = gfx.back_surface;
  surface_create(gfx.back_surface, 256, 256);
  begin_text(text_drawing.menu_font, TEXT_OPAQUE);
  text_out(34, 0, text);
  end_text();
  std::vector<pixel_rgb> strip;
  for (int y = 0; y < 12; y++)
    for (int x = 34; x < 34 + 6 * 18; x++) strip.push_back(pixel(x, y));
  gfx.back_surface = saved;
  return strip;
}

std::vector<pixel_rgb> list_line(int i) {
  std::vector<pixel_rgb> strip;
  for (int y = 30 + 14 * i; y < 42 + 14 * i; y++)
    for (int x = 34; x < 34 + 6 * 18; x++) strip.push_back(pixel(x, y));
  return strip;
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
    EXPECT_TRUE(list_line(i) == expected_line(want)) << i;
  }
  // the cursor at the chosen slot
  EXPECT_EQ(pixel(24, 30 + 14 * 4), (pixel_rgb{0, 255, 0}));
  EXPECT_EQ(pixel(29, 41 + 14 * 4), (pixel_rgb{0, 255, 0}));
  EXPECT_NE(pixel(24, 30), (pixel_rgb{0, 255, 0}));
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
