// The game's one key table: what each virtual key means, and which screens
// take it. The field with its menus, shops, inn and church, the battle and
// the title screen all read these rows; the few keys that only some of them
// take say so in their row. It sits beside the virtual-key codes so that the
// dispatcher and every mode below it can share it.
#pragma once

#include "platform/platform.h"

// Virtual keys of the table that platform.h does not name.
enum : int {
  VK_NONCONVERT = 0x1D, // a key of Japanese keyboards
  VK_NUMPAD2 = VK_NUMPAD0 + 2,
  VK_NUMPAD3 = VK_NUMPAD0 + 3,
  VK_NUMPAD4 = VK_NUMPAD0 + 4,
  VK_NUMPAD6 = VK_NUMPAD0 + 6,
  VK_NUMPAD8 = VK_NUMPAD0 + 8,
  VK_F6 = VK_F1 + 5,
  // The bare numbers 2, 4, 6 and 8 steer as on a numeric keypad; they are
  // also the facing codes of the party.
  PAD_DOWN = 2,
  PAD_LEFT = 4,
  PAD_RIGHT = 6,
  PAD_UP = 8,
};

enum key_role_kind : int {
  KEY_NONE = 0, // not in the table for this screen: swallowed
  KEY_DOWN,
  KEY_LEFT,
  KEY_RIGHT,
  KEY_UP,
  KEY_CONFIRM,
  KEY_CANCEL,
  KEY_QUIT,
  KEY_SYSTEM,
  KEY_WHOLE_MAP,
  KEY_AREA_LABEL,
  KEY_NEXT_MUSIC,
  KEY_MUSIC_ON_OFF,
  KEY_FANFARE,
  KEY_FASTER,
  KEY_VIEW, // the battle's look at the monsters
};

// Which screens take a row, as bits. IN_FIELD covers the field's own keys
// and every menu, shop, inn and church window opened from it.
enum key_scope : int {
  IN_FIELD = 1,
  IN_BATTLE = 2,
  IN_TITLE = 4,
  EVERYWHERE = IN_FIELD | IN_BATTLE | IN_TITLE,
};

struct key_row {
  int key, role, scope;
};

// clang-format off
inline constexpr key_row key_table[] = {
    {VK_DOWN,  KEY_DOWN,  EVERYWHERE}, {VK_NUMPAD2, KEY_DOWN,  EVERYWHERE}, {PAD_DOWN,  KEY_DOWN,  EVERYWHERE},
    {VK_LEFT,  KEY_LEFT,  EVERYWHERE}, {VK_NUMPAD4, KEY_LEFT,  EVERYWHERE}, {PAD_LEFT,  KEY_LEFT,  EVERYWHERE},
    {VK_RIGHT, KEY_RIGHT, EVERYWHERE}, {VK_NUMPAD6, KEY_RIGHT, EVERYWHERE}, {PAD_RIGHT, KEY_RIGHT, EVERYWHERE},
    {VK_UP,    KEY_UP,    EVERYWHERE}, {VK_NUMPAD8, KEY_UP,    EVERYWHERE}, {PAD_UP,    KEY_UP,    EVERYWHERE},
    // the title screen confirms with D alone
    {'D', KEY_CONFIRM, EVERYWHERE}, {VK_SPACE, KEY_CONFIRM, IN_FIELD | IN_BATTLE},
    // the Japanese keyboard's cancel key works only on the field
    {'C', KEY_CANCEL, EVERYWHERE}, {VK_NUMPAD3, KEY_CANCEL, EVERYWHERE},
    {VK_NONCONVERT, KEY_CANCEL, IN_FIELD},
    {VK_ESCAPE, KEY_QUIT, IN_FIELD}, {VK_F12, KEY_QUIT, IN_FIELD},
    {'Q', KEY_SYSTEM,       IN_FIELD},
    {'F', KEY_WHOLE_MAP,    IN_FIELD},
    {'R', KEY_AREA_LABEL,   IN_FIELD},
    {'M', KEY_NEXT_MUSIC,   IN_FIELD},
    {'N', KEY_MUSIC_ON_OFF, IN_FIELD},
    {'P', KEY_FANFARE,      IN_FIELD},
    {'K', KEY_FASTER,       IN_FIELD},
    {'U', KEY_VIEW, IN_BATTLE}, {VK_F6, KEY_VIEW, IN_BATTLE},
};
// clang-format on

// The role of a virtual-key code on the screen where, KEY_NONE when that
// screen does not take it.
constexpr int key_role(int key, int where) {
  for (const key_row& r : key_table)
    if (r.key == key) return (r.scope & where) ? r.role : KEY_NONE;
  return KEY_NONE;
}
