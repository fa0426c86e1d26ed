// The headless sound device: the wave buffers and the MIDI stream run on the
// virtual clock. Whoever advances the clock calls headless_audio_pump(), which
// plays everything up to the clock's time (buffers end, stream buffers are
// handed back to the music player on the completion thread, which the pump
// waits for, so a replay is the same on every run). With a capture open the
// mixed output, effects and synthesised music, is written to a WAV file.
#pragma once
#include <cstdint>

// Plays audio up to headless.clock_ms; a clock set back (headless_reset)
// just starts counting again from there.
void headless_audio_pump();
// Starts writing 44100 Hz 16-bit stereo to `path`; 0 on success, 1 when the
// file cannot be written. Music is rendered only while a capture is open.
int headless_audio_capture_start(const char* path);
// Finishes the file; 0 on success.
int headless_audio_capture_stop();
// Frames of output played since start-up (for tests).
std::uint64_t headless_audio_frames();
// Treat the next pump as a machine without a sound device / MIDI output.
void headless_audio_set_devices(bool sound_device, bool midi_output);
bool headless_midi_output();
// Closes the capture and the stream and releases every wave buffer.
void headless_audio_reset();
