// The built sounds and music read back with the game's own WAV parser and
// MIDI reader: formats, levels, lengths and tracks that end together.
#include "art_test_files.h"

#include "audio/music.h"
#include "audio/sound.h"

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
  for (int i = 0; i < mus.track_count; i++) {
    midi_track* t = &mus.tracks[i];
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
    for (int i = 0; i < mus.track_count; i++)
      for (int guard = 0; guard < 100000; guard++) {
        midi_event ev;
        if (midi_read_event(&mus.tracks[i], &ev) != 0) break;
        bool meta = ev.status == 0xFF && ev.data[0] != 0x51 && ev.data[0] != 0x2F;
        EXPECT_FALSE(meta && ev.tick != 0) << n << " track " << i << " tick " << ev.tick;
        bool ended = ev.status == 0xFF && ev.data[0] == 0x2F;
        midi_free_block(&ev);
        if (ended) break;
      }
    close_piece();
  }
}
