// What converting a piece and mixing a second of sound cost.
#include "audio/music.h"
#include "audio_files.h"
#include "platform/audio_engine.h"

#include <benchmark/benchmark.h>

namespace {

// Two tracks of a thousand notes each.
void write_piece() {
  std::vector<bytes> tracks(2);
  for (int k = 0; k < 2; k++) {
    tempo_ev(tracks[k], 0, 500000);
    for (int i = 0; i < 1000; i++) {
      ev(tracks[k], 0, {0x90 + k, 40 + i % 40, 90});
      ev(tracks[k], 120, {0x80 + k, 40 + i % 40, 0});
    }
    end_ev(tracks[k], 0);
  }
  write_file("bench.mid", smf(tracks, 480));
}

void BM_ConvertPiece(benchmark::State& state) {
  write_piece();
  for (auto _ : state) {
    midi_open_file("bench.mid");
    music.first_event = 1;
    stream_buffer b{};
    int first = 1;
    while (!(music.conv_status & CONV_ALL_ENDED) && midi_convert(first, &b) == CONVERT_OK)
      first = 0;
    midi_close_file();
    midi_free_tracks();
    music.conv_status = 0;
  }
  state.SetItemsProcessed(state.iterations() * 4000);
}
BENCHMARK(BM_ConvertPiece);

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
