// The application shell: start-up, the main loop, the window procedure, the
// key dispatcher that gives every key to exactly one owner, and the frame
// renderer that the loop calls while the game is active.
#pragma once
#include "platform/platform.h"
#include "state/state.h"

// Menu commands (menu resource 102) and the one command outside the menu.
enum : u32 {
  CMD_STOP = 40001,     // "&Stop"
  CMD_SIZE_1X1 = 40002, // 40002..40010: 1x1, 2x1, 3x1, 1x2, 2x2, 3x2, 1x3, 2x3, 3x3
  CMD_SIZE_3X3 = 40010,
  CMD_SLOWER = 40011, // "Slo&w"
  CMD_FASTER = 40012, // "&Fast"
  CMD_ABOUT = 40017,
  CMD_CLOSE = 10001,
};

// frame_period_ms when stopped: no tick ever becomes due.
constexpr u32 FRAME_STOPPED = 0x7FFFFFFF;
constexpr u32 FRAME_PERIOD_START = 18;
constexpr u32 FRAME_PERIOD_RESUME = 20; // "&Fast" or "Slo&w" after "&Stop"
constexpr u32 FRAME_PERIOD_SLOWEST = 300;

struct shell_data {
  i32 app_active = 0; // the window is active: the loop draws
  u32 frame_period_ms = FRAME_PERIOD_START;
  u32 last_tick_ms = 0;
};

extern shell_data shell;
void reset_shell_state();

// The start-up sequence; 0 on success. On failure the reason has been shown
// in a "Zandrek" message box, every drawing object released and the window
// destroyed; the program then ends with exit code 0.
int startup();
// Reports a failure of start-up (printf style, at most 127 characters) and
// tears down what was made; returns code unchanged.
int startup_fail(int code, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
// Every surface and the palette become none.
void release_drawing_objects();

// One pass of the main loop: a waiting message, else (while active) a
// pending monster action and the frame renderer, else a wait. Returns 1 when
// it took WM_QUIT, whose wParam is then in *exit_code.
int loop_pass(int* exit_code);
void window_proc(const plat_msg& m);

// WM_KEYDOWN: the whole priority chain.
void key_dispatch(int key);
// The menu's speed items, also key K.
void speed_slower();
void speed_faster();

// The frame renderer: the tick test, the screen of the moment, the field
// frame and the per-tick steps that follow it.
void render_frame();
// The tick test: more than frame_period_ms since the last tick, as an
// unsigned 32-bit difference (so a wrapping clock goes on ticking).
bool tick_due(u32 now);

// Every subsystem's reset: a clean game, for tests. Installs the hooks too.
void reset_game();
// Hands the lower folders the few functions of higher ones that they call
// (the event file readers, the return spell's map change); start-up and reset_game() do it.
void install_hooks();
