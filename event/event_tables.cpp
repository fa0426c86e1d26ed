#include "event/event.h"

event_data events;
event_record (&event_table)[EVENT_COUNT] = events.table;
char (&event_msg)[EVENT_MSG_COUNT][EVENT_MSG_SIZE] = events.msg;

void reset_event_state() {
  events = event_data{};
}
