// The printer: tokens, line breaking by bytes, the store and its limits.
#include "message_fixture.h"

#include "battle/battle.h"
#include "state/state.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

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

TEST(Printer, NamesReplaceTheirTokensUpToTheFirstBlank) {
  fresh_window();
  set_member_name(0, "AB");
  msg_print(PRINT_NEW, "@C1@NAME0@C0の、攻撃!");
  EXPECT_EQ(msg_window.msg_count, 1);
  EXPECT_EQ(line(0), "@C1AB@C0の、攻撃!");
  EXPECT_EQ(line(1), "");
  EXPECT_EQ(msg_window.msg_visible, 1);

  std::memcpy(game.item_table[5].name, "やくそう  ", 10);
  std::strcpy(battle.monsters[7].name, "Slime");
  std::memcpy(game.magic_table[3].name, "Fire    ", 8);
  EXPECT_EQ(expanded("@NAME0は、@ITEM005"), "ABは、やくそう"); // a token may end the text
  EXPECT_EQ(expanded("@WMSD007!"), "Slime!");
  EXPECT_EQ(expanded("[@MAGIC 3][@MAGIC03]"), "[Fire][Fire]"); // a blank counts as 0
  EXPECT_EQ(expanded("@ITEM  5"), "やくそう");
  // the four are looked for in this order at one place, each once
  EXPECT_EQ(expanded("@NAME0@ITEM005@WMSD007@MAGIC03."), "ABやくそうSlimeFire.");
  EXPECT_EQ(expanded("@C2@P>x"), "@C2@P>x");
}

TEST(Printer, ATextEndsAtItsFirstLineBreakAndIsCutAt160Bytes) {
  fresh_window();
  EXPECT_EQ(expanded("one\ntwo"), "one");
  EXPECT_EQ(expanded("one\rtwo"), "one");
  std::string long_text = repeat("x", 200);
  EXPECT_EQ(expanded(long_text.c_str()), repeat("x", 160));
}

TEST(Printer, NumbersOutsideTheirTablesStandForNothing) {
  fresh_window();
  for (int m = 0; m < 5; m++) set_member_name(m, "M");
  std::strcpy(game.item_table[255].name, "Last");
  EXPECT_EQ(expanded("a@NAME5b"), "ab");
  EXPECT_EQ(expanded("a@NAME9b"), "ab");
  EXPECT_EQ(expanded("a@ITEM999b"), "ab");
  EXPECT_EQ(expanded("a@ITEM255b"), "aLastb");
  EXPECT_EQ(expanded("a@WMSD008b"), "ab");
  EXPECT_EQ(expanded("a@MAGIC32b"), "ab");
  EXPECT_EQ(expanded("a@MAGIC99b"), "ab");
  EXPECT_EQ(expanded("a@NAMEXb"), "ab");   // not a digit: no entry either
  EXPECT_EQ(expanded("a@ITEM-01b"), "ab"); // nor a sign
  // a text that ends inside a token's digits keeps it as text
  EXPECT_EQ(expanded("a@NAME"), "a@NAME");
  EXPECT_EQ(expanded("@MAGIC1"), "@MAGIC1");
  EXPECT_EQ(expanded("@ITEM00"), "@ITEM00");
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
  msg_print(PRINT_NEW, repeat("あ", 40).c_str());
  ASSERT_EQ(msg_window.msg_count, 3);
  EXPECT_EQ(line(0), repeat("あ", 19));
  EXPECT_EQ(line(1), repeat("あ", 19));
  EXPECT_EQ(line(2), repeat("あ", 2));

  msg_print(PRINT_NEW, repeat("a", 38).c_str()); // a full line, then an empty one
  ASSERT_EQ(msg_window.msg_count, 2);
  EXPECT_EQ(line(0), repeat("a", 38));
  EXPECT_EQ(line(1), "");

  msg_print(PRINT_NEW, repeat("a", 39).c_str());
  ASSERT_EQ(msg_window.msg_count, 2);
  EXPECT_EQ(line(0), repeat("a", 38));
  EXPECT_EQ(line(1), "a");

  // a double-byte character ending at column 37, then a single byte: 39 bytes
  std::string widest = "aa" + repeat("あ", 18) + "b";
  msg_print(PRINT_NEW, widest.c_str());
  ASSERT_EQ(msg_window.msg_count, 2);
  EXPECT_EQ(line(0), widest);
  EXPECT_EQ(line(0).size(), 39u);
  EXPECT_EQ(line(1), "");

  // codes count toward the width
  msg_print(PRINT_NEW, ("@C2" + repeat("a", 40)).c_str());
  EXPECT_EQ(line(0), "@C2" + repeat("a", 35));
  EXPECT_EQ(line(1), repeat("a", 5));

  msg_print(PRINT_NEW, ""); // an empty text adds one empty line
  EXPECT_EQ(msg_window.msg_count, 1);
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

} // namespace
