#include "battle/battle_internal.h"
#include "message/message.h"

#include <cstdarg>
#include <cstdio>

// The battle's lines take printf formats for names and numbers; the printer
// then expands its own @-tokens.
void say(int mode, const char* fmt, ...) {
  char line[512];
  va_list ap;
  va_start(ap, fmt);
  std::vsnprintf(line, sizeof line, fmt, ap);
  va_end(ap);
  msg_print(mode, line);
}
