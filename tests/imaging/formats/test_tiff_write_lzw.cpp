// TIFF pages written with the LZW codec and the two-colour reduction of the further-formats
// library: the predictor's rule, alpha, and what happens without a codec. They live beside the
// further formats because those procedures come from there.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/zezudidioparams.h"
#include "tests/imaging/io/TiffWriteTestSupport.h"

namespace {

class TTiffWriteLzw : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    IEFormatsInstall();
    IOLibraryInitialize();
  }
  static void TearDownTestSuite() { IOLibraryFinalize(); }
};

std::unique_ptr<TIEBitmap> Picture(TIEPixelFormat Format, Integer Width, Integer Height) {
  auto B = std::make_unique<TIEBitmap>(Width, Height, Format);
  for (Integer Y = 0; Y < Height; ++Y) {
    auto* Row = static_cast<Byte*>(B->GetScanline(Y));
    for (Integer X = 0; X < B->GetRowLen(); ++X) Row[X] = static_cast<Byte>((X / 3) * (Y + 1) + (X % 7) * 31);
  }
  return B;
}

struct TLzwCase {
  const char* Name;
  TIEPixelFormat Format;
  Integer Bits, Samples;
  bool Predictor;
};

TEST_F(TTiffWriteLzw, PagesReadBackEqualAndOnly8BitRgbIsPredicted) {
  const TLzwCase Cases[] = {
      {"rgb", ie24RGB, 8, 3, true},      {"grey", ie8g, 8, 1, false},    {"grey 16", ie16g, 16, 1, false},
      {"rgb 48", ieRGB48, 16, 3, false}, {"bilevel", ie1g, 1, 1, false}, {"cmyk", ieCMYK, 8, 4, false},
  };
  for (const TLzwCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    // Wide enough for the codes to grow past 9 bits and the table to be cleared.
    auto Page = Picture(C.Format, 700, 60);
    TIOParamsVals Params;
    Params.BitsPerSample = C.Bits;
    Params.SamplesPerPixel = C.Samples;
    Params.TiffCompression = 5;
    const std::vector<Byte> File = WriteTiffBytes(Page.get(), Params);
    const TWrittenPage Written = ParseWrittenTiff(File)[0];
    EXPECT_EQ(Written.Value(259), 5u);
    EXPECT_EQ(Written.Has(317), C.Predictor);
    if (C.Predictor) {
      EXPECT_EQ(Written.Value(317), 2u);
    }
    TIEBitmap Back;
    TIOParamsVals ReadParams;
    ASSERT_FALSE(ReadTiffPage(File, 0, Back, ReadParams).Aborting);
    EXPECT_TRUE(SamePixels(*Page, Back));
    ExpectTiffinfoAccepts(File);
  }
}

TEST_F(TTiffWriteLzw, APartlyTransparentRgbPageGetsAnAlphaSampleAndNoPredictor) {
  auto Page = Picture(ie24RGB, 50, 20);
  TIEBitmap* Alpha = Page->GetAlphaChannel();
  for (Integer Y = 0; Y < 20; ++Y)
    for (Integer X = 0; X < 50; ++X)
      static_cast<Byte*>(Alpha->GetScanline(Y))[X] = static_cast<Byte>(X * 5 + Y);
  TIOParamsVals Params;
  Params.TiffCompression = 5;
  const std::vector<Byte> File = WriteTiffBytes(Page.get(), Params);
  const TWrittenPage Written = ParseWrittenTiff(File)[0];
  EXPECT_EQ(Written.Value(277), 4u);
  EXPECT_EQ(Written.Value(338), 1u);
  EXPECT_FALSE(Written.Has(317));
  TIEBitmap Back;
  TIOParamsVals ReadParams;
  const TTiffReadBack R = ReadTiffPage(File, 0, Back, ReadParams);
  ASSERT_TRUE(R.AlphaMask);
  EXPECT_EQ(R.AlphaMask->GetPixel(7, 3), 7 * 5 + 3);
  ExpectTiffinfoAccepts(File);
}

TEST_F(TTiffWriteLzw, OnlyRgbRowsArePredicted) {
  // CIE L*a*b* and CMYK rows made from an RGB picture are not differenced.
  for (Byte Photometric : {7, 5}) {
    SCOPED_TRACE(Integer(Photometric));
    auto Page = Picture(ie24RGB, 30, 4);
    TIOParamsVals Params;
    Params.TiffPhotometric = Photometric;
    Params.TiffCompression = 5;
    const TWrittenPage Written = ParseWrittenTiff(WriteTiffBytes(Page.get(), Params))[0];
    EXPECT_EQ(Written.Value(262), Photometric == 7 ? 8u : 5u);
    EXPECT_FALSE(Written.Has(317));
  }
}

// A stream whose one write call number Failing takes nothing; the others go through.
class TOneFailingWrite : public TMemoryStream {
 public:
  explicit TOneFailingWrite(Integer Failing) : FFailing(Failing) {}
  Integer Write(const void* Buffer, Integer Count) override {
    return ++FCalls == FFailing ? 0 : TMemoryStream::Write(Buffer, Count);
  }

 private:
  Integer FFailing;
  Integer FCalls = 0;
};

TEST_F(TTiffWriteLzw, ALostWriteOfCodedRowsAborts) {
  auto Page = Picture(ie24RGB, 300, 100);
  TIOParamsVals Params;
  Params.TiffCompression = 5;
  TOneFailingWrite Stream(20);
  const TTiffWriteResult R = WriteTiffPage(Stream, Page.get(), Params);
  EXPECT_TRUE(R.Aborting);
  EXPECT_EQ(R.Pages, 0);
}

TEST_F(TTiffWriteLzw, WithoutAnLzwCoderThePageIsUncompressedAndUnpredicted) {
  const TTiffLzwCompressProc Library = IETiffLzwCompressProc;
  IETiffLzwCompressProc = nullptr;
  auto Page = Picture(ie24RGB, 20, 5);
  TIOParamsVals Params;
  Params.TiffLzwCompressProc = nullptr;
  Params.TiffCompression = 5;
  const std::vector<Byte> File = WriteTiffBytes(Page.get(), Params);
  IETiffLzwCompressProc = Library;
  const TWrittenPage Written = ParseWrittenTiff(File)[0];
  EXPECT_EQ(Written.Value(259), 1u);
  EXPECT_FALSE(Written.Has(317));
}

TEST_F(TTiffWriteLzw, TheParametersOwnCoderIsPreferred) {
  static Integer Calls = 0;
  Calls = 0;
  auto Page = Picture(ie8g, 20, 5);
  TIOParamsVals Params;
  Params.BitsPerSample = 8;
  Params.SamplesPerPixel = 1;
  Params.TiffCompression = 5;
  Params.TiffLzwCompressProc = [](const Byte* Row, Integer Length, TStream* Stream, void*& State) {
    ++Calls;
    IETiffLzwCompressProc(Row, Length, Stream, State);
  };
  WriteTiffBytes(Page.get(), Params);
  EXPECT_EQ(Calls, 6) << "five rows and the end of the strip";
}

TEST_F(TTiffWriteLzw, ATwoColourPictureKeepsItsTwoColoursApartOnA1BitPage) {
  // Two colours of the same grey level: a conversion by level cannot tell them apart, the
  // two-colour rule makes the first one seen black.
  const TIERGBTriple Dark{0, 0, 71}, Light{0, 21, 0};
  auto Page = std::make_unique<TIEBitmap>(16, 4, ie24RGB);
  for (Integer Y = 0; Y < 4; ++Y)
    for (Integer X = 0; X < 16; ++X) Page->SetPixel24(X, Y, X % 4 < 2 ? Dark : Light);
  TIOParamsVals Params;
  Params.BitsPerSample = 1;
  Params.SamplesPerPixel = 1;
  const std::vector<Byte> File = WriteTiffBytes(Page.get(), Params);
  TIEBitmap Back;
  TIOParamsVals ReadParams;
  ASSERT_FALSE(ReadTiffPage(File, 0, Back, ReadParams).Aborting);
  ASSERT_EQ(Back.GetPixelFormat(), ie1g);
  for (Integer X = 0; X < 16; ++X)
    EXPECT_EQ(IEGetBit(static_cast<Byte*>(Back.GetScanline(2)), X), X % 4 >= 2) << X;
}

}  // namespace
