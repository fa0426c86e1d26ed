// The real MIDI output: the stream synthesised by FluidSynth with the General
// MIDI soundfont, played through the sound device. Without a device or a
// soundfont the open fails with a text that says which is missing.
#include "platform/audio_engine.h"

#include <SDL.h>

#include <cstdio>

int midi_stream_open(std::uint32_t device, midi_callback callback) {
  if (device != MIDI_MAPPER && device != 0) return MIDI_ERR_BADDEVICEID;
  if (!snd_device_open()) {
    std::snprintf(stream.open_error, sizeof stream.open_error,
                  "No MIDI output: no sound device could be opened (%s). Music is off.",
                  SDL_GetError());
    return MIDI_ERR_NODRIVER;
  }
  if (!stream.synth.synth) {
    synth_handle synth;
    if (!synth_create(&synth, stream.open_error, sizeof stream.open_error))
      return MIDI_ERR_NODRIVER;
    stream_take_synth(&synth);
  }
  return stream_open(callback);
}
