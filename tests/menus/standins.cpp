// TEMPORARY stand-ins for the parts of the field the menus call that are
// not in yet: the talk command, the tile test and the map change (recorded),
// and the rebuild of the map pictures. They go once field/walk and
// gfx/field_map land.
#include "field/menu_links.h"
#include "menus_fixture.h"

namespace {
std::vector<std::string> calls;
} // namespace

void enter_map(int map, int x, int y) {
  calls.push_back("enter_map " + std::to_string(map) + " " + std::to_string(x) + " " +
                  std::to_string(y));
}

int try_step(int x, int y, int mode) {
  calls.push_back("try_step " + std::to_string(x) + " " + std::to_string(y) + " " +
                  std::to_string(mode));
  return 0;
}

void talk() {
  calls.push_back("talk");
}

void rebuild_map_pictures() {
  calls.push_back("rebuild_map_pictures");
}

void reset_outside() {
  calls.clear();
}

std::vector<std::string> outside_calls() {
  return calls;
}
