// Compiling small sources and running events in a clean game, all in the
// test's own working directory, and seeing what the player would see.
#pragma once
#include "event/event.h"
#include "event/scic.h"
#include "tests/common/test_files.h"

#include <string>
#include <vector>

// The person who asks a question and gives a reward once: event 12, its
// question message 0 and its refusal message 1.
extern const char* const EXAMPLE;

// Starts from fresh tables and compiler state, removes the files of an
// earlier compile, compiles the source; the compile's result.
int compile(const std::string& source);
bool file_exists(const char* name);
// The code bytes of event n in the table, or as eventdat.evt holds them.
std::vector<int> table_code(int n, bool from_file = false);
// The first error the compile reported, 0 when none; line gets its line.
int first_error(int* line = nullptr);

// Puts the game back to its start values, keeping the event tables, and
// removes a save file of an earlier test. The party stays blank, since
// events read flags, items and gold rather than fighting members.
void fresh_game();
// The lines the message window holds, in order.
std::vector<std::string> shown();
