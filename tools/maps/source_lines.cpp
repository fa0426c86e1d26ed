#include "tools/maps/source_lines.h"

#include <fstream>
#include <sstream>

std::string read_source_lines(
    const std::string& path,
    const std::function<std::string(const std::vector<std::string>& words)>& statement) {
  std::ifstream in(path);
  if (!in) return path + ": cannot be opened";
  int line_no = 0;
  for (std::string line; std::getline(in, line);) {
    line_no++;
    std::istringstream ws(line.substr(0, line.find('#')));
    std::vector<std::string> words;
    for (std::string s; ws >> s;) words.push_back(s);
    if (words.empty()) continue;
    std::string err = statement(words);
    if (!err.empty()) return path + ":" + std::to_string(line_no) + ": " + err;
  }
  return "";
}
