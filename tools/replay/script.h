// The replay script: one command a line.
//   key NAME | tick [N] | wait MS | menu ID | activate 0|1 | shot FILE.png | dump FILE.json
//   # comment, and blank lines
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum replay_op : int { OP_KEY, OP_TICK, OP_WAIT, OP_MENU, OP_ACTIVATE, OP_SHOT, OP_DUMP };

struct replay_step {
  int op = OP_TICK;
  int line = 0;
  std::uint32_t value = 0; // key code, tick count, milliseconds, menu id, 0/1
  std::string file;        // shot and dump
};

// Parses the whole script. 0 on success; otherwise 1 with "line N: why" in *error.
int parse_script(const std::string& text, std::vector<replay_step>& out, std::string* error);
// A virtual-key code by name (DOWN, F6, NUMPAD2, A, 0x44 ...); -1 when unknown.
int key_by_name(const std::string& name);
