// The WAV parser on any bytes: the data it finds lies inside the image.
#include "audio/sound.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  wave_info w;
  if (parse_wave(data, size, &w) != 1) return 0;
  FUZZ_CHECK(w.data >= data && w.data <= data + size);
  FUZZ_CHECK(w.size <= static_cast<std::size_t>(data + size - w.data));
  volatile std::uint8_t sum = 0;
  for (std::uint32_t i = 0; i < w.size; i++) sum = sum + w.data[i];
  return 0;
}
