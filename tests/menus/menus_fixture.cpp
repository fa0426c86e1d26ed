#include "menus_fixture.h"

#include "audio/sound.h"
#include "gfx/text.h"
#include "message/message.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "shell/shell.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

void make_member(member& m, const char* name) {
  m = member{};
  std::memset(m.name, ' ', sizeof m.name);
  std::memcpy(m.name, name, std::strlen(name));
  m.level = 3;
  m.age = 17;
  m.str = m.atk = 20;
  m.agi = m.spd = 10;
  m.base_hp = m.hp = 40;
  m.base_hp_max = m.hp_max = 50;
  m.base_mp = m.mp = 5;
  m.base_mp_max = m.mp_max = 12;
  m.eq_head = m.eq_right = m.eq_left = m.eq_body = NO_EQUIP;
  m.eq_acc1 = m.eq_acc2 = m.eq_acc3 = NO_EQUIP;
}

} // namespace

void fresh_game() {
  headless_reset();
  reset_game();
  sound_init();
  const char* names[3] = {"ALICE", "BOB", "CARL"};
  for (int i = 0; i < 3; i++) make_member(game.sb.party[i], names[i]);
  game.cur_map = 12;
  game.cur_area = 17;
  game.pos_x = game.pos_y = 5;
  game.map_max_x = game.map_max_y = 15;
  forget_sounds();
}

std::vector<std::string> lines() {
  std::vector<std::string> out;
  for (int i = 0; i < msg_window.msg_count && i < MSG_LINES; i++)
    out.emplace_back(msg_window.msg_line[i]);
  return out;
}

bool said(const char* text) {
  for (const std::string& l : lines())
    if (l == text) return true;
  return false;
}

std::string transcript() {
  std::string out = "\n";
  for (const std::string& l : lines()) out += sjis_to_utf8(l.c_str()) + "\n";
  return out;
}

int menusounds() {
  return static_cast<int>(std::count(headless.log.begin(), headless.log.end(), "sound: menusound"));
}

void forget_sounds() {
  headless.log.clear();
}

std::string windows() {
  const char* cmds[] = {"closed", "open", "status", "magic", "items", "equip"};
  std::string out = std::string("cmd:") + cmds[field_menu.cmd_menu];
  const std::pair<const char*, const int*> flags[] = {
      {"status_win", &field_menu.status_win},
      {"magic_win", &field_menu.magic_win},
      {"item_win", &field_menu.item_win},
      {"item_action_win", &field_menu.item_action_win},
      {"item_info_win", &field_menu.item_info_win},
      {"equip_win", &field_menu.equip_win},
      {"equip_list_win", &field_menu.equip_list_win},
      {"member_pick", &battle.member_pick},
      {"item_pick", &battle.item_pick},
      {"system_win", &field_menu.system_win},
      {"msg_visible", &msg_window.msg_visible}};
  for (auto [name, flag] : flags)
    if (*flag) out += std::string(" ") + name + (*flag == 1 ? "" : std::to_string(*flag));
  return out;
}

std::tuple<int, int, int> place() {
  return {game.cur_map, game.pos_x, game.pos_y};
}

void carry(int m, int entry, int item_no) {
  game.sb.party[m].items[entry] = static_cast<u8>(item_no);
}

void press(void (*handler)(int), std::initializer_list<int> keys) {
  for (int k : keys) handler(k);
}

std::string reply(void (*handler)(int), std::initializer_list<int> keys) {
  press(handler, keys);
  std::vector<std::string> l = lines();
  return l.empty() ? "(nothing said)" : l.back();
}
