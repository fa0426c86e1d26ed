#include "field/shop.h"

#include "audio/sound.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "gfx/text.h"
#include "message/message.h"

#include <cstdio>
#include <cstring>

shop_data sp;

void reset_shop_state() {
  sp = shop_data{};
}

const char* service_text(const char* text) {
  static char out[SERVICE_TEXT + 1];
  std::memcpy(out, text, SERVICE_TEXT);
  out[SERVICE_TEXT] = 0;
  int n = static_cast<int>(std::strlen(out));
  while (n > 0 && out[n - 1] == ' ') out[--n] = 0;
  return out;
}

constexpr int KEY_YES = 'Y', KEY_NO = 'N';

static void say(int mode, const char* fmt, int value) {
  std::snprintf(tx.text_line, sizeof tx.text_line, fmt, value);
  msg_print(mode, tx.text_line);
}

static member& shop_customer() {
  return st.sb.party[sp.shop_member];
}

void open_shop(int n) {
  sp.shop_win = 1;
  sp.shop_no = n >= 0 && n < SHOP_COUNT ? n : 0;
  ev.wait_answer = 0;
  sp.shop_row = SHOP_BUY;
  msg_print(PRINT_NEW, "いらっしゃいませ。");
}

static void leave_shop() {
  sp.shop_win = 0;
  fmn.cmd_menu = CMD_CLOSED;
  msg_print(PRINT_NEW, "ありがとうございました。");
}

// ---- Buying ----

static void buy_confirm() {
  sp.trade_item = shop_table[sp.shop_no].wares[sp.shop_list_row];
  if (sp.trade_item == 0) return;
  int price = st.item_table[sp.trade_item].price;
  if (st.sb.gold < price) {
    msg_print(PRINT_ADD, "それを買うには、お金が足りないようだ。");
  } else if (sp.shop_pick == 0) {
    sp.shop_pick = 1;
    msg_print(PRINT_ADD, "誰が持ちますか？");
  } else {
    for (u8& e : shop_customer().items) {
      if (!entry_empty(e)) continue;
      st.sb.gold -= price;
      e = static_cast<u8>(sp.trade_item);
      msg_print(PRINT_ADD, "まいどあり！");
      sp.shop_sub = 0;
      sp.shop_pick = 0;
      return;
    }
    say(PRINT_ADD, "@NAME%dは、", sp.shop_member);
    msg_print(PRINT_ADD, "持ち切れないようだ。");
  }
}

// ---- Selling ----

static void sell_confirm() {
  if (!fmn.item_win) {
    fmn.item_win = 1;
    sp.shop_sell_list = 1;
    msg_print(PRINT_ADD, "アイテムを選んでください。");
    return;
  }
  if (ev.wait_answer) return;
  member& m = shop_customer();
  int e = fmn.item_page * 8 + fmn.item_row;
  sp.trade_item = m.items[e];
  if (entry_empty(m.items[e])) {
    msg_print(PRINT_ADD, "アイテムがありません。");
  } else if ((m.eq_mask >> e) & 1) {
    msg_print(PRINT_ADD, "装備しています。");
  } else {
    const item& it = st.item_table[sp.trade_item];
    char name[sizeof it.name];
    std::memcpy(name, it.name, sizeof name);
    name[sizeof name - 1] = 0;
    std::snprintf(tx.text_line, sizeof tx.text_line, "%sは、", name);
    msg_print(PRINT_ADD, tx.text_line);
    say(PRINT_ADD, "%d円で買い取ります。(Y/N)", it.price / 2);
    sp.sell_entry = e;
    ev.wait_answer = 1;
  }
}

static void sale_answer(int key) {
  ev.wait_answer = 0;
  if (key == KEY_NO) {
    msg_print(PRINT_ADD, "そうですか。");
    return;
  }
  st.sb.gold += st.item_table[sp.trade_item].price / 2;
  shop_customer().items[sp.sell_entry] = 0;
  msg_print(PRINT_ADD, "有難うございました。");
  sp.shop_sell_list = 0;
  fmn.item_win = 0;
}

// ---- Keys ----

static void shop_cursor(int key, int role) {
  int moved = 0;
  if (sp.shop_sub == 0)
    moved = step_vertical(sp.shop_row, role, 0, 2);
  else if (sp.shop_row == SHOP_BUY && sp.shop_pick == 0)
    moved = step_vertical(sp.shop_list_row, role, 0, SHOP_WARES - 1);
  else if (sp.shop_row == SHOP_BUY || sp.shop_sell_list == 0)
    moved = step_vertical(sp.shop_member, role, 0, 2);
  else
    return item_cursor(key); // the seller's item list, with its own sound
  if (moved) play_menusound();
}

static void shop_confirm() {
  if (sp.shop_sub == 0) {
    if (sp.shop_row == SHOP_BUY) {
      msg_print(PRINT_ADD, "どれを買いますか？");
      sp.shop_sub = 1;
    } else if (sp.shop_row == SHOP_SELL) {
      msg_print(PRINT_ADD, "誰の物を売りますか？");
      sp.shop_sub = 1;
    } else {
      leave_shop();
    }
  } else if (sp.shop_row == SHOP_BUY) {
    buy_confirm();
  } else {
    sell_confirm();
  }
}

static void shop_cancel() {
  if (sp.shop_sub == 0) {
    leave_shop();
  } else if (sp.shop_row == SHOP_BUY) {
    if (sp.shop_pick == 1)
      sp.shop_pick = 0;
    else
      sp.shop_sub = 0;
  } else if (sp.shop_sell_list == 0) {
    sp.shop_sub = 0;
  } else if (ev.wait_answer) {
    ev.wait_answer = 0;
  } else {
    fmn.item_win = 0;
    sp.shop_sell_list = 0;
  }
}

void shop_key(int key) {
  int role = key_role(key, IN_FIELD);
  if (ev.wait_answer && (key == KEY_YES || key == KEY_NO)) return sale_answer(key);
  if (role >= KEY_DOWN && role <= KEY_UP) return shop_cursor(key, role);
  if (role == KEY_CONFIRM) {
    play_menusound();
    shop_confirm();
  } else if (role == KEY_CANCEL) {
    play_menusound();
    shop_cancel();
  }
}
