// The window procedure: activation, the menu (picture size, game speed, the
// About box), closing, and the keys, which go to the key dispatcher. And the
// main loop that feeds it.
#include "audio/music.h"
#include "audio/sound.h"
#include "battle/battle.h"
#include "shell/shell.h"

namespace {

// The client size of items 40002..40010: width multiple first, 1x1 to 3x3.
void set_picture_size(u32 id) {
  u32 k = id - CMD_SIZE_1X1;
  int w = static_cast<int>(k % 3 + 1) * 256, h = static_cast<int>(k / 3 + 1) * 256;
  plat_set_client_size(w, h);
}

void menu_command(u32 id) {
  if (id >= CMD_SIZE_1X1 && id <= CMD_SIZE_3X3) return set_picture_size(id);
  switch (id) {
  case CMD_SLOWER:
    return speed_slower();
  case CMD_FASTER:
    return speed_faster();
  case CMD_STOP:
    shell.frame_period_ms = FRAME_STOPPED;
    return;
  case CMD_ABOUT:
    play_menusound();
    plat_about_box();
    return;
  case CMD_CLOSE:
    plat_post_message(MSG_CLOSE);
    return;
  default:
    return;
  }
}

// Nothing is saved: the drawing objects go, the music stops, the loop ends.
void destroy() {
  release_drawing_objects();
  music_stop();
  plat_post_message(MSG_QUIT, 0);
}

} // namespace

void speed_slower() {
  if (shell.frame_period_ms == FRAME_STOPPED)
    shell.frame_period_ms = FRAME_PERIOD_RESUME;
  else if (shell.frame_period_ms < FRAME_PERIOD_SLOWEST)
    shell.frame_period_ms += 2;
}

void speed_faster() {
  if (shell.frame_period_ms == FRAME_STOPPED)
    shell.frame_period_ms = FRAME_PERIOD_RESUME;
  else if (shell.frame_period_ms > 0)
    shell.frame_period_ms -= 2;
}

void window_proc(const plat_msg& m) {
  switch (m.kind) {
  case MSG_ACTIVATEAPP:
    shell.app_active = (m.wparam == 1 || m.wparam == 2) ? 1 : 0;
    return;
  case MSG_DESTROY:
    return destroy();
  case MSG_CLOSE:
    // the default handling destroys the window, which first runs its WM_DESTROY
    destroy();
    plat_destroy_window();
    return;
  case MSG_COMMAND:
    return menu_command(m.wparam & 0xFFFF);
  case MSG_KEYDOWN:
    return key_dispatch(static_cast<int>(m.wparam));
  default:
    return;
  }
}

int loop_pass(int* exit_code) {
  plat_msg m;
  if (plat_peek_message(&m)) {
    if (m.kind == MSG_QUIT) {
      *exit_code = static_cast<int>(m.wparam);
      return 1;
    }
    window_proc(m);
    return 0;
  }
  if (!shell.app_active) {
    plat_wait_message();
    return 0;
  }
  if (battle.battle_mode != BATTLE_NONE && battle.monster_turn_pending && !battle.battle_wait_open)
    monster_turn();
  render_frame();
  return 0;
}
