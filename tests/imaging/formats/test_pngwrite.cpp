// The PNG writer: files read back by plain libpng calls and by the PNG reader, and checked by
// pngcheck.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <memory>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/formats/iepngwrite.h"
#include "imaging/io/pngfilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Exceptions.h"
#include "platform/system/StringList.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

namespace {

TIERGBTriple BGR(Byte R, Byte G, Byte B) {
  return {B, G, R};
}

// What plain libpng finds in a file, rows without any transformation.
struct TPngFacts {
  png_uint_32 Width = 0, Height = 0;
  int Depth = 0, ColorType = 0, Interlace = 0;
  int PaletteCount = 0, TransparentCount = 0, TextCount = 0;
  std::vector<png_color> Palette;
  std::vector<Byte> Transparency;
  bool HasBackground = false;
  png_color_16 Background{};
  png_uint_32 PixelsPerMetre = 0;
  std::vector<std::vector<Byte>> Rows;
};

struct TPngSource {
  const std::vector<Byte>* Data;
  size_t Pos = 0;
};

void ReadFromVector(png_structp Png, png_bytep Out, size_t Length) {
  auto* S = static_cast<TPngSource*>(png_get_io_ptr(Png));
  ASSERT_LE(S->Pos + Length, S->Data->size());
  std::copy_n(S->Data->begin() + static_cast<long>(S->Pos), Length, Out);
  S->Pos += Length;
}

TPngFacts Inspect(const std::vector<Byte>& File) {
  TPngFacts F;
  TPngSource Source{&File};
  png_structp Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop Info = png_create_info_struct(Png);
  png_set_read_fn(Png, &Source, ReadFromVector);
  png_read_info(Png, Info);
  png_get_IHDR(Png, Info, &F.Width, &F.Height, &F.Depth, &F.ColorType, &F.Interlace, nullptr, nullptr);
  png_colorp Palette = nullptr;
  if (png_get_PLTE(Png, Info, &Palette, &F.PaletteCount)) F.Palette.assign(Palette, Palette + F.PaletteCount);
  png_bytep Trans = nullptr;
  if (png_get_tRNS(Png, Info, &Trans, &F.TransparentCount, nullptr))
    F.Transparency.assign(Trans, Trans + F.TransparentCount);
  png_color_16p Back = nullptr;
  F.HasBackground = png_get_bKGD(Png, Info, &Back) != 0;
  if (F.HasBackground) F.Background = *Back;
  F.PixelsPerMetre = png_get_x_pixels_per_meter(Png, Info);
  png_textp Texts = nullptr;
  png_get_text(Png, Info, &Texts, &F.TextCount);
  png_set_interlace_handling(Png);
  png_read_update_info(Png, Info);
  F.Rows.assign(F.Height, std::vector<Byte>(png_get_rowbytes(Png, Info)));
  std::vector<png_bytep> Pointers;
  for (auto& R : F.Rows) Pointers.push_back(R.data());
  png_read_image(Png, Pointers.data());
  png_read_end(Png, nullptr);
  png_destroy_read_struct(&Png, &Info, nullptr);
  return F;
}

std::vector<Byte> Write(TIEBitmap& Bitmap, TIOParamsVals& Params, TIEMask* Mask = nullptr) {
  TMemoryStream Stream;
  TTestProgress P;
  PngWriteStream(&Stream, &Bitmap, Params, P.Progress, Mask);
  EXPECT_FALSE(P.Aborting);
  return StreamBytes(Stream);
}

void FillPicture(TIEBitmap& B, std::initializer_list<TIERGBTriple> Colours) {
  B.Allocate(9, 5, ie24RGB);
  const std::vector<TIERGBTriple> C(Colours);
  for (Integer Y = 0; Y < 5; ++Y)
    for (Integer X = 0; X < 9; ++X) B.SetPixel24(X, Y, C[static_cast<size_t>(X * Y + X) % C.size()]);
}

bool PngcheckAccepts(const std::vector<Byte>& File) {
  TTempFile Png("out.png");
  Png.Write(File);
  return std::system(("pngcheck -q '" + Png.Path() + "' >/dev/null 2>&1").c_str()) == 0;
}

// Each row's filter byte of a non-interlaced file, from its joined IDAT data.
std::vector<Byte> FilterBytes(const std::vector<Byte>& File, size_t RowBytes, size_t Rows) {
  std::vector<Byte> Packed;
  for (size_t At = 8; At + 12 <= File.size();) {
    const size_t Length =
        (size_t(File[At]) << 24) | (size_t(File[At + 1]) << 16) | (size_t(File[At + 2]) << 8) | File[At + 3];
    if (std::string(File.begin() + static_cast<long>(At) + 4, File.begin() + static_cast<long>(At) + 8) ==
        "IDAT")
      Packed.insert(Packed.end(), File.begin() + static_cast<long>(At) + 8,
                    File.begin() + static_cast<long>(At + 8 + Length));
    At += Length + 12;
  }
  std::vector<Byte> Raw((RowBytes + 1) * Rows);
  uLongf Size = static_cast<uLongf>(Raw.size());
  EXPECT_EQ(uncompress(Raw.data(), &Size, Packed.data(), static_cast<uLong>(Packed.size())), Z_OK);
  std::vector<Byte> Filters;
  for (size_t R = 0; R < Rows; ++R) Filters.push_back(Raw[R * (RowBytes + 1)]);
  return Filters;
}

}  // namespace

TEST(PngWrite, ColourTypesFromSamplesBitsAndPicture) {
  const bool Check = ToolPresent("pngcheck");
  struct TCase {
    const char* Name;
    Integer Samples, Bits;
    bool Grey, TwoColours, Interlaced;
    int ColorType, Depth;
  };
  const TCase Cases[] = {
      {"rgb", 3, 8, false, false, false, PNG_COLOR_TYPE_RGB, 8},
      {"rgb interlaced", 3, 8, false, false, true, PNG_COLOR_TYPE_RGB, 8},
      {"palette", 1, 8, false, false, false, PNG_COLOR_TYPE_PALETTE, 8},
      {"palette interlaced", 1, 8, false, false, true, PNG_COLOR_TYPE_PALETTE, 8},
      {"grey picture", 1, 8, true, false, false, PNG_COLOR_TYPE_GRAY, 8},
      {"four bits become eight", 1, 4, false, false, false, PNG_COLOR_TYPE_PALETTE, 8},
      {"two colours at one bit", 1, 1, false, true, false, PNG_COLOR_TYPE_GRAY, 1},
      {"three samples at one bit", 3, 1, false, true, false, PNG_COLOR_TYPE_GRAY, 1},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TIEBitmap Source;
    if (C.Grey)
      FillPicture(Source, {BGR(10, 10, 10), BGR(200, 200, 200), BGR(77, 77, 77)});
    else if (C.TwoColours)
      FillPicture(Source, {BGR(250, 240, 10), BGR(20, 0, 90)});
    else
      FillPicture(Source, {BGR(255, 0, 0), BGR(0, 128, 255), BGR(9, 8, 7), BGR(255, 255, 255)});
    TIOParamsVals Params;
    Params.SamplesPerPixel = C.Samples;
    Params.BitsPerSample = C.Bits;
    Params.PngInterlaced = C.Interlaced;
    const auto File = Write(Source, Params);
    const TPngFacts F = Inspect(File);
    EXPECT_EQ(F.ColorType, C.ColorType);
    EXPECT_EQ(F.Depth, C.Depth);
    EXPECT_EQ(F.Interlace, C.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE);
    if (C.Samples == 1 && C.Bits == 4) {
      EXPECT_EQ(Params.BitsPerSample, 8);
    }
    if (C.ColorType == PNG_COLOR_TYPE_PALETTE) {
      EXPECT_EQ(F.PaletteCount, 256);
    }
    if (Check) {
      EXPECT_TRUE(PngcheckAccepts(File));
    }

    TIEBitmap Back;
    TIOParamsVals BackParams;
    TMemoryStream Stream;
    LoadBytes(Stream, File);
    TTestProgress P;
    PngReadStream(&Stream, &Back, BackParams, P.Progress, false);
    ASSERT_FALSE(P.Aborting);
    if (C.TwoColours) {
      ASSERT_EQ(Back.GetPixelFormat(), ie1g);
      Back.ConvertToPixelFormat(ie24RGB);
      for (Integer Y = 0; Y < 5; ++Y)
        for (Integer X = 0; X < 9; ++X)
          ASSERT_EQ(Back.GetPixel24(X, Y),
                    Source.GetPixel24(X, Y) == BGR(20, 0, 90) ? BGR(0, 0, 0) : BGR(255, 255, 255));
      continue;
    }
    for (Integer Y = 0; Y < 5; ++Y)
      for (Integer X = 0; X < 9; ++X)
        ASSERT_EQ(Back.GetPixel24(X, Y), Source.GetPixel24(X, Y)) << X << "," << Y;
  }
}

TEST(PngWrite, GreyPicturesKeepTheirDepth) {
  TIEBitmap Grey(3, 2, ie16g);
  Grey.SetPixel16(1, 1, 0x1234);
  TIOParamsVals Params;
  Params.SamplesPerPixel = 1;
  Params.BitsPerSample = 16;
  const TPngFacts F = Inspect(Write(Grey, Params));
  EXPECT_EQ(F.ColorType, PNG_COLOR_TYPE_GRAY);
  EXPECT_EQ(F.Depth, 16);
  EXPECT_EQ(F.Rows[1][2], 0x12);
  EXPECT_EQ(F.Rows[1][3], 0x34);
}

TEST(PngWrite, PalettePictureKeepsItsIndices) {
  TIEBitmap Source(5, 3, ie8p);
  Source.SetPaletteColor(0, BGR(0, 0, 0));
  Source.SetPaletteColor(1, BGR(255, 10, 20));
  Source.SetPaletteColor(2, BGR(30, 200, 40));
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 5; ++X) Source.SetPixel8(X, Y, static_cast<Byte>((X + Y) % 3));
  TIOParamsVals Params;
  Params.SamplesPerPixel = 1;
  const TPngFacts F = Inspect(Write(Source, Params));
  ASSERT_EQ(F.ColorType, PNG_COLOR_TYPE_PALETTE);
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 5; ++X) {
      const png_color& C = F.Palette[F.Rows[Y][X]];
      const TIERGBTriple Expected = Source.GetPixelRGB(X, Y);
      ASSERT_EQ(BGR(C.red, C.green, C.blue), Expected) << X << "," << Y;
    }
}

TEST(PngWrite, AlphaMaskMakesRgbaOrATransparentPaletteEntry) {
  TIEBitmap Source;
  FillPicture(Source, {BGR(255, 0, 0), BGR(0, 128, 255), BGR(9, 8, 7)});
  TIEMask Mask;
  Mask.AllocateBits(9, 5, 8);
  Mask.Fill(255);
  Mask.GetScanline(2)[3] = 0;
  Mask.GetScanline(4)[8] = 128;
  TIOParamsVals Rgb;
  const TPngFacts FR = Inspect(Write(Source, Rgb, &Mask));
  ASSERT_EQ(FR.ColorType, PNG_COLOR_TYPE_RGB_ALPHA);
  EXPECT_EQ(FR.Rows[4][8 * 4 + 3], 128);
  EXPECT_EQ(FR.Rows[2][3 * 4 + 3], 0);
  EXPECT_EQ(FR.Rows[2][3 * 4], Source.GetPixel24(3, 2).rgbtRed);

  TIOParamsVals Indexed;
  Indexed.SamplesPerPixel = 1;
  Indexed.PngBackground = BGR(1, 2, 3);
  const auto File = Write(Source, Indexed, &Mask);
  const TPngFacts FP = Inspect(File);
  ASSERT_EQ(FP.ColorType, PNG_COLOR_TYPE_PALETTE);
  EXPECT_LE(FP.PaletteCount, 256);
  EXPECT_EQ(FP.Palette[0].red, 1);
  EXPECT_EQ(FP.Palette[0].blue, 3);
  ASSERT_EQ(FP.Transparency, std::vector<Byte>{0});
  EXPECT_EQ(FP.Rows[2][3], 0);
  EXPECT_EQ(FP.Rows[4][8], 0);  // half transparent becomes fully transparent
  const png_color& Opaque = FP.Palette[FP.Rows[0][0]];
  EXPECT_EQ(Opaque.red, Source.GetPixel24(0, 0).rgbtRed);
  EXPECT_EQ(Opaque.green, Source.GetPixel24(0, 0).rgbtGreen);
  if (ToolPresent("pngcheck")) {
    EXPECT_TRUE(PngcheckAccepts(File));
  }

  Mask.Fill(255);  // a full mask is no transparency
  TIOParamsVals Full;
  EXPECT_EQ(Inspect(Write(Source, Full, &Mask)).ColorType, PNG_COLOR_TYPE_RGB);
}

TEST(PngWrite, TextsResolutionBackgroundAndFilter) {
  TIEBitmap Source;
  FillPicture(Source, {BGR(255, 0, 0), BGR(0, 128, 255)});
  TIOParamsVals Params;
  for (const char* Key : {"Title", "Author", "Comment"}) Params.PngTextKeys->Add(Key);
  for (const char* Value : {"Tiles", "Me"}) Params.PngTextValues->Add(Value);
  Params.SetDpiX(72);
  Params.SetDpiY(72);
  Params.PngBackground = BGR(250, 128, 3);
  Params.PngFilter = 1;
  const auto File = Write(Source, Params);
  const TPngFacts F = Inspect(File);
  EXPECT_EQ(F.TextCount, 2);
  EXPECT_EQ(F.PixelsPerMetre, 2835u);
  ASSERT_TRUE(F.HasBackground);  // 8-bit values, which libpng keeps at depth 8
  EXPECT_EQ(F.Background.red, 250);
  EXPECT_EQ(F.Background.blue, 3);
  EXPECT_EQ(FilterBytes(File, 9 * 3, 5), std::vector<Byte>(5, 1));
  Params.PngFilter = 2;
  EXPECT_EQ(FilterBytes(Write(Source, Params), 9 * 3, 5), std::vector<Byte>(5, 4));

  TIEBitmap Back;
  TIOParamsVals BackParams;
  TMemoryStream Stream;
  LoadBytes(Stream, File);
  TTestProgress P;
  PngReadStream(&Stream, &Back, BackParams, P.Progress, true);
  EXPECT_EQ(BackParams.DpiX, 72);
  EXPECT_EQ(BackParams.PngTextValues->GetStrings(1), "Me");
}

TEST(PngWrite, ShortWriteAbortsAndLibpngErrorsRaise) {
  TIEBitmap Source;
  FillPicture(Source, {BGR(255, 0, 0), BGR(0, 128, 255)});
  TIOParamsVals Params;
  TLimitedStream Stream(60);
  TTestProgress P;
  PngWriteStream(&Stream, &Source, Params, P.Progress, nullptr);
  EXPECT_TRUE(P.Aborting);

  TIOParamsVals Sixteen;  // a palette cannot have 16-bit entries
  Sixteen.SamplesPerPixel = 1;
  Sixteen.BitsPerSample = 16;
  TMemoryStream Out;
  TTestProgress Q;
  try {
    PngWriteStream(&Out, &Source, Sixteen, Q.Progress, nullptr);
    FAIL();
  } catch (const EInvalidGraphic& E) {
    EXPECT_EQ(E.GetMessage(), "Error on creating PNG");
  }
}
