// The compiler: bytes of the written files, operands and operation words,
// blocks and jumps, the limits, and every error with its line.
#include "platform/platform.h"
#include "scic_helpers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

using codes = std::vector<int>;

namespace {

// The code of one statement compiled alone in event 1.
codes one(const std::string& stmt) {
  compile("evt001\n" + stmt + "\nendevt\n");
  codes c = table_code(1);
  if (!c.empty() && c.back() == sci_exit) c.pop_back();
  return c;
}

int error_of(const std::string& source, int* line = nullptr) {
  compile(source);
  return first_error(line);
}

} // namespace

TEST(scic_files, example_event_compiles_to_its_bytes) {
  ASSERT_EQ(compile(EXAMPLE), SCIC_OK);
  codes want = {0x54, 0x56, 0x28, 0x59, 22,   0x50, 0x00, 0x53, 0x54, 0x52, 0x79, 20,
                0x5C, 0x07, 0x5A, 0x56, 0x28, 0x58, 0x55, 22,   0x51, 0x01, 0x5D};
  EXPECT_EQ(code_of(12), want);
  std::string rec = read_text("event012.evt");
  ASSERT_EQ(rec.size(), 132u);
  EXPECT_EQ(rec.substr(0, 4), std::string("\0\0\x17\0", 4));
  EXPECT_EQ(rec, read_text("eventdat.evt").substr(12 * 132, 132));
  EXPECT_FALSE(file_exists("event011.evt"));
  EXPECT_EQ(read_text("eventmsg.msg"), "Will you help us?\nPity.\n");
}

TEST(scic_files, message_lines_are_pair_swapped_and_zero_padded) {
  compile("evt000\nprintn \"abc\"\nprintc 'de'\nendevt\n");
  std::string mgb = read_text("eventmsg.mgb");
  ASSERT_EQ(mgb.size(), 256u * 160u);
  EXPECT_EQ(mgb.substr(0, 4), std::string("ba\0c", 4));
  EXPECT_EQ(mgb.substr(160, 4), std::string("ed\0\0", 4));
  EXPECT_EQ(mgb.substr(320), std::string(254 * 160, '\0'));
}

TEST(scic_files, table_is_whole_whatever_is_defined) {
  compile("* nothing but a comment\n");
  EXPECT_EQ(read_text("eventdat.evt").size(), 33792u);
  EXPECT_EQ(read_text("eventmsg.msg"), "");
}

TEST(scic_files, line_ends_of_either_kind_give_the_same_code) {
  std::string crlf;
  for (const char* c = EXAMPLE; *c; c++)
    crlf += *c == '\n' ? std::string("\r\n") : std::string(1, *c);
  compile(EXAMPLE);
  codes lf = table_code(12);
  ASSERT_EQ(compile(crlf), SCIC_OK);
  EXPECT_EQ(table_code(12), lf);
  EXPECT_EQ(read_text("eventmsg.msg"), "Will you help us?\nPity.\n");
}

TEST(scic_operands, three_characters_with_blanks_and_minus) {
  compile("evt 12\nendevt\nevt1  \nendevt\n");
  EXPECT_EQ(table_code(12), codes{0x5D});
  EXPECT_EQ(table_code(100), codes{0x5D});
  EXPECT_EQ(one("system-01 on"), (codes{0x56, 0xFF, 0x58}));
  EXPECT_EQ(one("item 7 get"), (codes{0x5C, 70, 0x5A}));
  EXPECT_EQ(error_of("evt256\n"), EVTNUM1_ERROR);
  EXPECT_EQ(error_of("evt-01\n"), EVTNUM1_ERROR);
  EXPECT_EQ(error_of("evt1x3\n"), EVTNUM_ERROR);
  EXPECT_EQ(error_of("evt1-3\n"), EVTNUM_ERROR);
  EXPECT_EQ(error_of("evt01\n"), EVTNUM_ERROR); // the line end is no digit
  EXPECT_EQ(error_of("evt01"), EVTNUM_ERROR);   // nor is the end of the file
  EXPECT_EQ(error_of("system0a1 on\n"), SYSNUM_ERROR);
  EXPECT_EQ(error_of("sysitem0a1 get\n"), SYSITEM_ERROR);
  EXPECT_EQ(error_of("item0a1 get\n"), ITEM_ERROR);
  EXPECT_EQ(error_of("sound0a1 stop\n"), SOUND_ERROR);
  EXPECT_EQ(error_of("music0a1 stop\n"), MUSICN_ERROR);
  EXPECT_EQ(error_of("status0a1 up001\n"), STATUS_ERROR);
  EXPECT_EQ(error_of("status001 up0a1\n"), STATUS_ERROR);
  EXPECT_EQ(error_of("status001 up\n"), STATUS_ERROR);
}

TEST(scic_operands, operation_words_are_found_anywhere_in_line_order) {
  EXPECT_EQ(one("system005 stone"), (codes{0x56, 5, 0x58}));
  EXPECT_EQ(one("system010 onoff"), (codes{0x56, 10, 0x58}));
  EXPECT_EQ(one("system010 offon"), (codes{0x56, 10, 0x59}));
  EXPECT_EQ(one("sysitem003 forget"), (codes{0x57, 3, 0x5A}));
  EXPECT_EQ(one("item001 output"), (codes{0x5C, 1, 0x5B}));
  EXPECT_EQ(one("item001 on"), (codes{0x5C, 1, 0x58}));
  EXPECT_EQ(one("sysitem001 off"), (codes{0x57, 1, 0x59}));
  EXPECT_EQ(one("music007 start"), (codes{0x5E, 0x62, 7}));
  EXPECT_EQ(one("music007 stop"), (codes{0x5E, 0x63}));
  EXPECT_EQ(one("sound012 start"), (codes{0x5F, 0x62, 12}));
  EXPECT_EQ(one("sound999 stop"), (codes{0x5F, 0x63}));
  EXPECT_EQ(one("ans yes"), (codes{0x52, 0x79}));
  EXPECT_EQ(one("ans  no"), (codes{0x52, 0x6E}));
  EXPECT_EQ(one("input"), (codes{0x53}));
  EXPECT_EQ(error_of("system001\n"), SYSNUM_ERROR);
  EXPECT_EQ(error_of("sysitem001 take\n"), SYSITEM_ERROR);
  EXPECT_EQ(error_of("item001 take\n"), ITEM_ERROR);
  EXPECT_EQ(error_of("sound001 play\n"), SOUND_ERROR);
  EXPECT_EQ(error_of("music001 play\n"), MUSIC_ERROR);
  EXPECT_EQ(error_of("status001 add010\n"), STATUS_ERROR);
  EXPECT_EQ(error_of("ans what\n"), ANS_ERROR);
}

TEST(scic_operands, status_value_is_sixteen_bits_high_byte_first) {
  EXPECT_EQ(one("status007 up010"), (codes{0x60, 7, 0x64, 0, 10}));
  EXPECT_EQ(one("status011 down300"), (codes{0x60, 11, 0x65, 0x01, 0x2C}));
  EXPECT_EQ(one("status002 set999"), (codes{0x60, 2, 0x66, 0x03, 0xE7}));
  EXPECT_EQ(one("status001 up-05"), (codes{0x60, 1, 0x64, 0xFF, 0xFB}));
  EXPECT_EQ(one("status030 up001"), (codes{0x60, 30, 0x64, 0, 1})); // checked when run
}

TEST(scic_operands, music_number_must_be_a_byte) {
  EXPECT_EQ(error_of("music300 start\n"), MUSICN_ERROR);
  EXPECT_EQ(error_of("music-01 start\n"), MUSICN_ERROR);
  EXPECT_EQ(one("music255 start"), (codes{0x5E, 0x62, 255}));
}

TEST(scic_messages, text_between_the_first_two_quotes_of_either_kind) {
  compile("evt000\nprintn \"abc'def\"\nprintc 'x\"y'\nprintn \"\"\nendevt\n");
  EXPECT_EQ(read_text("eventmsg.msg"), "abc\nx\n\n");
  EXPECT_EQ(table_code(0), (codes{0x50, 0, 0x51, 1, 0x50, 2, 0x5D}));
  EXPECT_EQ(error_of("printn abc\n"), PCHK_ERROR);
  EXPECT_EQ(error_of("printn \"abc\n"), PCHK_ERROR);
  EXPECT_EQ(error_of("printx \"abc\"\n"), PCHK_ERROR);
  EXPECT_EQ(error_of("print\n"), PCHK_ERROR);
}

TEST(scic_messages, shift_jis_text_is_kept_byte_for_byte) {
  // Trail bytes 0x5C and 0x7C are no quotes and end nothing.
  compile("evt000\nprintn \"表示ソフト\"\nendevt\n");
  EXPECT_EQ(read_text("eventmsg.msg"), std::string("表示ソフト") + "\n");
}

TEST(scic_messages, numbers_run_across_events_up_to_256) {
  std::string src;
  for (int e = 0; e < 5; e++) {
    src += "evt00" + std::to_string(e) + "\n";
    for (int k = 0; k < 60; k++) src += "printc \"m\"\n";
    src += "endevt\n";
  }
  compile(src);
  int line = 0;
  EXPECT_EQ(first_error(&line), PCHK_ERROR);
  EXPECT_EQ(line, 4 * 62 + 1 + 16 + 1); // the 257th print
  EXPECT_EQ(scic.event_msg_count, 256);
  EXPECT_EQ(table_code(1)[1], 60);
  EXPECT_EQ(table_code(4)[2 * 15 + 1], 255);
  EXPECT_EQ(read_text("eventmsg.msg").size(), 256u * 2u);
}

TEST(scic_lines, kinds_of_line_and_their_errors) {
  int line = 0;
  EXPECT_EQ(error_of("evt001\n   * note\n\t\n\nendevt\n"), 0);
  EXPECT_EQ(error_of("evt001\n; note\n", &line), SCI_ERROR);
  EXPECT_EQ(line, 2);
  EXPECT_EQ(error_of("magic\n"), MUSIC_ERROR);
  EXPECT_EQ(error_of("exit\n"), ECHK_ERROR);
  EXPECT_EQ(error_of("ixx\n"), IF_ERROR);
  EXPECT_EQ(error_of("answer\n"), ANS_ERROR);
  EXPECT_EQ(error_of("abs y\n"), ANS_ERROR);
  EXPECT_EQ(error_of("sxyz\n"), S_ERROR);
  EXPECT_EQ(error_of("Evt001\n"), SCI_ERROR); // keywords are case-sensitive
  EXPECT_EQ(error_of(std::string("\0evt001\n", 8)), SCI_ERROR);
  EXPECT_EQ(error_of("evt001\nendifX\nendevt\n"), ENDIF_ERROR); // endifX is an endif
}

TEST(scic_lines, first_line_is_kept_whole_later_lines_are_cut_at_79) {
  std::string text(110, 'x');
  std::string line = "printn \"" + text + "\"\n";
  EXPECT_EQ(error_of(line), 0);
  EXPECT_EQ(std::string(event_msg[0]), text);
  int at = 0;
  EXPECT_EQ(error_of("* first\n" + line, &at), PCHK_ERROR); // the closing quote is cut off
  EXPECT_EQ(at, 2);
  EXPECT_EQ(error_of("* first\n" + std::string(100, ' ') + "\n", &at), SCI_ERROR);
  EXPECT_EQ(at, 2);
  EXPECT_EQ(error_of("* first\n" + std::string(70, ' ') + "\n"), 0);
}

TEST(scic_lines, a_line_longer_than_the_reader_goes_on_as_the_next_line) {
  // 159 bytes are read at a time; the rest of the line is read as a line of
  // its own, still counted as the same line of the file.
  int line = 0;
  EXPECT_EQ(error_of("*" + std::string(158, ' ') + "input\n", &line), 0);
  EXPECT_EQ(table_code(0), codes{0x53});
  EXPECT_EQ(error_of("*" + std::string(158, ' ') + "; x\n", &line), SCI_ERROR);
  EXPECT_EQ(line, 1);
}

TEST(scic_blocks, nested_if_inside_else_fills_each_jump) {
  ASSERT_EQ(compile("evt003\n"
                    "if system001 on\n" // 0: 54 56 01 58 [j0]
                    "input\n"           // 5
                    "else\n"            // 6: 55 [j1]
                    "if system002 on\n" // 8: 54 56 02 58 [j2]
                    "input\n"           // 13
                    "endif\n"           // j2 = 14
                    "input\n"           // 14
                    "endif\n"           // j1 = 15
                    "endevt\n"),        // 15
            SCIC_OK);
  codes c = table_code(3);
  ASSERT_EQ(c.size(), 16u);
  EXPECT_EQ(c[4], 8);
  EXPECT_EQ(c[7], 15);
  EXPECT_EQ(c[12], 14);
  EXPECT_EQ(c[15], 0x5D);
}

TEST(scic_blocks, if_conditions_of_every_kind) {
  EXPECT_EQ(one("if ans n\nendif"), (codes{0x54, 0x52, 0x6E, 4}));
  EXPECT_EQ(one("if sysitem150 on\nendif"), (codes{0x54, 0x57, 150, 0x58, 5}));
  EXPECT_EQ(one("if item009 off\nendif"), (codes{0x54, 0x5C, 9, 0x59, 5}));
  EXPECT_EQ(one("if input\nendif"), (codes{0x54, 0x53, 3})); // compiles, fails when run
  EXPECT_EQ(error_of("if\n"), IF_ERROR);
  EXPECT_EQ(error_of("if ans x\n"), ANS_ERROR);
  EXPECT_EQ(error_of("if system001\n"), SYSNUM_ERROR);
}

TEST(scic_blocks, nesting_and_pairing_errors) {
  std::string deep = "evt001\n";
  for (int k = 0; k < 10; k++) deep += "if system001 on\n";
  std::string closed = deep + "input\n";
  for (int k = 0; k < 10; k++) closed += "endif\n";
  EXPECT_EQ(error_of(closed + "endevt\n"), 0);
  int line = 0;
  EXPECT_EQ(error_of(deep + "if system001 on\n", &line), IF_ERROR);
  EXPECT_EQ(line, 12);
  EXPECT_EQ(error_of("if system001 on\nelse\nelse\n", &line), ELSE_ERROR);
  EXPECT_EQ(line, 3);
  EXPECT_EQ(error_of("else\n"), ELSE_ERROR);
  EXPECT_EQ(error_of("endif\n"), ENDIF_ERROR);
  EXPECT_EQ(error_of("evt001\nevt002\n"), EVTEXE_ERROR);
  EXPECT_EQ(error_of("if system001 on\nevt002\n"), EVTEXE_ERROR);
  EXPECT_EQ(error_of("endevt\n"), EVTEXE_ERROR);
  EXPECT_EQ(error_of("evt001\nif system001 on\nendevt\n"), EVTEXE_ERROR);
  // the end of the file closes nothing: it is reported on the last line
  EXPECT_EQ(error_of("evt001\ninput\n", &line), EVTEXE_ERROR);
  EXPECT_EQ(line, 2);
  EXPECT_EQ(error_of("evt001\nif system001 on\ninput\n\n", &line), EVTEXE_ERROR);
  EXPECT_EQ(line, 4);
  EXPECT_EQ(error_of("if system001 on\n", &line), EVTEXE_ERROR);
  EXPECT_EQ(line, 1);
}

TEST(scic_blocks, statements_outside_an_event_go_to_the_current_record) {
  compile("input\nevt005\nendevt\ninput\n");
  EXPECT_EQ(table_code(0), codes{0x53});
  EXPECT_EQ(table_code(5), (codes{0x5D, 0x53}));
  EXPECT_EQ(read_text("event005.evt").substr(2, 2), std::string("\1\0", 2)); // written at endevt
}

TEST(scic_limits, a_full_code_area_takes_nothing_more) {
  std::string full = "evt001\n";
  for (int k = 0; k < 42; k++) full += "system001 on\n";
  full += "input\ninput\n"; // 128 bytes
  ASSERT_EQ(compile(full + "endevt\nevt002\ninput\nendevt\n"), SCIC_OK);
  EXPECT_EQ(table_code(1).size(), 128u);
  EXPECT_TRUE(file_exists("event001.evt"));
  EXPECT_EQ(table_code(2), (codes{0x53, 0x5D}));

  int line = 0;
  EXPECT_EQ(compile(full + "input\nprintn \"dropped\"\nendevt\nevt002\ninput\nendevt\n"),
            SCIC_FAILED);
  EXPECT_EQ(first_error(&line), EVTSET_ERROR);
  EXPECT_EQ(line, 46);
  EXPECT_EQ(scic.error_count, 2);
  EXPECT_EQ(scic.errors[1].line, 47);
  EXPECT_EQ(scic.event_msg_count, 0); // a dropped print keeps no text
  EXPECT_EQ(table_code(1).size(), 128u);
  EXPECT_EQ(table_code(2), (codes{0x53, 0x5D})); // compiling went on
}

TEST(scic_limits, an_if_without_room_still_pairs_with_its_endif) {
  std::string src = "evt001\n";
  for (int k = 0; k < 42; k++) src += "system001 on\n"; // 126 bytes
  src += "if system002 on\ninput\nendif\ninput\nendevt\n";
  EXPECT_EQ(compile(src), SCIC_FAILED);
  EXPECT_EQ(first_error(), EVTSET_ERROR); // and no ENDIF_ERROR, no EVTEXE_ERROR after it
  EXPECT_EQ(scic.error_count, 1);
  EXPECT_FALSE(scic.in_event);
  codes c = table_code(1);
  ASSERT_EQ(c.size(), 128u);
  EXPECT_EQ(c[126], 0x53);
  EXPECT_EQ(c[127], 0x53);
}

TEST(scic_limits, a_failing_line_stops_but_what_came_before_is_written) {
  EXPECT_EQ(compile("printn \"one\"\nprintc \"two\"\n; three\nprintn \"four\"\n"), SCIC_FAILED);
  EXPECT_EQ(read_text("eventdat.evt").size(), 33792u);
  EXPECT_EQ(read_text("eventmsg.msg"), "one\ntwo\n");
  EXPECT_EQ(code_of(0), (codes{0x50, 0, 0x51, 1}));
}

TEST(scic_trace, off_by_default_and_on_when_asked) {
  testing::internal::CaptureStdout();
  compile(EXAMPLE);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  reset_scic_state();
  scic.trace = true;
  testing::internal::CaptureStdout();
  std::string src = EXAMPLE;
  scic_compile_source(src.data(), src.size());
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("event_num = 12 c 012\n"), std::string::npos);
  EXPECT_NE(out.find("system1 040\nsystem2 0028 40\n"), std::string::npos);
  EXPECT_NE(out.find("ev=12 eljumpsv=11 jumpsv=19 else_nest=0 len=20\n"), std::string::npos);
  EXPECT_NE(out.find("a_check start. >> ans y\n"), std::string::npos);
}

TEST(scic_program, exit_status_and_error_lines) {
  reset_event_state();
  reset_scic_state();
  std::remove("event.sci");
  std::remove("eventdat.evt");
  char prog[] = "zandrek-scic";
  char* argv[] = {prog, nullptr};
  // missing, a folder, a FIFO with no writer: none can be read, none waits
  for (auto make : {+[] { return 0; }, +[] { return mkdir("event.sci", 0755); },
                    +[] { return mkfifo("event.sci", 0644); }}) {
    ASSERT_EQ(make(), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(scic_main(1, argv), SCIC_NO_SOURCE);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "zandrek-scic: event.sci cannot be opened\n");
    std::filesystem::remove("event.sci");
  }
  std::FILE* f = std::fopen("event.sci", "wb");
  std::fclose(f);
  testing::internal::CaptureStderr();
  EXPECT_EQ(scic_main(1, argv), SCIC_EMPTY);
  testing::internal::GetCapturedStderr();
  EXPECT_FALSE(file_exists("eventdat.evt"));

  f = std::fopen("event.sci", "wb");
  std::fputs("evt001\nprintn \"ok\"\n  ; 警告\nsxyz\n", f);
  std::fclose(f);
  testing::internal::CaptureStderr();
  EXPECT_EQ(scic_main(1, argv), SCIC_FAILED);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            sjis_to_utf8("event.sci:3: error 112 SCI_ERROR:   ; 警告\n"));
  EXPECT_EQ(read_text("eventmsg.msg"), "ok\n");

  f = std::fopen("event.sci", "wb");
  std::fputs("sxyz\n", f);
  std::fclose(f);
  testing::internal::CaptureStderr();
  EXPECT_EQ(scic_main(1, argv), SCIC_FAILED);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "event.sci:1: error S_ERROR: sxyz\n");

  reset_scic_state(); // a fresh run of the program
  f = std::fopen("event.sci", "wb");
  std::fputs("evt001\nif system001 on\ninput\n", f);
  std::fclose(f);
  testing::internal::CaptureStderr();
  EXPECT_EQ(scic_main(1, argv), SCIC_FAILED);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "event.sci:3: error 100 EVTEXE_ERROR: end of file inside an if\n");
}

TEST(scic_program, arbitrary_bytes_never_break_a_record) {
  unsigned seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0xFF; };
  const char alphabet[] = "evtifsysemuonfgpaus 0123456789-\"'\n\n\n*;\t";
  for (int round = 0; round < 300; round++) {
    std::string src;
    int n = static_cast<int>(next()) * 8;
    for (int k = 0; k < n; k++) {
      unsigned b = next();
      src += b < 200 ? alphabet[b % (sizeof alphabet - 1)] : static_cast<char>(next());
    }
    compile(src);
    for (int e = 0; e < 256; e++) ASSERT_LE(event_table[e].length, 128) << src;
    ASSERT_LE(scic.event_msg_count, 256);
    ASSERT_LE(scic.depth, SCIC_IF_DEPTH);
  }
}
