// The calls of the battle into parts of the game that have no header yet:
// the message printer and the field's map change. The names and forms are
// the game's own; once message/message.h and field/walk.h declare them,
// those headers replace this one.
#pragma once
#include "state/state.h"

// Mode 1 starts a new report (the window is cleared first), mode 2 adds
// lines; no text hides the window.
void msg_print(int mode, const char* text);
// The message window is shown while this is 1.
extern i32 msg_visible;
// Takes the party to (x, y) of the map, as stairs do.
void enter_map(int map, int x, int y);
