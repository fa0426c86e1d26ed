#include "event/event.h"

event_data ev;
event_record (&event_table)[EVENT_COUNT] = ev.table;
char (&event_msg)[EVENT_MSG_COUNT][EVENT_MSG_SIZE] = ev.msg;

void reset_event_state() {
  ev = event_data{};
}
