#pragma once
// The compressors the AVI file library offers (inside the media library): uncompressed DIB
// frames, then the AVI-capable video encoders of libavcodec, one per handler code.
#include <optional>
#include <string>
#include <vector>

#include "platform/media/AviFile.h"

struct AVCodec;

struct TAviCompressor {
  FOURCC Handler = 0;
  const AVCodec* Encoder = nullptr;  // nil: uncompressed DIB frames
  std::u16string Description;
};

// The list in the platform's order (after a test's restriction).
const std::vector<TAviCompressor>& AviInstalledCompressors();
// The compressor of a handler code, compared without regard to case; nil when none has it.
// Codes 0 and "DIB " (also "RGB ", "raw ") name the uncompressed one.
const TAviCompressor* AviFindCompressor(FOURCC Handler);
void AviRestrictCompressors(std::optional<std::vector<FOURCC>> Handlers);
