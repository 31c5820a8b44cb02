#pragma once
// Deflate and inflate over TStream: TZCompressionStream deflates what is written to it into a
// destination stream, TZDecompressionStream inflates a source stream while it is read, and
// InflateBuffer inflates a memory block. Neither stream owns the other stream; both put it back
// where they last left it before each transfer, so the caller may move it in between.
#include <zlib.h>

#include <array>
#include <vector>

#include "platform/system/Delegates.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Streams.h"

TV_DECLARE_EXCEPTION(EZLibError, Exception)
TV_DECLARE_EXCEPTION(EZCompressionError, EZLibError)
TV_DECLARE_EXCEPTION(EZDecompressionError, EZLibError)

// Second argument of TZCompressionStream: 0 none, 1 fastest, 2 zlib's default, 3 maximum.
enum TZCompressionLevel : Byte { zcNone = 0, zcFastest = 1, zcDefault = 2, zcMax = 3 };

constexpr Integer ZStreamBufferSize = 65536;

class TCustomZStream : public TStream {
 public:
  TCustomZStream(const TCustomZStream&) = delete;
  TCustomZStream& operator=(const TCustomZStream&) = delete;

  // Fired after each full buffer moved to or from the other stream.
  TNotifyEvent OnProgress;

 protected:
  explicit TCustomZStream(TStream* Strm);
  virtual void Progress(TObject* Sender);
  // Moves the other stream back to where this one left it.
  void RestoreStrmPosition();

  TStream* FStrm;  // not owned
  Int64 FStrmPos;
  z_stream FZRec{};
  std::array<Byte, ZStreamBufferSize> FBuffer;
};

class TZCompressionStream : public TCustomZStream {
 public:
  TZCompressionStream(TStream* Dest, TZCompressionLevel CompressionLevel);
  // Finishes the deflate stream when Finish has not run; errors are dropped here because a
  // destructor cannot raise, so writers that must know call Finish.
  ~TZCompressionStream() override;

  Integer Read(void* Buffer, Integer Count) override;
  // Deflates Count bytes into the destination; returns Count.
  Integer Write(const void* Buffer, Integer Count) override;
  // Bytes written so far, whatever is asked; nothing moves.
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  // Flushes the end of the deflate stream into the destination; raises on a zlib error or a
  // short write. Later calls do nothing.
  void Finish();

 private:
  void FlushBuffer(Integer Count);
  bool FFinished = false;
};

class TZDecompressionStream : public TCustomZStream {
 public:
  explicit TZDecompressionStream(TStream* Source);
  ~TZDecompressionStream() override;

  // The bytes inflated into Buffer, fewer than Count at the end of the compressed data or of
  // the source. Unused input after the end of the compressed data is given back to Source.
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  // Back to the start (offset 0 from the beginning), forward by reading, or to the end; other
  // moves raise. Returns the bytes delivered so far.
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;

 private:
  void Skip(Int64 Count);
  Int64 FStartPos;  // where the compressed data begins in Source
  bool FStreamEnd = false;
};

// Inflates InSize bytes at InBuffer into OutBuffer (replaced), which starts at OutEstimate
// bytes (InSize rounded up to 256 when 0) and grows by that rounded size. Raises
// EZDecompressionError for bad or truncated data.
void InflateBuffer(const void* InBuffer, Integer InSize, std::vector<Byte>& OutBuffer, Integer OutEstimate);
