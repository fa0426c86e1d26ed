#include "battle/battle_internal.h"
#include "field/walk.h"
#include "message/message.h"

// The way home: from a town, cave or ruin back to where the party last came
// from the world map.
void cast_return(int spell, int from_item) {
  if (!spell_report(spell, from_item)) return;
  if (spell != 31) return;
  if (st.cur_map < 50) {
    say(PRINT_ADD, "ここでは、使えません。");
    return;
  }
  enter_map(st.return_map, st.return_x, st.return_y);
  spell_cost(spell, from_item);
}
