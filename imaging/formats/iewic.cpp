// TIEWICReader and TIEWICWriter over the JPEG XR codec library. This is the only file that
// includes the library's headers: they define Windows-style types and min/max macros.
#include "imaging/formats/iewic.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <string_view>

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/ieexif.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/iereadlimits.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"

#include <JXRGlue.h>
#undef min
#undef max

namespace {

// The largest decoding buffer: a picture of 1 G pixels at 32 bits.
constexpr Int64 MaxDecodedBytes = Int64{4} << 30;

// ---- Streams ---------------------------------------------------------------------------------

// The stream from its position to its end, at most IEWicMaxStreamSize bytes; false when it
// holds more or cannot be read.
bool ReadRest(TStream* Stream, std::vector<Byte>& Data) {
  const Int64 Left = IEStreamBytesLeft(Stream);
  if (Left > IEWicMaxStreamSize) return false;
  constexpr Integer Chunk = 65536;
  Data.clear();
  for (;;) {
    const size_t Have = Data.size();
    if (static_cast<Int64>(Have) > IEWicMaxStreamSize) return false;
    Data.resize(Have + Chunk);
    const Integer Got = Stream->Read(Data.data() + Have, Chunk);
    Data.resize(Have + std::max(Got, 0));
    if (Got <= 0) return true;
  }
}

// The encoder's output: a growing block the codec writes, seeks back into and patches.
struct TGrowingStream {
  WMPStream Base;  // first: the codec hands this address back to the callbacks
  std::vector<Byte> Data;
  size_t Position = 0;

  static TGrowingStream* Of(WMPStream* Stream) { return reinterpret_cast<TGrowingStream*>(Stream); }
  // The codec closes the stream it was given when it is released; the block stays ours.
  static ERR Close(WMPStream** Stream) {
    *Stream = nullptr;
    return WMP_errSuccess;
  }
  static Bool EndOfStream(WMPStream* Stream) { return Of(Stream)->Position >= Of(Stream)->Data.size(); }
  static ERR Read(WMPStream* Stream, void* Buffer, size_t Count) {
    TGrowingStream* S = Of(Stream);
    if (S->Position > S->Data.size() || S->Data.size() - S->Position < Count) return WMP_errFileIO;
    std::memcpy(Buffer, S->Data.data() + S->Position, Count);
    S->Position += Count;
    return WMP_errSuccess;
  }
  static ERR Write(WMPStream* Stream, const void* Buffer, size_t Count) {
    TGrowingStream* S = Of(Stream);
    if (Count == 0) return WMP_errSuccess;
    if (S->Data.size() < S->Position + Count) S->Data.resize(S->Position + Count);
    std::memcpy(S->Data.data() + S->Position, Buffer, Count);
    S->Position += Count;
    return WMP_errSuccess;
  }
  static ERR SetPosition(WMPStream* Stream, size_t Position) {
    Of(Stream)->Position = Position;
    return WMP_errSuccess;
  }
  static ERR GetPosition(WMPStream* Stream, size_t* Position) {
    *Position = Of(Stream)->Position;
    return WMP_errSuccess;
  }

  TGrowingStream() {
    std::memset(&Base, 0, sizeof(Base));
    Base.Close = Close;
    Base.EOS = EndOfStream;
    Base.Read = Read;
    Base.Write = Write;
    Base.SetPos = SetPosition;
    Base.GetPos = GetPosition;
  }
};
static_assert(offsetof(TGrowingStream, Base) == 0);

// ---- The container's directory ---------------------------------------------------------------

// The codec asserts (ending the process) on directory entries it does not expect instead of
// refusing the file: a transformation beyond its eight, descriptive tags of other types. Those
// are refused here first, as are directories that leave the data.
bool PlausibleDirectory(const std::vector<Byte>& Data) {
  const auto Word16 = [&](size_t At) { return static_cast<U32>(Data[At] | Data[At + 1] << 8); };
  const auto Word32 = [&](size_t At) { return Word16(At) | Word16(At + 2) << 16; };
  if (Data.size() < 8 || Data[0] != 'I' || Data[1] != 'I' || Data[2] != 0xBC) return false;
  const size_t Directory = Word32(4);
  if (Directory > Data.size() - 2) return false;
  const size_t Count = Word16(Directory);
  if (Count * 12 > Data.size() - Directory - 2) return false;
  constexpr U32 Byte8 = 1, Ascii = 2, Short = 3, Long = 4, Undefined = 7;
  for (size_t I = 0; I < Count; ++I) {
    const size_t Entry = Directory + 2 + I * 12;
    const U32 Tag = Word16(Entry), Type = Word16(Entry + 2);
    const bool Plain = Type == Byte8 || Type == Ascii || Type == Short || Type == Long || Type == Undefined;
    switch (Tag) {
      case 0xBC02: {  // transformation
        const U32 Value = Type == Long    ? Word32(Entry + 8)
                          : Type == Short ? Word16(Entry + 8)
                                          : Data[Entry + 8];
        if (Value >= O_MAX) return false;
        break;
      }
      case 0x010D:  // document name, description, make, model, page name, software, date,
      case 0x010E:  // artist, host computer, copyright
      case 0x010F:
      case 0x0110:
      case 0x011D:
      case 0x0131:
      case 0x0132:
      case 0x013B:
      case 0x013C:
      case 0x8298:
        if (Type != Ascii) return false;
        break;
      case 0x0129:  // page number, rating stars and value, the five caption-like texts
      case 0x4746:
      case 0x4749:
      case 0x9C9B:
      case 0x9C9C:
      case 0x9C9D:
      case 0x9C9E:
      case 0x9C9F:
        if (!Plain) return false;
        break;
      default:
        break;
    }
  }
  return true;
}

bool SameFormat(const PKPixelFormatGUID& A, const PKPixelFormatGUID& B) {
  return std::memcmp(&A, &B, sizeof(PKPixelFormatGUID)) == 0;
}

Int64 RowBytes(Int64 Width, Int64 BitsPerPixel) {
  return (Width * BitsPerPixel + 7) / 8;
}

void InvertBytes(Byte* Row, Int64 Count) {
  for (Int64 I = 0; I < Count; ++I) Row[I] = static_cast<Byte>(255 - Row[I]);
}

// ---- Pixel formats -------------------------------------------------------------------------

// A codec format the library has a pixel format for. The codec's CMYK counts ink up from 0,
// ieCMYK counts it down from 255: those rows are inverted on the way in and out.
struct TPixelPair {
  const PKPixelFormatGUID* Codec;
  TIEPixelFormat Library;
  bool Inverted;
};
const TPixelPair PixelPairs[] = {
    {&GUID_PKPixelFormatBlackWhite, ie1g, false},  {&GUID_PKPixelFormat8bppGray, ie8g, false},
    {&GUID_PKPixelFormat16bppGray, ie16g, false},  {&GUID_PKPixelFormat24bppBGR, ie24RGB, false},
    {&GUID_PKPixelFormat48bppRGB, ieRGB48, false}, {&GUID_PKPixelFormat32bppCMYK, ieCMYK, true},
};

const TPixelPair* PairOfCodecFormat(const PKPixelFormatGUID& Format) {
  for (const TPixelPair& Pair : PixelPairs)
    if (SameFormat(*Pair.Codec, Format)) return &Pair;
  return nullptr;
}

const TPixelPair* PairOfLibraryFormat(TIEPixelFormat Format) {
  for (const TPixelPair& Pair : PixelPairs)
    if (Pair.Library == Format) return &Pair;
  return nullptr;
}

// Bits per pixel of a codec format; 0 when the codec does not know it.
Integer CodecBitsPerPixel(const PKPixelFormatGUID& Format) {
  PKPixelInfo Info{};
  Info.pGUIDPixFmt = &Format;
  if (Failed(PixelFormatLookup(&Info, LOOKUP_FORWARD))) return 0;
  return static_cast<Integer>(Info.cbitUnit);
}

// ---- Owners of the codec's objects -----------------------------------------------------------

struct TConverterRelease {
  void operator()(PKFormatConverter* Converter) const { Converter->Release(&Converter); }
};
using TConverterPtr = std::unique_ptr<PKFormatConverter, TConverterRelease>;

struct TEncoderRelease {
  void operator()(PKImageEncode* Encoder) const { Encoder->Release(&Encoder); }
};
using TEncoderPtr = std::unique_ptr<PKImageEncode, TEncoderRelease>;

void SetFlag(bool* Flag) {
  if (Flag) std::atomic_ref<bool>(*Flag).store(true, std::memory_order_relaxed);
}

}  // namespace

bool WicAvailable() {
  static const bool Available = [] {
    PKCodecFactory* Factory = nullptr;
    if (Failed(PKCreateCodecFactory(&Factory, WMP_SDK_VERSION)) || Factory == nullptr) return false;
    Factory->Release(&Factory);
    return true;
  }();
  return Available;
}

// ---- Reader ------------------------------------------------------------------------------------

struct TIEWICReader::TDecoder {
  std::vector<Byte> Data;
  WMPStream* Stream = nullptr;
  PKImageDecode* Decode = nullptr;

  TDecoder() = default;
  TDecoder(const TDecoder&) = delete;
  TDecoder& operator=(const TDecoder&) = delete;
  ~TDecoder() {
    if (Decode) Decode->Release(&Decode);
    if (Stream) CloseWS_Memory(&Stream);
  }

  // The whole frame in the codec's format Requested (converted by the codec when it differs from
  // the file's), rows Stride bytes apart; false when the codec cannot.
  bool DecodeAs(const PKPixelFormatGUID& Requested, Integer Width, Integer Height, std::vector<Byte>& Pixels,
                Int64& Stride) {
    PKPixelFormatGUID FileFormat;
    if (Failed(Decode->GetPixelFormat(Decode, &FileFormat))) return false;
    const Integer FileBits = CodecBitsPerPixel(FileFormat);
    const Integer RequestedBits = CodecBitsPerPixel(Requested);
    if (FileBits <= 0 || RequestedBits <= 0) return false;
    PKFormatConverter* Raw = nullptr;
    if (Failed(PKCodecFactory_CreateFormatConverter(&Raw)) || Raw == nullptr) return false;
    TConverterPtr Converter(Raw);
    static char NoExtension[] = "";
    if (Failed(Converter->Initialize(Converter.get(), Decode, NoExtension, Requested))) return false;
    // The codec decodes in the file's format and converts in place, in whole macroblocks; a
    // turned picture is decoded before it is turned, so both sides get the longer one.
    const bool Turned =
        Decode->WMP.wmiI.oOrientation >= O_RCW ||
        (Decode->WMP.fOrientationFromContainer && Decode->WMP.oOrientationFromContainer >= O_RCW);
    const Int64 Side = Turned ? std::max(Width, Height) : Width;
    const Int64 Rows = ((Turned ? std::max(Width, Height) : Height) + 15) / 16 * 16;
    Stride = (std::max(RowBytes(Side + 15, FileBits), RowBytes(Side + 15, RequestedBits)) + 15) / 16 * 16;
    // The codec takes a 32-bit stride.
    if (Stride > std::numeric_limits<U32>::max() || Stride * Rows > MaxDecodedBytes) return false;
    const size_t Bytes = static_cast<size_t>(Stride * Rows);
    const PKRect Whole{0, 0, Width, Height};
    const bool Decoded = DecodeIsolated(Bytes, Pixels, [&](Byte* Target) {
      return !Failed(Converter->Copy(Converter.get(), &Whole, Target, static_cast<U32>(Stride)));
    });
    if (!Decoded) EndBrokenDecode();
    return Decoded;
  }

  // The codec's entropy decoder writes out of bounds on some corrupt data. It therefore decodes
  // in a child process into shared memory: a crash there is a failed read, not a lost program.
  template <typename TCopy>
  static bool DecodeIsolated(size_t Bytes, std::vector<Byte>& Pixels, TCopy&& Copy) {
    void* Shared = mmap(nullptr, Bytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (Shared == MAP_FAILED) return false;
    bool Decoded = false;
    const pid_t Child = fork();
    if (Child == 0) _exit(Copy(static_cast<Byte*>(Shared)) ? 0 : 1);
    int Status = 0;
    if (Child > 0 && waitpid(Child, &Status, 0) == Child && WIFEXITED(Status) && WEXITSTATUS(Status) == 0) {
      Pixels.assign(static_cast<const Byte*>(Shared), static_cast<const Byte*>(Shared) + Bytes);
      Decoded = true;
    }
    munmap(Shared, Bytes);
    return Decoded;
  }

  // The codec ends its decoding contexts after the last row, and neither a failed copy nor its
  // release does: they are ended here.
  void EndBrokenDecode() {
    for (CTXSTRCODEC* Context : {&Decode->WMP.ctxSC, &Decode->WMP.ctxSC_Alpha})
      if (*Context) {
        ImageStrDecTerm(*Context);
        *Context = nullptr;
      }
  }
};

TIEWICReader::TIEWICReader() : FDpiX(DefaultDpiX), FDpiY(DefaultDpiY) {
  FFactory = WicAvailable();
}

TIEWICReader::~TIEWICReader() {
  Close();
}

bool TIEWICReader::IsAvailable() const {
  return FFactory && WicAvailable();
}

bool TIEWICReader::OpenStream(TStream* Stream, Integer FileType) {
  Close();
  FStream = Stream;
  FStreamPosition = Stream ? Stream->GetPosition() : 0;
  if (!Stream || FileType != ioHDP || !IsAvailable()) return false;
  auto Decoder = std::make_unique<TDecoder>();
  if (!ReadRest(Stream, Decoder->Data) || Decoder->Data.empty()) return false;
  if (!PlausibleDirectory(Decoder->Data)) return false;
  if (Failed(CreateWS_Memory(&Decoder->Stream, Decoder->Data.data(), Decoder->Data.size()))) return false;
  if (Failed(PKImageDecode_Create_WMP(&Decoder->Decode)) || Decoder->Decode == nullptr) return false;
  if (Failed(Decoder->Decode->Initialize(Decoder->Decode, Decoder->Stream))) return false;
  // The codec decodes a file cut short without a word: its coded image (and alpha plane) must
  // lie inside the data.
  const auto Inside = [Size = static_cast<Int64>(Decoder->Data.size())](Int64 Offset, Int64 Count) {
    return Offset >= 0 && Count > 0 && Offset <= Size && Count <= Size - Offset;
  };
  const WmpDEMisc& Coded = Decoder->Decode->WMP.wmiDEMisc;
  if (!Inside(Coded.uImageOffset, Coded.uImageByteCount) ||
      (Coded.uAlphaOffset != 0 && !Inside(Coded.uAlphaOffset, Coded.uAlphaByteCount)))
    return false;
  FDecoder = std::move(Decoder);
  return true;
}

void TIEWICReader::Close() {
  FDecoder.reset();
}

Integer TIEWICReader::FrameWidth() const {
  return FFrameWidth;
}

Integer TIEWICReader::FrameHeight() const {
  return FFrameHeight;
}

void TIEWICReader::ReadFrame(Integer Index, TIEBitmap* Bitmap, TIOParamsVals* Params, bool* AbortFlag) {
  if (!IsAvailable() || !FDecoder || !Bitmap) return SetFlag(AbortFlag);
  PKImageDecode* Decode = FDecoder->Decode;
  U32 Frames = 0;
  if (Failed(Decode->GetFrameCount(Decode, &Frames)) || Index < 0 || static_cast<U32>(Index) >= Frames)
    return SetFlag(AbortFlag);
  if (Index > 0 && Failed(Decode->SelectFrame(Decode, static_cast<U32>(Index)))) return SetFlag(AbortFlag);
  Float ResX = 0, ResY = 0;
  // A resolution the file cannot mean (not a number, beyond any device) keeps the default.
  const auto Plausible = [](Float Value) { return std::isfinite(Value) && Value >= 0 && Value <= 1e6f; };
  if (!Failed(Decode->GetResolution(Decode, &ResX, &ResY)) && Plausible(ResX) && Plausible(ResY)) {
    FDpiX = ResX;
    FDpiY = ResY;
  }
  I32 Width = 0, Height = 0;
  PKPixelFormatGUID FileFormat;
  if (Failed(Decode->GetSize(Decode, &Width, &Height)) || Width <= 0 || Height <= 0 ||
      Failed(Decode->GetPixelFormat(Decode, &FileFormat)))
    return SetFlag(AbortFlag);
  // Every macroblock of 16 x 16 pixels takes at least one bit of the data.
  const Int64 Blocks = (Int64{Width} + 15) / 16 * ((Int64{Height} + 15) / 16);
  if (IEClaimExceedsData(Blocks, 1, static_cast<Int64>(FDecoder->Data.size()), 8)) return SetFlag(AbortFlag);
  const bool Native = !Params || Params->NativePixelFormat;

  // HD Photo frames carry no separate thumbnail: the frame itself is read either way.
  const TPixelPair* Pair = PairOfCodecFormat(FileFormat);
  const PKPixelFormatGUID& Requested = Pair ? *Pair->Codec : GUID_PKPixelFormat24bppBGR;
  const TIEPixelFormat Target = Pair ? Pair->Library : ie24RGB;
  std::vector<Byte> Pixels;
  Int64 Stride = 0;
  try {
    if (!FDecoder->DecodeAs(Requested, Width, Height, Pixels, Stride) ||
        !Bitmap->Allocate(Width, Height, Target))
      return SetFlag(AbortFlag);
  } catch (const std::bad_alloc&) {
    return SetFlag(AbortFlag);
  }
  const Int64 Length = RowBytes(Width, IEBitsPerPixel[Target]);
  for (Integer Row = 0; Row < Height; ++Row) {
    auto* Dest = static_cast<Byte*>(Bitmap->GetScanline(Row));
    std::memcpy(Dest, Pixels.data() + Row * Stride, static_cast<size_t>(Length));
    if (Pair && Pair->Inverted) InvertBytes(Dest, Length);
  }
  Pixels = {};
  if (!Native && Target != ie1g && Target != ie24RGB) Bitmap->ConvertToPixelFormat(ie24RGB);
  FFrameWidth = Width;
  FFrameHeight = Height;
  if (!Params) return;

  const Int64 Here = FStream->GetPosition();
  FStream->Seek(FStreamPosition, soBeginning);
  IELoadEXIFFromTIFFStream(FStream, *Params);
  FStream->Seek(Here, soBeginning);
  const TIEPixelFormat Result = Bitmap->GetPixelFormat();
  Params->BitsPerSample = IEBitsPerPixel[Result] / IEChannelsPerPixel[Result];
  Params->SamplesPerPixel = IEChannelsPerPixel[Result];
  Params->FileWidth = Width;
  Params->FileHeight = Height;
  Params->Width = Bitmap->GetWidth();
  Params->Height = Bitmap->GetHeight();
  Params->SetDpiX(static_cast<Integer>(FDpiX));  // truncated
  Params->SetDpiY(static_cast<Integer>(FDpiY));
}

// ---- Writer ------------------------------------------------------------------------------------

namespace {

// What the property bag asks of the codec; options the HD Photo codec does not have
// (CompressionQuality, TiffCompressionMethod) are passed over.
struct TCodecChoice {
  Single ImageQuality = 0.9f;
  bool Lossless = false;
  bool UseCodecOptions = false;
  Byte Quality = 1;
  Byte Overlap = 1;
  Byte Subsampling = 3;
  Word HorizontalTileSlices = 0;
  Word VerticalTileSlices = 0;
  bool FrequencyOrder = true;
};

TCodecChoice ChoiceOf(const std::vector<TIEWICProperty>& Properties) {
  TCodecChoice C;
  for (const TIEWICProperty& P : Properties) {
    const std::string_view N = P.Name;
    if (N == "ImageQuality") C.ImageQuality = std::get<Single>(P.Value);
    if (N == "Lossless") C.Lossless = std::get<bool>(P.Value);
    if (N == "UseCodecOptions") C.UseCodecOptions = std::get<bool>(P.Value);
    if (N == "Quality") C.Quality = std::get<Byte>(P.Value);
    if (N == "Overlap") C.Overlap = std::get<Byte>(P.Value);
    if (N == "Subsampling") C.Subsampling = std::get<Byte>(P.Value);
    if (N == "HorizontalTileSlices") C.HorizontalTileSlices = std::get<Word>(P.Value);
    if (N == "VerticalTileSlices") C.VerticalTileSlices = std::get<Word>(P.Value);
    if (N == "FrequencyOrder") C.FrequencyOrder = std::get<bool>(P.Value);
  }
  return C;
}

// The quantizer index: 1 keeps every value; image quality 1 is lossless and each step below it
// coarsens evenly up to the codec's last index at 0.
U8 QuantizerOf(const TCodecChoice& C) {
  if (C.Lossless) return 1;
  if (C.UseCodecOptions) return std::max<U8>(C.Quality, 1);
  const Double Quality = std::clamp<Double>(C.ImageQuality, 0.0, 1.0);
  // (The platform's Round cannot be used beside the codec's headers, which take its name Int.)
  return static_cast<U8>(1 + std::nearbyint((1.0 - Quality) * 254.0));
}

// Slices count tiles of whole macroblocks spread as evenly as the blocks allow.
void SetTiles(Word Slices, Integer Pixels, U32& SlicesMinus1, U32* Sizes) {
  const U32 Blocks = static_cast<U32>((Pixels + 15) / 16);
  const U32 Cuts = std::min<U32>({Slices, Blocks - 1, MAX_TILES - 1});
  SlicesMinus1 = Cuts;
  for (U32 I = 0; I <= Cuts; ++I) Sizes[I] = Blocks / (Cuts + 1) + (I < Blocks % (Cuts + 1) ? 1 : 0);
}

CWMIStrCodecParam CodecParams(const TCodecChoice& C, TIEPixelFormat Format, Integer Width, Integer Height) {
  CWMIStrCodecParam P;
  std::memset(&P, 0, sizeof(P));
  P.bdBitDepth = BD_LONG;
  P.sbSubband = SB_ALL;
  P.uiDefaultQPIndex = QuantizerOf(C);
  P.uiDefaultQPIndexAlpha = 1;
  P.olOverlap = C.UseCodecOptions ? static_cast<OVERLAP>(std::min<Byte>(C.Overlap, OL_TWO)) : OL_ONE;
  P.bfBitstreamFormat = C.FrequencyOrder ? FREQUENCY : SPATIAL;
  P.bProgressiveMode = C.FrequencyOrder;
  static constexpr COLORFORMAT Subsampled[] = {Y_ONLY, YUV_420, YUV_422, YUV_444};
  if (Format == ie1g || Format == ie8g || Format == ie16g)
    P.cfColorFormat = Y_ONLY;
  else if (Format == ieCMYK)
    P.cfColorFormat = CMYK;
  else if (C.UseCodecOptions && !C.Lossless)
    P.cfColorFormat = Subsampled[std::min<Byte>(C.Subsampling, 3)];
  else
    P.cfColorFormat = YUV_444;
  SetTiles(C.VerticalTileSlices, Width, P.cNumOfSliceMinus1V, P.uiTileX);
  SetTiles(C.HorizontalTileSlices, Height, P.cNumOfSliceMinus1H, P.uiTileY);
  return P;
}

// Encodes the rows of Pixels (Format, Stride apart) as a whole HD Photo file into Encoded.
bool Encode(const CWMIStrCodecParam& Params, const PKPixelFormatGUID& Format, Integer Width, Integer Height,
            Double DpiX, Double DpiY, std::vector<Byte>& Pixels, Int64 Stride, std::vector<Byte>& Encoded) {
  TGrowingStream Output;
  PKImageEncode* Raw = nullptr;
  if (Failed(PKImageEncode_Create_WMP(&Raw)) || Raw == nullptr) return false;
  TEncoderPtr Encoder(Raw);
  CWMIStrCodecParam Copy = Params;
  if (Failed(Encoder->Initialize(Encoder.get(), &Output.Base, &Copy, sizeof(Copy))) ||
      Failed(Encoder->SetPixelFormat(Encoder.get(), Format)) ||
      Failed(Encoder->SetSize(Encoder.get(), Width, Height)) ||
      Failed(Encoder->SetResolution(Encoder.get(), static_cast<Float>(DpiX), static_cast<Float>(DpiY))) ||
      Failed(Encoder->WritePixels(Encoder.get(), static_cast<U32>(Height), Pixels.data(),
                                  static_cast<U32>(Stride))))
    return false;
  Encoder.reset();
  Encoded = std::move(Output.Data);
  return !Encoded.empty();
}

}  // namespace

TIEWICWriter::TIEWICWriter() {
  FFactory = WicAvailable();
  FOptions.DpiX = DefaultDpiX;
  FOptions.DpiY = DefaultDpiY;
}

TIEWICWriter::~TIEWICWriter() {
  // Callers that need to hear of a failed write close first; nobody is left to tell here.
  try {
    Close();
  } catch (...) {
  }
}

bool TIEWICWriter::OpenStream(TStream* Stream, Integer FileType) {
  FStream = Stream;
  FStreamPosition = Stream ? Stream->GetPosition() : 0;
  FFrameDone = false;
  FEncoded.clear();
  return Stream && FileType == ioHDP && FFactory;
}

std::vector<TIEWICProperty> TIEWICWriter::EncoderProperties() const {
  const TIEWICEncoderOptions& O = FOptions;
  std::vector<TIEWICProperty> Bag;
  if (O.ImageQuality >= 0) Bag.push_back({"ImageQuality", static_cast<Single>(O.ImageQuality)});
  if (O.CompressionQuality >= 0)
    Bag.push_back({"CompressionQuality", static_cast<Single>(O.CompressionQuality)});
  Bag.push_back({"Lossless", O.Lossless});
  if (O.UseCodecOptions) {
    Bag.push_back({"UseCodecOptions", true});
    Bag.push_back({"Quality", O.Quality});
    Bag.push_back({"Overlap", O.Overlap});
    Bag.push_back({"Subsampling", O.Subsampling});
  }
  Bag.push_back({"HorizontalTileSlices", O.HorizontalTileSlices});
  Bag.push_back({"VerticalTileSlices", O.VerticalTileSlices});
  Bag.push_back({"FrequencyOrder", O.FrequencyOrder});
  Bag.push_back({"TiffCompressionMethod", O.TiffCompressionOption});
  return Bag;
}

bool TIEWICWriter::WriteFrame(TIEBitmap* Bitmap, TIOParamsVals* Params) {
  if (!FStream || !FFactory || !Bitmap || Bitmap->GetWidth() <= 0 || Bitmap->GetHeight() <= 0) return false;
  if (Params) {
    FOptions.DpiX = Params->DpiX;
    FOptions.DpiY = Params->DpiY;
    FOptions.ImageQuality = Params->HdpImageQuality;
    FOptions.Lossless = Params->HdpLossless;
  }
  // Formats the codec has no counterpart for go as 24-bit copies.
  TIEBitmap Converted;
  TIEBitmap* Source = Bitmap;
  const TPixelPair* Pair = PairOfLibraryFormat(Bitmap->GetPixelFormat());
  if (!Pair) {
    Converted.Assign(Bitmap);
    Converted.ConvertToPixelFormat(ie24RGB);
    if (Converted.GetPixelFormat() != ie24RGB) return false;
    Source = &Converted;
    Pair = PairOfLibraryFormat(ie24RGB);
  }
  const Integer Width = Source->GetWidth(), Height = Source->GetHeight();
  const Int64 Stride = RowBytes(Width, IEBitsPerPixel[Pair->Library]);
  std::vector<Byte> Pixels;
  try {
    Pixels.resize(static_cast<size_t>(Stride * Height));
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (Integer Row = 0; Row < Height; ++Row) {
    Byte* Dest = Pixels.data() + Row * Stride;
    std::memcpy(Dest, Source->GetScanline(Row), static_cast<size_t>(Stride));
    if (Pair->Inverted) InvertBytes(Dest, Stride);
  }
  const CWMIStrCodecParam Codec = CodecParams(ChoiceOf(EncoderProperties()), Pair->Library, Width, Height);
  FFrameDone =
      Encode(Codec, *Pair->Codec, Width, Height, FOptions.DpiX, FOptions.DpiY, Pixels, Stride, FEncoded);
  return FFrameDone;
}

bool TIEWICWriter::Close() {
  if (!FFrameDone || !FStream) return false;
  FFrameDone = false;
  TStream* Stream = FStream;
  FStream = nullptr;
  std::vector<Byte> Encoded = std::move(FEncoded);
  if (Encoded.size() > static_cast<size_t>(std::numeric_limits<Integer>::max())) return false;
  Stream->Seek(FStreamPosition, soBeginning);
  return Stream->Write(Encoded.data(), static_cast<Integer>(Encoded.size())) ==
         static_cast<Integer>(Encoded.size());
}
