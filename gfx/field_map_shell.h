// The frame renderer's two counters that the field map reads or restarts:
// the party's walking picture and the backdrop animation. They belong to the
// shell; until its header exists the field map draws the first walking
// picture and leaves the backdrop animation to run on.
#pragma once
#include "state/state.h"

#if __has_include("shell/shell.h")
#include "shell/shell.h"
inline i32 party_walk_frame() {
  return sh.party_frame;
}
inline void restart_bg_animation() {
  sh.bg_anim_count = 0;
}
#else
inline i32 party_walk_frame() {
  return 0;
}
inline void restart_bg_animation() {}
#endif
