#pragma once
// Shared by the fuzz harnesses: the input as a stream or a file, and a reader run that lets
// the program's own exceptions pass (a refused input is sound) while anything else crashes.
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/system/Exceptions.h"
#include "platform/system/Streams.h"

namespace fuzz {

// The input as a memory stream positioned at its start.
inline void FillStream(TMemoryStream& Stream, const uint8_t* Data, size_t Size) {
  if (Size > 0) Stream.Write(Data, static_cast<Integer>(Size));
  Stream.Seek(0, soBeginning);
}

inline std::string_view AsText(const uint8_t* Data, size_t Size) {
  return {reinterpret_cast<const char*>(Data), Size};
}

// Runs Read; an Exception is a refusal, which is what a malformed input should get.
template <class F>
void Refusable(F&& Read) {
  try {
    Read();
  } catch (const Exception&) {
  }
}

// A file holding the input, for readers that only take a file name; one per process.
class TInputFile {
 public:
  TInputFile() : FName("/tmp/tv-fuzz-" + std::to_string(getpid()) + ".ini") {}
  ~TInputFile() { std::remove(FName.c_str()); }
  const std::string& Write(const uint8_t* Data, size_t Size) {
    if (FILE* F = std::fopen(FName.c_str(), "wb")) {
      if (Size > 0) std::fwrite(Data, 1, Size, F);
      std::fclose(F);
    }
    return FName;
  }

 private:
  std::string FName;
};

}  // namespace fuzz
