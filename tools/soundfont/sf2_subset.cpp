#include "tools/soundfont/sf2_subset.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

namespace {

// ---- little readers ----

std::uint32_t le16(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0] | p[1] << 8);
}
std::uint32_t le32(const std::uint8_t* p) {
  return le16(p) | le16(p + 2) << 16;
}
void put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v), p[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
  put16(p, v & 0xFFFF), put16(p + 2, v >> 16);
}
std::uint32_t be32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

// ---- MIDI files ----

struct midi_reader {
  const std::uint8_t* p;
  const std::uint8_t* end;
  bool ok = true;
  std::uint32_t byte() {
    if (p >= end) return ok = false, 0;
    return *p++;
  }
  std::uint32_t number() { // a variable-length number of at most four bytes
    std::uint32_t v = 0;
    for (int i = 0; i < 4; i++) {
      std::uint32_t b = byte();
      v = v << 7 | (b & 0x7F);
      if (!(b & 0x80)) return v;
    }
    return ok = false, 0;
  }
  void skip(std::uint32_t n) {
    if (n > static_cast<std::uint32_t>(end - p))
      ok = false, n = static_cast<std::uint32_t>(end - p);
    p += n;
  }
};

struct channel_state {
  int bank = 0;
  int program = -1; // none yet in this piece
};

void channel_event(std::uint32_t status, std::uint32_t d1, std::uint32_t d2, channel_state* chs,
                   midi_use* use) {
  int ch = static_cast<int>(status & 0x0F);
  channel_state& c = chs[ch];
  bool drums = ch == MIDI_DRUM_CHANNEL;
  switch (status & 0xF0) {
  case 0xB0: // bank select, most significant byte; the drum channel keeps its bank
    if (d1 == 0 && !drums) c.bank = static_cast<int>(d2);
    break;
  case 0xC0: {
    preset_id p{drums ? SF2_DRUM_BANK : c.bank, static_cast<int>(d1)};
    c.program = static_cast<int>(d1);
    use->notes[p];
    use->selected[ch].insert(p);
    break;
  }
  case 0x90: {
    if (d2 == 0) break; // a note-off
    note_id n{static_cast<int>(d1), static_cast<int>(d2)};
    if (c.program < 0)
      use->loose[ch].insert(n);
    else
      use->notes[{drums ? SF2_DRUM_BANK : c.bank, c.program}].insert(n);
    break;
  }
  default:
    break;
  }
}

struct timed_event {
  std::uint64_t tick;
  std::uint32_t track, seq;
  std::uint32_t status, d1, d2;
};

// The channel events of one track with their absolute ticks.
bool track_events(midi_reader r, std::uint32_t track, std::vector<timed_event>* out) {
  std::uint32_t running = 0, seq = 0;
  std::uint64_t tick = 0;
  while (r.ok && r.p < r.end) {
    tick += r.number();
    std::uint32_t b = r.byte();
    if (b == 0xFF) {
      std::uint32_t type = r.byte();
      r.skip(r.number());
      if (type == 0x2F) break;
    } else if (b == 0xF0 || b == 0xF7) {
      r.skip(r.number());
    } else if (b >= 0xF1) {
      return false;
    } else {
      std::uint32_t d1;
      if (b & 0x80) {
        running = b;
        d1 = r.byte();
      } else {
        if (!running) return false;
        d1 = b;
      }
      bool one = (running & 0xF0) == 0xC0 || (running & 0xF0) == 0xD0;
      std::uint32_t d2 = one ? 0 : r.byte();
      if (r.ok) out->push_back({tick, track, seq++, running, d1, d2});
    }
  }
  return r.ok;
}

// ---- soundfonts ----

// Record sizes of the preset data's nine lists.
enum pdta_list { PHDR, PBAG, PMOD, PGEN, INST, IBAG, IMOD, IGEN, SHDR, PDTA_LISTS };
constexpr const char* PDTA_NAMES[PDTA_LISTS] = {"phdr", "pbag", "pmod", "pgen", "inst",
                                                "ibag", "imod", "igen", "shdr"};
constexpr std::uint32_t PDTA_SIZES[PDTA_LISTS] = {38, 4, 10, 4, 22, 4, 10, 4, 46};

constexpr std::uint32_t GEN_INSTRUMENT = 41;
constexpr std::uint32_t GEN_SAMPLE_ID = 53;
constexpr std::uint32_t SAMPLE_ROM = 0x8000;
constexpr std::uint32_t SAMPLE_MONO = 1;
// The zero points the format puts after every sample, which interpolation may read.
constexpr std::uint32_t SAMPLE_GUARD = 46;

constexpr std::uint32_t bag_field(int l) {
  return l == PHDR ? 24 : 20;
}

struct span {
  const std::uint8_t* p = nullptr;
  std::uint32_t size = 0;
};

struct soundfont {
  span info, smpl, sm24;
  span list[PDTA_LISTS];
  std::uint32_t count(int l) const { return list[l].size / PDTA_SIZES[l]; }
  const std::uint8_t* rec(int l, std::uint32_t i) const { return list[l].p + i * PDTA_SIZES[l]; }
  // the first zone of a preset or instrument header
  std::uint32_t bag_of(int l, std::uint32_t i) const { return le16(rec(l, i) + bag_field(l)); }
};

// Calls f(id, body) for each chunk of [p, p + size); false when one overruns.
template <class F> bool each_chunk(const std::uint8_t* p, std::uint32_t size, F f) {
  std::uint32_t at = 0;
  while (at + 8 <= size) {
    std::uint32_t n = le32(p + at + 4);
    if (n > size - at - 8) return false;
    f(p + at, span{p + at + 8, n});
    at += 8 + n + (n & 1);
  }
  return true;
}

bool is_id(const std::uint8_t* p, const char* id) {
  return std::memcmp(p, id, 4) == 0;
}

bool parse_lists(soundfont* sf, std::string* why) {
  for (int l = 0; l < PDTA_LISTS; l++) {
    if (!sf->list[l].p || sf->list[l].size % PDTA_SIZES[l] != 0 || sf->count(l) < 1)
      return *why = std::string("the list ") + PDTA_NAMES[l] + " is missing or torn", false;
  }
  // bag indices run forward and stay inside the lists they index
  auto bags_ok = [&](int hdr, int bag, int gen, int mod) {
    for (std::uint32_t i = 0; i + 1 < sf->count(hdr); i++)
      if (sf->bag_of(hdr, i) > sf->bag_of(hdr, i + 1)) return false;
    if (sf->bag_of(hdr, sf->count(hdr) - 1) >= sf->count(bag)) return false;
    for (std::uint32_t b = 0; b + 1 < sf->count(bag); b++) {
      const std::uint8_t* r = sf->rec(bag, b);
      if (le16(r) > le16(r + 4) || le16(r + 2) > le16(r + 6)) return false;
    }
    const std::uint8_t* last = sf->rec(bag, sf->count(bag) - 1);
    return le16(last) <= sf->count(gen) && le16(last + 2) <= sf->count(mod);
  };
  if (!bags_ok(PHDR, PBAG, PGEN, PMOD) || !bags_ok(INST, IBAG, IGEN, IMOD))
    return *why = "the zone indices run backwards or past their lists", false;
  return true;
}

bool parse(const sf2_bytes& b, soundfont* sf, std::string* why) {
  if (b.size() < 12 || !is_id(b.data(), "RIFF") || !is_id(b.data() + 8, "sfbk"))
    return *why = "not a RIFF soundfont (sfbk)", false;
  std::uint32_t riff = le32(b.data() + 4);
  if (riff < 4 || riff > b.size() - 8) return *why = "the RIFF size runs past the file", false;
  bool fits = each_chunk(b.data() + 12, riff - 4, [&](const std::uint8_t* h, span body) {
    if (!is_id(h, "LIST") || body.size < 4) return;
    span inner{body.p + 4, body.size - 4};
    if (is_id(body.p, "INFO")) sf->info = inner;
    if (is_id(body.p, "sdta"))
      each_chunk(inner.p, inner.size, [&](const std::uint8_t* c, span s) {
        if (is_id(c, "smpl")) sf->smpl = s;
        if (is_id(c, "sm24")) sf->sm24 = s;
      });
    if (is_id(body.p, "pdta"))
      each_chunk(inner.p, inner.size, [&](const std::uint8_t* c, span s) {
        for (int l = 0; l < PDTA_LISTS; l++)
          if (is_id(c, PDTA_NAMES[l])) sf->list[l] = s;
      });
  });
  if (!fits || !sf->info.p || !sf->smpl.p) return *why = "a chunk is missing or torn", false;
  return parse_lists(sf, why);
}

// ---- choosing what to keep ----

std::map<preset_id, std::uint32_t> preset_index(const soundfont& sf) {
  std::map<preset_id, std::uint32_t> at;
  for (std::uint32_t i = 0; i + 1 < sf.count(PHDR); i++) {
    const std::uint8_t* r = sf.rec(PHDR, i);
    at.emplace(preset_id(le16(r + 22), le16(r + 20)), i);
  }
  return at;
}

// The presets the synthesiser may choose for `p`: the one found, or for one
// missing, those a program change falls back to (the drum bank's first kit;
// bank 0's same program, then bank 0's first).
std::vector<std::uint32_t> resolve(const std::map<preset_id, std::uint32_t>& at, preset_id p) {
  std::vector<std::uint32_t> found;
  auto add = [&](preset_id q) {
    auto it = at.find(q);
    if (it != at.end()) found.push_back(it->second);
  };
  add(p);
  if (!found.empty()) return found;
  if (p.first == SF2_DRUM_BANK) {
    add({SF2_DRUM_BANK, 0});
  } else {
    add({0, p.second});
    add({0, 0});
  }
  return found;
}

// Which presets are kept and the notes each one plays.
void chosen_presets(const soundfont& sf, const midi_use& use, std::vector<bool>* keep,
                    std::vector<note_set>* notes) {
  auto at = preset_index(sf);
  keep->assign(sf.count(PHDR), false);
  notes->assign(sf.count(PHDR), {});
  auto play = [&](preset_id p, const note_set& n) {
    for (std::uint32_t i : resolve(at, p)) {
      (*keep)[i] = true;
      (*notes)[i].insert(n.begin(), n.end());
    }
  };
  for (const auto& [p, n] : use.notes) play(p, n);
  for (int ch = 0; ch < 16; ch++) {
    if (use.loose[ch].empty()) continue;
    play({ch == MIDI_DRUM_CHANNEL ? SF2_DRUM_BANK : 0, 0}, use.loose[ch]);
    for (preset_id p : use.selected[ch]) play(p, use.loose[ch]);
  }
}

constexpr std::uint32_t GEN_KEY_RANGE = 43;
constexpr std::uint32_t GEN_VEL_RANGE = 44;

struct zone_choice {
  std::vector<bool> keep_bag;  // zones of the lists' headers
  std::vector<bool> keep_next; // what the kept zones name (instruments or samples)
  std::vector<note_set> notes; // the notes that reach each of those
};

// The zones of the kept headers that sound: a header's global zone, and each
// zone whose key and velocity ranges take one of the header's notes; those
// notes pass on to the instrument or sample the zone names.
zone_choice choose_zones(const soundfont& sf, int hdr, int bag, int gen, std::uint32_t oper,
                         std::size_t next_count, const std::vector<bool>& keep,
                         const std::vector<note_set>& notes) {
  zone_choice z;
  z.keep_bag.assign(sf.count(bag), false);
  z.keep_next.assign(next_count, false);
  z.notes.assign(next_count, {});
  for (std::uint32_t i = 0; i + 1 < sf.count(hdr); i++) {
    if (!keep[i]) continue;
    for (std::uint32_t b = sf.bag_of(hdr, i); b < sf.bag_of(hdr, i + 1); b++) {
      int key_lo = 0, key_hi = 127, vel_lo = 0, vel_hi = 127;
      std::uint32_t target = next_count;
      for (std::uint32_t g = le16(sf.rec(bag, b)); g < le16(sf.rec(bag, b + 1)); g++) {
        const std::uint8_t* r = sf.rec(gen, g);
        std::uint32_t op = le16(r);
        if (op == GEN_KEY_RANGE) key_lo = r[2], key_hi = r[3];
        if (op == GEN_VEL_RANGE) vel_lo = r[2], vel_hi = r[3];
        if (op == oper) target = le16(r + 2);
      }
      if (target >= next_count) { // a global zone, or one the synthesiser skips
        z.keep_bag[b] = true;
        continue;
      }
      for (note_id n : notes[i]) {
        if (n.first < key_lo || n.first > key_hi || n.second < vel_lo || n.second > vel_hi)
          continue;
        z.keep_bag[b] = z.keep_next[target] = true;
        z.notes[target].insert(n);
      }
    }
  }
  return z;
}

// ---- writing ----

struct writer {
  sf2_bytes out;
  void bytes(const void* p, std::size_t n) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    out.insert(out.end(), b, b + n);
  }
  std::size_t open(const char* id, const char* list_type = nullptr) {
    bytes(id, 4);
    std::size_t at = out.size();
    bytes("\0\0\0\0", 4);
    if (list_type) bytes(list_type, 4);
    return at;
  }
  void close(std::size_t at) {
    std::size_t n = out.size() - at - 4;
    put32(out.data() + at, static_cast<std::uint32_t>(n));
    if (n & 1) out.push_back(0);
  }
  void chunk(const char* id, const sf2_bytes& body) {
    std::size_t at = open(id);
    bytes(body.data(), body.size());
    close(at);
  }
};

// New index of each kept entry, in the original order.
std::vector<std::uint32_t> renumber(const std::vector<bool>& keep) {
  std::vector<std::uint32_t> to(keep.size(), 0);
  std::uint32_t n = 0;
  for (std::size_t i = 0; i < keep.size(); i++)
    if (keep[i]) to[i] = n++;
  return to;
}

struct zone_lists {
  sf2_bytes hdr, bag, mod, gen;
};

// The kept headers with their zones, generators and modulators, the
// generator `oper` renumbered through `to`, and the closing records.
zone_lists copy_zones(const soundfont& sf, int hdr, int bag, int mod, int gen,
                      const std::vector<bool>& keep, const std::vector<bool>& keep_bag,
                      std::uint32_t oper, const std::vector<std::uint32_t>& to) {
  zone_lists z;
  auto append = [](sf2_bytes& v, const std::uint8_t* p, std::uint32_t n) {
    v.insert(v.end(), p, p + n);
  };
  auto count = [](const sf2_bytes& v, int l) {
    return static_cast<std::uint32_t>(v.size()) / PDTA_SIZES[l];
  };
  for (std::uint32_t i = 0; i < sf.count(hdr); i++) {
    bool last = i + 1 == sf.count(hdr);
    if (!last && !keep[i]) continue;
    append(z.hdr, sf.rec(hdr, i), PDTA_SIZES[hdr]);
    put16(z.hdr.data() + z.hdr.size() - PDTA_SIZES[hdr] + bag_field(hdr), count(z.bag, bag));
    if (last) break;
    for (std::uint32_t b = sf.bag_of(hdr, i); b < sf.bag_of(hdr, i + 1); b++) {
      if (!keep_bag[b]) continue;
      const std::uint8_t* r = sf.rec(bag, b);
      std::uint8_t rec[4];
      put16(rec, count(z.gen, gen));
      put16(rec + 2, count(z.mod, mod));
      append(z.bag, rec, 4);
      for (std::uint32_t g = le16(r); g < le16(r + 4); g++) {
        append(z.gen, sf.rec(gen, g), 4);
        std::uint8_t* w = z.gen.data() + z.gen.size() - 4;
        if (le16(w) == oper) put16(w + 2, le16(w + 2) < to.size() ? to[le16(w + 2)] : 0);
      }
      for (std::uint32_t m = le16(r + 2); m < le16(r + 6); m++)
        append(z.mod, sf.rec(mod, m), PDTA_SIZES[mod]);
    }
  }
  std::uint8_t end_bag[4];
  put16(end_bag, count(z.gen, gen));
  put16(end_bag + 2, count(z.mod, mod));
  append(z.bag, end_bag, 4);
  append(z.gen, sf.rec(gen, sf.count(gen) - 1), 4);
  append(z.mod, sf.rec(mod, sf.count(mod) - 1), PDTA_SIZES[mod]);
  return z;
}

struct sample_data {
  sf2_bytes shdr, smpl, sm24;
};

// Each kept sample's points with the guard points after them, moved up
// together; its header's start, end and loop points moved with them.
sample_data copy_samples(const soundfont& sf, const std::vector<bool>& keep) {
  sample_data d;
  const std::vector<std::uint32_t> to = renumber(keep);
  std::uint32_t points = sf.smpl.size / 2;
  bool deep = sf.sm24.p && sf.sm24.size >= points;
  for (std::uint32_t i = 0; i < sf.count(SHDR); i++) {
    bool last = i + 1 == sf.count(SHDR);
    if (!last && !keep[i]) continue;
    const std::uint8_t* r = sf.rec(SHDR, i);
    d.shdr.insert(d.shdr.end(), r, r + PDTA_SIZES[SHDR]);
    if (last) break;
    std::uint8_t* w = d.shdr.data() + d.shdr.size() - PDTA_SIZES[SHDR];
    std::uint32_t start = std::min(le32(r + 20), points);
    std::uint32_t end = std::min(std::max(le32(r + 24), start), points);
    std::uint32_t stop = std::min(end + SAMPLE_GUARD, points);
    std::uint32_t at = static_cast<std::uint32_t>(d.smpl.size() / 2);
    for (int f = 0; f < 4; f++) put32(w + 20 + 4 * f, le32(r + 20 + 4 * f) - start + at);
    if (!(le16(r + 44) & SAMPLE_ROM) && le16(r + 44) != SAMPLE_MONO)
      put16(w + 42, le16(r + 42) < to.size() ? to[le16(r + 42)] : 0);
    // the guard points as the file has them, zeros where it ends first
    std::size_t points_after = 2 * (static_cast<std::size_t>(at) + end - start + SAMPLE_GUARD);
    d.smpl.insert(d.smpl.end(), sf.smpl.p + 2 * start, sf.smpl.p + 2 * stop);
    d.smpl.resize(points_after, 0);
    if (deep) {
      d.sm24.insert(d.sm24.end(), sf.sm24.p + start, sf.sm24.p + stop);
      d.sm24.resize(points_after / 2, 0);
    }
  }
  return d;
}

} // namespace

bool midi_use_of(const sf2_bytes& midi, midi_use* use, std::string* why) {
  const std::uint8_t* p = midi.data();
  std::uint32_t size = static_cast<std::uint32_t>(midi.size());
  if (size < 14 || std::memcmp(p, "MThd", 4) != 0 || be32(p + 4) < 6 || be32(p + 4) > size - 8)
    return *why = "not a standard MIDI file (no MThd header)", false;
  std::vector<timed_event> events;
  std::uint32_t at = 8 + be32(p + 4), track = 0;
  while (at + 8 <= size) {
    std::uint32_t n = be32(p + at + 4);
    if (n > size - at - 8) return *why = "a track runs past the end of the file", false;
    if (std::memcmp(p + at, "MTrk", 4) == 0 &&
        !track_events(midi_reader{p + at + 8, p + at + 8 + n}, track++, &events))
      return *why = "a track's events are malformed", false;
    at += 8 + n;
  }
  // in the order the player merges the tracks: by tick, ties in file order
  std::sort(events.begin(), events.end(), [](const timed_event& a, const timed_event& b) {
    return std::tie(a.tick, a.track, a.seq) < std::tie(b.tick, b.track, b.seq);
  });
  channel_state chs[16];
  for (const timed_event& e : events) channel_event(e.status, e.d1, e.d2, chs, use);
  return true;
}

bool sf2_subset(const sf2_bytes& sf2, const midi_use& use, sf2_bytes* out, std::string* why) {
  soundfont sf;
  if (!parse(sf2, &sf, why)) return false;
  std::vector<bool> presets;
  std::vector<note_set> notes;
  chosen_presets(sf, use, &presets, &notes);
  // the closing records are no zones' targets: they are written apart
  zone_choice pz =
      choose_zones(sf, PHDR, PBAG, PGEN, GEN_INSTRUMENT, sf.count(INST) - 1, presets, notes);
  zone_choice iz =
      choose_zones(sf, INST, IBAG, IGEN, GEN_SAMPLE_ID, sf.count(SHDR) - 1, pz.keep_next, pz.notes);
  std::vector<bool> insts = pz.keep_next, samples = iz.keep_next;
  insts.push_back(false);
  samples.push_back(false);
  // a stereo sample keeps its other half
  for (std::uint32_t i = 0; i + 1 < sf.count(SHDR); i++) {
    const std::uint8_t* r = sf.rec(SHDR, i);
    if (samples[i] && !(le16(r + 44) & SAMPLE_ROM) && le16(r + 44) != SAMPLE_MONO &&
        le16(r + 42) + 1u < sf.count(SHDR))
      samples[le16(r + 42)] = true;
  }
  zone_lists p =
      copy_zones(sf, PHDR, PBAG, PMOD, PGEN, presets, pz.keep_bag, GEN_INSTRUMENT, renumber(insts));
  zone_lists i =
      copy_zones(sf, INST, IBAG, IMOD, IGEN, insts, iz.keep_bag, GEN_SAMPLE_ID, renumber(samples));
  sample_data s = copy_samples(sf, samples);

  writer w;
  std::size_t riff = w.open("RIFF", "sfbk");
  std::size_t info = w.open("LIST", "INFO");
  w.bytes(sf.info.p, sf.info.size);
  w.close(info);
  std::size_t sdta = w.open("LIST", "sdta");
  w.chunk("smpl", s.smpl);
  if (!s.sm24.empty()) w.chunk("sm24", s.sm24);
  w.close(sdta);
  std::size_t pdta = w.open("LIST", "pdta");
  const sf2_bytes* lists[PDTA_LISTS] = {&p.hdr, &p.bag, &p.mod, &p.gen, &i.hdr,
                                        &i.bag, &i.mod, &i.gen, &s.shdr};
  for (int l = 0; l < PDTA_LISTS; l++) w.chunk(PDTA_NAMES[l], *lists[l]);
  w.close(pdta);
  w.close(riff);
  *out = std::move(w.out);
  return true;
}
