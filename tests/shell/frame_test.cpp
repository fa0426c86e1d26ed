// The frame renderer: the tick test, the per-tick counters, the wipes and
// the steps that follow a field frame.
#include "gfx/title_screens.h"
#include "tests/shell/shell_fixture.h"

#include "gfx/field_map.h"
#include "gfx/surfaces.h"
#include "message/message.h"

#include <algorithm>

namespace {

// Rows above top and from 256 - bottom on are black; the rest are not.
void expect_black_rows(int top, int bottom) {
  for (int y = 0; y < 256; y++) {
    const std::uint8_t* row = surface_pixel(gfx.back_surface, 0, y);
    bool black = std::all_of(row, row + 256 * 3, [](std::uint8_t v) { return v == 0; });
    EXPECT_EQ(black, y < top || y >= 256 - bottom) << "row " << y;
  }
}

} // namespace

TEST(TickTest, ADifferenceGreaterThanThePeriodAsUnsigned32Bits) {
  reset_shell_state();
  shell.frame_period_ms = 0;
  shell.last_tick_ms = 500;
  EXPECT_FALSE(tick_due(500)) << "period 0 still needs the clock to advance";
  EXPECT_TRUE(tick_due(501));
  shell.frame_period_ms = 18;
  EXPECT_FALSE(tick_due(518));
  EXPECT_TRUE(tick_due(519));
  shell.last_tick_ms = 0xFFFFFFF0u; // the clock wraps between two ticks
  EXPECT_FALSE(tick_due(0x00000002u));
  EXPECT_TRUE(tick_due(0x00000003u));
  shell.frame_period_ms = FRAME_STOPPED;
  EXPECT_FALSE(tick_due(0xFFFFFFF0u + 3600u * 1000u * 24u * 24u)) << "stopped: 24 days, no tick";
  EXPECT_FALSE(tick_due(0xFFFFFFF0u + 0x80000000u)) << "nor after 25 days";
}

TEST_F(ShellTest, NoTickNoDrawingButTheCountersMoveOnEveryTick) {
  headless.clock_ms = 18;
  render_frame();
  EXPECT_EQ(headless.presents, 0);
  msg_window.msg_speed = 1;
  msg_window.msg_line_delay = 5;
  tick();
  EXPECT_EQ(headless.presents, 1);
  EXPECT_EQ(msg_window.msg_speed_phase, 1);
  EXPECT_EQ(msg_window.msg_line_delay_phase, 1);
  msg_window.msg_wait_key = 1;
  tick();
  EXPECT_EQ(msg_window.msg_speed_phase, 0);
  EXPECT_EQ(msg_window.msg_line_delay_phase, 1) << "the line delay stands during a page wait";
  shell.frame_period_ms = FRAME_STOPPED;
  headless.clock_ms += 100000;
  render_frame();
  EXPECT_EQ(headless.presents, 2);
}

TEST_F(ShellTest, ClosingWipeTheSixtyFourthTickFillsNothingThenTheOpeningStarts) {
  fill_rect(gfx.back_surface, 0, 0, 256, 256, 0xFFFFFF);
  start_closing_wipe();
  for (int i = 0; i < 63; i++) tick();
  EXPECT_EQ(field_map.transition_pos, 126);
  expect_black_rows(126, 126);
  EXPECT_EQ(field_map.party_anim_count, 0) << "no field step runs under the closing bands";
  std::vector<std::uint8_t> before = gfx.back_surface.px;
  tick();
  EXPECT_EQ(field_map.transition, WIPE_OPENING);
  EXPECT_EQ(field_map.transition_pos, 0);
  EXPECT_TRUE(gfx.back_surface.px == before) << "the 64th tick adds nothing";
  EXPECT_EQ(headless.presents, 64);
  tick(); // the field frame with the opening bands over it
  EXPECT_EQ(field_map.transition_pos, 2);
  expect_black_rows(126, 126);
  for (int i = 0; i < 63; i++) tick();
  EXPECT_EQ(field_map.transition, WIPE_NONE);
  EXPECT_EQ(field_map.transition_pos, 0);
}

TEST_F(ShellTest, PartyPictureEverySixteenTicksBackdropEveryThirtyTwo) {
  for (int i = 0; i < 15; i++) tick();
  EXPECT_EQ(field_map.party_frame, 0);
  tick();
  EXPECT_EQ(field_map.party_frame, 1);
  EXPECT_EQ(field_map.party_anim_count, 0);
  for (int i = 0; i < 15; i++) tick();
  EXPECT_EQ(field_map.bg_select, 0);
  tick();
  EXPECT_EQ(field_map.bg_select, 1);
  EXPECT_EQ(field_map.bg_scroll_x, 33);
  EXPECT_EQ(field_map.bg_scroll_y, 33);
  EXPECT_EQ(field_map.bg_anim_count, 0);
  EXPECT_EQ(field_map.party_frame, 0);
  field_map.bg_select = 2;
  field_map.bg_scroll_x = 63;
  for (int i = 0; i < 32; i++) tick();
  EXPECT_EQ(field_map.bg_select, 0);
  EXPECT_EQ(field_map.bg_scroll_x, 0);
}

TEST_F(ShellTest, TheTitleAndTheWholeMapAreNotFieldFrames) {
  title_screens.title_mode = 1;
  tick();
  EXPECT_EQ(field_map.party_anim_count, 0);
  title_screens.title_mode = 0;
  game.cur_map = WORLD_MAP;
  field_map.world_map_view = 1;
  int presents = headless.presents;
  tick();
  u8 phase = field_map.world_map_phase;
  render_frame(); // no tick needed to move the dot
  EXPECT_EQ(field_map.world_map_phase, static_cast<u8>(phase + 2));
  EXPECT_EQ(headless.presents, presents + 1) << "but shown once a tick";
  tick();
  EXPECT_EQ(headless.presents, presents + 2);
  EXPECT_EQ(field_map.world_map_phase, static_cast<u8>(phase + 4));
  EXPECT_EQ(field_map.party_anim_count, 0);
  field_map.world_map_view = 0;
  tick();
  EXPECT_EQ(field_map.party_anim_count, 1) << "the field ticks on when the view is closed";
}

TEST_F(ShellTest, AFinishedStepArrivesAfterItsFrame) {
  key(VK_DOWN);
  EXPECT_EQ(field_map.step_dir, STEP_DOWN);
  for (int i = 0; i < 16 && field_map.step_dir == STEP_DOWN; i++) tick();
  EXPECT_EQ(field_map.step_dir, 0) << "the arrival ran after the sixteenth scrolling frame";
  EXPECT_EQ(game.pos_y, 9);
}
