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
#include <sstream>

namespace {

const char* const effects[] = {"ATK",        "BATTLESTART", "CANCEL",  "DOOR",     "HAKU",
                               "INFO",       "ITEMGET",     "KAIDAN",  "MAGICGET", "MENUSOUND",
                               "MENUSOUND2", "TEKIATK",     "WALLSTOP"};

std::vector<std::string> music_list() {
  std::ifstream in(game_file("rpgmidlst.lst"));
  std::vector<std::string> names;
  for (std::string l; std::getline(in, l);) names.push_back(l);
  return names;
}

void close_piece() {
  midi_close_file();
  midi_free_tracks();
}

// The tick at which each track's end-of-track event falls, read through the
// player's own track reader; empty when the file does not read.
std::vector<std::uint32_t> track_ends(const std::string& path) {
  reset_music_state();
  std::vector<std::uint32_t> ends;
  if (midi_open_file(path.c_str()) != 0) return ends;
  for (int i = 0; i < music.track_count; i++) {
    midi_track* t = &music.tracks[i];
    std::uint32_t end = 0;
    bool ended = false;
    for (int guard = 0; guard < 100000 && !ended; guard++) {
      midi_event ev;
      if (midi_read_event(t, &ev) != 0) break;
      if (ev.status == 0xFF && ev.data[0] == 0x2F) ended = true, end = ev.tick;
      midi_free_block(&ev);
    }
    if (!ended) return close_piece(), std::vector<std::uint32_t>{};
    ends.push_back(end);
  }
  close_piece();
  return ends;
}

// A piece's length in seconds: its last tick at its tempo, read through the
// player's own track reader; 0 when the file does not read.
double piece_seconds(const std::string& path) {
  reset_music_state();
  if (midi_open_file(path.c_str()) != 0) return 0;
  std::uint32_t end = 0, tempo = 500000;
  int tempos = 0;
  for (int i = 0; i < music.track_count; i++)
    for (int guard = 0; guard < 100000; guard++) {
      midi_event ev;
      if (midi_read_event(&music.tracks[i], &ev) != 0) break;
      if (ev.status == 0xFF && ev.data[0] == 0x51 && ev.length == 3)
        tempo = ev.block[0] << 16 | ev.block[1] << 8 | ev.block[2], tempos++;
      end = std::max(end, ev.tick);
      midi_free_block(&ev);
    }
  close_piece();
  // one tempo for the whole piece, or the seconds below would be wrong
  return tempos == 1 ? double(end) * tempo / music.division / 1e6 : 0;
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
  auto b = file_bytes("level.wav");
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
  for (const char* name : effects) {
    auto bytes = file_bytes(resource_file(std::string(name) + ".wav"));
    wave_info w;
    ASSERT_EQ(parse_wave(bytes.data(), bytes.size(), &w), 1) << name;
    EXPECT_EQ(w.format.format_tag, 1) << name;
    EXPECT_EQ(w.format.bits_per_sample, 16) << name;
    EXPECT_TRUE(w.format.samples_per_sec == 22050 || w.format.samples_per_sec == 44100) << name;
    EXPECT_TRUE(w.format.channels == 1 || w.format.channels == 2) << name;
    double seconds = static_cast<double>(w.size) / w.format.avg_bytes_per_sec;
    EXPECT_GT(seconds, 0.03) << name;
    EXPECT_LT(seconds, 1.5) << name;
    int peak = 0;
    for (std::uint32_t i = 0; i + 1 < w.size; i += 2) {
      int s = static_cast<std::int16_t>(w.data[i] | w.data[i + 1] << 8);
      peak = std::max(peak, std::abs(s));
    }
    EXPECT_LT(peak, 32000) << name << " clips";
    EXPECT_GT(peak, 8000) << name << " is too quiet";
  }
}

TEST(ArtMusic, TheListNamesTwentyFourPiecesThatTheGameCanRead) {
  auto names = music_list();
  ASSERT_EQ(names.size(), 24u);
  for (const auto& n : names) {
    EXPECT_LE(n.size(), 39u) << n;
    EXPECT_EQ(n.find('\r'), std::string::npos) << n;
  }
  // the names the game carries built in for entries 0 and 1
  EXPECT_EQ(names[0], "title.mid");
  EXPECT_EQ(names[1], "field.mid");
  for (const auto& n : names) {
    auto b = file_bytes(game_file(n));
    ASSERT_GE(b.size(), 22u) << n;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "MThd") << n;
    EXPECT_EQ(b[9], 1) << n << ": format 1";
    auto ends = track_ends(game_file(n));
    ASSERT_GE(ends.size(), 3u) << n << ": a tempo track and at least melody and bass";
    for (auto e : ends) EXPECT_EQ(e, ends[0]) << n << ": every track ends on the same tick";
    EXPECT_GT(ends[0], 0u) << n;
  }
}

TEST(ArtMusic, NoMetaEventButTheTempoFallsAfterTheStart) {
  // The player drops such events together with their time, which would
  // shift every later note of the piece.
  for (const auto& n : music_list()) {
    reset_music_state();
    ASSERT_EQ(midi_open_file(game_file(n).c_str()), 0) << n;
    for (int i = 0; i < music.track_count; i++)
      for (int guard = 0; guard < 100000; guard++) {
        midi_event ev;
        if (midi_read_event(&music.tracks[i], &ev) != 0) break;
        bool meta = ev.status == 0xFF && ev.data[0] != 0x51 && ev.data[0] != 0x2F;
        EXPECT_FALSE(meta && ev.tick != 0) << n << " track " << i << " tick " << ev.tick;
        bool ended = ev.status == 0xFF && ev.data[0] == 0x2F;
        midi_free_block(&ev);
        if (ended) break;
      }
    close_piece();
  }
}

TEST(ArtMusic, LoopsLastAMinuteTheTitleThreeAndTheTunesThatHoldKeysStayShort) {
  // Start-up plays the title once, so it lasts as long as a player may sit
  // on the title screen; event tunes (the opening among them) and the game's
  // own jingles hold every key until they end, so they stay short; every
  // other piece loops, and a loop heard for an hour must not be a snippet.
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
  for (int n = 0; n < MUSIC_COUNT; n++) {
    double lo = 60, hi = 300;
    for (const auto& r : rules)
      if (n >= r.first && n <= r.last) lo = r.shortest, hi = r.longest;
    double s = piece_seconds(game_file(names[n]));
    EXPECT_GE(s, lo) << n << " " << names[n];
    EXPECT_LE(s, hi) << n << " " << names[n];
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
    double s = piece_seconds(game_file(n));
    level l = heard_level(game_file(n), std::min(s, WINDOW_S));
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
