// The sound device and its wave buffers: one device for the whole program;
// each buffer holds one sound, converted to the device's format when it is
// filled, and plays once from its current position. Everything that plays
// (buffers and the synthesised MIDI stream) is mixed into one output.
// Without a device nothing is created and the game runs silent.
#pragma once
#include <cstddef>
#include <cstdint>

// Output format of the mixer.
constexpr int SOUND_RATE = 44100;
constexpr int SOUND_CHANNELS = 2;

// Buffer status bits.
enum : std::uint32_t {
  SNDBUF_PLAYING = 1,
  SNDBUF_LOST = 2, // never happens here; kept for the bank's restore rule
  SNDBUF_LOOPING = 4,
};

struct snd_format {
  std::uint16_t format_tag = 1; // 1 = PCM; others are refused
  std::uint16_t channels = 1;
  std::uint32_t rate = 22050;
  std::uint16_t bits = 16; // 8 (unsigned) or 16 (signed)
};

// 1 when the device is open (opens it on the first call); 0 means silence.
int snd_device_open();
void snd_device_close();

// Buffer ids are > 0; 0 means none.
int snd_buffer_create(const snd_format& format, std::uint32_t bytes);
int snd_buffer_duplicate(int buffer);
void snd_buffer_release(int buffer);
// Copies the wave data in (converted to the device format); 1 or 0.
int snd_buffer_fill(int buffer, const std::uint8_t* data, std::uint32_t bytes);
int snd_buffer_play(int buffer, int looping); // 1 or 0
int snd_buffer_stop(int buffer);              // 1 or 0
std::uint32_t snd_buffer_status(int buffer);  // SNDBUF_*
// The play position in bytes of the wave data as filled.
int snd_buffer_set_position(int buffer, std::uint32_t byte_pos);
std::uint32_t snd_buffer_position(int buffer);
int snd_buffer_restore(int buffer); // 1: the buffer is usable again

// A line about what a player would hear (an effect played, a piece started or
// stopped) for the replay log; the real backend has no use for it.
void audio_trace(const char* line);
