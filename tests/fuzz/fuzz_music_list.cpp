// The music-list reader on any text (rpgmidlst.lst): every entry stays a
// terminated name of at most 39 bytes with no line end in it.
#include "fuzz_common.h"
#include "state/data_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  reset_state();
  FUZZ_CHECK(fuzz_read(data, size, read_music_list) == READ_OK);
  for (auto& entry : game.music_list) {
    std::size_t n = strnlen(entry, sizeof entry);
    FUZZ_CHECK(n < sizeof entry);
    FUZZ_CHECK(!std::memchr(entry, '\n', n) && !std::memchr(entry, '\r', n));
  }
  return 0;
}
