#include "title_fixture.h"

#include "audio/music.h"
#include "audio/sound.h"
#include "battle/battle.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "gfx/surfaces.h"
#include "gfx/text.h"
#include "gfx/title_screens.h"
#include "message/message.h"
#include "platform/headless/headless.h"
#include "platform/headless/sound_headless.h"
#include "platform/png.h"
#include "platform/sound.h"
#include "shell/shell.h"
#include "state/state.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

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

} // namespace

void fresh_title() {
  headless_audio_reset();
  headless_reset();
  reset_state();
  reset_battle_state();
  reset_event_state();
  reset_field_menu_state();
  reset_message_state();
  reset_music_state();
  reset_shell_state();
  reset_sound_state();
  reset_surfaces_state();
  reset_text_state();
  reset_title_screens_state();
  title_screens.title_mode = TITLE_MENU;
  sound.device = snd_device_open() == 1;
  make_effect(SND_MENU);
  make_effect(SND_CANCEL);
  surface_create(gfx.back_surface, 256, 256);
  surface_create(gfx.waku1_surface, 72, 8);
  for (int k = 0; k < 9; k++)
    fill_rect(gfx.waku1_surface, 8 * k, 0, 8, 8, static_cast<colorref>(k + 1));
  surface_create(gfx.cursol_surface, 6, 12);
  fill_rect(gfx.cursol_surface, 0, 0, 6, 12, 0x00FF00);
  clear_log();
}

int logged(const std::string& line) {
  return static_cast<int>(std::count(headless.log.begin(), headless.log.end(), line));
}

void clear_log() {
  headless.log.clear();
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

void save_picture(const char* name) {
  const char* dir = std::getenv("ZK_PICTURES");
  if (!dir) return;
  std::string why, path = std::string(dir) + "/" + name;
  if (write_png(path.c_str(), gfx.back_surface, &why) != 0) ADD_FAILURE() << path << ": " << why;
}
