// The eight save slots of rpgpcd.pcd: each is an image of the save_block
// whose first four bytes hold the saved place (map, area, x, y; map 0 marks
// an unused slot). The slot images in memory are game.slots; game.cur_slot is
// the slot last chosen for a save or a load in the system menu.
#pragma once
#include "state/state.h"

constexpr const char* SAVE_FILE = "rpgpcd.pcd";
constexpr int SLOT_COUNT = 8;
constexpr int SLOT_BYTES = static_cast<int>(sizeof(save_block));
constexpr int SAVE_FILE_BYTES = SLOT_COUNT * SLOT_BYTES;

// Reads the save file into game.slots. 0 when all 8 slots were read; 1 when
// the file is missing or short (the slots it held whole are taken, the
// others keep what memory had).
int read_slots();
// Reads the file again and gives slot k, to be resumed by the menus. 0 on
// success; 1 when the file cannot be read, 2 when slot k is not a used slot,
// SLOT_PLACE_MISSING when its map file is missing or damaged or does not hold
// its place (slot is then left as it was).
int load_slot(int k, save_block& slot);
constexpr int SLOT_PLACE_MISSING = 3;
// What the player reads when a slot's place is missing.
constexpr const char* SLOT_PLACE_MISSING_TEXT = "このスロットは、こわれている。";
// Writes the live game into slot k and the whole file. 0 on success; 1 when
// the file could not be written (the old file and game.slots stay as they were).
int save_slot(int k);
// The label of a slot in the slot lists: "－－ 未使用 －－", the world-area
// name or the place name.
const char* slot_label(int k);
