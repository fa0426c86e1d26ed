// The music player: Play, Set-up, Stop, the channel volumes and the stream's
// completion callback, which refills each returned buffer on the stream's
// own thread while the game goes on.
#include "audio/music.h"

#include "platform/platform.h"
#include "platform/sound.h"
#include "state/state.h"

#include <cstdlib>
#include <cstring>
#include <string>

music_data music;

void midi_error_box(int code) {
  char text[256];
  midi_error_text(code, text, sizeof text);
  plat_message_box(text, "");
}

void music_file_box(const char* text) {
  plat_message_box(text, "");
}

static void reset_buffer(stream_buffer* b) {
  b->start = 0;
  b->max_length = MUSIC_BUFFER_BYTES;
  b->recorded = 0;
  b->tick = 0;
  b->times_up = 0;
}

static int open_stream() {
  if (music.stream_open) return 0;
  int r = midi_stream_open(MIDI_MAPPER, music_callback);
  if (r != MIDI_OK) {
    midi_error_box(r);
    music.music_failed = 1;
    return 1;
  }
  music.stream_open = 1;
  return 0;
}

static int alloc_buffers() {
  if (music.buffers) return 0;
  music.buffers = static_cast<stream_buffer*>(std::calloc(2, sizeof(stream_buffer)));
  if (!music.buffers) return -1;
  for (int i = 0; i < 2; i++) {
    music.buffers[i].header.data = music.buffers[i].data;
    music.buffers[i].header.buffer_length = MUSIC_BUFFER_BYTES;
  }
  return 0;
}

// Converts and sends buffer i of the set-up; 1 when the set-up fails.
static int setup_buffer(int i) {
  stream_buffer* b = &music.buffers[i];
  reset_buffer(b);
  int r = midi_convert(i == 0, b);
  if (r != CONVERT_OK && r != CONVERT_DONE) return 1;
  b->header.bytes_recorded = b->recorded;
  if (!music.headers_prepared) {
    r = midi_prepare_header(&b->header);
    if (r != MIDI_OK) {
      midi_error_box(r);
      return 1;
    }
  }
  r = midi_stream_out(&b->header);
  if (r != MIDI_OK) {
    midi_error_box(r);
    return 2;
  }
  return 0;
}

int music_setup() {
  if (open_stream() != 0) return 1;
  if (alloc_buffers() != 0) return -1;
  if (midi_open_file(music.music_file) != 0) return 1;
  for (int& v : music.channel_volume) v = 100;
  int r = midi_stream_time_division(music.division);
  if (r != MIDI_OK) {
    midi_error_box(r);
    midi_close_file();
    return 1;
  }
  music.returned = 0;
  for (int i = 0; i < 2; i++) {
    // A one-off tune that ended inside the first buffer is not begun again.
    if (i == 1 && music.piece_ended) break;
    r = setup_buffer(i);
    if (r == 1) {
      midi_close_file();
      return 1;
    }
    if (r == 2) break;
  }
  music.headers_prepared = 1;
  music.current = 0;
  return 0;
}

void music_play(const char* name) {
  if (music.music_failed || music.music_muted) return;
  std::snprintf(music.music_file, sizeof music.music_file, "%s", name ? name : "");
  music.first_event = 1;
  music.piece_ended = 0;
  // Callers stop the previous piece first; if one did not, its buffers come
  // back now, so that the completion thread is not converting while the new
  // piece is set up. music_playing stays as it was for the volumes below.
  if (music.music_playing && music.stream_open) {
    music.music_playing = 0;
    midi_stream_stop();
    music.music_playing = 1;
  }
  music.setup_result = music_setup();
  if (music.stream_open) music_set_channel_volumes(1000);
  music.music_state = music.piece_ended ? MUSIC_STOPPED : MUSIC_PLAYING;
  midi_stream_restart();
  music.music_playing = 1;
  music.music_opened = 1;
  audio_trace((std::string("music: play ") + music.music_file).c_str());
}

static void release_buffers() {
  if (!music.buffers) return;
  for (int i = 0; i < 2; i++) {
    if (music.headers_prepared) {
      int r = midi_unprepare_header(&music.buffers[i].header);
      if (r != MIDI_OK) midi_error_box(r);
    }
  }
  std::free(music.buffers);
  music.buffers = nullptr;
  music.headers_prepared = 0;
}

static void stop_piece() {
  music.music_playing = 0;
  if (music.stream_open) {
    midi_stream_stop();
    midi_out_reset();
  }
  music.music_state = MUSIC_STOPPED;
  if (music.music_opened) {
    midi_close_file();
    midi_free_tracks();
    release_buffers();
    if (music.stream_open) midi_stream_close();
    music.stream_open = 0;
  }
}

void music_stop() {
  if (music.music_failed || music.music_muted) return;
  stop_piece();
  // A one-off tune that is stopped is over: the keys it held back are free
  // again, or a looping piece started after it would hold them until its
  // first pass ends.
  music.tune_playing = 0;
  audio_trace("music: stop");
}

void music_set_channel_volumes(int master) {
  if (!music.music_playing) return;
  for (int ch = 0; ch < 16; ch++) {
    int v = music.channel_volume[ch] * master / 1000;
    v = v < 0 ? 0 : v > 127 ? 127 : v;
    int r = midi_short_msg(static_cast<std::uint32_t>(0xB0 + ch) | 7u << 8 |
                           static_cast<std::uint32_t>(v) << 16);
    if (r != MIDI_OK) {
      midi_error_box(r);
      return;
    }
  }
}

void music_callback(int message, midi_header*) {
  if (message != MOM_DONE || music.music_state == MUSIC_STOPPED) return;
  music.returned++;
  if (!music.music_playing || music.returned == 0 || !music.buffers) return;
  stream_buffer* b = &music.buffers[music.current];
  reset_buffer(b);
  if (midi_convert(0, b) != CONVERT_OK) {
    midi_close_file();
    return;
  }
  b->header.bytes_recorded = b->recorded;
  if (midi_stream_out(&b->header) == MIDI_OK) {
    music.current ^= 1;
    music.returned--;
  } else {
    midi_close_file();
  }
}

void reset_music_state() {
  // Whatever is playing stops, even with music switched off.
  music.music_opened = 1;
  stop_piece();
  music.music_failed = 0;
  music.music_muted = 0;
  music.music_state = MUSIC_STOPPED;
  music.music_playing = 0;
  music.tune_playing = 0;
  music.field_music_on = 0;
  music.returned = 0;
  music.music_opened = 0;
  music.stream_open = 0;
  music.headers_prepared = 0;
  music.first_event = 0;
  music.music_file[0] = 0;
  music.file_size = 0;
  music.format = music.track_count = music.division = 0;
  music.conv_status = 0;
  music.conv_tick = 0;
  midi_free_block(&music.pending);
  music.pending = midi_event{};
  music.blocks = 0;
  music.carried = 0;
  music.events_this_pass = 0;
  music.piece_ended = 0;
  music.setup_result = 0;
  music.current = 0;
  for (int& v : music.channel_volume) v = 0;
  music.tempo_multiplier = 100;
  music.current_tempo = 0;
  music.buffer_tick_length = 0;
}
