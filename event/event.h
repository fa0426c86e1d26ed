// Story events: the compiled event record, the event and message tables, the
// byte code, and the interpreter that runs one event at a time.
#pragma once
#include "state/state.h"

#include <bit>
#include <cstddef>
#include <cstdio>

// One compiled event; also its image in eventdat.evt and event%03d.evt.
struct event_record {
  u16 reserved; // 0 as the compiler writes it, never looked at
  u16 length;   // code bytes in use, 0..128 (little-endian in the files)
  u8 code[128]; // bytes at and past length are never run
};
static_assert(sizeof(event_record) == 132);
static_assert(offsetof(event_record, length) == 2 && offsetof(event_record, code) == 4);
static_assert(std::endian::native == std::endian::little,
              "event records are read and written in the machine's byte order");

constexpr int EVENT_COUNT = 256;
constexpr int EVENT_CODE_MAX = 128;
constexpr int EVENT_MSG_COUNT = 256;
constexpr int EVENT_MSG_SIZE = 160; // a shown message holds at most 159 bytes

// Opcodes. The operand-only bytes (on .. put, start .. set) are valid only in
// the second or third place of a statement.
enum : u8 {
  sci_printn = 0x50,
  sci_printc = 0x51,
  sci_ans = 0x52,
  sci_input = 0x53,
  sci_if = 0x54,
  sci_jump = 0x55,
  sci_system = 0x56,
  sci_sysitem = 0x57,
  sci_on = 0x58,
  sci_off = 0x59,
  sci_get = 0x5A,
  sci_put = 0x5B,
  sci_item = 0x5C,
  sci_exit = 0x5D,
  sci_music = 0x5E,
  sci_sound = 0x5F,
  sci_status = 0x60,
  sci_magic = 0x61,
  sci_start = 0x62,
  sci_stop = 0x63,
  sci_up = 0x64,
  sci_down = 0x65,
  sci_set = 0x66,
  sci_battle = 0x67,
};

// Answer letters of `ans`.
constexpr u8 ANS_YES = 0x79, ANS_NO = 0x6E;

// Status indexes with a meaning of their own.
constexpr int STATUS_GOLD = 11;
constexpr int STATUS_MAX_UPDOWN = 20, STATUS_MAX_SET = 19;

// Flags the interpreter itself looks at.
constexpr int FLAG_ENDING = 86;
constexpr int FLAG_DOOR_OPEN = 255; // set by an event door's event to let the party in

// Runtime errors, shown in the message window as "err: byt%05d[%3d] err%04d".
enum : int {
  SCIC_SYSFLG = 200,  // system with an operation other than on/off
  SCIC_SYSITEM = 201, // sysitem statement not get/put; sysitem or item condition not on/off
  SCIC_ITEM = 202,    // item statement not get/put
  SCIC_MUSIC = 203,   // music not start/stop
  SCIC_SOUND = 204,   // sound not start/stop
  SCIC_STATUS = 205,  // status operation or index out of range
  SCIC_ERROR = 206,   // not an opcode, operand-only byte, magic, statement cut off by the end
  SCIC_IF_ERR = 207,  // if with a condition that is no condition
};

// The event tables and the interpreter. The tables are filled from
// eventdat.evt and eventmsg.mgb by the data-file loader, or by the compiler.
struct event_data {
  event_record table[EVENT_COUNT]{};
  char msg[EVENT_MSG_COUNT][EVENT_MSG_SIZE]{};

  int event_no = 0;     // running or suspended event
  int event_pc = 0;     // next code byte, 0..128
  int wait_answer = 0;  // 1 while suspended for a key (shared with the shop's sale question)
  u32 answer_key = 0;   // virtual-key code of the key that ended the last wait
  int event_person = 0; // npc_table index of the person whose talk started the event
  int last_error = 0;   // code of the last runtime error, 0 when none since the last start
  int ending_shown = 0; // 1 once the story has ended: the ending screen, for good
};

extern event_data events;
// The tables under the names the rest of the game knows them by.
extern event_record (&event_table)[EVENT_COUNT];
extern char (&event_msg)[EVENT_MSG_COUNT][EVENT_MSG_SIZE];

void reset_event_state();

// The readers of eventdat.evt and eventmsg.mgb (results as the data-file
// readers: READ_OK, READ_ERROR, FORMAT_ERROR).
int read_event_table(std::FILE* f);
int read_event_messages(std::FILE* f);

// Start: runs event n from its first byte until its code ends or it waits.
// Called by the field (people of type 2, event tiles, event doors) and by the
// title menu's new game (event 255).
void event_start(int n);
// Step: runs the current event on from event_pc.
void event_step();
// The field's two ways in besides a plain start. Talking to person i (an NPC
// of type 2 whose flag is off): keeps i in event_person and starts its event.
void event_talk(int npc_index);
// An event door: runs event n; 0 when the event set flag 255 (the party may
// step in), 1 when the door stays shut.
int event_door(int n);
// The key dispatcher's call while wait_answer is 1 (after an input, or when a
// set battle started by an event has ended): stores the key, clears the wait
// and runs the event on.
void event_key(u32 vk);
