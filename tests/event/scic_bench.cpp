// The cost of compiling a whole game's worth of events.
#include "event/scic.h"

#include <benchmark/benchmark.h>

#include <string>

static std::string large_source() {
  std::string src = "* 255 events of 20 statements each\n";
  for (int e = 0; e < 255; e++) {
    char head[16];
    std::snprintf(head, sizeof head, "evt%03d\n", e);
    src += head;
    src += "if system040 off\n  printn \"hello\"\n  input\n  if ans y\n    item007 get\n";
    src += "    system040 on\n    status007 up010\n  else\n    music003 start\n  endif\n";
    src += "else\n  sysitem150 put\n  sound001 stop\nendif\nstatus011 down050\n";
    src += "* a comment\n\nendevt\n";
  }
  return src;
}

static void BM_compile_large_script(benchmark::State& state) {
  std::string src = large_source();
  for (auto _ : state) {
    reset_scic_state();
    benchmark::DoNotOptimize(scic_compile_source(src.data(), src.size()));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * src.size());
}
BENCHMARK(BM_compile_large_script)->Unit(benchmark::kMillisecond);
