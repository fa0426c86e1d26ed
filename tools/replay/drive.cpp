#include "tools/replay/drive.h"

#include "platform/headless/headless.h"
#include "platform/headless/sound_headless.h"
#include "platform/platform.h"
#include "shell/shell.h"

drive_data driver;
void (*drive_after_key)(int key) = nullptr;
void (*drive_after_tick)() = nullptr;

namespace {

constexpr std::uint32_t STOPPED = 0x7FFFFFFF;
constexpr std::uint32_t IDLE_STEP_MS = 18; // a tick's worth of time when no tick can come

bool later(std::uint32_t a, std::uint32_t b) {
  return static_cast<std::int32_t>(a - b) > 0;
}

} // namespace

int drive_start(bool activate) {
  driver = drive_data{};
  headless_reset();
  if (startup() != 0) return driver.quit = true, 1;
  if (activate) drive_post(MSG_ACTIVATEAPP, 1);
  return 0;
}

void drive_pass() {
  headless_audio_pump();
  if (!driver.quit && loop_pass(&driver.exit_code)) driver.quit = true;
}

void drive_drain() {
  while (!driver.quit && headless_pending() > 0) drive_pass();
}

void drive_post(int kind, std::uint32_t wparam) {
  plat_post_message(kind, wparam);
  drive_drain();
}

void drive_key(int key) {
  drive_post(MSG_KEYDOWN, static_cast<std::uint32_t>(key));
  if (drive_after_key) drive_after_key(key);
}

namespace {

void tick_once() {
  drive_drain();
  if (driver.quit) return;
  driver.ticks++;
  std::uint32_t period = shell.frame_period_ms;
  if (!shell.app_active || period >= STOPPED) {
    headless_advance(period >= STOPPED ? IDLE_STEP_MS : period + 1);
    if (shell.app_active) drive_pass();
    drive_drain();
    return;
  }
  std::uint32_t due = shell.last_tick_ms + period + 1;
  if (later(due, headless.clock_ms)) {
    drive_pass(); // a pending monster turn runs here; the renderer finds no tick due
    drive_drain();
    headless.clock_ms = due;
  }
  drive_pass();
  drive_drain();
}

} // namespace

void drive_tick() {
  tick_once();
  if (drive_after_tick) drive_after_tick();
}

void drive_wait_ms(std::uint32_t ms) {
  std::uint32_t end = headless.clock_ms + ms;
  drive_drain();
  while (!driver.quit && shell.app_active && shell.frame_period_ms < STOPPED) {
    std::uint32_t due = shell.last_tick_ms + shell.frame_period_ms + 1;
    if (later(due, end)) break;
    if (later(due, headless.clock_ms)) headless.clock_ms = due;
    std::uint32_t before = shell.last_tick_ms;
    drive_pass();
    drive_drain();
    if (shell.last_tick_ms == before) break; // the renderer did not tick: nothing more will
    driver.ticks++;
  }
  if (later(end, headless.clock_ms)) headless.clock_ms = end;
}
