// The three calls of the interpreter into other parts of the game that have
// no header yet: the message printer, the ending screen and the save slots.
// The names and forms are the game's own; once message/message.h,
// gfx/title_screens.h and state/save_slots.h declare them, those headers
// replace this one.
#pragma once

// Mode 1 starts a new report (the window is cleared first), mode 2 adds lines.
void msg_print(int mode, const char* text);
// 1 while the ending screen is shown.
extern int ending_shown;
// Writes the live game into slot k and the save file; 0 on success.
int save_slot(int k);
