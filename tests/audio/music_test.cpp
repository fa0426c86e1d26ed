// The music player end to end on the headless MIDI stream, whose buffers are
// played and handed back as the virtual clock moves.
#include "audio/music.h"
#include "audio/sound.h"
#include "audio_files.h"
#include "platform/headless/headless.h"
#include "platform/headless/sound_headless.h"
#include "platform/sound.h"
#include "state/state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

namespace {

// The loudest sample of the left channel between two moments of a 44.1 kHz
// 16-bit stereo capture.
int peak_between(const wave_info& w, int from_ms, int to_ms) {
  int peak = 0;
  for (int i = from_ms * 441 / 10; i < to_ms * 441 / 10; i++) {
    std::int16_t s;
    std::memcpy(&s, w.data + i * 4, 2);
    peak = std::max(peak, std::abs(int(s)));
  }
  return peak;
}

// A piece of `notes` notes at 120 quarters a minute, each `ticks` long (96 a
// quarter, half a second).
bytes piece(int notes, int ticks = 96) {
  bytes t;
  tempo_ev(t, 0, 500000);
  for (int i = 0; i < notes; i++) {
    ev(t, 0, {0x90, 60 + i % 12, 100});
    ev(t, ticks, {0x80, 60 + i % 12, 0});
  }
  end_ev(t, 0);
  return smf({t});
}

struct Player : ::testing::Test {
  void SetUp() override {
    headless_audio_reset();
    reset_music_state();
    reset_state();
    headless_reset();
    std::snprintf(game.music_list[3], 40, "tune.mid");
    std::snprintf(game.music_list[4], 40, "field.mid");
    std::snprintf(game.music_list[5], 40, "missing.mid");
    write_file("tune.mid", piece(16, 24));
    write_file("field.mid", piece(2));
  }
  void TearDown() override {
    reset_music_state();
    headless_audio_reset();
  }
  void advance(std::uint32_t ms) {
    for (std::uint32_t t = 0; t < ms; t += 10) {
      headless_advance(10);
      headless_audio_pump();
    }
  }
  int boxes() {
    return static_cast<int>(
        std::count_if(headless.log.begin(), headless.log.end(),
                      [](const std::string& l) { return l.rfind("box:", 0) == 0; }));
  }
};

TEST_F(Player, AOneOffTuneStoppedForALoopingPieceNoLongerHoldsTheKeys) {
  play_tune(3);
  ASSERT_EQ(music.tune_playing, 1);
  music_stop();
  EXPECT_EQ(music.tune_playing, 0);
  music.field_music_on = 1;
  play_music_entry(1);
  advance(500);
  EXPECT_EQ(music.tune_playing, 0);
}

TEST_F(Player, AOneOffTuneClearsTunePlayingShortlyBeforeItsLastNotes) {
  play_tune(3);
  ASSERT_EQ(music.tune_playing, 1);
  EXPECT_EQ(music.field_music_on, 0);
  std::uint64_t total = 1 + 16 * 2; // the tempo and the notes
  int cleared_at = -1, sounded_at = -1;
  for (int ms = 10; ms <= 3000; ms += 10) {
    advance(10);
    if (cleared_at < 0 && music.tune_playing == 0) cleared_at = ms;
    if (sounded_at < 0 && midi_stream_query().events_played >= total) sounded_at = ms;
  }
  ASSERT_GT(cleared_at, 0);
  ASSERT_GT(sounded_at, 0);
  EXPECT_LE(cleared_at, sounded_at);
  EXPECT_GT(cleared_at, sounded_at - 400); // within the last two buffers
  EXPECT_NEAR(sounded_at, 2000, 20);
  EXPECT_EQ(music.music_state, MUSIC_STOPPED);
  advance(1000);
  EXPECT_EQ(midi_stream_query().events_played, total); // played once
  EXPECT_EQ(midi_stream_query().queued, 0);
}

TEST_F(Player, FieldMusicLoops) {
  music.field_music_on = 1;
  play_music_entry(4);
  EXPECT_EQ(music.setup_result, 0);
  advance(5000); // five passes of one second
  std::uint64_t played = midi_stream_query().events_played;
  EXPECT_GE(played, 4u * 4);
  EXPECT_LE(played, 6u * 5); // a pass is its tempo and four notes
  EXPECT_EQ(music.music_state, MUSIC_PLAYING);
  EXPECT_EQ(music.music_playing, 1);
  music_stop();
  EXPECT_EQ(midi_stream_query().open, false);
  EXPECT_EQ(music.buffers, nullptr);
  EXPECT_EQ(music.tracks, nullptr);
}

TEST_F(Player, PlayRightAfterStopSendsNoChannelVolumes) {
  music_stop();
  music_play("field.mid");
  EXPECT_EQ(midi_stream_query().short_msgs, 0);
  // without a Stop between, the piece already plays: the volumes go out
  music_play("field.mid");
  midi_stream_info i = midi_stream_query();
  EXPECT_EQ(i.short_msgs, 16);
  EXPECT_EQ(i.last_short, 0xBFu | 7 << 8 | 100 << 16);
}

TEST_F(Player, WithoutMidiOutputTheBoxShowsOnceAndMusicStaysOff) {
  headless_audio_set_devices(true, false);
  music_play("field.mid");
  EXPECT_EQ(music.music_failed, 1);
  ASSERT_EQ(boxes(), 1);
  EXPECT_NE(
      std::find(headless.log.begin(), headless.log.end(), "box: [] No MIDI output is available."),
      headless.log.end());
  music_stop();
  music_play("tune.mid");
  play_tune(3);
  EXPECT_EQ(music.tune_playing, 0); // keys are not swallowed for a tune never heard
  EXPECT_EQ(music_key_restart(), 0);
  EXPECT_EQ(boxes(), 1);
}

// A tune or field music that cannot be played leaves the keys free and the
// stream idle, without a box and without spinning.
TEST_F(Player, WhatCannotBePlayedLeavesTheKeysFreeAndTheStreamIdle) {
  bytes t;
  ev(t, 0, {0xFF, 0x01, 1, 'x'}); // nothing to play
  end_ev(t, 10);
  const struct {
    const char* what;
    int entry;
    bool field, silent;
  } cases[] = {
      {"a tune with nothing to play", 3, false, true},
      {"field music with nothing to play", 4, true, true},
      {"a tune past the list", 200, false, false},
      {"field music past the list", 24, true, false},
      {"field music before the list", -1, true, false},
  };
  play_tune(5); // its file is missing
  EXPECT_EQ(music.tune_playing, 0);
  EXPECT_EQ(music_key_restart(), 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    if (c.silent) write_file(c.field ? "field.mid" : "tune.mid", smf({t}));
    music.field_music_on = c.field;
    if (c.field) {
      play_music_entry(c.entry);
    } else {
      play_tune(c.entry);
    }
    advance(200);
    EXPECT_EQ(music.tune_playing, 0);
    EXPECT_EQ(music.music_state, MUSIC_STOPPED);
    EXPECT_EQ(midi_stream_query().queued, 0);
    EXPECT_EQ(boxes(), 0);
    EXPECT_TRUE(c.silent || !midi_stream_query().open) << "nothing was opened";
    music.field_music_on = 0;
    EXPECT_EQ(music_key_restart(), 0);
  }
}

TEST_F(Player, KeysRestartSwallowNextAndMute) {
  play_tune(3);
  EXPECT_EQ(music_key_restart(), 1); // a tune plays: keys are swallowed
  advance(3000);
  EXPECT_EQ(music.tune_playing, 0);
  game.cur_music = 4;
  EXPECT_EQ(music_key_restart(), 0);
  EXPECT_EQ(music.field_music_on, 1);
  EXPECT_STREQ(music.music_file, "field.mid");
  game.cur_music = 23;
  music_next();
  EXPECT_EQ(game.cur_music, 0);
  music_toggle_mute();
  EXPECT_EQ(music.music_muted, 1);
  EXPECT_FALSE(midi_stream_query().open);
  music_play("field.mid"); // does nothing while muted
  EXPECT_FALSE(midi_stream_query().open);
  music.field_music_on = 0;
  EXPECT_EQ(music_key_restart(), 0);
  EXPECT_EQ(music.field_music_on, 0);
  music_toggle_mute();
  EXPECT_EQ(music.music_muted, 0);
  EXPECT_FALSE(midi_stream_query().open); // heard again from the next piece
}

// ---- the platform stream itself ----

std::atomic<int> handed_back{0};
std::thread::id callback_thread;
void test_callback(int message, midi_header* h) {
  if (message != MOM_DONE) return;
  callback_thread = std::this_thread::get_id();
  EXPECT_TRUE(h->flags & MHDR_DONE);
  handed_back++;
}

struct Stream : Player {
  std::uint32_t data[9]{};
  midi_header h;
  void fill(std::initializer_list<std::uint32_t> words) {
    std::copy(words.begin(), words.end(), data);
    h = midi_header{};
    h.data = reinterpret_cast<std::uint8_t*>(data);
    h.buffer_length = sizeof data;
    h.bytes_recorded = static_cast<std::uint32_t>(words.size() * 4);
  }
};

TEST_F(Stream, BuffersComeBackOnThePlatformThreadAtTheirTime) {
  handed_back = 0;
  ASSERT_EQ(midi_stream_open(MIDI_MAPPER, test_callback), MIDI_OK);
  ASSERT_EQ(midi_stream_time_division(96), MIDI_OK);
  // half a second at the first tempo, then a quarter at twice the speed
  fill({96, 0, 0x90 | 60 << 8 | 100 << 16, 0, 0, 250000 | MEVT_TEMPO << 24, 96, 0, 0x80 | 60 << 8});
  EXPECT_EQ(midi_stream_out(&h), MIDI_ERR_UNPREPARED);
  ASSERT_EQ(midi_prepare_header(&h), MIDI_OK);
  ASSERT_EQ(midi_stream_out(&h), MIDI_OK);
  EXPECT_EQ(midi_unprepare_header(&h), MIDI_ERR_STILLPLAYING);
  advance(300);
  EXPECT_EQ(handed_back, 0); // a new stream waits for its restart
  ASSERT_EQ(midi_stream_restart(), MIDI_OK);
  advance(700);
  EXPECT_EQ(handed_back, 0);
  advance(100);
  EXPECT_EQ(handed_back, 1);
  EXPECT_NE(callback_thread, std::this_thread::get_id());
  EXPECT_EQ(midi_stream_query().tempo, 250000u);
  EXPECT_EQ(midi_stream_close(), MIDI_OK);
}

TEST_F(Stream, StopHandsEveryBufferBackBeforeItReturns) {
  handed_back = 0;
  ASSERT_EQ(midi_stream_open(MIDI_MAPPER, test_callback), MIDI_OK);
  fill({10000, 0, 0x90 | 60 << 8 | 100 << 16});
  midi_prepare_header(&h);
  ASSERT_EQ(midi_stream_out(&h), MIDI_OK);
  midi_stream_restart();
  advance(50);
  EXPECT_EQ(midi_stream_stop(), MIDI_OK);
  EXPECT_EQ(handed_back, 1);
  EXPECT_EQ(midi_stream_query().queued, 0);
  EXPECT_EQ(midi_unprepare_header(&h), MIDI_OK);
  midi_stream_close();
  EXPECT_EQ(midi_short_msg(0x90), MIDI_ERR_INVALHANDLE);
  char text[64];
  midi_error_text(MIDI_ERR_INVALHANDLE, text, sizeof text);
  EXPECT_STREQ(text, "The MIDI stream is not open.");
}

// What the capture hears: an effect over silence; then, with a soundfont,
// the music, which the synthesiser stops making once muted and its last
// notes have died away, while the effects go on mixing; music switched on
// again is synthesised again.
TEST_F(Player, TheCaptureHoldsTheEffectsAndTheMusicUnlessMuted) {
  ASSERT_EQ(headless_audio_capture_start("heard.wav"), 0);
  bool font = std::none_of(headless.log.begin(), headless.log.end(),
                           [](const std::string& l) { return l.rfind("audio: ", 0) == 0; });
  ASSERT_EQ(snd_device_open(), 1);
  sound.device = true;
  bytes wave = tone_wav(100);
  wave_info w;
  ASSERT_EQ(parse_wave(wave.data(), wave.size(), &w), 1);
  ASSERT_EQ(sound_create_from(&sound.objects[SND_WALL], w, 1), 1);
  advance(100);
  play_wallstop();
  advance(200);
  std::uint32_t heard_ms = 300;
  if (font) {
    game.cur_music = 4;
    music.field_music_on = 1;
    auto synthesised = [start = midi_stream_query().synth_frames] {
      return midi_stream_query().synth_frames - start;
    };
    play_music_entry(4);
    advance(500);
    std::uint64_t playing = synthesised();
    EXPECT_GE(playing, 500u * 441 / 10 - 441) << "the music is synthesised";
    music_toggle_mute();
    advance(2000); // the last notes fade out
    std::uint64_t after_tail = synthesised();
    EXPECT_LT(after_tail, playing + 2000u * 441 / 10) << "the synthesiser went quiet";
    play_wallstop();
    advance(300);
    EXPECT_EQ(synthesised(), after_tail) << "an effect wakes no synthesiser";
    music_toggle_mute();
    music.field_music_on = 0;
    EXPECT_EQ(music_key_restart(), 0); // a key brings the map's music back
    advance(500);
    EXPECT_GE(synthesised(), after_tail + 500u * 441 / 10 - 441);
    heard_ms += 3300;
  }
  ASSERT_EQ(headless_audio_capture_stop(), 0);
  reset_sound_state();
  bytes f = read_file("heard.wav");
  ASSERT_EQ(f.size(), 44u + heard_ms * 44100 / 1000 * 4);
  wave_info heard;
  ASSERT_EQ(parse_wave(f.data(), f.size(), &heard), 1);
  EXPECT_EQ(heard.format.samples_per_sec, 44100u);
  EXPECT_EQ(heard.format.channels, 2);
  auto loud = [&](int from_ms, int to_ms) { return peak_between(heard, from_ms, to_ms); };
  EXPECT_LT(loud(0, 100), 8);      // silence (the synthesiser's dither) before the bump
  EXPECT_GT(loud(110, 190), 7000); // the wall sound
  EXPECT_LT(loud(210, 300), 8);    // and after it
  if (!font) GTEST_SKIP() << "no General MIDI soundfont here";
  EXPECT_GT(loud(300, 800), 1000);   // the music
  EXPECT_LT(loud(2600, 2800), 8);    // muted
  EXPECT_GT(loud(2810, 2890), 7000); // the wall sound over the silence
  EXPECT_LT(loud(2910, 3100), 8);    // and after it
  EXPECT_GT(loud(3100, 3600), 1000); // the music again
}

} // namespace
