// The drawing's own clocks: the wipe of a map change and the animation of
// the party's walking picture and of the backdrop, advanced by the frame
// renderer once a tick.
#include "gfx/field_map.h"
#include "gfx/surfaces.h"

// Two black bands grow from the top and the bottom over the last field
// picture. On the 64th tick the position starts again before the fill, so
// that tick adds nothing and the next frame opens the picture.
void closing_wipe() {
  if (field_map.transition_pos < WIPE_END) field_map.transition_pos += 2;
  if (field_map.transition_pos >= WIPE_END) {
    field_map.transition_pos = 0;
    field_map.transition = WIPE_OPENING;
  }
  fill_rect(gfx.back_surface, 0, 0, 256, field_map.transition_pos, 0);
  fill_rect(gfx.back_surface, 0, 256 - field_map.transition_pos, 256, field_map.transition_pos, 0);
  present();
}

// The picture opens from the middle line outwards.
void opening_wipe() {
  if (field_map.transition_pos < WIPE_END) field_map.transition_pos += 2;
  int band = WIPE_END - field_map.transition_pos;
  fill_rect(gfx.back_surface, 0, 0, 256, band, 0);
  fill_rect(gfx.back_surface, 0, WIPE_END + field_map.transition_pos, 256, band, 0);
  if (field_map.transition_pos >= WIPE_END) {
    field_map.transition_pos = 0;
    field_map.transition = WIPE_NONE;
  }
}

void start_closing_wipe() {
  field_map.transition_pos = 0;
  field_map.transition = WIPE_CLOSING;
}

// The party's picture alternates every 16 ticks, standing or walking alike;
// the backdrop moves on every 32.
void animate_field() {
  if (field_map.party_anim_count == 15) field_map.party_frame = 1 - field_map.party_frame;
  field_map.party_anim_count = (field_map.party_anim_count + 1) % 16;
  if (field_map.bg_anim_count == 31) {
    field_map.bg_select = field_map.bg_select + 1 >= 3 ? 0 : field_map.bg_select + 1;
    field_map.bg_scroll_x = field_map.bg_scroll_x + 1 > 63 ? 0 : field_map.bg_scroll_x + 1;
    field_map.bg_scroll_y = field_map.bg_scroll_y + 1 > 63 ? 0 : field_map.bg_scroll_y + 1;
  }
  field_map.bg_anim_count = (field_map.bg_anim_count + 1) % 32;
}
