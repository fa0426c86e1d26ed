// The sound-effect bank: the game's thirteen short sounds, made into wave
// buffers once at start-up from the WAV resources carried in the program.
// Every effect has one play call; an effect whose data is missing or bad
// has no object and its play call does nothing. Nothing here ever shows a
// message: without a sound device the game simply runs silent.
#pragma once
#include <cstddef>
#include <cstdint>

// The effects in load order.
enum sound_effect : int {
  SND_MENU = 0,
  SND_MENU2,
  SND_ITEM_GET,
  SND_MAGIC_GET,
  SND_BATTLE_START,
  SND_WALL,
  SND_MONSTER_ATTACK,
  SND_ATTACK,
  SND_CANCEL,
  SND_INFO,
  SND_BREATH,
  SND_STAIRS,
  SND_DOOR,
  SOUND_COUNT
};

// How a play request treats an effect that is still sounding.
enum sound_play_kind : int {
  PLAY_RESTART = 0, // stop, then play from the start
  PLAY_IF_IDLE = 1, // dropped while the effect still sounds
};

struct sound_effect_row {
  const char* resource; // WAV resource name, looked up without regard to case
  int kind;             // sound_play_kind
};
extern const sound_effect_row sound_effects[SOUND_COUNT];

// The wave format of a "fmt " chunk (its first 14 bytes, and the sample size
// when the chunk has it).
struct wave_format {
  std::uint16_t format_tag = 0; // 1 = PCM
  std::uint16_t channels = 0;
  std::uint32_t samples_per_sec = 0;
  std::uint32_t avg_bytes_per_sec = 0;
  std::uint16_t block_align = 0;
  std::uint16_t bits_per_sample = 0; // 0 when the chunk is only 14 bytes
};

struct wave_info {
  wave_format format;
  const std::uint8_t* data = nullptr; // the "data" chunk, inside the resource
  std::uint32_t size = 0;
};

constexpr int SOUND_MAX_BUFFERS = 4;

// One effect: its wave data and the platform buffers that play it.
struct sound_object {
  bool present = false;
  wave_info wave;
  int buffer_count = 0;
  int current = 0;
  int buffers[SOUND_MAX_BUFFERS]{}; // platform wave buffer ids, 0 = none
};

struct sound_data {
  bool device = false; // the sound device opened
  sound_object objects[SOUND_COUNT]{};
};

extern sound_data sound;
void reset_sound_state();

// Opens the sound device and makes the thirteen effects; called once by
// start-up after the main window exists.
void sound_init();

// One play call per effect.
void play_menusound();
void play_battlestart();
void play_wallstop();
void play_tekiatk();
void play_atk();
void play_cancel();
void play_haku();
void play_kaidan();
void play_door();
// The same by effect number (sound_effect), with the effect's own kind.
void play_effect(int effect);

// The operations every effect is made of, on any sound object.
// parse_wave: 1 with the format and data of a RIFF/WAVE image, else 0.
int parse_wave(const std::uint8_t* bytes, std::size_t size, wave_info* out);
// find_wave: the named WAV resource, parsed; 1 or 0.
int find_wave(const char* name, wave_info* out);
// sound_create: an object for the named resource with `buffers` buffers; 1 or 0.
int sound_create(sound_object* obj, const char* name, int buffers);
// sound_create_from: the same from wave data already parsed.
int sound_create_from(sound_object* obj, const wave_info& wave, int buffers);
int sound_fill(int buffer, const wave_info& wave);
int sound_free_buffer(sound_object* obj);       // a buffer id, or 0 for none
int sound_play(sound_object* obj, int looping); // 1 when a buffer started
int sound_stop(sound_object* obj);              // 1, or 0 for no object
