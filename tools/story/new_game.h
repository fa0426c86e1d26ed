// The new-game record of the default game, read from its readable source.
#pragma once
#include "state/state.h"

#include <string>

// "" or "file:line: what is wrong".
std::string read_new_game_source(const std::string& path, save_block& out);
// UTF-8 text of a source file to the game's Shift-JIS.
std::string utf8_to_sjis(const std::string& text);
