// A small world for the menu tests: a clean game with a party of three on a
// plain map, the lines the printer was given and the menu sounds heard.
#pragma once
#include "battle/battle.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "field/shop.h"
#include "message/message.h"
#include "state/save_slots.h"

#include <string>
#include <tuple>
#include <vector>

constexpr int K_DOWN = VK_DOWN, K_UP = VK_UP, K_LEFT = VK_LEFT, K_RIGHT = VK_RIGHT;
constexpr int K_OK = VK_SPACE, K_CANCEL = 'C', K_Y = 'Y', K_N = 'N';

// Clean state, the sound bank, three healthy members with nothing carried
// and nothing equipped, standing on map 12 at (5, 5) on class-0 ground.
// Unlike the battle and event fixtures it resets every window a menu opens
// and opens the sound bank, since the tests count menu sounds; the members
// are hurt (40 of 50 HP) so that healing shows.
void fresh_game();
// Every line the message store holds now (the report since the last new one),
// names put in for their tokens.
std::vector<std::string> lines();
bool said(const char* text);
std::string transcript(); // the lines as UTF-8, for failure reports
int menusounds();         // "menusound" plays since the last reset of the log
void forget_sounds();
// Puts an item in a member's entry.
void carry(int m, int entry, int item_no);
// The open windows of the menus and the message window by their flags'
// names ("cmd:items item_win item_action_win msg_visible"), a flag other
// than 1 with its value: a whole state in one comparison.
std::string windows();
// Where the party stands: map, x, y.
std::tuple<int, int, int> place();
// Presses keys into a handler.
void press(void (*handler)(int), std::initializer_list<int> keys);
// Presses keys into a handler: the last line said after them.
std::string reply(void (*handler)(int), std::initializer_list<int> keys);
