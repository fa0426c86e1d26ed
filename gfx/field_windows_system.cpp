#include "field/field_menu.h"
#include "gfx/field_windows.h"
#include "gfx/field_windows_common.h"
#include "gfx/text.h"
#include "state/save_slots.h"

static void slot_list() {
  draw_frame(16, 16, 152, 134);
  begin_window_text();
  for (int i = 0; i < SLOT_COUNT; i++)
    text_printf(34, 30 + 14 * i, "%d.%16s", i + 1, fixed_text(slot_label(i), 16).s);
  end_text();
  if (field_menu.sys_row == 0) draw_cursor(24, 30 + 14 * field_menu.save_cursor);
  if (field_menu.sys_row == 1) draw_cursor(24, 30 + 14 * field_menu.load_cursor);
}

static void yes_no_question() {
  draw_frame(80, 80, 68, 50);
  begin_window_text();
  text_out(98, 94, "ＹＥＳ");
  text_out(98, 108, "ＮＯ　");
  end_text();
  draw_cursor(88, 94 + 14 * field_menu.yes_no);
}

static void event_items() {
  draw_frame(32, 48, 140, 162);
  begin_window_text();
  for (int r = 0; r < 10; r++) {
    int n = (10 * field_menu.bag_page + r) % 20;
    text_printf(50, 62 + 14 * r, "%2d.%s", n + 1, item_name(game.sb.bag[n]).s);
  }
  end_text();
}

void draw_system_menu() {
  static const char* const rows[] = {"セーブ", "ロード", "アイテム", "ＥＸＩＴ"};
  if (!field_menu.system_win) return;
  draw_frame(8, 8, 92, 78);
  begin_window_text();
  text_out(26, 8, " システム ");
  text_rows(26, 22, rows, 4);
  end_text();
  draw_cursor(16, 22 + 14 * field_menu.sys_row);
  if (field_menu.sys_state >= SYS_SAVE_SLOT && field_menu.sys_state <= SYS_YES_NO) slot_list();
  if (field_menu.sys_state == SYS_YES_NO) yes_no_question();
  if (field_menu.sys_state == SYS_BAG) event_items();
}
