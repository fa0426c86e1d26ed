#include "battle/battle_internal.h"
#include "message/message.h"

// The way home: from a town, cave or ruin back to where the party last came
// from the world map.
void (*return_to_map)(int map, int x, int y) = nullptr;

void cast_return(int spell, int from_item) {
  if (!spell_report(spell, from_item)) return;
  if (spell != 31) return;
  if (game.cur_map < 50) {
    say(PRINT_ADD, "ここでは、使えません。");
    return;
  }
  return_to_map(game.return_map, game.return_x, game.return_y);
  spell_cost(spell, from_item);
}
