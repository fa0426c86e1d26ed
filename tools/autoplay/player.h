// The finishing player: plays the game from the title screen to the ending
// with the keyboard alone, deciding every key from the game state.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct place_entry {
  int map = 0;
  std::string kind;
};

struct player_stats {
  std::uint64_t steps = 0;
  int battles = 0;
  int battles_world[14]{}; // by world-map area
  int battles_place[64]{}; // by place, on every other map
  int rests = 0;
  int lost = 0;     // 1 when the party was wiped out for good
  int wipeouts = 0; // lost battles, each followed by a restart from the last save
  int saves = 0;
  std::string stuck;    // why the run gave up, empty when it did not
  std::string pictures; // a folder for pictures of the run, empty for none
  int pictures_taken = 0;
  int pictures_failed = 0;
  bool trace = false;  // every message line on standard error
  int until_flag = -1; // stop with success once this story flag is set
  // Asked of before every step: the soak's random detours (menus, shops,
  // saves, the ship...). True when one was taken; the player then settles
  // and plans its way again from wherever the detour left the party.
  bool (*detour)() = nullptr;
  bool go_on = false; // play on from the game in play instead of starting a new one
};

extern player_stats player;

// The places in the order of the journey, from the world's place list.
int read_places(const char* path, std::vector<place_entry>* out, std::string* why);
// Plays until the ending screen shows or the tick budget is spent; 0 when the
// ending was reached.
// player.pictures may name a folder for pictures of the run beforehand.
int play_to_the_end(const std::vector<place_entry>& places, std::uint64_t tick_budget);
