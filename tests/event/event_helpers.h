// Running events in a clean game and seeing what the player would see.
#pragma once
#include "event/event.h"

#include <string>
#include <vector>

// Puts the game back to its start values, keeping the event tables, and
// removes a save file of an earlier test. The event tables are left alone
// because a test writes the records it runs (or reads the default game's)
// before its runs; the party stays blank, since events read flags, items
// and gold rather than fighting members.
void fresh_game();
// The lines the message window holds, in order.
std::vector<std::string> shown();
bool ending_is_shown();
// How many times the game was saved since fresh_game.
int saves_made();
// True when the headless log holds the line.
bool logged(const std::string& line);
