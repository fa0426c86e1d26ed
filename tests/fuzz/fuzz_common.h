// What every fuzz target shares: a clean game before each input, the input
// as a FILE for the data-file readers, and a scratch folder for readers and
// writers that work on named files.
#pragma once
#include "platform/headless/headless.h"
#include "state/state.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

// A check the fuzzer must never see fail: it aborts, so libFuzzer keeps the
// input as a crash.
#define FUZZ_CHECK(cond)                                                                           \
  do {                                                                                             \
    if (!(cond)) {                                                                                 \
      std::fprintf(stderr, "check failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__);               \
      std::abort();                                                                                \
    }                                                                                              \
  } while (0)

// Runs a reader on the input; an empty input gives a stream at its end.
template <typename Reader> int fuzz_read(const std::uint8_t* data, std::size_t size, Reader r) {
  static char one[1];
  std::FILE* f =
      size ? fmemopen(const_cast<std::uint8_t*>(data), size, "rb") : fmemopen(one, 1, "rb");
  FUZZ_CHECK(f != nullptr);
  if (size == 0) std::fgetc(f);
  int result = r(f);
  std::fclose(f);
  return result;
}

// Moves into a scratch folder of this process (under TMPDIR, else /tmp).
inline void fuzz_enter_scratch() {
  const char* tmp = std::getenv("TMPDIR");
  std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/zkfuzz.XXXXXX";
  FUZZ_CHECK(mkdtemp(dir.data()) != nullptr);
  FUZZ_CHECK(chdir(dir.c_str()) == 0);
}

// Writes the input as a file of the scratch folder.
inline void fuzz_write(const char* name, const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(name, "wb");
  FUZZ_CHECK(f != nullptr);
  if (size) FUZZ_CHECK(std::fwrite(data, 1, size, f) == size);
  std::fclose(f);
}
