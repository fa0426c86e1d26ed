// Writing a surface as a PNG picture (8-bit red-green-blue).
#pragma once
#include "platform/surface.h"

#include <string>

// 0 on success; otherwise non-zero with the reason in *why.
int write_png(const char* path, const surface& s, std::string* why);
