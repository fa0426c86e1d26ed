// Reading MIDI files and converting them into stream events, on files that
// the tests write: merging by tick, tempo, running status, the track windows
// and their refills, and damaged files.
#include "audio/music.h"
#include "audio_files.h"
#include "platform/headless/headless.h"
#include "platform/headless/sound_headless.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

namespace {

constexpr std::uint32_t NOTE_ON = 0x90;

struct Reader : ::testing::Test {
  void SetUp() override {
    headless_audio_reset();
    reset_music_state();
    headless_reset();
    music.first_event = 1;
  }
  void TearDown() override {
    midi_close_file();
    midi_free_tracks();
    reset_music_state();
  }
  // Writes and opens a file of the given tracks.
  int open(const std::vector<bytes>& tracks, int division = 96, int header_length = 6) {
    bytes f = smf_header(static_cast<int>(tracks.size()), division, header_length);
    for (const bytes& t : tracks) midi_track_chunk(f, t);
    write_file("piece.mid", f);
    return midi_open_file("piece.mid");
  }
  // Converts buffers until the tracks end (or `limit` buffers), collecting the
  // stream events and each buffer's size.
  std::vector<stream_ev> convert(int limit = 100, std::vector<int>* sizes = nullptr) {
    std::vector<stream_ev> all;
    for (int i = 0; i < limit; i++) {
      stream_buffer b{};
      last = midi_convert(i == 0, &b);
      std::vector<stream_ev> e = events_of(b.data, b.recorded);
      all.insert(all.end(), e.begin(), e.end());
      if (sizes) sizes->push_back(static_cast<int>(e.size()));
      if (last != CONVERT_OK || (music.conv_status & CONV_ALL_ENDED)) break;
    }
    return all;
  }
  static std::uint32_t note(std::uint32_t key) { return NOTE_ON | key << 8 | 100 << 16; }
  bool boxed(const std::string& text) {
    return std::find(headless.log.begin(), headless.log.end(), "box: [] " + text) !=
           headless.log.end();
  }
  int last = 0;
};

TEST_F(Reader, TwoTracksMergeByTickTheFirstTrackWinningTies) {
  bytes a, b;
  ev(a, 0, {0x90, 60, 100});
  ev(a, 100, {0x90, 61, 100});
  ev(a, 100, {0x90, 62, 100});
  end_ev(a, 0);
  ev(b, 50, {0x90, 70, 100});
  ev(b, 50, {0x90, 71, 100}); // tick 100, same as a's second note
  ev(b, 50, {0x90, 72, 100});
  end_ev(b, 0);
  ASSERT_EQ(open({a, b}), 0);
  music.current_tempo = 500000; // set by an earlier piece
  music.buffer_tick_length = 96 * 60000 / 500000;
  std::vector<stream_ev> e = convert();
  ASSERT_EQ(last, CONVERT_OK);
  // a piece's first event is the tempo it inherits
  ASSERT_EQ(e.size(), 7u);
  EXPECT_EQ(e[0].word, 500000u | MEVT_TEMPO << 24);
  std::vector<std::pair<std::uint32_t, std::uint32_t>> want = {
      {0, note(60)}, {50, note(70)}, {50, note(61)}, {0, note(71)}, {50, note(72)}, {50, note(62)}};
  for (std::size_t i = 0; i < want.size(); i++) {
    EXPECT_EQ(e[i + 1].delta, want[i].first) << i;
    EXPECT_EQ(e[i + 1].word, want[i].second) << i;
    EXPECT_EQ(e[i + 1].id, 0u);
  }
}

TEST_F(Reader, TempoEventsAreWrittenAndSetTheBufferLength) {
  bytes t;
  tempo_ev(t, 0, 400000);
  ev(t, 10, {0x90, 60, 100});
  tempo_ev(t, 10, 250000);
  ev(t, 10, {0x80, 60, 0});
  end_ev(t, 0);
  ASSERT_EQ(open({t}, 480), 0);
  std::vector<stream_ev> e = convert();
  ASSERT_EQ(e.size(), 4u); // no tempo is known yet, so none is put first
  EXPECT_EQ(e[0].word, 400000u | MEVT_TEMPO << 24);
  EXPECT_EQ(e[2].word, 250000u | MEVT_TEMPO << 24);
  EXPECT_EQ(e[2].delta, 10u);
  EXPECT_EQ(music.current_tempo, 250000u);
  EXPECT_EQ(music.buffer_tick_length, 480u * 60000 / 250000);
  EXPECT_EQ(music.blocks, 0); // every meta block freed
}

TEST_F(Reader, SecondPieceStartsWithTheLastTempoOfTheFirst) {
  bytes t;
  tempo_ev(t, 0, 600000);
  ev(t, 10, {0x90, 60, 100});
  end_ev(t, 0);
  ASSERT_EQ(open({t}), 0);
  convert();
  bytes u;
  ev(u, 5, {0x90, 64, 100});
  end_ev(u, 0);
  ASSERT_EQ(open({u}), 0);
  music.first_event = 1;
  std::vector<stream_ev> e = convert();
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].delta, 0u);
  EXPECT_EQ(e[0].word, 600000u | MEVT_TEMPO << 24);
  EXPECT_EQ(e[1].delta, 5u);
  EXPECT_EQ(e[1].word, note(64));
}

TEST_F(Reader, RunningStatusIsKeptAcrossARefill) {
  bytes t;
  ev(t, 0, {0x90, 40, 100});
  while (t.size() < 1500) ev(t, 0, {41, 100}); // three bytes each, running status
  ev(t, 0, {0xC0, 5});
  ev(t, 0, {6}); // program change under running status: one data byte
  end_ev(t, 0);
  ASSERT_EQ(open({t}), 0);
  music.buffer_tick_length = 1000; // no time limit on a buffer here
  std::vector<stream_ev> e = convert();
  ASSERT_EQ(last, CONVERT_OK);
  std::size_t notes = (1500 - 3 + 2) / 3 + 1;
  ASSERT_EQ(e.size(), notes + 2);
  for (std::size_t i = 1; i < notes; i++) ASSERT_EQ(e[i].word, note(41)) << i;
  EXPECT_EQ(e[notes].word, 0xC0u | 5 << 8);
  EXPECT_EQ(e[notes + 1].word, 0xC0u | 6 << 8);
}

TEST_F(Reader, ATrackOf3000BytesIsReadIn1024And1024And952) {
  bytes t;
  ev(t, 0, {0x90, 40, 100});
  while (t.size() < 2980) ev(t, 0, {41, 100});
  std::size_t text = 3000 - t.size() - 4 - 4; // a text event fills up to 3000
  ev(t, 0, {0xFF, 0x01, static_cast<int>(text)});
  t.resize(t.size() + text, 'x');
  end_ev(t, 0);
  ASSERT_EQ(t.size(), 3000u);
  ASSERT_EQ(open({t}), 0);
  midi_track* tr = &music.tracks[0];
  EXPECT_EQ(tr->left_in_buffer, 1024u - 1); // the first delta is read
  EXPECT_EQ(tr->left_on_disk, 3000u - 1024);
  std::uint8_t b;
  for (int i = 0; i < 1023; i++) ASSERT_EQ(midi_read_byte(tr, &b), 0);
  EXPECT_EQ(tr->left_in_buffer, 0u);
  ASSERT_EQ(midi_read_byte(tr, &b), 0); // refill of 1024
  EXPECT_EQ(tr->left_in_buffer, 1023u);
  EXPECT_EQ(tr->left_on_disk, 952u);
  for (int i = 0; i < 1023; i++) ASSERT_EQ(midi_read_byte(tr, &b), 0);
  ASSERT_EQ(midi_read_byte(tr, &b), 0); // refill of 952
  EXPECT_EQ(tr->left_in_buffer, 951u);
  EXPECT_EQ(tr->left_on_disk, 0u);
  EXPECT_EQ(tr->next_read, tr->track_start + 3000);
}

TEST_F(Reader, HeaderLengthsOfSixAndMoreAreAccepted) {
  bytes t;
  ev(t, 0, {0x90, 60, 100});
  end_ev(t, 0);
  ASSERT_EQ(open({t}, 192, 6), 0);
  EXPECT_EQ(music.division, 192);
  ASSERT_EQ(open({t}, 240, 10), 0);
  EXPECT_EQ(music.division, 240);
  EXPECT_EQ(music.track_count, 1);
  EXPECT_EQ(open({t}, 240, 5), 1);
  EXPECT_EQ(music.tracks, nullptr);
}

TEST_F(Reader, DamagedFilesFailTheirSetUp) {
  bytes t;
  ev(t, 0, {0x90, 60, 100});
  end_ev(t, 0);
  bytes f = smf_header(1, 96);
  midi_track_chunk(f, t);
  f[f.size() - t.size() - 1] = 200; // the track claims more than the file holds
  write_file("long.mid", f);
  EXPECT_EQ(midi_open_file("long.mid"), 1);
  EXPECT_EQ(music.file, nullptr);
  bytes many = smf_header(60000, 96); // a count no file of this size can hold
  midi_track_chunk(many, t);
  write_file("many.mid", many);
  EXPECT_EQ(midi_open_file("many.mid"), 1);
  bytes not_midi = f;
  not_midi[0] = 'X';
  write_file("bad.mid", not_midi);
  EXPECT_EQ(midi_open_file("bad.mid"), 1);
  EXPECT_EQ(midi_open_file("missing.mid"), 1);
  std::filesystem::remove("folder.mid");
  std::filesystem::remove("fifo.mid");
  ASSERT_EQ(mkdir("folder.mid", 0755), 0);
  ASSERT_EQ(mkfifo("fifo.mid", 0644), 0);
  EXPECT_EQ(midi_open_file("folder.mid"), 1);
  EXPECT_EQ(midi_open_file("fifo.mid"), 1); // at once, not waiting for a writer
  EXPECT_TRUE(headless.log.empty());        // no box for these
}

TEST_F(Reader, ANumberThatNeverEndsIsAReadError) {
  bytes t = {0x80, 0x80, 0x80, 0x80, 0x80, 0x00, 0x90, 60, 100};
  EXPECT_EQ(open({t}), 1);
  EXPECT_TRUE(boxed("Read error on input file or file is corrupt.\n"));
}

TEST_F(Reader, ACutTrackStopsThePiece) {
  bytes t;
  ev(t, 0, {0x90, 60, 100});
  ev(t, 10, {0x90}); // cut inside the event
  ASSERT_EQ(open({t}), 0);
  std::vector<stream_ev> e = convert();
  EXPECT_EQ(e.size(), 1u);
  EXPECT_EQ(last, CONVERT_CORRUPT);
  stream_buffer b{};
  EXPECT_EQ(midi_convert(0, &b), CONVERT_STUCK);
}

TEST_F(Reader, ALongerCountThanTheTrackHoldsFails) {
  bytes t;
  ev(t, 0, {0x90, 60, 100});
  ev(t, 0, {0xF0, 0x7F}); // system exclusive of 127 bytes in a short track
  ev(t, 0, {1, 2, 3});
  end_ev(t, 0);
  ASSERT_EQ(open({t}), 0);
  convert();
  EXPECT_EQ(last, CONVERT_CORRUPT);
  EXPECT_EQ(music.blocks, 0);
  bytes u;
  ev(u, 0, {0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0x7F}); // a meta text of 256 MB
  end_ev(u, 0);
  ASSERT_EQ(open({u}), 0);
  convert();
  EXPECT_EQ(last, CONVERT_CORRUPT);
  bytes r = {0x00, 60, 100}; // a data byte with no running status
  ASSERT_EQ(open({r}), 0);
  convert();
  EXPECT_EQ(last, CONVERT_CORRUPT);
}

TEST_F(Reader, EventsNotWrittenKeepTheirTimeForTheNextNote) {
  bytes t;
  ev(t, 0, {0x90, 60, 100});
  ev(t, 100, {0xFF, 0x01, 2, 'h', 'i'}); // a text at tick 100
  ev(t, 20, {0xF0, 1, 0xF7});            // system exclusive at tick 120
  ev(t, 80, {0x80, 60, 0});              // tick 200
  end_ev(t, 0);
  ASSERT_EQ(open({t}), 0);
  music.buffer_tick_length = 1000;
  std::vector<stream_ev> e = convert();
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[1].delta, 200u);
  EXPECT_EQ(music.blocks, 0);
}

TEST_F(Reader, WithoutATempoABufferClosesOnTheSecondEventPastItsStart) {
  bytes t;
  for (int i = 0; i < 6; i++) ev(t, i ? 10 : 0, {0x90, 60 + i, 100});
  end_ev(t, 0);
  ASSERT_EQ(open({t}), 0);
  ASSERT_EQ(music.buffer_tick_length, 0u);
  std::vector<int> sizes;
  std::vector<stream_ev> e = convert(100, &sizes);
  ASSERT_GE(sizes.size(), 2u);
  EXPECT_EQ(sizes[0], 3); // ticks 0, 10, 20
  EXPECT_EQ(e.size(), 6u);
  EXPECT_EQ(e[3].delta, 10u); // the event put off keeps its delta
}

TEST_F(Reader, AFullBufferPutsTheNextEventOffWithItsDelta) {
  bytes t;
  for (int i = 0; i < 90; i++) ev(t, 1, {0x90, 60, 100});
  end_ev(t, 0);
  ASSERT_EQ(open({t}), 0);
  music.buffer_tick_length = 100000;
  std::vector<int> sizes;
  std::vector<stream_ev> e = convert(100, &sizes);
  ASSERT_EQ(sizes.size(), 2u);
  EXPECT_EQ(sizes[0], 85);
  EXPECT_EQ(sizes[1], 5);
  for (const stream_ev& s : e) EXPECT_EQ(s.delta, 1u);
}

TEST_F(Reader, FieldMusicLoopsWithoutAGapAndKeepsAFinalRest) {
  for (std::uint32_t rest : {0u, 40u}) {
    bytes a, b;
    ev(a, 0, {0x90, 60, 100});
    ev(a, 96, {0x80, 60, 0});
    end_ev(a, rest);
    ev(b, 48, {0x90, 64, 100});
    ev(b, 48, {0x80, 64, 0});
    end_ev(b, rest);
    ASSERT_EQ(open({a, b}), 0);
    music.field_music_on = 1;
    music.buffer_tick_length = 100000;
    music.first_event = 1;
    std::vector<stream_ev> first = convert();
    EXPECT_EQ(music.music_state, MUSIC_STOPPED); // untouched: field music goes on
    stream_buffer buf{};
    ASSERT_EQ(midi_convert(0, &buf), CONVERT_OK); // rewinds
    std::vector<stream_ev> again = events_of(buf.data, buf.recorded);
    ASSERT_EQ(again.size(), 4u);
    EXPECT_EQ(again[0].delta, rest) << "the next pass follows after the rest alone";
    EXPECT_EQ(again[0].word, note(60));
    EXPECT_EQ(again[1].delta, 48u);
  }
}

TEST_F(Reader, AOneOffTuneEndsAndClearsTunePlaying) {
  bytes t;
  ev(t, 0, {0x90, 60, 100});
  ev(t, 10, {0x80, 60, 0});
  end_ev(t, 0);
  ASSERT_EQ(open({t}), 0);
  music.field_music_on = 0;
  music.tune_playing = 1;
  music.music_state = MUSIC_PLAYING;
  convert();
  EXPECT_EQ(music.tune_playing, 0);
  EXPECT_EQ(music.music_state, MUSIC_STOPPED);
}

} // namespace
