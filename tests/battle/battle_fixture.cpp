#include "battle_fixture.h"

#include "message/message.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "shell/shell.h"

#include <cstring>

static void make_member(member& m, const char* name) {
  m = member{};
  std::memset(m.name, ' ', sizeof m.name);
  std::memcpy(m.name, name, std::strlen(name));
  m.level = 1;
  m.next_exp = 100;
  m.exp_step = 50;
  m.exp_step_inc = 10;
  m.exp_step_inc2 = 2;
  m.str = m.atk = 20;
  m.agi = m.spd = 10;
  m.mag = m.matk = 5;
  m.grd = m.def = 5;
  m.mgrd = m.mdef = 5;
  m.base_hp = m.base_hp_max = m.hp = m.hp_max = 100;
  m.base_mp = m.base_mp_max = m.mp = m.mp_max = 50;
  m.eq_right = m.eq_left = m.eq_body = m.eq_head = NO_EQUIP;
  m.eq_acc1 = m.eq_acc2 = m.eq_acc3 = NO_EQUIP;
}

void fresh_game() {
  headless_reset();
  reset_state();
  build_level_table();
  reset_battle_state();
  reset_message_state();
  install_hooks();
  const char* names[3] = {"ALICE", "BOB", "CARL"};
  for (int i = 0; i < 3; i++) make_member(game.sb.party[i], names[i]);
  game.cur_map = WORLD_MAP;
  game.cur_area = 0;
}

void fight(int species_no) {
  start_set_battle(species_no);
  forget_lines();
}

void kobolds(int count) {
  start_set_battle(1);
  battle.monster_count = count;
  for (int s = 1; s < count; s++) fill_monster_slot(s, 1, 10);
  forget_lines();
}

void wear(member& m, int entry, int item, u8 member::*place) {
  m.items[entry] = static_cast<u8>(item);
  m.*place = static_cast<u8>(entry);
  m.eq_mask = static_cast<u16>(m.eq_mask | 1 << entry);
}

std::vector<std::string> lines() {
  std::vector<std::string> out;
  for (int i = 0; i < msg_window.msg_count && i < MSG_LINES; i++)
    out.push_back(msg_window.msg_line[i]);
  return out;
}

void forget_lines() {
  msg_print(PRINT_NEW, nullptr);
}

bool said(const char* text) {
  for (const std::string& l : lines())
    if (l.find(text) != std::string::npos) return true;
  return false;
}

int line_index(const char* text, int from) {
  std::vector<std::string> l = lines();
  for (size_t i = from; i < l.size(); i++)
    if (l[i].find(text) != std::string::npos) return static_cast<int>(i);
  return -1;
}

int lines_with(const char* text) {
  int n = 0;
  for (const std::string& l : lines()) n += l.find(text) != std::string::npos;
  return n;
}

std::string missing(const std::vector<const char*>& texts) {
  std::string out;
  for (const char* t : texts)
    if (!said(t)) out += sjis_to_utf8(t) + " | ";
  return out.empty() ? out : out + "not in:" + transcript();
}

std::string transcript() {
  std::string out = "\n";
  for (const std::string& l : lines()) out += sjis_to_utf8(l.c_str()) + "\n";
  return out;
}

std::vector<int> upcoming(int n) {
  u32 kept = game.rand_state;
  std::vector<int> out;
  for (int i = 0; i < n; i++) out.push_back(next_rand());
  game.rand_state = kept;
  return out;
}

void seed_where(const std::function<bool(const std::vector<int>&)>& ok, int n) {
  for (u32 seed = 1;; seed++) {
    seed_rand(seed);
    if (ok(upcoming(n))) return;
  }
}
