// Where the General MIDI soundfont is found. The game folder may hold its
// own cut of it, made at build time from the installed one and holding only
// the presets its MIDI files play (the same sound, a few megabytes instead
// of a hundred and fifty); otherwise the first installed font is loaded.
#pragma once

// In the working directory, the game folder.
constexpr const char* GAME_SOUNDFONT = "music.sf2";
// The installed fonts, in the order they are looked for.
constexpr const char* GM_SOUNDFONTS[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2",
                                         "/usr/share/sounds/sf2/default-GM.sf2"};
