// The MIDI stream the music player plays through: one stream, opened for the
// mapper, fed with stream buffers of 12-byte events (delta ticks, stream
// number, event word) that it plays at their delta times, tempo events
// changing the tick length. Each buffer, once played (or returned by a stop),
// comes back through the completion callback on a thread of the platform
// layer; never on the audio thread. Results are small codes: 0 success.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr std::uint32_t MIDI_MAPPER = 0xFFFFFFFF;
constexpr int MOM_DONE = 0x3C9;

// Result codes.
enum : int {
  MIDI_OK = 0,
  MIDI_ERR_ERROR = 1,
  MIDI_ERR_BADDEVICEID = 2,
  MIDI_ERR_ALLOCATED = 4,
  MIDI_ERR_INVALHANDLE = 5,
  MIDI_ERR_NODRIVER = 6,
  MIDI_ERR_NOMEM = 7,
  MIDI_ERR_INVALPARAM = 11,
  MIDI_ERR_UNPREPARED = 64,
  MIDI_ERR_STILLPLAYING = 65,
};

// Header flags.
enum : std::uint32_t {
  MHDR_DONE = 1,
  MHDR_PREPARED = 2,
  MHDR_INQUEUE = 4,
};

// Event types in bits 24..31 of the event word.
enum : std::uint32_t {
  MEVT_SHORTMSG = 0,
  MEVT_TEMPO = 1,
  MEVT_NOP = 2,
};

struct midi_header {
  std::uint8_t* data = nullptr;
  std::uint32_t buffer_length = 0;
  std::uint32_t bytes_recorded = 0;
  std::uint32_t flags = 0;
  void* user = nullptr;
};

// Called with MOM_DONE and the header when a buffer comes back.
using midi_callback = void (*)(int message, midi_header* header);

int midi_stream_open(std::uint32_t device, midi_callback callback);
int midi_stream_time_division(std::uint32_t division);
int midi_prepare_header(midi_header* header);
int midi_unprepare_header(midi_header* header);
int midi_stream_out(midi_header* header);
int midi_stream_restart();
// Stops playing and hands every queued buffer back; returns once the
// completion thread has handled them all, so the caller may free them.
int midi_stream_stop();
int midi_out_reset(); // every note off on every channel
int midi_stream_close();
int midi_short_msg(std::uint32_t message);
// The text for a result code (at most `size` - 1 bytes and a NUL).
void midi_error_text(int code, char* text, std::size_t size);

// The stream's own state, for a test or a replay to look at.
struct midi_stream_info {
  bool open = false;
  bool running = false;
  std::uint32_t division = 0;
  std::uint32_t tempo = 500000; // microseconds per quarter note
  int queued = 0;               // buffers waiting or playing
  int short_msgs = 0;           // short messages sent since the stream opened
  std::uint32_t last_short = 0;
  std::uint64_t events_played = 0; // stream events played since the stream opened
  std::uint64_t synth_frames = 0;  // frames the synthesiser rendered, ever
  // Reads of the soundfont, ever: ahead of play, and while the stream plays
  // (on the audio thread of the real device, where none should happen).
  std::uint64_t font_reads_ahead = 0;
  std::uint64_t font_reads_while_playing = 0;
};
midi_stream_info midi_stream_query();
