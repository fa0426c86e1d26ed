// What the battle's own sources share and nobody else needs.
#pragma once
#include "battle/battle.h"
#include "message/message.h"

// The element names of damage lines, fire to gravity.
extern const char* const element_names[7];

// Formats a line and hands it to the message printer (mode PRINT_NEW or
// PRINT_ADD).
void say(int mode, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

// The message window, as the battle keys see it.
bool message_shown();
void hide_message();

bool member_dead(const member& m);
bool slot_dead(int slot);
// The members the field works on.
member& field_member(int m);
int living_members(); // of battle_copy, 0..3

// Hit points lose an amount, never below 0.
void lose_hp(u16& hp, int amount);
void lose_hp(i32& hp, int amount);
// A 16-bit value less an amount, never below 0.
u16 less(u16 v, int amount);

void start_hit_flash(int slot, int kind);
void end_round_marks(); // hit flashes off, acted marks cleared
void victory();
void level_up(member& m, int member_no);
void write_back_party(); // status, HP, MP and items of the copy to save_block

// Magic effects.
const magic* spell_record(int spell); // nullptr outside the table
void cast_on_all_members(int spell, int from_item);
void cast_on_one_member(int spell, int from_item);
void cast_on_one_monster(int spell, int from_item);
void cast_on_all_monsters(int spell, int from_item);
void cast_return(int spell, int from_item);
// The caster's report; 0 when the caster lacks the MP (the cast stops).
int spell_report(int spell, int from_item);
void spell_cost(int spell, int from_item);
int caster_no();
