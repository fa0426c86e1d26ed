// The default game's world and towns through the field: its pictures and a
// walk. With ZK_FIELD_PICTURES naming a folder, each test leaves PNG
// pictures of what it drew there, to be looked at.
#include "field/walk.h"
#include "field_fixture.h"
#include "gfx/surfaces.h"
#include "platform/png.h"
#include "state/data_files.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

class DefaultWorld : public FieldTest {
protected:
  void SetUp() override {
    FieldTest::SetUp();
    char here[1024];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    work = here;
    ASSERT_EQ(chdir(ZK_GAME_DIR), 0) << "the default game is made by the build";
    ASSERT_EQ(load_bitmap(gfx.pmap_surface, "PMAP"), 0);
    ASSERT_EQ(load_bitmap(gfx.plc_surface, "PLC"), 0);
    ASSERT_EQ(load_bitmap(gfx.dummy_surface, "DUMMY"), 0);
    set_color_key(gfx.plc_surface, 0);
    game.cur_map = WORLD_MAP;
    load_data(LOAD_START);
    game.cur_area = area_at(game.cur_map, game.pos_x, game.pos_y);
    rebuild_map_pictures();
  }
  void TearDown() override { ASSERT_EQ(chdir(work.c_str()), 0); }
  void frame() {
    draw_field_map();
    draw_party();
    move_npcs();
    draw_npcs();
    draw_area_label();
    if (field_map.step_dir == STEP_ARRIVED) arrive();
  }
  void save(const char* name) {
    const char* dir = std::getenv("ZK_FIELD_PICTURES");
    if (!dir) return;
    std::string why;
    EXPECT_EQ(write_png((std::string(dir) + "/" + name).c_str(), gfx.back_surface, &why), 0) << why;
  }
  // A step as the key dispatcher starts it, and its 16 frames.
  int step(i32 code) {
    int dx = code == STEP_RIGHT ? 1 : code == STEP_LEFT ? -1 : 0;
    int dy = code == STEP_DOWN ? 1 : code == STEP_UP ? -1 : 0;
    if (try_step(game.pos_x + dx, game.pos_y + dy, STEP_ENTER) != 0) return 1;
    field_map.step_dir = code;
    field_map.step_off_x = dx < 0 ? 16 : 0;
    field_map.step_off_y = dy < 0 ? 16 : 0;
    game.pos_x += dx, game.pos_y += dy;
    for (int t = 0; t < 16 && field_map.step_dir != 0; t++) frame();
    return 0;
  }
  std::string work;
};

TEST_F(DefaultWorld, TheStartOfTheWorldAndAWalkAcrossIt) {
  field_map.area_label_on = 1;
  frame();
  save("world_start.png");
  int walked = 0;
  for (i32 code : {STEP_RIGHT, STEP_RIGHT, STEP_DOWN, STEP_DOWN, STEP_LEFT, STEP_UP})
    walked += step(code) == 0;
  EXPECT_GT(walked, 0) << "the party sets out boxed in";
  frame();
  save("world_walked.png");
  field_map.world_map_view = 1;
  draw_world_map_view();
  save("world_whole.png");
  // Down the first stair of the world, for its picture (the stairs
  // themselves are Walk's and World's).
  field_map.world_map_view = 0;
  for (int i = 0; i < game.map_event_count; i++) {
    const map_event e = game.map_events[i];
    if (int k = game.tile_class[game.map_grid[e.y][e.x]]; k != 2 && k != 3) continue;
    game.pos_x = e.x, game.pos_y = e.y, game.encounter_steps = 5;
    try_step(e.x, e.y, STEP_ARRIVE);
    frame();
    save("place_entered.png");
    break;
  }
}

// Whether any 16 x 16 cell of the field shows the outside tile of the second
// sheet or nothing but pure black: the empty screen a player would see
// beyond a map's edge.
bool shows_void(const surface& s, const surface& dummy) {
  for (int cy = 0; cy < 256; cy += 16)
    for (int cx = 0; cx < 256; cx += 16) {
      bool black = true, outside = true;
      for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++) {
          bgr c = pixel(s, cx + x, cy + y);
          black = black && c == bgr{0, 0, 0};
          outside = outside && c == pixel(dummy, 240 + x, 240 + y);
        }
      if (black || outside) return true;
    }
  return false;
}

// From every map, standing on the walkable tiles nearest its four edges (the
// places from which the view reaches furthest beyond it), the field shows
// scenery everywhere: the map's border tile frames it, never the black void.
TEST_F(DefaultWorld, NoMapShowsTheVoidBeyondItsEdge) {
  int maps = 0;
  for (int n = 0; n < 256; n++) {
    char name[32];
    std::snprintf(name, sizeof name, "dmapdat%03d.mp", n);
    if (access(name, R_OK) != 0) continue;
    game.cur_map = n;
    load_data(LOAD_MAP);
    maps++;
    int edge[4][2] = {{999, 0}, {-1, 0}, {0, 999}, {0, -1}}; // least x, most x, least y, most y
    for (int y = 0; y <= game.map_max_y; y++)
      for (int x = 0; x <= game.map_max_x; x++) {
        if (game.tile_class[game.map_grid[y][x]] == 1) continue;
        if (x < edge[0][0]) edge[0][0] = x, edge[0][1] = y;
        if (x > edge[1][0]) edge[1][0] = x, edge[1][1] = y;
        if (y < edge[2][1]) edge[2][0] = x, edge[2][1] = y;
        if (y > edge[3][1]) edge[3][0] = x, edge[3][1] = y;
      }
    for (auto& e : edge) {
      game.pos_x = e[0], game.pos_y = e[1], game.view_x = e[0] - 9, game.view_y = e[1] - 9;
      rebuild_map_pictures();
      draw_field_map();
      EXPECT_FALSE(shows_void(gfx.back_surface, gfx.dummy_surface))
          << name << " from " << e[0] << "," << e[1];
    }
  }
  EXPECT_GT(maps, 40);
}

} // namespace
