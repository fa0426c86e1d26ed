#include "resources/menu.h"

static const menu_item_res size_items[] = {
    {"1x1", 40002}, {"2x1", 40003}, {"3x1", 40004}, {"1x2", 40005}, {"2x2", 40006},
    {"3x2", 40007}, {"1x3", 40008}, {"2x3", 40009}, {"3x3", 40010},
};
static const menu_item_res speed_items[] = {{"&Fast", 40012}, {"Slo&w", 40011}, {"&Stop", 40001}};
static const menu_item_res help_items[] = {{"About", 40017}};

const menu_popup_res game_menu[MENU_POPUPS] = {
    {"画面ｻｲｽﾞ", size_items, 9},
    {"&Rotation", speed_items, 3},
    {"Help", help_items, 1},
};

const char* const about_caption = "About";
const char* const about_lines[2] = {"Zandrek  Version 1.0", "剣と魔法の旅へ"};

// A sword over a blue shield.
const char* const game_icon[ICON_SIZE] = {
    "...............W", "..............WW", ".BBBBBBBBBBB.WWW", ".BbbbbbbbbbBWWW.",
    ".BbbbbbbbbWWWW..", ".BbbbbbbbWWWWB..", ".BbbbbbbWWWWbB..", ".BbbbbbWWWWbbB..",
    ".BbbbbWWWWbbbB..", ".BbYbWWWWbbbbB..", "..BbYWWWbbbbB...", "..BbbYYbbbbbB...",
    "...BYbbYbbbB....", "...YBbbbbbB.....", "..YY..BBBB......", ".YY.............",
};
const icon_color icon_colors[] = {
    {'B', 16, 32, 96}, {'b', 40, 80, 200}, {'W', 230, 230, 240}, {'Y', 230, 180, 40}};
const int icon_color_count = 4;
