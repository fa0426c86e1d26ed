// The real sound device: one SDL audio device at 44100 Hz, 16-bit stereo.
// Its callback, on SDL's audio thread, plays the MIDI stream through the
// synthesiser and adds the wave buffers on top. The stream's completion
// callback never runs here: played buffers go to the completion thread.
#include "platform/audio_engine.h"

#include <SDL.h>

#include <cstdlib>

struct sdl_audio_data {
  SDL_AudioDeviceID device = 0;
  bool tried = false;
};
static sdl_audio_data sa;

static void audio_callback(void*, Uint8* bytes, int len) {
  auto* out = reinterpret_cast<std::int16_t*>(bytes);
  int frames = len / (2 * static_cast<int>(sizeof(std::int16_t)));
  stream_run(out, frames);
  mixer_run(out, frames);
}

static void close_at_exit() {
  snd_device_close();
}

int snd_device_open() {
  if (sa.device) return 1;
  if (sa.tried) return 0;
  sa.tried = true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
  SDL_AudioSpec want{}, have{};
  want.freq = SOUND_RATE;
  want.format = AUDIO_S16SYS;
  want.channels = SOUND_CHANNELS;
  want.samples = 1024;
  want.callback = audio_callback;
  sa.device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (!sa.device) return 0;
  {
    std::lock_guard<std::mutex> g(mixer.lock);
    mixer.device_open = true;
  }
  // The device thread must be gone before the mixer and the stream are.
  std::atexit(close_at_exit);
  SDL_PauseAudioDevice(sa.device, 0);
  return 1;
}

void snd_device_close() {
  if (!sa.device) return;
  SDL_CloseAudioDevice(sa.device);
  sa.device = 0;
  std::lock_guard<std::mutex> g(mixer.lock);
  mixer.device_open = false;
}

void audio_backend_sync() {}
void audio_trace(const char*) {}
