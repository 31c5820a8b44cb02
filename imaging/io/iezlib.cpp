#include "imaging/io/iezlib.h"

#include <algorithm>

namespace {

constexpr const char* InvalidOperation = "Invalid ZStream operation!";
constexpr Integer SkipPiece = 8192;

template <class E>
int ZCheck(int Code) {
  if (Code < 0) throw E(zError(Code));
  return Code;
}

// A preset dictionary is never supplied here, so asking for one is bad data; it would
// otherwise return the same code forever without consuming input.
int InflateCheck(z_stream& Rec) {
  int Code = inflate(&Rec, Z_NO_FLUSH);
  if (Code == Z_NEED_DICT) Code = Z_DATA_ERROR;
  return ZCheck<EZDecompressionError>(Code);
}

constexpr int LevelTable[] = {Z_NO_COMPRESSION, Z_BEST_SPEED, Z_DEFAULT_COMPRESSION, Z_BEST_COMPRESSION};

}  // namespace

TCustomZStream::TCustomZStream(TStream* Strm) : FStrm(Strm), FStrmPos(Strm->GetPosition()) {}

void TCustomZStream::Progress(TObject* Sender) {
  if (OnProgress) OnProgress(Sender);
}

void TCustomZStream::RestoreStrmPosition() {
  if (FStrm->GetPosition() != FStrmPos) FStrm->SetPosition(FStrmPos);
}

// --- compression

TZCompressionStream::TZCompressionStream(TStream* Dest, TZCompressionLevel CompressionLevel)
    : TCustomZStream(Dest) {
  FZRec.next_out = FBuffer.data();
  FZRec.avail_out = ZStreamBufferSize;
  const int Level = LevelTable[std::min<Integer>(CompressionLevel, zcMax)];
  ZCheck<EZCompressionError>(deflateInit(&FZRec, Level));
}

TZCompressionStream::~TZCompressionStream() {
  try {
    Finish();
  } catch (...) {
  }
  deflateEnd(&FZRec);
}

void TZCompressionStream::FlushBuffer(Integer Count) {
  FStrm->WriteBuffer(FBuffer.data(), Count);
  FZRec.next_out = FBuffer.data();
  FZRec.avail_out = ZStreamBufferSize;
  FStrmPos = FStrm->GetPosition();
  Progress(this);
}

void TZCompressionStream::Finish() {
  if (FFinished) return;
  FFinished = true;
  FZRec.next_in = nullptr;
  FZRec.avail_in = 0;
  RestoreStrmPosition();
  while (ZCheck<EZCompressionError>(deflate(&FZRec, Z_FINISH)) != Z_STREAM_END)
    FlushBuffer(ZStreamBufferSize - static_cast<Integer>(FZRec.avail_out));
  if (FZRec.avail_out < static_cast<uInt>(ZStreamBufferSize))
    FlushBuffer(ZStreamBufferSize - static_cast<Integer>(FZRec.avail_out));
}

Integer TZCompressionStream::Read(void*, Integer) {
  throw EZCompressionError(InvalidOperation);
}

Integer TZCompressionStream::Write(const void* Buffer, Integer Count) {
  if (FFinished) throw EZCompressionError(InvalidOperation);
  FZRec.next_in = static_cast<Bytef*>(const_cast<void*>(Buffer));
  FZRec.avail_in = static_cast<uInt>(std::max<Integer>(Count, 0));
  RestoreStrmPosition();
  while (FZRec.avail_in > 0) {
    ZCheck<EZCompressionError>(deflate(&FZRec, Z_NO_FLUSH));
    if (FZRec.avail_out == 0) FlushBuffer(ZStreamBufferSize);
  }
  return Count;
}

Int64 TZCompressionStream::Seek(Int64, TSeekOrigin) {
  return static_cast<Int64>(FZRec.total_in);
}

// --- decompression

TZDecompressionStream::TZDecompressionStream(TStream* Source) : TCustomZStream(Source), FStartPos(FStrmPos) {
  FZRec.next_in = FBuffer.data();
  FZRec.avail_in = 0;
  ZCheck<EZDecompressionError>(inflateInit(&FZRec));
}

TZDecompressionStream::~TZDecompressionStream() {
  inflateEnd(&FZRec);
}

Integer TZDecompressionStream::Read(void* Buffer, Integer Count) {
  FZRec.next_out = static_cast<Bytef*>(Buffer);
  FZRec.avail_out = static_cast<uInt>(std::max<Integer>(Count, 0));
  RestoreStrmPosition();
  while (FZRec.avail_out > 0 && !FStreamEnd) {
    if (FZRec.avail_in == 0) {
      const Integer Got = FStrm->Read(FBuffer.data(), ZStreamBufferSize);
      if (Got <= 0) break;
      FZRec.next_in = FBuffer.data();
      FZRec.avail_in = static_cast<uInt>(Got);
      FStrmPos = FStrm->GetPosition();
      Progress(this);
    }
    FStreamEnd = InflateCheck(FZRec) == Z_STREAM_END;
  }
  if (FStreamEnd && FZRec.avail_in > 0) {
    FStrm->Seek(-static_cast<Int64>(FZRec.avail_in), soCurrent);
    FStrmPos = FStrm->GetPosition();
    FZRec.avail_in = 0;
  }
  return Count - static_cast<Integer>(FZRec.avail_out);
}

Integer TZDecompressionStream::Write(const void*, Integer) {
  throw EZDecompressionError(InvalidOperation);
}

void TZDecompressionStream::Skip(Int64 Count) {
  std::array<Byte, SkipPiece> Scratch;
  while (Count > 0) {
    const Integer Piece = static_cast<Integer>(std::min<Int64>(Count, SkipPiece));
    const Integer Got = Read(Scratch.data(), Piece);
    if (Got < Piece) return;
    Count -= Piece;
  }
}

Int64 TZDecompressionStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  const Int64 Delivered = static_cast<Int64>(FZRec.total_out);
  if (Offset == 0 && Origin == soBeginning) {
    ZCheck<EZDecompressionError>(inflateReset(&FZRec));
    FZRec.next_in = FBuffer.data();
    FZRec.avail_in = 0;
    FStreamEnd = false;
    // The compressed data need not start the source: go back to where it began.
    FStrm->SetPosition(FStartPos);
    FStrmPos = FStartPos;
  } else if (Offset >= 0 && Origin == soCurrent) {
    Skip(Offset);
  } else if (Origin == soBeginning && Offset >= Delivered) {
    Skip(Offset - Delivered);
  } else if (Offset == 0 && Origin == soEnd) {
    std::array<Byte, SkipPiece> Scratch;
    while (Read(Scratch.data(), SkipPiece) > 0) {
    }
  } else {
    throw EZDecompressionError(InvalidOperation);
  }
  return static_cast<Int64>(FZRec.total_out);
}

// --- buffers

void InflateBuffer(const void* InBuffer, Integer InSize, std::vector<Byte>& OutBuffer, Integer OutEstimate) {
  const Integer Step = (std::max<Integer>(InSize, 0) + 255) / 256 * 256;
  const Integer Growth = std::max<Integer>(Step, 256);
  OutBuffer.assign(static_cast<size_t>(OutEstimate > 0 ? OutEstimate : Growth), 0);
  z_stream Rec{};
  Rec.next_in = static_cast<Bytef*>(const_cast<void*>(InBuffer));
  Rec.avail_in = static_cast<uInt>(std::max<Integer>(InSize, 0));
  Rec.next_out = OutBuffer.data();
  Rec.avail_out = static_cast<uInt>(OutBuffer.size());
  ZCheck<EZDecompressionError>(inflateInit(&Rec));
  try {
    // Truncated data ends in Z_BUF_ERROR once no progress is possible, which raises instead
    // of growing the block for ever.
    while (InflateCheck(Rec) != Z_STREAM_END) {
      if (Rec.avail_out > 0) continue;
      const size_t Done = Rec.total_out;
      OutBuffer.resize(OutBuffer.size() + static_cast<size_t>(Growth));
      Rec.next_out = OutBuffer.data() + Done;
      Rec.avail_out = static_cast<uInt>(Growth);
    }
  } catch (...) {
    inflateEnd(&Rec);
    OutBuffer.clear();
    throw;
  }
  const size_t Done = Rec.total_out;
  ZCheck<EZDecompressionError>(inflateEnd(&Rec));
  OutBuffer.resize(Done);
  OutBuffer.shrink_to_fit();
}
