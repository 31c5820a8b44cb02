// AVI movies of TZezudIdIO: single frames read into the picture and the picture written frame
// after frame, through the platform's AVI file library.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iedibpack.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Files.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Strings.h"

namespace {

// The AVI file library is started by the first AVI operation; the I/O shut-down ends it.
void StartAviLibrary() {
  if (IEAviFileLibraryExit) return;
  AVIFileInit();
  IEAviFileLibraryExit = AVIFileExit;
}

constexpr DWORD DefaultQuality = 0xFFFFFFFFu;

// The bytes of the packed DIB our library hands out: header, colour table, rows.
Integer PackedDibSize(const Byte* Dib) {
  const Integer Width = static_cast<Integer>(IELoadLE32(Dib + 4));
  const Integer Height = std::abs(static_cast<Integer>(IELoadLE32(Dib + 8)));
  const Integer BitCount = Dib[14] | (Dib[15] << 8);
  const Integer Colors = static_cast<Integer>(IELoadLE32(Dib + 32));
  return static_cast<Integer>(IELoadLE32(Dib)) + 4 * Colors + DibRowBytes(Width, BitCount) * Height;
}

// The four-character code of the first four characters; a shorter text ends in zero bytes.
FOURCC CodecFourCC(const std::string& Codec) {
  FOURCC Code = 0;
  for (std::size_t I = 0; I < 4 && I < Codec.size(); ++I)
    Code |= static_cast<FOURCC>(static_cast<Byte>(Codec[I])) << (8 * I);
  return Code;
}

void PutLE32(Byte* P, DWORD V) {
  for (Integer I = 0; I < 4; ++I) P[I] = static_cast<Byte>(V >> (8 * I));
}

// The frame header with the colour table of 1- and 8-bit frames.
std::vector<Byte> FrameHeader(TIEBitmap* Frame, Integer BitCount) {
  const Integer Width = Frame->GetWidth(), Height = Frame->GetHeight();
  const Integer Colors = BitCount == 8 ? 256 : BitCount == 1 ? 2 : 0;
  std::vector<Byte> Header(40 + 4 * Colors, 0);
  PutLE32(&Header[0], 40);
  PutLE32(&Header[4], static_cast<DWORD>(Width));
  PutLE32(&Header[8], static_cast<DWORD>(Height));
  Header[12] = 1;
  Header[14] = static_cast<Byte>(BitCount);
  PutLE32(&Header[20], static_cast<DWORD>(DibRowBytes(Width, BitCount) * Height));
  PutLE32(&Header[32], static_cast<DWORD>(BitCount == 8 ? 256 : 0));
  if (BitCount == 8) {
    for (Integer I = 0; I < 256; ++I) {
      TIERGBTriple C;
      Frame->GetPaletteColor(I, C);
      Header[40 + 4 * I] = C.rgbtBlue;
      Header[41 + 4 * I] = C.rgbtGreen;
      Header[42 + 4 * I] = C.rgbtRed;
    }
  } else if (BitCount == 1) {
    // Set bits of a 1-bit picture are white.
    Header[44] = Header[45] = Header[46] = 255;
  }
  return Header;
}

TIEPixelFormat FrameFormat(Integer BitCount) {
  switch (BitCount) {
    case 1:
      return ie1g;
    case 8:
      return ie8p;
    case 32:
      return ie32RGB;
    default:
      return ie24RGB;
  }
}

// The frame count and the milliseconds per frame of the stream read.
void SetAviFrameInfo(TIOParamsVals& P, const AVISTREAMINFOW& Info) {
  P.AviFrameCount = static_cast<Integer>(Info.dwLength);
  // A rate or scale of 0 in a damaged file gives no delay rather than a division fault, and a
  // delay beyond the integer range the largest one.
  const Cardinal Rate = Info.dwRate, Scale = Info.dwScale;
  const double Delay = Rate == 0 || Scale == 0 ? 0 : std::trunc(1000.0 / (static_cast<double>(Rate) / Scale));
  P.AviFrameDelay = static_cast<Integer>(std::min(Delay, 2147483647.0));
}

}  // namespace

Integer TZezudIdIO::OpenAVIFile(const std::u16string& FileName) {
  SetAborting(false);
  if (FAviFile) CloseAVIFile();
  TIOParamsVals& P = *FParams;
  P.AviFrameCount = 0;
  P.FileName = FileName;
  P.FileType = ioUnknown;
  StartAviLibrary();
  AVISTREAMINFOW Info;
  if (AVIFileOpenW(&FAviFile, FileName, OF_READ, nullptr) != AVIERR_OK ||
      AVIFileGetStream(FAviFile, &FAviStream, streamtypeVIDEO, 0) != AVIERR_OK ||
      AVIStreamInfoW(FAviStream, &Info, sizeof Info) != AVIERR_OK) {
    CloseAVIFile();
    SetAborting(true);
    return 0;
  }
  FAviStreamInfo = Info;
  FAviFrameGetter = AVIStreamGetFrameOpen(FAviStream, nullptr);
  if (!FAviFrameGetter) {
    CloseAVIFile();
    SetAborting(true);
    return 0;
  }
  SetAviFrameInfo(P, FAviStreamInfo);
  return static_cast<Integer>(FAviStreamInfo.dwLength);
}

void TZezudIdIO::LoadFromAVI(Integer FrameIndex) {
  if (HandToThread(&TZezudIdIO::LoadFromAVI, FrameIndex)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  SetAborting(false);
  if (!MakeConsistentBitmap({}) || !FAviFile || !FAviStream || !FAviFrameGetter) return;
  if (static_cast<Cardinal>(FrameIndex) >= FAviStreamInfo.dwLength) return;
  const auto* Dib = static_cast<const Byte*>(AVIStreamGetFrame(FAviFrameGetter, FrameIndex));
  SetAviFrameInfo(*FParams, FAviStreamInfo);
  if (!Dib || !IEUnpackDIBToBitmap(Dib, PackedDibSize(Dib), FIEBitmap)) return;
  TIOParamsVals& P = *FParams;
  switch (Dib[14] | (Dib[15] << 8)) {
    case 1:
      P.BitsPerSample = 1, P.SamplesPerPixel = 1;
      break;
    case 4:
      P.BitsPerSample = 4, P.SamplesPerPixel = 1;
      break;
    case 8:
      P.BitsPerSample = 8, P.SamplesPerPixel = 1;
      break;
    case 15:
      P.BitsPerSample = 5, P.SamplesPerPixel = 3;
      break;
    case 16:
    case 24:
    case 32:
      P.BitsPerSample = 8, P.SamplesPerPixel = 3;
      break;
  }
  P.SetDpiX(DefaultDpiX);
  P.SetDpiY(DefaultDpiY);
  P.Width = P.FileWidth = FIEBitmap->GetWidth();
  P.Height = P.FileHeight = FIEBitmap->GetHeight();
  P.FreeColorMap();
  UpdateAttachedView();
}

Byte TZezudIdIO::CreateAVIFile(const std::u16string& FileName, Integer Rate, const std::string& Codec) {
  SetAborting(false);
  StartAviLibrary();
  // A movie still open is finished first; dropping its handles would leave it without index.
  CloseAVIFile();
  const std::string Name = Utf16ToUtf8(FileName);
  if (FileExists(Name)) DeleteFile(Name);
  if (AVIFileOpenW(&FAviFile, FileName, OF_WRITE | OF_CREATE, nullptr) != AVIERR_OK) {
    FAviFile = nullptr;
    throw EInvalidGraphic("unable to create AVI file");
  }
  const TIOParamsVals& P = *FParams;
  AVISTREAMINFOW Info;
  Info.fccType = streamtypeVIDEO;
  Info.dwScale = 1;
  Info.dwRate = static_cast<DWORD>(Rate);
  Info.dwQuality = DefaultQuality;
  const Integer BitCount = P.BitsPerSample == 8 && P.SamplesPerPixel == 1 ? 8 : 24;
  Info.dwSuggestedBufferSize = static_cast<DWORD>(DibRowBytes(P.Width, BitCount) * P.Height);
  Info.rcFrame = RECT{0, 0, P.Width, P.Height};
  FAviCompressOptions = std::make_unique<AVICOMPRESSOPTIONS>();
  AVIFileCreateStreamW(FAviFile, &FAviPlainStream, &Info);
  if (!Codec.empty()) {
    FAviCompressOptions->fccType = streamtypeVIDEO;
    FAviCompressOptions->fccHandler = CodecFourCC(Codec);
    FAviCompressOptions->dwQuality = DefaultQuality;
  } else {
    AVICOMPRESSOPTIONS* Options = FAviCompressOptions.get();
    if (!AVISaveOptions(nullptr, 0, 1, &FAviPlainStream, &Options)) {
      AVIStreamRelease(FAviPlainStream);
      AVIFileRelease(FAviFile);
      FAviPlainStream = nullptr;
      FAviFile = nullptr;
      FAviCompressOptions.reset();
      SetAborting(true);
      return 1;
    }
  }
  const HRESULT Made =
      AVIMakeCompressedStream(&FAviStream, FAviPlainStream, FAviCompressOptions.get(), nullptr);
  Byte Result = 0;
  if (Made == AVIERR_NOCOMPRESSOR)
    Result = 1;
  else if (Made == AVIERR_MEMORY)
    Result = 2;
  else if (Made != AVIERR_OK || !FAviStream)
    Result = 3;  // any other failure is one too, never a success without a stream
  SetAborting(Result != 0);
  FAviFrameCounter = 0;
  FAviFrameWidth = FAviFrameHeight = FAviFrameBitCount = 0;
  return Result;
}

void TZezudIdIO::SaveToAVI() {
  if (!FAviStream || !MakeConsistentBitmap({})) return;
  if (FIEBitmap->GetPixelFormat() != ie24RGB && FIEBitmap->GetPixelFormat() != ie1g)
    FIEBitmap->ConvertToPixelFormat(ie24RGB);
  TIEBitmap Frame;
  Frame.SetLocation(ieMemory);
  Frame.Assign(FIEBitmap);
  const TIOParamsVals& P = *FParams;
  Integer BitCount = 24;
  if (P.SamplesPerPixel == 1 && P.BitsPerSample == 8)
    BitCount = 8;
  else if (Frame.GetPixelFormat() == ie1g)
    BitCount = 1;  // under its own two-colour header, not a 24-bit one
  else if (Frame.HasAlphaChannel())
    BitCount = 32;
  if (FAviFrameCounter == 0) {
    FAviFrameWidth = Frame.GetWidth();
    FAviFrameHeight = Frame.GetHeight();
    FAviFrameBitCount = BitCount;
  } else if (Frame.GetWidth() != FAviFrameWidth || Frame.GetHeight() != FAviFrameHeight) {
    // The movie's frames all have the first frame's size.
    Frame.ConvertToPixelFormat(ie24RGB);
    TIEBitmap Resized;
    Resized.SetLocation(ieMemory);
    Resized.Allocate(FAviFrameWidth, FAviFrameHeight, ie24RGB);
    Frame.StretchRectTo(&Resized, 0, 0, FAviFrameWidth, FAviFrameHeight, 0, 0, Frame.GetWidth(),
                        Frame.GetHeight(), rfFastLinear, 255);
    Frame.Assign(&Resized);
  }
  BitCount = FAviFrameBitCount;  // and the first frame's depth
  if (Frame.GetPixelFormat() != FrameFormat(BitCount)) Frame.ConvertToPixelFormat(FrameFormat(BitCount));
  if (BitCount == 32) Frame.SynchronizeRGBA(false);

  const std::vector<Byte> Header = FrameHeader(&Frame, BitCount);
  // A frame the stream refuses is reported: the movie would silently lack it.
  if ((BitCount == 8 || FAviFrameCounter == 0) &&
      AVIStreamSetFormat(FAviStream, FAviFrameCounter, Header.data(), static_cast<LONG>(Header.size())) !=
          AVIERR_OK) {
    SetAborting(true);
    return;
  }
  const Integer Width = Frame.GetWidth(), Height = Frame.GetHeight();
  const Integer RowBytes = DibRowBytes(Width, BitCount);
  const Integer Copied = std::min(RowBytes, Frame.GetRowLen());
  std::vector<Byte> Rows(static_cast<std::size_t>(RowBytes) * Height, 0);
  for (Integer Y = 0; Y < Height; ++Y)
    std::memcpy(&Rows[static_cast<std::size_t>(Height - 1 - Y) * RowBytes], Frame.GetScanline(Y), Copied);
  if (AVIStreamWrite(FAviStream, FAviFrameCounter, 1, Rows.data(), static_cast<LONG>(Rows.size()),
                     AVIIF_KEYFRAME, nullptr, nullptr) != AVIERR_OK) {
    SetAborting(true);
    return;
  }
  ++FAviFrameCounter;
}

void TZezudIdIO::CloseAVIFile() {
  // Everything that is held is released, also after a creation that failed half-way.
  if (FAviCompressOptions) {
    AVICOMPRESSOPTIONS* Options = FAviCompressOptions.get();
    AVISaveOptionsFree(1, &Options);
    FAviCompressOptions.reset();
  }
  if (FAviFrameGetter) AVIStreamGetFrameClose(FAviFrameGetter);
  AVIStreamRelease(FAviStream);
  AVIStreamRelease(FAviPlainStream);
  AVIFileRelease(FAviFile);
  FAviFrameGetter = nullptr;
  FAviStream = FAviPlainStream = nullptr;
  FAviFile = nullptr;
}
