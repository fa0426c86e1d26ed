// The few calls that run upward between the folders: a lower folder keeps a
// function pointer, and the shell, which sees every folder, fills it in.
#include "battle/battle.h"
#include "event/event.h"
#include "field/walk.h"
#include "shell/shell.h"
#include "state/data_files.h"

void install_hooks() {
  event_readers = {read_event_table, read_event_messages};
  return_to_map = enter_map;
}
