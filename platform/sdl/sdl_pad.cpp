// Game controllers through SDL's game-controller mapping, opened and closed
// as they are plugged in and out. The d-pad and the left stick are the
// arrow keys; a held direction repeats as a held key does, so that walking
// on goes on. The buttons are the game's own keys. While a popup of the menu
// is open, the controller is ignored as the keyboard's keys are.
#include "platform/sdl/sdl_backend.h"

#include <vector>

namespace {

// How far the stick must lean before it counts as a direction.
constexpr int STICK_DEAD_ZONE = 16000;
constexpr std::uint32_t KEY_D = 0x44, KEY_C = 0x43, KEY_Q = 0x51, KEY_F = 0x46, KEY_R = 0x52;

struct pad_state {
  std::vector<SDL_GameController*> open;
  std::uint32_t dpad = 0;  // the d-pad's direction held last, 0 none
  std::uint32_t stick = 0; // the left stick's direction, 0 centred
  std::uint32_t held = 0;  // the direction that repeats
  std::uint32_t next_repeat = 0;
  int stick_x = 0, stick_y = 0;
};
pad_state pad;

std::uint32_t button_key(int button) {
  switch (button) {
  case SDL_CONTROLLER_BUTTON_A:
    return KEY_D; // confirm
  case SDL_CONTROLLER_BUTTON_B:
    return KEY_C; // cancel
  case SDL_CONTROLLER_BUTTON_START:
    return KEY_Q; // the system menu
  case SDL_CONTROLLER_BUTTON_Y:
    return KEY_F; // the whole-map view
  case SDL_CONTROLLER_BUTTON_X:
    return KEY_R; // the area label
  case SDL_CONTROLLER_BUTTON_DPAD_UP:
    return VK_UP;
  case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
    return VK_DOWN;
  case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
    return VK_LEFT;
  case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
    return VK_RIGHT;
  default:
    return 0;
  }
}

bool is_direction(std::uint32_t vk) {
  return vk >= VK_LEFT && vk <= VK_DOWN;
}

void post_key(std::uint32_t vk) {
  if (sdl.menu.open < 0) plat_post_message(MSG_KEYDOWN, vk);
}

// The d-pad wins over the stick; a new direction is pressed at once and
// repeats after the delay.
void update_held(std::uint32_t now) {
  std::uint32_t dir = pad.dpad ? pad.dpad : pad.stick;
  if (dir == pad.held) return;
  pad.held = dir;
  if (!dir) return;
  post_key(dir);
  pad.next_repeat = now + PAD_REPEAT_DELAY_MS;
}

std::uint32_t stick_direction() {
  int ax = pad.stick_x < 0 ? -pad.stick_x : pad.stick_x;
  int ay = pad.stick_y < 0 ? -pad.stick_y : pad.stick_y;
  if (ax < STICK_DEAD_ZONE && ay < STICK_DEAD_ZONE) return 0;
  if (ax > ay) return pad.stick_x < 0 ? VK_LEFT : VK_RIGHT;
  return pad.stick_y < 0 ? VK_UP : VK_DOWN;
}

void button(int b, bool down) {
  std::uint32_t vk = button_key(b);
  if (!vk) return;
  if (!is_direction(vk)) {
    if (down) post_key(vk);
    return;
  }
  if (down)
    pad.dpad = vk;
  else if (pad.dpad == vk)
    pad.dpad = 0;
  update_held(SDL_GetTicks());
}

void plugged(int device) {
  if (SDL_GameController* c = SDL_GameControllerOpen(device)) pad.open.push_back(c);
}

void unplugged(SDL_JoystickID id) {
  for (std::size_t i = 0; i < pad.open.size(); i++)
    if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad.open[i])) == id) {
      SDL_GameControllerClose(pad.open[i]);
      pad.open.erase(pad.open.begin() + static_cast<long>(i));
      break;
    }
  if (pad.open.empty()) pad.dpad = pad.stick = pad.held = 0, pad.stick_x = pad.stick_y = 0;
}

} // namespace

void pad_start() {
  // without controllers the game still plays: a failure here is no failure
  SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void pad_stop() {
  for (SDL_GameController* c : pad.open) SDL_GameControllerClose(c);
  pad = pad_state{};
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool pad_event(const SDL_Event& e) {
  switch (e.type) {
  case SDL_CONTROLLERDEVICEADDED:
    plugged(e.cdevice.which);
    return true;
  case SDL_CONTROLLERDEVICEREMOVED:
    unplugged(e.cdevice.which);
    update_held(SDL_GetTicks());
    return true;
  case SDL_CONTROLLERBUTTONDOWN:
  case SDL_CONTROLLERBUTTONUP:
    button(e.cbutton.button, e.type == SDL_CONTROLLERBUTTONDOWN);
    return true;
  case SDL_CONTROLLERAXISMOTION:
    if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) pad.stick_x = e.caxis.value;
    if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) pad.stick_y = e.caxis.value;
    pad.stick = stick_direction();
    update_held(SDL_GetTicks());
    return true;
  default:
    return false;
  }
}

void pad_poll(std::uint32_t now) {
  if (!pad.held || static_cast<std::int32_t>(now - pad.next_repeat) < 0) return;
  post_key(pad.held);
  pad.next_repeat = now + PAD_REPEAT_MS;
}
