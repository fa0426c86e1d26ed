#include <iconv.h>

#include <cstring>
#include <string>

std::string sjis_to_utf8(const char* text) {
  std::string out;
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return text;
  size_t in_left = std::strlen(text);
  char* in = const_cast<char*>(text);
  char buf[256];
  while (in_left > 0) {
    char* o = buf;
    size_t o_left = sizeof buf;
    if (iconv(cd, &in, &in_left, &o, &o_left) == static_cast<size_t>(-1) && o == buf) {
      out += '?'; // a byte that is no character: shown, not dropped silently
      in++;
      in_left--;
      continue;
    }
    out.append(buf, o);
  }
  iconv_close(cd);
  return out;
}
