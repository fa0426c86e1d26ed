// The processor time of the real game loop in its SDL window, and of a bare
// SDL loop that only presents a fixed 256 x 256 picture at the same tick rate
// in a window of the same size, so that the two can be read side by side.
//
//   loop_cpu game title|field|worldmap SIZE SECONDS [quiet]
//   loop_cpu bare SIZE SECONDS
//
// SIZE is 1 (256 x 256) or 3 (768 x 768). The game starts as zandrek does, in
// the default game's folder, runs its loop for a few seconds to settle (and,
// for the field, to start a new game and skip the opening; for the world
// map, then to open the whole-map view with F), then for SECONDS
// more, over which the process's user and system time is read; quiet turns
// the music off first, as key N does. One line of
// name=value figures goes to standard output. ZK_LAUNCH_NS, when set, is the
// CLOCK_REALTIME at which the caller started the program, for the time from
// start to the first frame; ZK_MEASURE_AT_NS, when set, the CLOCK_REALTIME
// at which to begin the measured seconds (once settled), so that two
// programs started side by side measure the same seconds.
#include "audio/music.h"
#include "gfx/field_map.h"
#include "gfx/title_screens.h"
#include "shell/shell.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr double SETTLE_S = 4.0; // the bare loop's; the game settles on its screen
constexpr int BAR_H = 20;        // the menu bar the game's window has above the picture
constexpr int BESIDE_GAP = 16;   // between the game's window and the bare loop's
constexpr Uint32 PERIOD_MS = FRAME_PERIOD_START;

double now_s(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double cpu_s() {
  rusage r{};
  getrusage(RUSAGE_SELF, &r);
  return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
         static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) * 1e-6;
}

long max_rss_kb() {
  rusage r{};
  getrusage(RUSAGE_SELF, &r);
  return r.ru_maxrss;
}

// Milliseconds from the caller's start of the program (or from main, when
// the caller gave no time) to now.
double since_start_ms(double main_real) {
  const char* launch = std::getenv("ZK_LAUNCH_NS");
  double from = launch ? std::strtod(launch, nullptr) * 1e-9 : main_real;
  return (now_s(CLOCK_REALTIME) - from) * 1e3;
}

// The monotonic time at which measuring begins: the caller's, or at once.
double measure_from(double earliest) {
  const char* at = std::getenv("ZK_MEASURE_AT_NS");
  if (!at) return earliest;
  double from = now_s(CLOCK_MONOTONIC) + std::strtod(at, nullptr) * 1e-9 - now_s(CLOCK_REALTIME);
  return from > earliest ? from : earliest;
}

struct figures {
  double first_frame_ms = -1, startup_ms = -1;
  double cpu = 0, wall = 0;
  long frames = 0;
};

void print(const char* kind, const char* screen, int size, const figures& f, const char* extra) {
  std::printf("kind=%s screen=%s size=%dx%d cpu_pct=%.1f frames=%ld fps=%.1f max_rss_kb=%ld "
              "startup_ms=%.1f first_frame_ms=%.1f%s\n",
              kind, screen, size, size, 100.0 * f.cpu / f.wall, f.frames, f.frames / f.wall,
              max_rss_kb(), f.startup_ms, f.first_frame_ms, extra);
}

// The loop of zandrek's main, watched from outside: a tick is a change of
// last_tick_ms. Returns 1 when the game ended on its own.
int run_game(double until, double main_real, figures& f, bool count) {
  int exit_code = 0;
  u32 last = shell.last_tick_ms;
  while (now_s(CLOCK_MONOTONIC) < until) {
    if (loop_pass(&exit_code)) return 1;
    if (shell.last_tick_ms != last) {
      last = shell.last_tick_ms;
      if (f.first_frame_ms < 0) f.first_frame_ms = since_start_ms(main_real);
      if (count) f.frames++;
    }
    if (shell.app_active && !tick_due(plat_tick_count())) usleep(1000);
  }
  return 0;
}

bool on_field() {
  return title_screens.title_mode == 0 && field_map.transition == WIPE_NONE;
}

// Runs the loop until the party stands on the field (the wipe over), or the time is up.
int run_to_field(double until, double main_real, figures& f) {
  while (!on_field() && now_s(CLOCK_MONOTONIC) < until)
    if (run_game(now_s(CLOCK_MONOTONIC) + 0.05, main_real, f, false)) return 1;
  return 0;
}

// The name of the renderer of the program's (first) window that has one.
const char* renderer_name() {
  constexpr Uint32 FEW_WINDOWS = 8;
  for (Uint32 id = 1; id <= FEW_WINDOWS; id++) {
    SDL_Window* w = SDL_GetWindowFromID(id);
    SDL_Renderer* r = w ? SDL_GetRenderer(w) : nullptr;
    SDL_RendererInfo info{};
    if (r && SDL_GetRendererInfo(r, &info) == 0 && info.name) return info.name;
  }
  return "?";
}

int run_game(const char* screen, int size, double seconds, bool quiet, double main_real) {
  bool field = std::strcmp(screen, "title") != 0;
  bool whole_map = std::strcmp(screen, "worldmap") == 0;
  figures f;
  if (chdir(ZK_GAME_DIR) != 0) return std::fprintf(stderr, "no game folder %s\n", ZK_GAME_DIR), 2;
  if (startup() != 0) return std::fprintf(stderr, "start-up failed\n"), 1;
  f.startup_ms = since_start_ms(main_real);
  plat_post_message(MSG_COMMAND, size == 3 ? CMD_SIZE_3X3 : CMD_SIZE_1X1);
  double t = now_s(CLOCK_MONOTONIC);
  if (run_game(t + 1.0, main_real, f, false)) return 1;
  if (field) {
    plat_post_message(MSG_KEYDOWN, 'D'); // NEW GAME
    if (run_game(now_s(CLOCK_MONOTONIC) + 0.5, main_real, f, false)) return 1;
    plat_post_message(MSG_KEYDOWN, 'D'); // the opening skipped
    if (run_to_field(t + 10.0, main_real, f)) return 1;
  }
  if (whole_map) plat_post_message(MSG_KEYDOWN, 'F');
  if (quiet) music_toggle_mute(); // as key N does on the field
  if (run_game(measure_from(now_s(CLOCK_MONOTONIC) + 1.0), main_real, f, false)) return 1;
  bool on_screen = field ? on_field() : title_screens.title_mode == 1;
  if (whole_map) on_screen = on_screen && field_map.world_map_view == 1;
  double c0 = cpu_s(), w0 = now_s(CLOCK_MONOTONIC);
  if (run_game(w0 + seconds, main_real, f, true)) return 1;
  f.cpu = cpu_s() - c0;
  f.wall = now_s(CLOCK_MONOTONIC) - w0;
  char extra[128];
  std::snprintf(extra, sizeof extra, " music=%s on_screen=%d active=%d renderer=%s",
                quiet                ? "off"
                : music.music_failed ? "failed"
                                     : "on",
                on_screen ? 1 : 0, shell.app_active, renderer_name());
  print("game", screen, size, f, extra);
  return on_screen && shell.app_active ? 0 : 1;
}

bool make_bare_window(int size, SDL_Window** w, SDL_Renderer** r, SDL_Texture** tex) {
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) return false;
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  // beside the game's window (at the screen's corner), not under it: a covered
  // window is cheaper to present and would flatter the game
  *w = SDL_CreateWindow("bare", 256 * size + BESIDE_GAP, 0, 256 * size, 256 * size + BAR_H,
                        SDL_WINDOW_RESIZABLE | SDL_WINDOW_SHOWN);
  if (!*w) return false;
  *r = SDL_CreateRenderer(*w, -1, 0);
  if (!*r) *r = SDL_CreateRenderer(*w, -1, SDL_RENDERER_SOFTWARE);
  if (!*r) return false;
  *tex = SDL_CreateTexture(*r, SDL_PIXELFORMAT_BGR24, SDL_TEXTUREACCESS_STREAMING, 256, 256);
  if (!*tex) return false;
  std::vector<Uint8> px(256 * 256 * 3);
  for (std::size_t i = 0; i < px.size(); i++) px[i] = static_cast<Uint8>(i * 7 / 3);
  return SDL_UpdateTexture(*tex, nullptr, px.data(), 256 * 3) == 0;
}

// The same tick test and the same millisecond's sleep as the game's loop,
// and nothing else: events are taken and dropped, the picture never changes.
int bare(int size, double seconds, double main_real) {
  figures f;
  SDL_Window* w = nullptr;
  SDL_Renderer* r = nullptr;
  SDL_Texture* tex = nullptr;
  if (!make_bare_window(size, &w, &r, &tex))
    return std::fprintf(stderr, "bare window: %s\n", SDL_GetError()), 1;
  f.startup_ms = since_start_ms(main_real);
  double start = measure_from(now_s(CLOCK_MONOTONIC) + SETTLE_S), c0 = 0, w0 = 0;
  bool counting = false;
  Uint32 last = 0;
  for (;;) {
    double n = now_s(CLOCK_MONOTONIC);
    if (!counting && n >= start) counting = true, c0 = cpu_s(), w0 = n;
    if (counting && n >= w0 + seconds) break;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
    Uint32 now = SDL_GetTicks();
    if (now - last <= PERIOD_MS) {
      usleep(1000);
      continue;
    }
    last = now;
    SDL_Rect area{0, BAR_H, 256 * size, 256 * size};
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    SDL_RenderCopy(r, tex, nullptr, &area);
    SDL_RenderPresent(r);
    if (f.first_frame_ms < 0) f.first_frame_ms = since_start_ms(main_real);
    if (counting) f.frames++;
  }
  f.cpu = cpu_s() - c0;
  f.wall = now_s(CLOCK_MONOTONIC) - w0;
  SDL_RendererInfo info{};
  SDL_GetRendererInfo(r, &info);
  char extra[64];
  std::snprintf(extra, sizeof extra, " renderer=%s", info.name ? info.name : "?");
  print("bare", "fixed", size, f, extra);
  SDL_Quit();
  return 0;
}

int usage() {
  std::fprintf(stderr, "usage: loop_cpu game title|field|worldmap SIZE SECONDS [quiet]\n"
                       "       loop_cpu bare SIZE SECONDS\n");
  return 2;
}

} // namespace

int main(int argc, char** argv) {
  double main_real = now_s(CLOCK_REALTIME);
  if ((argc == 5 || argc == 6) && std::strcmp(argv[1], "game") == 0) {
    bool quiet = argc == 6 && std::strcmp(argv[5], "quiet") == 0;
    if (argc == 6 && !quiet) return usage();
    const char* screen = argv[2];
    if (std::strcmp(screen, "title") != 0 && std::strcmp(screen, "field") != 0 &&
        std::strcmp(screen, "worldmap") != 0)
      return usage();
    int size = std::atoi(argv[3]);
    double seconds = std::atof(argv[4]);
    if ((size != 1 && size != 3) || seconds <= 0) return usage();
    return run_game(screen, size, seconds, quiet, main_real);
  }
  if (argc == 4 && std::strcmp(argv[1], "bare") == 0) {
    int size = std::atoi(argv[2]);
    double seconds = std::atof(argv[3]);
    if ((size != 1 && size != 3) || seconds <= 0) return usage();
    return bare(size, seconds, main_real);
  }
  return usage();
}
