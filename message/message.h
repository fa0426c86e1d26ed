// The message printer and the message window: every running text of the game
// (battle reports, item and spell results, shop talk, event speech) is put
// into one store of lines by msg_print and revealed, scrolled, paged and
// drawn at the bottom of the picture by msg_window_step, once a frame.
//
// Texts are Shift-JIS. The colour codes @C0..@C8 and the page mark @P stay in
// the stored text and act only when the window draws it.
#pragma once
#include "state/state.h"

constexpr int MSG_LINES = 500;       // lines in the store
constexpr int MSG_LINE_SIZE = 41;    // bytes of one stored line
constexpr int MSG_LINE_BYTES = 39;   // text bytes a line may hold
constexpr int MSG_EXPAND_SIZE = 160; // the expanded text is cut here
constexpr int MSG_VISIBLE_LINES = 6;

struct message_data {
  char msg_line[MSG_LINES][MSG_LINE_SIZE]{};
  i32 msg_count = 0;            // lines stored; also the line the next text goes into
  i32 msg_reveal_line = 0;      // the line being revealed (the current line)
  i32 msg_reveal_col = 0;       // bytes of the current line shown
  i32 msg_top_line = 0;         // first line shown in the window
  i32 msg_visible = 0;          // the window is drawn only while this is 1
  i32 msg_wait_key = 0;         // the reveal has reached a page mark; a key clears it
  i32 msg_speed = 0;            // 0 a line at once; n > 0 one byte every n + 1 frames
  i32 msg_speed_phase = 0;      // 0 .. msg_speed, advanced by the renderer
  i32 msg_line_delay = 5;       // frames between two revealed lines
  i32 msg_line_delay_phase = 0; // 0 .. msg_line_delay; stands still during a page wait
  u8 msg_prompt_phase = 0;      // brightness of the blinking NEXT prompt
  // The line whose page mark has already stopped the reveal once (-1 none).
  // A line the reveal cannot leave (the last line of a full store) must not
  // stop it again after its key, or every key would be swallowed from then on.
  i32 msg_wait_line = -1;
};

extern message_data msg_window;
void reset_message_state();

// PRINT_NEW starts a new report (the store is emptied first); other modes
// add lines below. No text (nullptr) hides the window and blanks every line.
enum print_mode : int { PRINT_NEW = 1, PRINT_ADD = 2 };
void msg_print(int mode, const char* text);

// The window for this frame: reveals the next byte or line, scrolls, stops at
// a page mark, draws the box, the text in colour and the NEXT prompt of a
// waiting battle. Draws nothing while the window is hidden.
void msg_window_step();

// True when byte and next form one Shift-JIS double-byte character.
bool is_dbcs_pair(u8 byte, u8 next);

// The token expansion alone (the first half of msg_print): names put in for
// @NAME, @ITEM, @WMSD and @MAGIC, the result cut at 160 bytes. out receives a
// NUL-terminated text; returns its length.
int msg_expand(const char* text, char (&out)[MSG_EXPAND_SIZE + 1]);
