// The headless sound device: time is the virtual clock. Each pump plays the
// frames between the last pump and the clock in 10 ms steps, and after each
// step waits until the music player has taken back what the stream returned,
// so buffers come back at the same virtual tick on every run.
#include "platform/headless/sound_headless.h"

#include "platform/audio_engine.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

struct headless_audio_data {
  bool sound_device = true;
  bool midi_output = true;
  std::uint32_t last_clock = 0;
  std::uint64_t ms_played = 0;
  std::uint64_t frames = 0;
  std::FILE* capture = nullptr;
  std::uint64_t captured = 0; // frames written
  std::atomic<bool> pumping{false};
};
static headless_audio_data ha;

constexpr int STEP_FRAMES = SOUND_RATE / 100;
constexpr std::uint64_t MAX_UNHEARD_FRAMES = SOUND_RATE * 60ull;

static void put_u32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; i++) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A 44-byte header of a 16-bit stereo PCM file of `frames` frames.
static void wav_header(std::uint8_t* h, std::uint64_t frames) {
  std::uint32_t data = static_cast<std::uint32_t>(frames * 4);
  std::uint8_t fmt[16] = {1, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 16, 0};
  put_u32(fmt + 4, SOUND_RATE);
  put_u32(fmt + 8, SOUND_RATE * 4);
  std::memcpy(h, "RIFF", 4);
  put_u32(h + 4, 36 + data);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  put_u32(h + 16, 16);
  std::memcpy(h + 20, fmt, 16);
  std::memcpy(h + 36, "data", 4);
  put_u32(h + 40, data);
}

static void play_step(int n) {
  if (ha.capture) {
    std::int16_t buf[STEP_FRAMES * 2];
    stream_run(buf, n);
    mixer_run(buf, n);
    std::fwrite(buf, sizeof(std::int16_t) * 2, n, ha.capture);
    ha.captured += n;
  } else {
    stream_run(nullptr, n);
    mixer_run(nullptr, n);
  }
  ha.frames += n;
  stream_wait_idle();
}

void headless_audio_pump() {
  if (ha.pumping.exchange(true)) return; // a pump is already under way
  // The clock wraps like the real one; a clock set back is a new start.
  std::uint32_t now = headless.clock_ms;
  std::int32_t moved = static_cast<std::int32_t>(now - ha.last_clock);
  ha.ms_played += moved > 0 ? static_cast<std::uint32_t>(moved) : 0;
  ha.last_clock = now;
  std::uint64_t target = ha.ms_played * SOUND_RATE / 1000;
  // Nothing the game plays lasts a minute unheard: a longer jump of the clock
  // without a capture skips ahead instead of playing hours of silence.
  if (!ha.capture && target - ha.frames > MAX_UNHEARD_FRAMES) {
    ha.frames = target - MAX_UNHEARD_FRAMES;
  }
  while (ha.frames < target) {
    play_step(static_cast<int>(std::min<std::uint64_t>(target - ha.frames, STEP_FRAMES)));
  }
  ha.pumping = false;
}

void audio_backend_sync() {
  if (std::this_thread::get_id() == stream.thread.get_id()) return;
  headless_audio_pump();
}

int headless_audio_capture_start(const char* path) {
  headless_audio_capture_stop();
  headless_audio_pump();
  ha.capture = std::fopen(path, "wb");
  if (!ha.capture) return 1;
  std::uint8_t h[44];
  wav_header(h, 0);
  std::fwrite(h, 1, 44, ha.capture);
  ha.captured = 0;
  synth_handle synth;
  char why[256];
  if (synth_create(&synth, why, sizeof why))
    stream_take_synth(&synth);
  else
    headless_log(std::string("audio: ") + why);
  return 0;
}

int headless_audio_capture_stop() {
  if (!ha.capture) return 0;
  headless_audio_pump();
  std::uint8_t h[44];
  wav_header(h, ha.captured);
  std::fseek(ha.capture, 0, SEEK_SET);
  std::fwrite(h, 1, 44, ha.capture);
  int bad = std::fclose(ha.capture) != 0;
  ha.capture = nullptr;
  synth_handle none;
  stream_take_synth(&none);
  return bad;
}

std::uint64_t headless_audio_frames() {
  return ha.frames;
}
bool headless_midi_output() {
  return ha.midi_output;
}

void headless_audio_set_devices(bool sound_device, bool midi_output) {
  ha.sound_device = sound_device;
  ha.midi_output = midi_output;
  if (!sound_device) {
    std::lock_guard<std::mutex> g(mixer.lock);
    mixer.device_open = false;
  }
}

void headless_audio_reset() {
  headless_audio_capture_stop();
  midi_stream_close();
  std::lock_guard<std::mutex> g(mixer.lock);
  mixer.buffers.clear();
  mixer.device_open = false;
  ha.sound_device = true;
  ha.midi_output = true;
  ha.last_clock = headless.clock_ms;
}

int snd_device_open() {
  std::lock_guard<std::mutex> g(mixer.lock);
  mixer.device_open = ha.sound_device;
  return mixer.device_open ? 1 : 0;
}

void snd_device_close() {
  std::lock_guard<std::mutex> g(mixer.lock);
  mixer.buffers.clear();
  mixer.device_open = false;
}

void audio_trace(const char* line) {
  headless_log(sjis_to_utf8(line));
}
