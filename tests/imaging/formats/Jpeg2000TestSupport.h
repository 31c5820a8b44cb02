#pragma once
// JPEG 2000 test pieces: code streams and JP2 files made straight with OpenJPEG from component
// arrays (sub-sampled, odd precisions, opacity), and the filter's reader and writer over memory.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/iejpeg2000.h"
#include "imaging/formats/iejpeg2000stream.h"
#include "imaging/io/zezudidioparams.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

struct TTestComponent {
  OPJ_UINT32 Dx = 1;
  OPJ_UINT32 Dy = 1;
  OPJ_UINT32 Prec = 8;
  bool Alpha = false;
  // Row by row over the component's own size, (Width + Dx - 1) / Dx samples a row.
  std::vector<OPJ_INT32> Data;
};

// Losslessly codes the components of a Width x Height picture.
inline std::vector<Byte> EncodeComponents(const std::vector<TTestComponent>& Comps, OPJ_UINT32 Width,
                                          OPJ_UINT32 Height, OPJ_COLOR_SPACE Space, bool Jp2) {
  std::vector<opj_image_cmptparm_t> Parts(Comps.size());
  for (size_t I = 0; I < Comps.size(); ++I) {
    Parts[I] = {};
    Parts[I].dx = Comps[I].Dx;
    Parts[I].dy = Comps[I].Dy;
    Parts[I].w = (Width + Comps[I].Dx - 1) / Comps[I].Dx;
    Parts[I].h = (Height + Comps[I].Dy - 1) / Comps[I].Dy;
    Parts[I].prec = Comps[I].Prec;
  }
  const std::unique_ptr<opj_image_t, TJpeg2000ImageDeleter> Image(
      opj_image_create(static_cast<OPJ_UINT32>(Comps.size()), Parts.data(), Space));
  Image->x1 = Width;
  Image->y1 = Height;
  for (size_t I = 0; I < Comps.size(); ++I) {
    Image->comps[I].alpha = Comps[I].Alpha ? 1 : 0;
    EXPECT_EQ(Comps[I].Data.size(), size_t(Parts[I].w) * Parts[I].h);
    std::copy(Comps[I].Data.begin(), Comps[I].Data.end(), Image->comps[I].data);
  }
  opj_cparameters_t P;
  opj_set_default_encoder_parameters(&P);
  P.numresolution = 1;
  P.tcp_mct = 0;
  TMemoryStream Out;
  TJpeg2000Codec Codec(opj_create_compress(Jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K));
  {
    TJpeg2000Stream Target(&Out, false);
    const bool Done = opj_setup_encoder(Codec.Get(), &P, Image.get()) &&
                      opj_start_compress(Codec.Get(), Image.get(), Target.Get()) &&
                      opj_encode(Codec.Get(), Target.Get()) && opj_end_compress(Codec.Get(), Target.Get());
    EXPECT_TRUE(Done);
  }
  return StreamBytes(Out);
}

// Decodes a file back to OpenJPEG's own image, for checks of what the writer put there.
inline std::unique_ptr<opj_image_t, TJpeg2000ImageDeleter> DecodeToImage(const std::vector<Byte>& File,
                                                                         bool Jp2) {
  TMemoryStream In;
  LoadBytes(In, File);
  TJpeg2000Stream Source(&In, true);
  TJpeg2000Codec Codec(opj_create_decompress(Jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K));
  opj_dparameters_t P;
  opj_set_default_decoder_parameters(&P);
  opj_image_t* Raw = nullptr;
  const bool Read = opj_setup_decoder(Codec.Get(), &P) && opj_read_header(Source.Get(), Codec.Get(), &Raw);
  std::unique_ptr<opj_image_t, TJpeg2000ImageDeleter> Image(Raw);
  if (!Read || !opj_decode(Codec.Get(), Source.Get(), Image.get())) Image.reset();
  return Image;
}

struct TJ2kLoaded {
  TIEBitmap Bitmap;
  TIOParamsVals Params;
  bool Aborting = false;
};

inline std::unique_ptr<TJ2kLoaded> LoadJ2k(const std::vector<Byte>& File, bool Preview = false) {
  auto L = std::make_unique<TJ2kLoaded>();
  TMemoryStream S;
  LoadBytes(S, File);
  TTestProgress P;
  Jpeg2000ReadStream(&S, &L->Bitmap, L->Params, Preview, P.Progress);
  L->Aborting = P.Aborting;
  return L;
}

// Writes B with P; Format 0 JP2, 1 code stream. Aborting reports the writer's failure.
inline std::vector<Byte> SaveJ2k(TIEBitmap& B, TIOParamsVals& P, Integer Format, bool* Aborting = nullptr) {
  TMemoryStream S;
  TTestProgress Progress;
  Jpeg2000WriteStream(&S, &B, P, Format, Progress.Progress);
  if (Aborting)
    *Aborting = Progress.Aborting;
  else
    EXPECT_FALSE(Progress.Aborting);
  return StreamBytes(S);
}
