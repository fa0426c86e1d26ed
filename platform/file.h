// Opening the files the game reads from its folder: maps, the new-game
// record, the save file, pictures, music and event.sci.
#pragma once
#include <cstdio>

// Opens a regular file for reading, or nullptr. Anything else under that
// name (a folder, a FIFO, a device) is refused without waiting on it, as a
// file that cannot be opened: a FIFO would otherwise hold the game up until
// something wrote to it, and a folder would read as an empty file.
std::FILE* open_read_file(const char* path);
