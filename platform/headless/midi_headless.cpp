// The headless MIDI output: always there unless a test takes it away; the
// synthesiser exists only while the audio is captured to a file.
#include "platform/audio_engine.h"
#include "platform/headless/sound_headless.h"

#include <cstdio>

int midi_stream_open(std::uint32_t device, midi_callback callback) {
  if (device != MIDI_MAPPER && device != 0) return MIDI_ERR_BADDEVICEID;
  if (!headless_midi_output()) {
    std::snprintf(stream.open_error, sizeof stream.open_error, "No MIDI output is available.");
    return MIDI_ERR_NODRIVER;
  }
  return stream_open(callback);
}
