#include "gfx/field_windows.h"

#include "battle/battle.h"
#include "field/field_menu.h"
#include "field/shop.h"
#include "gfx/field_windows_common.h"
#include "gfx/text.h"

// Windows of the town services (gfx/field_windows_town.cpp).
void draw_inn_window();
void draw_shop_window();
void draw_church_window();

static const member& shown_member() {
  return game.sb
      .party[field_menu.sel_member >= 0 && field_menu.sel_member < 3 ? field_menu.sel_member : 0];
}

static void command_menu() {
  static const char* const rows[] = {"はなす　じゅもん", "つよさ　どうぐ　", "そうび　しらべる"};
  draw_frame(8, 8, 128, 64);
  begin_window_text();
  text_out(44, 8, " コマンド ");
  text_rows(26, 22, rows, 3);
  end_text();
  draw_cursor(16 + 50 * field_menu.cmd_col, 22 + 14 * field_menu.cmd_row);
}

static void member_choice() {
  draw_frame(16, 16, 128, 64);
  begin_window_text();
  text_out(50, 16, " だれ ");
  member_names(36);
  end_text();
  field_menu.member_cursor_x = 24 + 116 * field_menu.member_col;
  field_menu.member_cursor_y = 30 + 14 * field_menu.sel_member;
  draw_cursor(field_menu.member_cursor_x, field_menu.member_cursor_y);
}

// What an equipment slot shows: the item in the entry it holds.
static field_text equipped(const member& m, u8 slot) {
  if (slot > 15) return fixed_text("装備していません", 16);
  return item_name(m.items[slot]);
}

static void equipment_lines(const member& m, int x, int y0, const char* const* formats) {
  const u8 slots[7] = {m.eq_head, m.eq_right, m.eq_left, m.eq_body,
                       m.eq_acc1, m.eq_acc2,  m.eq_acc3};
  for (int i = 0; i < 7; i++) text_printf(x, y0 + 14 * i, formats[i], equipped(m, slots[i]).s);
}

static void status_lines(const member& m) {
  text_printf(32, 38, "名前　%s　", member_name(field_menu.sel_member).s);
  text_printf(168, 38, "LV%2d", m.level);
  text_printf(32, 52, "年齢%02d  種別 %s  性別 %s", m.age, class_names[m.kind & 7],
              sex_names[m.sex < 3 ? m.sex : 2]);
  text_printf(32, 66, "ちから   %4d  攻撃力 %4d", m.str, m.atk);
  text_printf(32, 80, "すばやさ %4d  はやさ %4d", m.agi, m.spd);
  text_printf(32, 94, "魔力     %4d  魔攻撃 %4d", m.mag, m.matk);
  text_printf(32, 108, "守り     %4d  防御力 %4d", m.grd, m.def);
  text_printf(32, 122, "魔守     %4d  魔防御 %4d", m.mgrd, m.mdef);
  text_printf(32, 136, "HP %4d/%4d(%4d/%4d)", m.hp, m.hp_max, m.base_hp, m.base_hp_max);
  text_printf(32, 150, "MP %4d/%4d(%4d/%4d)", m.mp, m.mp_max, m.base_mp, m.base_mp_max);
  text_printf(32, 164, "EXP %8d  NEXT %8d", m.exp, m.next_exp);
  text_printf(32, 178, "GOLD  %12dG", game.sb.gold);
  text_printf(32, 192, "炎%d 水%d 雷%d 風%d 精%d 毒%d 重%d", m.elem[0], m.elem[1], m.elem[2],
              m.elem[3], m.elem[4], m.elem[5], m.elem[6]);
}

static void status_window() {
  static const char* const panel[] = {"頭　  %s", "右手　%s", "左手　%s", "体　　%s",
                                      "ACC1　%s", "ACC2　%s", "ACC3　%s"};
  const member& m = shown_member();
  draw_frame(24, 24, 196, 200);
  begin_window_text();
  set_text_color(status_color(m.status));
  text_out(52, 24, " つよさ ");
  status_lines(m);
  end_text();
  if (field_menu.status_win != 2) return;
  draw_frame(44, 52, 176, 134);
  begin_window_text();
  set_text_color(status_color(m.status));
  equipment_lines(m, 52, 60, panel);
  end_text();
}

static void spell_list() {
  const member& m = shown_member();
  draw_frame(24, 24, 152, 148);
  begin_window_text();
  text_out(40, 24, " じゅもん ");
  for (int r = 0; r < 8; r++)
    text_printf(42, 38 + 14 * r, r == 0 ? "%8s　 %8s" : "%8s 　%8s", spell_name(m.spells[r]).s,
                spell_name(m.spells[8 + r]).s);
  int spell = m.spells[(8 * field_menu.magic_col + field_menu.magic_row) & 15];
  text_printf(42, 150, "消費MP %03d", game.magic_table[spell < 32 ? spell : 0].mp_cost);
  end_text();
  draw_cursor(32 + 68 * field_menu.magic_col, 38 + 14 * field_menu.magic_row);
  if (!battle.member_pick) return;
  draw_frame(16, 16, 128, 64);
  begin_window_text();
  text_out(50, 16, " だれ ");
  member_names(36);
  end_text();
  draw_cursor(24, 30 + 14 * battle.spell_target_member);
}

static void member_win() {
  draw_frame(16, 16, 160, 72);
  begin_window_text();
  member_names(36);
  end_text();
  draw_cursor(field_menu.member_cursor_x, field_menu.member_cursor_y);
}

static void item_actions() {
  static const char* const rows[] = {"つかう", "わたす", "すてる", "みる  "};
  draw_frame(36, 36, 68, 78);
  begin_window_text();
  text_rows(54, 50, rows, 4);
  end_text();
  draw_cursor(44, 50 + 14 * field_menu.item_action_row);
}

static void give_to() {
  draw_frame(16, 16, 128, 64);
  begin_window_text();
  member_names(34);
  end_text();
  draw_cursor(24, 30 + 14 * battle.item_target_member);
}

static const char* const kind_names[7] = {"道具",   "武器",       "防具頭",          "防具胴体",
                                          "防具盾", "アクセサリ", "イベントアイテム"};
// The element names in bit order, fire to gravity.
static const char* const element_marks[7] = {"炎", "水", "雷", "風", "精", "毒", "重"};

static void item_information() {
  const member& m = shown_member();
  int id = m.items[(8 * field_menu.item_page + field_menu.item_row) & 15];
  const item& it = game.item_table[id];
  const char* attack[7];
  for (int b = 0; b < 7; b++) attack[b] = (it.elem_attack >> b) & 1 ? element_marks[b] : "  ";
  draw_frame(24, 24, 196, 200);
  begin_window_text();
  text_out(52, 24, " アイテム ");
  text_printf(32, 38, "名前　%s　", item_name(id).s);
  text_printf(32, 52, "種別 %s", it.kind < 7 ? kind_names[it.kind] : "");
  text_printf(32, 66, "効果 %s  魔効 %s", it.scope == 0 ? "単体" : "全員", spell_name(it.spell).s);
  text_printf(32, 80, "攻撃力 %5d    はやさ %5d", it.atk, it.spd);
  text_printf(32, 94, "魔攻撃 %5d", it.matk);
  text_printf(32, 108, "防御力 %5d    魔防御 %5d", it.def, it.mdef);
  text_printf(32, 122, "HP %4d/%4d    MP %4d/%4d", it.hp, it.hp_max, it.mp, it.mp_max);
  text_printf(32, 136, "売却価格 %12dG", it.price);
  text_out(32, 150, "属性攻撃");
  text_printf(32, 164, "%s  %s  %s  %s  %s  %s  %s", attack[0], attack[1], attack[2], attack[3],
              attack[4], attack[5], attack[6]);
  text_out(32, 178, "属性防御");
  text_printf(32, 192, "炎%d 水%d 雷%d 風%d 精%d 毒%d 重%d", it.elem_def[0], it.elem_def[1],
              it.elem_def[2], it.elem_def[3], it.elem_def[4], it.elem_def[5], it.elem_def[6]);
  end_text();
}

static void equipment_window() {
  static const char* const lines[] = {"頭　　%s", "右手　%s", "左手　%s", "体　　%s",
                                      "ACC1　%s", "ACC2　%s", "ACC3　%s"};
  draw_frame(32, 32, 164, 120);
  begin_window_text();
  text_out(72, 32, " そうび ");
  equipment_lines(shown_member(), 50, 46, lines);
  end_text();
  draw_cursor(40, 46 + 14 * field_menu.equip_row);
}

void draw_field_windows() {
  if (field_menu.cmd_menu != 0) command_menu();
  if (field_menu.cmd_menu >= 2) member_choice();
  if (field_menu.status_win) status_window();
  if (field_menu.magic_win) spell_list();
  if (field_menu.member_win) member_win();
  if (field_menu.item_win)
    item_list_window(shown_member(), field_menu.item_page, field_menu.item_row, 52);
  if (field_menu.item_action_win) item_actions();
  if (battle.item_pick) give_to();
  if (field_menu.item_info_win) item_information();
  if (field_menu.equip_win) equipment_window();
  if (field_menu.equip_list_win)
    item_list_window(shown_member(), field_menu.equip_list_page, field_menu.equip_list_row, 44);
  if (services.inn_win) draw_inn_window();
  if (services.shop_win) draw_shop_window();
  if (services.church_win) draw_church_window();
}
