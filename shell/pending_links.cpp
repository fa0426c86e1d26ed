// Temporary: the battle and the event interpreter still name the message
// window's flag and the ending flag as plain globals (battle/battle_links.h,
// event/event_links.h). Until those headers give way to the real ones, the
// programs link those two names to the very fields of mw and ts (see
// zk_pending_links in shell/CMakeLists.txt); these checks keep the offsets
// used there honest.
#include "gfx/title_screens.h"
#include "message/message.h"

#include <cstddef>

static_assert(offsetof(message_data, msg_visible) == 20516,
              "msg_visible moved: update zk_pending_links in shell/CMakeLists.txt");
static_assert(offsetof(title_screens_data, ending_shown) == 0,
              "ending_shown moved: update zk_pending_links in shell/CMakeLists.txt");
