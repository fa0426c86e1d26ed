// The calls of the menus, shops and save slots into the field's talk and
// tile test and the rebuild of the map pictures, whose headers are still
// being written. The names and forms are the game's own; once field/walk.h
// and gfx/field_map.h are in, they replace the declarations here.
#pragma once
#include "message/message.h"
#include "state/state.h"

// The message window's shown flag.
inline i32& message_visible() {
  return mw.msg_visible;
}

int try_step(int x, int y, int mode);
void talk();
void rebuild_map_pictures();
