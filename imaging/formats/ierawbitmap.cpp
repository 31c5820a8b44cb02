#include "imaging/formats/ierawbitmap.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/core/iestreams.h"
#include "imaging/core/ieutilstext.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Streams.h"

namespace {

constexpr Integer MaxTokenLength = 34;
constexpr Integer BufferSize = 8192;

// By TIEPixelFormat, ieNull to ie32RGB.
constexpr TRawSampleType SampleTypes[IEPixelFormatCount] = {
    rstByte, rstByte, rstByte, rstByte, rstWord, rstByte, rstFloat, rstByte, rstWord, rstByte, rstByte};

Integer SampleSize(TRawSampleType SampleType) {
  return SampleType == rstByte ? 1 : SampleType == rstWord ? 2 : 4;
}

bool IsDecimalDigit(Byte B) {
  return B >= '0' && B <= '9';
}
bool IsHexDigit(Byte B) {
  return IsDecimalDigit(B) || (B >= 'A' && B <= 'F');
}

// Skips bytes up to the first that passes IsPart, then collects up to MaxTokenLength such
// bytes; the byte that ends the token is consumed with it.
template <typename TIsPart>
std::string ReadToken(TStream* Stream, TIsPart IsPart) {
  std::string Token;
  Byte B = 0;
  while (Stream->Read(&B, 1) == 1)
    if (IsPart(B)) {
      Token.push_back(static_cast<char>(B));
      break;
    }
  if (Token.empty()) return Token;
  while (static_cast<Integer>(Token.size()) < MaxTokenLength && Stream->Read(&B, 1) == 1 && IsPart(B))
    Token.push_back(static_cast<char>(B));
  return Token;
}

void StoreInteger(Byte* Destination, Integer Index, Cardinal Value, TRawSampleType SampleType) {
  if (SampleType == rstWord) {
    const Word W = static_cast<Word>(Value);
    std::memcpy(Destination + Index * 2, &W, 2);
  } else {
    Destination[Index] = static_cast<Byte>(Value);
  }
}

// Reports a percentage only when it differs from the last one reported.
class TRawProgress {
 public:
  explicit TRawProgress(TIEIOProgress& Progress) : FProgress(Progress) {}
  void Report(Integer Percent) {
    if (Percent == FLast) return;
    FLast = Percent;
    if (FProgress.OnProgress) FProgress.OnProgress(FProgress.Sender, Percent);
  }

 private:
  TIEIOProgress& FProgress;
  Integer FLast = -1;
};

void Skip(TStream* Stream, Int64 Count) {
  if (Count > 0) Stream->Seek(Count, soCurrent);
}

struct TRawLayout {
  Byte DataFormat;
  Integer RowAlign;
  Integer Width;
  Integer Height;
  Integer Channels;
  TRawSampleType SampleType;
};

// One 1-bit row from text: each sample takes a byte of its own in the file, so the samples
// are read whole and a non-zero sample sets its pixel.
void ReadTextBitRow(TStream* Stream, const TRawLayout& L, Byte* Row) {
  std::vector<Byte> Samples(static_cast<size_t>(L.Width));
  const Integer Got = RawReadSamples(Stream, L.DataFormat, Samples.data(), L.Width, L.Width, rstByte, 1);
  for (Integer X = 0; X < Got; ++X) {
    const Byte Mask = static_cast<Byte>(0x80 >> (X & 7));
    Row[X >> 3] = Samples[X] ? (Row[X >> 3] | Mask) : (Row[X >> 3] & ~Mask);
  }
}

void ReadInterleaved(TStream* Stream, TIEBitmap* Bitmap, const TRawLayout& L, TIEIOProgress& Progress) {
  const Int64 FileRowLen = IEBitmapRowLen(L.Width, Bitmap->GetBitCount(), L.RowAlign);
  const Int64 PictureRowLen = Bitmap->GetRowLen();
  const Integer ReadLen = static_cast<Integer>(std::min(PictureRowLen, FileRowLen));
  const Double Factor = 100.0 / L.Height;
  TRawProgress Reporter(Progress);
  for (Integer Row = 0; Row < L.Height; ++Row) {
    if (IEIsAborting(Progress)) return;
    Byte* Destination = static_cast<Byte*>(Bitmap->GetScanline(Row));
    if (L.DataFormat == 0) {
      RawReadSamples(Stream, 0, Destination, L.Width, ReadLen, L.SampleType, L.Channels);
      Skip(Stream, FileRowLen - PictureRowLen);
    } else if (Bitmap->GetPixelFormat() == ie1g) {
      ReadTextBitRow(Stream, L, Destination);
    } else {
      RawReadSamples(Stream, L.DataFormat, Destination, L.Width, 0, L.SampleType, L.Channels);
    }
    Reporter.Report(static_cast<Integer>(Factor * Row));
  }
}

// One plane per channel; each plane row is spread into the picture rows with a step of the
// channel count.
void ReadPlanar(TStream* Stream, TIEBitmap* Bitmap, const TRawLayout& L, TIEIOProgress& Progress) {
  const Integer Size = SampleSize(L.SampleType);
  const Int64 PlaneRowLen = IEBitmapRowLen(L.Width, Size * 8, L.RowAlign);
  const Integer ReadLen = static_cast<Integer>(std::min<Int64>(PlaneRowLen, Int64{L.Width} * Size));
  std::vector<Byte> Plane(static_cast<size_t>(L.Width) * Size);
  const Integer PixelStep = L.Channels * Size;
  TRawProgress Reporter(Progress);
  for (Integer Channel = 0; Channel < L.Channels; ++Channel) {
    Reporter.Report(Channel * 100 / L.Channels);
    for (Integer Row = 0; Row < L.Height; ++Row) {
      if (IEIsAborting(Progress)) return;
      const Integer Got =
          RawReadSamples(Stream, L.DataFormat, Plane.data(), L.Width, ReadLen, L.SampleType, 1);
      if (L.DataFormat == 0) Skip(Stream, PlaneRowLen - ReadLen);
      Byte* Destination = static_cast<Byte*>(Bitmap->GetScanline(Row)) + Channel * Size;
      for (Integer X = 0; X < Got / Size; ++X)
        std::memcpy(Destination + X * PixelStep, &Plane[X * Size], Size);
    }
  }
  Reporter.Report(100);
}

void SwapRows(TIEBitmap* Bitmap, const TRawLayout& L) {
  for (Integer Row = 0; Row < L.Height; ++Row) {
    void* Scanline = Bitmap->GetScanline(Row);
    if (Bitmap->GetPixelFormat() == ieRGB48)
      IESwapRedBlue48(static_cast<Word*>(Scanline), L.Width);
    else
      IESwapRedBlue(static_cast<Byte*>(Scanline), L.Width);
  }
}

}  // namespace

std::string RawReadDecimalToken(TStream* Stream) {
  return ReadToken(Stream, IsDecimalDigit);
}

std::string RawReadHexToken(TStream* Stream) {
  return ReadToken(Stream, IsHexDigit);
}

Cardinal RawHexToInt(const std::string& Token) {
  Cardinal Value = 0;
  for (const char C : Token) {
    const Byte B = static_cast<Byte>(C);
    Value = (Value << 4) | static_cast<Cardinal>(IsDecimalDigit(B) ? B - '0' : B - 'A' + 10);
  }
  return Value;
}

void RawStoreDecimalSample(Byte* Destination, Integer Index, const std::string& Token,
                           TRawSampleType SampleType) {
  if (SampleType == rstFloat) {
    const float Value = static_cast<float>(IEStrToFloatDef(Token, 0));
    std::memcpy(Destination + Index * 4, &Value, 4);
    return;
  }
  StoreInteger(Destination, Index, static_cast<Cardinal>(IEStrToIntDef(Token, 0)), SampleType);
}

void RawStoreHexSample(Byte* Destination, Integer Index, const std::string& Token,
                       TRawSampleType SampleType) {
  if (SampleType == rstFloat) throw Exception("Format unsupported");
  StoreInteger(Destination, Index, RawHexToInt(Token), SampleType);
}

Integer RawReadSamples(TStream* Stream, Byte DataFormat, Byte* Destination, Integer PixelCount,
                       Integer ByteCount, TRawSampleType SampleType, Integer ChannelCount) {
  if (DataFormat == 0) return std::max(Stream->Read(Destination, ByteCount), 0);
  const bool Hex = DataFormat == 2;
  if (Hex && SampleType == rstFloat) throw Exception("Format unsupported");
  const Integer Count = PixelCount * ChannelCount;
  for (Integer I = 0; I < Count; ++I) {
    const std::string Token = Hex ? RawReadHexToken(Stream) : RawReadDecimalToken(Stream);
    if (Token.empty()) return I * SampleSize(SampleType);
    if (Hex)
      RawStoreHexSample(Destination, I, Token, SampleType);
    else
      RawStoreDecimalSample(Destination, I, Token, SampleType);
  }
  return Count * SampleSize(SampleType);
}

void HeaderlessRawReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams,
                             TIEIOProgress& Progress) {
  const TIEPixelFormat Format = Bitmap->GetPixelFormat();
  if (Format == ieNull || Format == ieCIELab || Format == ie32RGB) return;
  const TRawLayout L{IOParams.RawDataFormat, IOParams.RawRowAlign,      Bitmap->GetWidth(),
                     Bitmap->GetHeight(),    Bitmap->GetChannelCount(), SampleTypes[Format]};
  if (L.Width <= 0 || L.Height <= 0) return;
  TIEBufferedReadStream Buffered(Stream, BufferSize, false);
  Skip(&Buffered, IOParams.RawHeaderSize);
  const bool Colour = Format == ie24RGB || Format == ieCMYK || Format == ieRGB48;
  if (Colour && IOParams.RawPlanar == 1)
    ReadPlanar(&Buffered, Bitmap, L, Progress);
  else
    ReadInterleaved(&Buffered, Bitmap, L, Progress);
  if ((Format == ie24RGB || Format == ieRGB48) && IOParams.RawChannelOrder == 0) SwapRows(Bitmap, L);
}
