// The default game's story as the build converted it (game/event.sci, in
// Shift-JIS), compiled in-process, and read back statement by statement.
#pragma once
#include "event/scic.h"

#include <string>
#include <vector>

// One statement of an event's code: its offset, opcode and the bytes after
// the opcode (operands, the condition of an if, jump bytes).
struct story_stmt {
  int at = 0;
  int op = 0;
  std::vector<int> args;
};

// Compiles game/event.sci into the event tables; the compile's result.
int compile_story();
// The source lines of game/event.sci, as bytes, without their line ends.
std::vector<std::string> story_lines();
// Event n's statements in code order; an empty list for an undefined event,
// and a statement with op -1 where the code cannot be read on.
std::vector<story_stmt> statements_of(int n);
// How many lines of the message window the message takes, names counted at
// four full-width characters and item names at their length.
int window_lines(const char* msg);
// What goes wrong on some way through event n: text lost, a page too long,
// a wait or a print after the ending flag, a jump back. Empty when nothing.
std::vector<std::string> path_faults(int n);
