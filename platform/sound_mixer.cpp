// The wave buffers of the sound device and the mixer that plays them. The
// wave data is converted once, when a buffer is filled, to the device's
// stereo 16-bit frames at SOUND_RATE, so mixing is a saturating add.
#include "platform/audio_engine.h"

#include <algorithm>
#include <cstring>

mixer_data mixer;

static mix_buffer* buffer_at(int id) {
  if (id <= 0 || id > static_cast<int>(mixer.buffers.size())) return nullptr;
  mix_buffer* b = &mixer.buffers[id - 1];
  return b->used ? b : nullptr;
}

static int sample_at(const snd_format& f, const std::uint8_t* frame, int channel) {
  int c = f.channels == 1 ? 0 : channel;
  if (f.bits == 8) return (frame[c] - 128) * 256;
  return static_cast<std::int16_t>(frame[2 * c] | frame[2 * c + 1] << 8);
}

// PCM of 8 or 16 bits, mono or stereo, at a rate a sound card could have.
static bool format_ok(const snd_format& f) {
  if (f.format_tag != 1 || (f.bits != 8 && f.bits != 16)) return false;
  return f.channels >= 1 && f.channels <= 2 && f.rate >= 1000 && f.rate <= 192000;
}

bool convert_wave(const snd_format& f, const std::uint8_t* data, std::uint32_t bytes,
                  std::vector<std::int16_t>* out) {
  if (!format_ok(f)) return false;
  std::uint32_t block = f.channels * f.bits / 8;
  std::uint64_t in_frames = bytes / block;
  std::uint64_t out_frames = in_frames * SOUND_RATE / f.rate;
  out->assign(out_frames * 2, 0);
  // Linear interpolation between the two nearest source frames.
  for (std::uint64_t i = 0; i < out_frames; i++) {
    std::uint64_t num = i * f.rate;
    std::uint64_t j = num / SOUND_RATE;
    std::uint64_t frac = num % SOUND_RATE;
    std::uint64_t k = std::min<std::uint64_t>(j + 1, in_frames - 1);
    for (int c = 0; c < 2; c++) {
      std::int64_t a = sample_at(f, data + j * block, c);
      std::int64_t b = sample_at(f, data + k * block, c);
      (*out)[i * 2 + c] = static_cast<std::int16_t>(a + (b - a) * std::int64_t(frac) / SOUND_RATE);
    }
  }
  return true;
}

// The effects are mixed 1.5 dB over their recorded level (peaks at -9 dBFS):
// the music sits near -22 dBFS RMS, and the quietest effects (a door, the
// stairs) would otherwise sound hardly louder than it. More would let two
// effects sounding together over a loud bar reach full scale.
constexpr int EFFECT_GAIN_PERMILLE = 1189;

void mixer_run(std::int16_t* out, int frames) {
  std::lock_guard<std::mutex> g(mixer.lock);
  for (mix_buffer& b : mixer.buffers) {
    if (!b.used || !b.playing) continue;
    std::size_t total = b.frames.size() / 2;
    for (int i = 0; i < frames; i++) {
      if (b.pos >= total) {
        if (!b.looping || total == 0) break;
        b.pos = 0;
      }
      if (out) {
        for (int c = 0; c < 2; c++) {
          int v = out[i * 2 + c] + b.frames[b.pos * 2 + c] * EFFECT_GAIN_PERMILLE / 1000;
          out[i * 2 + c] = static_cast<std::int16_t>(std::clamp(v, -32768, 32767));
        }
      }
      b.pos++;
    }
    // A buffer played to its end stands at its start again, ready to replay.
    if (b.pos >= total && !b.looping) {
      b.playing = false;
      b.pos = 0;
    }
  }
}

int snd_buffer_create(const snd_format& format, std::uint32_t bytes) {
  std::lock_guard<std::mutex> g(mixer.lock);
  if (!mixer.device_open || bytes == 0 || !format_ok(format)) return 0;
  mix_buffer nb;
  nb.used = true;
  nb.format = format;
  nb.bytes = bytes;
  for (std::size_t i = 0; i < mixer.buffers.size(); i++) {
    if (!mixer.buffers[i].used) {
      mixer.buffers[i] = std::move(nb);
      return static_cast<int>(i + 1);
    }
  }
  mixer.buffers.push_back(std::move(nb));
  return static_cast<int>(mixer.buffers.size());
}

int snd_buffer_duplicate(int id) {
  std::lock_guard<std::mutex> g(mixer.lock);
  mix_buffer* b = buffer_at(id);
  if (!b) return 0;
  mix_buffer copy = *b;
  copy.pos = 0;
  copy.playing = false;
  mixer.buffers.push_back(std::move(copy));
  return static_cast<int>(mixer.buffers.size());
}

void snd_buffer_release(int id) {
  std::lock_guard<std::mutex> g(mixer.lock);
  if (mix_buffer* b = buffer_at(id)) *b = mix_buffer{};
}

int snd_buffer_fill(int id, const std::uint8_t* data, std::uint32_t bytes) {
  std::lock_guard<std::mutex> g(mixer.lock);
  mix_buffer* b = buffer_at(id);
  if (!b || !data) return 0;
  std::uint32_t n = std::min(bytes, b->bytes);
  if (!convert_wave(b->format, data, n, &b->frames)) return 0;
  b->pos = 0;
  return 1;
}

int snd_buffer_play(int id, int looping) {
  audio_backend_sync();
  std::lock_guard<std::mutex> g(mixer.lock);
  mix_buffer* b = buffer_at(id);
  if (!b) return 0;
  b->looping = looping != 0;
  b->playing = !b->frames.empty();
  return 1;
}

int snd_buffer_stop(int id) {
  std::lock_guard<std::mutex> g(mixer.lock);
  mix_buffer* b = buffer_at(id);
  if (!b) return 0;
  b->playing = false;
  return 1;
}

std::uint32_t snd_buffer_status(int id) {
  audio_backend_sync();
  std::lock_guard<std::mutex> g(mixer.lock);
  mix_buffer* b = buffer_at(id);
  if (!b || !b->playing) return 0;
  return b->looping ? SNDBUF_PLAYING | SNDBUF_LOOPING : std::uint32_t(SNDBUF_PLAYING);
}

// Byte positions are those of the wave data as filled, in whole source frames.
int snd_buffer_set_position(int id, std::uint32_t byte_pos) {
  std::lock_guard<std::mutex> g(mixer.lock);
  mix_buffer* b = buffer_at(id);
  if (!b) return 0;
  std::uint32_t block = b->format.channels * b->format.bits / 8;
  std::uint64_t src = std::min(byte_pos, b->bytes) / block;
  b->pos = std::min<std::size_t>(src * SOUND_RATE / b->format.rate, b->frames.size() / 2);
  return 1;
}

std::uint32_t snd_buffer_position(int id) {
  std::lock_guard<std::mutex> g(mixer.lock);
  mix_buffer* b = buffer_at(id);
  if (!b) return 0;
  std::uint32_t block = b->format.channels * b->format.bits / 8;
  std::uint64_t src = std::uint64_t(b->pos) * b->format.rate / SOUND_RATE;
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(src * block, b->bytes));
}

int snd_buffer_restore(int id) {
  std::lock_guard<std::mutex> g(mixer.lock);
  return buffer_at(id) ? 1 : 0;
}
