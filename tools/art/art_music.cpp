// The music list: every piece of content/art/music/list.txt compiled from
// its notation into a standard MIDI file, and rpgmidlst.lst naming them.
#include "tools/art/art.h"
#include "tools/art/art_mml.h"

#include <algorithm>

namespace {

void be(std::vector<std::uint8_t>& v, std::uint32_t x, int n) {
  for (int i = n - 1; i >= 0; i--) v.push_back((x >> (8 * i)) & 0xFF);
}

void varlen(std::vector<std::uint8_t>& v, std::uint32_t x) {
  std::uint8_t b[5];
  int n = 0;
  do b[n++] = x & 0x7F, x >>= 7;
  while (x);
  while (n--) v.push_back(b[n] | (n ? 0x80 : 0));
}

void meta_text(std::vector<note_event>& ev, const std::string& s) {
  note_event e{0, 0, {0xFF, 0x03}};
  e.bytes.push_back(static_cast<std::uint8_t>(std::min<std::size_t>(s.size(), 100)));
  e.bytes.insert(e.bytes.end(), s.begin(), s.begin() + e.bytes.back());
  ev.push_back(e);
}

std::vector<std::uint8_t> track_chunk(std::vector<note_event> ev, std::uint32_t end) {
  std::stable_sort(ev.begin(), ev.end(), [](const note_event& a, const note_event& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  std::vector<std::uint8_t> body;
  std::uint32_t now = 0;
  for (const auto& e : ev) {
    varlen(body, e.tick - now), now = e.tick;
    body.insert(body.end(), e.bytes.begin(), e.bytes.end());
  }
  varlen(body, end - now), body.insert(body.end(), {0xFF, 0x2F, 0x00});
  std::vector<std::uint8_t> v = {'M', 'T', 'r', 'k'};
  be(v, static_cast<std::uint32_t>(body.size()), 4);
  v.insert(v.end(), body.begin(), body.end());
  return v;
}

} // namespace

std::vector<std::uint8_t> midi_bytes(const mml_piece& p) {
  std::uint32_t end = p.tracks.empty() ? 0 : p.tracks[0].length;
  std::vector<std::uint8_t> v = {'M', 'T', 'h', 'd'};
  be(v, 6, 4), be(v, 1, 2), be(v, static_cast<std::uint32_t>(p.tracks.size() + 1), 2),
      be(v, MML_DIVISION, 2);
  std::vector<note_event> tempo;
  meta_text(tempo, p.title);
  std::uint32_t us = 60000000u / static_cast<std::uint32_t>(p.tempo);
  tempo.push_back({0,
                   1,
                   {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(us >> 16),
                    static_cast<std::uint8_t>(us >> 8), static_cast<std::uint8_t>(us)}});
  auto t0 = track_chunk(tempo, end);
  v.insert(v.end(), t0.begin(), t0.end());
  for (const auto& t : p.tracks) {
    std::vector<note_event> ev = t.events;
    auto ch = static_cast<std::uint8_t>(t.channel);
    meta_text(ev, t.name);
    auto at0 = [&](std::initializer_list<std::uint8_t> b) { ev.push_back({0, 1, b}); };
    at0({static_cast<std::uint8_t>(0xC0 | ch), static_cast<std::uint8_t>(t.program)});
    at0({static_cast<std::uint8_t>(0xB0 | ch), 7, static_cast<std::uint8_t>(t.volume)});
    at0({static_cast<std::uint8_t>(0xB0 | ch), 10, static_cast<std::uint8_t>(t.pan)});
    at0({static_cast<std::uint8_t>(0xB0 | ch), 91, 40});
    // A controller on the last tick: the player drops the end-of-track
    // event with its time, so this keeps a closing rest in the loop.
    ev.push_back({end, 2, {static_cast<std::uint8_t>(0xB0 | ch), 11, 127}});
    auto chunk = track_chunk(ev, end);
    v.insert(v.end(), chunk.begin(), chunk.end());
  }
  return v;
}

std::string make_music(const art_paths& p) {
  std::vector<src_line> lines;
  std::string dir = p.content + "/art/music", path = dir + "/list.txt";
  if (auto e = read_source(path, lines); !e.empty()) return e;
  std::string list;
  int next = 0;
  for (const auto& l : lines) {
    int n;
    if (l.words.size() < 3 || !int_of(l.words[0], 0, 23, n) || n != next)
      return fault(l, "expected: NUMBER (0..23 in order) FILE.mid SOURCE.mml use...");
    const std::string& file = l.words[1];
    if (file.size() > 39 || file.size() < 5 || file.substr(file.size() - 4) != ".mid")
      return fault(l, "a MIDI file name of at most 39 characters ending in .mid");
    std::vector<src_line> score;
    mml_piece piece;
    if (auto e = read_source(dir + "/" + l.words[2], score); !e.empty()) return fault(l, e);
    if (auto e = parse_piece(score, piece); !e.empty()) return e;
    auto bytes = midi_bytes(piece);
    if (auto e = write_file(p.game + "/" + file, bytes.data(), bytes.size()); !e.empty()) return e;
    list += file + "\n", next++;
  }
  if (next != 24) return path + ": the music list has 24 entries, not " + std::to_string(next);
  return write_file(p.game + "/rpgmidlst.lst", list.data(), list.size());
}
