// The MIDI stream: a queue of stream buffers played event by event at their
// delta times, and the completion thread that hands each played buffer back
// to the owner's callback. The sequencer runs wherever the backend's time
// runs (the audio callback, or the headless clock); the callback never does.
#include "platform/audio_engine.h"
#include "platform/file.h"
#include "platform/soundfont.h"

#include <fluidsynth.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>

stream_data stream;

synth_handle::~synth_handle() {
  synth_destroy(this);
}

stream_data::~stream_data() {
  if (loader.joinable()) loader.join();
  {
    std::lock_guard<std::mutex> g(lock);
    quit = true;
  }
  wake.notify_all();
  if (thread.joinable()) thread.join();
}

// ---- the completion thread ----

static void completion_loop() {
  std::unique_lock<std::mutex> g(stream.lock);
  for (;;) {
    stream.wake.wait(g, [] { return stream.quit || !stream.done.empty(); });
    if (stream.quit) return;
    midi_header* h = stream.done.front();
    stream.done.pop_front();
    midi_callback cb = stream.callback;
    stream.busy = true;
    g.unlock();
    if (cb) cb(MOM_DONE, h);
    g.lock();
    stream.busy = false;
    if (stream.done.empty()) stream.idle.notify_all();
  }
}

void stream_wait_idle() {
  std::unique_lock<std::mutex> g(stream.lock);
  if (std::this_thread::get_id() == stream.thread.get_id()) return;
  stream.idle.wait(g, [] { return stream.done.empty() && !stream.busy; });
}

// Hands a buffer back (stream lock held).
static void hand_back(midi_header* h) {
  h->flags = (h->flags & ~MHDR_INQUEUE) | MHDR_DONE;
  stream.done.push_back(h);
  stream.wake.notify_all();
}

static void return_all() {
  while (!stream.queue.empty()) {
    hand_back(stream.queue.front());
    stream.queue.pop_front();
  }
  stream.offset = 0;
  stream.loaded = false;
  stream.due = 0;
}

// ---- the synthesiser ----

// FluidSynth's own gain of 0.2 leaves the scores near -31 dBFS RMS, well
// under the sound effects; this lifts them to about -22 dBFS, their loudest
// peaks near -5 dBFS, which leaves room for two effects sounding together.
constexpr double MUSIC_GAIN = 0.55;

// The soundfont is read through these, which count the reads made while the
// stream plays (on the audio thread, for the real device): there should be
// none, the presets being read ahead.
static thread_local bool in_stream_run = false;
static std::atomic<std::uint64_t> reads_while_playing{0}, reads_ahead{0};

static void* font_open(const char* name) {
  return open_read_file(name);
}
static int font_read(void* buf, fluid_long_long_t count, void* f) {
  (in_stream_run ? reads_while_playing : reads_ahead)++;
  std::size_t n = static_cast<std::size_t>(count);
  return std::fread(buf, 1, n, static_cast<std::FILE*>(f)) == n ? FLUID_OK : FLUID_FAILED;
}
static int font_seek(void* f, fluid_long_long_t offset, int origin) {
  return fseeko(static_cast<std::FILE*>(f), static_cast<off_t>(offset), origin) == 0 ? FLUID_OK
                                                                                     : FLUID_FAILED;
}
static int font_close(void* f) {
  return std::fclose(static_cast<std::FILE*>(f)) == 0 ? FLUID_OK : FLUID_FAILED;
}
static fluid_long_long_t font_tell(void* f) {
  return ftello(static_cast<std::FILE*>(f));
}

const char* soundfont_path() {
  if (std::FILE* f = open_read_file(GAME_SOUNDFONT)) {
    std::fclose(f);
    return GAME_SOUNDFONT;
  }
  for (const char* path : GM_SOUNDFONTS) {
    if (std::FILE* f = open_read_file(path)) {
      std::fclose(f);
      return path;
    }
  }
  return nullptr;
}

bool synth_create(synth_handle* h, char* why, std::size_t size) {
  if (h->synth) return true;
  const char* found = soundfont_path();
  if (!found) {
    std::snprintf(why, size,
                  "No MIDI output: the General MIDI soundfont %s is not installed "
                  "(package timgm6mb-soundfont or fluid-soundfont-gm). Music is off.",
                  GM_SOUNDFONTS[0]);
    return false;
  }
  fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
  fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
  fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
  h->settings = new_fluid_settings();
  fluid_settings_setnum(h->settings, "synth.sample-rate", SOUND_RATE);
  fluid_settings_setnum(h->settings, "synth.gain", MUSIC_GAIN);
  // Only the presets the channels are set to are kept in memory; the
  // shadow channels see to it that they are read before they are played.
  fluid_settings_setint(h->settings, "synth.dynamic-sample-loading", 1);
  fluid_settings_setint(h->settings, "synth.midi-channels", 2 * MIDI_CHANNELS);
  h->synth = new_fluid_synth(h->settings);
  if (h->synth) {
    fluid_sfloader_t* loader = new_fluid_defsfloader(h->settings);
    if (loader) {
      fluid_sfloader_set_callbacks(loader, font_open, font_read, font_seek, font_tell, font_close);
      fluid_synth_add_sfloader(h->synth, loader);
    }
  }
  if (!h->synth || (h->font = fluid_synth_sfload(h->synth, found, 1)) == FLUID_FAILED) {
    std::snprintf(why, size, "No MIDI output: the soundfont %s cannot be read. Music is off.",
                  found);
    synth_destroy(h);
    return false;
  }
  fluid_synth_set_channel_type(h->synth, SHADOW + DRUM_CHANNEL, CHANNEL_TYPE_DRUM);
  for (int ch = 0; ch < MIDI_CHANNELS; ch++) h->shadow_bank[ch] = 0;
  fluid_synth_program_select(h->synth, SHADOW + DRUM_CHANNEL, h->font, DRUM_BANK, 0);
  return true;
}

// ---- reading presets ahead ----
// With dynamic sample loading the synthesiser reads a preset's samples from
// the soundfont when a channel is first set to it. So that this never
// happens on the audio thread, the bank and program changes of a buffer are
// made when the buffer is queued on a shadow channel of its own (channel +
// 16), which never plays a note: the samples are in memory, held by the
// shadow, by the time the buffer plays.

static bool is_preset_change(std::uint32_t ev) {
  if ((ev >> 24) != MEVT_SHORTMSG) return false;
  std::uint32_t status = ev & 0xF0, d1 = ev >> 8 & 0x7F;
  return status == 0xC0 || (status == 0xB0 && d1 == 0);
}

static void preset_changes(const midi_header* h, std::vector<std::uint32_t>* out) {
  for (std::uint32_t off = 0; off + 12 <= h->bytes_recorded;) {
    std::uint32_t ev;
    std::memcpy(&ev, h->data + off + 8, 4);
    if (is_preset_change(ev)) out->push_back(ev & 0xFFFFFF);
    off += 12 + (ev & 0x80000000u ? ((ev & 0xFFFFFF) + 3) & ~3u : 0);
  }
}

// Makes the changes on the shadow channels (the preload lock held).
static void read_ahead(synth_handle* h, const std::vector<std::uint32_t>& changes) {
  if (!h->synth) return;
  for (std::uint32_t m : changes) {
    int ch = m & 0x0F, d1 = m >> 8 & 0x7F, d2 = m >> 16 & 0x7F;
    if ((m & 0xF0) == 0xB0) {
      h->shadow_bank[ch] = d2;
      continue;
    }
    int bank = ch == DRUM_CHANNEL ? DRUM_BANK : h->shadow_bank[ch];
    fluid_synth_program_select(h->synth, SHADOW + ch, h->font, bank, d1);
  }
}

void synth_destroy(synth_handle* h) {
  if (h->synth) delete_fluid_synth(h->synth);
  if (h->settings) delete_fluid_settings(h->settings);
  h->synth = nullptr;
  h->settings = nullptr;
  h->font = -1;
}

static void synth_short(std::uint32_t msg);

void stream_take_synth(synth_handle* h) {
  std::lock_guard<std::mutex> p(stream.preload_lock);
  std::lock_guard<std::mutex> g(stream.lock);
  // what is queued already is read ahead before the stream plays it
  std::vector<std::uint32_t> changes;
  for (const midi_header* q : stream.queue) preset_changes(q, &changes);
  read_ahead(h, changes);
  synth_destroy(&stream.synth);
  stream.synth.synth = h->synth;
  stream.synth.settings = h->settings;
  stream.synth.font = h->font;
  std::memcpy(stream.synth.shadow_bank, h->shadow_bank, sizeof h->shadow_bank);
  stream.synth_quiet = false;
  stream.quiet_frames = 0;
  h->synth = nullptr;
  h->settings = nullptr;
  h->font = -1;
  stream.synth_loading = false;
  for (std::uint32_t m : stream.waiting_shorts) synth_short(m);
  stream.waiting_shorts.clear();
}

static void load_synth() {
  synth_handle synth;
  char why[sizeof stream.open_error];
  bool ok = synth_create(&synth, why, sizeof why);
  if (!ok) {
    std::lock_guard<std::mutex> g(stream.lock);
    std::snprintf(stream.open_error, sizeof stream.open_error, "%s", why);
    stream.load_failed = true;
  }
  // a failed load still ends the wait: the stream then plays to no synthesiser
  stream_take_synth(&synth);
}

bool stream_load_synth() {
  std::lock_guard<std::mutex> g(stream.lock);
  if (stream.synth.synth || stream.synth_loading) return true;
  if (stream.load_failed) return false; // open_error still says why
  if (!soundfont_path()) {
    std::snprintf(stream.open_error, sizeof stream.open_error,
                  "No MIDI output: the General MIDI soundfont %s is not installed "
                  "(package timgm6mb-soundfont or fluid-soundfont-gm). Music is off.",
                  GM_SOUNDFONTS[0]);
    return false;
  }
  if (stream.loader.joinable()) stream.loader.join();
  stream.synth_loading = true;
  stream.loader = std::thread(load_synth);
  return true;
}

// One short message to the synthesiser (note-on at velocity 0 is a note-off).
static void synth_short(std::uint32_t msg) {
  fluid_synth_t* s = stream.synth.synth;
  if (!s) return;
  stream.synth_quiet = false;
  stream.quiet_frames = 0;
  int status = msg & 0xFF, ch = status & 0x0F, d1 = msg >> 8 & 0x7F, d2 = msg >> 16 & 0x7F;
  switch (status & 0xF0) {
  case 0x80:
    fluid_synth_noteoff(s, ch, d1);
    break;
  case 0x90:
    if (d2 == 0)
      fluid_synth_noteoff(s, ch, d1);
    else
      fluid_synth_noteon(s, ch, d1, d2);
    break;
  case 0xA0:
    fluid_synth_key_pressure(s, ch, d1, d2);
    break;
  case 0xB0:
    fluid_synth_cc(s, ch, d1, d2);
    break;
  case 0xC0:
    fluid_synth_program_change(s, ch, d1);
    break;
  case 0xD0:
    fluid_synth_channel_pressure(s, ch, d1);
    break;
  case 0xE0:
    fluid_synth_pitch_bend(s, ch, d1 | d2 << 7);
    break;
  default:
    break;
  }
}

static void synth_all_off() {
  if (!stream.synth.synth) return;
  for (int ch = 0; ch < 16; ch++) fluid_synth_all_notes_off(stream.synth.synth, ch);
}

// ---- the sequencer ----

// Frames of output per tick at the stream's tempo and time division.
static double frames_per_tick() {
  std::uint32_t div = stream.division;
  if (div == 0) return 0;
  if (div & 0x8000) { // frames per second and ticks per frame
    int fps = -static_cast<std::int8_t>(div >> 8), tpf = div & 0xFF;
    return fps > 0 && tpf > 0 ? double(SOUND_RATE) / (fps * tpf) : 0;
  }
  return double(stream.tempo) * SOUND_RATE / 1e6 / div;
}

static std::uint32_t word_at(const midi_header* h, std::uint32_t off) {
  std::uint32_t w;
  std::memcpy(&w, h->data + off, 4);
  return w;
}

// Plays the front event once it is due; false when the front buffer is done.
static bool front_event(midi_header* h) {
  if (stream.offset + 12 > h->bytes_recorded) return false;
  if (!stream.loaded) {
    stream.due += word_at(h, stream.offset) * frames_per_tick();
    stream.loaded = true;
  }
  return true;
}

static void dispatch(midi_header* h) {
  std::uint32_t ev = word_at(h, stream.offset + 8);
  std::uint32_t skip = 12;
  if (ev & 0x80000000u) { // a long event: its parameter bytes follow, in whole words
    skip += ((ev & 0xFFFFFF) + 3) & ~3u;
  } else if ((ev >> 24) == MEVT_SHORTMSG) {
    synth_short(ev & 0xFFFFFF);
  } else if ((ev >> 24) == MEVT_TEMPO) {
    std::uint32_t t = ev & 0xFFFFFF;
    if (t) stream.tempo = t;
  }
  stream.offset += skip;
  stream.loaded = false;
  stream.events_played++;
}

// The synthesiser's output dithers by a step or so around zero when nothing
// sounds; once it has stayed there this long with no voice left, the reverb
// has died away too and running it only makes noise below hearing.
constexpr int QUIET_PEAK = 2;
constexpr int QUIET_AFTER_FRAMES = 4096;

static bool at_dither_level(const std::int16_t* out, int frames) {
  for (int i = 0; i < 2 * frames; i++)
    if (out[i] > QUIET_PEAK || out[i] < -QUIET_PEAK) return false;
  return true;
}

static void render(std::int16_t* out, int frames) {
  if (!out) return;
  fluid_synth_t* s = stream.synth.synth;
  if (!s || stream.synth_quiet) {
    std::memset(out, 0, sizeof(std::int16_t) * 2 * frames);
    return;
  }
  fluid_synth_write_s16(s, frames, out, 0, 2, out, 1, 2);
  stream.synth_frames += static_cast<std::uint64_t>(frames);
  if (fluid_synth_get_active_voice_count(s) == 0 && at_dither_level(out, frames))
    stream.quiet_frames += frames;
  else
    stream.quiet_frames = 0;
  stream.synth_quiet = stream.quiet_frames >= QUIET_AFTER_FRAMES;
}

void stream_run(std::int16_t* out, int frames) {
  std::lock_guard<std::mutex> g(stream.lock);
  in_stream_run = true;
  struct leave {
    ~leave() { in_stream_run = false; }
  } on_return;
  if (stream.synth_loading) {
    if (out) std::memset(out, 0, sizeof(std::int16_t) * 2 * frames);
    return;
  }
  int done = 0;
  while (done < frames) {
    if (!stream.open || !stream.running || stream.queue.empty()) break;
    midi_header* h = stream.queue.front();
    if (!front_event(h)) { // every event of the buffer played
      stream.queue.pop_front();
      hand_back(h);
      stream.offset = 0;
      if (stream.queue.empty()) stream.due = 0;
      continue;
    }
    if (stream.due <= 0) {
      dispatch(h);
      continue;
    }
    int n = std::min(frames - done, std::max(1, static_cast<int>(std::ceil(stream.due))));
    render(out ? out + 2 * done : nullptr, n);
    stream.due -= n;
    done += n;
  }
  if (done < frames) render(out ? out + 2 * done : nullptr, frames - done);
}

// ---- the stream interface ----

int stream_open(midi_callback callback) {
  std::lock_guard<std::mutex> g(stream.lock);
  if (stream.open) return MIDI_ERR_ALLOCATED;
  stream.open = true;
  stream.running = false; // a new stream stands paused until restarted
  stream.callback = callback;
  stream.division = 96;
  stream.tempo = 500000;
  stream.short_msgs = 0;
  stream.events_played = 0;
  return_all();
  if (!stream.thread.joinable()) stream.thread = std::thread(completion_loop);
  return MIDI_OK;
}

int midi_stream_time_division(std::uint32_t division) {
  std::lock_guard<std::mutex> g(stream.lock);
  if (!stream.open) return MIDI_ERR_INVALHANDLE;
  if (division == 0) return MIDI_ERR_INVALPARAM;
  stream.division = division;
  return MIDI_OK;
}

int midi_prepare_header(midi_header* h) {
  if (!h || !h->data || h->buffer_length == 0) return MIDI_ERR_INVALPARAM;
  h->flags |= MHDR_PREPARED;
  return MIDI_OK;
}

int midi_unprepare_header(midi_header* h) {
  if (!h) return MIDI_ERR_INVALPARAM;
  std::lock_guard<std::mutex> g(stream.lock);
  if (h->flags & MHDR_INQUEUE) return MIDI_ERR_STILLPLAYING;
  h->flags &= ~MHDR_PREPARED;
  return MIDI_OK;
}

int midi_stream_out(midi_header* h) {
  if (h && h->data && h->bytes_recorded <= h->buffer_length) {
    std::vector<std::uint32_t> changes;
    preset_changes(h, &changes);
    std::lock_guard<std::mutex> p(stream.preload_lock);
    read_ahead(&stream.synth, changes);
  }
  std::lock_guard<std::mutex> g(stream.lock);
  if (!stream.open) return MIDI_ERR_INVALHANDLE;
  if (!h || !h->data || h->bytes_recorded > h->buffer_length) return MIDI_ERR_INVALPARAM;
  if (!(h->flags & MHDR_PREPARED)) return MIDI_ERR_UNPREPARED;
  if (h->flags & MHDR_INQUEUE) return MIDI_ERR_STILLPLAYING;
  h->flags = (h->flags & ~MHDR_DONE) | MHDR_INQUEUE;
  stream.queue.push_back(h);
  return MIDI_OK;
}

int midi_stream_restart() {
  std::lock_guard<std::mutex> g(stream.lock);
  if (!stream.open) return MIDI_ERR_INVALHANDLE;
  stream.running = true;
  return MIDI_OK;
}

// Hands back everything queued until nothing is queued any more: a callback
// under way may still queue a buffer, which is handed back in its turn.
static int return_until_empty(bool stop) {
  for (;;) {
    {
      std::lock_guard<std::mutex> g(stream.lock);
      if (!stream.open) return MIDI_ERR_INVALHANDLE;
      if (stop) stream.running = false;
      synth_all_off();
      return_all();
    }
    stream_wait_idle();
    std::lock_guard<std::mutex> g(stream.lock);
    if (stream.queue.empty() || std::this_thread::get_id() == stream.thread.get_id()) break;
  }
  return MIDI_OK;
}

int midi_stream_stop() {
  return return_until_empty(true);
}
int midi_out_reset() {
  return return_until_empty(false);
}

int midi_stream_close() {
  if (midi_stream_stop() != MIDI_OK) return MIDI_ERR_INVALHANDLE;
  std::lock_guard<std::mutex> g(stream.lock);
  stream.open = false;
  stream.callback = nullptr;
  return MIDI_OK;
}

int midi_short_msg(std::uint32_t message) {
  std::lock_guard<std::mutex> g(stream.lock);
  if (!stream.open) return MIDI_ERR_INVALHANDLE;
  if (!(message & 0x80)) return MIDI_ERR_INVALPARAM;
  stream.short_msgs++;
  stream.last_short = message;
  if (stream.synth_loading)
    stream.waiting_shorts.push_back(message);
  else
    synth_short(message);
  return MIDI_OK;
}

midi_stream_info midi_stream_query() {
  std::lock_guard<std::mutex> g(stream.lock);
  return {stream.open,
          stream.running,
          stream.division,
          stream.tempo,
          static_cast<int>(stream.queue.size()),
          stream.short_msgs,
          stream.last_short,
          stream.events_played,
          stream.synth_frames,
          reads_ahead,
          reads_while_playing};
}

void midi_error_text(int code, char* text, std::size_t size) {
  if (!text || size == 0) return;
  const char* t = "An unknown MIDI error occurred.";
  switch (code) {
  case MIDI_OK:
    t = "The MIDI operation succeeded.";
    break;
  case MIDI_ERR_ERROR:
    t = "An unspecified MIDI error occurred.";
    break;
  case MIDI_ERR_BADDEVICEID:
    t = "The MIDI device number is out of range.";
    break;
  case MIDI_ERR_ALLOCATED:
    t = "The MIDI stream is already open.";
    break;
  case MIDI_ERR_INVALHANDLE:
    t = "The MIDI stream is not open.";
    break;
  case MIDI_ERR_NODRIVER:
    t = stream.open_error[0] ? stream.open_error : "No MIDI output is available.";
    break;
  case MIDI_ERR_NOMEM:
    t = "Not enough memory for the MIDI stream.";
    break;
  case MIDI_ERR_INVALPARAM:
    t = "A MIDI parameter is not valid.";
    break;
  case MIDI_ERR_UNPREPARED:
    t = "The MIDI buffer has not been prepared.";
    break;
  case MIDI_ERR_STILLPLAYING:
    t = "The MIDI buffer is still playing.";
    break;
  }
  std::snprintf(text, size, "%s", t);
}
