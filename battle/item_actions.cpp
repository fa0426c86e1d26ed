#include "battle/battle_internal.h"

#include <cstring>

static bool entry_equipped(const member& m, int entry) {
  return (m.eq_mask >> entry) & 1;
}

void discard_item(int member_no, int entry) {
  if (entry < 0 || entry > 15) return say(PRINT_NEW, "アイテムが、ありません！");
  member& m = field_member(member_no);
  u8 id = m.items[entry];
  if (entry_empty(id)) return say(PRINT_NEW, "捨てるアイテムが、ありません！");
  if (entry_equipped(m, entry)) {
    say(PRINT_NEW, "@ITEM%03dは、装備している", id);
    return say(PRINT_ADD, " ので捨てることができない。");
  }
  if (member_dead(m)) return say(PRINT_NEW, "@NAME%dの、", member_no);
  say(PRINT_NEW, "@NAME%dは、", member_no);
  say(PRINT_ADD, "@ITEM%03dを捨てた。", id);
  m.items[entry] = ITEM_USED_UP;
}

void give_item_to(int member_no, int entry, int receiver) {
  if (entry < 0 || entry > 15) return say(PRINT_NEW, "アイテムが、ありません！");
  member& g = field_member(member_no);
  member& r = field_member(receiver);
  u8 id = g.items[entry];
  if (entry_empty(id)) return say(PRINT_NEW, "渡すアイテムが、ありません！");
  if (entry_equipped(g, entry)) {
    say(PRINT_NEW, "@ITEM%03dは、装備して", id);
    return say(PRINT_ADD, " いるので渡すことができない。");
  }
  for (u8& slot : r.items) {
    if (!entry_empty(slot)) continue;
    slot = id;
    g.items[entry] = 0;
    if (member_dead(g)) {
      say(PRINT_NEW, "@NAME%dは、@NAME%dの", receiver, member_no);
      say(PRINT_ADD, "@ITEM%03dを取り出した。", id);
    } else {
      say(PRINT_NEW, "@NAME%dは、@ITEM%03d", member_no, id);
      say(PRINT_ADD, " を@NAME%dに渡した。", receiver);
    }
    return;
  }
  say(PRINT_NEW, "@NAME%dは、", receiver);
  say(PRINT_ADD, "アイテムを持ち切れない。");
}

int describe_item(int member_no, int entry, int shown) {
  const member& m = party_member(member_no);
  u8 id = entry >= 0 && entry < 16 ? m.items[entry] : 0;
  if (entry_empty(id)) {
    say(PRINT_NEW, "アイテムが、ありません!");
    return 0;
  }
  if (!shown) return 1;
  // A description read from a file need not end within its field.
  char info[sizeof(item::info) + 1];
  std::memcpy(info, game.item_table[id].info, sizeof(item::info));
  info[sizeof(item::info)] = 0;
  say(PRINT_NEW, "@C1【説明】@C0");
  say(PRINT_ADD, "%s", info);
  return 1;
}
