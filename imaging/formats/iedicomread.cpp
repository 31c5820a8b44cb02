// DICOM element parsing: the file's elements in order into the tag list, the picture's
// description from groups 0002 and 0028, then the pixel data element handed to the pixel reader.
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ielists.h"
#include "imaging/core/iestreams.h"
#include "imaging/core/ieutilstext.h"
#include "imaging/formats/iedicom.h"
#include "imaging/formats/iedicomcontext.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Streams.h"

namespace {

constexpr Integer DicomPreambleSize = 128;
constexpr Integer DicomReadBufferSize = 8192;
constexpr char BigEndianSyntax[] = "1.2.840.10008.1.2.2";
constexpr Integer LutEntries = 65536;

Word Swap16(Word V) {
  return static_cast<Word>((V >> 8) | (V << 8));
}

Cardinal Swap32(Cardinal V) {
  return (V >> 24) | ((V >> 8) & 0xFF00) | ((V << 8) & 0xFF0000) | (V << 24);
}

bool ReadExact(TStream* S, void* Buffer, Integer Count) {
  return S->Read(Buffer, Count) == Count;
}

bool IsCapital(Byte B) {
  return B >= 'A' && B <= 'Z';
}

// Explicit VRs whose length is 32-bit after two reserved bytes.
bool HasLongLength(std::string_view VR) {
  static constexpr std::string_view Long[] = {"OB", "OD", "OF", "OL", "OV", "OW", "SQ",
                                              "SV", "UC", "UN", "UR", "UT", "UV"};
  return std::find(std::begin(Long), std::end(Long), VR) != std::end(Long);
}

Integer ValueSize(std::string_view VR) {
  if (VR == "SS" || VR == "US") return 2;
  if (VR == "UL" || VR == "SL" || VR == "FL") return 4;
  if (VR == "FD") return 8;
  return 1;
}

std::string ValueText(const Byte* Data, Integer Length) {
  std::string Text(reinterpret_cast<const char*>(Data), static_cast<size_t>(Length));
  Text.erase(std::find(Text.begin(), Text.end(), '\0'), Text.end());
  return IETrim(Text);
}

// A decimal string up to its first "\" (further values of the element are ignored).
Double FirstNumber(const Byte* Data, Integer Length) {
  std::string Text = ValueText(Data, Length);
  Text.erase(std::min(Text.find('\\'), Text.size()));
  return static_cast<Double>(IEStrToFloatDef(IETrim(Text), -1));
}

void ReadLut(std::vector<Word>& Lut, const Byte* Data, Integer Length, bool Swap) {
  // Entries past the element's end stay 0.
  Lut.assign(LutEntries, 0);
  const Integer Count = std::min(Length / 2, LutEntries);
  for (Integer I = 0; I < Count; ++I) {
    const Word V = static_cast<Word>(Data[2 * I] | (Data[2 * I + 1] << 8));
    Lut[I] = Swap ? Swap16(V) : V;
  }
}

struct TDicomElement {
  Word Group = 0;
  Word Element = 0;
  std::string VR;
  Integer Length = 0;  // -1 undefined
  bool Swap = false;
};

class TDicomParser {
 public:
  TDicomParser(TDICOMContext& C, bool Preview) : C(C), FPreview(Preview) {}
  void Run();

 private:
  bool ReadHeader(TDicomElement& E);
  void ReadValue(const TDicomElement& E);
  // Length: the bytes of Data read, fewer than the element claims where the stream ends.
  void Interpret(const TDicomElement& E, const Byte* Data, Integer Length, Integer Number);
  void ReadPicture(Int64 Position, Int64 Length);

  TDICOMContext& C;
  bool FPreview;
  bool FPixelsFound = false;
  Int64 FJpegPosition = -1;
  Int64 FJpegLength = -1;
};

bool TDicomParser::ReadHeader(TDicomElement& E) {
  TStream* S = C.Stream;
  std::array<Byte, 4> Tag{};
  if (!ReadExact(S, Tag.data(), 4)) return false;
  E.Group = static_cast<Word>(Tag[0] | (Tag[1] << 8));
  E.Element = static_cast<Word>(Tag[2] | (Tag[3] << 8));
  // The file meta group is little-endian in every file.
  E.Swap = !C.LittleEndian && E.Group != 2;
  if (E.Swap) E.Group = Swap16(E.Group), E.Element = Swap16(E.Element);
  E.VR = DicomLookupVR(E.Group, E.Element);
  std::array<Byte, 4> Two{};
  if (!ReadExact(S, Two.data(), 2)) return false;
  const bool Explicit = E.Group == 2 || (IsCapital(Two[0]) && IsCapital(Two[1]));
  if (Explicit && E.VR != "!!") {
    const std::string_view FileVR(reinterpret_cast<const char*>(Two.data()), 2);
    if (E.VR == "xs") E.VR = FileVR;
    if (HasLongLength(FileVR)) {
      if (!ReadExact(S, Two.data(), 2)) return false;
    } else {
      if (!ReadExact(S, Two.data(), 2)) return false;
      const Word Length = static_cast<Word>(Two[0] | (Two[1] << 8));
      E.Length = E.Swap ? Swap16(Length) : Length;
      return true;
    }
  } else {
    S->Seek(-2, soCurrent);
  }
  if (!ReadExact(S, Two.data(), 4)) return false;
  Cardinal Length = Two[0] | (Two[1] << 8) | (Two[2] << 16) | (static_cast<Cardinal>(Two[3]) << 24);
  if (E.Swap) Length = Swap32(Length);
  E.Length = static_cast<Integer>(Length);
  return true;
}

void TDicomParser::ReadValue(const TDicomElement& E) {
  const Integer Size = E.Length < 0 ? 0 : ValueSize(E.VR);
  const Integer Count = Size ? E.Length / Size : 0;
  // A length the stream cannot hold is no value: parsing goes on at its first byte (this is
  // also how the elements inside sequences and items of undefined length are reached).
  if (E.Length <= 0 || E.Length >= C.StreamSize) return;
  const Int64 Left = C.StreamSize - C.Stream->GetPosition();
  const Integer Length = static_cast<Integer>(std::min<Int64>(E.Length, Left));
  auto Data = std::make_unique<Byte[]>(static_cast<size_t>(Length) + 1);
  std::memset(Data.get(), 0, static_cast<size_t>(Length) + 1);
  C.Stream->Read(Data.get(), Length);
  if (Length == E.Length) Data[static_cast<size_t>(Size) * Count] = 0;
  Integer Number = 0;
  if (Count == 1 && Length >= Size) {
    if (Size == 1) Number = Data[0];
    if (Size == 2) {
      const Word V = static_cast<Word>(Data[0] | (Data[1] << 8));
      Number = E.Swap ? Swap16(V) : V;
    }
    if (Size == 4) {
      Cardinal V = Data[0] | (Data[1] << 8) | (Data[2] << 16) | (static_cast<Cardinal>(Data[3]) << 24);
      Number = static_cast<Integer>(E.Swap ? Swap32(V) : V);
    }
  }
  Interpret(E, Data.get(), Length, Number);
  C.IOParams->DicomTags->AddTag(E.Group, E.Element, E.VR, std::move(Data), Length);
}

void TDicomParser::Interpret(const TDicomElement& E, const Byte* Data, Integer Length, Integer Number) {
  if (E.Group == 2 && E.Element == 0x0010) {
    C.TransferSyntax = ValueText(Data, Length);
    if (C.TransferSyntax == BigEndianSyntax) C.LittleEndian = false;
    return;
  }
  if (E.Group != 0x0028) return;
  switch (E.Element) {
    case 0x0002:
      C.SamplesPerPixel = Number;
      break;
    case 0x0004:
      C.Photometric = ValueText(Data, Length);
      break;
    case 0x0006:
      C.PlanarConfiguration = Number;
      break;
    case 0x0008:
      // A count below 1 would leave no frame to read.
      C.NumberOfFrames = std::max(IEStrToIntDef(ValueText(Data, Length), 1), 1);
      break;
    case 0x0010:
      C.Rows = Number;
      break;
    case 0x0011:
      C.Columns = Number;
      break;
    case 0x0100:
      C.BitsAllocated = Number;
      if (C.BitsStored == 0) C.BitsStored = Number;
      break;
    case 0x0101:
      C.BitsStored = Number;
      if (C.BitsAllocated == 0) C.BitsAllocated = Number;
      break;
    case 0x0103:
      C.PixelRepresentation = Number;
      break;
    case 0x1050:
      C.WindowCenter = FirstNumber(Data, Length);
      if (C.WindowCenter == 0) C.WindowCenter = -1;  // a centre of 0 counts as none
      break;
    case 0x1051:
      C.WindowWidth = FirstNumber(Data, Length);
      break;
    case 0x1052:
      C.RescaleIntercept = FirstNumber(Data, Length);
      break;
    case 0x1053:
      C.RescaleSlope = FirstNumber(Data, Length);
      break;
    case 0x1201:
      ReadLut(C.LutRed, Data, Length, E.Swap);
      break;
    case 0x1202:
      ReadLut(C.LutGreen, Data, Length, E.Swap);
      break;
    case 0x1203:
      ReadLut(C.LutBlue, Data, Length, E.Swap);
      break;
    default:
      break;
  }
}

// The frame count, and the image index clamped to the frames there are.
void SetFrameParams(TDICOMContext& C) {
  TIOParamsVals& P = *C.IOParams;
  P.SetImageCount(C.NumberOfFrames);
  if (P.ImageIndex > C.NumberOfFrames - 1) P.SetImageIndex(C.NumberOfFrames - 1);
  if (P.ImageIndex < 0) P.SetImageIndex(0);
}

void SetPictureParams(TDICOMContext& C) {
  TIOParamsVals& P = *C.IOParams;
  P.BitsPerSample = C.BitsStored;
  P.SamplesPerPixel = C.SamplesPerPixel;
  P.Width = P.FileWidth = C.Columns;
  P.Height = P.FileHeight = C.Rows;
  SetFrameParams(C);
  C.BytesPerSample = std::max((C.BitsAllocated + 7) / 8, (C.BitsStored + 7) / 8);
}

void TDicomParser::ReadPicture(Int64 Position, Int64 Length) {
  FPixelsFound = true;
  C.Stream->SetPosition(Position);
  C.PixelDataLength = Length;
  SetPictureParams(C);
  if (!FPreview && C.Bitmap) DicomReadPixels(C);
}

void TDicomParser::Run() {
  TStream* S = C.Stream;
  std::array<Byte, 4> Magic{};
  S->SetPosition(DicomPreambleSize);
  if (!ReadExact(S, Magic.data(), 4) || std::memcmp(Magic.data(), "DICM", 4) != 0) S->SetPosition(0);
  TDicomElement E;
  while (!IEIsAborting(C.Progress) && S->GetPosition() < C.StreamSize) {
    if (!ReadHeader(E)) break;
    if (E.Group == 0x7FE0 && E.Element == 0x0010) {
      const Int64 Position = S->GetPosition();
      std::array<Byte, 4> Peek{};
      const bool Jpeg = ReadExact(S, Peek.data(), 4) && Peek[0] == 0xFF && Peek[1] == 0xD8 &&
                        Peek[2] == 0xFF && Peek[3] == 0xE0;
      S->SetPosition(Position);
      if (!Jpeg) {
        ReadPicture(Position, E.Length);
        break;
      }
      // A JPEG stream written straight into the element: read once the other elements are known.
      FJpegPosition = Position;
      FJpegLength = E.Length;
    }
    ReadValue(E);
  }
  if (!FPixelsFound && FJpegPosition >= 0 && !IEIsAborting(C.Progress))
    ReadPicture(FJpegPosition, FJpegLength);
  // A load that found no picture must not look like success.
  if (!FPixelsFound && !FPreview && C.Bitmap) IESetAborting(C.Progress);
}

}  // namespace

bool DicomIsFile(TStream* Stream) {
  const Int64 Start = Stream->GetPosition();
  auto Restore = ScopeExit([&] { Stream->SetPosition(Start); });
  Stream->Seek(DicomPreambleSize, soCurrent);
  std::array<Byte, 4> Magic{};
  return ReadExact(Stream, Magic.data(), 4) && std::memcmp(Magic.data(), "DICM", 4) == 0;
}

void DicomReadStream(TStream* Stream, TIOParamsVals& IOParams, TIEBitmap* Bitmap, TIEIOProgress& Progress,
                     bool Preview) {
  TIEBufferedReadStream Buffered(Stream, DicomReadBufferSize, true);
  TDICOMContext C;
  C.IOParams = &IOParams;
  C.Progress = Progress;
  C.Stream = &Buffered;
  C.StreamSize = Buffered.GetSize();
  // A picture held by a platform bitmap is decoded in memory and assigned at the end.
  std::unique_ptr<TIEBitmap> Temporary;
  if (Bitmap && Bitmap->GetLocation() == ieTBitmap) {
    Temporary = std::make_unique<TIEBitmap>();
    C.Bitmap = Temporary.get();
  } else {
    C.Bitmap = Bitmap;
  }
  TDicomParser(C, Preview).Run();
  if (Temporary && !Temporary->IsEmpty()) {
    const TIEPixelFormat Format = Temporary->GetPixelFormat();
    if (Format != ie1g && Format != ie24RGB) Temporary->ConvertToPixelFormat(ie24RGB);
    Bitmap->Assign(Temporary.get());
  }
  SetFrameParams(C);
}
