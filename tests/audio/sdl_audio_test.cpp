// The real sound device on SDL's dummy driver: wave buffers play out in real
// time, and the synthesised MIDI stream hands its buffers back on the
// completion thread, not on SDL's audio thread.
#include "platform/audio_engine.h"
#include "platform/midi.h"
#include "platform/sound.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <cstdlib>
#include <thread>

namespace {

std::atomic<int> returned{0};
std::thread::id returned_on;

void on_done(int message, midi_header*) {
  if (message != MOM_DONE) return;
  returned_on = std::this_thread::get_id();
  returned++;
}

template <class F> bool wait_for(F done, int ms) {
  for (int i = 0; i < ms / 5 && !done(); i++) SDL_Delay(5);
  return done();
}

TEST(SdlAudio, BuffersPlayOutAndTheStreamHandsBackOnItsOwnThread) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_EQ(snd_device_open(), 1);
  snd_format f;                                         // 22050 Hz mono 16-bit
  std::vector<std::uint8_t> wave(22050 / 10 * 2, 0x10); // a tenth of a second
  int b = snd_buffer_create(f, static_cast<std::uint32_t>(wave.size()));
  ASSERT_GT(b, 0);
  ASSERT_EQ(snd_buffer_fill(b, wave.data(), static_cast<std::uint32_t>(wave.size())), 1);
  ASSERT_EQ(snd_buffer_play(b, 0), 1);
  EXPECT_NE(snd_buffer_status(b) & SNDBUF_PLAYING, 0u);
  EXPECT_TRUE(wait_for([&] { return snd_buffer_status(b) == 0; }, 2000));

  int r = midi_stream_open(MIDI_MAPPER, on_done);
  if (r == MIDI_ERR_NODRIVER) GTEST_SKIP() << "no General MIDI soundfont here";
  ASSERT_EQ(r, MIDI_OK);
  ASSERT_EQ(midi_stream_time_division(96), MIDI_OK);
  std::uint32_t events[6] = {0, 0, 0x90 | 60 << 8 | 100 << 16, 48, 0, 0x80 | 60 << 8};
  midi_header h;
  h.data = reinterpret_cast<std::uint8_t*>(events);
  h.buffer_length = h.bytes_recorded = sizeof events;
  ASSERT_EQ(midi_prepare_header(&h), MIDI_OK);
  ASSERT_EQ(midi_stream_out(&h), MIDI_OK);
  Uint32 start = SDL_GetTicks();
  ASSERT_EQ(midi_stream_restart(), MIDI_OK);
  ASSERT_TRUE(wait_for([] { return returned == 1; }, 3000));
  EXPECT_GE(SDL_GetTicks() - start, 200u); // 48 ticks at 120 a minute: 250 ms
  EXPECT_EQ(returned_on, stream.thread.get_id());
  EXPECT_NE(returned_on, std::this_thread::get_id());
  EXPECT_EQ(midi_stream_close(), MIDI_OK);
  snd_device_close();
}

} // namespace
