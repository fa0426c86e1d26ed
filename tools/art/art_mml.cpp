#include "tools/art/art_mml.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

constexpr int MAX_SHIFT = 24;       // two octaves either way
constexpr int MAX_PHRASE_DEPTH = 8; // $A inside $B inside ...
// A track's notation with its phrases written out; far beyond any piece, it
// stops phrases that name each other many times from filling the memory.
constexpr std::size_t MAX_TRACK_CHARS = 1 << 20;

struct mml_char {
  char c;
  const src_line* line;
};

// "phrase NAME notes..." lines, by name; several lines of one name follow on.
using phrase_book = std::map<std::string, std::vector<const src_line*>>;

struct cursor {
  std::vector<mml_char> text;
  std::size_t i = 0;
  int octave = 4, length = 4, velocity = 96, gate = 7;
  int shift = 0; // semitones every note is moved by (k)
  std::uint32_t tick = 0;
  std::vector<int> last_notes; // the notes that ^ holds longer
  std::uint32_t last_end = 0;
  std::string error;
  bool at_end() const { return i >= text.size(); }
  char peek() const { return at_end() ? 0 : text[i].c; }
  bool fail(const std::string& what) {
    if (error.empty()) error = fault(*text[std::min(i, text.size() - 1)].line, what);
    return false;
  }
};

bool number(cursor& c, int& out) {
  if (!std::isdigit(static_cast<unsigned char>(c.peek()))) return false;
  out = 0;
  while (std::isdigit(static_cast<unsigned char>(c.peek())) && out < 100000)
    out = out * 10 + (c.text[c.i++].c - '0');
  return true;
}

// Length in ticks of an optional length number and dots.
bool duration(cursor& c, std::uint32_t& ticks) {
  int n = c.length;
  if (number(c, n) && (n < 1 || n > 96 || (MML_DIVISION * 4) % n)) return c.fail("bad note length");
  ticks = MML_DIVISION * 4 / n;
  for (std::uint32_t add = ticks / 2; c.peek() == '.'; add /= 2) c.i++, ticks += add;
  return true;
}

int drum_note(char ch) {
  switch (ch) {
  case 'k':
    return 36;
  case 's':
    return 38;
  case 'h':
    return 42;
  case 'o':
    return 46;
  case 'c':
    return 49;
  case 't':
    return 45;
  case 'm':
    return 47;
  case 'p':
    return 51;
  case 'x':
    return 39;
  }
  return -1;
}

int pitch(cursor& c, char ch, bool drums) {
  if (drums) return drum_note(ch);
  static const int steps[7] = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g
  if (ch < 'a' || ch > 'g') return -1;
  int p = (c.octave + 1) * 12 + steps[ch - 'a'] + c.shift;
  for (; c.peek() == '+' || c.peek() == '#' || c.peek() == '-'; c.i++)
    p += c.peek() == '-' ? -1 : 1;
  return p;
}

void sound(mml_track& t, cursor& c, const std::vector<int>& notes, std::uint32_t ticks,
           bool drums) {
  std::uint32_t on =
      drums ? std::min<std::uint32_t>(ticks, 60) : std::max<std::uint32_t>(1, ticks * c.gate / 8);
  auto ch = static_cast<std::uint8_t>(t.channel);
  for (int n : notes) {
    t.events.push_back({c.tick,
                        1,
                        {static_cast<std::uint8_t>(0x90 | ch), static_cast<std::uint8_t>(n),
                         static_cast<std::uint8_t>(c.velocity)}});
    t.events.push_back(
        {c.tick + on, 0, {static_cast<std::uint8_t>(0x80 | ch), static_cast<std::uint8_t>(n), 64}});
  }
  c.last_notes = notes, c.last_end = c.tick + on;
  c.tick += ticks;
}

// ^N: the notes just played sound on for N more.
bool hold(mml_track& t, cursor& c) {
  c.i++;
  std::uint32_t ticks;
  if (!duration(c, ticks)) return false;
  if (c.last_notes.empty()) return c.fail("^ without a note before it");
  for (auto& e : t.events)
    if (e.order == 0 && e.tick == c.last_end &&
        std::find(c.last_notes.begin(), c.last_notes.end(), e.bytes[1]) != c.last_notes.end())
      e.tick = c.tick + ticks * c.gate / 8;
  c.last_end = c.tick + ticks * c.gate / 8;
  c.tick += ticks;
  return true;
}

bool setting(cursor& c, char k) {
  c.i++;
  bool minus = k == 'k' && c.peek() == '-';
  if (minus) c.i++;
  int n;
  if (!number(c, n)) return c.fail(std::string("a number after ") + k);
  if (k == 'k' && n <= MAX_SHIFT) return c.shift = minus ? -n : n, true;
  if (k == 'o' && n <= 8) return c.octave = n, true;
  if (k == 'l' && n >= 1 && n <= 96 && (MML_DIVISION * 4) % n == 0) return c.length = n, true;
  if (k == 'v' && n >= 1 && n <= 127) return c.velocity = n, true;
  if (k == 'q' && n >= 1 && n <= 8) return c.gate = n, true;
  return c.fail(std::string("value out of range after ") + k);
}

bool chord(mml_track& t, cursor& c, bool drums) {
  c.i++;
  std::vector<int> notes;
  while (!c.at_end() && c.peek() != '}') {
    char ch = c.text[c.i].c;
    if (ch == ' ') {
      c.i++;
      continue;
    }
    if (ch == '<' || ch == '>') {
      c.octave += ch == '>' ? 1 : -1;
      c.i++;
      continue;
    }
    c.i++;
    int p = pitch(c, ch, drums);
    if (p < 0 || p > 127) return c.fail(std::string("not a note in a chord: ") + ch);
    notes.push_back(p);
  }
  if (c.at_end()) return c.fail("a chord without its }");
  c.i++;
  std::uint32_t ticks;
  if (!duration(c, ticks)) return false;
  sound(t, c, notes, ticks, drums);
  return true;
}

bool run(mml_track& t, cursor& c, bool drums, int depth);

bool repeat(mml_track& t, cursor& c, bool drums, int depth) {
  if (depth > 4) return c.fail("repeats nested too deep");
  c.i++;
  std::size_t start = c.i;
  if (!run(t, c, drums, depth + 1)) return false;
  if (c.peek() != ']') return c.fail("a [ without its ]");
  c.i++;
  int n = 2;
  number(c, n);
  if (n < 1 || n > 64) return c.fail("repeat count 1..64");
  std::size_t after = c.i;
  for (int k = 1; k < n; k++) {
    c.i = start;
    if (!run(t, c, drums, depth + 1)) return false;
  }
  c.i = after;
  return true;
}

bool step(mml_track& t, cursor& c, bool drums, int depth) {
  char ch = c.peek();
  if (ch == ' ' || ch == '|') return c.i++, true; // | marks bars for the reader
  if (ch == '<' || ch == '>') {
    c.octave += ch == '>' ? 1 : -1, c.i++;
    return c.octave >= 0 && c.octave <= 8 ? true : c.fail("octave out of range");
  }
  if (ch == '[') return repeat(t, c, drums, depth);
  if (ch == '{') return chord(t, c, drums);
  if (ch == '^') return hold(t, c);
  if (ch == 'r') {
    c.i++;
    std::uint32_t ticks;
    if (!duration(c, ticks)) return false;
    c.tick += ticks, c.last_notes.clear();
    return true;
  }
  if (!drums && (ch == 'o' || ch == 'l' || ch == 'v' || ch == 'q' || ch == 'k'))
    return setting(c, ch);
  if (drums && (ch == 'l' || ch == 'v')) return setting(c, ch);
  c.i++;
  int p = pitch(c, ch, drums);
  if (p < 0) return c.i--, c.fail(std::string("unknown note or command ") + ch);
  if (p > 127) return c.fail("note too high");
  std::uint32_t ticks;
  if (!duration(c, ticks)) return false;
  sound(t, c, {p}, ticks, drums);
  return true;
}

bool run(mml_track& t, cursor& c, bool drums, int depth) {
  while (!c.at_end() && c.peek() != ']')
    if (!step(t, c, drums, depth)) return false;
  if (depth == 0 && c.peek() == ']') return c.fail("a ] without its [");
  return true;
}

std::string track_header(const src_line& l, mml_track& t) {
  if (l.words.size() < 2)
    return fault(l, "expected: track NAME program=P channel=C volume=V pan=P");
  t.name = l.words[1], t.line = l.line;
  for (auto& [k, v] : options_of(l, 2)) {
    int* f = k == "program"   ? &t.program
             : k == "channel" ? &t.channel
             : k == "volume"  ? &t.volume
             : k == "pan"     ? &t.pan
                              : nullptr;
    int hi = k == "channel" ? 15 : 127;
    if (!f || !int_of(v, 0, hi, *f)) return fault(l, "bad track option " + k + "=" + v);
  }
  return "";
}

std::string header_line(const src_line& l, mml_piece& p) {
  const std::string& k = l.words[0];
  if (k == "title") {
    p.title.clear();
    for (std::size_t i = 1; i < l.words.size(); i++) p.title += (i > 1 ? " " : "") + l.words[i];
    return "";
  }
  if (k == "tempo")
    return l.words.size() == 2 && int_of(l.words[1], 30, 300, p.tempo) ? ""
                                                                       : fault(l, "tempo 30..300");
  if (k == "loop" && l.words.size() == 2 && (l.words[1] == "yes" || l.words[1] == "no"))
    return p.loop = l.words[1] == "yes", "";
  return fault(l, "expected title, tempo, loop yes|no or track");
}

bool name_char(char ch) {
  return std::isalnum(static_cast<unsigned char>(ch)) || ch == '_';
}

std::string lower(const std::string& w) {
  std::string s;
  for (char ch : w) s += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return s;
}

// The words of `l` from `first` on, with every $NAME replaced by the phrase
// it names; a phrase may name others, but not itself.
std::string expand(const src_line& l, std::size_t first, const phrase_book& book, int depth,
                   std::vector<mml_char>& out) {
  for (std::size_t w = first; w < l.words.size(); w++) {
    std::string word = lower(l.words[w]);
    for (std::size_t i = 0; i < word.size(); i++) {
      if (word[i] != '$') {
        out.push_back({word[i], &l});
        continue;
      }
      std::size_t end = i + 1;
      while (end < word.size() && name_char(word[end])) end++;
      std::string name = word.substr(i + 1, end - i - 1);
      auto it = book.find(name);
      if (it == book.end()) return fault(l, "no phrase named " + name);
      if (depth >= MAX_PHRASE_DEPTH) return fault(l, "phrases nested too deep at " + name);
      if (out.size() > MAX_TRACK_CHARS) return fault(l, "the track grows too long at " + name);
      out.push_back({' ', &l});
      for (const src_line* d : it->second)
        if (auto e = expand(*d, 2, book, depth + 1, out); !e.empty()) return e;
      i = end - 1;
    }
    out.push_back({' ', &l});
  }
  return "";
}

std::string compile_track(mml_track& t, const std::vector<const src_line*>& body,
                          const std::string& file, const phrase_book& book) {
  cursor c;
  for (const src_line* l : body)
    if (auto e = expand(*l, 0, book, 0, c.text); !e.empty()) return e;
  if (c.text.empty())
    return file + ":" + std::to_string(t.line) + ": track " + t.name + " has no notes";
  if (!run(t, c, t.channel == 9, 0)) return c.error;
  t.length = c.tick;
  return "";
}

} // namespace

std::string parse_piece(const std::vector<src_line>& lines, mml_piece& p) {
  if (lines.empty()) return "a piece without tracks";
  std::vector<std::vector<const src_line*>> bodies;
  phrase_book book;
  for (const auto& l : lines) {
    if (l.words[0] == "phrase") {
      if (l.words.size() < 3) return fault(l, "expected: phrase NAME notes...");
      std::string name = lower(l.words[1]);
      if (!std::all_of(name.begin(), name.end(), name_char))
        return fault(l, "a phrase name is letters, digits and _");
      book[name].push_back(&l);
    } else if (l.words[0] == "track") {
      p.tracks.emplace_back(), bodies.emplace_back();
      if (auto e = track_header(l, p.tracks.back()); !e.empty()) return e;
    } else if (!p.tracks.empty())
      bodies.back().push_back(&l);
    else if (auto e = header_line(l, p); !e.empty())
      return e;
  }
  const std::string& file = lines[0].file;
  if (p.tracks.empty()) return file + ": a piece without tracks";
  for (std::size_t i = 0; i < p.tracks.size(); i++)
    if (auto e = compile_track(p.tracks[i], bodies[i], file, book); !e.empty()) return e;
  for (const auto& t : p.tracks)
    if (t.length != p.tracks[0].length)
      return file + ":" + std::to_string(t.line) + ": track " + t.name + " lasts " +
             std::to_string(t.length) + " ticks, track " + p.tracks[0].name + " " +
             std::to_string(p.tracks[0].length) + ": every track must end on the same tick";
  return "";
}
