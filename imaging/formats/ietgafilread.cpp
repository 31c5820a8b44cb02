// Reading TGA pictures: header, image ID, colour map, raw or packed rows, and the extension
// area that the footer points at.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/formats/ietgafil.h"
#include "imaging/io/iebufferedsource.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/iereadlimits.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/DateTime.h"
#include "platform/system/Streams.h"

namespace {

constexpr Integer TgaHeaderSize = 18;
constexpr Integer TgaFooterSize = 26;
constexpr Integer TgaExtensionSize = 495;
constexpr char TgaSignature[] = "TRUEVISION-XFILE.";

Integer LE16(const Byte* P) {
  return P[0] | (P[1] << 8);
}

struct TTgaHeader {
  Integer IdLength = 0;
  Integer ColorMapType = 0;
  Integer ImageType = 0;
  Integer FirstIndex = 0;
  Integer MapLength = 0;
  Integer MapEntryBits = 0;
  Integer XOrigin = 0;
  Integer YOrigin = 0;
  Integer Width = 0;
  Integer Height = 0;
  Integer Depth = 0;
  Integer Descriptor = 0;
};

TTgaHeader ParseHeader(const Byte* H) {
  TTgaHeader T;
  T.IdLength = H[0];
  T.ColorMapType = H[1];
  T.ImageType = H[2];
  T.FirstIndex = LE16(H + 3);
  T.MapLength = LE16(H + 5);
  T.MapEntryBits = H[7];
  T.XOrigin = LE16(H + 8);
  T.YOrigin = LE16(H + 10);
  T.Width = LE16(H + 12);
  T.Height = LE16(H + 14);
  T.Depth = H[16];
  T.Descriptor = H[17];
  return T;
}

bool KnownTypeAndDepth(const TTgaHeader& T) {
  const bool Type = (T.ImageType >= 1 && T.ImageType <= 3) || (T.ImageType >= 9 && T.ImageType <= 11);
  const bool Depth =
      T.Depth == 1 || T.Depth == 4 || T.Depth == 8 || T.Depth == 16 || T.Depth == 24 || T.Depth == 32;
  return Type && Depth;
}

bool IsPacked(const TTgaHeader& T) {
  return T.ImageType >= 9;
}

using TTgaSource = TIEBufferedSource;

std::string ZeroTerminated(const Byte* P, Integer Max) {
  const Byte* End = std::find(P, P + Max, Byte{0});
  return {reinterpret_cast<const char*>(P), reinterpret_cast<const char*>(End)};
}

TIERGBTriple From16(Integer V) {
  return {static_cast<Byte>((V & 31) * 8), static_cast<Byte>(((V >> 5) & 31) * 8),
          static_cast<Byte>(((V >> 10) & 31) * 8)};
}

void ReadExtension(TStream* Stream, Int64 Start, TIOParamsVals& P) {
  P.TgaAuthor.clear();
  P.TgaImageName.clear();
  P.TgaDate = Date();
  P.TgaBackground = {};
  P.TgaAspectRatio = 1.0;
  P.TgaGamma = 2.2;
  const Int64 Size = Stream->GetSize();
  if (Size - Start < TgaFooterSize) return;
  Byte F[TgaFooterSize] = {};
  Stream->SetPosition(Size - TgaFooterSize);
  if (Stream->Read(F, TgaFooterSize) != TgaFooterSize) return;
  if (std::memcmp(F + 8, TgaSignature, 17) != 0) return;
  const Int64 Offset =
      static_cast<Cardinal>(F[0] | (F[1] << 8) | (F[2] << 16) | (static_cast<Cardinal>(F[3]) << 24));
  if (Offset + TgaExtensionSize > Size - Start) return;
  Byte E[TgaExtensionSize] = {};
  Stream->SetPosition(Start + Offset);
  if (Stream->Read(E, TgaExtensionSize) != TgaExtensionSize) return;
  P.TgaAuthor = ZeroTerminated(E + 2, 41);
  const Integer Month = LE16(E + 367), Day = LE16(E + 369), Year = LE16(E + 371);
  const Integer Hour = LE16(E + 373), Minute = LE16(E + 375), Second = LE16(E + 377);
  TDateTime D = 0, T = 0;
  if (Month >= 1 && Month <= 12 && Day >= 1 && Day <= 31 && Year >= 1 && Year <= 2499 && Hour < 24 &&
      Minute < 60 && Second < 60 && TryEncodeDate(Year, Month, Day, D) &&
      TryEncodeTime(Hour, Minute, Second, 0, T))
    P.TgaDate = D + T;
  P.TgaImageName = ZeroTerminated(E + 379, 41);
  P.TgaBackground = {E[473], E[472], E[471]};
  if (LE16(E + 474) != 0 && LE16(E + 476) != 0)
    P.TgaAspectRatio = static_cast<Double>(LE16(E + 474)) / LE16(E + 476);
  if (LE16(E + 478) != 0 && LE16(E + 480) != 0)
    P.TgaGamma = static_cast<Double>(LE16(E + 478)) / LE16(E + 480);
}

struct TTgaPalette {
  std::array<TIERGBTriple, 256> Colors{};
  std::array<Byte, 256> Alpha{};
  bool HasAlpha = false;
};

void ReadPalette(TTgaSource& Source, const TTgaHeader& T, TTgaPalette& Pal, TIOParamsVals& P) {
  for (Integer I = 0; I < 256; ++I)
    Pal.Colors[I] = {static_cast<Byte>(60 + 64 * (I & 3)), static_cast<Byte>(28 + 32 * ((I >> 2) & 7)),
                     static_cast<Byte>(28 + 32 * (I >> 5))};
  Pal.Alpha.fill(255);
  if (T.ColorMapType == 1) {
    const Integer EntryBytes = (T.MapEntryBits + 7) / 8;
    for (Integer I = 0; I < T.MapLength && !Source.Ended(); ++I) {
      const Integer Index = T.FirstIndex + I;
      Byte E[4] = {};
      if (T.MapEntryBits == 15 || T.MapEntryBits == 16 || T.MapEntryBits == 24 || T.MapEntryBits == 32)
        Source.Read(E, EntryBytes);
      else
        Source.Skip(EntryBytes);  // an entry size we cannot read keeps the cube's colour
      if (Index > 255) continue;
      if (EntryBytes == 2)
        Pal.Colors[Index] = From16(LE16(E));
      else if (T.MapEntryBits == 24 || T.MapEntryBits == 32)
        Pal.Colors[Index] = {E[0], E[1], E[2]};
      if (T.MapEntryBits == 32) {
        Pal.Alpha[Index] = E[3];
        Pal.HasAlpha = true;
      }
    }
    P.FreeColorMap();
    P.ColorMap.assign(Pal.Colors.begin(), Pal.Colors.begin() + std::min(T.MapLength, 256));
    P.TgaGrayLevel = false;
  } else if (T.Depth == 8) {
    for (Integer I = 0; I < 256; ++I) Pal.Colors[I] = {Byte(I), Byte(I), Byte(I)};
    P.TgaGrayLevel = true;
  } else if (T.Depth == 1) {
    Pal.Colors[0] = {0, 0, 0};
    Pal.Colors[1] = {255, 255, 255};
  }
}

void SetSampleLayout(TIOParamsVals& P, Integer Depth) {
  switch (Depth) {
    case 1:
      P.BitsPerSample = 1, P.SamplesPerPixel = 1;
      break;
    case 8:
      P.BitsPerSample = 8, P.SamplesPerPixel = 1;
      break;
    case 16:
      P.BitsPerSample = 5, P.SamplesPerPixel = 3;
      break;
    case 24:
      P.BitsPerSample = 8, P.SamplesPerPixel = 3;
      break;
    case 32:
      P.BitsPerSample = 8, P.SamplesPerPixel = 4;
      break;
    default:
      break;
  }
}

// Decodes rows of blue, green, red pixels (or the stored bytes of 1-bit rows) with their alpha;
// a packet that runs past a row's end carries over to the next row.
class TTgaRowDecoder {
 public:
  TTgaRowDecoder(TTgaSource& Source, const TTgaHeader& T, const TTgaPalette& Pal, Byte* AlphaRow)
      : FSource(Source), FHeader(T), FPal(Pal), FAlphaRow(AlphaRow) {}

  void Decode(Byte* Row) {
    if (FHeader.Depth == 1) {
      FSource.Read(Row, (FHeader.Width + 7) / 8);
      return;
    }
    if (!IsPacked(FHeader)) {
      for (Integer X = 0; X < FHeader.Width; ++X) ReadPixel(Row + 3 * X, X);
      return;
    }
    Integer X = 0;
    while (X < FHeader.Width) {
      bool Continued = FPending >= 0;
      Integer Head = Continued ? FPendingHead : FSource.Next();
      Integer Count = Continued ? FPending : (Head & 127) + 1;
      FPending = -1;
      if (X + Count > FHeader.Width) {
        FPending = X + Count - FHeader.Width;
        FPendingHead = Head;
        Count = FHeader.Width - X;
      }
      if (Head & 128) {
        if (!Continued) ReadPixel(FRun, -1);
        for (Integer I = 0; I < Count; ++I, ++X) {
          std::memcpy(Row + 3 * X, FRun, 3);
          if (FAlphaRow) FAlphaRow[X] = FRunAlpha;
        }
      } else {
        for (Integer I = 0; I < Count; ++I, ++X) ReadPixel(Row + 3 * X, X);
      }
      if (FSource.Ended()) return;
    }
  }

 private:
  // X < 0: the run's pixel, whose alpha is kept for the run.
  void ReadPixel(Byte* Out, Integer X) {
    Integer Alpha = -1;
    switch (FHeader.Depth) {
      case 8: {
        const Byte Index = FSource.Next();
        const TIERGBTriple& C = FPal.Colors[Index];
        Out[0] = C.rgbtBlue, Out[1] = C.rgbtGreen, Out[2] = C.rgbtRed;
        if (FPal.HasAlpha) Alpha = FPal.Alpha[Index];
        break;
      }
      case 16: {
        Byte B[2];
        FSource.Read(B, 2);
        const TIERGBTriple C = From16(LE16(B));
        Out[0] = C.rgbtBlue, Out[1] = C.rgbtGreen, Out[2] = C.rgbtRed;
        break;
      }
      case 24:
        FSource.Read(Out, 3);
        break;
      default:
        FSource.Read(Out, 3);
        Alpha = FSource.Next();
        break;
    }
    if (X < 0)
      FRunAlpha = static_cast<Byte>(Alpha < 0 ? 255 : Alpha);
    else if (FAlphaRow && Alpha >= 0)
      FAlphaRow[X] = static_cast<Byte>(Alpha);
  }

  TTgaSource& FSource;
  const TTgaHeader& FHeader;
  const TTgaPalette& FPal;
  Byte* FAlphaRow;
  Integer FPending = -1;
  Integer FPendingHead = 0;
  Byte FRun[3] = {};
  Byte FRunAlpha = 255;
};

void MirrorRow(Byte* Row, Byte* AlphaRow, Integer Width) {
  for (Integer L = 0, R = Width - 1; L < R; ++L, --R) {
    std::swap_ranges(Row + 3 * L, Row + 3 * L + 3, Row + 3 * R);
    if (AlphaRow) std::swap(AlphaRow[L], AlphaRow[R]);
  }
}

// The smallest number of bytes that could still hold the picture: packets give at most 128
// pixels for a header byte and one pixel value.
bool ClaimsMoreThanDataHolds(const TTgaHeader& T, Int64 BytesLeft) {
  const Int64 Pixels = static_cast<Int64>(T.Width) * T.Height;
  if (T.Depth == 1) return IEClaimExceedsData(T.Height, (T.Width + 7) / 8, BytesLeft, 1);
  const Int64 PixelBytes = T.Depth / 8;
  if (IsPacked(T)) return IEClaimExceedsData(Pixels, PixelBytes + 1, BytesLeft, 128);
  return IEClaimExceedsData(Pixels, PixelBytes, BytesLeft, 1);
}

}  // namespace

bool TgaIsFile(TStream* Stream) {
  const Int64 Position = Stream->GetPosition();
  Byte H[TgaHeaderSize] = {};
  const Integer Got = Stream->Read(H, TgaHeaderSize);
  Stream->SetPosition(Position);
  if (Got != TgaHeaderSize) return false;
  const TTgaHeader T = ParseHeader(H);
  return KnownTypeAndDepth(T) && T.ColorMapType < 2 && T.Width != 0 && T.Height != 0;
}

void TgaReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                   bool Preview, std::unique_ptr<TIEMask>& AlphaMask, bool IgnoreAlpha) {
  const Int64 Start = Stream->GetPosition();
  const Int64 DataBytes = IEStreamBytesLeft(Stream);
  ReadExtension(Stream, Start, IOParams);
  Stream->SetPosition(Start);
  TTgaSource Source(Stream);
  Byte H[TgaHeaderSize];
  Source.Read(H, TgaHeaderSize);
  const TTgaHeader T = ParseHeader(H);
  IOParams.TgaXPos = T.XOrigin;
  IOParams.TgaYPos = T.YOrigin;
  if (Source.Ended() || !KnownTypeAndDepth(T)) {
    IESetAborting(Progress);
    return;
  }
  std::string Id(static_cast<size_t>(T.IdLength), '\0');
  Source.Read(reinterpret_cast<Byte*>(Id.data()), T.IdLength);
  IOParams.TgaDescriptor = ZeroTerminated(reinterpret_cast<const Byte*>(Id.data()), T.IdLength);
  TTgaPalette Pal;
  ReadPalette(Source, T, Pal, IOParams);
  IOParams.TgaCompressed = IsPacked(T);
  IOParams.Width = IOParams.FileWidth = T.Width;
  IOParams.Height = IOParams.FileHeight = T.Height;
  IOParams.SetDpiX(DefaultDpiX);
  IOParams.SetDpiY(DefaultDpiY);
  IOParams.SetImageCount(1);
  SetSampleLayout(IOParams, T.Depth);
  if (Preview) return;

  // Rows of 4-bit pixels and packed 1-bit rows have no defined layout; the data left must be
  // able to hold the claimed picture before anything is allocated.
  if (T.Depth == 4 || (T.Depth == 1 && IsPacked(T)) || T.Width == 0 || T.Height == 0 ||
      ClaimsMoreThanDataHolds(T, DataBytes) || Source.Ended()) {
    IESetAborting(Progress);
    return;
  }
  if (!Bitmap->Allocate(T.Width, T.Height, T.Depth == 1 ? ie1g : ie24RGB)) {
    IESetAborting(Progress);
    return;
  }
  std::vector<Byte> AlphaRow;
  TIEMask* Mask = nullptr;
  if (!IgnoreAlpha && (T.Depth == 32 || (T.ColorMapType == 1 && T.MapEntryBits == 32))) {
    if (!AlphaMask) AlphaMask = std::make_unique<TIEMask>();
    if (AlphaMask->AllocateBits(T.Width, T.Height, 8)) {
      AlphaMask->Fill(255);
      AlphaMask->SetFull(false);
      AlphaRow.assign(static_cast<size_t>(T.Width), 255);
      Mask = AlphaMask.get();
    }
  }
  const Integer RowBytes = T.Depth == 1 ? (T.Width + 7) / 8 : T.Width * 3;
  std::vector<Byte> Row(static_cast<size_t>(RowBytes));
  Byte* Alpha = AlphaRow.empty() ? nullptr : AlphaRow.data();
  TTgaRowDecoder Decoder(Source, T, Pal, Alpha);
  const bool TopDown = (T.Descriptor & 0x20) != 0;
  const bool Mirrored = (T.Descriptor & 0x10) != 0 && T.Depth != 1;
  IEStartProgress(Progress, T.Height);
  for (Integer I = 0; I < T.Height; ++I) {
    const Integer Y = TopDown ? I : T.Height - 1 - I;
    Decoder.Decode(Row.data());
    if (Mirrored) MirrorRow(Row.data(), Alpha, T.Width);
    std::memcpy(Bitmap->GetScanline(Y), Row.data(), static_cast<size_t>(RowBytes));
    if (Mask) std::memcpy(Mask->GetScanline(Y), Alpha, static_cast<size_t>(T.Width));
    IEReportProgress(Progress, I + 1);
    // A picture whose data ends early keeps its remaining rows as allocated.
    if (IEIsAborting(Progress) || Source.Ended()) break;
  }
  if (Mask) {
    Mask->SyncRect();
    Mask->SyncFull();
    if (Mask->IsEmpty()) AlphaMask.reset();
  }
}
