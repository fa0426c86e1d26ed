#include "tools/autoplay/drive.h"

#include "platform/headless/headless.h"
#include "platform/headless/sound_headless.h"
#include "platform/platform.h"
#include "shell/shell.h"

drive_data drv;

namespace {

void pass() {
  if (!drv.quit && loop_pass(&drv.exit_code)) drv.quit = true;
}

void drain() {
  while (!drv.quit && headless_pending() > 0) pass();
}

} // namespace

int drive_start() {
  drv = drive_data{};
  headless_reset();
  plat_create_window("Zandrek");
  if (startup() != 0) return drv.quit = true, 1;
  plat_post_message(MSG_ACTIVATEAPP, 1);
  drain();
  return 0;
}

void drive_key(int key) {
  plat_post_message(MSG_KEYDOWN, static_cast<std::uint32_t>(key));
  drain();
}

void drive_tick() {
  drain();
  pass(); // a monster turn due runs before the renderer finds its tick
  headless.clock_ms = sh.last_tick_ms + sh.frame_period_ms + 1;
  headless_audio_pump(); // the music plays on in virtual time: one-off tunes end
  pass();
  drain();
  drv.ticks++;
}
