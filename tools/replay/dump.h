// The JSON picture of the game state that a replay's "dump" writes.
#pragma once
#include <string>
#include <vector>

// The whole dump; log holds the lines (UTF-8) to report under "log".
std::string dump_json(const std::vector<std::string>& log);
