// The game folder's cut of the General MIDI soundfont against the installed
// font it was cut from: the whole music list, each piece played to its end
// and its notes' tails, one after another on one synthesiser (so channels
// carry their presets from piece to piece as in play), must render to the
// same samples from either, and never read the font while the stream plays
// (the audio thread, on the real device).
#include "audio/music.h"
#include "platform/headless/headless.h"
#include "platform/headless/sound_headless.h"
#include "platform/midi.h"
#include "platform/soundfont.h"
#include "state/data_files.h"
#include "state/state.h"
#include "tests/common/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t TAIL_MS = 3000;      // the release and the reverb after the last notes
constexpr std::uint32_t LONGEST_MS = 600000; // no piece of the list is longer
constexpr std::uint32_t STEP_MS = 10;

std::string rendered(const fs::path& folder) {
  fs::create_directories(folder);
  fs::path back = fs::current_path();
  EXPECT_EQ(chdir(folder.c_str()), 0);
  headless_audio_reset();
  reset_music_state();
  headless_reset();
  midi_stream_info before = midi_stream_query();
  EXPECT_EQ(headless_audio_capture_start("music.wav"), 0); // the synthesiser loads its font here
  auto advance = [](std::uint32_t ms) {
    for (std::uint32_t t = 0; t < ms; t += STEP_MS) {
      headless_advance(STEP_MS);
      headless_audio_pump();
    }
  };
  for (const auto& entry : game.music_list) {
    music.field_music_on = 0; // once through, as a one-off tune plays
    music_play((fs::path(ZK_GAME_DIR) / entry).c_str());
    for (std::uint32_t t = 0; music.music_state != MUSIC_STOPPED && t < LONGEST_MS; t += STEP_MS)
      advance(STEP_MS);
    advance(TAIL_MS);
    music_stop();
  }
  EXPECT_EQ(headless_audio_capture_stop(), 0);
  // every preset was read when its buffer was queued, none while the stream played
  midi_stream_info after = midi_stream_query();
  EXPECT_GT(after.font_reads_ahead, before.font_reads_ahead) << folder;
  EXPECT_EQ(after.font_reads_while_playing, before.font_reads_while_playing) << folder;
  reset_music_state();
  std::string wav = read_text("music.wav");
  EXPECT_EQ(chdir(back.c_str()), 0);
  return wav;
}

TEST(SoundfontCut, TheMusicSoundsTheSameAsFromTheInstalledFont) {
  fs::path cut = fs::path(ZK_GAME_DIR) / GAME_SOUNDFONT;
  if (!fs::exists(cut)) GTEST_SKIP() << "no soundfont installed, so no cut of it";
  std::FILE* list = std::fopen((fs::path(ZK_GAME_DIR) / "rpgmidlst.lst").c_str(), "rb");
  ASSERT_NE(list, nullptr);
  reset_state();
  ASSERT_EQ(read_music_list(list), 0);
  std::fclose(list);
  fs::create_directories("cut");
  fs::create_symlink(cut, fs::path("cut") / GAME_SOUNDFONT);
  std::string from_cut = rendered("cut"), from_full = rendered("full");
  ASSERT_EQ(from_cut.size(), from_full.size());
  ASSERT_GT(from_cut.size(), 44u + 60u * 44100 * 4) << "a minute of music at least";
  auto differ = std::mismatch(from_cut.begin(), from_cut.end(), from_full.begin()).first;
  EXPECT_TRUE(differ == from_cut.end())
      << "they differ from byte " << differ - from_cut.begin() << " on";
}

} // namespace
