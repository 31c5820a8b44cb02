// The icon and cursor readers over hand-made files: directory choice, each depth's colour and
// AND parts, the BMP and PNG hand-overs, content tests and claims beyond the data.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/formats/ieformats.h"
#include "imaging/formats/ieico.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Exceptions.h"
#include "tests/imaging/formats/FormatsTestSupport.h"
#include "tests/imaging/formats/IcoTestSupport.h"

namespace {

using TReader = void (*)(TStream*, TIEBitmap*, TIOParamsVals&, bool, TIEIOProgress&,
                         std::unique_ptr<TIEMask>&, bool, bool);

struct TLoaded {
  TIEBitmap Bitmap;
  std::unique_ptr<TIEMask> Alpha;
  TIOParamsVals Params;
  bool Aborted = false;
  Int64 EndPosition = 0;
};

// Params is applied to the parameters before reading.
template <typename F>
std::unique_ptr<TLoaded> Load(const std::vector<Byte>& Bytes, F Params, TReader Reader = IcoReadStream,
                              bool Preview = false) {
  auto L = std::make_unique<TLoaded>();
  Params(L->Params);
  TMemoryStream Stream;
  LoadBytes(Stream, Bytes);
  TTestProgress Progress;
  Reader(&Stream, &L->Bitmap, L->Params, Preview, Progress.Progress, L->Alpha, false, false);
  L->Aborted = Progress.Aborting;
  L->EndPosition = Stream.GetPosition();
  return L;
}

std::unique_ptr<TLoaded> Load(const std::vector<Byte>& Bytes, TReader Reader = IcoReadStream) {
  return Load(
      Bytes, [](TIOParamsVals&) {}, Reader);
}

bool Bit(TIEBitmap& B, Integer X, Integer Y) {
  return (static_cast<Byte*>(B.GetScanline(Y))[X >> 3] & (0x80 >> (X & 7))) != 0;
}

TIERGBTriple Rgb(TIEBitmap& B, Integer X, Integer Y) {
  return static_cast<TIERGBTriple*>(B.GetScanline(Y))[X];
}

Byte AlphaAt(TIEMask& M, Integer X, Integer Y) {
  return M.GetScanline(Y)[X];
}

// A 2 x 2 image of BitCount bits: Palette bytes, then two colour rows and two AND rows, each
// given top row first and stored bottom first.
std::vector<Byte> Body(std::vector<Byte> Palette, std::vector<std::vector<Byte>> ColourRows,
                       std::vector<std::vector<Byte>> MaskRows) {
  std::vector<Byte> Out = std::move(Palette);
  for (auto* Rows : {&ColourRows, &MaskRows})
    for (auto R = Rows->rbegin(); R != Rows->rend(); ++R) {
      std::vector<Byte> Row = *R;
      Row.resize((Row.size() + 3) / 4 * 4, 0);
      Out.insert(Out.end(), Row.begin(), Row.end());
    }
  return Out;
}

const std::vector<Byte> BlackWhite{0, 0, 0, 0, 255, 255, 255, 0};

TIcoFixtureImage OneBitIcon() {
  TIcoFixtureImage I;
  I.BitCount = 1;
  // Colour: top row pixel 1 set, bottom row pixel 0 set; AND: bottom row pixel 1 transparent.
  I.Body = Body(BlackWhite, {{0x40}, {0x80}}, {{0x00}, {0x40}});
  return I;
}

}  // namespace

TEST(IcoRead, OneBitTransparentPixelsFollowTheBackground) {
  auto White = Load(EncodeIco({OneBitIcon()}));
  ASSERT_FALSE(White->Aborted);
  ASSERT_EQ(White->Bitmap.GetPixelFormat(), ie1g);
  EXPECT_FALSE(Bit(White->Bitmap, 0, 0));
  EXPECT_TRUE(Bit(White->Bitmap, 1, 0));
  EXPECT_TRUE(Bit(White->Bitmap, 0, 1));
  EXPECT_TRUE(Bit(White->Bitmap, 1, 1));  // transparent black turns white
  ASSERT_TRUE(White->Alpha);
  EXPECT_EQ(AlphaAt(*White->Alpha, 1, 1), 0);
  EXPECT_EQ(AlphaAt(*White->Alpha, 0, 1), 255);
  EXPECT_EQ(AlphaAt(*White->Alpha, 1, 0), 255);

  auto Grey = Load(EncodeIco({OneBitIcon()}), [](TIOParamsVals& P) { P.IcoBackground = {128, 128, 128}; });
  EXPECT_FALSE(Bit(Grey->Bitmap, 1, 1));  // any other background keeps the colour bit
  EXPECT_TRUE(Bit(Grey->Bitmap, 0, 1));
}

TEST(IcoRead, PalettedPixelsNativeAndAsColours) {
  TIcoFixtureImage I;
  I.BitCount = 4;
  std::vector<Byte> Palette(16 * 4, 0);
  Palette[4 * 3] = 10;       // entry 3: blue 10
  Palette[4 * 7 + 2] = 200;  // entry 7: red 200
  I.Body = Body(Palette, {{0x37}, {0x73}}, {{0x00}, {0x80}});
  auto Colours = Load(EncodeIco({I}), [](TIOParamsVals& P) { P.IcoBackground = {1, 2, 3}; });
  ASSERT_EQ(Colours->Bitmap.GetPixelFormat(), ie24RGB);
  EXPECT_EQ(Rgb(Colours->Bitmap, 0, 0), (TIERGBTriple{10, 0, 0}));
  EXPECT_EQ(Rgb(Colours->Bitmap, 1, 0), (TIERGBTriple{0, 0, 200}));
  EXPECT_EQ(Rgb(Colours->Bitmap, 0, 1), (TIERGBTriple{1, 2, 3}));  // transparent
  EXPECT_EQ(Rgb(Colours->Bitmap, 1, 1), (TIERGBTriple{10, 0, 0}));
  EXPECT_EQ(Colours->Params.GetColorMapCount(), 16);
  EXPECT_EQ(Colours->Params.BitsPerSample, 4);

  auto Native = Load(EncodeIco({I}), [](TIOParamsVals& P) { P.NativePixelFormat = true; });
  ASSERT_EQ(Native->Bitmap.GetPixelFormat(), ie8p);
  EXPECT_EQ(static_cast<Byte*>(Native->Bitmap.GetScanline(1))[0], 7);  // indices kept
  EXPECT_EQ(Native->Bitmap.GetPaletteUsed(), 16);
  EXPECT_EQ(Native->Bitmap.GetPaletteBuffer()[7], (TIERGBTriple{0, 0, 200}));
  ASSERT_TRUE(Native->Alpha);
  EXPECT_EQ(AlphaAt(*Native->Alpha, 0, 1), 0);
}

TEST(IcoRead, ThirtyTwoBitAlphaAndItsMask) {
  TIcoFixtureImage I;
  I.BitCount = 32;
  const std::vector<Byte> Pixel{1, 2, 3, 0};
  std::vector<Byte> Row;
  for (int K = 0; K < 2; ++K) Row.insert(Row.end(), Pixel.begin(), Pixel.end());
  I.Body = Body({}, {Row, Row}, {{0x80}, {0x00}});
  auto Blank = Load(EncodeIco({I}));  // alpha all zero: the AND part decides
  ASSERT_TRUE(Blank->Alpha);
  EXPECT_EQ(AlphaAt(*Blank->Alpha, 0, 0), 0);
  EXPECT_EQ(AlphaAt(*Blank->Alpha, 1, 0), 255);
  EXPECT_EQ(AlphaAt(*Blank->Alpha, 0, 1), 255);
  EXPECT_EQ(Rgb(Blank->Bitmap, 1, 1), (TIERGBTriple{1, 2, 3}));
  EXPECT_EQ(Blank->Params.SamplesPerPixel, 4);

  for (size_t K = 3; K < 16; K += 4) I.Body[K] = 255;
  I.Body[3] = 77;  // the top row is stored second: this is picture pixel (0, 1)
  auto Own = Load(EncodeIco({I}));
  ASSERT_TRUE(Own->Alpha);
  EXPECT_EQ(AlphaAt(*Own->Alpha, 0, 1), 77);
  EXPECT_EQ(AlphaAt(*Own->Alpha, 0, 0), 255);  // the mask is not consulted

  I.Body[3] = 255;
  std::fill(I.Body.begin() + 16, I.Body.end(), 0);
  EXPECT_FALSE(Load(EncodeIco({I}))->Alpha);  // opaque everywhere: no mask
}

TEST(IcoRead, TwentyFourBitMaskOnlyWhenTheStreamHoldsIt) {
  TIcoFixtureImage I;
  const std::vector<Byte> Row{9, 8, 7, 6, 5, 4};
  I.Body = Body({}, {Row, Row}, {{0x40}, {0x00}});
  auto Full = Load(EncodeIco({I}));
  ASSERT_TRUE(Full->Alpha);
  EXPECT_EQ(AlphaAt(*Full->Alpha, 1, 0), 0);
  EXPECT_EQ(Rgb(Full->Bitmap, 1, 0), (TIERGBTriple{6, 5, 4}));  // colours kept

  std::vector<Byte> Short = EncodeIco({I});
  Short.resize(Short.size() - 1);
  auto Cut = Load(Short);
  EXPECT_FALSE(Cut->Aborted);
  EXPECT_FALSE(Cut->Alpha);
  EXPECT_EQ(Rgb(Cut->Bitmap, 0, 0), (TIERGBTriple{9, 8, 7}));
}

TEST(IcoRead, DirectoryChoiceSizesAndUnknownSizes) {
  TIcoFixtureImage Big;  // width byte 0: 256 pixels and more, never chosen by index
  Big.EntryWidth = Big.EntryHeight = 0;
  Big.Width = Big.Height = 4;
  Big.Body.assign(4 * 12 + 4 * 4, 0);
  TIcoFixtureImage Small = OneBitIcon();
  Small.EntryBitCount = 1;
  TIcoFixtureImage Sixteen;
  Sixteen.EntryWidth = Sixteen.EntryHeight = 1;
  Sixteen.Width = Sixteen.Height = 1;
  Sixteen.ColourCount = 16;
  Sixteen.BitCount = 4;
  Sixteen.Body.assign(16 * 4 + 4 + 4, 0);
  const std::vector<Byte> File = EncodeIco({Big, Small, Sixteen});

  auto First = Load(File);  // index 0 is the big entry: the last one loads
  EXPECT_EQ(First->Bitmap.GetWidth(), 1);
  EXPECT_EQ(First->Params.IcoSizes[0], (std::array<Integer, 2>{2, 2}));
  EXPECT_EQ(First->Params.IcoSizes[1], (std::array<Integer, 2>{1, 1}));
  EXPECT_EQ(First->Params.IcoSizes[2], (std::array<Integer, 2>{0, 0}));
  EXPECT_EQ(First->Params.IcoBitCounts[0], 1);
  EXPECT_EQ(First->Params.IcoBitCounts[1], 4);  // from its colour count

  auto Second = Load(File, [](TIOParamsVals& P) { P.IcoImageIndex = 1; });
  EXPECT_EQ(Second->Bitmap.GetWidth(), 2);
  EXPECT_EQ(Second->Bitmap.GetPixelFormat(), ie1g);

  for (Integer Index : {-1, 3}) {
    auto Out = Load(File, [Index](TIOParamsVals& P) { P.IcoImageIndex = Index; });
    EXPECT_FALSE(Out->Aborted);
    EXPECT_TRUE(Out->Bitmap.IsEmpty());
  }
}

TEST(IcoRead, PreviewResolutionAndBitCountFallbacks) {
  TIcoFixtureImage I = OneBitIcon();
  I.PixelsPerMetre = 3780;  // 96.012 dpi
  auto P = Load(
      EncodeIco({I}), [](TIOParamsVals&) {}, IcoReadStream, true);
  EXPECT_TRUE(P->Bitmap.IsEmpty());
  EXPECT_EQ(P->Params.Width, 2);
  EXPECT_EQ(P->Params.DpiX, 96);
  EXPECT_EQ(P->Params.ColorMap[1], (TIERGBTriple{255, 255, 255}));

  I.BitCount = 0;  // no bit count in the header, the entry or a colour count
  EXPECT_TRUE(Load(EncodeIco({I}))->Aborted);
  I.ColourCount = 2;
  EXPECT_EQ(Load(EncodeIco({I}))->Bitmap.GetPixelFormat(), ie1g);
}

TEST(IcoRead, UnknownDepthRaisesOnlyForNativeLoads) {
  TIcoFixtureImage I;
  I.BitCount = 16;
  I.Body.assign(32, 0);
  EXPECT_THROW(Load(EncodeIco({I}), [](TIOParamsVals& P) { P.NativePixelFormat = true; }), Exception);
  auto Plain = Load(EncodeIco({I}));
  EXPECT_FALSE(Plain->Aborted);
  EXPECT_EQ(Plain->Bitmap.GetPixelFormat(), ie24RGB);
}

TEST(IcoRead, BmpFileUnderAnIconNameLoadsAsBmp) {
  TBmpFixture F;
  F.Pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  auto L = Load(EncodeBmp(F));
  ASSERT_FALSE(L->Aborted);
  EXPECT_EQ(Rgb(L->Bitmap, 0, 1), (TIERGBTriple{1, 2, 3}));
}

TEST(IcoRead, ClaimsBeyondTheDataAreRefused) {
  TIcoFixtureImage I;
  I.EntryWidth = I.EntryHeight = 0;  // the header's size is taken as it is
  I.Width = I.Height = 60000;
  I.BitCount = 1;
  I.Body = BlackWhite;
  auto L = Load(EncodeIco({I}));
  EXPECT_TRUE(L->Aborted);
  EXPECT_TRUE(L->Bitmap.IsEmpty());
}

TEST(IcoDetect, IconsAndCursorsByTheirDirectory) {
  TIcoFixtureImage I = OneBitIcon();
  const std::vector<Byte> Icon = EncodeIco({I}), Cursor = EncodeIco({I}, 2);
  struct TCase {
    std::vector<Byte> Bytes;
    bool Ico, Cur;
  };
  std::vector<TCase> Cases{{Icon, true, false}, {Cursor, false, true}};
  std::vector<Byte> Reserved = Icon;
  Reserved[6 + 3] = 1;
  Cases.push_back({Reserved, false, false});
  std::vector<Byte> Inside = Icon;
  Inside[6 + 12] = 21;  // the image would start inside the directory
  Cases.push_back({Inside, false, false});
  std::vector<Byte> Empty = Icon;
  Empty[4] = 0;
  Cases.push_back({Empty, false, false});
  Cases.push_back({std::vector<Byte>(Icon.begin(), Icon.begin() + 22), false, false});
  for (const TCase& C : Cases) {
    TMemoryStream S;
    LoadBytes(S, C.Bytes);
    S.SetPosition(0);
    EXPECT_EQ(IcoIsFile(&S), C.Ico);
    EXPECT_EQ(CurIsFile(&S), C.Cur);
    EXPECT_EQ(S.GetPosition(), 0);
  }
}

TEST(IcoDetect, TheDetectorKnowsIconsAndCursorsOnceTheLibraryIsJoined) {
  IEFormatsInstall();
  InitFileFormats();
  for (const auto& [Type, FileType] : {std::pair{Word{1}, ioICO}, std::pair{Word{2}, ioCUR}}) {
    TMemoryStream S;
    LoadBytes(S, EncodeIco({OneBitIcon()}, Type));
    EXPECT_EQ(DetectStreamFormat(&S), FileType);
  }
  FreeFileFormats();
}

TEST(CurRead, EntrySizeHotSpotAndPalette) {
  TIcoFixtureImage I;
  I.EntryWidth = 0;  // 256 pixels wide
  I.EntryHeight = 1;
  I.Planes = 5;
  I.EntryBitCount = 9;
  I.Width = 7;  // never consulted
  I.Height = 1;
  I.BitCount = 1;
  I.ColourCount = 2;
  I.Body = BlackWhite;
  I.Body.resize(I.Body.size() + 32 + 32, 0xFF);  // colour row all set, AND row all set
  auto L = Load(EncodeIco({I}, 2), CurReadStream);
  ASSERT_FALSE(L->Aborted);
  EXPECT_EQ(L->Bitmap.GetWidth(), 256);
  EXPECT_EQ(L->Params.CurXHotSpot, 5);
  EXPECT_EQ(L->Params.CurYHotSpot, 9);
  ASSERT_EQ(L->Bitmap.GetPixelFormat(), ie1g);
  EXPECT_FALSE(Bit(L->Bitmap, 255, 0));  // transparent white on white inverts
  ASSERT_TRUE(L->Alpha);
  EXPECT_EQ(AlphaAt(*L->Alpha, 255, 0), 0);

  I.EntryWidth = 2;
  I.ColourCount = 0;
  I.BitCount = 8;
  std::vector<Byte> Palette(256 * 4, 0);
  Palette[4 * 5 + 1] = 99;
  I.Body = Body(Palette, {{5, 5}, {5, 5}}, {{0x80}, {0x00}});
  I.EntryHeight = 2;
  auto Eight = Load(
      EncodeIco({I}, 2),
      [](TIOParamsVals& P) {
        P.CurBackground = {4, 4, 4};
      },
      CurReadStream);
  ASSERT_EQ(Eight->Bitmap.GetPixelFormat(), ie24RGB);
  EXPECT_EQ(Rgb(Eight->Bitmap, 1, 0), (TIERGBTriple{0, 99, 0}));
  EXPECT_EQ(Rgb(Eight->Bitmap, 0, 0), (TIERGBTriple{4, 4, 4}));
  EXPECT_EQ(Eight->Params.SamplesPerPixel, 1);
  EXPECT_EQ(Eight->Params.BitsPerSample, 8);

  auto Beyond = Load(
      EncodeIco({I}, 2), [](TIOParamsVals& P) { P.CurImageIndex = 1; }, CurReadStream);
  EXPECT_TRUE(Beyond->Bitmap.IsEmpty());
  EXPECT_FALSE(Beyond->Aborted);
}

TEST(IcoRead, ReadsWhatImageMagickWrites) {
  if (!ToolPresent("convert")) GTEST_SKIP() << "ImageMagick missing";
  TTempFile Ico("made.ico");
  ASSERT_EQ(
      std::system(("convert -size 5x3 xc:'#C81E28' -fill '#0A5AFA' -draw 'point 1,2' -alpha set -channel A "
                   "-fx 'i==4&&j==0?0:1' +channel '" +
                   Ico.Path() + "' 2>/dev/null")
                      .c_str()),
      0);
  const std::string Rgba = ShellOutput("convert '" + Ico.Path() + "' -depth 8 rgba:- 2>/dev/null");
  ASSERT_EQ(Rgba.size(), 5u * 3 * 4);
  auto L = Load(Ico.Read());
  ASSERT_FALSE(L->Aborted);
  ASSERT_EQ(L->Bitmap.GetWidth(), 5);
  ASSERT_EQ(L->Bitmap.GetHeight(), 3);
  ASSERT_TRUE(L->Alpha);
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 5; ++X) {
      const auto* P = reinterpret_cast<const Byte*>(Rgba.data()) + 4 * (Y * 5 + X);
      EXPECT_EQ(AlphaAt(*L->Alpha, X, Y), P[3]) << X << "," << Y;
      if (P[3] != 0) {
        EXPECT_EQ(Rgb(L->Bitmap, X, Y), (TIERGBTriple{P[2], P[1], P[0]})) << X << "," << Y;
      }
    }
}

TEST(IcoRead, PngImagesAreHandedToThePngReader) {
  if (!ToolPresent("convert")) GTEST_SKIP() << "ImageMagick missing";
  TTempFile Png("entry.png");
  ASSERT_EQ(
      std::system(("convert -size 3x2 xc:'#0A5AFA' -define png:color-type=2 '" + Png.Path() + "' 2>/dev/null")
                      .c_str()),
      0);
  TIcoFixtureImage I;
  I.Png = true;
  I.Body = Png.Read();
  auto L = Load(EncodeIco({I}));
  ASSERT_FALSE(L->Aborted);
  ASSERT_EQ(L->Bitmap.GetWidth(), 3);
  EXPECT_EQ(Rgb(L->Bitmap, 2, 1), (TIERGBTriple{0xFA, 0x5A, 0x0A}));
}
