// The message printer (tokens, line breaking by bytes, the store and its
// limits) and the message window (reveal timing, scrolling, the page wait,
// colours, the box, the text positions and the NEXT prompt), the window
// checked on the back buffer with frame pieces in colours a test can tell
// apart, its frames run as the renderer runs them.
#include "battle/battle.h"
#include "gfx/surfaces.h"
#include "gfx/text.h"
#include "message/message.h"
#include "state/state.h"
#include "tests/common/back_buffer.h"
#include "tests/common/save_picture.h"
#include "tests/common/window_pieces.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Every subsystem the window reads from, back to its start; the back buffer
// black, frame piece k of red k + 1.
void fresh_window() {
  reset_state();
  reset_battle_state();
  reset_surfaces_state();
  reset_text_state();
  reset_message_state();
  mark_window_pieces();
}

// Sets member m's name field: the text, then blanks.
void set_member_name(int m, const char* name) {
  char* field = game.sb.party[m].name;
  std::memset(field, ' ', sizeof game.sb.party[m].name);
  std::memcpy(field, name, std::strlen(name));
}

// Drawn frames: the renderer's counters advance, then the window step.
void frames(int n = 1) {
  for (int k = 0; k < n; k++) {
    msg_window.msg_speed_phase =
        msg_window.msg_speed_phase < msg_window.msg_speed ? msg_window.msg_speed_phase + 1 : 0;
    if (!msg_window.msg_wait_key)
      msg_window.msg_line_delay_phase = msg_window.msg_line_delay_phase < msg_window.msg_line_delay
                                            ? msg_window.msg_line_delay_phase + 1
                                            : 0;
    msg_window_step();
  }
}

// A key while the window waits for one, as the key dispatcher handles it.
void page_key() {
  msg_window.msg_wait_key = 0;
  msg_window.msg_line_delay_phase = msg_window.msg_line_delay - 1;
}

std::string line(int k) {
  return msg_window.msg_line[k];
}

std::string repeat(const char* s, int n) {
  std::string r;
  for (int k = 0; k < n; k++) r += s;
  return r;
}

std::string expanded(const char* text) {
  char out[MSG_EXPAND_SIZE + 1];
  int n = msg_expand(text, out);
  EXPECT_EQ(n, static_cast<int>(std::strlen(out)));
  return out;
}

TEST(Printer, DoubleByteTestFollowsTheLeadAndTrailRanges) {
  // 0x81 0x00: a lead byte at the end of a text stands alone; 0xB1: half-width katakana
  const struct {
    u8 lead, trail;
    bool pair;
  } cases[] = {{0x81, 0x40, true},  {0x9F, 0xFF, true},  {0xE0, 0x40, true},  {0xE9, 0xFC, true},
               {0xEA, 0xAF, true},  {0xEA, 0xB0, false}, {0x81, 0x3F, false}, {0x81, 0x00, false},
               {0xA0, 0x40, false}, {0xB1, 0x82, false}, {0xEB, 0x40, false}, {0x80, 0x40, false}};
  for (const auto& c : cases)
    EXPECT_EQ(is_dbcs_pair(c.lead, c.trail), c.pair) << int(c.lead) << " " << int(c.trail);
}

TEST(Printer, TokensBecomeNamesUpToTheFirstBlankOrNothingOutsideTheirTables) {
  fresh_window();
  for (int m = 1; m < 5; m++) set_member_name(m, "M");
  set_member_name(0, "AB");
  std::memcpy(game.item_table[5].name, "やくそう  ", 10);
  std::strcpy(game.item_table[255].name, "Last");
  std::strcpy(battle.monsters[7].name, "Slime");
  std::memcpy(game.magic_table[3].name, "Fire    ", 8);
  const std::string long_text = repeat("x", 200);
  const struct {
    const char* text;
    std::string want;
  } cases[] = {
      {"@NAME0は、@ITEM005", "ABは、やくそう"}, // a token may end the text
      {"@WMSD007!", "Slime!"},
      {"[@MAGIC 3][@MAGIC03]", "[Fire][Fire]"}, // a blank counts as 0
      {"@ITEM  5", "やくそう"},
      // the four are looked for in this order at one place, each once
      {"@NAME0@ITEM005@WMSD007@MAGIC03.", "ABやくそうSlimeFire."},
      {"@C1@NAME0@C0の、攻撃!", "@C1AB@C0の、攻撃!"},
      {"@C2@P>x", "@C2@P>x"}, // codes stay for the window
      {"one\ntwo", "one"},    // a text ends at its first line break
      {"one\rtwo", "one"},
      {long_text.c_str(), repeat("x", 160)},
      {"a@NAME5b", "ab"},
      {"a@ITEM999b", "ab"},
      {"a@ITEM255b", "aLastb"},
      {"a@WMSD008b", "ab"},
      {"a@MAGIC32b", "ab"},
      {"a@NAMEXb", "ab"},   // not a digit: no entry either
      {"a@ITEM-01b", "ab"}, // nor a sign
      // a text that ends inside a token's digits keeps it as text
      {"a@NAME", "a@NAME"},
      {"@MAGIC1", "@MAGIC1"},
      {"@ITEM00", "@ITEM00"},
  };
  for (const auto& c : cases) EXPECT_EQ(expanded(c.text), c.want) << c.text;
}

TEST(Printer, ManyLongNamesNeverPassTheWorkBuffer) {
  fresh_window();
  for (int m = 0; m < 5; m++) set_member_name(m, "ABCDEFGHIJKLMNOP");         // 16 bytes, no blank
  for (auto& it : game.item_table) std::memset(it.name, 'I', sizeof it.name); // no blank, no NUL
  for (auto& mg : game.magic_table) std::memset(mg.name, 'G', sizeof mg.name);
  for (auto& mo : battle.monsters) std::memset(mo.name, 'W', sizeof mo.name);
  struct guarded {
    char out[MSG_EXPAND_SIZE + 1];
    char guard[64];
  } g;
  std::memset(g.guard, 0x5A, sizeof g.guard);
  std::string text = repeat("@NAME1@ITEM001@WMSD001@MAGIC01-", 20);
  EXPECT_EQ(msg_expand(text.c_str(), g.out), MSG_EXPAND_SIZE);
  for (char c : g.guard) ASSERT_EQ(c, 0x5A);
  std::string group =
      "ABCDEFGHIJKLMNOP" + std::string(17, 'I') + std::string(17, 'W') + std::string(9, 'G') + "-";
  std::string want = repeat(group.c_str(), 3);
  EXPECT_EQ(std::string(g.out), want.substr(0, 160));

  // each token once at one place, then one byte as it stands: a second @NAME
  // right after @MAGIC is text
  EXPECT_EQ(expanded("@MAGIC01@NAME1"), std::string(9, 'G') + "@NAME1");

  // through the printer: 160 bytes make four full lines and one of 8
  msg_print(PRINT_NEW, text.c_str());
  EXPECT_EQ(msg_window.msg_count, 5);
  EXPECT_EQ(line(0).size(), 38u);
  EXPECT_EQ(line(4).size(), 160u - 4 * 38);
}

TEST(Printer, LinesAreCutByBytesWithoutSplittingACharacter) {
  fresh_window();
  // a double-byte character ending at column 37, then a single byte: 39 bytes
  const std::string widest = "aa" + repeat("あ", 18) + "b";
  const struct {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {repeat("あ", 40), {repeat("あ", 19), repeat("あ", 19), repeat("あ", 2)}},
      {repeat("a", 38), {repeat("a", 38), ""}}, // a full line, then an empty one
      {repeat("a", 39), {repeat("a", 38), "a"}},
      {widest, {widest, ""}},
      {"@C2" + repeat("a", 40), {"@C2" + repeat("a", 35), repeat("a", 5)}}, // codes count
      {"", {""}}, // an empty text adds one empty line
  };
  for (const auto& c : cases) {
    msg_print(PRINT_NEW, c.text.c_str());
    EXPECT_EQ(msg_window.msg_count, static_cast<int>(c.lines.size())) << c.text;
    for (std::size_t k = 0; k < c.lines.size(); k++) EXPECT_EQ(line(k), c.lines[k]) << c.text;
  }
  EXPECT_EQ(msg_window.msg_visible, 1);
}

TEST(Printer, ModesStartANewReportAddBelowOrHide) {
  fresh_window();
  msg_print(PRINT_NEW, "one");
  msg_print(PRINT_ADD, "two");
  msg_print(0, "three"); // any mode but a new report adds
  EXPECT_EQ(msg_window.msg_count, 3);
  EXPECT_EQ(line(2), "three");
  msg_window.msg_reveal_line = 2, msg_window.msg_top_line = 0, msg_window.msg_reveal_col = 39;

  msg_print(PRINT_ADD, nullptr); // hides and blanks, the counters stay
  EXPECT_EQ(msg_window.msg_visible, 0);
  EXPECT_EQ(msg_window.msg_count, 3);
  EXPECT_EQ(msg_window.msg_reveal_line, 2);
  EXPECT_EQ(line(0), "");
  EXPECT_EQ(line(2), "");
  msg_print(PRINT_ADD, "four"); // lands below the blanked lines
  EXPECT_EQ(line(3), "four");
  EXPECT_EQ(msg_window.msg_count, 4);

  msg_print(PRINT_NEW, nullptr); // empties and hides
  EXPECT_EQ(msg_window.msg_count, 0);
  EXPECT_EQ(msg_window.msg_reveal_line, 0);
  EXPECT_EQ(msg_window.msg_reveal_col, 0);
  EXPECT_EQ(line(3), "");
  EXPECT_EQ(msg_window.msg_visible, 0);
  msg_print(PRINT_NEW, "five");
  EXPECT_EQ(line(0), "five");
  EXPECT_EQ(msg_window.msg_count, 1);
}

TEST(Printer, AFullStoreOverwritesItsLastLine) {
  fresh_window();
  msg_print(PRINT_NEW, "first");
  for (int k = 1; k < 520; k++) msg_print(PRINT_ADD, ("line " + std::to_string(k)).c_str());
  EXPECT_EQ(msg_window.msg_count, MSG_LINES - 1);
  EXPECT_EQ(line(498), "line 498");
  EXPECT_EQ(line(499), "line 519");
  msg_print(PRINT_ADD, repeat("b", 45).c_str()); // each line of the text from the start of line 499
  EXPECT_EQ(line(499), repeat("b", 7));
  EXPECT_EQ(msg_window.msg_count, MSG_LINES - 1);
}

const pixel_rgb BLACK{0, 0, 0}, WHITE{255, 255, 255}, YELLOW{255, 255, 0},
    LIGHT_BLUE{200, 200, 255}, MAGENTA{255, 0, 255}, RED{255, 50, 50}, GREEN{0, 255, 0};

// Pixels of a colour in the text cell row of window line k.
int in_line(int k, pixel_rgb c, int x = 14, int w = 228) {
  return count_color(x, 160 + 14 * k, w, 12, c);
}

TEST(Window, ThreeLinesAppearOneCycleApart) {
  fresh_window();
  msg_print(PRINT_NEW, "one");
  msg_print(PRINT_ADD, "two");
  msg_print(PRINT_ADD, "three");
  frames();
  EXPECT_EQ(msg_window.msg_reveal_line, 0);
  EXPECT_EQ(msg_window.msg_reveal_col, MSG_LINE_BYTES); // the first line whole in the next frame
  EXPECT_GT(in_line(0, WHITE), 0);
  EXPECT_EQ(in_line(1, WHITE), 0);
  int shown_at[3] = {1, 0, 0};
  for (int f = 2; f <= 20; f++) {
    frames();
    int k = msg_window.msg_reveal_line;
    if (k < 3 && !shown_at[k] && msg_window.msg_reveal_col == MSG_LINE_BYTES) shown_at[k] = f;
  }
  EXPECT_GT(shown_at[1], 1);
  EXPECT_EQ(shown_at[2] - shown_at[1], 6); // one line each 6-frame cycle
  EXPECT_GT(in_line(2, WHITE), 0);
  // all three shown: the store's end is now the current line and stays so
  EXPECT_EQ(msg_window.msg_reveal_line, 3);
  frames(20);
  EXPECT_EQ(msg_window.msg_reveal_line, 3);
}

TEST(Window, TheOpeningIsTypedOneByteEverySecondFrame) {
  fresh_window();
  msg_window.msg_speed = 1;
  msg_print(PRINT_NEW, "abcd");
  int cols[6];
  for (int& c : cols) frames(), c = msg_window.msg_reveal_col;
  EXPECT_EQ(cols[5] - cols[1], 2);
  EXPECT_EQ(cols[4] - cols[0], 2);
  while (msg_window.msg_reveal_col < 4) frames();
  frames(6); // at the line's end the reveal moves on to the next line
  EXPECT_EQ(msg_window.msg_reveal_line, 1);
  EXPECT_EQ(msg_window.msg_reveal_col, 0);
}

TEST(Window, APageMarkWaitsForAKeyThatTheWaitSwallows) {
  fresh_window();
  msg_print(PRINT_NEW, " 力が3上がった!@P");
  msg_print(PRINT_ADD, "next");
  frames(3);
  EXPECT_EQ(msg_window.msg_wait_key, 1);
  int phase = msg_window.msg_line_delay_phase;
  frames(30);
  EXPECT_EQ(msg_window.msg_reveal_line, 0); // no further line
  EXPECT_EQ(msg_window.msg_line_delay_phase, phase);
  save_picture("page.png");
  EXPECT_EQ(in_line(0, WHITE, 14 + 6 * 15), 0); // the mark itself is not drawn
  page_key();
  frames(); // the next line follows one frame later
  EXPECT_EQ(msg_window.msg_reveal_line, 1);
  frames(13);
  EXPECT_EQ(msg_window.msg_wait_key, 0); // a completed line's mark has no effect

  // on the last line of a full store the mark waits once, and again for a new text
  msg_print(PRINT_NEW, "x");
  for (int k = 0; k < 600; k++) msg_print(PRINT_ADD, "y");
  msg_window.msg_reveal_line = MSG_LINES - 1;
  msg_window.msg_top_line = msg_window.msg_reveal_line - 5;
  for (const char* text : {"stop@P", "again@P"}) {
    msg_print(PRINT_ADD, text);
    frames(2);
    EXPECT_EQ(msg_window.msg_wait_key, 1) << text;
    page_key();
    frames(20);
    EXPECT_EQ(msg_window.msg_wait_key, 0) << text << ": keys are not swallowed for ever";
  }
}

TEST(Window, SixLinesShowAndTheOldestScrollsOut) {
  fresh_window();
  msg_print(PRINT_NEW, "@C8L0");
  for (int k = 1; k < 7; k++) msg_print(PRINT_ADD, ("L" + std::to_string(k)).c_str());
  for (int f = 0; f < 100 && !(msg_window.msg_reveal_line == 6 && msg_window.msg_reveal_col); f++)
    frames();
  EXPECT_EQ(msg_window.msg_reveal_line, 6);
  EXPECT_EQ(msg_window.msg_top_line, 1);
  // lines 1..5 at y 160..216, line 6 at y 230; line 0 (green) has gone
  for (int k = 0; k < 6; k++) EXPECT_GT(in_line(k, WHITE), 0) << k;
  EXPECT_EQ(count_color(0, 0, 256, 256, GREEN), 0);
  save_picture("scrolled.png");
}

TEST(Window, ColourCodesOnCompletedAndCurrentLines) {
  fresh_window();
  set_member_name(0, "AB");
  msg_print(PRINT_NEW, "@C1@NAME0@C0の、攻撃!");
  msg_print(PRINT_ADD, "@C3blue@C2red");
  msg_print(PRINT_ADD, "carried@C3mag");
  frames(20);
  ASSERT_EQ(msg_window.msg_reveal_line, 3); // all three are completed lines now
  // "AB" yellow, the rest white
  EXPECT_GT(in_line(0, YELLOW, 14, 12), 0);
  EXPECT_EQ(in_line(0, WHITE, 14, 12), 0);
  EXPECT_GT(in_line(0, WHITE, 26, 60), 0);
  EXPECT_EQ(in_line(0, YELLOW, 26, 200), 0);
  EXPECT_GT(in_line(1, LIGHT_BLUE, 14, 24), 0);
  EXPECT_GT(in_line(1, RED, 38, 18), 0);
  EXPECT_GT(in_line(2, RED, 14, 42), 0); // red carries into the next line
  EXPECT_GT(in_line(2, LIGHT_BLUE, 56, 18), 0);

  // the line being revealed: @C3 in magenta, unknown codes drawn as text, and
  // a byte after a skipped code drawn even when it is '@'
  const struct {
    const char* text;
    pixel_rgb shows;
  } current[] = {{"@C3blue", MAGENTA}, {"@C9", WHITE}, {"@C1@C2", YELLOW}};
  for (const auto& c : current) {
    fresh_window();
    msg_print(PRINT_NEW, c.text);
    frames();
    EXPECT_GT(in_line(0, c.shows), 0) << c.text;
    EXPECT_EQ(in_line(0, LIGHT_BLUE), 0) << c.text;
  }
  save_picture("colours.png");
}

TEST(Window, BoxAndTextSitAtTheirPlaces) {
  fresh_window();
  msg_print(PRINT_NEW, "Aあb");
  frames();
  save_picture("box.png");
  // frame piece k (of red k + 1) at its place, nothing outside the box, the
  // window's inside (piece 8) right after the text
  const struct {
    int x, y, piece;
  } places[] = {{8, 152, 0},  {16, 152, 4},  {240, 152, 1}, {8, 200, 6},  {240, 200, 7},
                {8, 240, 2},  {100, 247, 5}, {247, 247, 3}, {7, 152, -1}, {248, 152, -1},
                {8, 151, -1}, {8, 248, -1},  {38, 160, 8},  {20, 172, 8}};
  for (const auto& p : places) EXPECT_EQ(pixel(p.x, p.y).r - 1, p.piece) << p.x << "," << p.y;
  // opaque text: black cells from x 14, 6 pixels a byte, from y 160, 12 high
  EXPECT_EQ(pixel(14, 160), BLACK);
  EXPECT_EQ(pixel(37, 171), BLACK);
  EXPECT_GT(count_color(14, 160, 6, 12, WHITE), 0);
  EXPECT_GT(count_color(20, 160, 12, 12, WHITE), 0);
  EXPECT_GT(count_color(32, 160, 6, 12, WHITE), 0);
}

TEST(Window, HiddenWindowDrawsNothing) {
  fresh_window();
  msg_print(PRINT_NEW, "text");
  msg_print(PRINT_NEW, nullptr);
  frames(3);
  EXPECT_EQ(count_color(0, 0, 256, 256, BLACK), 256 * 256);
  EXPECT_EQ(msg_window.msg_reveal_col, 0); // nor reveals
}

TEST(Window, NextPromptPulsesWhileABattleWaits) {
  fresh_window();
  msg_print(PRINT_NEW, "hit");
  frames();
  EXPECT_EQ(msg_window.msg_prompt_phase, 0);
  EXPECT_EQ(count_color(24, 240, 60, 13, pixel_rgb{1, 1, 1}), 0);
  battle.battle_wait_open = 1;
  frames();
  EXPECT_EQ(msg_window.msg_prompt_phase, 16);
  EXPECT_GT(count_color(24, 240, 60, 13, pixel_rgb{16, 16, 100}), 0);
  EXPECT_GT(count_color(25, 241, 60, 13, pixel_rgb{1, 1, 1}), 0);
  save_picture("prompt.png");
  battle.battle_wait_open = 0, battle.battle_wait_turn = 1;
  frames(15);
  EXPECT_EQ(msg_window.msg_prompt_phase, 0); // 16 frames from dark to bright and round
  EXPECT_GT(count_color(24, 240, 60, 13, pixel_rgb{0, 0, 100}), 0);
  battle.gameover_state = 1;
  frames();
  EXPECT_EQ(msg_window.msg_prompt_phase, 0);
}

TEST(Window, WithTheGamesOwnFramePieces) {
  fresh_window();
  ASSERT_EQ(load_bitmap(gfx.waku1_surface, "WAKU1"), 0);
  set_member_name(0, "ルカ");
  msg_print(PRINT_NEW, "@C1@NAME0@C0の、攻撃!");
  msg_print(PRINT_ADD, ">@C1スライム@C0に、 @C2 12@C0ポイントのダメージ！");
  msg_print(PRINT_ADD, "@C8やくそう@C0を手に入れた。@C3Light@C0 @C4Blue@C0 @C5Grey");
  battle.battle_wait_open = 1;
  frames(20);
  save_picture("game_frame.png");
  EXPECT_EQ(msg_window.msg_reveal_line, 3);
  EXPECT_NE(pixel(8, 152), pixel(0, 0)); // the frame is there
}

} // namespace
