// Reading JPEG 2000: the content tests, the YCbCr tables and the decoder's components mapped
// onto ie1g or ie24RGB pictures.
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/formats/iejpeg2000.h"
#include "imaging/formats/iejpeg2000stream.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/iereadlimits.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"

namespace {

// Decoded samples (all components) a byte of coded data may claim. Sub-bands without content
// cost next to nothing: a plain 4000 x 4000 picture takes some 250 bytes.
constexpr Int64 MaxSamplesPerDataByte = Int64(1) << 17;
// The decoder holds every sample as 32 bits: 1 GB at most.
constexpr Int64 MaxDecodedSamples = Int64(1) << 28;
// Boxes looked at while searching a JP2 file's header for its palette.
constexpr Integer MaxHeaderBoxes = 64;

// Reads Count big-endian 32-bit (Wide) or 16-bit values at the position and restores it.
template <size_t Count>
bool ReadBigEndian(TStream* Stream, bool Wide, std::array<Cardinal, Count>& Values) {
  const Int64 Position = Stream->GetPosition();
  const Integer Size = Wide ? 4 : 2;
  Byte Buffer[Count * 4];
  const Integer Got = Stream->Read(Buffer, static_cast<Integer>(Count) * Size);
  Stream->SetPosition(Position);
  if (Got != static_cast<Integer>(Count) * Size) return false;
  for (size_t I = 0; I < Count; ++I) {
    Cardinal V = 0;
    for (Integer B = 0; B < Size; ++B) V = (V << 8) | Buffer[I * Size + B];
    Values[I] = V;
  }
  return true;
}

enum class TJ2kSpace { Grey, RGB, YCbCr, Unsupported };

TJ2kSpace SpaceOf(const opj_image_t& Image) {
  switch (Image.color_space) {
    case OPJ_CLRSPC_GRAY:
      return TJ2kSpace::Grey;
    case OPJ_CLRSPC_SRGB:
      return Image.numcomps >= 3 ? TJ2kSpace::RGB : TJ2kSpace::Unsupported;
    case OPJ_CLRSPC_SYCC:
      return TJ2kSpace::YCbCr;
    case OPJ_CLRSPC_UNKNOWN:
    case OPJ_CLRSPC_UNSPECIFIED:
      // A bare code stream names no colour space: three components or more are RGB.
      return Image.numcomps >= 3 ? TJ2kSpace::RGB : TJ2kSpace::Grey;
    default:
      return TJ2kSpace::Unsupported;
  }
}

// The components that carry colours 0, 1, 2 (as many as the space has), skipping opacity
// components; where a colour has none, RGB takes the component of that number and the
// others component 0.
std::vector<OPJ_UINT32> ColourComponents(const opj_image_t& Image, TJ2kSpace Space) {
  const OPJ_UINT32 Wanted = Space == TJ2kSpace::Grey ? 1 : 3;
  std::vector<OPJ_UINT32> Used;
  for (OPJ_UINT32 I = 0; I < Image.numcomps && Used.size() < Wanted; ++I)
    if (!Image.comps[I].alpha) Used.push_back(I);
  while (Used.size() < Wanted) {
    const auto Index = static_cast<OPJ_UINT32>(Used.size());
    Used.push_back(Space == TJ2kSpace::RGB && Index < Image.numcomps ? Index : 0);
  }
  return Used;
}

bool UsableComponent(const opj_image_comp_t& C) {
  return C.prec >= 1 && C.prec <= 32 && C.w > 0 && C.h > 0 && C.dx > 0 && C.dy > 0;
}

// The boxes from Start to End, each handed to Visit (type, payload start, payload end) until it
// returns true; false when none did or the boxes are broken.
template <typename TVisit>
bool WalkBoxes(TStream* Stream, Int64 Start, Int64 End, TVisit Visit) {
  for (Integer Count = 0; Count < MaxHeaderBoxes && Start + 8 <= End; ++Count) {
    Stream->SetPosition(Start);
    std::array<Cardinal, 2> Box{};
    if (!ReadBigEndian(Stream, true, Box)) return false;
    Int64 Length = Box[0];
    Int64 Payload = Start + 8;
    if (Length == 1) {
      Stream->SetPosition(Payload);
      std::array<Cardinal, 2> Wide{};
      if (!ReadBigEndian(Stream, true, Wide)) return false;
      Length = (static_cast<Int64>(Wide[0]) << 32) | Wide[1];
      Payload += 8;
    } else if (Length == 0) {
      Length = End - Start;
    }
    if (Length < Payload - Start || Length > End - Start) return false;
    if (Visit(Box[1], Payload, Start + Length)) return true;
    Start += Length;
  }
  return false;
}

// The channels a JP2 palette makes of its index component; 0 without a palette.
Integer PaletteChannels(TStream* Stream) {
  const Int64 Position = Stream->GetPosition();
  const Int64 End = Position + std::max<Int64>(IEStreamBytesLeft(Stream), 0);
  Integer Channels = 0;
  WalkBoxes(Stream, Position, End, [&](Cardinal Type, Int64 From, Int64 To) {
    if (Type != 0x6A703268) return false;  // "jp2h"
    return WalkBoxes(Stream, From, To, [&](Cardinal Inner, Int64 Payload, Int64 Stop) {
      if (Inner != 0x70636C72 || Stop - Payload < 3) return false;  // "pclr"
      Byte Header[3];
      Stream->SetPosition(Payload);
      if (Stream->Read(Header, 3) != 3) return false;
      Channels = Header[2];
      return true;
    });
  });
  Stream->SetPosition(Position);
  return Channels;
}

// The samples the decoder will hold, with the components a palette adds.
Int64 SampleCount(const opj_image_t& Image, Integer PaletteChannels) {
  Int64 Samples = 0;
  Int64 Largest = 0;
  for (OPJ_UINT32 I = 0; I < Image.numcomps; ++I) {
    const Int64 Count = static_cast<Int64>(Image.comps[I].w) * Image.comps[I].h;
    Samples += Count;
    Largest = std::max(Largest, Count);
  }
  return Samples + PaletteChannels * Largest;
}

// One component as the picture sees it: the top 8 bits of each sample, picked by picture column
// and row through the component's origin and sub-sampling; outside the component index 0.
class TComponentSampler {
 public:
  TComponentSampler(const opj_image_t& Image, const opj_image_comp_t& C, Integer Width)
      : FComp(C), FShift(32 - static_cast<Integer>(C.prec)), FImageY0(Image.y0), FColumns(Width) {
    for (Integer X = 0; X < Width; ++X)
      FColumns[X] = Index(Image.x0 + static_cast<Int64>(X), C.dx, C.x0, C.w);
  }
  void SelectRow(Integer Y) {
    FRow = FComp.data +
           static_cast<Int64>(Index(FImageY0 + static_cast<Int64>(Y), FComp.dy, FComp.y0, FComp.h)) * FComp.w;
  }
  Byte At(Integer X) const {
    return static_cast<Byte>((static_cast<Cardinal>(FRow[FColumns[X]]) << FShift) >> 24);
  }

 private:
  static OPJ_UINT32 Index(Int64 Grid, OPJ_UINT32 Step, OPJ_UINT32 Origin, OPJ_UINT32 Count) {
    const Int64 I = Grid / Step - Origin;
    return I < 0 || I >= Count ? 0 : static_cast<OPJ_UINT32>(I);
  }
  const opj_image_comp_t& FComp;
  Integer FShift;
  OPJ_UINT32 FImageY0;
  std::vector<OPJ_UINT32> FColumns;
  const OPJ_INT32* FRow = nullptr;
};

void FillRow(Byte* Row, Integer Width, TJ2kSpace Space, bool OneBit, std::vector<TComponentSampler>& S) {
  if (OneBit) {
    for (Integer X = 0; X < Width; ++X) IESetBit(Row, X, S[0].At(X) != 0);
    return;
  }
  if (S.size() == 1) {
    for (Integer X = 0; X < Width; ++X, Row += 3) Row[0] = Row[1] = Row[2] = S[0].At(X);
    return;
  }
  if (Space == TJ2kSpace::RGB) {
    for (Integer X = 0; X < Width; ++X, Row += 3) {
      Row[0] = S[2].At(X);
      Row[1] = S[1].At(X);
      Row[2] = S[0].At(X);
    }
    return;
  }
  const TJpeg2000YCbCrTables& T = Jpeg2000YCbCr();
  for (Integer X = 0; X < Width; ++X, Row += 3) {
    const Integer Y = S[0].At(X);
    const Byte Cb = S[1].At(X);
    const Byte Cr = S[2].At(X);
    Row[0] = IEClampByte(Y + T.CbB[Cb]);
    Row[1] = IEClampByte(Y + T.CbG[Cb] + T.CrG[Cr]);
    Row[2] = IEClampByte(Y + T.CrR[Cr]);
  }
}

TJpeg2000YCbCrTables BuildYCbCrTables() {
  const float Kr = 0.299f;
  const float Kg = 0.587f;
  const float Kb = 0.114f;
  const float Crr = 2 - 2 * Kr;
  const float Cbb = 2 - 2 * Kb;
  const float Crg = Kr * Crr / Kg;
  const float Cbg = Kb * Cbb / Kg;
  const auto Round = [](long double V) { return static_cast<Integer>(std::nearbyint(V)); };
  TJpeg2000YCbCrTables T;
  for (Integer I = 0; I < 256; ++I) {
    const Integer C = I - 128;
    T.CrR[I] = Round(1.402L * C);
    T.CbB[I] = Round(1.772L * C);
    T.CrG[I] = -Round(static_cast<float>(Crg * static_cast<float>(C)));
    T.CbG[I] = -Round(static_cast<float>(Cbg * static_cast<float>(C)));
  }
  return T;
}

// The parameters of a picture the filter can read, and the components it uses; false for
// sizes, colour spaces or components it cannot read. A decoded picture must have its samples.
bool FillParams(const opj_image_t& Image, bool Decoded, TIOParamsVals& IOParams,
                std::vector<OPJ_UINT32>& Used) {
  if (Image.numcomps == 0 || Image.x1 <= Image.x0 || Image.y1 <= Image.y0 ||
      Image.x1 - Image.x0 > 0x7FFFFFFF || Image.y1 - Image.y0 > 0x7FFFFFFF)
    return false;
  const TJ2kSpace Space = SpaceOf(Image);
  if (Space == TJ2kSpace::Unsupported) return false;
  Used = ColourComponents(Image, Space);
  for (const OPJ_UINT32 I : Used)
    if (!UsableComponent(Image.comps[I]) || (Decoded && !Image.comps[I].data)) return false;
  IOParams.SetImageCount(1);
  IOParams.BitsPerSample = static_cast<Integer>(Image.comps[Used[0]].prec);
  IOParams.SamplesPerPixel = static_cast<Integer>(Used.size());
  IOParams.SetDpiX(DefaultDpiX);
  IOParams.SetDpiY(DefaultDpiY);
  IOParams.FreeColorMap();
  IOParams.Width = IOParams.FileWidth = static_cast<Integer>(Image.x1 - Image.x0);
  IOParams.Height = IOParams.FileHeight = static_cast<Integer>(Image.y1 - Image.y0);
  return true;
}

}  // namespace

const TJpeg2000YCbCrTables& Jpeg2000YCbCr() {
  static const TJpeg2000YCbCrTables Tables = BuildYCbCrTables();
  return Tables;
}

void Jpeg2000InitTables() {
  Jpeg2000YCbCr();
}

// OpenJPEG keeps no registrations of its own.
void Jpeg2000FreeTables() {}

bool Jpeg2000IsJp2File(TStream* Stream) {
  std::array<Cardinal, 3> V{};
  return ReadBigEndian(Stream, true, V) && V[0] == 12 && V[1] == 0x6A502020 && V[2] == 0x0D0A870A;
}

bool Jpeg2000IsCodeStream(TStream* Stream) {
  std::array<Cardinal, 2> V{};
  return ReadBigEndian(Stream, false, V) && V[0] == 0xFF4F && V[1] == 0xFF51;
}

void Jpeg2000ReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, bool Preview,
                        TIEIOProgress& Progress) {
  const bool Jp2 = Jpeg2000IsJp2File(Stream);
  if (!Jp2 && !Jpeg2000IsCodeStream(Stream)) {
    IESetAborting(Progress);
    return;
  }
  const Integer Palette = Jp2 ? PaletteChannels(Stream) : 0;
  TJpeg2000Stream Source(Stream, true);
  TJpeg2000Codec Codec(opj_create_decompress(Jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K));
  opj_dparameters_t Parameters;
  opj_set_default_decoder_parameters(&Parameters);
  opj_image_t* Header = nullptr;
  const bool HeaderRead = Source.Get() && !Codec.GetFailed() && opj_setup_decoder(Codec.Get(), &Parameters) &&
                          opj_read_header(Source.Get(), Codec.Get(), &Header);
  const std::unique_ptr<opj_image_t, TJpeg2000ImageDeleter> Image(Header);
  std::vector<OPJ_UINT32> Used;
  // The header names no colour space yet (the decoder applies the JP2 boxes): the parameters
  // come from the component count first and again from the decoded picture.
  if (!HeaderRead || !Image || !FillParams(*Image, false, IOParams, Used)) {
    IESetAborting(Progress);
    return;
  }
  if (Preview) return;

  // The decoder allocates every component whole: refuse a claim the data cannot back.
  const Int64 Samples = SampleCount(*Image, Palette);
  if (Samples > MaxDecodedSamples ||
      IEClaimExceedsData(Samples, 1, Source.GetDataBytes(), MaxSamplesPerDataByte) ||
      !opj_decode(Codec.Get(), Source.Get(), Image.get()) || !opj_end_decompress(Codec.Get(), Source.Get()) ||
      Codec.GetFailed() || !FillParams(*Image, true, IOParams, Used)) {
    IESetAborting(Progress);
    return;
  }
  const TJ2kSpace Space = SpaceOf(*Image);
  const auto Width = static_cast<Integer>(Image->x1 - Image->x0);
  const auto Height = static_cast<Integer>(Image->y1 - Image->y0);
  const bool OneBit = IOParams.BitsPerSample == 1 && Used.size() == 1;
  if (!Bitmap->Allocate(Width, Height, OneBit ? ie1g : ie24RGB)) {
    IESetAborting(Progress);
    return;
  }
  std::vector<TComponentSampler> Samplers;
  Samplers.reserve(Used.size());
  for (const OPJ_UINT32 I : Used) Samplers.emplace_back(*Image, Image->comps[I], Width);
  IEStartProgress(Progress, Height);
  for (Integer Y = 0; Y < Height; ++Y) {
    for (TComponentSampler& S : Samplers) S.SelectRow(Y);
    FillRow(static_cast<Byte*>(Bitmap->GetScanline(Y)), Width, Space, OneBit, Samplers);
    IEReportProgress(Progress, Y + 1);
    if (IEIsAborting(Progress)) break;
  }
}
