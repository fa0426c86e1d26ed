// zandrek: the game in its window. It runs in its game folder, where its
// data files and its save file are; it reads no arguments and no settings.
#include "shell/shell.h"

#include <unistd.h>

int main() {
  if (startup() != 0) return 0; // the reason has been shown in a message box
  int exit_code = 0;
  while (!loop_pass(&exit_code)) {
    // Between ticks the loop would only poll the clock: sleep a millisecond
    // instead. Messages are still taken at once, and ticks fall due as before.
    if (shell.app_active && !tick_due(plat_tick_count())) usleep(1000);
  }
  return exit_code;
}
