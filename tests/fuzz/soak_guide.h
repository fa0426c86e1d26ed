// The soak's guide: now and then the random player walks on purpose, to a
// counter of the town it is in (an inn, a shop, a church), out of the town,
// to the gate of a town near it on the world map, or out of a cave, so that
// the random keys also get to play in the town services. Every choice is
// made from a number the caller draws from its seeded stream.
#pragma once
#include <vector>

// Reads the maps of the game folder (the working directory); false when
// the world map is not among them.
bool guide_open();
// A window of the menus, a counter's window or a member or item picker.
bool window_open();
// Only the field itself takes a step: no window, fight, message or view.
bool free_to_walk();
// Plans a walk from where the party stands, chosen by `pick`; false when the
// party is not free to walk or no way is found.
bool guide_begin(unsigned pick);
// The key of the next step of the walk: 0 while a step still scrolls, -1
// once the walk is done or broken off (a fight, a window, a map changed,
// someone standing in the way too long).
int guide_key();

// The tiles of the counters on the live map, as x | y << 8.
std::vector<int> guide_counters();
