#include "field/field_menu.h"
#include "field/shop.h"
#include "message/message.h"

static const church_record& church() {
  return church_table[services.church_no];
}

void open_church(int n) {
  services.church_no = n >= 0 && n < CHURCH_COUNT ? n : 0;
  services.church_row = CHURCH_REVIVE;
  services.church_member = 0;
  services.church_win = 1;
  msg_print(PRINT_NEW, service_text(church().title));
  msg_print(PRINT_ADD, service_text(church().greeting));
}

static void leave_church() {
  msg_print(PRINT_ADD, service_text(church().farewell));
  msg_print(PRINT_ADD, nullptr);
  services.church_win = 0;
}

// One service on one member: refused when the member does not need it or
// the party cannot pay; otherwise paid for and the status bit cleared.
static void serve(member& m, u8 bit, int price, const char* not_needed, const char* not_enough,
                  const char* done) {
  if (!(m.status & bit)) {
    msg_print(PRINT_ADD, service_text(not_needed));
  } else if (game.sb.gold < price) {
    msg_print(PRINT_ADD, service_text(not_enough));
  } else {
    game.sb.gold -= price;
    msg_print(PRINT_ADD, service_text(done));
    m.status = static_cast<u8>(m.status & ~bit);
  }
}

static void apply_service() {
  member& m = game.sb.party[services.church_member];
  const church_record& c = church();
  switch (services.church_row) {
  case CHURCH_REVIVE: {
    bool was_dead = m.status & STATUS_DEAD;
    serve(m, STATUS_DEAD, c.revive_price, c.not_dead, c.revive_not_enough, c.revived);
    // Brought back with a little strength, not healed.
    if (was_dead && !(m.status & STATUS_DEAD)) m.hp = 10;
    break;
  }
  case CHURCH_CURE:
    serve(m, STATUS_POISON, c.cure_price, c.not_poisoned, c.cure_not_enough, c.cured);
    break;
  case CHURCH_CURSE:
    serve(m, STATUS_CURSE, c.curse_price, c.not_cursed, c.curse_not_enough, c.curse_lifted);
    break;
  }
}

void church_key(int key) {
  int role = key_role(key, IN_FIELD);
  if (services.church_pick == 0)
    step_vertical(services.church_row, role, 0, 3);
  else
    step_vertical(services.church_member, role, 0, 2);
  if (role == KEY_CONFIRM) {
    if (services.church_row == CHURCH_LEAVE)
      leave_church();
    else if (services.church_pick == 0)
      services.church_pick = 1;
    else
      apply_service();
  } else if (role == KEY_CANCEL) {
    if (services.church_pick == 1)
      services.church_pick = 0;
    else
      leave_church();
  }
}
