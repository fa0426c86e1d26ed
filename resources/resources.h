// The pictures and sounds carried inside the program: the six bitmaps of type
// "BITMAP" (PMAP, PLC, WAKU0, WAKU1, CURSOL, DUMMY, as BMP files) and the
// thirteen sound effects of type "WAV" (as WAV files).
#pragma once
#include <cstddef>
#include <cstdint>

// Finds a resource by type and name: bitmap names compare exactly, WAV
// names without regard to case. true with its bytes when it is there.
bool find_resource(const char* type, const char* name, const std::uint8_t** data,
                   std::size_t* size);
