// The readable art sources: lines of words, '#' starts a comment. Every
// reader reports the first fault as "file:line: what".
#pragma once
#include "tools/art/art_image.h"

#include <map>
#include <string>
#include <vector>

struct src_line {
  std::string file;
  int line = 0;
  std::vector<std::string> words;
};

// Named colours: "NAME R G B" lines. A colour word is a name, a name with a
// shade ("grass+20" lighter, "grass-30" darker), "#RRGGBB", "ink" or "clear".
struct palette {
  std::map<std::string, rgb> colours;
};

std::string read_source(const std::string& path, std::vector<src_line>& out);
std::string split_source(const std::string& path, const std::string& text,
                         std::vector<src_line>& out);
std::string fault(const src_line& l, const std::string& what);
std::string read_palette(const std::vector<src_line>& lines, palette& out);
// Empty string on success, else the fault at the given line.
std::string colour_of(const palette& p, const src_line& l, const std::string& word, rgb& out);
bool int_of(const std::string& word, int lo, int hi, int& out);
bool num_of(const std::string& word, double lo, double hi, double& out);
// key=value words after the positional ones.
std::map<std::string, std::string> options_of(const src_line& l, std::size_t first);
