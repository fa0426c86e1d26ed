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

using timeline = std::vector<std::pair<std::uint32_t, std::uint32_t>>; // delta, event word

std::uint32_t note(std::uint32_t key) {
  return 0x90 | key << 8 | 100 << 16;
}
std::uint32_t tempo(std::uint32_t us) {
  return us | MEVT_TEMPO << 24;
}
// Pairs of delta and word.
timeline flat(std::initializer_list<std::uint32_t> v) {
  timeline t;
  for (auto i = v.begin(); i + 1 < v.end(); i += 2) t.push_back({i[0], i[1]});
  return t;
}
timeline repeated(int n, std::uint32_t delta, std::uint32_t word) {
  return timeline(n, {delta, word});
}
timeline joined(timeline a, const timeline& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

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
    write_file("piece.mid", smf(tracks, division, header_length));
    return midi_open_file("piece.mid");
  }
  // Converts buffers until the tracks end (or 100 buffers), collecting the
  // stream events and each buffer's count of them.
  std::vector<stream_ev> convert() {
    std::vector<stream_ev> all;
    sizes.clear();
    for (int i = 0; i < 100; i++) {
      stream_buffer b{};
      last = midi_convert(i == 0, &b);
      std::vector<stream_ev> e = events_of(b.data, b.recorded);
      all.insert(all.end(), e.begin(), e.end());
      sizes.push_back(static_cast<int>(e.size()));
      if (last != CONVERT_OK || (music.conv_status & CONV_ALL_ENDED)) break;
    }
    return all;
  }
  std::vector<int> sizes;
  int last = 0;
};

// Each piece's tracks merge by tick (the first track winning ties), a piece
// starts with the tempo it inherits, tempo events set the buffer's length in
// ticks, events not written keep their time for the next, and a buffer closes
// when full or, without a tempo, on the second event past its start.
TEST_F(Reader, PiecesConvertToTheirStreamEvents) {
  bytes merged_a, merged_b, tempos, unwritten, untimed, many, running;
  for (int k = 0; k < 3; k++) ev(merged_a, k ? 100 : 0, {0x90, 60 + k, 100});
  for (int k = 0; k < 3; k++) ev(merged_b, 50, {0x90, 70 + k, 100}); // the second at a's tick
  tempo_ev(tempos, 0, 400000);
  ev(tempos, 10, {0x90, 60, 100});
  tempo_ev(tempos, 10, 250000);
  ev(tempos, 10, {0x80, 60, 0});
  ev(unwritten, 0, {0x90, 60, 100});
  ev(unwritten, 100, {0xFF, 0x01, 2, 'h', 'i'}); // a text at tick 100
  ev(unwritten, 20, {0xF0, 1, 0xF7});            // system exclusive at tick 120
  ev(unwritten, 80, {0x80, 60, 0});              // tick 200
  for (int i = 0; i < 6; i++) ev(untimed, i ? 10 : 0, {0x90, 60 + i, 100});
  for (int i = 0; i < 90; i++) ev(many, 1, {0x90, 60, 100});
  ev(running, 0, {0x90, 40, 100});
  while (running.size() < 1500) ev(running, 0, {41, 100}); // past the first window
  ev(running, 0, {0xC0, 5});
  ev(running, 0, {6}); // program change under running status: one data byte
  for (bytes* t : {&merged_a, &merged_b, &tempos, &unwritten, &untimed, &many, &running})
    end_ev(*t, 0);
  const std::uint32_t OFF = 0x80 | 60 << 8, PROGRAM = 0xC0, MERGE_TICKS = 96 * 60000 / 500000;
  // The tempo and the buffer's length in ticks before and after, the file's
  // division and header length, the events, and (when they matter) the count
  // of them in the first buffer and the count of buffers.
  const struct {
    const char* what;
    const bytes &track, *second;
    std::uint32_t tempo_before, ticks_before, tempo_after, ticks_after;
    int division, header_length;
    timeline events;
    int first_buffer = 0, buffers = 0;
  } pieces[] = {
      {"two tracks merged", merged_a, &merged_b, 500000, MERGE_TICKS, 500000, MERGE_TICKS, 96, 6,
       flat({0, tempo(500000), 0, note(60), 50, note(70), 50, note(61), 0, note(71), 50, note(72),
             50, note(62)})},
      {"tempo events, none before", tempos, nullptr, 0, 0, 250000, 480 * 60000 / 250000, 480, 6,
       flat({0, tempo(400000), 10, note(60), 10, tempo(250000), 10, OFF})},
      {"a text and a system exclusive unwritten, a header of 10", unwritten, nullptr, 0, 1000, 0,
       1000, 240, 10, flat({0, note(60), 200, OFF})},
      {"no tempo", untimed, nullptr, 0, 0, 0, 0, 96, 6,
       flat({0, note(60), 10, note(61), 10, note(62), 10, note(63), 10, note(64), 10, note(65)}),
       3},
      {"a full buffer", many, nullptr, 0, 100000, 0, 100000, 96, 6, repeated(90, 1, note(60)), 85,
       2},
      {"running status across a refill", running, nullptr, 0, 1000, 0, 1000, 96, 6,
       joined(joined(flat({0, note(40)}), repeated(499, 0, note(41))),
              flat({0, PROGRAM | 5 << 8, 0, PROGRAM | 6 << 8}))},
  };
  for (const auto& p : pieces) {
    SCOPED_TRACE(p.what);
    music.current_tempo = p.tempo_before; // as an earlier piece left it
    music.buffer_tick_length = p.ticks_before;
    music.first_event = 1;
    std::vector<bytes> tracks = {p.track};
    if (p.second) tracks.push_back(*p.second);
    ASSERT_EQ(open(tracks, p.division, p.header_length), 0);
    EXPECT_EQ(music.division, p.division);
    std::vector<stream_ev> e = convert();
    EXPECT_EQ(last, CONVERT_OK);
    ASSERT_EQ(e.size(), p.events.size());
    for (std::size_t i = 0; i < e.size(); i++) {
      ASSERT_EQ(e[i].delta, p.events[i].first) << i;
      ASSERT_EQ(e[i].word, p.events[i].second) << i;
      ASSERT_EQ(e[i].id, 0u) << i;
    }
    EXPECT_EQ(p.first_buffer ? sizes[0] : 0, p.first_buffer); // 0: not checked
    EXPECT_EQ(p.buffers ? int(sizes.size()) : 0, p.buffers);
    EXPECT_EQ(music.current_tempo, p.tempo_after);
    EXPECT_EQ(music.buffer_tick_length, p.ticks_after);
    EXPECT_EQ(music.blocks, 0); // every meta block freed
  }
  // a second piece starts with the last tempo of the one before
  music.current_tempo = 0;
  ASSERT_EQ(open({tempos}), 0);
  convert();
  ASSERT_EQ(open({merged_a}), 0);
  music.first_event = 1;
  std::vector<stream_ev> e = convert();
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[0].word, tempo(250000));
  EXPECT_EQ(e[1].word, note(60));
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
  for (std::uint32_t refill : {1024u, 952u}) {
    for (int i = 0; i < 1023; i++) ASSERT_EQ(midi_read_byte(tr, &b), 0);
    EXPECT_EQ(tr->left_in_buffer, 0u);
    ASSERT_EQ(midi_read_byte(tr, &b), 0);
    EXPECT_EQ(tr->left_in_buffer, refill - 1);
    EXPECT_EQ(tr->left_on_disk, refill == 1024 ? 952u : 0u);
  }
  EXPECT_EQ(tr->next_read, tr->track_start + 3000);
}

// A file that cannot be read fails its set-up with nothing left open, and at
// once (a fifo does not wait for a writer); only a damaged number says so in
// a box.
TEST_F(Reader, FilesThatCannotBeReadFailTheirSetUp) {
  bytes t;
  ev(t, 0, {0x90, 60, 100});
  end_ev(t, 0);
  bytes long_track = smf({t}), many = smf_header(60000, 96); // a count no file of this size holds
  long_track[long_track.size() - t.size() - 1] = 200; // the track claims more than the file holds
  midi_track_chunk(many, t);
  const bytes never_ends = {0x80, 0x80, 0x80, 0x80, 0x80, 0x00, 0x90, 60, 100};
  std::filesystem::remove("folder.mid");
  std::filesystem::remove("fifo.mid");
  ASSERT_EQ(mkdir("folder.mid", 0755), 0);
  ASSERT_EQ(mkfifo("fifo.mid", 0644), 0);
  const struct {
    const char* path;
    bytes file; // written to the path when not empty
    bool boxed;
  } cases[] = {
      {"short_header.mid", smf({t}, 240, 5)},
      {"long_track.mid", long_track},
      {"many_tracks.mid", many},
      {"not_midi.mid",
       [&] {
         bytes b = smf({t});
         b[0] = 'X';
         return b;
       }()},
      {"number.mid", smf({never_ends}), true},
      {"missing.mid", {}},
      {"folder.mid", {}},
      {"fifo.mid", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    headless.log.clear();
    if (!c.file.empty()) write_file(c.path, c.file);
    EXPECT_EQ(midi_open_file(c.path), 1);
    EXPECT_EQ(music.file, nullptr);
    EXPECT_EQ(music.tracks, nullptr);
    std::vector<std::string> box;
    if (c.boxed) box = {"box: [] Read error on input file or file is corrupt.\n"};
    EXPECT_EQ(headless.log, box);
  }
}

// A track that is cut or claims more than it holds stops the piece, with
// every block freed, and the converter stays stopped.
TEST_F(Reader, ADamagedTrackStopsThePiece) {
  bytes cut, sysex, text, no_status = {0x00, 60, 100}; // a data byte with no running status
  ev(cut, 0, {0x90, 60, 100});
  ev(cut, 10, {0x90}); // cut inside the event
  ev(sysex, 0, {0x90, 60, 100});
  ev(sysex, 0, {0xF0, 0x7F}); // system exclusive of 127 bytes in a short track
  ev(sysex, 0, {1, 2, 3});
  end_ev(sysex, 0);
  ev(text, 0, {0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0x7F}); // a meta text of 256 MB
  end_ev(text, 0);
  const struct {
    const char* what;
    bytes track;
    std::size_t events_before;
  } cases[] = {{"cut", cut, 1}, {"sysex", sysex, 1}, {"text", text, 0}, {"status", no_status, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(open({c.track}), 0);
    EXPECT_EQ(convert().size(), c.events_before);
    EXPECT_EQ(last, CONVERT_CORRUPT);
    EXPECT_EQ(music.blocks, 0);
    stream_buffer b{};
    EXPECT_EQ(midi_convert(0, &b), CONVERT_STUCK);
  }
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
    convert();
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

} // namespace
