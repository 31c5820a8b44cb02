// The strip coders of the TIFF writer, one per compression, and PackBits coding of a row.
#include <algorithm>
#include <vector>

#include "imaging/core/iestreams.h"
#include "imaging/io/iezlib.h"
#include "imaging/io/tifccitt.h"
#include "imaging/io/tiffiltwrite.h"
#include "platform/system/Streams.h"

void TiffPackBits(const Byte* Data, Integer Length, TStream* Stream, bool& Aborting) {
  constexpr Integer MinRun = 4, MaxGroup = 128;
  std::vector<Byte> Out;
  Out.reserve(static_cast<std::size_t>(Length) + Length / MaxGroup + 2);
  Integer LiteralStart = 0, At = 0;
  auto FlushLiterals = [&] {
    while (LiteralStart < At) {
      const Integer Count = std::min(At - LiteralStart, MaxGroup);
      Out.push_back(static_cast<Byte>(Count - 1));
      Out.insert(Out.end(), Data + LiteralStart, Data + LiteralStart + Count);
      LiteralStart += Count;
    }
  };
  while (At < Length) {
    Integer Run = 1;
    while (At + Run < Length && Run < MaxGroup && Data[At + Run] == Data[At]) ++Run;
    if (Run < MinRun) {
      ++At;
      continue;
    }
    FlushLiterals();
    Out.push_back(static_cast<Byte>(1 - Run));
    Out.push_back(Data[At]);
    At += Run;
    LiteralStart = At;
  }
  FlushLiterals();
  IESafeStreamWrite(Stream, Aborting, Out.data(), static_cast<Integer>(Out.size()));
}

namespace {

// Rows written as they come or PackBits-coded; neither has anything to close.
class TRowCoder : public TTIFFStripCoder {
 public:
  TRowCoder(TStream* Stream, bool& Aborting, bool PackBits)
      : FStream(Stream), FAborting(Aborting), FPackBits(PackBits) {}
  void WriteRow(const Byte* Row, Integer Length) override {
    if (FPackBits)
      TiffPackBits(Row, Length, FStream, FAborting);
    else
      IESafeStreamWrite(FStream, FAborting, Row, Length);
  }
  void Close() override {}

 private:
  TStream* FStream;
  bool& FAborting;
  bool FPackBits;
};

// The LZW procedure does not look at its writes; it codes into memory, which goes out
// through a checked write after every row.
class TLzwCoder : public TTIFFStripCoder {
 public:
  TLzwCoder(TStream* Stream, bool& Aborting, TTiffLzwCompressProc Compress)
      : FStream(Stream), FAborting(Aborting), FCompress(Compress) {}
  ~TLzwCoder() override {
    if (FContext) FCompress(nullptr, 0, &FBuffer, FContext);
  }
  void WriteRow(const Byte* Row, Integer Length) override {
    FCompress(Row, Length, &FBuffer, FContext);
    Flush();
  }
  void Close() override {
    FCompress(nullptr, 0, &FBuffer, FContext);
    FContext = nullptr;
    Flush();
  }

 private:
  void Flush() {
    IESafeStreamWrite(FStream, FAborting, FBuffer.GetMemory(), static_cast<Integer>(FBuffer.GetPosition()));
    FBuffer.Seek(0, soBeginning);
  }
  TStream* FStream;
  bool& FAborting;
  TTiffLzwCompressProc FCompress;
  void* FContext = nullptr;
  TMemoryStream FBuffer;
};

// One deflate stream for the strip; zlib and short writes raise, which the strip writer
// turns into an abort.
class TDeflateCoder : public TTIFFStripCoder {
 public:
  TDeflateCoder(TStream* Stream, Integer Level)
      : FZip(Stream, static_cast<TZCompressionLevel>(std::clamp(Level, 0, 3))) {}
  void WriteRow(const Byte* Row, Integer Length) override { FZip.WriteBuffer(Row, Length); }
  void Close() override { FZip.Finish(); }

 private:
  TZCompressionStream FZip;
};

// The fax coders' per-strip state: pending bits and the reference row.
class TFaxCoder : public TTIFFStripCoder {
 public:
  TFaxCoder(TStream* Stream, bool* Aborting, Word Compression, bool TwoDimensional, Integer FillOrder,
            Integer Width)
      : FStream(Stream),
        FAborting(Aborting),
        FCompression(Compression),
        FTwoDimensional(TwoDimensional),
        FFillOrder(FillOrder),
        FWidth(Width) {}
  void WriteRow(const Byte* Row, Integer /*Length*/) override { Code(Row, FWidth); }
  void Close() override { Code(nullptr, 0); }

 private:
  void Code(const Byte* Row, Integer Width) {
    if (FCompression == TiffCCITTHuffman) {
      if (Row) CCITTEncodeHuffmanRow(Row, Width, FStream, FFillOrder, FAborting);
    } else if (FCompression == TiffCCITTGroup4) {
      CCITTG4EncodeRow(Row, FWidth, FStream, FFillOrder, FAborting, FRefRow, FPendingCount, FPendingByte);
    } else if (FTwoDimensional) {
      CCITTG3Encode2DRow(Row, FWidth, FStream, FFillOrder, FAborting, FRefRow, FPendingCount, FPendingByte);
    } else {
      CCITTEncode1DRow(Row, Width, FStream, FFillOrder, FAborting, FPendingCount, FPendingByte);
    }
  }
  TStream* FStream;
  bool* FAborting;
  Word FCompression;
  bool FTwoDimensional;
  Integer FFillOrder;
  Integer FWidth;
  std::unique_ptr<Byte[]> FRefRow;
  Integer FPendingCount = 0;
  Byte FPendingByte = 0;
};

}  // namespace

std::unique_ptr<TTIFFStripCoder> TiffCreateStripCoder(TStream* Stream, TIEIOProgress& Progress,
                                                      const TTIFFWriteState& State, Integer Width) {
  bool& Aborting = *Progress.Aborting;
  switch (State.Compression) {
    case TiffLZW:
      return std::make_unique<TLzwCoder>(Stream, Aborting, State.LzwCompress);
    case TiffPackBitsCompression:
      return std::make_unique<TRowCoder>(Stream, Aborting, /*PackBits=*/true);
    case TiffDeflate:
      return std::make_unique<TDeflateCoder>(Stream, State.IOParams.TiffZipCompression + 1);
    case TiffCCITTHuffman:
    case TiffCCITTGroup3:
    case TiffCCITTGroup4:
      return std::make_unique<TFaxCoder>(Stream, &Aborting, State.Compression, State.TwoDimensional,
                                         State.FillOrder, Width);
    default:
      return std::make_unique<TRowCoder>(Stream, Aborting, /*PackBits=*/false);
  }
}
