// The title menu, the opening text and the load list on their dark blue
// background; the ending screen; "GAME OEVR" over the field.
#include "gfx/title_screens.h"

#include "battle/battle.h"
#include "gfx/surfaces.h"
#include "gfx/text.h"
#include "message/message.h"

title_screens_data title_screens;

void reset_title_screens_state() {
  title_screens = title_screens_data{};
}

namespace {

constexpr u32 TITLE_BACKGROUND = 100; // blue 100: dark blue
constexpr colorref WHITE = 0xFFFFFF, DIM_RED = 0x32;
constexpr const char* UNUSED_SLOT = "－－ 未使用 －－";

// A fill by pixel value, whose low byte is blue, as the back buffer holds it.
void fill_back(u32 value) {
  colorref c = (value >> 16 & 0xFF) | (value & 0xFF00) | (value & 0xFF) << 16;
  fill_rect(gfx.back_surface, 0, 0, 256, 256, c);
}

void begin_title_text(int height) {
  text_drawing.title_font.height = height;
  begin_text(text_drawing.title_font, TEXT_TRANSPARENT);
}

// From red 50 up to 254 and back, 2 a tick.
void step_pulse() {
  if (title_screens.pulse_down == 0) {
    if (title_screens.pulse_level < 254)
      title_screens.pulse_level += 2;
    else
      title_screens.pulse_down = 1;
  }
  if (title_screens.pulse_down == 1) {
    if (title_screens.pulse_level < 51)
      title_screens.pulse_down = 0;
    else
      title_screens.pulse_level -= 2;
  }
}

void draw_title_menu() {
  begin_title_text(-44);
  text_out(8, 70, "ZANDREK");
  end_text();

  begin_title_text(-18);
  step_pulse();
  colorref lit = static_cast<colorref>(title_screens.pulse_level & 0xFF);
  set_text_color(title_screens.title_cursor == 0 ? lit : DIM_RED);
  text_out(70, 150, "NEW GAME");
  set_text_color(title_screens.title_cursor == 1 ? lit : DIM_RED);
  text_out(72, 170, "CONTINUE");
  end_text();

  begin_title_text(-18);
  text_out(28, 220, "(C) ZANDREK TEAM");
  end_text();
}

const char* slot_place(const save_block& slot) {
  return slot.map == 0 ? UNUSED_SLOT : area_name(slot.map, slot.area);
}

void draw_load_list() {
  draw_frame(16, 16, 152, 134);
  begin_text(text_drawing.menu_font, TEXT_OPAQUE);
  for (int i = 0; i < 8; i++)
    text_printf(34, 30 + 14 * i, "%d.%16s", i + 1, slot_place(game.slots[i]));
  end_text();
  draw_cursor(24, 30 + 14 * title_screens.title_slot);
  if (msg_window.msg_visible) msg_window_step(); // a slot refused
}

} // namespace

void draw_title_screens() {
  fill_back(TITLE_BACKGROUND);
  if (title_screens.title_mode == TITLE_MENU)
    draw_title_menu();
  else if (title_screens.title_mode == TITLE_OPENING)
    msg_window_step();
  else if (title_screens.title_mode == TITLE_LOAD_LIST)
    draw_load_list();
  present();
}

void draw_ending_screen() {
  fill_back(static_cast<u32>(title_screens.ending_fade));
  if (title_screens.ending_fade < 100) {
    title_screens.ending_fade++;
  } else {
    begin_title_text(-18);
    int grey = title_screens.ending_text_level & 0xFF;
    set_text_color(static_cast<colorref>(grey | grey << 8 | grey << 16));
    if (title_screens.ending_text_level < 254) title_screens.ending_text_level += 2;
    text_out(40, 50, "      ZANDREK      ");
    text_out(48, 100, "    Produced by     ");
    text_out(40, 120, "   ZANDREK TEAM");
    text_out(32, 140, "    THANK YOU ALL");
    text_out(220, 230, "fin");
    end_text();
  }
  present();
}

// The red darkens by 4 a tick and jumps back to bright after 0.
void draw_game_over() {
  if (battle.gameover_state != 2) return;
  begin_title_text(-22);
  shadow_text(48, 100, "GAME OEVR", static_cast<colorref>(title_screens.pulse_level & 0xFF));
  end_text();
  title_screens.pulse_level = (title_screens.pulse_level - 4) & 0xFF;
}
