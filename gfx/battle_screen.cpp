#include "gfx/battle_screen.h"

#include "battle/battle.h"
#include "gfx/surfaces.h"
#include "gfx/text.h"

#include <cstring>

namespace {

// A fixed-width name field as a C string.
struct name_text {
  char s[17] = {};
  explicit name_text(const char* field) { std::memcpy(s, field, 16); }
};

const char* status_mark(u8 status) {
  if (status & STATUS_DEAD) return "死";
  if (status & STATUS_POISON) return "毒";
  return "  ";
}

const char* spell_name(const member& m, int entry, char (&buf)[9]) {
  std::memset(buf, 0, sizeof buf);
  u8 s = m.spells[entry & 15];
  if (s < 32) std::memcpy(buf, game.magic_table[s].name, 8);
  return buf;
}

// Party, monsters and commands: the three fixed windows.
void draw_main_windows() {
  draw_frame(0, 0, 256, 56);
  draw_frame(0, 60, 256, 64);
  draw_frame(0, 152, 68, 92);
  begin_text(text_drawing.menu_font, TEXT_OPAQUE);
  for (int i = 0; i < 3; i++) {
    const member& m = battle.battle_copy.party[i];
    if (i == battle.actor) {
      battle.actor_phase = static_cast<u8>(battle.actor_phase + 16);
      set_text_color(0x96u | static_cast<colorref>(battle.actor_phase) << 8 |
                     static_cast<colorref>(battle.actor_phase) << 16);
    } else {
      set_text_color(0xFFFFFF);
    }
    text_printf(8, 8 + 14 * i, "%16s  HP:%04d MP:%04d %s", name_text(m.name).s, m.hp, m.mp,
                status_mark(m.status));
  }
  set_text_color(0xFFFFFF);
  for (int i = 0; i < battle.monster_count && i < 3; i++) {
    const monster_slot& s = battle.monsters[i];
    text_printf(18, 74 + 14 * i, "%16s  HP:%04d MP:%04d %s", name_text(s.name).s, s.hp, s.mp,
                status_mark(s.status));
  }
  static const char* const commands[5] = {"たたかう", "まほう　", "アイテム", "ぼうぎょ",
                                          "にげる　"};
  for (int i = 0; i < 5; i++) text_out(18, 166 + 14 * i, commands[i]);
  end_text();
  draw_cursor(8, 166 + 14 * battle.cmd_cursor);
}

// The hit timer runs whether or not its picture is still shown: the end of
// a round and the U key turn the picture off but leave the timer, and a
// monster beaten by that blow must still go when its hit would have ended.
void run_hit_timer(hit_effect& h) {
  if (h.timer > 0) h.timer--;
  if (h.timer <= 0) h.timer = 0, h.on = 0;
}

// The monster pictures. A monster that has died stays until its hit
// picture has run its 16 frames.
void draw_monster_view() {
  draw_frame(12, 60, 232, 80);
  for (int k = 0; k < battle.monster_count && k < 3; k++) {
    const monster_slot& s = battle.monsters[k];
    hit_effect& h = battle.hit_flash[k];
    if ((s.status & STATUS_DEAD) && h.timer == 0) continue;
    int x = monster_picture_x(battle.monster_count, k);
    draw_picture(x, 68, gfx.monster_surface[s.picture % MONSTER_PICTURES], 0, 0, 64, 64, true);
    if (h.on) {
      int kind = h.kind >= 0 && h.kind < MONSTER_PICTURES ? h.kind : 0;
      draw_picture(x, 68, gfx.monster_surface_b[kind], 0, 0, 64, 64, true);
    }
    run_hit_timer(h);
  }
}

void draw_monster_choice(int cursor) {
  draw_frame(69, 152, 128, 78);
  begin_text(text_drawing.menu_font, TEXT_OPAQUE);
  for (int i = 0; i < battle.monster_count && i < 3; i++)
    text_printf(87, 166 + 14 * i, "%16s", name_text(battle.monsters[i].name).s);
  end_text();
  draw_cursor(77, 166 + 14 * cursor);
}

// Names of the party (the saved record), for choosing whom a spell or an
// item is for.
void draw_member_names(int x, int y) {
  begin_text(text_drawing.menu_font, TEXT_OPAQUE);
  for (int i = 0; i < 3; i++) text_printf(x, y + 14 * i, "%s", name_text(game.sb.party[i].name).s);
  end_text();
}

void draw_spell_list() {
  const member& m = battle.battle_copy.party[battle.actor];
  int sc = battle.spell_cursor[0] & 3, sr = battle.spell_cursor[1] & 3, p = sc / 2;
  char a[9], b[9];
  draw_frame(72, 152, 140, 92);
  begin_text(text_drawing.menu_font, TEXT_OPAQUE);
  text_printf(116, 152, " magic %d/%d ", p + 1, 2);
  for (int r = 0; r < 4; r++)
    text_printf(87, 166 + 14 * r, "%8s　%8s", spell_name(m, 8 * p + r, a),
                spell_name(m, 8 * p + r + 4, b));
  u8 chosen = m.spells[4 * sc + sr];
  text_printf(87, 222, "消費MP %03d", chosen < 32 ? game.magic_table[chosen].mp_cost : 0);
  end_text();
  draw_cursor(80 + 58 * (sc % 2), 166 + 14 * sr);
  if (!battle.member_pick) return;
  draw_frame(16, 16, 128, 64);
  begin_text(text_drawing.menu_font, TEXT_OPAQUE);
  text_out(50, 16, " だれ ");
  end_text();
  draw_member_names(36, 30);
  draw_cursor(24, 30 + 14 * battle.spell_target_member);
}

void draw_item_list() {
  const member& m = battle.battle_copy.party[battle.actor];
  int ic = battle.item_cursor[0] & 3, ir = battle.item_cursor[1] & 3;
  draw_frame(72, 152, 140, 56);
  draw_frame(72, 152, 140, 78);
  begin_text(text_drawing.menu_font, TEXT_OPAQUE);
  text_printf(116, 152, " item %d/%d ", ic + 1, 4);
  for (int r = 0; r < 4; r++)
    text_printf(90, 166 + 14 * r, "%16s", name_text(game.item_table[m.items[4 * ic + r]].name).s);
  end_text();
  draw_cursor(80, 166 + 14 * ir);
  if (!battle.item_pick) return;
  draw_frame(69, 152, 128, 64);
  draw_member_names(87, 166);
  draw_cursor(77, 166 + 14 * battle.item_target_member);
}

} // namespace

int monster_picture_x(int count, int k) {
  static const int xs[3][3] = {{96, 0, 0}, {32, 160, 0}, {20, 88, 156}};
  if (count < 1 || count > 3 || k < 0 || k >= count) return 0;
  return xs[count - 1][k];
}

void draw_battle_screen() {
  draw_main_windows();
  if (battle.monster_view) draw_monster_view();
  battle.attack_all = 0;
  switch (battle.cmd_state) {
  case CMD_ATTACK_TARGET:
  case CMD_ITEM_TARGET:
    draw_monster_choice(battle.target_cursor);
    break;
  case CMD_SPELL_LIST:
    draw_spell_list();
    break;
  case CMD_SPELL_TARGET:
    draw_spell_list();
    draw_monster_choice(battle.magic_target_cursor);
    break;
  case CMD_ITEM_LIST:
    draw_item_list();
    break;
  default:
    break;
  }
}
