// The window: reveal timing, scrolling, the page wait, colours, the box, the
// text positions and the NEXT prompt, checked on the back buffer.
#include "message_fixture.h"

#include "battle/battle.h"
#include "gfx/surfaces.h"
#include "state/state.h"

#include <gtest/gtest.h>
#include <string>

namespace {

const pixel_rgb BLACK{0, 0, 0}, WHITE{255, 255, 255}, YELLOW{255, 255, 0},
    LIGHT_BLUE{200, 200, 255}, MAGENTA{255, 0, 255}, RED{255, 50, 50}, GREEN{0, 255, 0};

// Pixels of a colour in the text cell row of window line k.
int in_line(int k, pixel_rgb c, int x = 14, int w = 228) {
  return count_color(x, 160 + 14 * k, w, 12, c);
}

TEST(Window, ThreeLinesAppearOneCycleApart) {
  fresh_window();
  msg_print(PRINT_NEW, "one");
  msg_print(PRINT_ADD, "two");
  msg_print(PRINT_ADD, "three");
  frame();
  EXPECT_EQ(msg_window.msg_reveal_line, 0);
  EXPECT_EQ(msg_window.msg_reveal_col, MSG_LINE_BYTES); // the first line whole in the next frame
  EXPECT_GT(in_line(0, WHITE), 0);
  EXPECT_EQ(in_line(1, WHITE), 0);
  int shown_at[3] = {1, 0, 0};
  for (int f = 2; f <= 20; f++) {
    frame();
    for (int k = 1; k < 3; k++)
      if (!shown_at[k] && msg_window.msg_reveal_line == k &&
          msg_window.msg_reveal_col == MSG_LINE_BYTES)
        shown_at[k] = f;
  }
  EXPECT_GT(shown_at[1], 1);
  EXPECT_EQ(shown_at[2] - shown_at[1], 6); // one line each 6-frame cycle
  EXPECT_GT(in_line(2, WHITE), 0);
  // all three shown: the store's end is now the current line and stays so
  EXPECT_EQ(msg_window.msg_reveal_line, 3);
  frames(20);
  EXPECT_EQ(msg_window.msg_reveal_line, 3);
}

TEST(Window, TheOpeningIsTypedOneByteEverySecondFrame) {
  fresh_window();
  msg_window.msg_speed = 1;
  msg_print(PRINT_NEW, "abcd");
  int cols[6];
  for (int& c : cols) frame(), c = msg_window.msg_reveal_col;
  EXPECT_EQ(cols[5] - cols[1], 2);
  EXPECT_EQ(cols[4] - cols[0], 2);
  while (msg_window.msg_reveal_col < 4) frame();
  frames(6); // at the line's end the reveal moves on to the next line
  EXPECT_EQ(msg_window.msg_reveal_line, 1);
  EXPECT_EQ(msg_window.msg_reveal_col, 0);
}

TEST(Window, APageMarkWaitsForAKeyThatTheWaitSwallows) {
  fresh_window();
  msg_print(PRINT_NEW, " 力が3上がった!@P");
  msg_print(PRINT_ADD, "next");
  frames(3);
  EXPECT_EQ(msg_window.msg_wait_key, 1);
  int phase = msg_window.msg_line_delay_phase;
  frames(30);
  EXPECT_EQ(msg_window.msg_reveal_line, 0); // no further line
  EXPECT_EQ(msg_window.msg_line_delay_phase, phase);
  save_picture("page.png");
  EXPECT_EQ(in_line(0, WHITE, 14 + 6 * 15), 0); // the mark itself is not drawn
  page_key();
  frame(); // the next line follows one frame later
  EXPECT_EQ(msg_window.msg_reveal_line, 1);
  frame();
  EXPECT_EQ(msg_window.msg_reveal_col, MSG_LINE_BYTES);
  EXPECT_EQ(msg_window.msg_wait_key, 0); // a completed line's mark has no effect
  frames(12);
  EXPECT_EQ(msg_window.msg_wait_key, 0);
}

TEST(Window, APageMarkOnTheLastLineOfAFullStoreWaitsOnce) {
  fresh_window();
  msg_print(PRINT_NEW, "x");
  for (int k = 0; k < 600; k++) msg_print(PRINT_ADD, "y");
  msg_window.msg_reveal_line = MSG_LINES - 1;
  msg_window.msg_top_line = msg_window.msg_reveal_line - 5;
  msg_print(PRINT_ADD, "stop@P");
  frames(2);
  EXPECT_EQ(msg_window.msg_wait_key, 1);
  page_key();
  frames(20);
  EXPECT_EQ(msg_window.msg_wait_key, 0); // keys are not swallowed for ever
  msg_print(PRINT_ADD, "again@P");       // a new text over the line stops once more
  frames(2);
  EXPECT_EQ(msg_window.msg_wait_key, 1);
}

TEST(Window, SixLinesShowAndTheOldestScrollsOut) {
  fresh_window();
  msg_print(PRINT_NEW, "@C8L0");
  for (int k = 1; k < 7; k++) msg_print(PRINT_ADD, ("L" + std::to_string(k)).c_str());
  for (int f = 0; f < 100 && !(msg_window.msg_reveal_line == 6 && msg_window.msg_reveal_col); f++)
    frame();
  EXPECT_EQ(msg_window.msg_reveal_line, 6);
  EXPECT_EQ(msg_window.msg_top_line, 1);
  // lines 1..5 at y 160..216, line 6 at y 230; line 0 (green) has gone
  for (int k = 0; k < 6; k++) EXPECT_GT(in_line(k, WHITE), 0) << k;
  EXPECT_EQ(count_color(0, 0, 256, 256, GREEN), 0);
  save_picture("scrolled.png");
}

TEST(Window, ColourCodesOnCompletedAndCurrentLines) {
  fresh_window();
  set_member_name(0, "AB");
  msg_print(PRINT_NEW, "@C1@NAME0@C0の、攻撃!");
  msg_print(PRINT_ADD, "@C3blue@C2red");
  msg_print(PRINT_ADD, "carried@C3mag");
  frames(20);
  ASSERT_EQ(msg_window.msg_reveal_line, 3); // all three are completed lines now
  // "AB" yellow, the rest white
  EXPECT_GT(in_line(0, YELLOW, 14, 12), 0);
  EXPECT_EQ(in_line(0, WHITE, 14, 12), 0);
  EXPECT_GT(in_line(0, WHITE, 26, 60), 0);
  EXPECT_EQ(in_line(0, YELLOW, 26, 200), 0);
  EXPECT_GT(in_line(1, LIGHT_BLUE, 14, 24), 0);
  EXPECT_GT(in_line(1, RED, 38, 18), 0);
  EXPECT_GT(in_line(2, RED, 14, 42), 0); // red carries into the next line
  EXPECT_GT(in_line(2, LIGHT_BLUE, 56, 18), 0);

  // the same line as the current line shows @C3 in magenta
  fresh_window();
  msg_print(PRINT_NEW, "@C3blue");
  frame();
  EXPECT_GT(in_line(0, MAGENTA), 0);
  EXPECT_EQ(in_line(0, LIGHT_BLUE), 0);
  save_picture("colours.png");
}

TEST(Window, UnknownCodesAreDrawnAsText) {
  fresh_window();
  msg_print(PRINT_NEW, "@C9");
  frame();
  int plain = in_line(0, WHITE);
  EXPECT_GT(plain, 0);
  fresh_window();
  msg_print(PRINT_NEW, "@C1@C2"); // a byte after a skipped code is drawn even when it is '@'
  frame();
  EXPECT_GT(in_line(0, YELLOW), 0);
}

TEST(Window, BoxAndTextSitAtTheirPlaces) {
  fresh_window();
  msg_print(PRINT_NEW, "ABC");
  frame();
  save_picture("box.png");
  auto piece = [](int x, int y) { return pixel(x, y).r - 1; };
  EXPECT_EQ(piece(8, 152), 0);
  EXPECT_EQ(piece(16, 152), 4);
  EXPECT_EQ(piece(240, 152), 1);
  EXPECT_EQ(piece(8, 200), 6);
  EXPECT_EQ(piece(240, 200), 7);
  EXPECT_EQ(piece(8, 240), 2);
  EXPECT_EQ(piece(100, 247), 5);
  EXPECT_EQ(piece(247, 247), 3);
  EXPECT_EQ(piece(7, 152), -1);
  EXPECT_EQ(piece(248, 152), -1);
  EXPECT_EQ(piece(8, 151), -1);
  EXPECT_EQ(piece(8, 248), -1);
  // opaque text: black cells from x 14, 6 pixels a byte, from y 160, 12 high
  EXPECT_EQ(pixel(14, 160), BLACK);
  EXPECT_EQ(pixel(31, 171), BLACK);
  EXPECT_EQ(piece(32, 160), 8);
  EXPECT_EQ(piece(20, 172), 8);
  for (int k = 0; k < 3; k++) EXPECT_GT(count_color(14 + 6 * k, 160, 6, 12, WHITE), 0) << k;
}

TEST(Window, DoubleByteCharactersTakeTwelvePixels) {
  fresh_window();
  msg_print(PRINT_NEW, "あa");
  frame();
  EXPECT_GT(count_color(14, 160, 12, 12, WHITE), 0);
  EXPECT_GT(count_color(26, 160, 6, 12, WHITE), 0);
  EXPECT_NE(pixel(31, 171).r, 9); // the second character's cell ends at x 32
  EXPECT_EQ(pixel(32, 171).r, 9); // then the window's inside
}

TEST(Window, HiddenWindowDrawsNothing) {
  fresh_window();
  msg_print(PRINT_NEW, "text");
  msg_print(PRINT_NEW, nullptr);
  frames(3);
  EXPECT_EQ(count_color(0, 0, 256, 256, BLACK), 256 * 256);
  EXPECT_EQ(msg_window.msg_reveal_col, 0); // nor reveals
}

TEST(Window, NextPromptPulsesWhileABattleWaits) {
  fresh_window();
  msg_print(PRINT_NEW, "hit");
  frame();
  EXPECT_EQ(msg_window.msg_prompt_phase, 0);
  EXPECT_EQ(count_color(24, 240, 60, 13, pixel_rgb{1, 1, 1}), 0);
  battle.battle_wait_open = 1;
  frame();
  EXPECT_EQ(msg_window.msg_prompt_phase, 16);
  EXPECT_GT(count_color(24, 240, 60, 13, pixel_rgb{16, 16, 100}), 0);
  EXPECT_GT(count_color(25, 241, 60, 13, pixel_rgb{1, 1, 1}), 0);
  save_picture("prompt.png");
  battle.battle_wait_open = 0, battle.battle_wait_turn = 1;
  frames(15);
  EXPECT_EQ(msg_window.msg_prompt_phase, 0); // 16 frames from dark to bright and round
  EXPECT_GT(count_color(24, 240, 60, 13, pixel_rgb{0, 0, 100}), 0);
  battle.gameover_state = 1;
  frame();
  EXPECT_EQ(msg_window.msg_prompt_phase, 0);
}

} // namespace

namespace {

TEST(Window, WithTheGamesOwnFramePieces) {
  fresh_window();
  ASSERT_EQ(load_bitmap(gfx.waku1_surface, "WAKU1"), 0);
  set_member_name(0, "ルカ");
  msg_print(PRINT_NEW, "@C1@NAME0@C0の、攻撃!");
  msg_print(PRINT_ADD, ">@C1スライム@C0に、 @C2 12@C0ポイントのダメージ！");
  msg_print(PRINT_ADD, "@C8やくそう@C0を手に入れた。@C3Light@C0 @C4Blue@C0 @C5Grey");
  battle.battle_wait_open = 1;
  frames(20);
  save_picture("game_frame.png");
  EXPECT_EQ(msg_window.msg_reveal_line, 3);
  EXPECT_NE(pixel(8, 152), pixel(0, 0)); // the frame is there
}

} // namespace
