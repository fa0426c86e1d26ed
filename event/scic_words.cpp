#include "event/scic_internal.h"

#include <cstring>

int stmt_add(scic_stmt* s, int byte) {
  if (s->n >= SCIC_STMT_MAX) return 1;
  s->bytes[s->n++] = static_cast<u8>(byte);
  return 0;
}

bool starts_with(const char* s, const char* word) {
  return std::strncmp(s, word, std::strlen(word)) == 0;
}

// A blank counts as 0, so "1  " is 100 and " 12" is 12; a '-' in front
// negates the two digits after it. The text ends at its zero byte: a short
// operand is malformed, never read past.
int read_number(const char* s, int* value, char chars[4]) {
  int k = 0;
  for (; k < 3 && s[k]; k++) chars[k] = s[k];
  chars[k] = 0;
  if (k < 3) return 1;
  int v = 0, weight = 1;
  for (int i = 2; i >= 0; i--, weight *= 10) {
    char c = s[i];
    if (c >= '0' && c <= '9')
      v += (c - '0') * weight;
    else if (c == '-' && i == 0)
      v = -v;
    else if (c != ' ')
      return 1;
  }
  *value = v;
  return 0;
}

int find_word(const char* s, const char* const* words, int count, const char** after) {
  for (; *s; s++)
    for (int w = 0; w < count; w++)
      if (starts_with(s, words[w])) {
        *after = s + std::strlen(words[w]);
        return w;
      }
  return -1;
}
