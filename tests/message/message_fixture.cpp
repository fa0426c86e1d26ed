#include "message_fixture.h"

#include "battle/battle.h"
#include "gfx/surfaces.h"
#include "gfx/text.h"
#include "platform/png.h"
#include "state/state.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

void fresh_window() {
  reset_state();
  reset_battle_state();
  reset_surfaces_state();
  reset_text_state();
  reset_message_state();
  surface_create(gfx.back_surface, 256, 256);
  surface_create(gfx.waku1_surface, 72, 8);
  for (int k = 0; k < 9; k++)
    fill_rect(gfx.waku1_surface, 8 * k, 0, 8, 8, static_cast<colorref>(k + 1));
}

void set_member_name(int m, const char* name) {
  char* field = game.sb.party[m].name;
  std::memset(field, ' ', sizeof game.sb.party[m].name);
  std::memcpy(field, name, std::strlen(name));
}

void frame() {
  msg_window.msg_speed_phase =
      msg_window.msg_speed_phase < msg_window.msg_speed ? msg_window.msg_speed_phase + 1 : 0;
  if (!msg_window.msg_wait_key)
    msg_window.msg_line_delay_phase = msg_window.msg_line_delay_phase < msg_window.msg_line_delay
                                          ? msg_window.msg_line_delay_phase + 1
                                          : 0;
  msg_window_step();
}

void frames(int n) {
  for (int k = 0; k < n; k++) frame();
}

void page_key() {
  msg_window.msg_wait_key = 0;
  msg_window.msg_line_delay_phase = msg_window.msg_line_delay - 1;
}

pixel_rgb pixel(int x, int y) {
  const std::uint8_t* p = surface_pixel(gfx.back_surface, x, y);
  return {p[2], p[1], p[0]};
}

int count_color(int x, int y, int w, int h, pixel_rgb c) {
  int n = 0;
  for (int j = y; j < y + h && j < 256; j++)
    for (int i = x; i < x + w && i < 256; i++) n += pixel(i, j) == c;
  return n;
}

std::string line(int k) {
  return msg_window.msg_line[k];
}

void save_picture(const char* name) {
  const char* dir = std::getenv("ZK_PICTURES");
  if (!dir) return;
  std::string why, path = std::string(dir) + "/" + name;
  if (write_png(path.c_str(), gfx.back_surface, &why) != 0) ADD_FAILURE() << path << ": " << why;
}
