// A small JSON writer for the replay's dumps: objects and arrays of numbers
// and strings, written in order, with the commas put in for us.
#pragma once
#include <cstdint>
#include <string>

struct json_out {
  std::string text;
  bool need_comma = false;
  bool after_key = false; // the next value belongs to the key just written
  int depth = 0;
};

void json_key(json_out& j, const char* key); // inside an object
void json_open(json_out& j, char bracket);   // '{' or '['
void json_close(json_out& j, char bracket);  // '}' or ']'
void json_int(json_out& j, long long v);
void json_str(json_out& j, const std::string& utf8);
// Shift-JIS text of at most n bytes (it may lack its terminator), trailing blanks dropped.
void json_sjis(json_out& j, const char* s, std::size_t n);

inline void json_field(json_out& j, const char* key, long long v) {
  json_key(j, key);
  json_int(j, v);
}
