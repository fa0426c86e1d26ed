// The cost of composing one frame on the back buffer (copies of a 256 x 256
// picture plus a window of text); a plain copy of the same bytes, the
// yardstick, is tests/bench/frame_costs' memcpy_back_buffer.
#include "gfx/surfaces.h"
#include "gfx/text.h"

#include <benchmark/benchmark.h>

namespace {

void setup() {
  reset_surfaces_state();
  reset_text_state();
  surface_create(gfx.back_surface, 256, 256);
  surface_create(gfx.pmap_surface, 256, 256);
  surface_create(gfx.plc_surface, 256, 256);
  surface_create(gfx.waku1_surface, 72, 8);
  for (int i = 0; i < 256 * 256 * 3; i++)
    gfx.pmap_surface.px[i] = static_cast<std::uint8_t>(i * 31);
  gfx.plc_surface.px = gfx.pmap_surface.px;
  set_color_key(gfx.plc_surface, 0);
}

// A field frame: 256 tiles, a few sprites, a message window of four lines.
void compose_frame(bool text = true) {
  for (int ty = 0; ty < 16; ty++)
    for (int tx_ = 0; tx_ < 16; tx_++) {
      int n = (ty * 16 + tx_ * 7) & 255;
      copy_rect(gfx.back_surface, tx_ * 16, ty * 16, gfx.pmap_surface, tile_sx(n), tile_sy(n), 16,
                16);
    }
  for (int i = 0; i < 8; i++)
    copy_keyed(gfx.back_surface, 16 * i + 40, 120, gfx.plc_surface, 16 * i, 0, 16, 16);
  draw_frame(8, 176, 240, 72);
  if (!text) return;
  begin_text(text_drawing.menu_font, TEXT_OPAQUE);
  text_out(16, 184, "勇者は　どうのつるぎを　てにいれた！");
  text_out(16, 198, "HP  123/456  MP  12/ 34  LV 10");
  text_out(16, 212, "スライムが　あらわれた！");
  text_out(16, 226, "ゴールド　1234");
  end_text();
}

void BM_ComposeFrame(benchmark::State& state) {
  setup();
  for (auto _ : state) {
    compose_frame();
    benchmark::DoNotOptimize(gfx.back_surface.px.data());
  }
}
BENCHMARK(BM_ComposeFrame);

// The same frame without its text: what the copies alone cost.
void BM_ComposeFrameCopiesOnly(benchmark::State& state) {
  setup();
  for (auto _ : state) {
    compose_frame(false);
    benchmark::DoNotOptimize(gfx.back_surface.px.data());
  }
}
BENCHMARK(BM_ComposeFrameCopiesOnly);

} // namespace
