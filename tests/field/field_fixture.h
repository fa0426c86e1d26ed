// A clean game on a small map written by the test, with tile and character
// sheets whose every pixel tells where it came from.
#pragma once
#include "field_sheets.h"
#include "state/state.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

// Where the party stands: map, x, y.
std::tuple<int, int, int> place();

constexpr int FLOOR = 1, WALL = 2, WATER = 64, STAIRS = 3, DOOR = 17, COUNTER = 8;

class FieldTest : public ::testing::Test {
protected:
  void SetUp() override;
  // A max_x + 1 by max_y + 1 map of floor on map `map`, the party at (px, py).
  void make_map(int map, int max_x, int max_y, int px, int py);
  void add_event(int x, int y, int a, int b, int c);
  // The lines of the message window, in order.
  std::vector<std::string> texts() const;
  // Empties the message window and closes the counters' windows.
  void forget_messages();
  int log_count(const std::string& line) const;
  // The talk command, chosen from the open command menu.
  void talk_command();
  // Writes the files of map `map` into the working directory, from the
  // current tables with this header.
  void write_map_files(int map, int max_x, int max_y, int sx, int sy, int music, int kind,
                       int ret_map, int ret_x, int ret_y, int area);
};
