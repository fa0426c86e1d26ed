// The music player: one standard MIDI file at a time, its tracks read through
// 1024-byte windows, merged by tick and converted into stream events for the
// platform's MIDI stream in two alternating 1024-byte stream buffers. The
// stream hands each played buffer back on its own thread, where the player
// refills and requeues it. Field music loops; a one-off tune (started with
// `field_music_on` at 0) plays once and then clears `tune_playing`.
#pragma once
#include "platform/midi.h"

#include <atomic>
#include <cstdint>
#include <cstdio>

constexpr int MUSIC_BUFFER_BYTES = 1024;
constexpr int TRACK_BUFFER_BYTES = 1024;
constexpr int MUSIC_COUNT = 24; // entries of the music list

// Converter results.
enum : int {
  CONVERT_OK = 0,
  CONVERT_CORRUPT = -101,
  CONVERT_STUCK = -102,
  CONVERT_DONE = -103,
  CONVERT_FULL = -104,
  CONVERT_META_SKIPPED = -105,
};

// Converter status bits.
enum : int {
  CONV_ALL_ENDED = 1,
  CONV_STUCK = 2,
  CONV_WAITING = 4,
};

constexpr int TRACK_ENDED = 1;

struct midi_track {
  int flags = 0; // TRACK_ENDED
  std::uint32_t length = 0;
  std::uint32_t left_in_buffer = 0;
  std::uint8_t* buffer = nullptr; // TRACK_BUFFER_BYTES
  std::uint8_t* current = nullptr;
  std::uint32_t next_tick = 0;
  std::uint8_t running_status = 0;
  std::uint32_t track_start = 0;
  std::uint32_t next_read = 0;
  std::uint32_t left_on_disk = 0;
};

struct midi_event {
  std::uint32_t tick = 0;
  std::uint8_t status = 0;
  std::uint8_t data[2]{};
  std::uint32_t length = 0;      // bytes: 2 or 3 for channel messages, else the data count
  std::uint8_t* block = nullptr; // system-exclusive or meta data
};

struct stream_buffer {
  midi_header header;
  std::uint8_t data[MUSIC_BUFFER_BYTES]{};
  std::uint32_t start = 0;
  std::uint32_t max_length = MUSIC_BUFFER_BYTES;
  std::uint32_t recorded = 0;
  std::uint32_t tick = 0;
  int times_up = 0;
};

// What the stream is doing, as its completion thread sees it.
enum music_run : int {
  MUSIC_PLAYING = 0,
  MUSIC_STOPPED = 200, // stopped, or the tune converted to its end
};

struct music_data {
  // Shared with the stream's completion thread.
  std::atomic<int> music_state{MUSIC_STOPPED};
  std::atomic<int> music_playing{0};
  std::atomic<int> tune_playing{0};   // a one-off tune is playing
  std::atomic<int> field_music_on{0}; // the current map's music has been started
  std::atomic<int> returned{0};       // buffers handed back and not yet requeued

  int music_failed = 0; // no MIDI output: every music call does nothing
  int music_muted = 0;  // key N
  int music_opened = 0;
  int stream_open = 0;
  int headers_prepared = 0;
  int first_event = 0;
  char music_file[260]{};

  // The file.
  std::FILE* file = nullptr;
  std::uint32_t file_size = 0;
  std::uint16_t format = 0, track_count = 0, division = 0;
  midi_track* tracks = nullptr;

  // The converter.
  int conv_status = 0;
  std::uint32_t conv_tick = 0;
  midi_event pending;
  int blocks = 0; // system-exclusive and meta blocks not yet freed
  // Ticks of events that are not written, carried into the next written one.
  std::uint32_t carried = 0;
  int events_this_pass = 0; // events written since the piece last began
  int piece_ended = 0;      // a one-off tune has been converted to its end
  int setup_result = 0;     // of the last Play's set-up

  // The stream buffers.
  stream_buffer* buffers = nullptr; // two
  int current = 0;

  int channel_volume[16]{};
  int tempo_multiplier = 100;
  // Kept from piece to piece for the whole run.
  std::uint32_t current_tempo = 0;
  std::uint32_t buffer_tick_length = 0;
};

extern music_data music;
// Stops the piece, if any, and puts the player back to its start values.
void reset_music_state();

// Play(name): starts a MIDI file (a path, as the music list names it).
// Callers stop the previous piece first.
void music_play(const char* name);
// Stop(): stops the piece and releases the stream.
void music_stop();
void music_set_channel_volumes(int master);

// Plays music-list entry `number`; a number outside the list does nothing.
void play_music_entry(int number);
// A one-off tune: `field_music_on` 0, `tune_playing` 1 while it plays, so that
// keys are swallowed until its last notes are converted. tune_playing stays
// clear when nothing can be played.
void play_tune(int number);

// The key dispatcher's music keys.
// Music restart (before the page wait): 1 when the key is swallowed because a
// one-off tune plays; otherwise restarts the map's music if it was off, 0.
int music_key_restart();
void music_next();        // M: the next entry of the music list
void music_toggle_mute(); // N: music off / on

// The stream's completion callback.
void music_callback(int message, midi_header* header);

// The steps of a piece, usable one by one (the tests drive them).
int music_setup();
int midi_open_file(const char* name);
void midi_close_file();
void midi_free_tracks();
int midi_refill(midi_track* t);
int midi_read_byte(midi_track* t, std::uint8_t* b);
int midi_read_varlen(midi_track* t, std::uint32_t* out);
int midi_read_event(midi_track* t, midi_event* ev);
void midi_rewind();
int midi_convert(int first, stream_buffer* buf);
int midi_add_event(stream_buffer* buf, midi_event* ev);
void midi_free_block(midi_event* ev);
void midi_end_of_tracks();
// Shows a MIDI error text (from the stream) or a file error in a box with an
// empty caption.
void midi_error_box(int code);
void music_file_box(const char* text);
