// Converting a piece into stream buffers: the tracks' events merged by tick,
// each written as a 12-byte stream event, a buffer closed when it is full or
// holds about 60 ms of music. At the end of the tracks field music starts
// again from the beginning and a one-off tune ends.
#include "audio/music.h"

#include <cstring>

static void write_event(stream_buffer* buf, std::uint32_t delta, std::uint32_t word) {
  std::uint8_t* p = buf->data + buf->start + buf->recorded;
  std::uint32_t ev[3] = {delta, 0, word};
  std::memcpy(p, ev, 12);
  buf->recorded += 12;
}

static std::uint32_t room(const stream_buffer* buf) {
  std::uint32_t used = buf->start + buf->recorded;
  return used < buf->max_length ? buf->max_length - used : 0;
}

static bool is_tempo(const midi_event* ev) {
  return ev->status == 0xFF && ev->data[0] == 0x51 && ev->length >= 3 && ev->block;
}

static bool is_end_of_track(const midi_event* ev) {
  return ev->status == 0xFF && ev->data[0] == 0x2F;
}

static std::uint32_t tempo_word(std::uint32_t tempo) {
  std::uint32_t t = static_cast<std::uint32_t>(std::uint64_t(tempo) * 100 / music.tempo_multiplier);
  return (t & 0xFFFFFF) | MEVT_TEMPO << 24;
}

int midi_add_event(stream_buffer* buf, midi_event* ev) {
  if (buf->recorded == 0) buf->tick = music.conv_tick;
  if (music.conv_tick - buf->tick > music.buffer_tick_length) {
    if (buf->times_up) {
      buf->times_up = 0;
      return CONVERT_FULL;
    }
    buf->times_up = 1;
  }
  bool written = ev->status < 0xF0 || is_tempo(ev);
  // Room is checked before the converter tick moves, so that an event put off
  // to the next buffer keeps its delta time there.
  std::uint32_t need = (written ? 12 : 0) + (music.first_event && music.current_tempo ? 12 : 0);
  if (room(buf) < need || (music.first_event && room(buf) < 12)) return CONVERT_FULL;
  std::uint32_t delta = ev->tick - music.conv_tick + music.carried;
  music.conv_tick = ev->tick;
  if (music.first_event) {
    music.first_event = 0;
    if (music.current_tempo) write_event(buf, 0, tempo_word(music.current_tempo));
  }
  if (!written) { // not written: its time goes into the next written event
    music.carried = delta;
    bool meta = ev->status == 0xFF;
    midi_free_block(ev);
    return meta ? CONVERT_META_SKIPPED : CONVERT_OK;
  }
  music.carried = 0;
  music.events_this_pass++;
  if (ev->status < 0xF0) {
    write_event(buf, delta, ev->status | ev->data[0] << 8 | ev->data[1] << 16);
    return CONVERT_OK;
  }
  std::uint32_t tempo = ev->block[0] << 16 | ev->block[1] << 8 | ev->block[2];
  midi_free_block(ev);
  if (tempo == 0) tempo = 1;
  write_event(buf, delta, tempo_word(tempo));
  music.current_tempo = tempo;
  music.buffer_tick_length =
      static_cast<std::uint32_t>(std::uint64_t(music.division) * 60000 / tempo);
  return CONVERT_OK;
}

void midi_end_of_tracks() {
  int one = 1;
  music.tune_playing.compare_exchange_strong(one, 0);
  // Field music loops; but a piece without a single event to play would loop
  // without end in no time, so it ends like a one-off tune.
  if (music.field_music_on == 0 || music.events_this_pass == 0) {
    music.music_state = MUSIC_STOPPED;
    music.piece_ended = 1;
  }
}

// The track that has not ended with the smallest next tick, the first in file
// order on ties; null when all have ended.
static midi_track* next_track() {
  midi_track* best = nullptr;
  for (int i = 0; i < music.track_count; i++) {
    midi_track* t = &music.tracks[i];
    if (t->flags & TRACK_ENDED) continue;
    if (!best || t->next_tick < best->next_tick) best = t;
  }
  return best;
}

// Adds the event put off by the previous buffer; 0 to go on converting.
// An end of track is not written, but the time up to it is kept, so that a
// piece that rests before its end keeps the rest when it loops.
static void drop_end_of_track(midi_event* ev) {
  if (ev->tick > music.conv_tick) {
    music.carried += ev->tick - music.conv_tick;
    music.conv_tick = ev->tick;
  }
  midi_free_block(ev);
}

static int add_waiting(stream_buffer* buf, int* result) {
  music.conv_status &= ~CONV_WAITING;
  if (is_end_of_track(&music.pending)) {
    drop_end_of_track(&music.pending);
    return 0;
  }
  int r = midi_add_event(buf, &music.pending);
  if (r == CONVERT_FULL) {
    music.conv_status |= CONV_WAITING;
    *result = CONVERT_OK;
    return 1;
  }
  if (r != CONVERT_OK && r != CONVERT_META_SKIPPED) {
    *result = 1;
    return 1;
  }
  return 0;
}

int midi_convert(int first, stream_buffer* buf) {
  buf->recorded = 0;
  if (first) {
    music.conv_tick = 0;
    music.conv_status = 0;
    music.carried = 0;
    music.events_this_pass = 0;
    midi_free_block(&music.pending);
    music.pending = midi_event{};
  }
  if (music.conv_status & CONV_ALL_ENDED) {
    midi_rewind();
    music.conv_status = 0;
    music.events_this_pass = 0;
  } else if (music.conv_status & CONV_STUCK) {
    return CONVERT_STUCK;
  } else if (music.conv_status & CONV_WAITING) {
    int result;
    if (add_waiting(buf, &result)) return result;
  }
  for (;;) {
    midi_track* t = next_track();
    if (!t) {
      music.conv_status |= CONV_ALL_ENDED;
      midi_end_of_tracks();
      return CONVERT_OK;
    }
    if (midi_read_event(t, &music.pending) != 0) {
      music.conv_status |= CONV_STUCK;
      return CONVERT_CORRUPT;
    }
    if (is_end_of_track(&music.pending)) {
      drop_end_of_track(&music.pending);
      continue;
    }
    int r = midi_add_event(buf, &music.pending);
    if (r == CONVERT_OK || r == CONVERT_META_SKIPPED) continue;
    if (r == CONVERT_FULL) {
      music.conv_status |= CONV_WAITING;
      return CONVERT_OK;
    }
    return 1;
  }
}
