#include "tools/replay/json.h"

#include "platform/platform.h"

#include <cstdio>

static void separate(json_out& j) {
  if (j.need_comma) j.text += ',';
  if (j.depth > 0) j.text += "\n" + std::string(static_cast<size_t>(j.depth) * 2, ' ');
}

void json_key(json_out& j, const char* key) {
  separate(j);
  j.text += '"';
  j.text += key;
  j.text += "\": ";
  j.after_key = true;
}

static void value_start(json_out& j) {
  if (!j.after_key) separate(j);
  j.after_key = false;
}

void json_open(json_out& j, char bracket) {
  value_start(j);
  j.text += bracket;
  j.need_comma = false;
  j.depth++;
}

void json_close(json_out& j, char bracket) {
  j.depth--;
  if (j.need_comma) j.text += "\n" + std::string(static_cast<size_t>(j.depth) * 2, ' ');
  j.text += bracket;
  j.need_comma = true;
}

void json_int(json_out& j, long long v) {
  value_start(j);
  j.text += std::to_string(v);
  j.need_comma = true;
}

void json_str(json_out& j, const std::string& s) {
  value_start(j);
  j.text += '"';
  for (unsigned char c : s) {
    if (c == '"' || c == '\\')
      j.text += '\\', j.text += static_cast<char>(c);
    else if (c == '\n')
      j.text += "\\n";
    else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      j.text += buf;
    } else
      j.text += static_cast<char>(c);
  }
  j.text += '"';
  j.need_comma = true;
}

void json_sjis(json_out& j, const char* s, std::size_t n) {
  std::string raw;
  for (std::size_t i = 0; i < n && s[i]; i++) raw += s[i];
  while (!raw.empty() && raw.back() == ' ') raw.pop_back();
  json_str(j, sjis_to_utf8(raw.c_str()));
}
