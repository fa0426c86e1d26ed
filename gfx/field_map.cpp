// The map pictures and their scroll. The visible 256 x 256 field is the square
// (16, 16)..(272, 272) of the current 288 x 288 picture; a step slides that
// square one pixel per tick into the picture's outer ring, and when it has
// moved a whole tile the picture is shifted into the other one and only the
// 18 newly exposed tiles are drawn.
#include "gfx/field_map.h"

#include "gfx/surfaces.h"
#include "gfx/text.h"

field_map_data field_map;

void reset_field_map_state() {
  field_map = field_map_data{};
}

namespace {

constexpr int OUTSIDE_TILE = 255; // of the second sheet, drawn outside the map

// What differs between the four steps.
struct step_rule {
  i32 code;
  int dx, dy;  // the party's movement on the map
  i32 facing;  // set on every scrolling tick
  int end_off; // the offset at which the scroll is done
};

constexpr step_rule step_rules[4] = {
    {STEP_DOWN, 0, 1, 0, 16},
    {STEP_LEFT, -1, 0, 2, 0},
    {STEP_RIGHT, 1, 0, 4, 16},
    {STEP_UP, 0, -1, 6, 0},
};

const step_rule* rule_of(i32 code) {
  for (const step_rule& r : step_rules)
    if (r.code == code) return &r;
  return nullptr;
}

surface& current_picture() {
  return gfx.map_surface[field_map.map_surface_sel & 1];
}

surface& current_backdrop() {
  return gfx
      .bg_surface[field_map.bg_select >= 0 && field_map.bg_select < 3 ? field_map.bg_select : 0];
}

bool inside_map(int x, int y) {
  return x >= 0 && y >= 0 && x <= game.map_max_x && y <= game.map_max_y && x < 256 && y < 256;
}

// A plain copy of the map's tile (x, y), or of the outside tile.
void draw_tile(surface& dst, int dx, int dy, int x, int y) {
  if (!inside_map(x, y)) {
    copy_rect(dst, dx, dy, gfx.dummy_surface, tile_sx(OUTSIDE_TILE), tile_sy(OUTSIDE_TILE), 16, 16);
    return;
  }
  int t = game.map_grid[y][x];
  copy_rect(dst, dx, dy, gfx.pmap_surface, tile_sx(t), tile_sy(t), 16, 16);
}

int wrap_once(int v, int m) {
  if (v < 0) return v + m + 1;
  if (v > m) return v - (m + 1);
  return v;
}

// A tile exposed by scrolling: the world map is round, so beyond its edge
// the opposite edge shows; every other map shows the outside tile.
void draw_exposed_tile(surface& dst, int dx, int dy, int x, int y) {
  if (!inside_map(x, y) && game.cur_map == WORLD_MAP) {
    x = wrap_once(x, game.map_max_x);
    y = wrap_once(y, game.map_max_y);
  }
  draw_tile(dst, dx, dy, x, y);
}

void draw_backdrops() {
  if (game.map_kind == 1) {
    for (int k = 0; k < 3; k++)
      for (int r = 0; r < 20; r++)
        for (int c = 0; c < 20; c++) {
          int t = game.backdrop_grid[k][r][c];
          copy_rect(gfx.bg_surface[k], 16 * c, 16 * r, gfx.dummy_surface, tile_sx(t), tile_sy(t),
                    16, 16);
        }
    return;
  }
  int t = game.border_tile & 255;
  for (int r = 0; r < 18; r++)
    for (int c = 0; c < 18; c++)
      copy_rect(gfx.bg_surface[0], 16 * c, 16 * r, gfx.dummy_surface, tile_sx(t), tile_sy(t), 16,
                16);
}

// The backdrop window of a scrolling backdrop follows the step and jumps back
// to its middle before it would leave the 320 x 320 frame.
void move_backdrop(const step_rule& s) {
  if (game.map_kind != 1) return;
  if (s.dy > 0 && ++field_map.bg_scroll_y > 63) field_map.bg_scroll_y = 32;
  if (s.dy < 0 && --field_map.bg_scroll_y < 1) field_map.bg_scroll_y = 32;
  if (s.dx > 0 && ++field_map.bg_scroll_x > 63) field_map.bg_scroll_x = 32;
  if (s.dx < 0 && --field_map.bg_scroll_x < 1) field_map.bg_scroll_x = 32;
}

// The map's picture over its backdrop. A standing frame's goes through the
// window layer, which leaves out what the windows cover; a step's is drawn
// at once, as the step then reads the party's square and may move the
// pictures on.
void compose(int sx, int sy, bool through_layer) {
  const bool moving = game.map_kind == 1;
  const surface& under = moving ? current_backdrop() : gfx.bg_surface[0];
  const int ux = moving ? field_map.bg_scroll_x : sx, uy = moving ? field_map.bg_scroll_y : sy;
  if (through_layer)
    draw_over_backdrop(0, 0, under, ux, uy, current_picture(), sx, sy, 256, 256);
  else
    copy_keyed_over(gfx.back_surface, 0, 0, under, ux, uy, current_picture(), sx, sy, 256, 256);
}

// The end of a step: the picture moves by one tile into the other picture,
// which becomes current, and the view origin follows.
void advance_pictures(const step_rule& s) {
  surface& from = current_picture();
  surface& to = gfx.map_surface[1 - (field_map.map_surface_sel & 1)];
  if (s.dy > 0) copy_rect(to, 0, 0, from, 0, 16, 288, 272);
  if (s.dy < 0) copy_rect(to, 0, 16, from, 0, 0, 288, 272);
  if (s.dx > 0) copy_rect(to, 0, 0, from, 16, 0, 272, 288);
  if (s.dx < 0) copy_rect(to, 16, 0, from, 0, 0, 272, 288);
  field_map.map_surface_sel = 1 - (field_map.map_surface_sel & 1);
  if (s.dy > 0) {
    for (int c = 0; c < 18; c++)
      draw_exposed_tile(to, 16 * c, 272, game.view_x + c, game.view_y + 18);
    game.view_y += 1;
  } else if (s.dy < 0) {
    game.view_y -= 1;
    for (int c = 0; c < 18; c++) draw_exposed_tile(to, 16 * c, 0, game.view_x + c, game.view_y);
  } else if (s.dx > 0) {
    for (int r = 0; r < 18; r++)
      draw_exposed_tile(to, 272, 16 * r, game.view_x + 18, game.view_y + r);
    game.view_x += 1;
  } else {
    game.view_x -= 1;
    for (int r = 0; r < 18; r++) draw_exposed_tile(to, 0, 16 * r, game.view_x, game.view_y + r);
  }
  field_map.step_dir = STEP_ARRIVED;
}

void scroll_tick(const step_rule& s) {
  int& off = s.dx != 0 ? field_map.step_off_x : field_map.step_off_y;
  if (s.end_off == 16 && off < 16) off++;
  if (s.end_off == 0 && off > 0) off--;
  move_backdrop(s);
  // Down and right look from the middle onwards, up and left from the ring.
  int sx = s.dx != 0 ? field_map.step_off_x + (s.dx > 0 ? 16 : 0) : 16;
  int sy = s.dy != 0 ? field_map.step_off_y + (s.dy > 0 ? 16 : 0) : 16;
  compose(sx, sy, false);
  save_under_party();
  // People keep their place on the map, so on the screen they move against the step.
  for (npc& n : game.npc_table) {
    n.px = static_cast<i16>(n.px - s.dx);
    n.py = static_cast<i16>(n.py - s.dy);
  }
  game.facing = s.facing;
  if (off == s.end_off) advance_pictures(s);
}

} // namespace

void rebuild_map_pictures() {
  field_map.map_surface_sel = 0;
  for (int r = 0; r < 18; r++)
    for (int c = 0; c < 18; c++)
      draw_tile(gfx.map_surface[0], 16 * c, 16 * r, game.view_x + c, game.view_y + r);
  copy_rect(gfx.under_party_surface, 0, 0, gfx.map_surface[0], 144, 144, 16, 16);
  for (npc& n : game.npc_table) {
    n.px = static_cast<i16>((n.x - (game.view_x + 1)) * 16);
    n.py = static_cast<i16>((n.y - (game.view_y + 1)) * 16);
  }
  draw_backdrops();
  field_map.bg_anim_count = 0;
  field_map.bg_select = 0;
  field_map.bg_scroll_x = 32;
  field_map.bg_scroll_y = 32;
}

void draw_field_map() {
  const step_rule* s = rule_of(field_map.step_dir);
  if (s) {
    scroll_tick(*s);
    return;
  }
  compose(16, 16, true);
}

void save_under_party() {
  copy_rect(gfx.under_party_surface, 0, 0, gfx.back_surface, 128, 128, 16, 16);
}
