// The message window: once a frame it reveals the stored lines one after
// another, scrolls the six visible lines, stops at a page mark until a key
// is pressed, and draws the box, the text in colour and the NEXT prompt.
#include "battle/battle.h"
#include "gfx/text.h"
#include "message/message.h"
#include "platform/font.h"

namespace {

constexpr int BOX_X = 8, BOX_Y = 152, BOX_W = 240, BOX_H = 96;
constexpr int TEXT_X = 14, TEXT_Y = 160, LINE_STEP = 14, CELL_W = 6;

constexpr colorref rgb(int r, int g, int b) {
  return static_cast<colorref>(r | g << 8 | b << 16);
}

// @C0..@C8 on a completed line. On the line being revealed @C3 is magenta.
const colorref code_colors[9] = {rgb(255, 255, 255), rgb(255, 255, 0), rgb(255, 50, 50),
                                 rgb(200, 200, 255), rgb(0, 150, 255), rgb(200, 200, 200),
                                 rgb(255, 255, 0),   rgb(255, 0, 255), rgb(0, 255, 0)};
constexpr colorref CURRENT_C3 = rgb(255, 0, 255);

// A byte of a stored line; past the line's end there is only NUL.
u8 byte_at(const char* s, int k) {
  return k < MSG_LINE_SIZE ? static_cast<u8>(s[k]) : 0;
}

void reveal() {
  int l = msg_window.msg_reveal_line;
  if (l < 0 || l >= MSG_LINES) return;
  const char* line = msg_window.msg_line[l];
  if (msg_window.msg_reveal_col >= 0 && msg_window.msg_reveal_col < MSG_LINE_BYTES &&
      line[msg_window.msg_reveal_col]) {
    if (msg_window.msg_speed == 0)
      msg_window.msg_reveal_col = MSG_LINE_BYTES;
    else if (msg_window.msg_speed_phase == msg_window.msg_speed)
      msg_window.msg_reveal_col++;
  } else if (l < MSG_LINES && l < msg_window.msg_count && !msg_window.msg_wait_key &&
             msg_window.msg_line_delay_phase >= msg_window.msg_line_delay) {
    msg_window.msg_reveal_col = 0;
    if (++msg_window.msg_reveal_line > 5) msg_window.msg_top_line++;
  }
}

// The page mark of the line being revealed stops the reveal, once a line.
void page_mark_reached(int l) {
  if (msg_window.msg_wait_line == l) return;
  msg_window.msg_wait_key = 1;
  msg_window.msg_wait_line = l;
}

// Characters of a line gathered to be drawn as one text: a whole stretch
// of one colour costs one copy per row instead of one per character.
struct text_run {
  const char* from = nullptr;
  int x = 0, len = 0;
  void flush(int y) {
    if (len > 0) text_out(x, y, from, len);
    len = 0;
  }
  // The w bytes at s start a character at pen x; they join the run where the
  // font would read them as the same character inside a longer text.
  void add(const char* s, int w, int pen, int y, int left) {
    bool same_character = plat_char_bytes(s, left) == w;
    if (len > 0 && (from + len != s || !same_character)) flush(y);
    if (len == 0) from = s, x = pen;
    len += w;
    if (!same_character) flush(y);
  }
};

// Draws stored line l at y up to byte `end`, acting on its codes. The colour
// a code sets stays for the following lines of the frame. A byte after a
// skipped code is always drawn as text, even an '@'.
void draw_line(int l, int y, int end, bool current) {
  const char* s = msg_window.msg_line[l];
  int x = TEXT_X;
  text_run run;
  for (int p = 0; p < end && byte_at(s, p);) {
    if (s[p] == '@' && byte_at(s, p + 1) == 'C' && byte_at(s, p + 2) >= '0' &&
        byte_at(s, p + 2) <= '8') {
      int k = s[p + 2] - '0';
      run.flush(y);
      set_text_color(current && k == 3 ? CURRENT_C3 : code_colors[k]);
      p += 3;
    } else if (s[p] == '@' && byte_at(s, p + 1) == 'P') {
      if (current) page_mark_reached(l);
      p += 2;
    }
    if (!byte_at(s, p)) break;
    int w = p + 1 < MSG_LINE_BYTES && is_dbcs_pair(byte_at(s, p), byte_at(s, p + 1)) ? 2 : 1;
    run.add(s + p, w, x, y, MSG_LINE_BYTES - p);
    x += w * CELL_W;
    p += w;
  }
  run.flush(y);
}

void draw_text() {
  begin_text(text_drawing.menu_font, TEXT_OPAQUE);
  int y = TEXT_Y;
  for (int l = msg_window.msg_top_line; l < msg_window.msg_reveal_line && l < MSG_LINES;
       l++, y += LINE_STEP)
    if (l >= 0) draw_line(l, y, MSG_LINE_BYTES, false);
  if (msg_window.msg_reveal_line >= 0 && msg_window.msg_reveal_line < MSG_LINES)
    draw_line(msg_window.msg_reveal_line, y, msg_window.msg_reveal_col, true);
  end_text();
}

// While a battle waits for a key the prompt pulses from dark to bright.
void draw_next_prompt() {
  if (battle.gameover_state != 0 || (!battle.battle_wait_open && !battle.battle_wait_turn)) return;
  msg_window.msg_prompt_phase = static_cast<u8>(msg_window.msg_prompt_phase + 16);
  int p = msg_window.msg_prompt_phase;
  begin_text(text_drawing.menu_font, TEXT_TRANSPARENT);
  shadow_text(24, 240, "▼ NEXT ▼", rgb(p, p, 100));
  end_text();
}

} // namespace

void msg_window_step() {
  if (msg_window.msg_visible != 1) return;
  reveal();
  draw_frame(BOX_X, BOX_Y, BOX_W, BOX_H);
  draw_text();
  draw_next_prompt();
}
