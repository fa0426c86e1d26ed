#include "field/field_menu.h"
#include "field/shop.h"
#include "message/message.h"

// Every inn charges and speaks as the first record.
static const inn_record& inn() {
  return inn_table[0];
}

void open_inn() {
  services.inn_win = 1;
  services.inn_row = 0;
  msg_print(PRINT_NEW, service_text(inn().title));
  msg_print(PRINT_ADD, service_text(inn().greeting));
  msg_print(PRINT_ADD, service_text(inn().price_line));
}

// A night restores everyone's HP and MP, the dead included: they stay dead.
static void stay() {
  if (game.sb.gold < inn().price) {
    msg_print(PRINT_ADD, service_text(inn().not_enough));
    return;
  }
  game.sb.gold -= inn().price;
  for (int i = 0; i < 3; i++) {
    member& m = game.sb.party[i];
    m.hp = m.hp_max;
    m.mp = m.mp_max;
    m.base_hp = m.base_hp_max;
    m.base_mp = m.base_mp_max;
  }
  msg_print(PRINT_ADD, service_text(inn().thanks));
  msg_print(PRINT_ADD, "@C1@NAME0@C0達は、");
  msg_print(PRINT_ADD, " 戦いの疲れを癒した。");
  services.inn_win = 0;
  field_menu.cmd_menu = CMD_CLOSED;
}

// The farewell stays on screen until the player dismisses it.
static void leave_inn() {
  msg_print(PRINT_ADD, service_text(inn().farewell));
  services.inn_win = 0;
}

void inn_key(int key) {
  int role = key_role(key, IN_FIELD);
  step_vertical(services.inn_row, role, 0, 1);
  if (role == KEY_CONFIRM && services.inn_row == 0)
    stay();
  else if (role == KEY_CONFIRM || role == KEY_CANCEL)
    leave_inn();
}
