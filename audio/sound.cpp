// The sound-effect bank: thirteen effects, each one sound object with its
// platform buffers, played either by restarting or only when idle.
#include "audio/sound.h"

#include "platform/sound.h"

#include <string>

sound_data sound;

const sound_effect_row sound_effects[SOUND_COUNT] = {
    {"menusound", PLAY_RESTART}, {"menusound2", PLAY_RESTART},  {"ItemGet", PLAY_RESTART},
    {"MagicGet", PLAY_RESTART},  {"BattleStart", PLAY_RESTART}, {"WallStop", PLAY_IF_IDLE},
    {"TekiAtk", PLAY_RESTART},   {"Atk", PLAY_RESTART},         {"Cancel", PLAY_RESTART},
    {"Info", PLAY_RESTART},      {"Haku", PLAY_RESTART},        {"Kaidan", PLAY_IF_IDLE},
    {"Door", PLAY_RESTART},
};

void reset_sound_state() {
  for (sound_object& o : sound.objects) {
    for (int i = 0; i < o.buffer_count; i++) snd_buffer_release(o.buffers[i]);
  }
  sound = sound_data{};
}

void sound_init() {
  if (!snd_device_open()) return; // no device: the game runs silent
  sound.device = true;
  for (int i = 0; i < SOUND_COUNT; i++)
    sound_create(&sound.objects[i], sound_effects[i].resource, 1);
}

static snd_format platform_format(const wave_format& w) {
  snd_format f;
  f.format_tag = w.format_tag;
  f.channels = w.channels;
  f.rate = w.samples_per_sec;
  f.bits = w.bits_per_sample;
  // A 14-byte format has no sample size: the block holds one sample per channel.
  if (f.bits == 0 && w.channels)
    f.bits = static_cast<std::uint16_t>(w.block_align / w.channels * 8);
  return f;
}

int sound_fill(int buffer, const wave_info& wave) {
  if (!buffer || !wave.data) return 0;
  return snd_buffer_fill(buffer, wave.data, wave.size);
}

static void free_object(sound_object* obj) {
  for (int i = 0; i < obj->buffer_count; i++) snd_buffer_release(obj->buffers[i]);
  *obj = sound_object{};
}

int sound_create_from(sound_object* obj, const wave_info& wave, int buffers) {
  *obj = sound_object{};
  if (!sound.device || buffers < 1 || buffers > SOUND_MAX_BUFFERS) return 0;
  obj->wave = wave;
  obj->buffer_count = buffers;
  int first = snd_buffer_create(platform_format(wave.format), wave.size);
  obj->buffers[0] = first;
  if (!first || !sound_fill(first, wave)) {
    free_object(obj);
    return 0;
  }
  for (int i = 1; i < buffers; i++) {
    int b = snd_buffer_duplicate(first);
    if (!b) {
      b = snd_buffer_create(platform_format(wave.format), wave.size);
      if (b && !sound_fill(b, wave)) snd_buffer_release(b), b = 0;
    }
    obj->buffers[i] = b;
    if (!b) {
      free_object(obj);
      return 0;
    }
  }
  obj->present = true;
  return 1;
}

int sound_create(sound_object* obj, const char* name, int buffers) {
  wave_info w;
  *obj = sound_object{};
  if (!find_wave(name, &w)) return 0;
  return sound_create_from(obj, w, buffers);
}

int sound_free_buffer(sound_object* obj) {
  if (!obj || !obj->present) return 0;
  int b = obj->buffers[obj->current];
  if (snd_buffer_status(b) & SNDBUF_PLAYING) {
    if (obj->buffer_count == 1) return 0;
    obj->current = (obj->current + 1) % obj->buffer_count;
    b = obj->buffers[obj->current];
    if (snd_buffer_status(b) & SNDBUF_PLAYING) {
      snd_buffer_stop(b);
      snd_buffer_set_position(b, 0);
    }
  }
  if (snd_buffer_status(b) & SNDBUF_LOST) {
    if (!snd_buffer_restore(b) || !sound_fill(b, obj->wave)) return 0;
  }
  return b;
}

int sound_play(sound_object* obj, int looping) {
  if (!obj || !obj->present) return 0;
  if (looping && obj->buffer_count != 1) return 0;
  int b = sound_free_buffer(obj);
  if (!b) return 0;
  return snd_buffer_play(b, looping);
}

int sound_stop(sound_object* obj) {
  if (!obj || !obj->present) return 0;
  for (int i = 0; i < obj->buffer_count; i++) {
    snd_buffer_stop(obj->buffers[i]);
    snd_buffer_set_position(obj->buffers[i], 0);
  }
  return 1;
}

void play_effect(int effect) {
  if (effect < 0 || effect >= SOUND_COUNT) return;
  sound_object* obj = &sound.objects[effect];
  if (!obj->present) return;
  if (sound_effects[effect].kind == PLAY_RESTART) sound_stop(obj);
  if (sound_play(obj, 0))
    audio_trace((std::string("sound: ") + sound_effects[effect].resource).c_str());
}

void play_menusound() {
  play_effect(SND_MENU);
}
void play_battlestart() {
  play_effect(SND_BATTLE_START);
}
void play_wallstop() {
  play_effect(SND_WALL);
}
void play_tekiatk() {
  play_effect(SND_MONSTER_ATTACK);
}
void play_atk() {
  play_effect(SND_ATTACK);
}
void play_cancel() {
  play_effect(SND_CANCEL);
}
void play_haku() {
  play_effect(SND_BREATH);
}
void play_kaidan() {
  play_effect(SND_STAIRS);
}
void play_door() {
  play_effect(SND_DOOR);
}
