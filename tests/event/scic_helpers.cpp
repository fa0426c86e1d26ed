#include "scic_helpers.h"

#include <cstdio>
#include <fstream>

const char* const EXAMPLE = "evt012\n"
                            "if system040 off\n"
                            "  printn \"Will you help us?\"\n"
                            "input\n"
                            "if ans y\n"
                            "item007 get\n"
                            "system040 on\n"
                            "else\n"
                            "printc 'Pity.'\n"
                            "endif\n"
                            "endif\n"
                            "endevt\n";

int compile(const std::string& source) {
  reset_event_state();
  reset_scic_state();
  for (const char* f : {"eventdat.evt", "eventmsg.msg", "eventmsg.mgb"}) std::remove(f);
  char name[32];
  for (int n = 0; n < 256; n++) {
    std::snprintf(name, sizeof name, "event%03d.evt", n);
    std::remove(name);
  }
  return scic_compile_source(source.data(), source.size());
}

bool file_exists(const char* name) {
  return std::ifstream(name).good();
}

std::vector<int> code_of(int n) {
  std::string all = read_text("eventdat.evt");
  std::vector<int> out;
  if (all.size() != 33792) return out;
  const unsigned char* r = reinterpret_cast<const unsigned char*>(all.data()) + 132 * n;
  int len = r[2] | r[3] << 8;
  for (int i = 0; i < len && i < 128; i++) out.push_back(r[4 + i]);
  return out;
}

std::vector<int> table_code(int n) {
  const event_record& r = event_table[n];
  return std::vector<int>(r.code, r.code + (r.length < 128 ? r.length : 128));
}

int first_error(int* line) {
  if (scic.error_count == 0) return 0;
  if (line) *line = scic.errors[0].line;
  return scic.errors[0].code;
}
