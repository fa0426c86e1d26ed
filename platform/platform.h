// The small platform layer the game core stands on: a window with its message
// queue, the clock, message boxes and the debug output. Two backends provide
// it: platform/sdl (the real window) and platform/headless (replays, tests).
#pragma once
#include <cstdint>
#include <string>

// Window messages, after the roles the game expects of them.
enum plat_msg_kind : int {
  MSG_NONE = 0,
  MSG_KEYDOWN = 1,     // wparam: virtual-key code (VK_*)
  MSG_ACTIVATEAPP = 2, // wparam: 1 active, 0 inactive
  MSG_COMMAND = 3,     // wparam: menu item id (40001.., 10001)
  MSG_CLOSE = 4,
  MSG_DESTROY = 5,
  MSG_QUIT = 6, // wparam: exit code
  MSG_PAINT = 7,
};

struct plat_msg {
  int kind = MSG_NONE;
  std::uint32_t wparam = 0;
  std::int32_t lparam = 0;
};

// Virtual-key codes the game reads (the values of the original platform).
enum : std::uint32_t {
  VK_BACK = 0x08,
  VK_TAB = 0x09,
  VK_RETURN = 0x0D,
  VK_SHIFT = 0x10,
  VK_CONTROL = 0x11,
  VK_ESCAPE = 0x1B,
  VK_SPACE = 0x20,
  VK_PRIOR = 0x21,
  VK_NEXT = 0x22,
  VK_END = 0x23,
  VK_HOME = 0x24,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_INSERT = 0x2D,
  VK_DELETE = 0x2E,
  // '0'..'9' are 0x30..0x39, 'A'..'Z' are 0x41..0x5A
  VK_NUMPAD0 = 0x60,
  VK_F1 = 0x70, // F1..F12 are 0x70..0x7B
  VK_F12 = 0x7B,
};

// Creates the window (hidden backends create nothing); 0 on success.
int plat_create_window(const char* title);
void plat_destroy_window();
// Sizes the client area (the menu bar, when drawn, is outside it).
void plat_set_client_size(int w, int h);
void plat_get_client_size(int* w, int* h);

// The message queue.
bool plat_peek_message(plat_msg* out); // removes it when there is one
// Blocks until a message is waiting or a few milliseconds have passed (the real
// window), so that waiting for the next frame tick does not spin; the headless
// backend returns at once.
void plat_wait_message();
void plat_post_message(int kind, std::uint32_t wparam = 0, std::int32_t lparam = 0);

// Milliseconds since some fixed point; wraps at 2^32 like the original.
std::uint32_t plat_tick_count();

// Message boxes and the About box; texts and captions are Shift-JIS.
void plat_message_box(const char* text, const char* caption);
void plat_about_box();

// A line for the debug output (standard output), Shift-JIS converted to UTF-8.
void plat_debug_out(const char* text);
// Shift-JIS (code page 932) to UTF-8, for lines a person reads.
std::string sjis_to_utf8(const char* text);

struct surface;
// Shows the 256 x 256 back buffer stretched into the client area.
void plat_present(const surface& back);
