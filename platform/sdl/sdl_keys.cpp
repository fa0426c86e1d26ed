// SDL keys to the virtual-key codes the game reads.
#include "platform/sdl/sdl_backend.h"

static std::uint32_t keypad_key(SDL_Scancode sc, bool numlock) {
  static const std::uint32_t nav[10] = {VK_INSERT, VK_END,   VK_DOWN, VK_NEXT, VK_LEFT,
                                        0x0C,      VK_RIGHT, VK_HOME, VK_UP,   VK_PRIOR};
  int digit = sc == SDL_SCANCODE_KP_0 ? 0 : sc - SDL_SCANCODE_KP_1 + 1;
  return numlock ? VK_NUMPAD0 + digit : nav[digit];
}

std::uint32_t sdl_virtual_key(const SDL_Keysym& k) {
  SDL_Scancode sc = k.scancode;
  if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_0)
    return keypad_key(sc, (k.mod & KMOD_NUM) != 0);
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 0x41 + (sc - SDL_SCANCODE_A);
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return 0x31 + (sc - SDL_SCANCODE_1);
  if (sc == SDL_SCANCODE_0) return 0x30;
  if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return VK_F1 + (sc - SDL_SCANCODE_F1);
  switch (sc) {
  case SDL_SCANCODE_DOWN:
    return VK_DOWN;
  case SDL_SCANCODE_UP:
    return VK_UP;
  case SDL_SCANCODE_LEFT:
    return VK_LEFT;
  case SDL_SCANCODE_RIGHT:
    return VK_RIGHT;
  case SDL_SCANCODE_SPACE:
    return VK_SPACE;
  case SDL_SCANCODE_RETURN:
  case SDL_SCANCODE_KP_ENTER:
    return VK_RETURN;
  case SDL_SCANCODE_ESCAPE:
    return VK_ESCAPE;
  case SDL_SCANCODE_TAB:
    return VK_TAB;
  case SDL_SCANCODE_BACKSPACE:
    return VK_BACK;
  case SDL_SCANCODE_INSERT:
    return VK_INSERT;
  case SDL_SCANCODE_DELETE:
    return VK_DELETE;
  case SDL_SCANCODE_HOME:
    return VK_HOME;
  case SDL_SCANCODE_END:
    return VK_END;
  case SDL_SCANCODE_PAGEUP:
    return VK_PRIOR;
  case SDL_SCANCODE_PAGEDOWN:
    return VK_NEXT;
  case SDL_SCANCODE_LSHIFT:
  case SDL_SCANCODE_RSHIFT:
    return VK_SHIFT;
  case SDL_SCANCODE_LCTRL:
  case SDL_SCANCODE_RCTRL:
    return VK_CONTROL;
  case SDL_SCANCODE_INTERNATIONAL5:
    return 0x1D; // the "no conversion" key of Japanese keyboards
  case SDL_SCANCODE_INTERNATIONAL4:
    return 0x1C; // "conversion"
  default:
    return 0;
  }
}
