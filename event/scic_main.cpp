#include "event/scic.h"

#include <cstdio>
#include <cstring>

static const char USAGE[] =
    "usage: zandrek-scic [--trace]\n"
    "Compiles event.sci of the working directory into event%03d.evt (one per event),\n"
    "eventdat.evt, eventmsg.msg and eventmsg.mgb.\n"
    "  --trace  print what each check is handed and the jump offsets\n"
    "Exit status: 0 compiled, 1 event.sci cannot be opened, 2 it holds no line,\n"
    "3 a line cannot be stored, 4 a statement error was reported (the files are\n"
    "still written from the lines before it).\n";

int scic_main(int argc, char** argv) {
  for (int i = 1; i < argc; i++) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(USAGE, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--trace") == 0) {
      scic.trace = true;
      continue;
    }
    std::fprintf(stderr, "zandrek-scic: unknown argument '%s'\n%s", argv[i], USAGE);
    return 64;
  }
  int rc = scic_compile();
  if (rc == SCIC_NO_SOURCE) std::fputs("zandrek-scic: event.sci cannot be opened\n", stderr);
  if (rc == SCIC_EMPTY) std::fputs("zandrek-scic: event.sci holds no line\n", stderr);
  if (rc == SCIC_NO_MEMORY)
    std::fputs("zandrek-scic: no memory for the lines of event.sci\n", stderr);
  return rc;
}
