// The party and the people of the map: their pictures come from the
// character sheet, two walking pictures per facing.
#include "gfx/field_map.h"
#include "gfx/surfaces.h"
#include "gfx/text.h"

namespace {

bool present_npc(const npc& n) {
  return (n.state & 1) == 0;
}

// One pixel of a step a person is walking, or of its pause.
void walk_on(npc& n) {
  switch (n.move) {
  case 2:
    n.py = static_cast<i16>(n.py + 1);
    break;
  case 4:
    n.px = static_cast<i16>(n.px - 1);
    break;
  case 6:
    n.px = static_cast<i16>(n.px + 1);
    break;
  case 8:
    n.py = static_cast<i16>(n.py - 1);
    break;
  default:
    break;
  }
  if (++n.move_px > 15) n.move = 0;
}

void start_step(npc& n, int dx, int dy, u8 move, u8 facing) {
  n.x = static_cast<u8>(n.x + dx);
  n.y = static_cast<u8>(n.y + dy);
  n.move = move;
  n.facing = facing;
  n.move_px = 0;
  n.frame_count = 0;
}

// A standing person waits its time, then draws lots for its next step.
void decide(npc& n) {
  if (n.wait_count < n.wait) {
    n.wait_count++;
    return;
  }
  n.wait_count = 0;
  int r = next_rand() % 16;
  n.move = 0;
  if (r == 2 && n.y < game.map_max_y && !tile_blocks_npc(n.x, n.y + 1)) start_step(n, 0, 1, 2, 0);
  if (r == 4 && n.x > 0 && !tile_blocks_npc(n.x - 1, n.y)) start_step(n, -1, 0, 4, 2);
  if (r == 6 && n.x < game.map_max_x && !tile_blocks_npc(n.x + 1, n.y)) start_step(n, 1, 0, 6, 4);
  if (r == 8 && n.y > 0 && !tile_blocks_npc(n.x, n.y - 1)) start_step(n, 0, -1, 8, 6);
  if (r == 10) n.move_px = 0;
}

// The part of a 16-pixel picture at screen position p that lies on the
// 256-pixel field: source offset, screen position and length; false when
// none of it is drawn.
bool clip(int p, int* src, int* dst, int* len) {
  if (p >= -15 && p < 0) return *src = -p, *dst = 0, *len = 16 + p, true;
  if (p >= 0 && p <= 240) return *src = 0, *dst = p, *len = 16, true;
  if (p >= 241 && p <= 255) return *src = 0, *dst = p, *len = 256 - p, true;
  return false;
}

} // namespace

void draw_party() {
  draw_picture(128, 128, gfx.under_party_surface, 0, 0, 16, 16, false);
  int sx = ((game.ship_sprite % 16) + game.facing + field_map.party_frame) * 16;
  int sy = game.ship_sprite / 16 * 16;
  draw_picture(128, 128, gfx.plc_surface, sx, sy, 16, 16, true);
}

void move_npcs() {
  for (npc& n : game.npc_table) {
    if (!present_npc(n) || n.wanders == 0) continue;
    if (n.move == 2 || n.move == 4 || n.move == 6 || n.move == 8 || n.move == 10)
      walk_on(n);
    else
      decide(n);
  }
}

void draw_npcs() {
  for (npc& n : game.npc_table) {
    bool gone = n.type == 2 && game.sb.flags[n.b] == 1;
    if (gone || n.state == 255 || !present_npc(n)) continue;
    int sx, dx, w, sy, dy, h;
    if (!clip(n.px, &sx, &dx, &w) || !clip(n.py, &sy, &dy, &h)) continue;
    int col = (n.sprite % 16) + n.facing + n.frame, row = n.sprite / 16;
    draw_picture(dx, dy, gfx.plc_surface, col * 16 + sx, row * 16 + sy, w, h, true);
    if (n.frame_count < n.frame_period) {
      n.frame_count++;
    } else {
      n.frame ^= 1;
      n.frame_count = 0;
    }
  }
}
