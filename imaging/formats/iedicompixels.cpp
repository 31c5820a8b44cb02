// DICOM pixel data: the wanted frame found in native or encapsulated data, then decoded by
// transfer syntax (native layouts here; RLE, lossless JPEG, JPEG and JPEG 2000 by their readers).
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/core/ieutilstext.h"
#include "imaging/formats/iedicom.h"
#include "imaging/formats/iedicomcontext.h"
#include "imaging/formats/iejpeg2000.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"

namespace {

constexpr char JpegBaseline[] = "1.2.840.10008.1.2.4.50";
constexpr char JpegExtended[] = "1.2.840.10008.1.2.4.51";
constexpr char JpegLossless[] = "1.2.840.10008.1.2.4.57";
constexpr char JpegLosslessSV1[] = "1.2.840.10008.1.2.4.70";
constexpr char Jpeg2000Lossless[] = "1.2.840.10008.1.2.4.90";
constexpr char Jpeg2000[] = "1.2.840.10008.1.2.4.91";
constexpr char Mpeg2[] = "1.2.840.10008.1.2.4.100";
constexpr char Rle[] = "1.2.840.10008.1.2.5";

enum class TDicomCoding { Native, Jpeg, LosslessJpeg, Jpeg2000, Rle, Unsupported };

TDicomCoding CodingOf(const std::string& Syntax) {
  if (Syntax == JpegBaseline || Syntax == JpegExtended) return TDicomCoding::Jpeg;
  if (Syntax == JpegLossless || Syntax == JpegLosslessSV1) return TDicomCoding::LosslessJpeg;
  if (Syntax == Jpeg2000 || Syntax == Jpeg2000Lossless) return TDicomCoding::Jpeg2000;
  if (Syntax == Rle) return TDicomCoding::Rle;
  if (Syntax == Mpeg2) return TDicomCoding::Unsupported;
  return TDicomCoding::Native;
}

Cardinal ReadLE32(TStream* S, bool& Ok) {
  std::array<Byte, 4> B{};
  Ok = Ok && S->Read(B.data(), 4) == 4;
  return B[0] | (B[1] << 8) | (B[2] << 16) | (static_cast<Cardinal>(B[3]) << 24);
}

bool ReadItemTag(TStream* S) {
  bool Ok = true;
  return ReadLE32(S, Ok) == 0xE000FFFEu && Ok;
}

bool PeekItemTag(TStream* S) {
  const Int64 Position = S->GetPosition();
  const bool Item = ReadItemTag(S);
  S->SetPosition(Position);
  return Item;
}

// Moves to the frame's fragment of encapsulated data and gives its length.
bool LocateFragment(TDICOMContext& C, Integer Frame, Int64& Length) {
  TStream* S = C.Stream;
  bool Ok = true;
  S->Seek(4, soCurrent);
  const Int64 TableLength = ReadLE32(S, Ok);
  if (!Ok || TableLength > C.StreamSize - S->GetPosition()) return false;
  const Int64 TableEnd = S->GetPosition() + TableLength;
  Int64 SkipItems = Frame;
  if (TableLength > 0) {
    const Int64 Entries = std::min<Int64>(TableLength / 4, C.NumberOfFrames);
    if (Frame < Entries) {
      S->Seek(static_cast<Int64>(Frame) * 4, soCurrent);
      const Int64 Offset = ReadLE32(S, Ok);
      if (!Ok || Offset > C.StreamSize - TableEnd) return false;
      S->SetPosition(TableEnd + Offset);
      SkipItems = 0;
    } else {
      // A table shorter than the frame count: count the items instead.
      S->SetPosition(TableEnd);
    }
  }
  for (Int64 I = 0; I < SkipItems; ++I) {
    if (!ReadItemTag(S)) return false;
    const Int64 ItemLength = ReadLE32(S, Ok);
    if (!Ok || ItemLength > C.StreamSize - S->GetPosition()) return false;
    S->Seek(ItemLength, soCurrent);
  }
  if (!ReadItemTag(S)) return false;
  Length = ReadLE32(S, Ok);
  return Ok;
}

bool IsPacked12(const TDICOMContext& C) {
  return C.SamplesPerPixel == 1 && C.BitsStored == 12 && C.BitsAllocated == 12 && !DicomIsPaletteColor(C);
}

Int64 NativeFrameBytes(const TDICOMContext& C) {
  const Int64 Pixels = static_cast<Int64>(C.Columns) * C.Rows;
  // Two 12-bit samples share three bytes, across row ends.
  if (IsPacked12(C)) return (Pixels + 1) / 2 * 3;
  return Pixels * C.SamplesPerPixel * C.BytesPerSample;
}

std::vector<Byte> ReadBlock(TDICOMContext& C, Int64 Length) {
  std::vector<Byte> Data(static_cast<size_t>(Length));
  if (C.Stream->Read(Data.data(), static_cast<Integer>(Length)) != Length) Data.clear();
  return Data;
}

bool AllocateOrAbort(TDICOMContext& C, TIEPixelFormat Format) {
  if (C.Bitmap->Allocate(C.Columns, C.Rows, Format)) return true;
  IESetAborting(C.Progress);
  return false;
}

void ReadPacked12(TDICOMContext& C, const Byte* Data) {
  if (!AllocateOrAbort(C, ie16g)) return;
  Integer Index = 0;  // pixel index in the frame
  for (Integer Y = 0; Y < C.Rows; ++Y) {
    Word* Row = static_cast<Word*>(C.Bitmap->GetScanline(Y));
    for (Integer X = 0; X < C.Columns; ++X, ++Index) {
      const Byte* P = Data + Index / 2 * 3;
      Row[X] = Index % 2 == 0 ? static_cast<Word>((P[1] & 0x0F) * 256 + P[0])
                              : static_cast<Word>((P[1] >> 4) + P[2] * 16);
    }
    DicomRowProgress(C, Y);
  }
  DicomFinishGrey16(C);
}

void ReadNative16(TDICOMContext& C, const Byte* Data) {
  const bool Palette = DicomIsPaletteColor(C);
  if (!AllocateOrAbort(C, Palette ? ieRGB48 : ie16g)) return;
  const Integer Hi = C.LittleEndian ? 1 : 0;
  for (Integer Y = 0; Y < C.Rows; ++Y) {
    const Byte* Src = Data + static_cast<Int64>(Y) * C.Columns * 2;
    Word* Row = static_cast<Word*>(C.Bitmap->GetScanline(Y));
    const auto Sample = [&](Integer X) {
      return static_cast<Word>(Src[2 * X + Hi] << 8 | Src[2 * X + 1 - Hi]);
    };
    if (Palette) {
      for (Integer X = 0; X < C.Columns; ++X) {
        const Word V = Sample(X);
        Row[3 * X] = C.LutRed[V];
        Row[3 * X + 1] = C.LutGreen[V];
        Row[3 * X + 2] = C.LutBlue[V];
      }
    } else {
      for (Integer X = 0; X < C.Columns; ++X) Row[X] = Sample(X);
    }
    DicomRowProgress(C, Y);
  }
  if (!Palette) DicomFinishGrey16(C);
}

void ReadNative8(TDICOMContext& C, const Byte* Data) {
  const bool Palette = DicomIsPaletteColor(C);
  if (!AllocateOrAbort(C, Palette ? ie24RGB : ie8g)) return;
  const Integer Step = C.BytesPerSample;  // 2: the second byte of a 16-bit sample is skipped
  const Integer Shift = 8 - std::clamp(C.BitsStored, 0, 8);
  for (Integer Y = 0; Y < C.Rows; ++Y) {
    const Byte* Src = Data + static_cast<Int64>(Y) * C.Columns * Step;
    Byte* Row = static_cast<Byte*>(C.Bitmap->GetScanline(Y));
    if (Palette) {
      for (Integer X = 0; X < C.Columns; ++X) {
        const Byte V = static_cast<Byte>(Src[X * Step] << Shift);
        Row[3 * X] = static_cast<Byte>(C.LutBlue[V] / 257);
        Row[3 * X + 1] = static_cast<Byte>(C.LutGreen[V] / 257);
        Row[3 * X + 2] = static_cast<Byte>(C.LutRed[V] / 257);
      }
    } else {
      for (Integer X = 0; X < C.Columns; ++X) Row[X] = static_cast<Byte>(Src[X * Step] << Shift);
    }
    DicomRowProgress(C, Y);
  }
  if (!Palette) DicomInvertMonochrome1(C.Bitmap, C.Photometric, 1);
}

void ReadNativeRGB(TDICOMContext& C, const Byte* Data) {
  if (!AllocateOrAbort(C, ie24RGB)) return;
  const Integer Shift = 8 - std::clamp(C.BitsStored, 0, 8);
  const Int64 Plane = static_cast<Int64>(C.Columns) * C.Rows;
  // Planar: red, green and blue planes one after the other; else the three samples together.
  const bool Planar = C.PlanarConfiguration == 1;
  const Int64 PixelStep = Planar ? 1 : 3;
  const Int64 SampleStep = Planar ? Plane : 1;
  for (Integer Y = 0; Y < C.Rows; ++Y) {
    Byte* Row = static_cast<Byte*>(C.Bitmap->GetScanline(Y));
    const Byte* Red = Data + static_cast<Int64>(Y) * C.Columns * PixelStep;
    for (Integer X = 0; X < C.Columns; ++X, Red += PixelStep) {
      Row[3 * X] = static_cast<Byte>(Red[2 * SampleStep] << Shift);
      Row[3 * X + 1] = static_cast<Byte>(Red[SampleStep] << Shift);
      Row[3 * X + 2] = static_cast<Byte>(Red[0] << Shift);
    }
    DicomRowProgress(C, Y);
  }
}

bool HasPalette(const TDICOMContext& C) {
  return !C.LutRed.empty() && !C.LutGreen.empty() && !C.LutBlue.empty();
}

void ReadNative(TDICOMContext& C) {
  std::vector<Byte> Data = ReadBlock(C, NativeFrameBytes(C));
  if (Data.empty()) {
    IESetAborting(C.Progress);
    return;
  }
  // A palette picture without its three tables cannot be coloured.
  const bool PaletteOk = !DicomIsPaletteColor(C) || HasPalette(C);
  if (C.SamplesPerPixel == 1 && IsPacked12(C))
    ReadPacked12(C, Data.data());
  else if (C.SamplesPerPixel == 1 && C.BitsStored >= 9 && C.BitsStored <= 16 && C.BytesPerSample == 2 &&
           PaletteOk)
    ReadNative16(C, Data.data());
  else if (C.SamplesPerPixel == 1 && C.BitsStored <= 8 && C.BytesPerSample <= 2 && PaletteOk)
    ReadNative8(C, Data.data());
  else if (C.SamplesPerPixel == 3 && C.BitsStored <= 8 && C.BytesPerSample == 1)
    ReadNativeRGB(C, Data.data());
  else
    IESetAborting(C.Progress);  // a layout this reader does not know: no picture
}

// The fragment of Length bytes (0: up to the end of the stream) in memory.
std::vector<Byte> ReadFragment(TDICOMContext& C, Int64 Length) {
  if (Length == 0) Length = C.StreamSize - C.Stream->GetPosition();
  return Length > 0 ? ReadBlock(C, Length) : std::vector<Byte>();
}

void ReadJpeg(TDICOMContext& C, Int64 Length) {
  std::vector<Byte> Data = ReadFragment(C, Length);
  TIEMemStream Memory(Data.data(), static_cast<Int64>(Data.size()));
  TIOParamsVals Params;
  // Grey frames stay ie8g so that the window works on every sample.
  JpegReadStream(&Memory, nullptr, C.Bitmap, Params, C.Progress, false, false, false, false, false, false, -1,
                 C.SamplesPerPixel == 1);
  if (!IEIsAborting(C.Progress) && C.SamplesPerPixel == 1 && C.Bitmap->GetPixelFormat() == ie8g)
    DicomFinishGrey8(C);
}

void ReadJpeg2000(TDICOMContext& C, Int64 Length) {
  std::vector<Byte> Data = ReadFragment(C, Length);
  TIEMemStream Memory(Data.data(), static_cast<Int64>(Data.size()));
  TIOParamsVals Params;
  Jpeg2000ReadStream(&Memory, C.Bitmap, Params, false, C.Progress);
  if (IEIsAborting(C.Progress) || C.SamplesPerPixel != 1 || C.Bitmap->GetPixelFormat() != ie24RGB) return;
  // The filter gives grey as equal bytes of ie24RGB; the window works on one sample a pixel.
  C.Bitmap->ConvertToPixelFormat(ie8g);
  DicomFinishGrey8(C);
}

void ReadLosslessJpeg(TDICOMContext& C, Int64 Length) {
  std::vector<Byte> Data = ReadFragment(C, Length);
  TLosslessJpegImage Image;
  if (Data.empty() ||
      !LosslessJpegDecode(Data.data(), static_cast<Integer>(Data.size()), Image, C.Progress) ||
      Image.Components != C.SamplesPerPixel || (Image.Components == 3 && Image.Precision > 8)) {
    IESetAborting(C.Progress);
    return;
  }
  C.Columns = Image.Width;
  C.Rows = Image.Height;
  const bool Deep = Image.Precision > 8;
  if (!AllocateOrAbort(C, Image.Components == 3 ? ie24RGB : Deep ? ie16g : ie8g)) return;
  const Word* Src = Image.Samples.data();
  for (Integer Y = 0; Y < Image.Height; ++Y) {
    void* Row = C.Bitmap->GetScanline(Y);
    if (Image.Components == 3) {
      Byte* Out = static_cast<Byte*>(Row);
      for (Integer X = 0; X < Image.Width; ++X, Src += 3) {
        Out[3 * X] = static_cast<Byte>(Src[2]);
        Out[3 * X + 1] = static_cast<Byte>(Src[1]);
        Out[3 * X + 2] = static_cast<Byte>(Src[0]);
      }
    } else if (Deep) {
      std::copy(Src, Src + Image.Width, static_cast<Word*>(Row));
      Src += Image.Width;
    } else {
      Byte* Out = static_cast<Byte*>(Row);
      for (Integer X = 0; X < Image.Width; ++X) Out[X] = static_cast<Byte>(*Src++);
    }
  }
  if (Image.Components == 1) Deep ? DicomFinishGrey16(C) : DicomFinishGrey8(C);
}

}  // namespace

bool DicomIsPaletteColor(const TDICOMContext& C) {
  return IEUpperCase(IETrim(C.Photometric)) == "PALETTE COLOR";
}

TDicomWindow DicomWindowOf(const TDICOMContext& C) {
  TDicomWindow W;
  W.Center = C.WindowCenter;
  W.Width = C.WindowWidth;
  W.Intercept = C.RescaleIntercept;
  W.Slope = C.RescaleSlope;
  W.Signed = C.PixelRepresentation == 1;
  return W;
}

void DicomFinishGrey16(TDICOMContext& C) {
  DicomApplyWindow16(C.Bitmap, DicomWindowOf(C));
  DicomInvertMonochrome1(C.Bitmap, C.Photometric, 1);
}

void DicomFinishGrey8(TDICOMContext& C) {
  DicomApplyWindow8(C.Bitmap, DicomWindowOf(C), 1);
  DicomInvertMonochrome1(C.Bitmap, C.Photometric, 1);
}

void DicomRowProgress(TDICOMContext& C, Integer Row) {
  const Integer Percent = C.Rows > 0 ? static_cast<Integer>(static_cast<Int64>(Row) * 100 / C.Rows) : 0;
  if (Percent == C.Progress.Counter2) return;
  C.Progress.Counter2 = Percent;
  if (C.Progress.OnProgress) C.Progress.OnProgress(C.Progress.Sender, Percent);
}

void DicomReadPixels(TDICOMContext& C) {
  TStream* S = C.Stream;
  const Integer Frame = C.IOParams->ImageIndex;
  const TDicomCoding Coding = CodingOf(C.TransferSyntax);
  C.Progress.Counter2 = -1;
  Int64 Length = 0;
  const bool Encapsulated = PeekItemTag(S);
  if (Encapsulated) {
    if (!LocateFragment(C, Frame, Length)) {
      IESetAborting(C.Progress);
      return;
    }
  } else if (Coding == TDicomCoding::Native) {
    const Int64 FrameBytes = NativeFrameBytes(C);
    const Int64 Left = C.StreamSize - S->GetPosition();
    if (FrameBytes <= 0 || FrameBytes > Left || Frame > (Left - FrameBytes) / FrameBytes) {
      IESetAborting(C.Progress);
      return;
    }
    S->Seek(static_cast<Int64>(Frame) * FrameBytes, soCurrent);
    Length = FrameBytes;
  } else {
    // A compressed stream written straight into the element: its length, or up to the end.
    Length = C.PixelDataLength > 0 ? C.PixelDataLength : 0;
  }
  if (Length > C.StreamSize - S->GetPosition()) {
    IESetAborting(C.Progress);
    return;
  }
  switch (Coding) {
    case TDicomCoding::Jpeg:
      ReadJpeg(C, Length);
      break;
    case TDicomCoding::Jpeg2000:
      ReadJpeg2000(C, Length);
      break;
    case TDicomCoding::LosslessJpeg:
      ReadLosslessJpeg(C, Length);
      break;
    case TDicomCoding::Rle:
      DicomReadRLE(C, Length);
      break;
    case TDicomCoding::Native:
      // Encapsulated data of a syntax this reader does not decode is not native data.
      if (Encapsulated) {
        IESetAborting(C.Progress);
        break;
      }
      ReadNative(C);
      break;
    case TDicomCoding::Unsupported:
      IESetAborting(C.Progress);
      break;
  }
}
