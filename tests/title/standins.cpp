// TEMPORARY: the event interpreter still reaches the ending screen's flag as
// a plain global through event/event_links.h. Until that header gives way to
// gfx/title_screens.h (ts.ending_shown), this stands in for it here.
#include "event/event_links.h"

int ending_shown = 0;
