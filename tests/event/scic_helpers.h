// Compiling small sources in the test's own working directory.
#pragma once
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
// The code bytes of event n as written in eventdat.evt.
std::vector<int> code_of(int n);
// The code bytes of event n in the table.
std::vector<int> table_code(int n);
// The first error the compile reported, 0 when none; line gets its line.
int first_error(int* line = nullptr);
