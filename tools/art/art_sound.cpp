#include "tools/art/art_sound.h"

#include "tools/art/art.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace {

const char* const effect_names[] = {"ATK",        "BATTLESTART", "CANCEL",  "DOOR",     "HAKU",
                                    "INFO",       "ITEMGET",     "KAIDAN",  "MAGICGET", "MENUSOUND",
                                    "MENUSOUND2", "TEKIATK",     "WALLSTOP"};

std::string voice_of(const src_line& l, voice& v) {
  static const std::set<std::string> waves = {"square", "sine", "triangle", "saw", "noise"};
  if (l.words.size() < 7 || !waves.count(l.words[1]))
    return fault(
        l, "expected: voice square|sine|triangle|saw|noise FROM-HZ TO-HZ START DURATION VOLUME");
  v.wave = l.words[1];
  double* nums[] = {&v.f0, &v.f1, &v.start, &v.dur, &v.volume};
  const double hi[] = {12000, 12000, 5, 5, 1};
  for (int i = 0; i < 5; i++)
    if (!num_of(l.words[2 + i], 0, hi[i], *nums[i]))
      return fault(l, "bad number " + l.words[2 + i]);
  if (v.dur <= 0) return fault(l, "a voice lasts longer than 0 seconds");
  auto o = options_of(l, 7);
  for (auto& [k, val] : o) {
    double* d = k == "attack"    ? &v.attack
                : k == "duty"    ? &v.duty
                : k == "vibrato" ? &v.vibrato
                                 : nullptr;
    if (!d || !num_of(val, 0, 100, *d)) return fault(l, "bad option " + k + "=" + val);
  }
  return "";
}

double wave_at(const std::string& w, double phase, double duty, unsigned& noise) {
  double f = phase - std::floor(phase);
  if (w == "square") return f < duty ? 1.0 : -1.0;
  if (w == "sine") return std::sin(f * 6.283185307);
  if (w == "triangle") return f < 0.5 ? 4 * f - 1 : 3 - 4 * f;
  if (w == "saw") return 2 * f - 1;
  noise = noise * 1103515245u + 12345u;
  return ((noise >> 16) & 0x7FFF) / 16383.5 - 1.0;
}

} // namespace

std::string read_sounds(const std::vector<src_line>& lines, std::vector<sound_def>& out) {
  for (const auto& l : lines) {
    if (l.words[0] == "sound") {
      if (l.words.size() != 2) return fault(l, "expected: sound NAME");
      bool known = false;
      for (const char* n : effect_names) known |= l.words[1] == n;
      if (!known) return fault(l, "no sound effect is named " + l.words[1]);
      for (const auto& s : out)
        if (s.name == l.words[1]) return fault(l, l.words[1] + " is made twice");
      out.push_back({l.words[1], {}});
    } else if (l.words[0] == "voice") {
      if (out.empty()) return fault(l, "a voice before the first sound line");
      voice v;
      if (auto e = voice_of(l, v); !e.empty()) return e;
      out.back().voices.push_back(v);
    } else
      return fault(l, "expected a sound or voice line");
  }
  for (const auto& s : out)
    if (s.voices.empty()) return lines.back().file + ": sound " + s.name + " has no voice";
  return "";
}

std::vector<std::int16_t> render_sound(const sound_def& s) {
  double end = 0;
  for (const auto& v : s.voices) end = std::max(end, v.start + v.dur);
  std::vector<double> mix(static_cast<std::size_t>(end * SOUND_RATE) + 1, 0.0);
  unsigned noise = 1;
  for (const auto& v : s.voices) {
    double phase = 0;
    int first = static_cast<int>(v.start * SOUND_RATE), n = static_cast<int>(v.dur * SOUND_RATE);
    for (int i = 0; i < n; i++) {
      double t = static_cast<double>(i) / SOUND_RATE, u = t / v.dur;
      // exponential sweep, so octaves take equal time
      double f = v.f0 * std::pow(v.f1 / std::max(1.0, v.f0), u);
      f *= 1 + 0.02 * std::sin(t * v.vibrato * 6.283185307);
      phase += f / SOUND_RATE;
      double env = std::min(1.0, t / std::max(v.attack, 1e-4)) * std::pow(1 - u, 1.6);
      mix[first + i] += v.volume * env * wave_at(v.wave, phase, v.duty, noise);
    }
  }
  double peak = 1e-9;
  for (double x : mix) peak = std::max(peak, std::abs(x));
  std::vector<std::int16_t> out;
  for (double x : mix)
    out.push_back(static_cast<std::int16_t>(std::lround(x / peak * SOUND_PEAK * 32767)));
  return out;
}

std::vector<std::uint8_t> wav_bytes(const std::vector<std::int16_t>& samples) {
  std::vector<std::uint8_t> v;
  auto put = [&](unsigned x, int n) {
    for (int i = 0; i < n; i++) v.push_back((x >> (8 * i)) & 0xFF);
  };
  auto tag = [&](const char* t) {
    for (int i = 0; i < 4; i++) v.push_back(static_cast<std::uint8_t>(t[i]));
  };
  unsigned data = static_cast<unsigned>(samples.size() * 2);
  tag("RIFF"), put(36 + data, 4), tag("WAVE");
  tag("fmt "), put(16, 4), put(1, 2), put(1, 2), put(SOUND_RATE, 4), put(SOUND_RATE * 2, 4),
      put(2, 2), put(16, 2);
  tag("data"), put(data, 4);
  for (std::int16_t s : samples) put(static_cast<std::uint16_t>(s), 2);
  return v;
}

std::string make_sounds(const art_paths& p) {
  std::vector<src_line> lines;
  std::vector<sound_def> defs;
  std::string path = p.content + "/art/sounds.txt";
  if (auto e = read_source(path, lines); !e.empty()) return e;
  if (lines.empty()) return path + ": no sounds";
  if (auto e = read_sounds(lines, defs); !e.empty()) return e;
  for (const char* n : effect_names) {
    auto it =
        std::find_if(defs.begin(), defs.end(), [&](const sound_def& s) { return s.name == n; });
    if (it == defs.end()) return path + ": no sound " + n;
    auto bytes = wav_bytes(render_sound(*it));
    if (auto e = write_file(p.resources + "/" + n + ".wav", bytes.data(), bytes.size()); !e.empty())
      return e;
  }
  return "";
}
