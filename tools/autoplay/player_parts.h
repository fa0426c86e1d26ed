// What the finishing player's three parts share: the battle tactics
// (tactics.cpp), the errands in towns and dungeons (errands.cpp) and the
// journey that strings them together (journey.cpp).
#pragma once
#include "state/state.h"
#include "tools/autoplay/player.h"

#include <cstdint>
#include <set>

namespace autoplay {

constexpr int KEY_CONFIRM = 'D';
constexpr int KEY_CANCEL = 'C';
constexpr int KEY_YES = 'Y';
constexpr int KEY_NOTHING = 'Z'; // in no key table: only clears a wait
constexpr int KEY_SYSTEM = 'Q';

// A beaten guardian stands again once the map is loaded again, so after a
// win the party stays on the map (healing with spells only) until it has
// been through what the guardian kept.
extern int held_on_map;
extern std::set<int> talked; // people spoken to on this visit: map * 32 + index

// ---- The journey (journey.cpp) ----
bool out_of_time();
// Keeps the game going until the field is idle: messages closed, battles
// fought, events answered, steps and wipes finished.
void settle();
int talk_to(int i);          // 0 once person i spoke
int bump_into(int x, int y); // walks into a tile that refuses the step
int search_at(int x, int y);
int class_at(int x, int y);
int go_to_map(int target); // 0 once the party stands on the map
// Heals (spells, church, inn) when money can mend the party; before a fight,
// also when it is merely not whole.
void recover(bool before_a_fight = false);
// Someone dead that money can raise, or someone alive below three fifths of
// its HP that money can rest.
int member_hp_low();
// After a battle: heal with spells, and go to an inn when that is not enough.
void look_after_party();

// ---- Battle tactics (tactics.cpp) ----
bool party_choosing(); // a member waits for its command
void move_cursor(i32& cursor, int want);
int raising_item(const member& m); // a tool that raises the dead, or -1
// One member's command in battle.
void choose_command();
// Heals with spells cast from the field menu; 0 when nobody needs it any more.
int field_heal();

// ---- Errands (errands.cpp) ----
void explore_here();
void save_game();
int rest_here();
int anyone_poisoned();
int revive_here();

} // namespace autoplay
