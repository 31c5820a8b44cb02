#include "imaging/formats/iejpeg2000stream.h"

#include <algorithm>
#include <limits>

#include "imaging/io/iereadlimits.h"
#include "platform/system/Streams.h"

namespace {

// The codec reads and writes in pieces of this size at most.
constexpr OPJ_SIZE_T StreamChunk = 1 << 16;
constexpr OPJ_SIZE_T TransferFailed = static_cast<OPJ_SIZE_T>(-1);

// Moves up to Count bytes in pieces a TStream call can take; the bytes moved.
template <typename TMove>
OPJ_SIZE_T MoveInPieces(OPJ_SIZE_T Count, TMove Move) {
  OPJ_SIZE_T Done = 0;
  while (Done < Count) {
    const auto Piece =
        static_cast<Integer>(std::min<OPJ_SIZE_T>(Count - Done, std::numeric_limits<Integer>::max()));
    const Integer Moved = Move(Done, Piece);
    if (Moved <= 0) break;
    Done += static_cast<OPJ_SIZE_T>(Moved);
    if (Moved < Piece) break;
  }
  return Done;
}

void QuietMessage(const char*, void*) {}

void FailureMessage(const char*, void* Data) {
  *static_cast<bool*>(Data) = true;
}

}  // namespace

TJpeg2000Stream::TJpeg2000Stream(TStream* Stream, bool Input)
    : FStream(Stream), FStart(Stream->GetPosition()) {
  FHandle = opj_stream_create(StreamChunk, Input ? OPJ_TRUE : OPJ_FALSE);
  if (!FHandle) return;
  opj_stream_set_user_data(FHandle, this, nullptr);
  opj_stream_set_skip_function(FHandle, SkipProc);
  opj_stream_set_seek_function(FHandle, SeekProc);
  if (Input) {
    opj_stream_set_read_function(FHandle, ReadProc);
    FDataBytes = IEStreamBytesLeft(Stream);
    if (FDataBytes >= 0) opj_stream_set_user_data_length(FHandle, static_cast<OPJ_UINT64>(FDataBytes));
  } else {
    opj_stream_set_write_function(FHandle, WriteProc);
  }
}

TJpeg2000Stream::~TJpeg2000Stream() {
  if (FHandle) opj_stream_destroy(FHandle);
}

OPJ_SIZE_T TJpeg2000Stream::ReadProc(void* Buffer, OPJ_SIZE_T Count, void* Data) {
  auto* Self = static_cast<TJpeg2000Stream*>(Data);
  try {
    const OPJ_SIZE_T Done = MoveInPieces(Count, [&](OPJ_SIZE_T At, Integer Piece) {
      return Self->FStream->Read(static_cast<Byte*>(Buffer) + At, Piece);
    });
    // The codec takes 0 as "try again"; the end of the data is reported as a failure.
    return Done == 0 ? TransferFailed : Done;
  } catch (...) {
    return TransferFailed;
  }
}

OPJ_SIZE_T TJpeg2000Stream::WriteProc(void* Buffer, OPJ_SIZE_T Count, void* Data) {
  auto* Self = static_cast<TJpeg2000Stream*>(Data);
  try {
    const OPJ_SIZE_T Done = MoveInPieces(Count, [&](OPJ_SIZE_T At, Integer Piece) {
      return Self->FStream->Write(static_cast<const Byte*>(Buffer) + At, Piece);
    });
    return Done == Count ? Done : TransferFailed;
  } catch (...) {
    return TransferFailed;
  }
}

OPJ_OFF_T TJpeg2000Stream::SkipProc(OPJ_OFF_T Count, void* Data) {
  auto* Self = static_cast<TJpeg2000Stream*>(Data);
  try {
    const Int64 From = Self->FStream->GetPosition();
    const Int64 To = Self->FStream->Seek(Count, soCurrent);
    return To < 0 ? -1 : static_cast<OPJ_OFF_T>(To - From);
  } catch (...) {
    return -1;
  }
}

OPJ_BOOL TJpeg2000Stream::SeekProc(OPJ_OFF_T Offset, void* Data) {
  auto* Self = static_cast<TJpeg2000Stream*>(Data);
  try {
    const Int64 Target = Self->FStart + Offset;
    return Offset >= 0 && Self->FStream->Seek(Target, soBeginning) == Target ? OPJ_TRUE : OPJ_FALSE;
  } catch (...) {
    return OPJ_FALSE;
  }
}

TJpeg2000Codec::TJpeg2000Codec(opj_codec_t* Handle) : FHandle(Handle) {
  if (!FHandle) {
    FFailed = true;
    return;
  }
  opj_set_error_handler(FHandle, FailureMessage, &FFailed);
  opj_set_warning_handler(FHandle, QuietMessage, nullptr);
  opj_set_info_handler(FHandle, QuietMessage, nullptr);
}

TJpeg2000Codec::~TJpeg2000Codec() {
  if (FHandle) opj_destroy_codec(FHandle);
}
