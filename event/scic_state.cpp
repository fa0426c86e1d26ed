#include "event/scic_internal.h"
#include "platform/platform.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

scic_data scic;

void reset_scic_state() {
  scic = scic_data{};
}

const char* scic_error_name(int code) {
  static const char* const names[] = {
      "EVTEXE_ERROR", "EVTNUM_ERROR", "EVTSET_ERROR", "ELSE_ERROR",    "ENDIF_ERROR",
      "ECHK_ERROR",   "PCHK_ERROR",   "SYSNUM_ERROR", "SYSITEM_ERROR", "ITEM_ERROR",
      "IF_ERROR",     "ANS_ERROR",    "SCI_ERROR",    "EVTNUM1_ERROR", "SOUND_ERROR",
      "MUSIC_ERROR",  "MUSICN_ERROR", "STATUS_ERROR",
  };
  if (code == S_ERROR) return "S_ERROR";
  if (code < EVTEXE_ERROR || code > STATUS_ERROR) return "?";
  return names[code - EVTEXE_ERROR];
}

// Trace lines are Shift-JIS like the source they quote; a terminal reads UTF-8.
void scic_trace(const char* fmt, ...) {
  if (!scic.trace) return;
  char line[512];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(line, sizeof line, fmt, args);
  va_end(args);
  std::fputs(sjis_to_utf8(line).c_str(), stdout);
}

void scic_set_line(const char* text, int line_no) {
  scic.line_text = text;
  scic.line_no = line_no;
}

void scic_report(int code) {
  if (scic.error_count < SCIC_ERROR_LOG) scic.errors[scic.error_count] = {code, scic.line_no};
  scic.error_count++;
  std::string text = scic.line_text ? scic.line_text : "";
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  std::string head = "event.sci:" + std::to_string(scic.line_no) + ": error ";
  if (code != S_ERROR) head += std::to_string(code) + " ";
  head += scic_error_name(code);
  std::fprintf(stderr, "%s: %s\n", head.c_str(), sjis_to_utf8(text.c_str()).c_str());
}
