// The window procedure and the main loop: the speed items, the picture
// sizes, activation, and the way out (Escape, F12, the close command).
#include "gfx/title_screens.h"
#include "tests/shell/shell_fixture.h"

#include "gfx/surfaces.h"

TEST_F(ShellTest, FastReachesZeroAndStaysSlowStopsAtThreeHundredStopResumesAtTwenty) {
  // the period must not wrap below 0, and the stopped clock resumes at 20
  const struct {
    unsigned command;
    int times;
    std::uint32_t period;
  } steps[] = {{CMD_FASTER, 9, 0},           {CMD_FASTER, 1, 0},  {CMD_SLOWER, 200, 300},
               {CMD_STOP, 1, FRAME_STOPPED}, {CMD_SLOWER, 1, 20}, {CMD_STOP, 1, FRAME_STOPPED},
               {CMD_FASTER, 1, 20}};
  for (const auto& s : steps) {
    for (int i = 0; i < s.times; i++) command(s.command);
    EXPECT_EQ(shell.frame_period_ms, s.period) << s.command << " x" << s.times;
  }
  key(0x4B); // key K on the field is the same as "&Fast"
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
  title_screens.title_mode = 1; // during the title they go to the title and quit nothing
  key(0x1B);
  key(0x7B);
  EXPECT_EQ(queued(), "");
  title_screens.title_mode = 0;
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
