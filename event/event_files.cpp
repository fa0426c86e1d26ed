// The readers of the two compiled event files that the data-file loader
// opens: the event table and the event messages.
#include "event/event.h"
#include "state/data_files.h"

#include <cstdio>

int read_event_table(std::FILE* f) {
  events.event_no = 0;
  for (auto& rec : event_table)
    if (std::fread(&rec, sizeof rec, 1, f) != 1) return FORMAT_ERROR;
  return READ_OK;
}

int read_event_messages(std::FILE* f) {
  for (auto& line : event_msg) {
    if (std::fread(line, 1, sizeof line, f) != sizeof line) break;
    for (std::size_t i = 0; i + 1 < sizeof line; i += 2) {
      char t = line[i];
      line[i] = line[i + 1];
      line[i + 1] = t;
    }
    // A shown message holds at most 159 bytes, whatever the file says.
    line[sizeof line - 1] = 0;
  }
  return READ_OK;
}
