// The calls of the walk into parts of the game whose headers are still being
// written: the message printer, the inn, shops and church, the command menu
// and the shell's closing wipe. The names and forms are the game's own; once
// message/message.h, field/shop.h, field/field_menu.h and shell/shell.h
// exist they are used instead.
#pragma once
#include "state/state.h"

#if __has_include("message/message.h")
#include "message/message.h"
#else
// Mode 1 starts a new report (the window is cleared first), mode 2 adds lines.
void msg_print(int mode, const char* text);
#endif

#if __has_include("field/shop.h")
#include "field/shop.h"
#else
void open_inn();
void open_church(int n);
void open_shop(int n);
#endif

#if __has_include("shell/shell.h")
#include "shell/shell.h"
#else
// transition_pos = 0, transition = 1.
void start_closing_wipe();
#endif

// Whether the command menu is open: a person walked into only blocks the
// way, a person talked to answers.
#if __has_include("field/field_menu.h")
#include "field/field_menu.h"
inline bool command_menu_open() {
  return fmn.cmd_menu != 0;
}
#else
#include "field/walk.h"
inline bool command_menu_open() {
  return wk.talking != 0;
}
#endif
