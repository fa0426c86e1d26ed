// The built sounds and music read back with the game's own WAV parser and
// MIDI reader: formats, levels, lengths and tracks that end together; and
// the music as the game's own synthesiser plays it, for its loudness.
#include "art_test_files.h"

#include "audio/music.h"
#include "audio/sound.h"
#include "platform/headless/headless.h"
#include "platform/headless/sound_headless.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace {

std::vector<std::string> music_list() {
  std::ifstream in(game_file("rpgmidlst.lst"));
  std::vector<std::string> names;
  for (std::string l; std::getline(in, l);) names.push_back(l);
  return names;
}

// What the player's own track reader finds in a piece.
struct piece_facts {
  int tracks = -1;                 // -1: the file does not read
  std::vector<std::uint32_t> ends; // the tick of each track's end-of-track event
  std::vector<std::uint32_t> tempos;
  std::uint32_t last_tick = 0, division = 1;
  int late_metas = 0; // meta events after the start, but tempos and ends
  // One tempo for the whole piece, or the seconds would be wrong.
  double seconds() const {
    return tempos.size() == 1 ? double(last_tick) * tempos[0] / division / 1e6 : 0;
  }
};

piece_facts facts_of(const std::string& path) {
  piece_facts f;
  reset_music_state();
  if (midi_open_file(path.c_str()) != 0) return f;
  f.tracks = music.track_count, f.division = music.division;
  for (int i = 0; i < music.track_count; i++) {
    bool ended = false;
    for (int guard = 0; guard < 100000 && !ended; guard++) {
      midi_event ev;
      if (midi_read_event(&music.tracks[i], &ev) != 0) break;
      int meta = ev.status == 0xFF ? ev.data[0] : -1;
      if (meta == 0x51)
        f.tempos.push_back(ev.length == 3 ? ev.block[0] << 16 | ev.block[1] << 8 | ev.block[2] : 0);
      else if (meta == 0x2F)
        ended = true, f.ends.push_back(ev.tick);
      else if (meta >= 0 && ev.tick != 0)
        f.late_metas++;
      f.last_tick = std::max(f.last_tick, ev.tick);
      midi_free_block(&ev);
    }
  }
  midi_close_file();
  midi_free_tracks();
  return f;
}

// RMS and peak, in dB of full scale, of the first `seconds` of a file as
// the game's synthesiser plays it once, heard through the headless capture.
struct level {
  double rms_db = -200, peak_db = -200;
};
level heard_level(const std::string& path, double seconds) {
  headless_audio_reset();
  reset_music_state();
  headless_reset();
  if (headless_audio_capture_start("level.wav") != 0) return {};
  music_play(path.c_str());
  for (int ms = 0; ms < seconds * 1000; ms += 10) headless_advance(10), headless_audio_pump();
  music_stop();
  headless_audio_capture_stop();
  auto b = read_file("level.wav");
  wave_info w;
  if (b.empty() || parse_wave(b.data(), b.size(), &w) != 1 || w.size < 4) return {};
  double sum = 0;
  int peak = 1;
  for (std::uint32_t i = 0; i + 1 < w.size; i += 2) {
    std::int16_t v;
    std::memcpy(&v, w.data + i, 2);
    sum += double(v) * v, peak = std::max(peak, std::abs(int(v)));
  }
  double full = 32768.0;
  return {10 * std::log10(sum / (w.size / 2) / full / full + 1e-20), 20 * std::log10(peak / full)};
}

} // namespace

TEST(ArtSounds, EveryEffectParsesAsShortCleanSixteenBitPcm) {
  for (const sound_effect_row& e : sound_effects) {
    std::string name = e.resource;
    std::transform(name.begin(), name.end(), name.begin(), ::toupper);
    SCOPED_TRACE(name);
    auto bytes = read_file(resource_file(name + ".wav"));
    wave_info w;
    ASSERT_EQ(parse_wave(bytes.data(), bytes.size(), &w), 1);
    EXPECT_EQ(w.format.format_tag, 1);
    EXPECT_EQ(w.format.bits_per_sample, 16);
    EXPECT_TRUE(w.format.samples_per_sec == 22050 || w.format.samples_per_sec == 44100);
    EXPECT_TRUE(w.format.channels == 1 || w.format.channels == 2);
    double seconds = static_cast<double>(w.size) / w.format.avg_bytes_per_sec;
    EXPECT_GT(seconds, 0.03);
    EXPECT_LT(seconds, 1.5);
    int peak = 0;
    for (std::uint32_t i = 0; i + 1 < w.size; i += 2) {
      int s = static_cast<std::int16_t>(w.data[i] | w.data[i + 1] << 8);
      peak = std::max(peak, std::abs(s));
    }
    EXPECT_LT(peak, 32000) << "clips";
    EXPECT_GT(peak, 8000) << "is too quiet";
  }
}

// Every piece of the list reads, its tracks (a tempo track and at least melody
// and bass) end together, it has no meta event but the tempo after the start
// (the player drops those with their time, which shifts every later note),
// and it lasts as long as its use asks. Start-up plays the title once, so it
// lasts as long as a player may sit on the title screen; event tunes (the
// opening among them) and the game's own jingles hold every key until they
// end, so they stay short; every other piece loops, and a loop heard for an
// hour must not be a snippet.
TEST(ArtMusic, TheListNamesTwentyFourPiecesOfTheirLengthsThatTheGameCanRead) {
  const struct {
    int first, last;
    double shortest, longest;
  } rules[] = {
      {0, 0, 180, 600},  {3, 3, 1, 10}, // a battle won
      {7, 7, 1, 10},                    // treasure
      {13, 13, 1, 10},                  // the inn
      {16, 17, 1, 20},                  // a sad and a happy scene
      {18, 18, 1, 30},                  // the opening tale
      {20, 20, 1, 10},                  // a fallen party
      {19, 19, 60, 300},                // the ending, heard once to its close
  };
  auto names = music_list();
  ASSERT_EQ(names.size(), std::size_t(MUSIC_COUNT));
  // the names the game carries built in for entries 0 and 1
  EXPECT_EQ(names[0], "title.mid");
  EXPECT_EQ(names[1], "field.mid");
  for (int n = 0; n < MUSIC_COUNT; n++) {
    SCOPED_TRACE(names[n]);
    EXPECT_LE(names[n].size(), 39u);
    EXPECT_EQ(names[n].find('\r'), std::string::npos);
    auto b = read_file(game_file(names[n]));
    ASSERT_GE(b.size(), 22u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "MThd");
    EXPECT_EQ(b[9], 1) << "format 1";
    piece_facts f = facts_of(game_file(names[n]));
    ASSERT_GE(f.tracks, 3);
    ASSERT_EQ(f.ends.size(), std::size_t(f.tracks));
    for (auto e : f.ends) EXPECT_EQ(e, f.ends[0]) << "every track ends on the same tick";
    EXPECT_GT(f.ends[0], 0u);
    EXPECT_EQ(f.late_metas, 0);
    double lo = 60, hi = 300;
    for (const auto& r : rules)
      if (n >= r.first && n <= r.last) lo = r.shortest, hi = r.longest;
    EXPECT_GE(f.seconds(), lo);
    EXPECT_LE(f.seconds(), hi);
  }
}

TEST(ArtMusic, EveryPieceIsAsLoudAsTheOthersAndNoneClips) {
  // The first seconds of each piece (the whole of a short one).
  constexpr double WINDOW_S = 12, TOLERANCE_DB = 3;
  // The game's mix: the score near -22 dBFS RMS, under the effects.
  constexpr double QUIETEST_DB = -25, LOUDEST_DB = -17, PEAK_LIMIT_DB = -2;
  std::vector<double> rms;
  auto names = music_list();
  for (const auto& n : names) {
    level l = heard_level(game_file(n), std::min(facts_of(game_file(n)).seconds(), WINDOW_S));
    if (std::any_of(headless.log.begin(), headless.log.end(),
                    [](const std::string& line) { return line.rfind("audio: ", 0) == 0; }))
      GTEST_SKIP() << "no General MIDI soundfont here";
    EXPECT_LT(l.peak_db, PEAK_LIMIT_DB) << n;
    rms.push_back(l.rms_db);
  }
  std::vector<double> sorted = rms;
  std::sort(sorted.begin(), sorted.end());
  double median = sorted[sorted.size() / 2];
  EXPECT_GT(median, QUIETEST_DB);
  EXPECT_LT(median, LOUDEST_DB);
  for (std::size_t i = 0; i < rms.size(); i++)
    EXPECT_NEAR(rms[i], median, TOLERANCE_DB) << names[i];
}
