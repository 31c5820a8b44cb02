// The PSD writer: PackBits rows, the layout of headers, layer records and masks, every pixel
// format read back unchanged, failures, and ImageMagick as an outside reader and writer.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "imaging/core/ieiptc.h"
#include "imaging/formats/iepsdcursor.h"
#include "tests/imaging/formats/PsdTestSupport.h"

namespace {

std::vector<Byte> Pack(const std::vector<Byte>& Row) {
  std::vector<Byte> Out(Row.size() + Row.size() / 128 + 1);
  Out.resize(PsdPackRow(Row.data(), static_cast<Integer>(Row.size()), Out.data()));
  return Out;
}

TEST(PsdPackRow, RunsOfFourOrMoreAreRepeatsAndLiteralsGatherUpTo128) {
  EXPECT_EQ(Pack(std::vector<Byte>(200, 7)), (std::vector<Byte>{0x81, 7, 0xB9, 7}));
  EXPECT_EQ(Pack({1, 1, 1, 2}), (std::vector<Byte>{3, 1, 1, 1, 2}));
  EXPECT_EQ(Pack({5, 1, 1, 1, 1}), (std::vector<Byte>{0, 5, 0xFD, 1}));
  std::vector<Byte> Distinct(130);
  for (size_t I = 0; I < Distinct.size(); ++I) Distinct[I] = static_cast<Byte>(I);
  const std::vector<Byte> P = Pack(Distinct);
  ASSERT_EQ(P.size(), 132u);
  EXPECT_EQ(P[0], 127);
  EXPECT_EQ(P[129], 1);
  std::mt19937 Random(5);
  for (Integer Trial = 0; Trial < 50; ++Trial) {
    std::vector<Byte> Row(1 + Random() % 700);
    for (Byte& B : Row) B = static_cast<Byte>(Random() % 3 == 0 ? Random() : 9);
    const std::vector<Byte> Packed = Pack(Row);
    std::vector<Byte> Back(Row.size());
    PsdUnpackRow(Packed.data(), static_cast<Integer>(Packed.size()), Back.data(),
                 static_cast<Integer>(Back.size()));
    EXPECT_EQ(Back, Row);
  }
}

std::vector<Byte> Write(TIEBitmap* Bitmap, const TIEPsdLayerList& Layers, TIOParamsVals* Params = nullptr,
                        bool* Aborted = nullptr) {
  TIOParamsVals Own;
  TTestProgress P;
  TMemoryStream Stream;
  PsdWriteStream(&Stream, Params ? *Params : Own, P.Progress, Bitmap, Layers);
  if (Aborted) *Aborted = P.Aborting;
  return StreamBytes(Stream);
}

Integer BE16(const std::vector<Byte>& B, size_t At) {
  return (B[At] << 8) | B[At + 1];
}
Int64 BE32(const std::vector<Byte>& B, size_t At) {
  return (Int64{B[At]} << 24) | (B[At + 1] << 16) | (B[At + 2] << 8) | B[At + 3];
}

// Pixels with every byte different from its neighbours, so swapped channels show.
void FillPattern(TIEBitmap& B) {
  for (Integer Y = 0; Y < B.GetHeight(); ++Y) {
    Byte* Row = static_cast<Byte*>(B.GetScanline(Y));
    for (Integer I = 0; I < B.GetRowLen(); ++I) Row[I] = static_cast<Byte>(I * 37 + Y * 11 + 3);
  }
}

bool SamePixels(TIEBitmap& A, TIEBitmap& B) {
  if (A.GetWidth() != B.GetWidth() || A.GetHeight() != B.GetHeight() ||
      A.GetPixelFormat() != B.GetPixelFormat())
    return false;
  const Integer Bytes = static_cast<Integer>((static_cast<Int64>(A.GetWidth()) * A.GetBitCount() + 7) / 8);
  for (Integer Y = 0; Y < A.GetHeight(); ++Y)
    if (std::memcmp(A.GetScanline(Y), B.GetScanline(Y), Bytes) != 0) return false;
  return true;
}

TEST(PsdWrite, EveryPixelFormatWithoutLayersComesBackUnchanged) {
  for (TIEPixelFormat Format : {ie1g, ie8p, ie8g, ie16g, ie24RGB, ieRGB48, ieCMYK, ieCIELab}) {
    TIEBitmap Picture(11, 3, Format);
    FillPattern(Picture);
    if (Format == ie8p)
      for (Integer I = 0; I < 256; ++I) Picture.SetPaletteColor(I, {Byte(I), Byte(255 - I), Byte(I * 3)});
    const std::vector<Byte> File = Write(&Picture, {});
    const size_t Layers =
        26 + 4 + (Format == ie8p ? 768 : 0) + 4 + BE32(File, 26 + 4 + (Format == ie8p ? 768 : 0));
    EXPECT_EQ(BE32(File, Layers), 0) << int(Format);
    TPsdRead R;
    R.Params.NativePixelFormat = true;
    R.Load(File);
    ASSERT_FALSE(R.P.Aborting) << int(Format);
    EXPECT_TRUE(SamePixels(Picture, R.Bitmap)) << int(Format);
    if (Format == ie8p) {
      TIERGBTriple C;
      R.Bitmap.GetPaletteColor(200, C);
      EXPECT_EQ(C, (TIERGBTriple{200, 55, Byte(600)}));
    }
  }
}

TEST(PsdWrite, ThirtyTwoBitPicturesKeepTheirColoursAndPalettesMarkNoIndexTransparentWithoutAlpha) {
  TIEBitmap Wide(3, 2, ie32RGB);
  FillPattern(Wide);
  TPsdRead R;
  R.Load(Write(&Wide, {}));
  ASSERT_FALSE(R.P.Aborting);
  for (Integer X = 0; X < 3; ++X) EXPECT_EQ(R.Bitmap.GetPixel24(X, 1), Wide.GetPixelRGB(X, 1)) << X;

  TIEBitmap Indexed(2, 1, ie8p);
  Indexed.Fill(255);
  TPsdRead Opaque;
  Opaque.Params.NativePixelFormat = true;
  Opaque.Load(Write(&Indexed, {}));
  EXPECT_FALSE(Opaque.Bitmap.HasAlphaChannel());
  Indexed.GetAlphaChannel()->Fill(0);
  TPsdRead Transparent;
  Transparent.Params.NativePixelFormat = true;
  Transparent.Load(Write(&Indexed, {}));
  ASSERT_TRUE(Transparent.Bitmap.HasAlphaChannel());
  EXPECT_EQ(Transparent.Bitmap.GetAlpha(1, 0), 0);
}

TEST(PsdWrite, HeaderAndResolutionFollowThePicture) {
  TIEBitmap Picture(5, 4, ie24RGB);
  TIOParamsVals Params;
  Params.SetDpiX(300);
  Params.SetDpiY(72);
  const std::vector<Byte> F = Write(&Picture, {}, &Params);
  EXPECT_EQ(std::string(F.begin(), F.begin() + 4), "8BPS");
  EXPECT_EQ(BE16(F, 12), 3);
  EXPECT_EQ(BE32(F, 14), 4);
  EXPECT_EQ(BE32(F, 18), 5);
  EXPECT_EQ(BE16(F, 22), 8);
  EXPECT_EQ(BE16(F, 24), 3);
  EXPECT_EQ(std::string(F.begin() + 34, F.begin() + 38), "8BIM");
  EXPECT_EQ(BE16(F, 38), 1005);
  EXPECT_EQ(BE32(F, 46), 300 * 65536);
  EXPECT_EQ(BE32(F, 54), 72 * 65536);
}

// A 3 x 2 layer at (2, 1) with alpha, hidden, named "ab", with a 2 x 1 mask at (4, 5).
TIEPsdLayerList MaskedLayers() {
  TIEPsdLayerList Layers(1);
  TIEPsdLayer& L = Layers[0];
  L.Bitmap = std::make_unique<TIEBitmap>(3, 2, ie24RGB);
  FillPattern(*L.Bitmap);
  L.Bitmap->GetAlphaChannel()->Fill(90);
  L.Bitmap->SetAlpha(1, 1, 7);
  L.PosX = 2, L.PosY = 1, L.Visible = false, L.Name = "ab", L.Transparency = 200;
  L.Mask = std::make_unique<TIEBitmap>(2, 1, ie8g);
  L.Mask->SetPixel8(0, 0, 33);
  L.Mask->SetPixel8(1, 0, 44);
  L.MaskX = 4, L.MaskY = 5;
  return Layers;
}

TEST(PsdWrite, ALayerWithAlphaAndMaskHasItsChannelListMaskRecordFlagsAndPaddedName) {
  TIEBitmap Picture(6, 6, ie24RGB);
  const std::vector<Byte> F = Write(&Picture, MaskedLayers());
  const size_t Section = 26 + 4 + 4 + BE32(F, 30);
  EXPECT_EQ(BE16(F, Section + 8), 1);  // layer count
  const size_t R = Section + 10;
  EXPECT_EQ(BE32(F, R), 1);
  EXPECT_EQ(BE32(F, R + 4), 2);
  EXPECT_EQ(BE32(F, R + 8), 3);
  EXPECT_EQ(BE32(F, R + 12), 5);
  ASSERT_EQ(BE16(F, R + 16), 5);
  const Integer Ids[] = {0xFFFF, 0, 1, 2, 0xFFFE};
  for (Integer I = 0; I < 5; ++I) EXPECT_EQ(BE16(F, R + 18 + 6 * I), Ids[I]) << I;
  const size_t Blend = R + 18 + 30;
  EXPECT_EQ(std::string(F.begin() + Blend, F.begin() + Blend + 8), "8BIMnorm");
  EXPECT_EQ(F[Blend + 8], 200);
  EXPECT_EQ(F[Blend + 10], 2);  // hidden
  const size_t Extra = Blend + 12;
  EXPECT_EQ(BE32(F, Extra), 4 + 20 + 4 + 4);
  EXPECT_EQ(BE32(F, Extra + 4), 20);
  EXPECT_EQ(BE32(F, Extra + 8), 5);   // mask top
  EXPECT_EQ(BE32(F, Extra + 12), 4);  // mask left
  EXPECT_EQ(BE32(F, Extra + 16), 6);
  EXPECT_EQ(BE32(F, Extra + 20), 6);
  const size_t Name = Extra + 4 + 24 + 4;
  EXPECT_EQ(F[Name], 2);
  EXPECT_EQ(F[Name + 1], 'a');
  EXPECT_EQ(F[Name + 2], 'b');
  EXPECT_EQ(F[Name + 3], 1);
}

TEST(PsdWrite, LayersAndMasksReadBackAsWritten) {
  TIEBitmap Picture(6, 6, ie24RGB);
  const TIEPsdLayerList Written = MaskedLayers();
  TPsdRead R;
  R.Load(Write(&Picture, Written), true);
  ASSERT_FALSE(R.P.Aborting);
  ASSERT_EQ(R.Layers.size(), 1u);
  const TIEPsdLayer& L = R.Layers[0];
  EXPECT_EQ(L.PosX, 2);
  EXPECT_EQ(L.PosY, 1);
  EXPECT_FALSE(L.Visible);
  EXPECT_EQ(L.Name, "ab");
  EXPECT_EQ(L.Transparency, 200);
  EXPECT_TRUE(SamePixels(*Written[0].Bitmap, *L.Bitmap));
  EXPECT_EQ(L.Bitmap->GetAlpha(0, 0), 90);
  EXPECT_EQ(L.Bitmap->GetAlpha(1, 1), 7);
  ASSERT_TRUE(L.Mask);
  EXPECT_EQ(L.MaskX, 4);
  EXPECT_EQ(L.MaskY, 5);
  EXPECT_EQ(L.Mask->GetPixel8(1, 0), 44);
}

TEST(PsdWrite, IptcXmpAndTheJpegThumbnailReadBackAndTheThumbnailCanBeThePicture) {
  TIEBitmap Picture(9, 7, ie24RGB);
  FillPattern(Picture);
  TIOParamsVals Params;
  Params.XmpInfo = "<x:xmpmeta/>";
  Params.IPTCInfo->AddItem(2, 120, 5, "hello");
  TIEBitmap* Thumbnail = Params.ExifThumbnailNeeded();
  Thumbnail->Allocate(8, 6, ie24RGB);
  Thumbnail->Fill(0x808080);
  const std::vector<Byte> File = Write(&Picture, {}, &Params);

  TPsdRead R;
  R.Load(File);
  ASSERT_FALSE(R.P.Aborting);
  EXPECT_EQ(R.Params.XmpInfo, "<x:xmpmeta/>");
  // The record-version dataset comes first.
  ASSERT_EQ(R.Params.IPTCInfo->Count(), 2);
  EXPECT_EQ(R.Params.IPTCInfo->GetDataSet(1), 120);
  EXPECT_EQ(R.Params.IPTCInfo->GetItemLength(1), 5);
  ASSERT_NE(R.Params.GetExifThumbnail(), nullptr);
  EXPECT_EQ(R.Params.GetExifThumbnail()->GetWidth(), 8);
  EXPECT_EQ(R.Bitmap.GetWidth(), 9);

  TPsdRead AsThumbnail;
  AsThumbnail.Params.GetThumbnail = true;
  AsThumbnail.Load(File);
  ASSERT_FALSE(AsThumbnail.P.Aborting);
  EXPECT_EQ(AsThumbnail.Bitmap.GetWidth(), 8);
  EXPECT_EQ(AsThumbnail.Bitmap.GetHeight(), 6);
}

TEST(PsdWrite, ANameLongerThanItsLengthByteIsCutAt255) {
  TIEBitmap Picture(6, 6, ie24RGB);
  TIEPsdLayerList Layers = MaskedLayers();
  Layers[0].Name = std::string(300, 'n');
  TPsdRead R;
  R.Load(Write(&Picture, Layers), true);
  ASSERT_FALSE(R.P.Aborting);
  ASSERT_EQ(R.Layers.size(), 1u);
  EXPECT_EQ(R.Layers[0].Name, std::string(255, 'n'));
}

TEST(PsdWrite, UnwritableFormatsAndShortWritesAbort) {
  for (TIEPixelFormat Format : {ie32f, ieNull}) {
    TIEBitmap Picture;
    if (Format != ieNull) Picture.Allocate(2, 2, Format);
    bool Aborted = false;
    EXPECT_TRUE(Write(&Picture, {}, nullptr, &Aborted).empty());
    EXPECT_TRUE(Aborted);
  }
  TIEBitmap Wide(30001, 1, ie8g);
  bool Aborted = false;
  EXPECT_TRUE(Write(&Wide, {}, nullptr, &Aborted).empty());
  EXPECT_TRUE(Aborted);

  TIEBitmap Picture(4, 4, ie24RGB);
  TLimitedStream Short(40);
  TIOParamsVals Params;
  TTestProgress P;
  PsdWriteStream(&Short, Params, P.Progress, &Picture, {});
  EXPECT_TRUE(P.Aborting);
}

// ImageMagick's reading of one frame of a file as 8-bit RGBA bytes.
std::vector<Byte> MagickRgba(const std::string& Path, Integer Frame) {
  const std::string Out =
      ShellOutput("convert '" + Path + "[" + std::to_string(Frame) + "]' -depth 8 rgba:- 2>/dev/null");
  return {Out.begin(), Out.end()};
}

std::vector<Byte> OurRgba(TIEBitmap& B) {
  std::vector<Byte> Out;
  for (Integer Y = 0; Y < B.GetHeight(); ++Y)
    for (Integer X = 0; X < B.GetWidth(); ++X) {
      const TIERGBTriple C = B.GetPixelRGB(X, Y);
      Out.insert(Out.end(),
                 {C.rgbtRed, C.rgbtGreen, C.rgbtBlue, B.HasAlphaChannel() ? B.GetAlpha(X, Y) : Byte(255)});
    }
  return Out;
}

TEST(PsdWrite, ImageMagickReadsTheMergedPictureAndEachLayer) {
  if (!ToolPresent("convert")) GTEST_SKIP() << "ImageMagick is not installed";
  TIEBitmap Picture(6, 4, ie24RGB);
  FillPattern(Picture);
  TIEPsdLayerList Layers = MaskedLayers();
  Layers.emplace_back();
  Layers[1].Bitmap = std::make_unique<TIEBitmap>(2, 2, ie24RGB);
  FillPattern(*Layers[1].Bitmap);
  Layers[1].Name = "second";
  TTempFile File("layers.psd");
  File.Write(Write(&Picture, Layers));
  EXPECT_EQ(MagickRgba(File.Path(), 0), OurRgba(Picture));
  // ImageMagick applies a layer's opacity and mask to its alpha: compare the colours.
  for (Integer I = 0; I < 2; ++I) {
    const std::vector<Byte> Theirs = MagickRgba(File.Path(), I + 1);
    const std::vector<Byte> Ours = OurRgba(*Layers[I].Bitmap);
    ASSERT_EQ(Theirs.size(), Ours.size()) << I;
    for (size_t K = 0; K < Ours.size(); ++K) {
      if (K % 4 == 3) continue;
      EXPECT_EQ(Theirs[K], Ours[K]) << I << " " << K;
    }
  }
  EXPECT_NE(ShellOutput("identify -format '%[label]\\n' '" + File.Path() + "' 2>/dev/null").find("second"),
            std::string::npos);
}

TEST(PsdRead, ReadsWhatImageMagickWritesAsItReadsIt) {
  if (!ToolPresent("convert")) GTEST_SKIP() << "ImageMagick is not installed";
  const std::string Picture = "-size 7x5 gradient:'#204080-#E0C010' -fill '#10F030' -draw 'point 2,3'";
  const std::string Alpha = " -alpha set -channel A -evaluate set ";
  // ImageMagick 6 misreads the merged picture of its own files with alpha; its one layer, which
  // covers the whole picture, holds the same pixels.
  const struct {
    std::string Options;
    Integer Frame;
  } Cases[] = {
      {Picture + " -depth 8 -compress RLE", 0},
      {Picture + " -depth 8 -compress None", 0},
      {Picture + " -colorspace Gray -depth 8 -compress RLE", 0},
      {Picture + " -colorspace Gray -depth 8 -compress None", 0},
      {Picture + Alpha + "40% +channel -depth 8 -compress RLE", 1},
      {Picture + Alpha + "70% +channel -depth 8 -compress None", 1},
      {Picture + " -colorspace Gray" + Alpha + "70% +channel -depth 8 -compress RLE", 1},
  };
  for (const auto& C : Cases) {
    TTempFile File("magick.psd");
    ShellOutput("convert " + C.Options + " '" + File.Path() + "' 2>/dev/null");
    TPsdRead R;
    R.Load(File.Read());
    ASSERT_FALSE(R.P.Aborting) << C.Options;
    EXPECT_EQ(OurRgba(R.Bitmap), MagickRgba(File.Path(), C.Frame)) << C.Options;
  }
}

}  // namespace
