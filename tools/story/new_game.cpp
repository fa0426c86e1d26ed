#include "tools/story/new_game.h"

#include "battle/battle.h"

#include <iconv.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

std::string utf8_to_sjis(const std::string& text) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "";
  std::string out(text.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  size_t in_left = text.size(), out_left = out.size();
  char* o = out.data();
  size_t r = iconv(cd, &in, &in_left, &o, &out_left);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) return "";
  out.resize(out.size() - out_left);
  return out;
}

namespace {

bool nums(std::istringstream& in, std::vector<long>& out, long lo, long hi) {
  for (std::string s; in >> s;) {
    char* end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    if (*end || v < lo || v > hi) return false;
    out.push_back(v);
  }
  return true;
}

void blank_member(member& m) {
  m = member{};
  std::memset(m.name, ' ', sizeof m.name);
  m.eq_right = m.eq_left = m.eq_body = m.eq_head = NO_EQUIP;
  m.eq_acc1 = m.eq_acc2 = m.eq_acc3 = NO_EQUIP;
}

// Puts on the listed entries, each in the place its kind belongs.
std::string wear(member& m, const std::vector<long>& entries) {
  for (long e : entries) {
    const item& it = builtin_items[m.items[e]];
    u8* slot = it.kind == ITEM_WEAPON ? &m.eq_right
               : it.kind == ITEM_HEAD ? &m.eq_head
               : it.kind == ITEM_BODY ? &m.eq_body
               : it.kind == ITEM_SHIELD ? &m.eq_left
               : it.kind == ITEM_ACCESSORY ? &m.eq_acc1
                                           : nullptr;
    if (!slot || m.items[e] == 0) return "entry " + std::to_string(e) + " cannot be worn";
    *slot = static_cast<u8>(e);
    m.eq_mask = static_cast<u16>(m.eq_mask | (1u << e));
  }
  return "";
}

std::string member_statement(const std::string& key, std::istringstream& in, const std::string& rest,
                             member& m) {
  std::vector<long> v;
  if (key == "name") {
    std::string name = utf8_to_sjis(rest);
    if (name.empty() || name.size() > 16) return "a name is 1..16 bytes of Shift-JIS";
    std::memcpy(m.name, name.data(), name.size());
    return "";
  }
  if (!nums(in, v, 0, 1000000)) return "'" + key + "' takes numbers";
  auto need = [&](size_t n) { return v.size() == n; };
  if (key == "kind" && need(1) && v[0] < 8) m.kind = static_cast<u8>(v[0]);
  else if (key == "sex" && need(1) && v[0] < 3) m.sex = static_cast<u8>(v[0]);
  else if (key == "age" && need(1) && v[0] < 256) m.age = static_cast<u8>(v[0]);
  else if (key == "exp" && need(4)) {
    m.next_exp = static_cast<u32>(v[0]), m.exp_step = static_cast<u32>(v[1]);
    m.exp_step_inc = static_cast<u32>(v[2]), m.exp_step_inc2 = static_cast<u32>(v[3]);
  } else if (key == "stats" && need(5) && v[0] < 65536 && v[4] < 65536) {
    u16* s[] = {&m.str, &m.agi, &m.mag, &m.grd, &m.mgrd};
    for (int i = 0; i < 5; i++) *s[i] = static_cast<u16>(v[i]);
  } else if (key == "hp" && need(1) && v[0] < 65536) {
    m.base_hp = m.base_hp_max = static_cast<u16>(v[0]);
  } else if (key == "mp" && need(1) && v[0] < 65536) {
    m.base_mp = m.base_mp_max = static_cast<u16>(v[0]);
  } else if (key == "spells" && v.size() <= 16) {
    for (size_t i = 0; i < v.size(); i++) {
      if (v[i] < 1 || v[i] > 31) return "spell numbers are 1..31";
      m.spells[i] = static_cast<u8>(v[i]);
      m.spell_mask = static_cast<u16>(m.spell_mask | (1u << i));
    }
  } else if (key == "items" && v.size() <= 16) {
    for (size_t i = 0; i < v.size(); i++) {
      if (v[i] < 1 || v[i] > 254) return "item numbers are 1..254";
      m.items[i] = static_cast<u8>(v[i]);
    }
  } else if (key == "equip" && v.size() <= 7) {
    for (long e : v)
      if (e > 15) return "equip takes item entries 0..15";
    return wear(m, v);
  } else
    return "bad member statement '" + key + "'";
  return "";
}

} // namespace

std::string read_new_game_source(const std::string& path, save_block& sb) {
  std::ifstream file(path);
  if (!file) return path + ": cannot be opened";
  sb = save_block{};
  for (auto& m : sb.party) blank_member(m);
  member* cur = nullptr;
  int line_no = 0;
  auto fail = [&](const std::string& what) { return path + ":" + std::to_string(line_no) + ": " + what; };
  int bag_used = 0;
  for (std::string line; std::getline(file, line);) {
    line_no++;
    if (line.empty() || line[0] == '#') continue;
    std::istringstream in(line);
    std::string key;
    if (!(in >> key)) continue;
    std::string rest = line.substr(line.find(key) + key.size());
    rest.erase(0, rest.find_first_not_of(' '));
    std::vector<long> v;
    if (key == "member") {
      if (!nums(in, v, 0, 4) || v.size() != 1) return fail("member takes a slot 0..4");
      cur = &sb.party[v[0]];
    } else if (key == "gold" || key == "flag" || key == "bag") {
      if (!nums(in, v, 0, 99999999) || v.size() != 1) return fail("'" + key + "' takes one number");
      if (key == "gold") sb.gold = static_cast<i32>(v[0]);
      else if (key == "flag" && v[0] < 256) sb.flags[v[0]] = 1;
      else if (key == "bag" && v[0] < 255 && bag_used < 20) sb.bag[bag_used++] = static_cast<u8>(v[0]);
      else return fail("'" + key + "' is out of range");
    } else if (!cur) {
      return fail("'" + key + "' before any member");
    } else {
      std::string err = member_statement(key, in, rest, *cur);
      if (!err.empty()) return fail(err);
    }
  }
  for (int i = 0; i < 3; i++) {
    member& m = sb.party[i];
    m.level = 1;
    rebuild_equipped(m);
    m.hp = m.hp_max, m.mp = m.mp_max;
  }
  return "";
}
