#include "field/field_menu.h"
#include "field/shop.h"
#include "gfx/field_windows.h"
#include "gfx/field_windows_common.h"
#include "gfx/surfaces.h"
#include "gfx/text.h"

void draw_inn_window() {
  static const char* const rows[] = {"泊まる", "やめとく"};
  draw_frame(8, 8, 68, 50);
  draw_frame(88, 72, 80, 80);
  if (surface_exists(gfx.yadoya_surface))
    draw_picture(96, 80, gfx.yadoya_surface, 0, 0, 64, 64, false);
  begin_window_text();
  text_rows(26, 22, rows, 2);
  end_text();
  draw_cursor(16, 22 + 14 * services.inn_row);
}

static void wares_window() {
  const shop_record& shop = shop_table[services.shop_no];
  draw_frame(8, 8, 212, 92);
  begin_window_text();
  for (int r = 0; r < SHOP_WARES; r++) {
    const item& it = game.item_table[shop.wares[r]];
    text_printf(26, 22 + 14 * r, "%s %12dG", item_name(shop.wares[r]).s, it.price);
  }
  end_text();
  draw_cursor(16 + 56 * services.shop_list_col, 22 + 14 * services.shop_list_row);
  if (services.shop_pick) member_window(services.shop_member);
}

void draw_shop_window() {
  static const char* const rows[] = {"かう", "うる", "でる"};
  draw_frame(8, 8, 56, 64);
  draw_frame(8, 104, 104, 36);
  begin_window_text();
  text_rows(26, 22, rows, 3);
  text_printf(16, 118, "%12dG", game.sb.gold);
  end_text();
  draw_cursor(16, 22 + 14 * services.shop_row);
  if (!services.shop_sub) return;
  if (services.shop_row == SHOP_BUY) return wares_window();
  if (services.shop_row != SHOP_SELL) return;
  member_window(services.shop_member);
  if (services.shop_sell_list && field_menu.item_win)
    item_list_window(game.sb.party[services.shop_member], field_menu.item_page, field_menu.item_row,
                     44);
}

void draw_church_window() {
  const church_record& c = church_table[services.church_no];
  draw_frame(8, 8, 140, 78);
  begin_window_text();
  text_printf(26, 22, "生き返らせる　%4dG", c.revive_price);
  text_printf(26, 36, "毒をけす　　　%4dG", c.cure_price);
  text_printf(26, 50, "のろいをとく　%4dG", c.curse_price);
  text_out(26, 64, "やめとく");
  end_text();
  draw_cursor(16 + 104 * services.church_col, 22 + 14 * services.church_row);
  if (services.church_pick) member_window(services.church_member);
}
