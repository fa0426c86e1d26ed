// The window procedure and the main loop: the speed items, the picture
// sizes, activation, and the way out (Escape, F12, the close command).
#include "gfx/title_screens.h"
#include "tests/shell/shell_fixture.h"

#include "gfx/surfaces.h"

TEST_F(ShellTest, FastReachesZeroAndStaysSlowStopsAtThreeHundredStopResumesAtTwenty) {
  for (int i = 0; i < 9; i++) command(CMD_FASTER);
  EXPECT_EQ(shell.frame_period_ms, 0u);
  command(CMD_FASTER);
  EXPECT_EQ(shell.frame_period_ms, 0u) << "the period must not wrap below 0";
  for (int i = 0; i < 200; i++) command(CMD_SLOWER);
  EXPECT_EQ(shell.frame_period_ms, 300u);
  command(CMD_STOP);
  EXPECT_EQ(shell.frame_period_ms, FRAME_STOPPED);
  command(CMD_SLOWER);
  EXPECT_EQ(shell.frame_period_ms, 20u);
  command(CMD_STOP);
  command(CMD_FASTER);
  EXPECT_EQ(shell.frame_period_ms, 20u);
  // key K on the field is the same as "&Fast"
  key(0x4B);
  EXPECT_EQ(shell.frame_period_ms, 18u);
}

TEST_F(ShellTest, SizeItemsSetTheClientAreaWidthMultipleFirst) {
  const struct {
    unsigned id;
    int w, h;
  } sizes[] = {{40003, 512, 256}, {40004, 768, 256}, {40005, 256, 512},
               {40006, 512, 512}, {40007, 768, 512}, {40008, 256, 768},
               {40009, 512, 768}, {40010, 768, 768}, {40002, 256, 256}};
  for (const auto& s : sizes) {
    command(s.id);
    EXPECT_EQ(headless.client_w, s.w) << s.id;
    EXPECT_EQ(headless.client_h, s.h) << s.id;
  }
  command(40017);
  EXPECT_TRUE(log_has("about"));
  EXPECT_EQ(shell.frame_period_ms, 18u) << "sizes and About leave the speed alone";
}

TEST_F(ShellTest, ActivationDecidesWhetherTheLoopDraws) {
  int code = -1;
  window_proc(plat_msg{MSG_ACTIVATEAPP, 0, 0});
  EXPECT_EQ(shell.app_active, 0);
  headless.clock_ms = 1000;
  EXPECT_EQ(loop_pass(&code), 0);
  EXPECT_EQ(headless.presents, 0) << "nothing is drawn while inactive";
  window_proc(plat_msg{MSG_ACTIVATEAPP, 2, 0});
  EXPECT_EQ(shell.app_active, 1);
  EXPECT_EQ(loop_pass(&code), 0);
  EXPECT_EQ(shell.last_tick_ms, 1000u);
  EXPECT_EQ(headless.presents, 1);
}

TEST_F(ShellTest, EscapeF12AndTheCloseCommandPostCloseWhichEndsTheLoopWithZero) {
  key(0x1B);
  EXPECT_EQ(queued(), "close");
  key(0x7B);
  EXPECT_EQ(queued(), "close");
  command(CMD_CLOSE);
  EXPECT_EQ(shell.frame_period_ms, 18u);
  int code = -1, passes = 0;
  while (!loop_pass(&code) && passes < 10) passes++;
  EXPECT_EQ(code, 0);
  EXPECT_LT(passes, 10);
  EXPECT_FALSE(surface_exists(gfx.back_surface)) << "the drawing objects are released";
}

TEST_F(ShellTest, DuringTheTitleEscapeGoesToTheTitleAndQuitsNothing) {
  title_screens.title_mode = 1;
  key(0x1B);
  key(0x7B);
  EXPECT_EQ(queued(), "");
}
