// The windows of the field: the command menu and its member choice, status,
// spells, items and their sub-windows, equipment, the inn, the shop, the
// church, and the system menu. Each is drawn on every tick while its flag is
// set, over the field, from the state of field/field_menu.h and field/shop.h.
#pragma once
#include "platform/surface.h"
#include "state/state.h"

// Every field window whose flag is set, in the frame's order.
void draw_field_windows();
// The system menu with its slot list, question or event items.
void draw_system_menu();

// The name colour of a member by its status: dead red, else poisoned cyan,
// else white.
colorref status_color(u8 status);
