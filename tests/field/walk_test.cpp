// Steps, stairs and map changes, the ship, people met on the way, the
// encounter countdown and poison.
#include "battle/battle.h"
#include "event/event.h"
#include "field/walk.h"
#include "field_fixture.h"
#include "gfx/surfaces.h"
#include "shell/shell.h"

namespace {

class Walk : public FieldTest {
protected:
  // Map 12, the target of every stair: 20 x 20 tiles, its own return point.
  void SetUp() override {
    FieldTest::SetUp();
    make_map(12, 19, 19, 2, 2);
    write_map_files(12, 19, 19, 2, 2, 5, 0, 33, 7, 8, 3);
  }
  // One step and its arrival, as the key dispatcher and the renderer make it.
  int walk_to(int x, int y) {
    int r = try_step(x, y, STEP_ENTER);
    if (r != 0) return r;
    game.pos_x = x, game.pos_y = y;
    field_map.step_dir = STEP_ARRIVED;
    arrive();
    return 0;
  }
};

TEST_F(Walk, StairsLeadToTheRecordsTargetWithItsMusicAndPictures) {
  make_map(7, 30, 30, 10, 10);
  game.map_grid[10][11] = STAIRS;
  add_event(11, 10, 12, 4, 5);
  game.encounters_on = 0;
  ASSERT_EQ(walk_to(11, 10), 0);
  EXPECT_EQ(place(), std::tuple(12, 4, 5));
  EXPECT_EQ(std::tuple(game.view_x, game.encounters_on), std::tuple(-5, 1));
  EXPECT_EQ(std::tuple(game.cur_music, game.playing_music), std::tuple(5, 5));
  EXPECT_EQ(game.return_map, 33) << "map 12's own return point, from its header";
  EXPECT_EQ(std::tuple(field_map.transition, field_map.step_dir), std::tuple(1, 0)) << "a wipe";
  EXPECT_EQ(log_count("sound: Kaidan"), 1);
  EXPECT_EQ(pixel(gfx.map_surface[0], 0, 0), outside_tile_color(255)) << "rebuilt: map (-5, -4)";
}

// Map 13 has no files: the old tables stay, and with them the return point.
TEST_F(Walk, StairsOnTheWorldMapStoreTheReturnPointAndElsewhereDoNot) {
  for (int from : {WORLD_MAP, 7}) {
    make_map(from, 30, 30, 10, 10);
    game.map_grid[10][11] = STAIRS;
    add_event(11, 10, 13, 4, 5);
    game.return_map = 99, game.return_x = 98, game.return_y = 97;
    ASSERT_EQ(walk_to(11, 10), 0);
    EXPECT_EQ(game.cur_map, 13);
    auto kept = std::tuple(99, 98, 97), stair = std::tuple(WORLD_MAP, 11, 10);
    EXPECT_EQ(std::tuple(game.return_map, game.return_x, game.return_y),
              from == WORLD_MAP ? stair : kept);
  }
}

TEST_F(Walk, AStairReachedWhenTheCountdownIsOutStartsABattleInstead) {
  make_map(WORLD_MAP, 30, 30, 10, 10);
  game.map_grid[10][11] = STAIRS;
  add_event(11, 10, 12, 4, 5);
  game.encounter_steps = 0;
  ASSERT_EQ(walk_to(11, 10), 0);
  EXPECT_EQ(game.cur_map, WORLD_MAP);
  EXPECT_EQ(battle.battle_mode, BATTLE_FIGHTING);
  ASSERT_FALSE(texts().empty());
  EXPECT_EQ(texts()[0], "敵だ！");
  EXPECT_EQ(game.encounter_steps | 24, 31) << "7, 15, 23 or 31 on the world map";
  EXPECT_EQ(log_count("music: play battle.mid"), 1);
  // Off the stair and on it again: now the stairs lead away.
  battle.battle_mode = 0;
  ASSERT_EQ(walk_to(10, 10), 0);
  ASSERT_EQ(walk_to(11, 10), 0);
  EXPECT_EQ(game.cur_map, 12);
}

TEST_F(Walk, TheCountdownRunsOnEncounterMapsOnlyWhileEncountersAreOn) {
  struct {
    int map, on, no_turn, left;
  } cases[] = {{WORLD_MAP, 1, 0, 4}, {36, 1, 0, 4}, {50, 1, 0, 4}, {7, 1, 0, 5},
               {49, 1, 0, 5},        {4, 0, 0, 5},  {4, 1, 1, 5}};
  for (auto c : cases) {
    make_map(c.map, 30, 30, 10, 10);
    game.encounter_steps = 5;
    game.encounters_on = c.on;
    game.no_monster_turn = c.no_turn;
    walk_to(11, 10);
    EXPECT_EQ(game.encounter_steps, c.left) << "map " << c.map;
  }
  make_map(55, 30, 30, 10, 10);
  game.encounter_steps = 0;
  walk_to(11, 10);
  EXPECT_GE(game.encounter_steps, 7);
  EXPECT_LE(game.encounter_steps, 14);
}

TEST_F(Walk, PoisonHurtsPerStepOnEncounterMapsAndKills) {
  member& m = game.sb.party[1];
  m.status = STATUS_POISON;
  m.hp = 2;
  make_map(7, 30, 30, 10, 10);
  walk_to(11, 10);
  EXPECT_EQ(m.hp, 2) << "no poison in towns";
  make_map(WORLD_MAP, 30, 30, 10, 10);
  walk_to(11, 10);
  EXPECT_EQ(m.hp, 1);
  walk_to(12, 10);
  EXPECT_EQ(m.hp, 0);
  EXPECT_EQ(m.status, STATUS_POISON | STATUS_DEAD);
  EXPECT_EQ(texts(), std::vector<std::string>{"BETHは、死んでしまった!"});
  walk_to(13, 10);
  EXPECT_EQ(m.hp, 0) << "the dead take no more";
  // A living poisoned member at 0 HP dies rather than wrapping round.
  game.sb.party[2].status = STATUS_POISON;
  game.sb.party[2].hp = 0;
  poison_step();
  EXPECT_EQ(game.sb.party[2].hp, 0);
  EXPECT_TRUE(game.sb.party[2].status & STATUS_DEAD);
}

TEST_F(Walk, LeavingAnEdgeExitMapReadsTheReturnPointAfterTheLoad) {
  make_map(20, 9, 9, 0, 5);
  game.edge_exit = 1;
  game.return_map = 12, game.return_x = 1, game.return_y = 1;
  game.pos_x = -1;
  game.leaving_map = 1;
  game.encounters_on = 0;
  field_map.step_dir = STEP_ARRIVED;
  arrive();
  EXPECT_EQ(place(), std::tuple(12, 7, 8)) << "map 12's header, read by the load";
  EXPECT_EQ(std::tuple(game.leaving_map, game.encounters_on, field_map.step_dir),
            std::tuple(0, 1, 0));
}

TEST_F(Walk, TheShipIsBoardedOnTheSeaAndLeftOnLand) {
  make_map(WORLD_MAP, 30, 30, 10, 10);
  game.map_grid[10][11] = WATER;
  game.map_grid[10][12] = WATER;
  game.map_grid[10][13] = WALL;
  game.map_grid[11][12] = 0;
  EXPECT_EQ(walk_to(11, 10), 1) << "no ship in the bag";
  EXPECT_EQ(game.on_ship, 0);
  game.sb.bag[3] = 160;
  game.facing = 4;
  talk_command();
  EXPECT_EQ(game.on_ship, 0) << "talking to the sea does not board";
  ASSERT_EQ(walk_to(11, 10), 0);
  EXPECT_EQ(std::tuple(game.on_ship, game.ship_sprite, game.cur_area), std::tuple(1, 64, 12));
  EXPECT_EQ(walk_to(12, 10), 0) << "sailing on";
  EXPECT_EQ(walk_to(12, 11), 0) << "tile 0 is sea too";
  EXPECT_EQ(game.on_ship, 1);
  game.pos_y = 10;
  EXPECT_EQ(walk_to(13, 10), 1);
  EXPECT_EQ(log_count("sound: WallStop"), 1);
  EXPECT_EQ(walk_to(12, 9), 0);
  EXPECT_EQ(std::tuple(game.on_ship, game.ship_sprite, game.cur_area), std::tuple(0, 0, 13));
  // a stair reached straight from the sea: the party arrives on foot
  game.map_grid[11][11] = STAIRS;
  add_event(11, 11, 12, 4, 5);
  ASSERT_EQ(walk_to(12, 10), 0);
  ASSERT_EQ(walk_to(12, 11), 0);
  ASSERT_EQ(walk_to(11, 11), 0);
  EXPECT_EQ(std::tuple(game.cur_map, game.on_ship, game.ship_sprite), std::tuple(12, 0, 0));
}

TEST_F(Walk, PeopleBlockTheWayAndAnswerAndMonstersStartTheirBattles) {
  make_map(7, 30, 30, 10, 10);
  npc& greeter = game.npc_table[0];
  greeter = npc{};
  greeter.x = 11, greeter.y = 10, greeter.type = 0;
  npc& story = game.npc_table[1];
  story = npc{};
  story.x = 10, story.y = 11, story.type = 2, story.a = 40, story.b = 9;
  EXPECT_EQ(walk_to(11, 10), 1);
  EXPECT_EQ(walk_to(10, 11), 1);
  EXPECT_TRUE(texts().empty()) << "walking into people says nothing";
  game.facing = 4;
  talk_command();
  EXPECT_EQ(texts(), std::vector<std::string>{"こんにちは。"});
  game.facing = 0;
  talk_command();
  EXPECT_EQ(events.event_person, 1);
  EXPECT_EQ(events.event_no, 40);
  game.sb.flags[9] = 1;
  EXPECT_EQ(walk_to(10, 11), 0) << "a finished person is no longer there";
  // A monster in the way starts its battle.
  npc& foe = game.npc_table[5];
  foe = npc{};
  foe.x = 10, foe.y = 12, foe.type = 3, foe.a = 32;
  EXPECT_EQ(walk_to(10, 12), 1);
  EXPECT_EQ(std::tuple(battle.battle_mode, battle.figure, battle.slot_species[0]),
            std::tuple(BATTLE_FIGHTING, 5, 32));
  ASSERT_FALSE(texts().empty());
  EXPECT_EQ(texts()[0], "敵だ！");
  EXPECT_EQ(game.pos_y, 11);
  // A monster of a state the maps should not hold fights like any other.
  reset_battle_state();
  foe.type = 1, foe.state = 6;
  EXPECT_EQ(walk_to(10, 12), 1);
  EXPECT_EQ(std::tuple(battle.battle_mode, battle.figure), std::tuple(BATTLE_FIGHTING, 5));
  foe.state = 7;
  reset_battle_state();
  EXPECT_EQ(walk_to(10, 12), 0) << "an absent monster is not met";
  EXPECT_EQ(battle.battle_mode, 0);
}

} // namespace
