// PNM reading: the tokenizer, the content test and the six raster forms.
#include <algorithm>
#include <array>
#include <cctype>
#include <limits>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/formats/iepnm.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/iereadlimits.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Streams.h"
#include "platform/system/StringList.h"

namespace {

constexpr Integer MaxIsFileTokens = 501;
constexpr Integer MaxSampleValue = 65535;
// A file may be cut short and still keep the rows it has, but a size claiming more than twice
// what the rest of the stream could hold is refused before allocation.
constexpr Int64 ShortFileTolerance = 2;

// Buffered single bytes over the stream; Release puts the stream at the first byte not taken.
class TByteSource {
 public:
  explicit TByteSource(TStream* Stream) : FStream(Stream) {}

  // The next byte, or -1 at the end of the stream.
  int Next() {
    if (FPos == FLen && !Fill()) return -1;
    return FBuffer[FPos++];
  }
  // Up to Count bytes; fewer when the stream ends.
  Integer Read(Byte* Dest, Integer Count) {
    Integer Done = 0;
    while (Done < Count) {
      if (FPos == FLen && !Fill()) break;
      const Integer Take = std::min(Count - Done, FLen - FPos);
      std::copy_n(FBuffer.data() + FPos, Take, Dest + Done);
      FPos += Take;
      Done += Take;
    }
    return Done;
  }
  void Release() {
    if (FPos < FLen) FStream->Seek(FPos - FLen, soCurrent);
    FPos = FLen = 0;
  }

 private:
  bool Fill() {
    Integer Got = 0;
    try {
      Got = FStream->Read(FBuffer.data(), static_cast<Integer>(FBuffer.size()));
    } catch (const EStreamError&) {
      Got = 0;
    }
    FPos = 0;
    FLen = std::max(Got, 0);
    return FLen > 0;
  }

  TStream* FStream;
  std::array<Byte, 16384> FBuffer{};
  Integer FPos = 0;
  Integer FLen = 0;
};

bool IsAlnum(int C) {
  return (C >= '0' && C <= '9') || (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z');
}
bool IsBlank(char C) {
  return C == ' ' || C == '\t' || C == '\r' || C == '\n' || C == '\v' || C == '\f';
}

std::string Trimmed(const std::string& Text) {
  size_t First = 0;
  size_t Last = Text.size();
  while (First < Last && IsBlank(Text[First])) ++First;
  while (Last > First && IsBlank(Text[Last - 1])) --Last;
  return Text.substr(First, Last - First);
}

void ReadToken(TByteSource& Source, std::string& Token) {
  Token.clear();
  int C = Source.Next();
  while (C >= 0 && C != '#' && !IsAlnum(C)) C = Source.Next();
  if (C < 0) return;
  if (C == '#') {
    std::string Text;
    for (C = Source.Next(); C >= 0 && C != '\r' && C != '\n'; C = Source.Next())
      Text.push_back(static_cast<char>(C));
    Token = "#" + Trimmed(Text);
    return;
  }
  for (; C >= 0 && IsAlnum(C); C = Source.Next()) Token.push_back(static_cast<char>(C));
}

bool IsComment(const std::string& Token) {
  return !Token.empty() && Token[0] == '#';
}

// A decimal token's value; -1 for anything else and for values beyond Integer.
Integer TokenNumber(const std::string& Token) {
  if (Token.empty() || Token.size() > 10) return -1;
  Int64 Value = 0;
  for (char C : Token) {
    if (C < '0' || C > '9') return -1;
    Value = Value * 10 + (C - '0');
  }
  return Value > std::numeric_limits<Integer>::max() ? -1 : static_cast<Integer>(Value);
}

// The magic's digit 1 to 6, or 0.
int MagicKind(const std::string& Token) {
  return Token.size() == 2 && Token[0] == 'P' && Token[1] >= '1' && Token[1] <= '6' ? Token[1] - '0' : 0;
}

bool HasMaxValue(int Kind) {
  return Kind != 1 && Kind != 4;
}

struct TPnmHeader {
  int Kind = 0;
  Integer Width = -1;
  Integer Height = -1;
  Integer MaxValue = 1;
};

// Magic, width, height and the maximum value, with the comments before and between them.
TPnmHeader ReadHeader(TByteSource& Source, TStringList& Comments) {
  TPnmHeader H;
  std::string Token;
  Integer Field = 0;
  // An empty token marks the end of the stream.
  for (;;) {
    ReadToken(Source, Token);
    if (Token.empty()) break;
    if (IsComment(Token)) {
      Comments.Add(std::string_view(Token).substr(1));
      continue;
    }
    if (Field == 0) {
      H.Kind = MagicKind(Token);
    } else if (Field == 1) {
      H.Width = TokenNumber(Token);
    } else if (Field == 2) {
      H.Height = TokenNumber(Token);
    } else {
      H.MaxValue = TokenNumber(Token);
    }
    ++Field;
    if (Field == 3 && !HasMaxValue(H.Kind)) break;
    if (Field == 4) break;
  }
  return H;
}

// trunc(Value / Max x Top); values above Max count as Max.
Integer Scaled(Integer Value, Integer Max, Integer Top) {
  if (Value <= 0) return 0;
  if (Value >= Max) return Top;
  return static_cast<Integer>(static_cast<Int64>(Value) * Top / Max);
}

// ASCII samples: a token that is no number (a comment) reads as 0; the end of data gives -1.
Integer NextSample(TByteSource& Source, std::string& Token) {
  ReadToken(Source, Token);
  if (Token.empty()) return -1;
  return std::max(TokenNumber(Token), 0);
}

Word BigEndian16(const Byte* P) {
  return static_cast<Word>((P[0] << 8) | P[1]);
}

struct TRaster {
  TIEBitmap* Bitmap;
  const TPnmHeader& H;
  TByteSource& Source;
  TIEIOProgress& Progress;

  bool EndRow(Integer Row) {
    IEReportProgress(Progress, Row + 1);
    return !IEIsAborting(Progress);
  }

  void ReadP1() {
    const Integer LastRow = H.Height - 1;
    for (Integer Y = 0; Y < H.Height; ++Y) {
      Byte* Row = static_cast<Byte*>(Bitmap->GetScanline(Y));
      std::fill_n(Row, (H.Width + 7) / 8, 0);
      for (Integer X = 0; X < H.Width;) {
        const int C = Source.Next();
        if (C < 0) return;
        if (C != '0' && C != '1') continue;
        if (C == '0') Row[X >> 3] |= static_cast<Byte>(0x80 >> (X & 7));
        ++X;
      }
      if (Y < LastRow && !EndRow(Y)) return;
    }
  }

  void ReadAsciiRgb(Integer Samples) {
    std::string Token;
    for (Integer Y = 0; Y < H.Height; ++Y) {
      auto* Row = static_cast<TIERGBTriple*>(Bitmap->GetScanline(Y));
      for (Integer X = 0; X < H.Width; ++X) {
        std::array<Byte, 3> Rgb{};
        for (Integer S = 0; S < Samples; ++S) {
          const Integer V = NextSample(Source, Token);
          if (V < 0) return;
          Rgb[S] = static_cast<Byte>(Scaled(V, H.MaxValue, 255));
        }
        if (Samples == 1) Rgb[1] = Rgb[2] = Rgb[0];
        Row[X] = {Rgb[2], Rgb[1], Rgb[0]};
      }
      if (!EndRow(Y)) return;
    }
  }

  void ReadP4() {
    const Integer RowBytes = (H.Width + 7) / 8;
    for (Integer Y = 0; Y < H.Height; ++Y) {
      if (Source.Read(static_cast<Byte*>(Bitmap->GetScanline(Y)), RowBytes) < RowBytes) break;
      if (!EndRow(Y)) break;
    }
    // The file's set bits are black, the picture's white.
    for (Integer Y = 0; Y < H.Height; ++Y) {
      Byte* Row = static_cast<Byte*>(Bitmap->GetScanline(Y));
      for (Integer I = 0; I < RowBytes; ++I) Row[I] = static_cast<Byte>(~Row[I]);
    }
  }

  void ReadP5Bytes() {
    std::vector<Byte> Line(static_cast<size_t>(H.Width));
    for (Integer Y = 0; Y < H.Height; ++Y) {
      const Integer Got = Source.Read(Line.data(), H.Width);
      auto* Row = static_cast<TIERGBTriple*>(Bitmap->GetScanline(Y));
      for (Integer X = 0; X < Got; ++X) {
        const Byte V = H.MaxValue == 255 ? Line[X] : static_cast<Byte>(Scaled(Line[X], H.MaxValue, 255));
        Row[X] = {V, V, V};
      }
      if (Got < H.Width || !EndRow(Y)) return;
    }
  }

  void ReadP5Words(bool Native) {
    std::vector<Byte> Line(static_cast<size_t>(H.Width) * 2);
    for (Integer Y = 0; Y < H.Height; ++Y) {
      const Integer Got = Source.Read(Line.data(), H.Width * 2) / 2;
      void* Row = Bitmap->GetScanline(Y);
      for (Integer X = 0; X < Got; ++X) {
        const Integer V = BigEndian16(&Line[2 * X]);
        if (Native) {
          static_cast<Word*>(Row)[X] = static_cast<Word>(Scaled(V, H.MaxValue, 65535));
        } else {
          const Byte G = static_cast<Byte>(Scaled(V, H.MaxValue, 255));
          static_cast<TIERGBTriple*>(Row)[X] = {G, G, G};
        }
      }
      if (Got < H.Width || !EndRow(Y)) return;
    }
  }

  void ReadP6Bytes() {
    const Integer RowBytes = H.Width * 3;
    for (Integer Y = 0; Y < H.Height; ++Y) {
      auto* Row = static_cast<Byte*>(Bitmap->GetScanline(Y));
      const Integer Got = Source.Read(Row, RowBytes);
      for (Integer I = 0; I + 2 < Got; I += 3) std::swap(Row[I], Row[I + 2]);
      if (Got < RowBytes || !EndRow(Y)) return;
    }
  }

  void ReadP6Words(bool Native) {
    std::vector<Byte> Line(static_cast<size_t>(H.Width) * 6);
    for (Integer Y = 0; Y < H.Height; ++Y) {
      const Integer Got = Source.Read(Line.data(), H.Width * 6) / 6;
      void* Row = Bitmap->GetScanline(Y);
      for (Integer X = 0; X < Got; ++X) {
        const Byte* P = &Line[6 * X];
        if (Native)
          static_cast<TIERGB48Pixel*>(Row)[X] = {BigEndian16(P), BigEndian16(P + 2), BigEndian16(P + 4)};
        else
          static_cast<TIERGBTriple*>(Row)[X] = {P[4], P[2], P[0]};
      }
      if (Got < H.Width || !EndRow(Y)) return;
    }
  }
};

// Bits per sample, samples per pixel, pixel format and the least bytes a pixel takes in the file
// (in eighths, for the 1-bit forms) of a header; BitsPerSample 0 for a raster this filter cannot read.
struct TPnmForm {
  Integer BitsPerSample = 0;
  Integer SamplesPerPixel = 0;
  TIEPixelFormat PixelFormat = ieNull;
  Int64 EighthsPerPixel = 0;
};

TPnmForm FormOf(const TPnmHeader& H, bool Native) {
  if (H.Kind == 1) return {1, 1, ie1g, 8};
  if (H.Kind == 4) return {1, 1, ie1g, 1};
  if (H.MaxValue <= 0 || H.MaxValue > MaxSampleValue) return {};
  const bool Wide = H.MaxValue > 255;
  switch (H.Kind) {
    case 2:
      return {8, 1, ie24RGB, 8};
    case 3:
      return {8, 3, ie24RGB, 24};
    case 5:
      return Wide ? TPnmForm{16, 1, Native ? ie16g : ie24RGB, 16} : TPnmForm{8, 1, ie24RGB, 8};
    case 6:
      return Wide ? TPnmForm{16, 3, Native ? ieRGB48 : ie24RGB, 48} : TPnmForm{8, 3, ie24RGB, 24};
    default:
      return {};
  }
}

void DecodeRaster(TRaster& R, const TPnmForm& Form, bool Native) {
  switch (R.H.Kind) {
    case 1:
      return R.ReadP1();
    case 2:
      return R.ReadAsciiRgb(1);
    case 3:
      return R.ReadAsciiRgb(3);
    case 4:
      return R.ReadP4();
    case 5:
      return Form.BitsPerSample == 16 ? R.ReadP5Words(Native) : R.ReadP5Bytes();
    default:
      return Form.BitsPerSample == 16 ? R.ReadP6Words(Native) : R.ReadP6Bytes();
  }
}

}  // namespace

void PnmReadToken(TStream* Stream, std::string& Token) {
  TByteSource Source(Stream);
  ReadToken(Source, Token);
  Source.Release();
}

bool PnmIsFile(TStream* Stream) {
  const Int64 Start = Stream->GetPosition();
  auto Restore = ScopeExit([&] { Stream->SetPosition(Start); });
  TByteSource Source(Stream);
  std::string Token;
  int Kind = 0;
  Integer Field = 0;
  Integer Width = -1;
  Integer Height = -1;
  for (Integer Count = 0; Count < MaxIsFileTokens; ++Count) {
    ReadToken(Source, Token);
    if (Token.empty()) break;
    if (IsComment(Token)) continue;
    if (Field == 0) {
      Kind = MagicKind(Token);
      if (Kind == 0) return false;
    } else if (Field == 1) {
      Width = TokenNumber(Token);
    } else if (Field == 2) {
      Height = TokenNumber(Token);
      if (!HasMaxValue(Kind)) break;
    } else {
      break;
    }
    ++Field;
  }
  return Width > 0 && Height > 0;
}

void PnmReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                   bool Preview) {
  IOParams.PxmComments->Clear();
  TByteSource Source(Stream);
  auto Release = ScopeExit([&] { Source.Release(); });
  const TPnmHeader H = ReadHeader(Source, *IOParams.PxmComments);
  if (H.Width <= 0 || H.Height <= 0) {
    IESetAborting(Progress);
    return;
  }
  IOParams.FreeColorMap();
  IOParams.Width = IOParams.FileWidth = H.Width;
  IOParams.Height = IOParams.FileHeight = H.Height;
  IOParams.SetDpiX(DefaultDpiX);
  IOParams.SetDpiY(DefaultDpiY);
  const bool Native = IOParams.NativePixelFormat;
  const TPnmForm Form = FormOf(H, Native);
  if (Form.BitsPerSample == 0) {
    IESetAborting(Progress);
    return;
  }
  IOParams.BitsPerSample = Form.BitsPerSample;
  IOParams.SamplesPerPixel = Form.SamplesPerPixel;
  if (Preview) return;

  Source.Release();
  if (IEClaimExceedsData(H.Height, static_cast<Int64>(H.Width) * Form.EighthsPerPixel,
                         IEStreamBytesLeft(Stream), 8 * ShortFileTolerance) ||
      !Bitmap->Allocate(H.Width, H.Height, Form.PixelFormat)) {
    IESetAborting(Progress);
    return;
  }
  IEStartProgress(Progress, H.Height);
  TRaster Raster{Bitmap, H, Source, Progress};
  DecodeRaster(Raster, Form, Native);
}
