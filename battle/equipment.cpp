#include "battle/battle_internal.h"

#include <cstring>
#include <initializer_list>

static u16 capped_sum(u16 a, u16 b) {
  return a + b >= 65535 ? 65535 : static_cast<u16>(a + b);
}

void equip_bonus(member& m, int item_no) {
  const item& it = game.item_table[item_no & 255];
  m.atk = capped_sum(m.atk, it.atk);
  m.matk = capped_sum(m.matk, it.matk);
  m.spd = capped_sum(m.spd, it.spd);
  m.def = capped_sum(m.def, it.def);
  m.mdef = capped_sum(m.mdef, it.mdef);
  m.hp_max = capped_sum(m.hp_max, it.hp_max);
  m.mp_max = capped_sum(m.mp_max, it.mp_max);
  for (int k = 0; k < 8; k++)
    m.elem[k] = m.elem[k] + it.elem_def[k] >= 5 ? 5 : m.elem[k] + it.elem_def[k];
}

void rebuild_equipped(member& m) {
  m.atk = m.str;
  m.matk = m.mag;
  m.spd = m.agi;
  m.def = m.grd;
  m.mdef = m.mgrd;
  m.hp_max = m.base_hp_max;
  m.mp_max = m.base_mp_max;
  std::memset(m.elem, 0, sizeof m.elem);
  for (u8 part : {m.eq_head, m.eq_left, m.eq_right, m.eq_body, m.eq_acc1, m.eq_acc2, m.eq_acc3})
    if (part < 16) equip_bonus(m, m.items[part]);
}

// The equipment field of a part: 0 head, 1 right hand, 2 left hand, 3 body,
// 4..6 accessories.
static u8* part_field(member& m, int part) {
  u8* fields[7] = {&m.eq_head, &m.eq_right, &m.eq_left, &m.eq_body,
                   &m.eq_acc1, &m.eq_acc2,  &m.eq_acc3};
  return part >= 0 && part < 7 ? fields[part] : nullptr;
}

static bool rule_allows(const member& m, const item& it) {
  switch (it.equip_rule) {
  case 0:
    say(PRINT_NEW, "このアイテムは、装備できません。");
    return false;
  case 1:
    if (m.sex == 0) return true;
    say(PRINT_NEW, "装備できるのは、男性のみです。");
    return false;
  case 2:
    if (m.sex == 1) return true;
    say(PRINT_NEW, "装備できるのは、女性のみです。");
    return false;
  default:
    return true;
  }
}

static bool part_allows(int part, const item& it) {
  static const u8 kinds[7][2] = {{ITEM_HEAD, ITEM_HEAD},           {ITEM_WEAPON, ITEM_SHIELD},
                                 {ITEM_WEAPON, ITEM_SHIELD},       {ITEM_BODY, ITEM_BODY},
                                 {ITEM_ACCESSORY, ITEM_ACCESSORY}, {ITEM_ACCESSORY, ITEM_ACCESSORY},
                                 {ITEM_ACCESSORY, ITEM_ACCESSORY}};
  if (part < 0 || part > 6) {
    say(PRINT_NEW, "そうび ERROR");
    return false;
  }
  if (it.kind == kinds[part][0] || it.kind == kinds[part][1]) return true;
  say(PRINT_NEW, "装備できません。");
  return false;
}

// One entry is worn in one place: putting it on a hand empties the other
// hand, putting it on an accessory place empties the other two.
static void leave_other_parts(member& m, int part, int entry) {
  int first = part <= 2 ? 1 : 4, last = part <= 2 ? 2 : 6;
  if (part == 0 || part == 3) return;
  for (int p = first; p <= last; p++) {
    u8* f = part_field(m, p);
    if (p != part && *f == entry) *f = NO_EQUIP;
  }
}

int equip(int member_no, int entry, int part) {
  member& m = field_member(member_no);
  if (entry < 0 || entry > 15) {
    say(PRINT_NEW, "このアイテムは、装備できません。");
    return 0;
  }
  const item& it = game.item_table[m.items[entry]];
  if (!rule_allows(m, it) || !part_allows(part, it)) return 0;
  u8* f = part_field(m, part);
  u8 before = *f;
  bool taking_off = before == entry;
  if (taking_off) {
    *f = NO_EQUIP;
    say(PRINT_NEW, "装備をはずした。");
  } else {
    leave_other_parts(m, part, entry);
    *f = static_cast<u8>(entry);
  }
  rebuild_equipped(m);
  if (taking_off) {
    m.eq_mask &= static_cast<u16>(~(1u << entry));
  } else {
    if (before < 16) m.eq_mask &= static_cast<u16>(~(1u << before));
    m.eq_mask |= static_cast<u16>(1u << entry);
    char name[17] = {}, item_name[17] = {};
    std::memcpy(name, m.name, 16);
    std::memcpy(item_name, it.name, 16);
    say(PRINT_NEW, ">%sは、%sを装備した。", name, item_name);
  }
  return 1;
}
