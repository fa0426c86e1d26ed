// What the headless backend offers beyond the platform interface: a virtual
// clock that the driver advances, and a log of what a player would see or
// hear outside the picture.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct surface;

struct headless_data {
  std::uint32_t clock_ms = 0;
  int client_w = 256, client_h = 256;
  std::vector<std::string> log; // UTF-8 lines: "box: ...", "debug: ..."
  int presents = 0;
  const surface* last_present = nullptr;
};

extern headless_data headless;

void headless_reset();
void headless_advance(std::uint32_t ms);
// A line of the log: message boxes ("box: [caption] text"), debug output
// ("debug: ..."); the sound device and music stream log what they play.
void headless_log(const std::string& utf8_line);
// Messages posted and not yet taken from the queue.
int headless_pending();
