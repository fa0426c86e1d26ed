// The drawing's own clocks: the wipe of a map change and the animation of
// the party's walking picture and of the backdrop, advanced by the frame
// renderer once a tick.
#include "gfx/field_map.h"
#include "gfx/surfaces.h"

// Two black bands grow from the top and the bottom over the last field
// picture. On the 64th tick the position starts again before the fill, so
// that tick adds nothing and the next frame opens the picture.
void closing_wipe() {
  if (fm.transition_pos < WIPE_END) fm.transition_pos += 2;
  if (fm.transition_pos >= WIPE_END) {
    fm.transition_pos = 0;
    fm.transition = WIPE_OPENING;
  }
  fill_rect(gx.back_surface, 0, 0, 256, fm.transition_pos, 0);
  fill_rect(gx.back_surface, 0, 256 - fm.transition_pos, 256, fm.transition_pos, 0);
  present();
}

// The picture opens from the middle line outwards.
void opening_wipe() {
  if (fm.transition_pos < WIPE_END) fm.transition_pos += 2;
  int band = WIPE_END - fm.transition_pos;
  fill_rect(gx.back_surface, 0, 0, 256, band, 0);
  fill_rect(gx.back_surface, 0, WIPE_END + fm.transition_pos, 256, band, 0);
  if (fm.transition_pos >= WIPE_END) {
    fm.transition_pos = 0;
    fm.transition = WIPE_NONE;
  }
}

void start_closing_wipe() {
  fm.transition_pos = 0;
  fm.transition = WIPE_CLOSING;
}

// The party's picture alternates every 16 ticks, standing or walking alike;
// the backdrop moves on every 32.
void animate_field() {
  if (fm.party_anim_count == 15) fm.party_frame = 1 - fm.party_frame;
  fm.party_anim_count = (fm.party_anim_count + 1) % 16;
  if (fm.bg_anim_count == 31) {
    fm.bg_select = fm.bg_select + 1 >= 3 ? 0 : fm.bg_select + 1;
    fm.bg_scroll_x = fm.bg_scroll_x + 1 > 63 ? 0 : fm.bg_scroll_x + 1;
    fm.bg_scroll_y = fm.bg_scroll_y + 1 > 63 ? 0 : fm.bg_scroll_y + 1;
  }
  fm.bg_anim_count = (fm.bg_anim_count + 1) % 32;
}
