// Writing JPEG 2000: an ie24RGB or ie1g picture as grey or RGB components (with the alpha
// channel as a fourth when it is not fully opaque), coded by OpenJPEG into the caller's stream.
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iecolorspace.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/formats/iejpeg2000.h"
#include "imaging/formats/iejpeg2000stream.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/zezudidioparams.h"

namespace {

// OpenJPEG's default number of resolution levels, which the smallest side may lower.
constexpr Integer MaxResolutions = 6;

using TScale = std::array<OPJ_INT32, 256>;

// round(byte / 255 x maxval) for every byte.
TScale ScaleTable(Integer Bits) {
  const double MaxVal = static_cast<double>((Int64(1) << Bits) - 1);
  TScale T{};
  for (Integer I = 0; I < 256; ++I) T[I] = static_cast<OPJ_INT32>(std::nearbyint(I / 255.0 * MaxVal));
  return T;
}

// A picture side must hold one sample at the coarsest resolution level.
Integer ResolutionsFor(Integer Width, Integer Height) {
  Integer Levels = MaxResolutions;
  while (Levels > 1 && ((Width >> (Levels - 1)) == 0 || (Height >> (Levels - 1)) == 0)) --Levels;
  return Levels;
}

opj_image_t* CreateImage(Integer Width, Integer Height, Integer Bits, OPJ_UINT32 Count) {
  std::array<opj_image_cmptparm_t, 4> Parts{};
  for (OPJ_UINT32 I = 0; I < Count; ++I) {
    Parts[I].dx = Parts[I].dy = 1;
    Parts[I].w = static_cast<OPJ_UINT32>(Width);
    Parts[I].h = static_cast<OPJ_UINT32>(Height);
    Parts[I].prec = static_cast<OPJ_UINT32>(Bits);
    Parts[I].sgnd = 0;
  }
  opj_image_t* Image = opj_image_create(Count, Parts.data(), Count == 1 ? OPJ_CLRSPC_GRAY : OPJ_CLRSPC_SRGB);
  if (!Image) return nullptr;
  Image->x1 = static_cast<OPJ_UINT32>(Width);
  Image->y1 = static_cast<OPJ_UINT32>(Height);
  if (Count == 4) Image->comps[3].alpha = 1;
  return Image;
}

// Fills the components row by row; false when the caller aborted.
bool FillComponents(TIEBitmap* Bitmap, opj_image_t& Image, Integer Bits, TIEIOProgress& Progress) {
  const Integer Width = Bitmap->GetWidth();
  const Integer Height = Bitmap->GetHeight();
  const bool OneBit = Bitmap->GetPixelFormat() == ie1g;
  const TScale Scale = ScaleTable(Bits);
  TIEBitmap* Alpha = Image.numcomps == 4 ? Bitmap->GetAlphaChannel() : nullptr;
  IEStartProgress(Progress, Height);
  for (Integer Y = 0; Y < Height; ++Y) {
    const auto* Row = static_cast<const Byte*>(Bitmap->GetScanline(Y));
    const Int64 At = static_cast<Int64>(Y) * Width;
    if (Image.numcomps == 1) {
      OPJ_INT32* Grey = Image.comps[0].data + At;
      if (OneBit) {
        for (Integer X = 0; X < Width; ++X) Grey[X] = IEGetBit(Row, X) ? 1 : 0;
      } else {
        for (Integer X = 0; X < Width; ++X, Row += 3)
          Grey[X] = Scale[(Row[2] * IEGrayWeightR + Row[1] * IEGrayWeightG + Row[0] * IEGrayWeightB) / 100];
      }
    } else {
      OPJ_INT32* R = Image.comps[0].data + At;
      OPJ_INT32* G = Image.comps[1].data + At;
      OPJ_INT32* B = Image.comps[2].data + At;
      for (Integer X = 0; X < Width; ++X, Row += 3) {
        R[X] = Scale[Row[2]];
        G[X] = Scale[Row[1]];
        B[X] = Scale[Row[0]];
      }
      if (Alpha) {
        const auto* A = static_cast<const Byte*>(Alpha->GetScanline(Y));
        OPJ_INT32* Out = Image.comps[3].data + At;
        for (Integer X = 0; X < Width; ++X) Out[X] = Scale[A[X]];
      }
    }
    IEReportProgress(Progress, Y + 1);
    if (IEIsAborting(Progress)) return false;
  }
  return true;
}

opj_cparameters_t EncoderParameters(const TIOParamsVals& IOParams, const opj_image_t& Image) {
  opj_cparameters_t P;
  opj_set_default_encoder_parameters(&P);
  P.tcp_numlayers = 1;
  P.cp_disto_alloc = 1;
  // The rate is the coded size as a fraction of the raw size; OpenJPEG takes the inverse ratio,
  // 0 for lossless.
  const Double Rate = IOParams.J2000Rate;
  P.tcp_rates[0] = Rate > 0 && Rate < 1 ? static_cast<float>(1 / Rate) : 0;
  P.prog_order = IOParams.J2000ProgressionOrder == 1 ? OPJ_RLCP : OPJ_LRCP;
  P.tcp_mct = Image.numcomps >= 3 ? 1 : 0;
  P.numresolution = ResolutionsFor(static_cast<Integer>(Image.x1), static_cast<Integer>(Image.y1));
  return P;
}

}  // namespace

void Jpeg2000WriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, Integer Format,
                         TIEIOProgress& Progress) {
  const TIEPixelFormat PixelFormat = Bitmap->GetPixelFormat();
  if (PixelFormat == ie1g) {
    IOParams.BitsPerSample = 1;
    IOParams.J2000ColorSpace = 0;
  }
  const Integer Bits = IOParams.BitsPerSample;
  const Integer Space = IOParams.J2000ColorSpace;
  const Integer Width = Bitmap->GetWidth();
  const Integer Height = Bitmap->GetHeight();
  // Nothing is written for what the coder cannot hold: a wrong pixel format, an empty picture,
  // a sample size or colour space it does not know, an unknown container.
  if ((PixelFormat != ie24RGB && PixelFormat != ie1g) || Width <= 0 || Height <= 0 || Bits < 1 || Bits > 16 ||
      Space > 2 || (Format != 0 && Format != 1)) {
    IESetAborting(Progress);
    return;
  }
  const bool WithAlpha = Space != 0 && Bitmap->HasAlphaChannel() && !Bitmap->GetAlphaChannel()->GetFull();
  const OPJ_UINT32 Count = Space == 0 ? 1 : (WithAlpha ? 4 : 3);
  const std::unique_ptr<opj_image_t, TJpeg2000ImageDeleter> Image(CreateImage(Width, Height, Bits, Count));
  if (!Image || !FillComponents(Bitmap, *Image, Bits, Progress)) {
    IESetAborting(Progress);
    return;
  }
  opj_cparameters_t Parameters = EncoderParameters(IOParams, *Image);
  TJpeg2000Codec Codec(opj_create_compress(Format == 1 ? OPJ_CODEC_J2K : OPJ_CODEC_JP2));
  TJpeg2000Stream Target(Stream, false);
  const bool Written = Target.Get() && !Codec.GetFailed() &&
                       opj_setup_encoder(Codec.Get(), &Parameters, Image.get()) &&
                       opj_start_compress(Codec.Get(), Image.get(), Target.Get()) &&
                       opj_encode(Codec.Get(), Target.Get()) && opj_end_compress(Codec.Get(), Target.Get());
  if (!Written || Codec.GetFailed()) IESetAborting(Progress);
}
