// The field's keys (the last rule of the key dispatcher): what each key of
// the key table means, walking, confirm, cancel and the letter keys.
#pragma once

#include "platform/keys.h"

// A key that no mode took.
void field_key(int key);
// Starts a step of the party in direction role (KEY_DOWN .. KEY_UP).
void start_step(int role);
