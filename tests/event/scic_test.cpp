// The compiler: bytes of the written files, operands and operation words,
// blocks and jumps, the limits, and every error with its line.
#include "event_test.h"
#include "platform/platform.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>

using codes = std::vector<int>;

TEST(scic_files, example_event_compiles_to_its_bytes_with_either_line_end) {
  std::string crlf;
  for (const char* c = EXAMPLE; *c; c++)
    crlf += *c == '\n' ? std::string("\r\n") : std::string(1, *c);
  for (const std::string& source : {std::string(EXAMPLE), crlf}) {
    SCOPED_TRACE(source == crlf ? "CR LF" : "LF");
    ASSERT_EQ(compile(source), SCIC_OK);
    codes want = {0x54, 0x56, 0x28, 0x59, 22,   0x50, 0x00, 0x53, 0x54, 0x52, 0x79, 20,
                  0x5C, 0x07, 0x5A, 0x56, 0x28, 0x58, 0x55, 22,   0x51, 0x01, 0x5D};
    EXPECT_EQ(table_code(12, true), want);
    std::string rec = read_text("event012.evt");
    ASSERT_EQ(rec.size(), 132u);
    EXPECT_EQ(rec.substr(0, 4), std::string("\0\0\x17\0", 4));
    EXPECT_EQ(rec, read_text("eventdat.evt").substr(12 * 132, 132));
    EXPECT_FALSE(file_exists("event011.evt"));
    EXPECT_EQ(read_text("eventmsg.msg"), "Will you help us?\nPity.\n");
  }
}

TEST(scic_files, messages_are_pair_swapped_and_padded_and_the_table_always_whole) {
  compile("evt000\nprintn \"abc\"\nprintc 'de'\nendevt\n");
  std::string mgb = read_text("eventmsg.mgb");
  ASSERT_EQ(mgb.size(), 256u * 160u);
  EXPECT_EQ(mgb.substr(0, 4), std::string("ba\0c", 4));
  EXPECT_EQ(mgb.substr(160, 4), std::string("ed\0\0", 4));
  EXPECT_EQ(mgb.substr(320), std::string(254 * 160, '\0'));
  compile("* nothing but a comment\n");
  EXPECT_EQ(read_text("eventdat.evt").size(), 33792u);
  EXPECT_EQ(read_text("eventmsg.msg"), "");
}

// Each statement compiled alone in event 1: operands of three characters
// with blanks and minus, operation words found anywhere in line order,
// status values of sixteen bits high byte first, every kind of condition.
TEST(scic_statements, each_compiles_to_its_bytes) {
  const struct {
    const char* stmt;
    codes want;
  } table[] = {
      {"system-01 on", {0x56, 0xFF, 0x58}},
      {"item 7 get", {0x5C, 70, 0x5A}},
      {"system005 stone", {0x56, 5, 0x58}},
      {"system010 onoff", {0x56, 10, 0x58}},
      {"system010 offon", {0x56, 10, 0x59}},
      {"sysitem003 forget", {0x57, 3, 0x5A}},
      {"item001 output", {0x5C, 1, 0x5B}},
      {"item001 on", {0x5C, 1, 0x58}},
      {"sysitem001 off", {0x57, 1, 0x59}},
      {"music007 start", {0x5E, 0x62, 7}},
      {"music007 stop", {0x5E, 0x63}},
      {"music255 start", {0x5E, 0x62, 255}},
      {"sound012 start", {0x5F, 0x62, 12}},
      {"sound999 stop", {0x5F, 0x63}},
      {"ans yes", {0x52, 0x79}},
      {"ans  no", {0x52, 0x6E}},
      {"input", {0x53}},
      {"status007 up010", {0x60, 7, 0x64, 0, 10}},
      {"status011 down300", {0x60, 11, 0x65, 0x01, 0x2C}},
      {"status002 set999", {0x60, 2, 0x66, 0x03, 0xE7}},
      {"status001 up-05", {0x60, 1, 0x64, 0xFF, 0xFB}},
      {"status030 up001", {0x60, 30, 0x64, 0, 1}}, // checked when run
      {"if ans n\nendif", {0x54, 0x52, 0x6E, 4}},
      {"if sysitem150 on\nendif", {0x54, 0x57, 150, 0x58, 5}},
      {"if item009 off\nendif", {0x54, 0x5C, 9, 0x59, 5}},
      {"if input\nendif", {0x54, 0x53, 3}}, // compiles, fails when run
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.stmt);
    EXPECT_EQ(compile(std::string("evt001\n") + row.stmt + "\nendevt\n"), SCIC_OK);
    codes want = row.want;
    want.push_back(sci_exit);
    EXPECT_EQ(table_code(1), want);
  }
  compile("evt 12\nendevt\nevt1  \nendevt\n");
  EXPECT_EQ(table_code(12), codes{0x5D});
  EXPECT_EQ(table_code(100), codes{0x5D});
}

// Each source's first error and the line it is reported on; 0 for none.
TEST(scic_errors, each_is_reported_on_its_line) {
  std::string deep = "evt001\n";
  for (int k = 0; k < 10; k++) deep += "if system001 on\n";
  std::string closed = deep + "input\n";
  for (int k = 0; k < 10; k++) closed += "endif\n";
  const std::string cut_at_79 = "printn \"" + std::string(110, 'x') + "\"\n";
  const std::string past_the_reader = "*" + std::string(158, ' ');
  const struct {
    std::string source;
    int error, line;
  } table[] = {
      {"evt256\n", EVTNUM1_ERROR, 1},
      {"evt-01\n", EVTNUM1_ERROR, 1},
      {"evt1x3\n", EVTNUM_ERROR, 1},
      {"evt1-3\n", EVTNUM_ERROR, 1},
      {"evt01\n", EVTNUM_ERROR, 1}, // the line end is no digit
      {"evt01", EVTNUM_ERROR, 1},   // nor is the end of the file
      {"system0a1 on\n", SYSNUM_ERROR, 1},
      {"sysitem0a1 get\n", SYSITEM_ERROR, 1},
      {"item0a1 get\n", ITEM_ERROR, 1},
      {"sound0a1 stop\n", SOUND_ERROR, 1},
      {"music0a1 stop\n", MUSICN_ERROR, 1},
      {"music300 start\n", MUSICN_ERROR, 1},
      {"music-01 start\n", MUSICN_ERROR, 1},
      {"status0a1 up001\n", STATUS_ERROR, 1},
      {"status001 up0a1\n", STATUS_ERROR, 1},
      {"status001 up\n", STATUS_ERROR, 1},
      {"system001\n", SYSNUM_ERROR, 1},
      {"sysitem001 take\n", SYSITEM_ERROR, 1},
      {"item001 take\n", ITEM_ERROR, 1},
      {"sound001 play\n", SOUND_ERROR, 1},
      {"music001 play\n", MUSIC_ERROR, 1},
      {"status001 add010\n", STATUS_ERROR, 1},
      {"ans what\n", ANS_ERROR, 1},
      {"printn abc\n", PCHK_ERROR, 1},
      {"printn \"abc\n", PCHK_ERROR, 1},
      {"printx \"abc\"\n", PCHK_ERROR, 1},
      {"print\n", PCHK_ERROR, 1},
      {"evt001\n   * note\n\t\n\nendevt\n", 0, 0},
      {"evt001\n; note\n", SCI_ERROR, 2},
      {"magic\n", MUSIC_ERROR, 1},
      {"exit\n", ECHK_ERROR, 1},
      {"ixx\n", IF_ERROR, 1},
      {"answer\n", ANS_ERROR, 1},
      {"abs y\n", ANS_ERROR, 1},
      {"sxyz\n", S_ERROR, 1},
      {"Evt001\n", SCI_ERROR, 1}, // keywords are case-sensitive
      {std::string("\0evt001\n", 8), SCI_ERROR, 1},
      {"evt001\nendifX\nendevt\n", ENDIF_ERROR, 2}, // endifX is an endif
      // The first line is kept whole, later ones are cut at 79 bytes.
      {cut_at_79, 0, 0},
      {"* first\n" + cut_at_79, PCHK_ERROR, 2}, // the closing quote is cut off
      {"* first\n" + std::string(100, ' ') + "\n", SCI_ERROR, 2},
      {"* first\n" + std::string(70, ' ') + "\n", 0, 0},
      // 159 bytes are read at a time; the rest of the line is read as a
      // line of its own, still counted as the same line of the file.
      {past_the_reader + "input\n", 0, 0},
      {past_the_reader + "; x\n", SCI_ERROR, 1},
      {"if\n", IF_ERROR, 1},
      {"if ans x\n", ANS_ERROR, 1},
      {"if system001\n", SYSNUM_ERROR, 1},
      {closed + "endevt\n", 0, 0},
      {deep + "if system001 on\n", IF_ERROR, 12},
      {"if system001 on\nelse\nelse\n", ELSE_ERROR, 3},
      {"else\n", ELSE_ERROR, 1},
      {"endif\n", ENDIF_ERROR, 1},
      {"evt001\nevt002\n", EVTEXE_ERROR, 2},
      {"if system001 on\nevt002\n", EVTEXE_ERROR, 2},
      {"endevt\n", EVTEXE_ERROR, 1},
      {"evt001\nif system001 on\nendevt\n", EVTEXE_ERROR, 3},
      // the end of the file closes nothing: it is reported on the last line
      {"evt001\ninput\n", EVTEXE_ERROR, 2},
      {"evt001\nif system001 on\ninput\n\n", EVTEXE_ERROR, 4},
      {"if system001 on\n", EVTEXE_ERROR, 1},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.source);
    compile(row.source);
    int line = 0;
    EXPECT_EQ(first_error(&line), row.error);
    EXPECT_EQ(line, row.line);
  }
  compile(cut_at_79);
  EXPECT_EQ(std::string(event_msg[0]), std::string(110, 'x'));
  compile(past_the_reader + "input\n");
  EXPECT_EQ(table_code(0), codes{0x53});
}

TEST(scic_messages, text_between_the_first_two_quotes_of_either_kind_byte_for_byte) {
  compile("evt000\nprintn \"abc'def\"\nprintc 'x\"y'\nprintn \"\"\nendevt\n");
  EXPECT_EQ(read_text("eventmsg.msg"), "abc\nx\n\n");
  EXPECT_EQ(table_code(0), (codes{0x50, 0, 0x51, 1, 0x50, 2, 0x5D}));
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
  EXPECT_EQ(table_code(3), (codes{0x54, 0x56, 1, 0x58, 8, 0x53, 0x55, 15, 0x54, 0x56, 2, 0x58, 14,
                                  0x53, 0x53, 0x5D}));
}

TEST(scic_blocks, statements_outside_an_event_go_to_the_current_record) {
  compile("input\nevt005\nendevt\ninput\n");
  EXPECT_EQ(table_code(0), codes{0x53});
  EXPECT_EQ(table_code(5), (codes{0x5D, 0x53}));
  EXPECT_EQ(read_text("event005.evt").substr(2, 2), std::string("\1\0", 2)); // written at endevt
}

TEST(scic_limits, a_full_code_area_takes_nothing_more_and_still_pairs_its_ifs) {
  std::string head = "evt001\n";
  for (int k = 0; k < 42; k++) head += "system001 on\n"; // 126 bytes
  std::string full = head + "input\ninput\n";            // 128 bytes
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

  // An if without room is dropped with its endif: no ENDIF_ERROR and no
  // EVTEXE_ERROR after the one EVTSET_ERROR.
  EXPECT_EQ(compile(head + "if system002 on\ninput\nendif\ninput\nendevt\n"), SCIC_FAILED);
  EXPECT_EQ(first_error(), EVTSET_ERROR);
  EXPECT_EQ(scic.error_count, 1);
  EXPECT_FALSE(scic.in_event);
  codes c = table_code(1);
  ASSERT_EQ(c.size(), 128u);
  EXPECT_EQ(c[126], 0x53);
  EXPECT_EQ(c[127], 0x53);
}

TEST(scic_limits, a_failing_line_stops_but_what_came_before_is_written) {
  EXPECT_EQ(compile("printn \"one\"\nprintc \"two\"\n; three\nprintn \"four\"\n"), SCIC_FAILED);
  EXPECT_EQ(read_text("eventmsg.msg"), "one\ntwo\n");
  EXPECT_EQ(table_code(0, true), (codes{0x50, 0, 0x51, 1}));
}

TEST(scic_trace, off_by_default_and_on_when_asked) {
  testing::internal::CaptureStdout();
  compile(EXAMPLE);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  reset_scic_state();
  scic.trace = true;
  testing::internal::CaptureStdout();
  scic_compile_source(EXAMPLE, std::strlen(EXAMPLE));
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
  auto run = [&](int want) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(scic_main(1, argv), want);
    return testing::internal::GetCapturedStderr();
  };
  // missing, a folder, a FIFO with no writer: none can be read, none waits
  for (auto make : {+[] { return 0; }, +[] { return mkdir("event.sci", 0755); },
                    +[] { return mkfifo("event.sci", 0644); }}) {
    ASSERT_EQ(make(), 0);
    EXPECT_EQ(run(SCIC_NO_SOURCE), "zandrek-scic: event.sci cannot be opened\n");
    std::filesystem::remove("event.sci");
  }
  write_file("event.sci", "", 0);
  run(SCIC_EMPTY);
  EXPECT_FALSE(file_exists("eventdat.evt"));
  // A failing program still writes what came before the error.
  const struct {
    const char* source;
    std::string said, messages;
  } failing[] = {
      {"evt001\nprintn \"ok\"\n  ; 警告\nsxyz\n",
       sjis_to_utf8("event.sci:3: error 112 SCI_ERROR:   ; 警告\n"), "ok\n"},
      {"sxyz\n", "event.sci:1: error S_ERROR: sxyz\n", ""},
      {"evt001\nif system001 on\ninput\n",
       "event.sci:3: error 100 EVTEXE_ERROR: end of file inside an if\n", ""},
  };
  for (const auto& f : failing) {
    reset_scic_state(); // a fresh run of the program
    write_file("event.sci", f.source, std::strlen(f.source));
    EXPECT_EQ(run(SCIC_FAILED), f.said);
    EXPECT_EQ(read_text("eventmsg.msg"), f.messages);
  }
}
