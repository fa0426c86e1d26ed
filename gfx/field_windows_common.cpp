#include "gfx/field_windows_common.h"
#include "field/field_menu.h"
#include "gfx/field_windows.h"
#include "gfx/text.h"

#include <cstring>

colorref status_color(u8 status) {
  if (status & STATUS_DEAD) return 0x0000FF;
  if (status & STATUS_POISON) return 0xFFFF00;
  return 0xFFFFFF;
}

// Fields read from data files need not end within their width.
field_text fixed_text(const char* p, int width) {
  field_text t{};
  int n = width < static_cast<int>(sizeof t.s) ? width : static_cast<int>(sizeof t.s) - 1;
  std::memcpy(t.s, p, static_cast<std::size_t>(n));
  t.s[n] = 0;
  return t;
}

field_text member_name(int m) {
  return fixed_text(game.sb.party[m].name, sizeof(member::name));
}

field_text item_name(int id) {
  return fixed_text(game.item_table[id & 255].name, sizeof(item::name) - 1);
}

field_text spell_name(int spell) {
  return fixed_text(game.magic_table[spell >= 0 && spell < 32 ? spell : 0].name,
                    sizeof(magic::name) - 1);
}

void begin_window_text() {
  begin_text(text_drawing.menu_font, TEXT_OPAQUE);
}

void text_rows(int x, int y0, const char* const* texts, int n) {
  for (int i = 0; i < n; i++) text_out(x, y0 + 14 * i, texts[i]);
}

void member_names(int x) {
  for (int i = 0; i < 3; i++) text_printf(x, 30 + 14 * i, "%s", member_name(i).s);
}

void member_window(int m) {
  draw_frame(16, 16, 128, 64);
  begin_window_text();
  text_out(50, 16, " だれ ");
  member_names(36);
  end_text();
  field_menu.member_cursor_x = 24;
  field_menu.member_cursor_y = 30 + 14 * m;
  draw_cursor(field_menu.member_cursor_x, field_menu.member_cursor_y);
}

void item_list_window(const member& who, int page, int row, int title_x) {
  draw_frame(24, 24, 140, 134);
  begin_window_text();
  text_printf(title_x, 24, " どうぐ %d/%d ", page + 1, 2);
  for (int r = 0; r < 8; r++) {
    int e = (8 * page + r) & 15;
    char mark = (who.eq_mask >> e) & 1 ? 'E' : ' ';
    text_printf(42, 38 + 14 * r, "%16s %c", item_name(who.items[e]).s, mark);
  }
  end_text();
  draw_cursor(32, 38 + 14 * row);
}
