// The cost of one battle round: three members' actions and the monster's,
// each with its report through the message printer. A battle frame on the
// default game is timed by tests/bench/frame_costs (battle_frame).
#include "battle_fixture.h"

#include <benchmark/benchmark.h>

static void one_round(benchmark::State& state) {
  fresh_game();
  for (auto _ : state) {
    start_set_battle(32);
    battle.monsters[0].hp = 1 << 30; // the round never ends the battle
    for (int m = 0; m < 3; m++) {
      attack(0);
      while (battle.monster_turn_pending) {
        battle.battle_wait_open = 0;
        monster_turn();
      }
    }
    for (member& p : battle.battle_copy.party) p.status = 0, p.hp = 100;
    benchmark::DoNotOptimize(battle.monsters[0].hp);
  }
}
BENCHMARK(one_round);
