// Walking: what each tile means when the party enters it, arrives on it,
// searches it or talks to it; the people met on the way, doors and keys,
// treasure, the ship, random encounters and poison, and the map change.
#pragma once
#include "state/state.h"

// The walk keeps no state of its own: everything it changes lives in `game`
// (the map, the party, the field scalars) and in `field_map` (the step).

// try_step modes.
enum : int { STEP_ENTER = 0, STEP_SEARCH = 1, STEP_ARRIVE = 2, STEP_TALK = 3 };

// The collision test and tile dispatcher. STEP_ENTER: may the party enter
// (x, y)? 0 yes, non-zero no. STEP_SEARCH: search the own tile. STEP_ARRIVE:
// the party has arrived on (x, y). STEP_TALK: act on the tile in front. Only
// STEP_ENTER's result means anything.
int try_step(int x, int y, int mode);
// The meaning of the map events on (x, y) for a tile of class k (the modes of
// try_step, STEP_ENTER for both entering and arriving); 0 lets a door's step go ahead.
int tile_event(int k, int x, int y, int mode);
// The person standing on (x, y) met by walking into it or by talking to it;
// 1 when one was there and handled it.
int npc_contact(int x, int y);
// The talk command: the person or the tile in front of the party.
void talk();
// The end of a step's scroll: leaving an edge-exit map or the arrival test
// of the new tile; always leaves step_dir at 0.
void arrive();
// Takes the party to (x, y) of the map, as stairs do.
void enter_map(int map, int x, int y);
// One step's poison damage to the living poisoned members.
void poison_step();
// The sea of the world map.
bool water_tile(int t);
