#include "event/scic_internal.h"
#include "platform/file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

constexpr int LINE_SIZE = 160; // a line is read 159 bytes at most, its line end included
constexpr int LATER_LINE_MAX = 79;

struct source_line {
  char text[LINE_SIZE];
  int line_no; // line of the file where this piece begins
};

struct source_list {
  source_line* lines = nullptr;
  int count = 0, room = 0;
};

// 0 stored, 1 no memory.
int add_line(source_list* list, const char* piece, int len, int line_no) {
  if (list->count == list->room) {
    int room = list->room ? list->room * 2 : 256;
    void* grown = std::realloc(list->lines, sizeof(source_line) * room);
    if (!grown) return 1;
    list->lines = static_cast<source_line*>(grown);
    list->room = room;
  }
  source_line& l = list->lines[list->count];
  // The text ends at its first zero byte, as a C line does.
  int n = static_cast<int>(strnlen(piece, len));
  if (list->count > 0 && n > LATER_LINE_MAX) n = LATER_LINE_MAX;
  std::memcpy(l.text, piece, n);
  l.text[n] = 0;
  l.line_no = line_no;
  list->count++;
  return 0;
}

// Cuts the source as reading it 159 bytes at a time, line by line, would:
// a longer line goes on as the next piece. 0 or SCIC_NO_MEMORY.
int split_lines(const char* data, std::size_t size, source_list* list) {
  std::size_t pos = 0;
  int line_no = 1;
  while (pos < size) {
    std::size_t len = 0;
    while (pos + len < size && len < LINE_SIZE - 1) {
      if (data[pos + len++] == '\n') break;
    }
    if (add_line(list, data + pos, static_cast<int>(len), line_no)) return SCIC_NO_MEMORY;
    if (data[pos + len - 1] == '\n') line_no++;
    pos += len;
  }
  return 0;
}

void store_message(const char* text, int len) {
  char* slot = event_msg[scic.event_msg_count++];
  if (len > EVENT_MSG_SIZE - 1) len = EVENT_MSG_SIZE - 1;
  std::memcpy(slot, text, len);
  slot[len] = 0;
}

// One line: 0 done (an EVTSET_ERROR included), or the error that stops.
int compile_line(const char* text) {
  for (const char* c = text;; c++) {
    if (*c == ' ' || *c == '\t') continue;
    if (*c == '\n' || *c == '*') return 0;
    scic_stmt s;
    int rc = 0;
    const char* msg = nullptr;
    int len = 0;
    switch (*c) {
    case 'e':
      return e_check(c);
    case 'a':
      rc = a_check(c, &s);
      break;
    case 'i':
      rc = i_check(c, &s);
      break;
    case 'm':
      rc = m_check(c, &s);
      break;
    case 'p':
      rc = p_check(c, &s, &msg, &len);
      break;
    case 's':
      rc = s_check(c, &s);
      break;
    default:
      return SCI_ERROR;
    }
    if (rc) return rc;
    rc = emit(s);
    if (rc == 0 && msg) store_message(msg, len);
    return rc == EVTSET_ERROR ? 0 : rc;
  }
}

// A source that ends inside an event or an if leaves a record with no end
// byte, which the game would run into whatever follows. The end of the file
// is then the misplaced end of that event, reported on the last line.
void check_source_end(const source_list& list) {
  if (!scic.in_event && scic.depth == 0) return;
  const char* what = scic.depth ? "end of file inside an if" : "end of file inside an event";
  scic_set_line(what, list.lines[list.count - 1].line_no);
  scic_report(EVTEXE_ERROR);
}

void compile_list(const source_list& list) {
  bool stopped = false;
  for (int i = 0; i < list.count && !stopped; i++) {
    scic_set_line(list.lines[i].text, list.lines[i].line_no);
    int rc = compile_line(list.lines[i].text);
    if (rc) scic_report(rc);
    stopped = rc != 0;
  }
  if (!stopped) check_source_end(list);
  scic.line_text = nullptr;
}

void write_messages() {
  std::FILE* f = std::fopen("eventmsg.msg", "w");
  if (!f) return;
  for (int m = 0; m < scic.event_msg_count; m++) {
    std::fputs(event_msg[m], f);
    std::fputc('\n', f);
  }
  std::fclose(f);
}

void write_table() {
  std::FILE* f = std::fopen("eventdat.evt", "wb");
  if (!f) return;
  std::fwrite(event_table, sizeof(event_record), EVENT_COUNT, f);
  std::fclose(f);
}

// The game's form of the messages: 256 lines of 160 bytes, the compiled
// messages zero-terminated, every byte pair swapped.
void write_message_lines() {
  std::FILE* f = std::fopen("eventmsg.mgb", "wb");
  if (!f) return;
  for (int m = 0; m < EVENT_MSG_COUNT; m++) {
    char line[EVENT_MSG_SIZE] = {};
    if (m < scic.event_msg_count) std::memcpy(line, event_msg[m], EVENT_MSG_SIZE - 1);
    for (int i = 0; i + 1 < EVENT_MSG_SIZE; i += 2) std::swap(line[i], line[i + 1]);
    std::fwrite(line, 1, sizeof line, f);
  }
  std::fclose(f);
}

// Text mode as the source's home system reads it: a CR LF pair is one line end.
std::size_t join_line_ends(char* data, std::size_t size) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < size; i++) {
    if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') continue;
    data[out++] = data[i];
  }
  return out;
}

int compile_buffer(char* data, std::size_t size) {
  size = join_line_ends(data, size);
  if (size == 0) return SCIC_EMPTY;
  source_list list;
  if (split_lines(data, size, &list)) {
    std::free(list.lines);
    return SCIC_NO_MEMORY;
  }
  scic.error_count = 0;
  scic.event_msg_count = 0;
  compile_list(list);
  std::free(list.lines);
  write_messages();
  write_table();
  write_message_lines();
  return scic.error_count ? SCIC_FAILED : SCIC_OK;
}

} // namespace

int scic_compile_source(const char* data, std::size_t size) {
  char* copy = static_cast<char*>(std::malloc(size ? size : 1));
  if (!copy) return SCIC_NO_MEMORY;
  std::memcpy(copy, data, size);
  int rc = compile_buffer(copy, size);
  std::free(copy);
  return rc;
}

int scic_compile() {
  std::FILE* f = open_read_file("event.sci");
  if (!f) return SCIC_NO_SOURCE;
  char* data = nullptr;
  std::size_t size = 0, room = 0;
  for (;;) {
    if (size == room) {
      room = room ? room * 2 : 65536;
      void* grown = std::realloc(data, room);
      if (!grown) return std::free(data), std::fclose(f), SCIC_NO_MEMORY;
      data = static_cast<char*>(grown);
    }
    std::size_t got = std::fread(data + size, 1, room - size, f);
    if (got == 0) break;
    size += got;
  }
  std::fclose(f);
  int rc = compile_buffer(data, size);
  std::free(data);
  return rc;
}
