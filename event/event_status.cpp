#include "event/event_internal.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstring>

namespace {

struct status_field {
  void* at;
  int width; // bits: 8, 16 or 32
};

// up and down change the base values of indexes 2..6, set changes the
// totals; every other index is the same field for all three.
status_field field_of(member& m, int index, bool set) {
  switch (index) {
  case 0:
    return {&m.age, 8};
  case 1:
    return {&m.exp, 32};
  case 2:
    return {set ? &m.atk : &m.str, 16};
  case 3:
    return {set ? &m.spd : &m.agi, 16};
  case 4:
    return {set ? &m.matk : &m.mag, 16};
  case 5:
    return {set ? &m.def : &m.grd, 16};
  case 6:
    return {set ? &m.mdef : &m.mgrd, 16};
  case 7:
    return {&m.hp, 16};
  case 8:
    return {&m.hp_max, 16};
  case 9:
    return {&m.mp, 16};
  case 10:
    return {&m.mp_max, 16};
  case 20:
    return {&m.sex, 8};
  default:
    return {&m.elem[(index - 12) & 7], 8};
  }
}

u32 changed(u32 old, u8 op, u32 v) {
  if (op == sci_up) return old + v;
  if (op == sci_down) return old - v;
  return v;
}

// Additions and subtractions wrap at the field's width; nothing is clamped.
void change(status_field f, u8 op, u32 v) {
  if (f.width == 8) {
    u8* p = static_cast<u8*>(f.at);
    *p = static_cast<u8>(changed(*p, op, v));
  } else if (f.width == 16) {
    u16 x;
    std::memcpy(&x, f.at, 2);
    x = static_cast<u16>(changed(x, op, v));
    std::memcpy(f.at, &x, 2);
  } else {
    u32 x;
    std::memcpy(&x, f.at, 4);
    x = changed(x, op, v);
    std::memcpy(f.at, &x, 4);
  }
}

} // namespace

// The value is 16 bits, high byte first, after the operation byte.
int run_status(const event_op& o) {
  if (!op_fits(o, 5)) return op_cut_off();
  int index = o.c[o.p + 1];
  u8 op = o.c[o.p + 2];
  u32 v = static_cast<u32>(o.c[o.p + 3] << 8 | o.c[o.p + 4]);
  if (op != sci_up && op != sci_down && op != sci_set) return event_error(SCIC_STATUS);
  if (op == sci_up) {
    char line[40];
    std::snprintf(line, sizeof line, "sci_status: %03d up %03u\n", index, v);
    plat_debug_out(line);
  }
  events.event_pc = o.p + 5;
  if (index > (op == sci_set ? STATUS_MAX_SET : STATUS_MAX_UPDOWN)) {
    events.event_pc = o.p;
    for (int m = 0; m < 5; m++) event_error(SCIC_STATUS, false);
    events.event_pc = o.p + 5;
    return RUN_ON;
  }
  if (index == STATUS_GOLD) {
    change({&game.sb.gold, 32}, op, v);
    return RUN_ON;
  }
  for (member& m : game.sb.party) change(field_of(m, index, op == sci_set), op, v);
  return RUN_ON;
}
