// Running the game in this process on the headless platform: keys and menu
// commands go through the window's message queue and the virtual clock
// moves one frame tick at a time. zandrek-replay, zandrek-soak and
// zandrek-autoplay all drive the game this way.
#pragma once
#include <cstdint>

struct drive_data {
  bool quit = false; // MSG_QUIT was taken, or start-up failed
  int exit_code = 0;
  std::uint64_t ticks = 0; // frame ticks run
};

extern drive_data driver;

// Watchers the soak sets: called after every drive_key and every drive_tick
// (a start-up and a restart leave them as they are).
extern void (*drive_after_key)(int key);
extern void (*drive_after_tick)();

// Start-up in the working directory; 0 on success. With activate the window
// is made active at once, as the system does for a window a player opens.
int drive_start(bool activate);
// One pass of the main loop, the sound device and the music stream having
// played up to the clock.
void drive_pass();
// The real loop takes every waiting message before anything else.
void drive_drain();
// A message posted to the window and handled at once.
void drive_post(int kind, std::uint32_t wparam);
void drive_key(int key);
// One frame tick: the passes before it (a pending monster turn runs there),
// then the clock moves to the moment the renderer ticks and the loop runs
// once more. While the game is inactive or stopped a tick only moves the
// clock (by the period + 1, or 18 ms).
void drive_tick();
// The clock runs ms milliseconds with the loop running: every tick that
// falls due is drawn.
void drive_wait_ms(std::uint32_t ms);
