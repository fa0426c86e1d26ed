// A clean game: every subsystem back to its start values, as the program
// is before start-up. Tests begin here.
#include "audio/music.h"
#include "audio/sound.h"
#include "battle/battle.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "field/shop.h"
#include "gfx/field_map.h"
#include "gfx/surfaces.h"
#include "gfx/text.h"
#include "gfx/title_screens.h"
#include "message/message.h"
#include "shell/shell.h"
#include "state/state.h"

void reset_game() {
  reset_music_state(); // stops a piece that still plays
  reset_sound_state();
  reset_state();
  reset_battle_state();
  reset_event_state();
  reset_surfaces_state();
  reset_text_state();
  reset_field_map_state();
  reset_message_state();
  reset_title_screens_state();
  reset_field_menu_state();
  reset_shop_state();
  reset_shell_state();
  install_hooks();
}
