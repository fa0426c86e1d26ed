// Preloaded into the real game by the install test: SDL_PollEvent hands the
// game the key presses of ZK_SCRIPTED_KEYS, "NAME:MS ..." (each key MS
// milliseconds after the one before; NAME is an SDL key name, or QUIT for
// the window's close box), and otherwise what SDL has. The game itself is
// unchanged and reads no script.
#include <SDL.h>
#include <dlfcn.h>

#include <cstdlib>
#include <sstream>
#include <string>

namespace {

// Reads the next key of the script and when it is due, counted from now;
// false once the script is done.
bool next_key(std::string* name, Uint32* due) {
  static const char* text = std::getenv("ZK_SCRIPTED_KEYS");
  static std::istringstream in(text ? text : "");
  for (std::string word; in >> word;) {
    std::size_t colon = word.find(':');
    if (colon == std::string::npos) continue;
    *name = word.substr(0, colon);
    *due = SDL_GetTicks() + static_cast<Uint32>(std::atoi(word.c_str() + colon + 1));
    return true;
  }
  return false;
}

void make_event(const std::string& name, SDL_Event* e) {
  *e = SDL_Event{};
  if (name == "QUIT") {
    e->type = SDL_QUIT;
    return;
  }
  e->type = SDL_KEYDOWN;
  e->key.state = SDL_PRESSED;
  e->key.keysym.scancode = SDL_GetScancodeFromName(name.c_str());
  e->key.keysym.sym = SDL_GetKeyFromScancode(e->key.keysym.scancode);
}

} // namespace

extern "C" int SDL_PollEvent(SDL_Event* e) {
  using poll_fn = int (*)(SDL_Event*);
  static poll_fn real = reinterpret_cast<poll_fn>(dlsym(RTLD_NEXT, "SDL_PollEvent"));
  static std::string name;
  static Uint32 due = 0;
  static bool pending = next_key(&name, &due);
  if (pending && e && SDL_GetTicks() >= due) {
    make_event(name, e);
    pending = next_key(&name, &due);
    return 1;
  }
  return real(e);
}
