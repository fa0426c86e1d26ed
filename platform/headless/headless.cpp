#include "platform/headless/headless.h"

#include "platform/platform.h"

#include <deque>

headless_data headless;
static std::deque<plat_msg> queue;

void headless_reset() {
  headless = headless_data{};
  queue.clear();
}

void headless_advance(std::uint32_t ms) { headless.clock_ms += ms; }
void headless_log(const std::string& line) { headless.log.push_back(line); }
int headless_pending() { return static_cast<int>(queue.size()); }

int plat_create_window(const char*) { return 0; }
void plat_destroy_window() {}
void plat_set_client_size(int w, int h) {
  headless.client_w = w;
  headless.client_h = h;
}
void plat_get_client_size(int* w, int* h) {
  *w = headless.client_w;
  *h = headless.client_h;
}

bool plat_peek_message(plat_msg* out) {
  if (queue.empty()) return false;
  *out = queue.front();
  queue.pop_front();
  return true;
}

// Nothing ever arrives by itself here: the driver posts the next message.
void plat_wait_message() {}

void plat_post_message(int kind, std::uint32_t wparam, std::int32_t lparam) {
  queue.push_back(plat_msg{kind, wparam, lparam});
}

std::uint32_t plat_tick_count() { return headless.clock_ms; }

void plat_message_box(const char* text, const char* caption) {
  headless_log("box: [" + sjis_to_utf8(caption) + "] " + sjis_to_utf8(text));
}

void plat_about_box() { headless_log("about"); }

void plat_debug_out(const char* text) { headless_log("debug: " + sjis_to_utf8(text)); }

void plat_present(const surface& back) {
  headless.presents++;
  headless.last_present = &back;
}
