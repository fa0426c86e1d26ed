#include "state/state.h"

// The built-in spells (filled in with the battle rules).
const magic builtin_magic[32] = {};
