// Content detection: the registry's own signature checks, then the content test of every
// built format, then the registered rows' tests.
#include <array>
#include <cstring>
#include <string_view>
#include <utility>

#include "imaging/io/iefileformats.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/pcxfilter.h"
#include "imaging/io/pngfilt.h"
#include "imaging/io/tiffilt.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Streams.h"

namespace {

// The first bytes at the stream position; Count is less than the array when the stream ends.
struct TLeadBytes {
  std::array<Byte, 16> Data{};
  Integer Count = 0;

  bool StartsWith(std::string_view Signature) const {
    return static_cast<size_t>(Count) >= Signature.size() &&
           std::memcmp(Data.data(), Signature.data(), Signature.size()) == 0;
  }
};

TLeadBytes ReadLead(TStream* Stream) {
  TLeadBytes Lead;
  Lead.Count = Stream->Read(Lead.Data.data(), static_cast<Integer>(Lead.Data.size()));
  if (Lead.Count < 0) Lead.Count = 0;
  return Lead;
}

using namespace std::string_view_literals;

// Signatures of the stream headers and of the formats this list recognises by its first bytes
// alone, each valid when the whole stream is longer than MinSize.
struct TSignature {
  Int64 MinSize;
  std::string_view Bytes;
  TIEFileType FileType;
};
constexpr TSignature Signatures[] = {
    {12, "JFIF\0"sv, ioJPEG},                           // 12-byte stream header
    {13, "GIF"sv, ioGIF},     {12, "PCX2\0"sv, ioPCX},  // 12-byte stream header
    {4, "PCX\0"sv, ioPCX},                              // the older 4-byte stream header
    {14, "BM"sv, ioBMP},
};

// PCX: manufacturer byte 10 and a version up to 5.
bool LooksLikePcx(const TLeadBytes& Lead, Int64 Size) {
  return Size > 128 && Lead.Count >= 2 && Lead.Data[0] == 0x0A && Lead.Data[1] <= 5;
}

// Camera raw files are TIFF-structured; they are left to the raw test.
bool TiffTest(TStream* Stream) {
  return TiffIsFile(Stream) && !TiffIsCameraRaw(Stream);
}

bool PngTest(TStream* Stream) {
  return Stream->GetSize() > 8 && PngIsFile(Stream);
}
bool JpegSoiTest(TStream* Stream) {
  return JpegFindSOI(Stream, true) >= 0;
}

// The result so far; any exception ends the detection with it.
TIEFileType Detect(TStream* Stream, Int64 Start) {
  const Int64 Size = Stream->GetSize();
  const TLeadBytes Lead = ReadLead(Stream);
  for (const TSignature& Signature : Signatures)
    if (Size > Signature.MinSize && Lead.StartsWith(Signature.Bytes)) return Signature.FileType;
  if (LooksLikePcx(Lead, Size)) return ioPCX;
  if (Size > 12 && Lead.StartsWith("TIFF\0"sv)) return ioTIFF;

  const TIEFormatProcs& P = IEFormatProcs;
  const std::pair<TIEContentTest, TIEFileType> Tests[] = {
      {HdpIsFile, ioHDP},
      {TiffTest, ioTIFF},
      {PngTest, ioPNG},
      {P.DicomIsFile, ioDICOM},
      {P.IcoIsFile, ioICO},
      {P.CurIsFile, ioCUR},
      {P.TgaIsFile, ioTGA},
      {P.PnmIsFile, ioPXM},
      {P.Jpeg2000IsJp2File, ioJP2},
      {P.Jpeg2000IsCodeStream, ioJ2K},
      {AviIsFile, ioAVI},
      {DcxIsFile, ioDCX},
      {P.WmfIsFile, ioWMF},
      {P.EmfIsFile, ioEMF},
      {P.PsdIsFile, ioPSD},
      {P.IsIEVStream, ioIEV},
      {P.IsLayersStream, ioLYR},
      {P.IsAllStream, ioALL},
      {JpegSoiTest, ioJPEG},
  };
  for (const auto& [Test, FileType] : Tests) {
    if (!Test) continue;
    Stream->SetPosition(Start);
    if (Test(Stream)) return FileType;
  }

  // Rows registered by the program with a test of their own; built-in rows answer false. The
  // loop is by index: a test may register or remove rows.
  for (Integer I = 0; I < FileFormatCount(); ++I) {
    const TIEFileFormatInfo* Info = FileFormatAt(I);
    if (!Info->TestFunction) continue;
    Stream->SetPosition(Start);
    if (Info->TestFunction(Stream, Info->FileType)) return Info->FileType;
  }

  if (P.CameraRawIsFile) {
    Stream->SetPosition(Start);
    if (P.CameraRawIsFile(Stream)) return ioRAW;
  }
  return ioUnknown;
}

}  // namespace

TIEFileType DetectStreamFormat(TStream* Stream) {
  if (!Stream) return ioUnknown;
  Int64 Start = 0;
  try {
    Start = Stream->GetPosition();
  } catch (...) {
    return ioUnknown;
  }
  auto Restore = ScopeExit([&] { Stream->SetPosition(Start); });
  try {
    return Detect(Stream, Start);
  } catch (...) {
    // Nothing was found before the exception: every step returns as soon as it answers.
    return ioUnknown;
  }
}

bool AviIsFile(TStream* Stream) {
  const Int64 Start = Stream->GetPosition();
  auto Restore = ScopeExit([&] { Stream->SetPosition(Start); });
  std::array<Byte, 12> Header{};
  if (Stream->Read(Header.data(), 12) != 12) return false;
  return std::memcmp(Header.data(), "RIFF", 4) == 0 && std::memcmp(Header.data() + 8, "AVI ", 4) == 0;
}
