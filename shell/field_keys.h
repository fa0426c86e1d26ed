// The field's keys (the last rule of the key dispatcher): what each key of
// the key table means, walking, confirm, cancel and the letter keys.
#pragma once

enum key_role_kind : int {
  KEY_NONE = 0, // swallowed
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
};

// The role of a virtual-key code in the key table.
int key_role(int key);
// A key that no mode took.
void field_key(int key);
// Starts a step of the party in direction role (KEY_DOWN .. KEY_UP).
void start_step(int role);
