#pragma once
// The zlib streams of stored skins: TCompressionStream deflates what is written to it into
// another stream, TDecompressionStream inflates another stream while it is read. Neither owns
// the other stream; both move it back to where they last left it before each transfer.
#include <zlib.h>

#include <array>

#include "platform/system/Delegates.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Streams.h"

TV_DECLARE_EXCEPTION(EZlibError, Exception)
TV_DECLARE_EXCEPTION(ECompressionError, EZlibError)
TV_DECLARE_EXCEPTION(EDecompressionError, EZlibError)

// In this order: no compression, fastest, zlib's default, maximum (9).
enum class TCompressionLevel : Byte { clNone, clFastest, clDefault, clMax };

constexpr Integer ZlibBufferSize = 4096;

class TCustomZlibStream : public TStream {
 public:
  TCustomZlibStream(const TCustomZlibStream&) = delete;
  TCustomZlibStream& operator=(const TCustomZlibStream&) = delete;

  TNotifyEvent OnProgress;

 protected:
  explicit TCustomZlibStream(TStream* Strm) : FStrm(Strm), FStrmPos(Strm->GetPosition()) {}
  virtual void Progress(TObject* Sender);

  TStream* FStrm;  // not owned
  Int64 FStrmPos;
  z_stream FZRec{};
  std::array<Byte, ZlibBufferSize> FBuffer{};
};

// Write-only; the destructor writes the end of the zlib stream.
class TCompressionStream : public TCustomZlibStream {
 public:
  TCompressionStream(TCompressionLevel CompressionLevel, TStream* Dest);
  ~TCompressionStream() override;
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  // Only Seek(0, soCurrent), which gives the bytes taken so far.
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;

 private:
  void FlushBuffer();
};

// Read-only. A read past the end of the zlib stream gives what is left of it; a source that
// ends before the zlib stream does raises "compression error".
class TDecompressionStream : public TCustomZlibStream {
 public:
  explicit TDecompressionStream(TStream* Source);
  ~TDecompressionStream() override;
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  // Back to the start, or forward by reading; anything else raises.
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;

 private:
  void Skip(Int64 Count);
  bool FEnded = false;
};

// Deflates the whole of Source at the maximum level onto Dest.
void CompressStream(TStream* Source, TStream* Dest);
// Inflates the whole of Source onto Dest.
void DecompressStream(TStream* Dest, TStream* Source);
