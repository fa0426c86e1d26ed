// The music calls of the rest of the game: pieces by music-list number, the
// one-off tunes of events, and the keys M and N with the restart rule.
#include "audio/music.h"
#include "state/state.h"

#include <cstring>

void play_music_entry(int number) {
  if (number < 0 || number >= MUSIC_COUNT) return;
  char name[40];
  std::memcpy(name, game.music_list[number], sizeof name);
  name[sizeof name - 1] = 0;
  music_play(name);
}

void play_tune(int number) {
  music.field_music_on = 0;
  if (music.music_failed || music.music_muted || number < 0 || number >= MUSIC_COUNT) return;
  // Set before the piece starts: a tune with nothing to play clears it at once.
  music.tune_playing = 1;
  play_music_entry(number);
  if (music.setup_result != 0) music.tune_playing = 0;
}

int music_key_restart() {
  if (music.music_failed || music.music_muted) return 0;
  if (music.tune_playing) return 1;
  if (music.field_music_on == 0) {
    music.field_music_on = 1;
    music_stop();
    play_music_entry(game.cur_music);
  }
  return 0;
}

void music_next() {
  music_stop();
  game.cur_music =
      (game.cur_music >= 0 && game.cur_music < MUSIC_COUNT - 1) ? game.cur_music + 1 : 0;
  play_music_entry(game.cur_music);
}

void music_toggle_mute() {
  music_stop();
  music.music_muted = 1 - music.music_muted;
}
