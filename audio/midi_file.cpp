// Reading a standard MIDI file: the header, then each track through its own
// 1024-byte window that is refilled from the file as the track is read.
// Every count and length is checked against what is left of the track or the
// file, so a damaged file fails instead of reading past anything.
#include "audio/music.h"
#include "platform/file.h"

#include <cstdlib>
#include <cstring>

static std::uint32_t be32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}
static std::uint16_t be16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

static const char READ_ERROR[] = "Read error on input file or file is corrupt.\n";

static std::uint32_t bytes_left(const midi_track* t) {
  return t->left_in_buffer + t->left_on_disk;
}

static bool read_exact(void* to, std::size_t n) {
  return music.file && std::fread(to, 1, n, music.file) == n;
}

static bool seek_to(std::uint32_t pos) {
  return music.file && std::fseek(music.file, static_cast<long>(pos), SEEK_SET) == 0;
}

void midi_close_file() {
  if (music.file) std::fclose(music.file);
  music.file = nullptr;
}

void midi_free_tracks() {
  if (music.tracks) {
    for (int i = 0; i < music.track_count; i++) std::free(music.tracks[i].buffer);
    std::free(music.tracks);
  }
  music.tracks = nullptr;
  music.track_count = 0;
}

static int open_fail() {
  midi_close_file();
  midi_free_tracks();
  return 1;
}

// Fills a track's window from its start and reads its first delta time.
static int load_track_start(midi_track* t) {
  std::uint32_t n = t->length < TRACK_BUFFER_BYTES ? t->length : TRACK_BUFFER_BYTES;
  if (!seek_to(t->track_start) || !read_exact(t->buffer, n)) return 1;
  t->left_on_disk = t->length - n;
  t->left_in_buffer = n;
  t->next_read = t->track_start + n;
  t->current = t->buffer;
  t->flags = 0;
  t->running_status = 0;
  t->next_tick = 0;
  if (n == 0) {
    t->flags = TRACK_ENDED;
    return 0;
  }
  if (midi_read_varlen(t, &t->next_tick) != 0) {
    music_file_box(READ_ERROR);
    return 2;
  }
  return 0;
}

static int open_track(midi_track* t, std::uint32_t* pos) {
  std::uint8_t h[8];
  t->buffer = static_cast<std::uint8_t*>(std::calloc(1, TRACK_BUFFER_BYTES));
  if (!t->buffer || !seek_to(*pos) || !read_exact(h, 8) || std::memcmp(h, "MTrk", 4) != 0) return 1;
  t->length = be32(h + 4);
  t->track_start = *pos + 8;
  // A track that claims more than the file holds is damaged.
  if (t->length > music.file_size - t->track_start) return 1;
  if (load_track_start(t) != 0) return 1;
  *pos = t->track_start + t->length;
  return seek_to(*pos) ? 0 : 1;
}

int midi_open_file(const char* name) {
  midi_close_file();
  midi_free_tracks();
  music.file = open_read_file(name);
  if (!music.file) return 1;
  std::fseek(music.file, 0, SEEK_END);
  long size = std::ftell(music.file);
  if (size < 14 || size > 0x7FFFFFFF) return open_fail();
  music.file_size = static_cast<std::uint32_t>(size);
  std::uint8_t h[14];
  if (!seek_to(0) || !read_exact(h, 14) || std::memcmp(h, "MThd", 4) != 0) return open_fail();
  std::uint32_t hlen = be32(h + 4);
  if (hlen < 6 || hlen > music.file_size - 8) return open_fail();
  music.format = be16(h + 8);
  std::uint16_t tracks = be16(h + 10);
  music.division = be16(h + 12);
  // Every track needs at least its 8-byte chunk header in the file.
  std::uint32_t pos = 8 + hlen;
  if (tracks == 0 || tracks > (music.file_size - pos) / 8) return open_fail();
  music.tracks = static_cast<midi_track*>(std::calloc(tracks, sizeof(midi_track)));
  if (!music.tracks) return open_fail();
  music.track_count = tracks;
  for (int i = 0; i < tracks; i++) {
    if (open_track(&music.tracks[i], &pos) != 0) return open_fail();
  }
  return 0;
}

int midi_refill(midi_track* t) {
  if (t->left_on_disk == 0) return 1;
  if (!seek_to(t->next_read)) {
    music_file_box("Unable to seek to track buffer location in RefillTrackBuffer()!!");
    return 1;
  }
  std::uint32_t n = t->left_on_disk < TRACK_BUFFER_BYTES ? t->left_on_disk : TRACK_BUFFER_BYTES;
  std::size_t got = music.file ? std::fread(t->buffer, 1, n, music.file) : 0;
  if (got == 0) {
    music_file_box("Read operation failed prematurely!!");
    return 1;
  }
  t->left_on_disk -= static_cast<std::uint32_t>(got);
  t->next_read += static_cast<std::uint32_t>(got);
  t->left_in_buffer = static_cast<std::uint32_t>(got);
  t->current = t->buffer;
  return 0;
}

int midi_read_byte(midi_track* t, std::uint8_t* b) {
  if (t->left_in_buffer == 0 && midi_refill(t) != 0) return 1;
  *b = *t->current++;
  t->left_in_buffer--;
  return 0;
}

int midi_read_varlen(midi_track* t, std::uint32_t* out) {
  std::uint32_t v = 0;
  // Four bytes carry 28 bits, all a file may use; a fifth means damage.
  for (int i = 0; i < 4; i++) {
    std::uint8_t b;
    if (midi_read_byte(t, &b) != 0) {
      t->flags |= TRACK_ENDED;
      return 1;
    }
    v = v << 7 | (b & 0x7F);
    if (!(b & 0x80)) {
      *out = v;
      return 0;
    }
  }
  t->flags |= TRACK_ENDED;
  return 1;
}

static int ended_fail(midi_track* t) {
  t->flags |= TRACK_ENDED;
  return 1;
}

// The data of a system-exclusive or meta event, `count` bytes.
static int read_block(midi_track* t, midi_event* ev, std::uint32_t count) {
  if (count > bytes_left(t)) return ended_fail(t);
  ev->block = static_cast<std::uint8_t*>(std::malloc(count));
  if (!ev->block) return ended_fail(t);
  music.blocks++;
  for (std::uint32_t i = 0; i < count; i++) {
    if (midi_read_byte(t, &ev->block[i]) != 0) return ended_fail(t);
  }
  ev->length = count;
  return 0;
}

static int read_channel_data(midi_track* t, midi_event* ev, std::uint8_t status) {
  int n = (status >= 0xC0 && status <= 0xDF) ? 1 : 2;
  if (bytes_left(t) < static_cast<std::uint32_t>(n)) return ended_fail(t);
  for (int i = 0; i < n; i++) {
    if (midi_read_byte(t, &ev->data[i]) != 0) return ended_fail(t);
  }
  ev->status = status;
  ev->length = n + 1;
  return 0;
}

static int read_event_body(midi_track* t, midi_event* ev, std::uint8_t b) {
  if (b < 0x80) { // running status: b is the first data byte
    if (t->running_status == 0) return 1;
    ev->status = t->running_status;
    ev->data[0] = b;
    ev->length = 2;
    if (ev->status >= 0xC0 && ev->status <= 0xDF) return 0;
    if (midi_read_byte(t, &ev->data[1]) != 0) return ended_fail(t);
    ev->length = 3;
    return 0;
  }
  if (b == 0xF0 || b == 0xF7) {
    std::uint32_t count;
    ev->status = b;
    if (midi_read_varlen(t, &count) != 0) return 1;
    return read_block(t, ev, count);
  }
  if (b == 0xFF) {
    std::uint32_t count;
    ev->status = b;
    if (midi_read_byte(t, &ev->data[0]) != 0) return ended_fail(t);
    if (midi_read_varlen(t, &count) != 0) return 1;
    if (count != 0 && read_block(t, ev, count) != 0) return 1;
    if (ev->data[0] == 0x2F) t->flags |= TRACK_ENDED;
    return 0;
  }
  if (b > 0xF0) return 1;
  t->running_status = b;
  return read_channel_data(t, ev, b);
}

int midi_read_event(midi_track* t, midi_event* ev) {
  *ev = midi_event{};
  if ((t->flags & TRACK_ENDED) || bytes_left(t) == 0) return 1;
  std::uint8_t b;
  if (midi_read_byte(t, &b) != 0) return 1;
  if (read_event_body(t, ev, b) != 0) {
    midi_free_block(ev);
    return 1;
  }
  ev->tick = t->next_tick;
  if (!(t->flags & TRACK_ENDED)) {
    std::uint32_t delta;
    if (midi_read_varlen(t, &delta) != 0) {
      midi_free_block(ev);
      return 1;
    }
    t->next_tick += delta;
  }
  return 0;
}

void midi_rewind() {
  music.conv_tick = 0;
  for (int i = 0; i < music.track_count; i++) {
    midi_track* t = &music.tracks[i];
    int r = load_track_start(t);
    if (r == 1) music_file_box(READ_ERROR);
    if (r != 0) return;
    seek_to(t->track_start + t->length);
  }
}

void midi_free_block(midi_event* ev) {
  if (!ev->block) return;
  std::free(ev->block);
  ev->block = nullptr;
  music.blocks--;
}
