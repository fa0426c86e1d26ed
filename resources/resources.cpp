#include "resources/resources.h"

#include "resources/embedded.h"

#include <strings.h>

#include <cstring>

bool find_resource(const char* type, const char* name, const std::uint8_t** data,
                   std::size_t* size) {
  bool any_case = std::strcmp(type, "WAV") == 0;
  for (int i = 0; i < embedded_resource_count; i++) {
    const embedded_resource& r = embedded_resources[i];
    if (std::strcmp(r.type, type) != 0) continue;
    if (any_case ? strcasecmp(r.name, name) != 0 : std::strcmp(r.name, name) != 0) continue;
    *data = r.begin;
    *size = static_cast<std::size_t>(r.end - r.begin);
    return true;
  }
  return false;
}
