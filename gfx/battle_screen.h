// The battle screen, drawn over the field frame while a battle is running,
// over or lost: the party, the monsters, the commands, the monster pictures
// and the window of the choice being made.
#pragma once

// Called by the frame renderer on every drawn frame while battle_mode is
// non-zero, before the system menu and the message window.
void draw_battle_screen();

// x of the monster picture at position k when count monsters fight.
int monster_picture_x(int count, int k);
