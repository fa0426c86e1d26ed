// What the compiler's own sources share: the statement being assembled, the
// operand readers and the checks of each kind of line.
#pragma once
#include "event/scic.h"

constexpr int SCIC_STMT_MAX = 32;

// One statement's bytes before they go into the current record, with the
// places of the if jump bytes it reserves (an if may hold an if).
struct scic_stmt {
  u8 bytes[SCIC_STMT_MAX]{};
  int n = 0;
  int jumps[SCIC_IF_DEPTH]{};
  int jump_count = 0;
};

// 0 when the byte was added, 1 when the statement is too long to assemble.
int stmt_add(scic_stmt* s, int byte);

// The three characters of a numeric operand: 0 and the value, or 1 when one
// of them is no digit, no blank and no leading '-'. chars gets them as text.
int read_number(const char* s, int* value, char chars[4]);
// The first position from s on where one of the words matches, trying them
// in order at each position: the word's index, or -1. *after points past it.
int find_word(const char* s, const char* const* words, int count, const char** after);
bool starts_with(const char* s, const char* word);

// The checks: 0 and the statement's bytes, or the error code.
int a_check(const char* text, scic_stmt* out);
int i_check(const char* text, scic_stmt* out);
int m_check(const char* text, scic_stmt* out);
int p_check(const char* text, scic_stmt* out, const char** msg, int* len);
int s_check(const char* text, scic_stmt* out);
// evt, else, endif, endevt act on the current record and the if stack.
int e_check(const char* text);

// Appends the statement to the current record and opens its ifs. Returns 0
// when stored, EVTSET_ERROR (already reported) when dropped for lack of room,
// IF_ERROR when its ifs would nest deeper than allowed.
int emit(const scic_stmt& s);
event_record& current_record();

// A line of the trace, when the trace is on.
void scic_trace(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
// Reports an error of the line being compiled on standard error.
void scic_report(int code);
// The line being compiled, for the error report.
void scic_set_line(const char* text, int line_no);
