// The save file reader on any bytes (rpgpcd.pcd): the slots it holds whole
// are taken, the slot list names every slot, and a short file is refused.
#include "fuzz_common.h"
#include "state/save_slots.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_enter_scratch();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  reset_state();
  fuzz_write(SAVE_FILE, data, size);
  int r = read_slots();
  FUZZ_CHECK(r == (size >= static_cast<std::size_t>(SAVE_FILE_BYTES) ? 0 : 1));
  std::size_t whole = size / SLOT_BYTES;
  for (std::size_t k = 0; k < SLOT_COUNT && k < whole; k++)
    FUZZ_CHECK(std::memcmp(&game.slots[k], data + k * SLOT_BYTES, SLOT_BYTES) == 0);
  for (int k = 0; k < SLOT_COUNT; k++) {
    const char* label = slot_label(k);
    FUZZ_CHECK(label != nullptr && std::strlen(label) <= 16);
  }
  return 0;
}
