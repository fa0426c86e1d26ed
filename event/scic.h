// The event compiler: reads event.sci from the working directory and writes
// event%03d.evt at each endevt, then eventmsg.msg, eventdat.evt and
// eventmsg.mgb. It fills the event tables of event/event.h in place.
#pragma once
#include "event/event.h"

#include <cstddef>

// Statement errors; compiling stops at the first one, except EVTSET_ERROR,
// which drops the statement and goes on.
enum : int {
  EVTEXE_ERROR = 100,  // evt inside an event or an if; endevt outside an event or in an if
  EVTNUM_ERROR = 101,  // a character in the event number that is no digit, blank or leading -
  EVTSET_ERROR = 102,  // the statement does not fit in the 128 code bytes
  ELSE_ERROR = 103,    // else with no open if, or a second else in one if
  ENDIF_ERROR = 104,   // endif with no open if
  ECHK_ERROR = 105,    // an e line that is none of evt, else, endif, endevt
  PCHK_ERROR = 106,    // not printn/printc, no quoted text, or 256 messages already
  SYSNUM_ERROR = 107,  // system without on/off (or with a bad number)
  SYSITEM_ERROR = 108, // sysitem without on/off/get/put (or with a bad number)
  ITEM_ERROR = 109,    // item without on/off/get/put (or with a bad number)
  IF_ERROR = 110,      // an i line that is none of item, if, input; if without a condition;
                       // an if nested deeper than 10
  ANS_ERROR = 111,     // not ans, or no y/n after it
  SCI_ERROR = 112,     // a line that starts no statement
  EVTNUM1_ERROR = 113, // event number outside 0..255
  SOUND_ERROR = 114,   // sound without start/stop (or with a bad number)
  MUSIC_ERROR = 115,   // an m line that is not music, or music without start/stop
  MUSICN_ERROR = 116,  // music number outside 0..255 (or with a bad character)
  STATUS_ERROR = 117,  // status without up/down/set (or with a bad number)
};
// An s line that is none of system, sysitem, sound, status: it fails with no code.
constexpr int S_ERROR = -1;

// Results of a compile, also the program's exit status.
enum : int {
  SCIC_OK = 0,
  SCIC_NO_SOURCE = 1, // event.sci cannot be opened
  SCIC_EMPTY = 2,     // event.sci holds no line
  SCIC_NO_MEMORY = 3, // a line cannot be stored
  SCIC_FAILED = 4,    // a statement error was reported; the files were still written
};

constexpr int SCIC_IF_DEPTH = 10;
constexpr int SCIC_ERROR_LOG = 32;

struct scic_if_entry {
  int jump_at = -1; // offset of the if's jump byte; -1 when the if was dropped for lack of room
  int else_at = -1; // offset of the else's jump byte once the else is seen
  bool has_else = false;
};

struct scic_error_entry {
  int code = 0;
  int line = 0;
};

// The compiler's own state. The in-event flag, the depth and the if stack
// carry over from one compile to the next, as does event_no in events.
struct scic_data {
  bool trace = false;
  bool in_event = false;
  int depth = 0;
  scic_if_entry if_stack[SCIC_IF_DEPTH]{};
  int event_msg_count = 0;
  int line_no = 0;                 // line of event.sci being compiled, from 1
  const char* line_text = nullptr; // its text, for the error report

  int error_count = 0; // every error reported by the last compile, EVTSET_ERROR included
  scic_error_entry errors[SCIC_ERROR_LOG]{}; // the first SCIC_ERROR_LOG of them
};

extern scic_data scic;

void reset_scic_state();

// The name of a statement error ("EVTNUM1_ERROR", "S_ERROR"), "?" for others.
const char* scic_error_name(int code);

// Compiles event.sci of the working directory; SCIC_* result.
int scic_compile();
// The same on a source already in memory (the bytes of event.sci).
int scic_compile_source(const char* data, std::size_t size);

// The program: takes only --help and --trace; returns the exit status.
int scic_main(int argc, char** argv);
