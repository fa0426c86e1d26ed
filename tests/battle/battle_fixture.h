// A small world for battle tests: a clean game, a known party of three, the
// message lines a battle printed, and the draws the generator is about to give.
#pragma once
#include "battle/battle.h"

#include <functional>
#include <string>
#include <vector>

// Clean state, the level table, a party of three healthy members with no
// equipment, on the world map in area 0. Battles need the level table and
// the world map's encounter areas, but no windows or sounds; the members are
// stronger than the menu tests' so that a fight lasts a few rounds.
void fresh_game();
// Set-up of a set battle against a species whose slot values the test then
// adjusts; the appearance line is dropped from the message store.
void fight(int species_no);
// A set battle against `count` kobolds, the appearance lines dropped.
void kobolds(int count);
// The member carries the item in the entry and wears it in the place
// (&member::eq_right, eq_left, ...).
void wear(member& m, int entry, int item, u8 member::*place);
// Every line in the message store, Shift-JIS as printed.
std::vector<std::string> lines();
// Empties the message store.
void forget_lines();
// True when some line contains the text.
bool said(const char* text);
// The first line from `from` on that contains the text; -1 when none does.
int line_index(const char* text, int from = 0);
// How many lines contain the text.
int lines_with(const char* text);
// The texts no line contains, with the whole store, as UTF-8; empty when
// every text was said. For EXPECT_EQ(missing({...}), "").
std::string missing(const std::vector<const char*>& texts);
// The whole store as UTF-8, for failure reports.
std::string transcript();
// The next n values the generator would give, without drawing them.
std::vector<int> upcoming(int n);
// Seeds the generator with the first seed from 1 up whose next draws
// satisfy the test.
void seed_where(const std::function<bool(const std::vector<int>&)>& ok, int n);
