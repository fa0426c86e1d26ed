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
#include <vector>

namespace {

struct scripted_key {
  std::string name;
  Uint32 after_ms;
};

std::vector<scripted_key> script() {
  std::vector<scripted_key> keys;
  const char* text = std::getenv("ZK_SCRIPTED_KEYS");
  std::istringstream in(text ? text : "");
  for (std::string word; in >> word;) {
    std::size_t colon = word.find(':');
    if (colon == std::string::npos) continue;
    keys.push_back(
        {word.substr(0, colon), static_cast<Uint32>(std::atoi(word.c_str() + colon + 1))});
  }
  return keys;
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
  static std::vector<scripted_key> keys = script();
  static std::size_t next = 0;
  static Uint32 due = 0;
  Uint32 now = SDL_GetTicks();
  if (next == 0 && due == 0 && !keys.empty()) due = now + keys[0].after_ms;
  if (next < keys.size() && now >= due && e) {
    make_event(keys[next].name, e);
    if (++next < keys.size()) due = now + keys[next].after_ms;
    return 1;
  }
  return real(e);
}
