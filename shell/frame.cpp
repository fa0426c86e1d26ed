// The frame renderer. The clock decides whether a tick is due; on a tick the
// whole picture of the screen of the moment is composed in the back buffer
// and presented, and the steps tied to drawing follow: the party's walking
// picture, the backdrop animation and the arrival of a finished step. The
// tick period is therefore the speed of the whole game.
#include "battle/battle.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "field/walk.h"
#include "gfx/battle_screen.h"
#include "gfx/field_map.h"
#include "gfx/field_windows.h"
#include "gfx/surfaces.h"
#include "gfx/text.h"
#include "gfx/title_screens.h"
#include "message/message.h"
#include "shell/shell.h"
#include "state/state.h"

namespace {

// The message window's counters run on every tick, whatever the screen; the
// line delay stands still during a page wait.
void advance_message_counters() {
  if (msg_window.msg_speed_phase < msg_window.msg_speed)
    msg_window.msg_speed_phase++;
  else
    msg_window.msg_speed_phase = 0;
  if (msg_window.msg_wait_key != 0) return;
  if (msg_window.msg_line_delay_phase < msg_window.msg_line_delay)
    msg_window.msg_line_delay_phase++;
  else
    msg_window.msg_line_delay_phase = 0;
}

// The map, its people and the windows go on the back buffer together, what
// the windows paint over left out.
void draw_field_frame() {
  begin_window_layer();
  draw_field_map();
  draw_party();
  move_npcs();
  draw_npcs();
  if (field_map.area_label_on == 1) draw_area_label();
  draw_field_windows();
  if (battle.battle_mode != BATTLE_NONE) draw_battle_screen();
  if (field_menu.system_win) draw_system_menu();
  msg_window_step();
  end_window_layer();
  if (battle.gameover_state == 2) draw_game_over();
  if (field_map.transition == WIPE_OPENING) opening_wipe();
  present();
}

} // namespace

bool tick_due(u32 now) {
  // Stopped means stopped: the difference alone would let one tick through
  // after some 25 days.
  if (shell.frame_period_ms == FRAME_STOPPED) return false;
  return now - shell.last_tick_ms > shell.frame_period_ms; // unsigned: the clock may wrap
}

void render_frame() {
  u32 now = plat_tick_count();
  // The whole-map view moves its dot on every call, tick or not, but is shown
  // at the tick rate: more often the window would only spend a processor on it.
  if (field_map.world_map_view == 1 && game.cur_map == WORLD_MAP) {
    draw_world_map_view();
    if (!tick_due(now)) return;
    shell.last_tick_ms = now;
    return present();
  }
  if (!tick_due(now)) return;
  shell.last_tick_ms = now;
  advance_message_counters();
  if (title_screens.title_mode != 0) return draw_title_screens(); // presents itself
  if (events.ending_shown == 1) return draw_ending_screen();
  if (field_map.transition == WIPE_CLOSING) return closing_wipe();
  draw_field_frame();
  animate_field();
  if (field_map.step_dir == STEP_ARRIVED) arrive(); // ends with step_dir 0
}
