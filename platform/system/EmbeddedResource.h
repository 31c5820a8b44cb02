#pragma once
// The table of files embedded at build time (see tools/embed.cpp). Names and types are
// upper case; data lives in read-only memory for the life of the process.
#include <cstddef>

struct TEmbeddedResource {
  const char* Name;
  const char* Type;
  const unsigned char* Data;
  std::size_t Size;
};

const TEmbeddedResource* EmbeddedResourceTable(std::size_t& Count);
