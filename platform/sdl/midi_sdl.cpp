// The real MIDI output: the stream synthesised by FluidSynth with the General
// MIDI soundfont, played through the sound device. Without a device or a
// soundfont the open fails with a text that says which is missing; a
// soundfont that turns out unreadable fails the next open.
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
  // the stream opens at once; the music sounds once the soundfont is in
  if (!stream_load_synth()) return MIDI_ERR_NODRIVER;
  return stream_open(callback);
}
