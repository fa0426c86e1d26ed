// The table of resources compiled into the program (generated at build time).
#pragma once

struct embedded_resource {
  const char* type;
  const char* name;
  const unsigned char* begin;
  const unsigned char* end;
};

extern const embedded_resource embedded_resources[];
extern const int embedded_resource_count;
