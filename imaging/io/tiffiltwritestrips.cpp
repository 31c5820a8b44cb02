// The pixels of a TIFF page: rows built from the working picture by its format (chosen once,
// outside the row loop), coded strip by strip; and the whole picture as one JPEG stream.
#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieconvertcolorrow.h"
#include "imaging/core/ieicc.h"
#include "imaging/core/iequantizer.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/tiffiltwrite.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Streams.h"

namespace {

constexpr Word TagRowsPerStrip = 278;
constexpr Word TagStripOffsets = 273;
constexpr Word TagStripByteCounts = 279;
constexpr Word TagJPEGProc = 512;
constexpr Word TagJPEGInterchangeFormat = 513;
constexpr Word TagJPEGInterchangeFormatLength = 514;
constexpr Word TagYCbCrSubSampling = 530;
// Strips hold about this many bytes of the picture.
constexpr Int64 StripBytes = 524288;

enum class TRowKind { Bits, OwnSamples, Indexes, CMYKFromRGB, LabFromRGB, RGB, CMYK, RGB48 };

// Builds the file's bytes of one picture row into a buffer of its own.
class TRowBuilder {
 public:
  explicit TRowBuilder(TTIFFWriteState& State) : S(State), FWidth(State.Picture->GetWidth()) {
    const Integer W = FWidth;
    switch (S.Picture->GetPixelFormat()) {
      case ie1g:
        Choose(TRowKind::Bits, (static_cast<Int64>(W) + 7) / 8);
        break;
      case ie8g:
      case ie8p:
        Choose(TRowKind::OwnSamples, W);
        break;
      case ie16g:
        Choose(TRowKind::OwnSamples, 2 * static_cast<Int64>(W));
        break;
      case ieCMYK:
        Choose(TRowKind::CMYK, 4 * static_cast<Int64>(W));
        break;
      case ieRGB48:
        Choose(TRowKind::RGB48, 6 * static_cast<Int64>(W));
        break;
      default:
        ChooseFromRGB();
    }
  }

  Integer GetLength() const { return static_cast<Integer>(FOut.size()); }

  const Byte* Build(Integer Y) {
    auto* In = static_cast<Byte*>(S.Picture->GetScanline(Y));
    Byte* Out = FOut.data();
    switch (FKind) {
      case TRowKind::Bits:
      case TRowKind::OwnSamples:
      case TRowKind::RGB48:
        std::memcpy(Out, In, FOut.size());
        break;
      case TRowKind::Indexes:
        Indexes(reinterpret_cast<const TIERGBTriple*>(In), Out);
        break;
      case TRowKind::CMYKFromRGB:
        IEConvertColorRow(In, iecBGR, Out, iecCMYK, FWidth, &S.IOParams);
        Invert();
        break;
      case TRowKind::LabFromRGB:
        IEConvertColorRow(In, iecBGR, Out, iecCIELab, FWidth, &S.IOParams);
        break;
      case TRowKind::RGB:
        RGB(In, Out, Y);
        break;
      case TRowKind::CMYK:
        // The picture keeps 255 minus each ink, the file the inks.
        std::memcpy(Out, In, FOut.size());
        Invert();
        break;
    }
    return Out;
  }

 private:
  void Choose(TRowKind Kind, Int64 Bytes) {
    FKind = Kind;
    FOut.assign(static_cast<std::size_t>(Bytes), 0);
  }

  void ChooseFromRGB() {
    const Int64 W = FWidth;
    switch (S.Photometric) {
      case TiffCMYK:
        Choose(TRowKind::CMYKFromRGB, 4 * W);
        break;
      case TiffCIELab:
        Choose(TRowKind::LabFromRGB, 3 * W);
        break;
      case TiffBlackIsZero:
      case TiffPalette:
        if (S.BitsPerSample >= 8)
          Choose(TRowKind::Indexes, W * (S.BitsPerSample == 16 ? 2 : 1));
        else
          Choose(TRowKind::Indexes, (W * S.BitsPerSample + 7) / 8);
        break;
      default:
        Choose(TRowKind::RGB, (S.AddAlpha ? 4 : 3) * W);
    }
  }

  void Invert() {
    for (Byte& B : FOut) B = static_cast<Byte>(~B);
  }

  void Indexes(const TIERGBTriple* In, Byte* Out) {
    const Integer Last = static_cast<Integer>(S.Palette.size()) - 1;
    const Integer Bits = S.BitsPerSample;
    // Fewer bits: packed most significant first, an index may straddle two bytes.
    Cardinal Pending = 0;
    Integer PendingBits = 0;
    for (Integer X = 0; X < FWidth; ++X) {
      const Integer Index = std::clamp(S.Quantizer->RGBIndex(In[X]), 0, Last);
      if (Bits == 8) {
        Out[X] = static_cast<Byte>(Index);
      } else if (Bits == 16) {
        const auto Level = static_cast<Word>(Index * 257);
        Out[2 * X] = static_cast<Byte>(Level);
        Out[2 * X + 1] = static_cast<Byte>(Level >> 8);
      } else {
        Pending = Pending << Bits | static_cast<Cardinal>(Index);
        PendingBits += Bits;
        if (PendingBits >= 8) {
          PendingBits -= 8;
          *Out++ = static_cast<Byte>(Pending >> PendingBits);
        }
      }
    }
    if (PendingBits > 0) *Out = static_cast<Byte>(Pending << (8 - PendingBits));
  }

  void RGB(const Byte* In, Byte* Out, Integer Y) {
    const Byte* Alpha = S.AddAlpha ? static_cast<const Byte*>(S.Alpha->GetScanline(Y)) : nullptr;
    const Integer Step = Alpha ? 4 : 3;
    for (Integer X = 0; X < FWidth; ++X, In += 3, Out += Step) {
      Out[0] = In[2];
      Out[1] = In[1];
      Out[2] = In[0];
      if (Alpha) Out[3] = Alpha[X];
    }
    if (!S.Predictor) return;
    // Horizontal differencing, from the right so that each pixel still sees its left neighbour.
    Byte* Row = FOut.data();
    for (Integer I = 3 * FWidth - 1; I >= 3; --I) Row[I] = static_cast<Byte>(Row[I] - Row[I - 3]);
  }

  TTIFFWriteState& S;
  Integer FWidth;
  TRowKind FKind = TRowKind::RGB;
  std::vector<Byte> FOut;
};

// Offsets and counts are 32-bit in the file.
Integer FilePosition(TStream* Stream, TIEIOProgress& Progress) {
  const Int64 Position = Stream->GetPosition();
  if (Position > 0xFFFFFFFFLL) IESetAborting(Progress);
  return static_cast<Integer>(static_cast<Cardinal>(Position));
}

// Temporary JPEG parameters: the page's quality and colour choice.
void WriteJpeg(TStream* Stream, TTIFFWriteState& S, TIEIOProgress& Progress) {
  TIOParamsVals Jpeg;
  Jpeg.JpegQuality = S.JpegQuality;
  Jpeg.JpegColorSpace = S.JpegColorSpace;
  try {
    JpegWriteStream(Stream, S.Picture, Jpeg, Progress);
  } catch (const Exception&) {
    IESetAborting(Progress);
  }
}

void AddStripEntries(TTIFFEntryWriter& Entries, Integer RowsPerStrip, TTIFFWriteState& S) {
  Entries.AddLong(TagRowsPerStrip, RowsPerStrip);
  Entries.AddLongs(TagStripOffsets, S.StripOffsets);
  Entries.AddLongs(TagStripByteCounts, S.StripByteCounts);
}

// The picture's rows in strips of RowsPerStrip through the page's coder.
void WriteCodedStrips(TStream* Stream, TIEIOProgress& Progress, TTIFFWriteState& S, Integer RowsPerStrip) {
  const Integer Height = S.Picture->GetHeight();
  TRowBuilder Rows(S);
  std::unique_ptr<TTIFFStripCoder> Coder;
  IEStartProgress(Progress, Height);
  try {
    for (Integer Y = 0; Y < Height && !IEIsAborting(Progress); ++Y) {
      if (Y % RowsPerStrip == 0) {
        S.StripOffsets.push_back(FilePosition(Stream, Progress));
        Coder = TiffCreateStripCoder(Stream, Progress, S, S.Picture->GetWidth());
      }
      const Byte* Row = Rows.Build(Y);
      Coder->WriteRow(Row, Rows.GetLength());
      if ((Y + 1) % RowsPerStrip == 0 || Y == Height - 1) {
        Coder->Close();
        Coder.reset();
        S.StripByteCounts.push_back(FilePosition(Stream, Progress) - S.StripOffsets.back());
      }
      IEReportProgress(Progress, Y + 1);
    }
  } catch (const Exception&) {
    IESetAborting(Progress);
  }
}

}  // namespace

void TiffWriteStrips(TTIFFEntryWriter& Entries, TTIFFWriteState& S) {
  TStream* Stream = Entries.GetStream();
  TIEIOProgress& Progress = Entries.GetProgress();
  const Integer Height = S.Picture->GetHeight();
  Integer RowsPerStrip = Height;
  if (S.Compression == TiffJpeg) {
    S.StripOffsets = {FilePosition(Stream, Progress)};
    WriteJpeg(Stream, S, Progress);
    S.StripByteCounts = {FilePosition(Stream, Progress) - S.StripOffsets[0]};
  } else {
    if (S.Compression != TiffDeflate) {
      const Int64 Strips =
          std::max<Int64>(Height * static_cast<Int64>(S.Picture->GetRowLen()) / StripBytes, 1);
      RowsPerStrip = std::max<Integer>(static_cast<Integer>(Height / Strips), 1);
    }
    WriteCodedStrips(Stream, Progress, S, RowsPerStrip);
  }
  AddStripEntries(Entries, RowsPerStrip, S);
}

void TiffWriteOldJpeg(TTIFFEntryWriter& Entries, TTIFFWriteState& S) {
  TStream* Stream = Entries.GetStream();
  TIEIOProgress& Progress = Entries.GetProgress();
  TMemoryStream Jpeg;
  WriteJpeg(&Jpeg, S, Progress);
  if (IEIsAborting(Progress)) return;
  const auto* Data = static_cast<const Byte*>(Jpeg.GetMemory());
  const auto Size = static_cast<Integer>(Jpeg.GetSize());
  const Integer Position = FilePosition(Stream, Progress);
  IESafeStreamWrite(Stream, *Progress.Aborting, Data, Size);
  // The strip is the scan: from the first start-of-scan marker on.
  Integer Scan = 0;
  for (Integer I = 0; I + 1 < Size; ++I)
    if (Data[I] == 0xFF && Data[I + 1] == 0xDA) {
      Scan = I;
      break;
    }
  Entries.AddLong(TagJPEGInterchangeFormatLength, Size);
  Entries.AddLong(TagJPEGInterchangeFormat, Position);
  S.StripOffsets = {Position + Scan};
  S.StripByteCounts = {Size - Scan};
  AddStripEntries(Entries, S.Picture->GetHeight(), S);
  Entries.AddShort(TagJPEGProc, 1);
  Entries.AddShorts(TagYCbCrSubSampling, {2, 2});
}
