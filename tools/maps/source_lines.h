#pragma once
// The content sources of the world (world.txt, places.txt, towns.txt) are
// read the same way: a statement a line, words split by blanks, '#' starts
// a comment, blank lines are skipped.
#include <functional>
#include <string>
#include <vector>

// Hands each statement's words to `statement`, which returns "" or what is
// wrong with it. Returns "" when every line was taken, else the first error
// as "PATH:LINE: error" ("PATH: cannot be opened" when there is no file).
std::string read_source_lines(
    const std::string& path,
    const std::function<std::string(const std::vector<std::string>& words)>& statement);
