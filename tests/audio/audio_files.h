// Small WAV and MIDI files written by the tests themselves.
#pragma once
#include "tests/common/test_files.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using bytes = std::vector<std::uint8_t>;

inline void put(bytes& b, const std::string& s) {
  b.insert(b.end(), s.begin(), s.end());
}
// Past the value's four bytes the field is padded with zeros (the soundfont
// tests write wider blank fields this way).
inline void put_le(bytes& b, std::uint32_t v, int n) {
  for (int i = 0; i < n; i++) b.push_back(i < 4 ? static_cast<std::uint8_t>(v >> (8 * i)) : 0);
}
inline void put_be(bytes& b, std::uint32_t v, int n) {
  for (int i = n - 1; i >= 0; i--) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void put_varlen(bytes& b, std::uint32_t v) {
  std::uint8_t tmp[5];
  int n = 0;
  tmp[n++] = v & 0x7F;
  while (v >>= 7) tmp[n++] = static_cast<std::uint8_t>(0x80 | (v & 0x7F));
  while (n) b.push_back(tmp[--n]);
}

// A RIFF chunk, padded to an even size.
inline void chunk(bytes& b, const std::string& id, const bytes& data) {
  put(b, id);
  put_le(b, static_cast<std::uint32_t>(data.size()), 4);
  b.insert(b.end(), data.begin(), data.end());
  if (data.size() & 1) b.push_back(0);
}

inline bytes fmt_chunk(int channels, std::uint32_t rate, int bits, int size = 16) {
  bytes f;
  put_le(f, 1, 2);
  put_le(f, channels, 2);
  put_le(f, rate, 4);
  put_le(f, rate * channels * bits / 8, 4);
  put_le(f, channels * bits / 8, 2);
  put_le(f, bits, 2);
  f.resize(size, 0);
  return f;
}

inline bytes riff(const bytes& chunks) {
  bytes b;
  put(b, "RIFF");
  put_le(b, static_cast<std::uint32_t>(chunks.size() + 4), 4);
  put(b, "WAVE");
  b.insert(b.end(), chunks.begin(), chunks.end());
  return b;
}

// A mono 16-bit wave of `ms` milliseconds of a square tone at 22050 Hz.
inline bytes tone_wav(int ms) {
  bytes data;
  int n = 22050 * ms / 1000;
  for (int i = 0; i < n; i++)
    put_le(data, (i / 25) % 2 ? 8000 : static_cast<std::uint16_t>(-8000), 2);
  bytes c;
  chunk(c, "fmt ", fmt_chunk(1, 22050, 16));
  chunk(c, "data", data);
  return riff(c);
}

inline bytes smf_header(int tracks, int division, int header_length = 6, int format = 1) {
  bytes b;
  put(b, "MThd");
  put_be(b, header_length, 4);
  put_be(b, format, 2);
  put_be(b, tracks, 2);
  put_be(b, division, 2);
  b.resize(8 + header_length, 0);
  return b;
}

inline void midi_track_chunk(bytes& file, const bytes& events) {
  put(file, "MTrk");
  put_be(file, static_cast<std::uint32_t>(events.size()), 4);
  file.insert(file.end(), events.begin(), events.end());
}

// A format 1 file of the given tracks.
inline bytes smf(const std::vector<bytes>& tracks, int division = 96, int header_length = 6) {
  bytes f = smf_header(static_cast<int>(tracks.size()), division, header_length);
  for (const bytes& t : tracks) midi_track_chunk(f, t);
  return f;
}

// Track events: delta, then the event bytes.
inline void ev(bytes& t, std::uint32_t delta, std::initializer_list<int> data) {
  put_varlen(t, delta);
  for (int d : data) t.push_back(static_cast<std::uint8_t>(d));
}
inline void tempo_ev(bytes& t, std::uint32_t delta, std::uint32_t us) {
  ev(t, delta, {0xFF, 0x51, 3, int(us >> 16 & 0xFF), int(us >> 8 & 0xFF), int(us & 0xFF)});
}
inline void end_ev(bytes& t, std::uint32_t delta) {
  ev(t, delta, {0xFF, 0x2F, 0});
}

// A stream event of a converted buffer.
struct stream_ev {
  std::uint32_t delta, id, word;
};
inline std::vector<stream_ev> events_of(const std::uint8_t* data, std::uint32_t recorded) {
  std::vector<stream_ev> v;
  for (std::uint32_t o = 0; o + 12 <= recorded; o += 12) {
    stream_ev e;
    std::memcpy(&e, data + o, 12);
    v.push_back(e);
  }
  return v;
}
