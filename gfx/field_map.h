// The field: a 16 x 16-tile window onto the current map with the party in the
// middle, two pre-drawn 18 x 18-tile map pictures that scroll one pixel per
// tick while the party steps, the backdrop behind transparent map pixels, the
// people of the map, the area-name label and the whole-map view of the world.
#pragma once
#include "platform/platform.h"
#include "state/state.h"

// step_dir holds the arrow key of the step under way, then STEP_ARRIVED for
// the one frame after the scroll ended (the renderer then calls arrive()).
constexpr i32 STEP_ARRIVED = 11;
constexpr i32 STEP_DOWN = VK_DOWN, STEP_LEFT = VK_LEFT, STEP_RIGHT = VK_RIGHT, STEP_UP = VK_UP;

// Wipe states of `transition`.
enum : i32 { WIPE_NONE = 0, WIPE_CLOSING = 1, WIPE_OPENING = 2 };
constexpr i32 WIPE_END = 128; // transition_pos when the bands meet or have left

struct field_map_data {
  i32 map_surface_sel = 0; // the current one of the two map pictures
  i32 bg_select = 0;       // backdrop frame 0..2 (maps with a scrolling backdrop)
  i32 bg_scroll_x = 32, bg_scroll_y = 32;
  i32 step_dir = 0;
  i32 step_off_x = 0, step_off_y = 0; // scroll of the step under way, 0..16
  i32 world_map_view = 0, world_map_drawn = 0;
  u8 world_map_phase = 0; // colour phase of the party's dot on the whole-map view
  i32 area_label_on = 0;
  i32 party_anim_count = 0, party_frame = 0, bg_anim_count = 0;
  i32 transition = WIPE_NONE, transition_pos = 0;
};

extern field_map_data field_map;
void reset_field_map_state();

// Full redraw of the map pictures and the backdrop after a map load or a warp;
// also puts every person at the pixel place of its tile.
void rebuild_map_pictures();
// The map and backdrop into the back buffer; while a step scrolls, one pixel
// of the scroll, and at its end the advance of the map pictures by one tile.
void draw_field_map();
// The clean picture under the party, then the party (or the ship).
void draw_party();
// One tick of the wandering people.
void move_npcs();
// Every person that is present, clipped at the picture's edges.
void draw_npcs();
// The area name at the top left while area_label_on is 1.
void draw_area_label();
// One pixel per tile of the world map, and the party's flickering dot (the
// renderer presents it at the tick rate).
void draw_world_map_view();
// The map change's wipe: two black bands close over the last field picture
// (the whole frame while transition is WIPE_CLOSING, presented), then the
// next field picture opens from the middle (over the frame, before it is
// presented). start_closing_wipe() begins it.
void closing_wipe();
void opening_wipe();
void start_closing_wipe();
// One tick of the party's walking picture and of the backdrop.
void animate_field();
// The back buffer's square at the party's place into under_party_surface.
void save_under_party();
