// What the two sound backends share: the pool of wave buffers and their
// mixer, and the MIDI stream's sequencer with its completion thread and the
// FluidSynth synthesiser. A backend decides only where the time comes from
// (SDL's audio callback, or the headless virtual clock) and where the mixed
// samples go. Never seen by the game core.
#pragma once
#include "platform/midi.h"
#include "platform/sound.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

struct _fluid_synth_t;
struct _fluid_hashtable_t;

// ---- wave buffers and the mixer ----

struct mix_buffer {
  bool used = false;
  snd_format format;
  std::uint32_t bytes = 0;          // size of the wave data as the game gave it
  std::vector<std::int16_t> frames; // stereo frames at SOUND_RATE
  std::size_t pos = 0;              // next frame to play
  bool playing = false;
  bool looping = false;
};

struct mixer_data {
  std::mutex lock;
  bool device_open = false;
  std::vector<mix_buffer> buffers; // id = index + 1
};
extern mixer_data mixer;

// Converts wave data of the given format to stereo frames at SOUND_RATE;
// false for a format the mixer cannot play.
bool convert_wave(const snd_format& f, const std::uint8_t* data, std::uint32_t bytes,
                  std::vector<std::int16_t>* out);
// Adds every playing buffer into `out` (stereo frames) and moves them on; with
// `out` null only moves them on. Takes the mixer lock.
void mixer_run(std::int16_t* out, int frames);

// ---- the MIDI stream ----

constexpr int MIDI_CHANNELS = 16;
constexpr int DRUM_CHANNEL = 9;
constexpr int DRUM_BANK = 128;
constexpr int SHADOW = MIDI_CHANNELS; // shadow channel of channel c: c + SHADOW

struct synth_handle {
  _fluid_synth_t* synth = nullptr;
  _fluid_hashtable_t* settings = nullptr;
  int font = -1;
  int shadow_bank[MIDI_CHANNELS]{}; // the bank each shadow channel selects from
  ~synth_handle();
};

struct stream_data {
  std::mutex lock;
  // Taken before `lock` by whoever replaces the synthesiser or reads presets
  // ahead with it; never by the audio thread.
  std::mutex preload_lock;
  bool open = false;
  bool running = false;
  midi_callback callback = nullptr;
  std::uint32_t division = 0;
  std::uint32_t tempo = 500000;
  std::deque<midi_header*> queue;
  std::uint32_t offset = 0; // next event in the front buffer
  bool loaded = false;      // the front event's delta is counted into `due`
  double due = 0;           // frames until the front event
  synth_handle synth;       // no synth: events go nowhere
  // The synthesiser is left alone while it is silent: no voice sounds and its
  // output has stayed at the dither's level for a while. An event wakes it.
  bool synth_quiet = false;
  int quiet_frames = 0;
  std::uint64_t synth_frames = 0; // frames the synthesiser rendered
  // The soundfont loads on a thread of its own while the game starts; until
  // it is in, the stream stands still (the music starts when it can sound)
  // and short messages wait their turn.
  std::thread loader;
  bool synth_loading = false;
  bool load_failed = false;
  std::vector<std::uint32_t> waiting_shorts;
  char open_error[256]{}; // why the last open failed
  int short_msgs = 0;
  std::uint32_t last_short = 0;
  std::uint64_t events_played = 0;

  // The completion thread.
  std::thread thread;
  std::condition_variable wake, idle;
  std::deque<midi_header*> done;
  bool busy = false;
  bool quit = false;
  ~stream_data();
};
extern stream_data stream;

// The soundfont a synthesiser loads: the game folder's own, else the first
// installed one; null when there is none.
const char* soundfont_path();
// Loads the General MIDI soundfont into a new synthesiser; false with the
// reason in `why` when there is none.
bool synth_create(synth_handle* h, char* why, std::size_t size);
void synth_destroy(synth_handle* h);
// Opens the stream for the backend once its output is known to work.
int stream_open(midi_callback callback);
// Plays `frames` stereo frames of the stream into `out` (null: time passes,
// nothing is rendered). Takes the stream lock.
void stream_run(std::int16_t* out, int frames);
// Blocks until the completion thread has handed back every returned buffer.
void stream_wait_idle();

// Backend hooks. audio_backend_sync brings the sound up to the backend's
// present time before a buffer is asked about (the headless clock may have
// moved); the real backend is always at its present.
void audio_backend_sync();
// Puts a synthesiser made elsewhere into the stream (taking it over).
void stream_take_synth(synth_handle* h);
// Starts loading the soundfont into the stream's synthesiser on a thread of
// its own; false, with the reason in stream.open_error, when there is no
// soundfont or an earlier load failed.
bool stream_load_synth();
