// What the field-window sources share: fixed-width texts made printable and
// the small pieces every window repeats.
#pragma once
#include "state/state.h"

// A fixed-width text field (names, labels) as a C string.
struct field_text {
  char s[40];
};
field_text fixed_text(const char* p, int width);
field_text member_name(int m);
field_text item_name(int id);
field_text spell_name(int spell);

// Starts a window's text block: opaque menu font, white on black.
void begin_window_text();
// Lines at (x, y0), (x, y0 + 14), ...
void text_rows(int x, int y0, const char* const* texts, int n);
// The three member names "%s" at (x, 30) + 14.
void member_names(int x);
// The "だれ" window with its cursor on member m (the shops' and the church's).
void member_window(int m);
// An item list page of a member: frame (24, 24, 140, 134), the title at
// (title_x, 24), eight rows and the cursor.
void item_list_window(const member& who, int page, int row, int title_x);
