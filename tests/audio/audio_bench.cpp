// What mixing a second of sound costs. Converting the field's music is
// timed by tests/bench/frame_costs (convert_midi_buffer).
#include "platform/audio_engine.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <vector>

namespace {

void BM_MixOneSecond(benchmark::State& state) {
  {
    std::lock_guard<std::mutex> g(mixer.lock);
    mixer.device_open = true;
  }
  snd_format f;
  std::vector<std::uint8_t> wave(22050 * 2, 0x40);
  int ids[4];
  for (int& id : ids) {
    id = snd_buffer_create(f, static_cast<std::uint32_t>(wave.size()));
    snd_buffer_fill(id, wave.data(), static_cast<std::uint32_t>(wave.size()));
  }
  std::vector<std::int16_t> out(SOUND_RATE * 2);
  for (auto _ : state) {
    for (int id : ids) {
      snd_buffer_set_position(id, 0);
      snd_buffer_play(id, 1);
    }
    std::fill(out.begin(), out.end(), 0);
    for (int i = 0; i < SOUND_RATE; i += 1024)
      mixer_run(out.data() + 2 * i, std::min(1024, SOUND_RATE - i));
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_MixOneSecond);

} // namespace
