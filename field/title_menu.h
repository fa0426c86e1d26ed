// The title menu's keys: the only key handler while title_screens.title_mode is not 0.
// Down and up move the cursor, D confirms (space does not); in the load list
// C or numpad 3 goes back to the title menu.
#pragma once

void title_key(int key);
