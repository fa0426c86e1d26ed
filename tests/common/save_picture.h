// Pictures of the back buffer for a person to look at: written as PNG into
// the folder ZK_PICTURES names, and not at all when it is unset.
#pragma once
#include "gfx/surfaces.h"
#include "platform/png.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

inline void save_picture(const char* name) {
  const char* dir = std::getenv("ZK_PICTURES");
  if (!dir) return;
  std::string why, path = std::string(dir) + "/" + name;
  if (write_png(path.c_str(), gfx.back_surface, &why) != 0) ADD_FAILURE() << path << ": " << why;
}
