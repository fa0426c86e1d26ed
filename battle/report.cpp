#include "battle/battle_internal.h"
#include "message/message.h"

#include <cstdarg>
#include <cstdio>

// Alone in its file: tests of other parts that record the battle's lines
// themselves can link without the rest of the battle's message window.
void say(int mode, const char* fmt, ...) {
  char line[512];
  va_list ap;
  va_start(ap, fmt);
  std::vsnprintf(line, sizeof line, fmt, ap);
  va_end(ap);
  msg_print(mode, line);
}
