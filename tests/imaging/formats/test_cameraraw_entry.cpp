// The camera raw reader's entry: identification by header, file size and camera table, the
// content test, and the reader's parameters, options and failures.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/iecameraraw.h"
#include "imaging/io/zezudidioparams.h"
#include "tests/imaging/formats/CameraRawEntryTestSupport.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

using namespace CameraRawTest;

namespace {

// Identification over the bytes; the context stays for inspection.
struct TIdentified {
  TMemoryStream Stream;
  std::unique_ptr<TCameraRawContext> Context = std::make_unique<TCameraRawContext>();
  Integer Result = 1;
  explicit TIdentified(const std::vector<Byte>& Bytes) {
    LoadBytes(Stream, Bytes);
    RawPrepareContext(*Context, &Stream);
    Result = RawIdentify(*Context);
  }
};

TEST(CameraRawIdentify, FixedSizeFilesAreKnownByTheirExactSize) {
  TIdentified E950(std::vector<Byte>(2465792, 0));
  ASSERT_EQ(E950.Result, 0);
  EXPECT_STREQ(E950.Context->Make, "NIKON");
  EXPECT_STREQ(E950.Context->Model, "E950");
  EXPECT_EQ(E950.Context->Height, 1203);
  EXPECT_EQ(E950.Context->Width, 1616);
  EXPECT_EQ(E950.Context->Colors, 4);
  EXPECT_EQ(E950.Context->Filters, 0x4B4B4B4Bu);
  EXPECT_EQ(E950.Context->LoadRaw, RawLoadNikonE950);
  EXPECT_EQ(E950.Context->UseCoefficients, 1);
  EXPECT_EQ(E950.Context->RawWidth, 1616);

  TIdentified OneMore(std::vector<Byte>(2465793, 0));
  EXPECT_EQ(OneMore.Result, 1);
}

TEST(CameraRawIdentify, CameraTableRowsFollowMakeModelAndCompression) {
  struct TCase {
    const char* Name;
    TTiffCamera Camera;
    bool Identified;
    const char* Make = "";
    const char* Model = "";
    Integer Colors = 0;
    Cardinal Filters = 0;
    Single Red = 0;
    Integer Maximum = 0;
  };
  const TCase Cases[] = {
      // The model loses its leading make before the table is consulted.
      {"D100",
       {"NIKON CORPORATION", "NIKON D100", 3034, 2024},
       true,
       "NIKON",
       "D100",
       3,
       0x61616161,
       2.374f,
       15632},
      {"G1",
       {"Canon", "Canon PowerShot G1", 2144, 1560},
       true,
       "Canon",
       "PowerShot G1",
       4,
       0xB4B4B4B4,
       1.446f,
       0x4000},
      {"other 2144",
       {"Canon", "Canon PowerShot G9", 2144, 1560},
       true,
       "Canon",
       "PowerShot G9",
       3,
       0x61616161,
       1.785f,
       0x4000},
      // The maker's long name shortens to "Kodak"; an upper-case one keeps its case.
      {"Kodak easy",
       {"Eastman Kodak Company", "Kodak XYZ", 64, 32},
       true,
       "Kodak",
       "XYZ",
       3,
       0x61616161,
       1.0f,
       0x4000},
      {"Kodak row",
       {"KODAK", "KODAK DCS520C", 64, 32},
       true,
       "KODAK",
       "DCS520C",
       3,
       0x61616161,
       1.006f,
       0x4000},
      // 32867 has no loader of its own; only a model row could give one.
      {"Kodak 32867", {"Eastman Kodak Company", "Kodak XYZ", 64, 32, 32867}, false},
      {"Kodak unknown compression", {"Eastman Kodak Company", "Kodak XYZ", 64, 32, 5}, false},
      {"unknown maker", {"Acme", "Acme One", 64, 32}, false},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TIdentified Id(MakeCameraTiff(Case.Camera));
    ASSERT_EQ(Id.Result == 0, Case.Identified);
    if (!Case.Identified) continue;
    const TCameraRawContext& C = *Id.Context;
    EXPECT_STREQ(C.Make, Case.Make);
    EXPECT_STREQ(C.Model, Case.Model);
    EXPECT_EQ(C.Colors, Case.Colors);
    EXPECT_EQ(C.Filters, Case.Filters);
    EXPECT_FLOAT_EQ(C.PreMul[0], Case.Red);
    EXPECT_EQ(C.Maximum, Case.Maximum);
    EXPECT_EQ(Id.Stream.GetPosition(), C.DataOffset);
  }
}

TEST(CameraRawIdentify, NucoreHeaderGivesSizeAndDataOffset) {
  TIdentified Id(MakeFlatNucoreRaw(8, 6, 100));
  ASSERT_EQ(Id.Result, 0);
  const TCameraRawContext& C = *Id.Context;
  EXPECT_STREQ(C.Make, "Nucore");
  EXPECT_STREQ(C.Model, "RAW");
  EXPECT_EQ(C.Width, 8);
  EXPECT_EQ(C.Height, 6);
  EXPECT_EQ(C.DataOffset, static_cast<Integer>(NucoreDataOffset));
  EXPECT_EQ(C.Filters, 0x61616161u);
  EXPECT_EQ(C.LoadRaw, RawLoadNucore);
}

TEST(CameraRawIdentify, FourColourOptionMovesTheSecondGreenToChannelThree) {
  TMemoryStream Stream;
  LoadBytes(Stream, MakeFlatNucoreRaw(8, 6, 100));
  auto C = std::make_unique<TCameraRawContext>();
  RawPrepareContext(*C, &Stream);
  C->FourColorRgb = 1;
  ASSERT_EQ(RawIdentify(*C), 0);
  // 0x61616161: fields 1 and 6; the 6 becomes 0xE.
  EXPECT_EQ(C->Filters, 0xE1E1E1E1u);
  EXPECT_EQ(C->Colors, 4);
  EXPECT_EQ(C->PreMul[3], C->PreMul[1]);
}

std::vector<Byte> BitmapHeader() {
  std::vector<Byte> Bytes(64, 0);
  Bytes[0] = 'B';
  Bytes[1] = 'M';
  Bytes[38] = 0x13;  // 2835 pixels a metre, not the camera's 2834
  Bytes[39] = 0x0B;
  return Bytes;
}

TEST(CameraRawIsFile, AnswersAndLeavesThePositionWhereItWas) {
  struct TCase {
    const char* Name;
    std::vector<Byte> Bytes;
    bool Raw;
  };
  const TCase Cases[] = {
      {"nucore", MakeFlatNucoreRaw(8, 6, 100), true},
      {"tiff of no camera", MakeCameraTiff({"Acme", "One", 64, 32}), false},
      {"empty", {}, false},
      {"short header", {'B', 'R', 0, 0}, false},
      {"BMP of another resolution", BitmapHeader(), false},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TMemoryStream Stream;
    LoadBytes(Stream, Case.Bytes);
    Stream.SetPosition(std::min<Int64>(3, Stream.GetSize()));
    const Int64 Before = Stream.GetPosition();
    EXPECT_EQ(CameraRawIsFile(&Stream), Case.Raw);
    EXPECT_EQ(Stream.GetPosition(), Before);
  }
}

struct TRead {
  TIEBitmap Bitmap;
  TIOParamsVals Params;
  TTestProgress Progress;
  void Run(const std::vector<Byte>& Bytes, bool Preview = false) {
    TMemoryStream Stream;
    LoadBytes(Stream, Bytes);
    CameraRawReadStream(&Stream, &Bitmap, Params, Progress.Progress, Preview);
  }
};

// Every pixel of a developed flat field is the same grey.
void ExpectUniformGrey(TIEBitmap& Bitmap) {
  const Byte* First = static_cast<const Byte*>(Bitmap.GetScanline(0));
  EXPECT_EQ(First[0], First[1]);
  EXPECT_EQ(First[1], First[2]);
  EXPECT_GT(First[0], 0);
  for (Integer Row = 0; Row < Bitmap.GetHeight(); ++Row) {
    const Byte* Pixels = static_cast<const Byte*>(Bitmap.GetScanline(Row));
    for (Integer Col = 0; Col < Bitmap.GetWidth() * 3; ++Col) ASSERT_EQ(Pixels[Col], First[Col % 3]);
  }
}

TEST(CameraRawRead, FlatFieldComesOutTrimmedAndGrey) {
  TRead Read;
  Read.Run(MakeFlatNucoreRaw(8, 6, 1000));
  ASSERT_FALSE(Read.Progress.Aborting);
  EXPECT_EQ(Read.Params.Width, 6);
  EXPECT_EQ(Read.Params.Height, 4);
  EXPECT_EQ(Read.Params.FileWidth, 6);
  EXPECT_EQ(Read.Params.RawCamera, "Nucore RAW ");
  EXPECT_EQ(Read.Params.ImageCount, 1);
  ASSERT_EQ(Read.Bitmap.GetWidth(), 6);
  ASSERT_EQ(Read.Bitmap.GetHeight(), 4);
  EXPECT_EQ(Read.Bitmap.GetPixelFormat(), ie24RGB);
  ExpectUniformGrey(Read.Bitmap);
}

TEST(CameraRawRead, HalfSizeSkipsInterpolationButReportsTheFullSize) {
  TRead Read;
  Read.Params.RawHalfSize = true;
  Read.Run(MakeFlatNucoreRaw(8, 6, 1000));
  ASSERT_FALSE(Read.Progress.Aborting);
  EXPECT_EQ(Read.Params.Width, 6);
  EXPECT_EQ(Read.Params.Height, 4);
  // Half of 8 x 6, no trim.
  EXPECT_EQ(Read.Bitmap.GetWidth(), 4);
  EXPECT_EQ(Read.Bitmap.GetHeight(), 3);
}

TEST(CameraRawRead, PreviewFillsOnlyTheParameters) {
  TRead Read;
  Read.Run(MakeFlatNucoreRaw(8, 6, 1000), /*Preview=*/true);
  ASSERT_FALSE(Read.Progress.Aborting);
  EXPECT_EQ(Read.Params.Width, 6);
  EXPECT_TRUE(Read.Bitmap.IsEmpty());
}

TEST(CameraRawRead, PreferredThumbnailMissingDecodesThePicture) {
  TRead Read;
  Read.Params.SetRawUseThumbnail(true);
  Read.Run(MakeFlatNucoreRaw(8, 6, 1000));
  ASSERT_FALSE(Read.Progress.Aborting);
  EXPECT_TRUE(Read.Params.RawUseThumbnail);
  EXPECT_EQ(Read.Bitmap.GetWidth(), 6);
  ExpectUniformGrey(Read.Bitmap);
}

TEST(CameraRawRead, FailuresSetTheAbortFlagAndKeepThePicture) {
  struct TCase {
    const char* Name;
    std::vector<Byte> Bytes;
  };
  const TCase Cases[] = {
      {"not raw", MakeCameraTiff({"Acme", "One", 64, 32})},
      {"data ends early", MakeNucoreRaw(
                              8, 6, [](Integer, Integer) { return 1000; }, 3)},
      // A header claiming a sensor far larger than its data is refused before allocating.
      {"huge claim", MakeNucoreRaw(
                         60000, 60000, [](Integer, Integer) { return 1; }, 0)},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TRead Read;
    Read.Bitmap.Allocate(2, 2, ie24RGB);
    Read.Run(Case.Bytes);
    EXPECT_TRUE(Read.Progress.Aborting);
    EXPECT_EQ(Read.Bitmap.GetWidth(), 2);
  }
}

}  // namespace
