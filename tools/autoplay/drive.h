// Running the game in this process on the headless platform, as
// zandrek-replay does: keys go through the window's message queue and the
// virtual clock moves one frame tick at a time.
#pragma once
#include <cstdint>

struct drive_data {
  bool quit = false;
  int exit_code = 0;
  std::uint64_t ticks = 0; // frame ticks run so far
};

extern drive_data drv;

// Start-up in the working directory and the window made active; 0 on success.
int drive_start();
// One key press, handled at once.
void drive_key(int key);
// One frame tick (with the monster turn the main loop runs before it).
void drive_tick();
