// The map pictures and their scroll. The visible 256 x 256 field is the square
// (16, 16)..(272, 272) of the current 288 x 288 picture; a step slides that
// square one pixel per tick into the picture's outer ring, and when it has
// moved a whole tile the picture is shifted into the other one and only the
// 18 newly exposed tiles are drawn.
#include "gfx/field_map.h"

#include "gfx/surfaces.h"

field_map_data fm;

void reset_field_map_state() {
  fm = field_map_data{};
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
  return gx.map_surface[fm.map_surface_sel & 1];
}

surface& current_backdrop() {
  return gx.bg_surface[fm.bg_select >= 0 && fm.bg_select < 3 ? fm.bg_select : 0];
}

bool inside_map(int x, int y) {
  return x >= 0 && y >= 0 && x <= st.map_max_x && y <= st.map_max_y && x < 256 && y < 256;
}

// A plain copy of the map's tile (x, y), or of the outside tile.
void draw_tile(surface& dst, int dx, int dy, int x, int y) {
  if (!inside_map(x, y)) {
    copy_rect(dst, dx, dy, gx.dummy_surface, tile_sx(OUTSIDE_TILE), tile_sy(OUTSIDE_TILE), 16, 16);
    return;
  }
  int t = st.map_grid[y][x];
  copy_rect(dst, dx, dy, gx.pmap_surface, tile_sx(t), tile_sy(t), 16, 16);
}

int wrap_once(int v, int m) {
  if (v < 0) return v + m + 1;
  if (v > m) return v - (m + 1);
  return v;
}

// A tile exposed by scrolling: the world map is round, so beyond its edge
// the opposite edge shows; every other map shows the outside tile.
void draw_exposed_tile(surface& dst, int dx, int dy, int x, int y) {
  if (!inside_map(x, y) && st.cur_map == WORLD_MAP) {
    x = wrap_once(x, st.map_max_x);
    y = wrap_once(y, st.map_max_y);
  }
  draw_tile(dst, dx, dy, x, y);
}

void draw_backdrops() {
  if (st.map_kind == 1) {
    for (int k = 0; k < 3; k++)
      for (int r = 0; r < 20; r++)
        for (int c = 0; c < 20; c++) {
          int t = st.backdrop_grid[k][r][c];
          copy_rect(gx.bg_surface[k], 16 * c, 16 * r, gx.dummy_surface, tile_sx(t), tile_sy(t), 16,
                    16);
        }
    return;
  }
  int t = st.border_tile & 255;
  for (int r = 0; r < 18; r++)
    for (int c = 0; c < 18; c++)
      copy_rect(gx.bg_surface[0], 16 * c, 16 * r, gx.dummy_surface, tile_sx(t), tile_sy(t), 16, 16);
}

// The backdrop window of a scrolling backdrop follows the step and jumps back
// to its middle before it would leave the 320 x 320 frame.
void move_backdrop(const step_rule& s) {
  if (st.map_kind != 1) return;
  if (s.dy > 0 && ++fm.bg_scroll_y > 63) fm.bg_scroll_y = 32;
  if (s.dy < 0 && --fm.bg_scroll_y < 1) fm.bg_scroll_y = 32;
  if (s.dx > 0 && ++fm.bg_scroll_x > 63) fm.bg_scroll_x = 32;
  if (s.dx < 0 && --fm.bg_scroll_x < 1) fm.bg_scroll_x = 32;
}

void compose(int sx, int sy) {
  if (st.map_kind == 1)
    copy_rect(gx.back_surface, 0, 0, current_backdrop(), fm.bg_scroll_x, fm.bg_scroll_y, 256, 256);
  else
    copy_rect(gx.back_surface, 0, 0, gx.bg_surface[0], sx, sy, 256, 256);
  copy_keyed(gx.back_surface, 0, 0, current_picture(), sx, sy, 256, 256);
}

// The end of a step: the picture moves by one tile into the other picture,
// which becomes current, and the view origin follows.
void advance_pictures(const step_rule& s) {
  surface& from = current_picture();
  surface& to = gx.map_surface[1 - (fm.map_surface_sel & 1)];
  if (s.dy > 0) copy_rect(to, 0, 0, from, 0, 16, 288, 272);
  if (s.dy < 0) copy_rect(to, 0, 16, from, 0, 0, 288, 272);
  if (s.dx > 0) copy_rect(to, 0, 0, from, 16, 0, 272, 288);
  if (s.dx < 0) copy_rect(to, 16, 0, from, 0, 0, 272, 288);
  fm.map_surface_sel = 1 - (fm.map_surface_sel & 1);
  if (s.dy > 0) {
    for (int c = 0; c < 18; c++) draw_exposed_tile(to, 16 * c, 272, st.view_x + c, st.view_y + 18);
    st.view_y += 1;
  } else if (s.dy < 0) {
    st.view_y -= 1;
    for (int c = 0; c < 18; c++) draw_exposed_tile(to, 16 * c, 0, st.view_x + c, st.view_y);
  } else if (s.dx > 0) {
    for (int r = 0; r < 18; r++) draw_exposed_tile(to, 272, 16 * r, st.view_x + 18, st.view_y + r);
    st.view_x += 1;
  } else {
    st.view_x -= 1;
    for (int r = 0; r < 18; r++) draw_exposed_tile(to, 0, 16 * r, st.view_x, st.view_y + r);
  }
  fm.step_dir = STEP_ARRIVED;
}

void scroll_tick(const step_rule& s) {
  int& off = s.dx != 0 ? fm.step_off_x : fm.step_off_y;
  if (s.end_off == 16 && off < 16) off++;
  if (s.end_off == 0 && off > 0) off--;
  move_backdrop(s);
  // Down and right look from the middle onwards, up and left from the ring.
  int sx = s.dx != 0 ? fm.step_off_x + (s.dx > 0 ? 16 : 0) : 16;
  int sy = s.dy != 0 ? fm.step_off_y + (s.dy > 0 ? 16 : 0) : 16;
  compose(sx, sy);
  save_under_party();
  // People keep their place on the map, so on the screen they move against the step.
  for (npc& n : st.npc_table) {
    n.px = static_cast<i16>(n.px - s.dx);
    n.py = static_cast<i16>(n.py - s.dy);
  }
  st.facing = s.facing;
  if (off == s.end_off) advance_pictures(s);
}

} // namespace

void rebuild_map_pictures() {
  fm.map_surface_sel = 0;
  for (int r = 0; r < 18; r++)
    for (int c = 0; c < 18; c++)
      draw_tile(gx.map_surface[0], 16 * c, 16 * r, st.view_x + c, st.view_y + r);
  copy_rect(gx.under_party_surface, 0, 0, gx.map_surface[0], 144, 144, 16, 16);
  for (npc& n : st.npc_table) {
    n.px = static_cast<i16>((n.x - (st.view_x + 1)) * 16);
    n.py = static_cast<i16>((n.y - (st.view_y + 1)) * 16);
  }
  draw_backdrops();
  fm.bg_anim_count = 0;
  fm.bg_select = 0;
  fm.bg_scroll_x = 32;
  fm.bg_scroll_y = 32;
}

void draw_field_map() {
  const step_rule* s = rule_of(fm.step_dir);
  if (s) {
    scroll_tick(*s);
    return;
  }
  compose(16, 16);
}

void save_under_party() {
  copy_rect(gx.under_party_surface, 0, 0, gx.back_surface, 128, 128, 16, 16);
}
