#include "field/shop.h"

#include "audio/sound.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "gfx/text.h"
#include "message/message.h"

#include <cstdio>
#include <cstring>

shop_data services;

void reset_shop_state() {
  services = shop_data{};
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
  std::snprintf(text_drawing.text_line, sizeof text_drawing.text_line, fmt, value);
  msg_print(mode, text_drawing.text_line);
}

static member& shop_customer() {
  return game.sb.party[services.shop_member];
}

void open_shop(int n) {
  services.shop_win = 1;
  services.shop_no = n >= 0 && n < SHOP_COUNT ? n : 0;
  events.wait_answer = 0;
  services.shop_row = SHOP_BUY;
  msg_print(PRINT_NEW, "いらっしゃいませ。");
}

static void leave_shop() {
  services.shop_win = 0;
  field_menu.cmd_menu = CMD_CLOSED;
  msg_print(PRINT_NEW, "ありがとうございました。");
}

// ---- Buying ----

static void buy_confirm() {
  services.trade_item = shop_table[services.shop_no].wares[services.shop_list_row];
  if (services.trade_item == 0) return;
  int price = game.item_table[services.trade_item].price;
  if (game.sb.gold < price) {
    msg_print(PRINT_ADD, "それを買うには、お金が足りないようだ。");
  } else if (services.shop_pick == 0) {
    services.shop_pick = 1;
    msg_print(PRINT_ADD, "誰が持ちますか？");
  } else {
    for (u8& e : shop_customer().items) {
      if (!entry_empty(e)) continue;
      game.sb.gold -= price;
      e = static_cast<u8>(services.trade_item);
      msg_print(PRINT_ADD, "まいどあり！");
      services.shop_sub = 0;
      services.shop_pick = 0;
      return;
    }
    say(PRINT_ADD, "@NAME%dは、", services.shop_member);
    msg_print(PRINT_ADD, "持ち切れないようだ。");
  }
}

// ---- Selling ----

static void sell_confirm() {
  if (!field_menu.item_win) {
    field_menu.item_win = 1;
    services.shop_sell_list = 1;
    msg_print(PRINT_ADD, "アイテムを選んでください。");
    return;
  }
  if (events.wait_answer) return;
  member& m = shop_customer();
  int e = field_menu.item_page * 8 + field_menu.item_row;
  services.trade_item = m.items[e];
  if (entry_empty(m.items[e])) {
    msg_print(PRINT_ADD, "アイテムがありません。");
  } else if ((m.eq_mask >> e) & 1) {
    msg_print(PRINT_ADD, "装備しています。");
  } else {
    const item& it = game.item_table[services.trade_item];
    char name[sizeof it.name];
    std::memcpy(name, it.name, sizeof name);
    name[sizeof name - 1] = 0;
    std::snprintf(text_drawing.text_line, sizeof text_drawing.text_line, "%sは、", name);
    msg_print(PRINT_ADD, text_drawing.text_line);
    say(PRINT_ADD, "%d円で買い取ります。(Y/N)", it.price / 2);
    services.sell_entry = e;
    events.wait_answer = 1;
  }
}

static void sale_answer(int key) {
  events.wait_answer = 0;
  if (key == KEY_NO) {
    msg_print(PRINT_ADD, "そうですか。");
    return;
  }
  game.sb.gold += game.item_table[services.trade_item].price / 2;
  shop_customer().items[services.sell_entry] = 0;
  msg_print(PRINT_ADD, "有難うございました。");
  services.shop_sell_list = 0;
  field_menu.item_win = 0;
}

// ---- Keys ----

static void shop_cursor(int key, int role) {
  int moved = 0;
  if (services.shop_sub == 0)
    moved = step_vertical(services.shop_row, role, 0, 2);
  else if (services.shop_row == SHOP_BUY && services.shop_pick == 0)
    moved = step_vertical(services.shop_list_row, role, 0, SHOP_WARES - 1);
  else if (services.shop_row == SHOP_BUY || services.shop_sell_list == 0)
    moved = step_vertical(services.shop_member, role, 0, 2);
  else
    return item_cursor(key); // the seller's item list, with its own sound
  if (moved) play_menusound();
}

static void shop_confirm() {
  if (services.shop_sub == 0) {
    if (services.shop_row == SHOP_BUY) {
      msg_print(PRINT_ADD, "どれを買いますか？");
      services.shop_sub = 1;
    } else if (services.shop_row == SHOP_SELL) {
      msg_print(PRINT_ADD, "誰の物を売りますか？");
      services.shop_sub = 1;
    } else {
      leave_shop();
    }
  } else if (services.shop_row == SHOP_BUY) {
    buy_confirm();
  } else {
    sell_confirm();
  }
}

static void shop_cancel() {
  if (services.shop_sub == 0) {
    leave_shop();
  } else if (services.shop_row == SHOP_BUY) {
    if (services.shop_pick == 1)
      services.shop_pick = 0;
    else
      services.shop_sub = 0;
  } else if (services.shop_sell_list == 0) {
    services.shop_sub = 0;
  } else if (events.wait_answer) {
    events.wait_answer = 0;
  } else {
    field_menu.item_win = 0;
    services.shop_sell_list = 0;
  }
}

void shop_key(int key) {
  int role = key_role(key, IN_FIELD);
  if (events.wait_answer && (key == KEY_YES || key == KEY_NO)) return sale_answer(key);
  if (role >= KEY_DOWN && role <= KEY_UP) return shop_cursor(key, role);
  if (role == KEY_CONFIRM) {
    play_menusound();
    shop_confirm();
  } else if (role == KEY_CANCEL) {
    play_menusound();
    shop_cancel();
  }
}
