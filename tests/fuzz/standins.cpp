// TEMPORARY stand-ins until the ending screen links in the game core: the
// interpreter's ending flag, weak so that the game's own takes its place as
// soon as it exists. Linked into every fuzz target.
int ending_shown __attribute__((weak)) = 0;
