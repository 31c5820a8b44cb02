#include "skin/data/bszlibcompress.h"

#include <algorithm>

namespace {

constexpr const char* SZlibError = "error";
constexpr const char* SDecompressionError = "compression error";
constexpr const char* SInvalidStreamOp = "Invalid stream operation";

Bytef* AsBytef(const void* P) {
  return static_cast<Bytef*>(const_cast<void*>(P));
}

}  // namespace

void TCustomZlibStream::Progress(TObject* Sender) {
  if (OnProgress) OnProgress(Sender);
}

// ---- Compression ----------------------------------------------------------------------------

TCompressionStream::TCompressionStream(TCompressionLevel CompressionLevel, TStream* Dest)
    : TCustomZlibStream(Dest) {
  static constexpr int Levels[] = {Z_NO_COMPRESSION, Z_BEST_SPEED, Z_DEFAULT_COMPRESSION, Z_BEST_COMPRESSION};
  FZRec.next_out = FBuffer.data();
  FZRec.avail_out = ZlibBufferSize;
  if (deflateInit(&FZRec, Levels[static_cast<int>(CompressionLevel)]) != Z_OK)
    throw ECompressionError(SZlibError);
}

void TCompressionStream::FlushBuffer() {
  const Integer Count = ZlibBufferSize - static_cast<Integer>(FZRec.avail_out);
  FStrm->WriteBuffer(FBuffer.data(), Count);
  FStrmPos = FStrm->GetPosition();
  FZRec.next_out = FBuffer.data();
  FZRec.avail_out = ZlibBufferSize;
}

TCompressionStream::~TCompressionStream() {
  FZRec.next_in = nullptr;
  FZRec.avail_in = 0;
  try {
    FStrm->SetPosition(FStrmPos);
    // Z_OK with Z_FINISH means the buffer is full and more is to come.
    for (int Result = deflate(&FZRec, Z_FINISH); Result == Z_OK; Result = deflate(&FZRec, Z_FINISH))
      FlushBuffer();
    FlushBuffer();
  } catch (...) {
    // A destructor cannot report it; the target is short and its reader will say so.
  }
  deflateEnd(&FZRec);
}

Integer TCompressionStream::Read(void*, Integer) {
  throw ECompressionError(SInvalidStreamOp);
}

Integer TCompressionStream::Write(const void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  FZRec.next_in = AsBytef(Buffer);
  FZRec.avail_in = static_cast<uInt>(Count);
  FStrm->SetPosition(FStrmPos);
  while (FZRec.avail_in > 0) {
    if (deflate(&FZRec, Z_NO_FLUSH) == Z_STREAM_ERROR) throw ECompressionError(SZlibError);
    if (FZRec.avail_out == 0) {
      FlushBuffer();
      Progress(this);
    }
  }
  return Count;
}

Int64 TCompressionStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  if (Offset == 0 && Origin == soCurrent) return static_cast<Int64>(FZRec.total_in);
  throw ECompressionError(SInvalidStreamOp);
}

// ---- Decompression --------------------------------------------------------------------------

TDecompressionStream::TDecompressionStream(TStream* Source) : TCustomZlibStream(Source) {
  FZRec.next_in = FBuffer.data();
  FZRec.avail_in = 0;
  if (inflateInit(&FZRec) != Z_OK) throw EDecompressionError(SDecompressionError);
}

TDecompressionStream::~TDecompressionStream() {
  inflateEnd(&FZRec);
}

Integer TDecompressionStream::Read(void* Buffer, Integer Count) {
  if (Count <= 0 || FEnded) return 0;
  FZRec.next_out = AsBytef(Buffer);
  FZRec.avail_out = static_cast<uInt>(Count);
  FStrm->SetPosition(FStrmPos);
  while (FZRec.avail_out > 0) {
    if (FZRec.avail_in == 0) {
      const Integer Got = FStrm->Read(FBuffer.data(), ZlibBufferSize);
      // The source ended inside the zlib stream: the data was cut short.
      if (Got <= 0) throw EDecompressionError(SDecompressionError);
      FZRec.next_in = FBuffer.data();
      FZRec.avail_in = static_cast<uInt>(Got);
      FStrmPos = FStrm->GetPosition();
      Progress(this);
    }
    const int Result = inflate(&FZRec, Z_NO_FLUSH);
    if (Result == Z_STREAM_END) {
      // Bytes after the end of the zlib stream are not read.
      FEnded = true;
      break;
    }
    if (Result != Z_OK && !(Result == Z_BUF_ERROR && FZRec.avail_in == 0))
      throw EDecompressionError(SDecompressionError);
  }
  return Count - static_cast<Integer>(FZRec.avail_out);
}

Integer TDecompressionStream::Write(const void*, Integer) {
  throw EDecompressionError(SInvalidStreamOp);
}

void TDecompressionStream::Skip(Int64 Count) {
  std::array<Byte, ZlibBufferSize> Scratch;
  while (Count > 0) {
    const Integer Part = static_cast<Integer>(std::min<Int64>(Count, ZlibBufferSize));
    const Integer Got = Read(Scratch.data(), Part);
    if (Got == 0) break;
    Count -= Got;
  }
}

Int64 TDecompressionStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  const Int64 Produced = static_cast<Int64>(FZRec.total_out);
  if (Offset == 0 && Origin == soBeginning) {
    if (inflateReset(&FZRec) != Z_OK) throw EDecompressionError(SDecompressionError);
    FZRec.next_in = FBuffer.data();
    FZRec.avail_in = 0;
    FEnded = false;
    FStrm->SetPosition(0);
    FStrmPos = 0;
  } else if (Origin == soCurrent && Offset >= 0) {
    Skip(Offset);
  } else if (Origin == soBeginning && Offset > Produced) {
    Skip(Offset - Produced);
  } else {
    throw EDecompressionError(SInvalidStreamOp);
  }
  return static_cast<Int64>(FZRec.total_out);
}

// ---- Whole streams --------------------------------------------------------------------------

void CompressStream(TStream* Source, TStream* Dest) {
  Source->SetPosition(0);
  TCompressionStream Compressor(TCompressionLevel::clMax, Dest);
  Compressor.CopyFrom(Source, 0);
}

void DecompressStream(TStream* Dest, TStream* Source) {
  Source->SetPosition(0);
  TDecompressionStream Decompressor(Source);
  std::array<Byte, ZlibBufferSize> Chunk;
  Integer Got;
  while ((Got = Decompressor.Read(Chunk.data(), ZlibBufferSize)) > 0) Dest->WriteBuffer(Chunk.data(), Got);
}
