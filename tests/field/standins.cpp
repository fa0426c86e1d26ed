// TEMPORARY stand-ins for calls of the field into parts of the game that are
// still being written (message printer, inn/shop/church, the shell's wipe,
// the event's ending and save hooks). They record what the field asked for,
// so that the tests can check it. Remove each one once its real definition
// is in the game core.
#include "field_fixture.h"

#include "shell/shell.h"

i32 msg_visible = 0; // the battle's view of the message window
int ending_shown = 0;

int save_slot(int) {
  return 0;
}

void msg_print(int mode, const char* text) {
  field_calls().printed.push_back({mode, text ? text : ""});
}

void open_inn() {
  field_calls().opened.push_back("inn");
}

void open_church(int n) {
  field_calls().opened.push_back("church " + std::to_string(n));
}

void open_shop(int n) {
  field_calls().opened.push_back("shop " + std::to_string(n));
}

void start_closing_wipe() {
  sh.transition_pos = 0;
  sh.transition = 1;
}
