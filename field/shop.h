// The town services reached over a counter: the inn, the church (whose
// keeper revives the dead and cures poison and curses) and the shops, with
// their built-in records. Each has a window with its own cursor and key
// handler; every word is said through the message printer.
#pragma once
#include "state/state.h"

constexpr int SERVICE_TEXT = 30; // Shift-JIS, blank padded, NUL within the 30

// An inn: the price of a night and what the innkeeper says.
struct inn_record {
  u16 price;
  char title[SERVICE_TEXT];
  char greeting[SERVICE_TEXT];
  char price_line[SERVICE_TEXT];
  char thanks[SERVICE_TEXT];
  char not_enough[SERVICE_TEXT];
  char farewell[SERVICE_TEXT];
};
static_assert(sizeof(inn_record) == 182);

// A church: the prices of its three services and its keeper's lines.
struct church_record {
  u16 revive_price, cure_price, curse_price;
  char title[SERVICE_TEXT];
  char greeting[SERVICE_TEXT];
  char farewell[SERVICE_TEXT];
  char revived[SERVICE_TEXT];
  char revive_not_enough[SERVICE_TEXT];
  char not_dead[SERVICE_TEXT];
  char cured[SERVICE_TEXT];
  char cure_not_enough[SERVICE_TEXT];
  char not_poisoned[SERVICE_TEXT];
  char curse_not_enough[SERVICE_TEXT];
  char curse_lifted[SERVICE_TEXT];
  char not_cursed[SERVICE_TEXT];
};
static_assert(sizeof(church_record) == 366);

constexpr int SHOP_WARES = 5;
// A shop: a label for whoever reads the table (never shown) and its wares.
struct shop_record {
  char label[25];
  u8 reserved;
  u8 wares[SHOP_WARES]; // item numbers, 0 = none
};
static_assert(sizeof(shop_record) == 31);

constexpr int INN_COUNT = 4, CHURCH_COUNT = 2, SHOP_COUNT = 23;
extern const inn_record inn_table[INN_COUNT];
extern const church_record church_table[CHURCH_COUNT];
extern const shop_record shop_table[SHOP_COUNT];

// church_row values.
enum : i32 { CHURCH_REVIVE = 0, CHURCH_CURE = 1, CHURCH_CURSE = 2, CHURCH_LEAVE = 3 };
// shop_row values.
enum : i32 { SHOP_BUY = 0, SHOP_SELL = 1, SHOP_LEAVE = 2 };

struct shop_data {
  i32 inn_win = 0;
  i32 inn_row = 0; // 0 stay, 1 leave

  i32 church_win = 0;
  i32 church_no = 0;
  i32 church_row = CHURCH_REVIVE;
  i32 church_col = 0;  // the service list has one column
  i32 church_pick = 0; // 0 choosing the service, 1 the member
  i32 church_member = 0;

  i32 shop_win = 0;
  i32 shop_no = 0;
  i32 shop_row = SHOP_BUY;
  i32 shop_sub = 0; // 0 main list, 1 inside buy or sell
  i32 shop_list_row = 0;
  i32 shop_list_col = 0;  // the wares have one column
  i32 shop_pick = 0;      // buying: 0 choosing the ware, 1 who carries it
  i32 shop_sell_list = 0; // selling: 0 choosing whose item, 1 the item
  i32 shop_member = 0;
  i32 trade_item = 0;
  i32 sell_entry = 0; // the entry the sale question names
};

extern shop_data services;
void reset_shop_state();

// The shop's and church's numbers are the map event's a; out-of-range
// numbers fall back to record 0.
void open_inn();
void inn_key(int key);
void open_church(int n);
void church_key(int key);
void open_shop(int n);
void shop_key(int key);

// A service text as printed: the record's text without its padding.
const char* service_text(const char* text);
