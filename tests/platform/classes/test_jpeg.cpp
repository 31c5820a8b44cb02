// TJPEGImage over libjpeg: round trips, scaling, output formats, corrupt data.
#include <cmath>
#include <cstdio>

#include "ClassesTestUtil.h"
#include "platform/classes/JPEGImage.h"
#include "platform/system/Format.h"

#include <jpeglib.h>  // after the platform headers (it defines TRUE and FALSE)

namespace {

// A 24-bit picture of smooth gradients with a few hard edges.
void FillTestPicture(TBitmap& B, Integer W, Integer H, TPixelFormat Format = pf24bit) {
  B.SetPixelFormat(Format);
  B.SetSize(W, H);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      const Byte R = static_cast<Byte>(X * 255 / (W - 1));
      const Byte G = static_cast<Byte>(Y * 255 / (H - 1));
      const Byte Bl = (X / 16 + Y / 16) % 2 ? 200 : 40;
      B.GetCanvas()->SetPixels(X, Y, static_cast<TColor>(RGB(R, G, Bl)));
    }
}

double MeanAbsoluteError(TBitmap& A, TBitmap& B) {
  double Sum = 0;
  for (Integer Y = 0; Y < A.GetHeight(); ++Y)
    for (Integer X = 0; X < A.GetWidth(); ++X) {
      const COLORREF P = PixelAt(A, X, Y), Q = PixelAt(B, X, Y);
      Sum += std::abs(GetRValue(P) - GetRValue(Q)) + std::abs(GetGValue(P) - GetGValue(Q)) +
             std::abs(GetBValue(P) - GetBValue(Q));
    }
  return Sum / (3.0 * A.GetWidth() * A.GetHeight());
}

std::vector<Byte> Compress(TBitmap& B, Integer Quality = 90, bool Progressive = false, bool Grey = false) {
  TJPEGImage J;
  J.Assign(&B);
  J.SetCompressionQuality(Quality);
  J.SetProgressiveEncoding(Progressive);
  J.SetGrayscale(Grey);
  return SaveBytes(J);
}

}  // namespace

TEST(Jpeg, SaveAndLoadRoundTripAtQuality90) {
  TBitmap Source;
  FillTestPicture(Source, 64, 48);
  TJPEGImage J;
  EXPECT_EQ(J.GetCompressionQuality(), 90);
  J.Assign(&Source);
  EXPECT_EQ(J.GetWidth(), 64);
  const std::vector<Byte> Data = SaveBytes(J);
  ASSERT_GT(Data.size(), 2u);
  EXPECT_EQ(Data[0], 0xFF);
  EXPECT_EQ(Data[1], 0xD8);

  TJPEGImage L;
  LoadBytes(L, Data);
  EXPECT_EQ(L.GetWidth(), 64);
  EXPECT_EQ(L.GetHeight(), 48);
  EXPECT_FALSE(L.GetGrayscale());
  TBitmap Out;
  Out.Assign(&L);
  EXPECT_EQ(Out.GetPixelFormat(), pf24bit);
  // Chroma subsampling blurs the hard blue edges of the picture: about 3 levels on average.
  EXPECT_LT(MeanAbsoluteError(Source, Out), 4.0);
  // Loaded data is written back unchanged, whatever the settings now say.
  L.SetCompressionQuality(20);
  EXPECT_EQ(SaveBytes(L), Data);
}

TEST(Jpeg, EverySourceFormatCompresses) {
  TBitmap Reference;
  FillTestPicture(Reference, 40, 24);
  for (TPixelFormat F : {pfDevice, pf32bit, pf16bit, pf8bit}) {
    SCOPED_TRACE(F);
    TBitmap Source;
    Source.Assign(&Reference);
    Source.SetPixelFormat(F);
    TJPEGImage L;
    LoadBytes(L, Compress(Source));
    TBitmap Out;
    Out.Assign(&L);
    ASSERT_EQ(Out.GetWidth(), 40);
    // The 8-bit source has the halftone palette's coarse steps, which cost more.
    EXPECT_LT(MeanAbsoluteError(Source, Out), F == pf8bit ? 10.0 : 4.0);
  }
}

TEST(Jpeg, QualityAndProgressiveEncoding) {
  TBitmap Source;
  FillTestPicture(Source, 64, 64);
  const std::vector<Byte> Low = Compress(Source, 10), High = Compress(Source, 95);
  EXPECT_LT(Low.size(), High.size());
  const std::vector<Byte> Progressive = Compress(Source, 90, true);
  // A progressive frame is SOF2 (FFC2).
  bool Sof2 = false;
  for (std::size_t I = 0; I + 1 < Progressive.size() && !Sof2; ++I)
    Sof2 = Progressive[I] == 0xFF && Progressive[I + 1] == 0xC2;
  EXPECT_TRUE(Sof2);
  TJPEGImage L;
  LoadBytes(L, Progressive);
  TBitmap Out;
  Out.Assign(&L);
  EXPECT_LT(MeanAbsoluteError(Source, Out), 4.0);
}

TEST(Jpeg, ScaleDecodesSmaller) {
  TBitmap Source;
  FillTestPicture(Source, 65, 33);
  const std::vector<Byte> Data = Compress(Source);
  const struct {
    TJPEGScale Scale;
    Integer W, H;
  } Cases[] = {{jsFullSize, 65, 33}, {jsHalf, 33, 17}, {jsQuarter, 17, 9}, {jsEighth, 9, 5}};
  TJPEGImage J;
  LoadBytes(J, Data);
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Scale);
    J.SetScale(C.Scale);
    EXPECT_EQ(J.GetWidth(), C.W);
    EXPECT_EQ(J.GetHeight(), C.H);
    TBitmap Out;
    Out.Assign(&J);
    EXPECT_EQ(Out.GetWidth(), C.W);
    EXPECT_EQ(Out.GetHeight(), C.H);
  }
}

TEST(Jpeg, GreyscaleAndEightBitOutput) {
  TBitmap Source;
  FillTestPicture(Source, 32, 32);
  TJPEGImage Grey;
  LoadBytes(Grey, Compress(Source, 90, false, true));
  EXPECT_TRUE(Grey.GetGrayscale());
  TBitmap G;
  G.Assign(&Grey);
  EXPECT_EQ(G.GetPixelFormat(), pf8bit);
  const COLORREF P = PixelAt(G, 10, 20);
  EXPECT_EQ(GetRValue(P), GetGValue(P));
  EXPECT_EQ(GetGValue(P), GetBValue(P));
  // A grey bitmap compresses from its rows as one component.
  TJPEGImage Again;
  LoadBytes(Again, Compress(G));
  EXPECT_TRUE(Again.GetGrayscale());

  TJPEGImage Colour;
  LoadBytes(Colour, Compress(Source));
  Colour.SetPixelFormat(jf8Bit);
  TBitmap Eight;
  Eight.Assign(&Colour);
  EXPECT_EQ(Eight.GetPixelFormat(), pf8bit);
  EXPECT_NE(Colour.GetPalette(), nullptr);
  EXPECT_LT(MeanAbsoluteError(Source, Eight), 12.0);
  Colour.SetPerformance(jpBestSpeed);
  Eight.Assign(&Colour);
  EXPECT_LT(MeanAbsoluteError(Source, Eight), 16.0);
}

TEST(Jpeg, AdobeCmykComesOutAsRgb) {
  // 8x8 of stored (inverted) C=255 M=0 Y=0 K=255: no cyan, full magenta and yellow, no black.
  std::vector<Byte> Row(8 * 4);
  for (Integer X = 0; X < 8; ++X) {
    Row[4 * X] = 255;
    Row[4 * X + 1] = 0;
    Row[4 * X + 2] = 0;
    Row[4 * X + 3] = 255;
  }
  jpeg_compress_struct C;
  jpeg_error_mgr Err;
  C.err = jpeg_std_error(&Err);
  jpeg_create_compress(&C);
  unsigned char* Out = nullptr;
  unsigned long OutSize = 0;
  jpeg_mem_dest(&C, &Out, &OutSize);
  C.image_width = 8;
  C.image_height = 8;
  C.input_components = 4;
  C.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&C);
  jpeg_set_quality(&C, 100, TRUE);
  jpeg_start_compress(&C, TRUE);
  while (C.next_scanline < 8) {
    JSAMPROW R = Row.data();
    jpeg_write_scanlines(&C, &R, 1);
  }
  jpeg_finish_compress(&C);
  jpeg_destroy_compress(&C);
  std::vector<Byte> Data(Out, Out + OutSize);
  std::free(Out);

  TJPEGImage J;
  LoadBytes(J, Data);
  TBitmap B;
  B.Assign(&J);
  const COLORREF P = PixelAt(B, 3, 3);
  EXPECT_GE(GetRValue(P), 250);
  EXPECT_LE(GetGValue(P), 5);
  EXPECT_LE(GetBValue(P), 5);
}

TEST(Jpeg, CorruptDataRaisesAndKeepsTheImage) {
  TBitmap Source;
  FillTestPicture(Source, 64, 64);
  const std::vector<Byte> Good = Compress(Source);
  std::vector<Byte> BadPrecision = Good;
  for (std::size_t I = 2; I + 4 < BadPrecision.size(); ++I)
    if (BadPrecision[I] == 0xFF && BadPrecision[I + 1] == 0xC0) {  // the frame header
      BadPrecision[I + 4] = 3;                                     // 3-bit samples
      break;
    }
  std::vector<Byte> CutHeader(Good.begin(), Good.begin() + 20);
  const std::vector<Byte> Cases[] = {
      {'B', 'M', 1, 2, 3, 4}, {0xFF, 0xD8}, BadPrecision, CutHeader, {},
  };
  for (const std::vector<Byte>& Bad : Cases) {
    TJPEGImage J;
    LoadBytes(J, Good);
    try {
      LoadBytes(J, Bad);
      ADD_FAILURE() << "no exception for " << Bad.size() << " bytes";
    } catch (const EInvalidGraphic& E) {
      EXPECT_EQ(E.GetMessage().rfind("JPEG error: ", 0), 0u) << E.GetMessage();
    }
    EXPECT_EQ(SaveBytes(J), Good);
  }
  // Scan data that ends early still decodes (libjpeg fills the rest), as the platform's does.
  std::vector<Byte> Cut(Good.begin(), Good.begin() + static_cast<std::ptrdiff_t>(Good.size() * 9 / 10));
  TJPEGImage J;
  LoadBytes(J, Cut);
  TBitmap Out;
  Out.Assign(&J);
  EXPECT_EQ(Out.GetWidth(), 64);
  // A broken Huffman table fails, whether on loading or on decoding.
  std::vector<Byte> BadTable = Good;
  for (std::size_t I = 2; I + 21 < BadTable.size(); ++I)
    if (BadTable[I] == 0xFF && BadTable[I + 1] == 0xC4) {
      for (std::size_t K = I + 5; K < I + 21; ++K) BadTable[K] = 0xFF;  // more codes than exist
      break;
    }
  EXPECT_THROW(
      {
        TJPEGImage D;
        LoadBytes(D, BadTable);
        TBitmap Never;
        Never.Assign(&D);
      },
      EInvalidGraphic);
}

TEST(Jpeg, SizeIsFixedAndEmptyImagesSaveNothing) {
  TJPEGImage J;
  EXPECT_TRUE(J.Empty());
  EXPECT_TRUE(SaveBytes(J).empty());
  TBitmap Source;
  FillTestPicture(Source, 8, 8);
  J.Assign(&Source);
  ExpectError<EInvalidGraphicOperation>([&] { J.SetWidth(9); }, "Cannot change the size of a JPEG image");
  J.SetWidth(8);
  // Drawing decodes once and stretches.
  TBitmap Dst;
  Dst.SetSize(16, 16);
  Dst.GetCanvas()->StretchDraw(Rect(0, 0, 16, 16), &J);
  const COLORREF P = PixelAt(Dst, 15, 15), Q = PixelAt(Source, 7, 7);
  EXPECT_NEAR(GetRValue(P), GetRValue(Q), 12);
  J.Assign(nullptr);
  EXPECT_TRUE(J.Empty());
}

namespace {
// Good with the frame header's (baseline or progressive) size replaced.
std::vector<Byte> WithClaimedSize(std::vector<Byte> Good, Integer Width, Integer Height) {
  for (std::size_t I = 2; I + 8 < Good.size(); ++I)
    if (Good[I] == 0xFF && (Good[I + 1] == 0xC0 || Good[I + 1] == 0xC2)) {
      Good[I + 5] = static_cast<Byte>(Height >> 8);
      Good[I + 6] = static_cast<Byte>(Height);
      Good[I + 7] = static_cast<Byte>(Width >> 8);
      Good[I + 8] = static_cast<Byte>(Width);
      break;
    }
  return Good;
}
}  // namespace

// A header may claim far more than the file holds: the decoder refuses before it allocates
// the claimed picture, not after filling it from nothing.
TEST(Jpeg, ClaimedSizeTheBitmapOrTheDataCannotHoldIsRefusedBeforeDecoding) {
  TBitmap Source;
  FillTestPicture(Source, 64, 64);
  struct TCase {
    bool Progressive;
    Integer Width, Height;
    const char* Reason;
  };
  const TCase Cases[] = {
      {false, 30000, 30000, "is too large"},
      {false, 8000, 8000, "is more than its data can hold"},
      {true, 8000, 8000, "is more than its data can hold"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Width);
    TJPEGImage J;
    LoadBytes(J, WithClaimedSize(Compress(Source, 90, C.Progressive), C.Width, C.Height));
    EXPECT_EQ(J.GetWidth(), C.Width);  // the header alone is read as it is
    try {
      J.DIBNeeded();
      ADD_FAILURE() << "decoded";
    } catch (const EInvalidGraphic& E) {
      EXPECT_EQ(E.GetMessage(),
                Format("JPEG error: a picture of %d x %d pixels %s", {C.Width, C.Height, C.Reason}));
    }
  }
}
