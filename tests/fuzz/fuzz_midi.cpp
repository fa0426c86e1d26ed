// The MIDI reader and converter on any file: opened, then converted buffer by
// buffer as the stream would ask, the first byte choosing field music (which
// loops) or a one-off tune.
#include "audio/music.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_enter_scratch();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  reset_music_state();
  headless_reset();
  fuzz_write("fuzz.mid", data + 1, size - 1);
  music.field_music_on = data[0] & 1;
  music.first_event = 1;
  if (midi_open_file("fuzz.mid") == 0) {
    FUZZ_CHECK(music.track_count > 0 && music.tracks != nullptr);
    for (int i = 0; i < 64; i++) {
      stream_buffer b{};
      int r = midi_convert(i == 0, &b);
      FUZZ_CHECK(b.start + b.recorded <= b.max_length && b.recorded % 12 == 0);
      if (r != CONVERT_OK || music.piece_ended) break;
    }
    midi_free_block(&music.pending);
    FUZZ_CHECK(music.blocks == 0);
  }
  midi_close_file();
  midi_free_tracks();
  return 0;
}
