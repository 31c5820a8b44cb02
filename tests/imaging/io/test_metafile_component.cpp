// The component's metafile loads: WMF and EMF drawn into a 24-bit picture at its own size, a
// proportional or a given size, within the library's limit, with the unpainted part transparent.
#include "ComponentTestSupport.h"
#include "imaging/io/ieiolibrary.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/Metafile.h"

namespace {

// A 20 x 10 enhanced metafile: a red left half, a pixel in the key colour, the rest unpainted.
std::string HalfRedEmf() {
  TMetafile M;
  M.SetWidth(20);
  M.SetHeight(10);
  {
    TMetafileCanvas C(&M, nullptr);
    C.GetBrush()->SetColor(clRed);
    C.FillRect(TRect{0, 0, 10, 10});
    C.SetPixels(15, 8, static_cast<TColor>(66051));
  }
  TMemoryStream S;
  M.SaveToStream(&S);
  return std::string(static_cast<const char*>(S.GetMemory()), static_cast<size_t>(S.GetSize()));
}

// Red, green, blue of a 24-bit picture's pixel.
TColor PixelOf(TIEBitmap* B, Integer X, Integer Y) {
  const auto* P = static_cast<const Byte*>(B->GetScanline(Y)) + X * 3;
  return static_cast<TColor>(P[2] | (P[1] << 8) | (P[0] << 16));
}

Byte AlphaOf(TIEBitmap* B, Integer X, Integer Y) {
  return static_cast<const Byte*>(B->GetAlphaChannel()->GetScanline(Y))[X];
}

class TMetafileComponentTest : public TComponentTest {
 protected:
  TZezudIdIO IO{nullptr};
};

TEST_F(TMetafileComponentTest, FilesLoadAtTheirOwnSizeWithTransparency) {
  const std::u16string Name = WriteFile("half.emf", HalfRedEmf());
  IO.SetBackground(clBlue);
  IO.LoadFromFile(Name);
  ASSERT_FALSE(IO.GetAborting());
  TIEBitmap* B = IO.GetIEBitmap();
  ASSERT_EQ(B->GetWidth(), 20);
  ASSERT_EQ(B->GetHeight(), 10);
  EXPECT_EQ(B->GetPixelFormat(), ie24RGB);
  EXPECT_EQ(IO.GetParams()->FileType, ioEMF);
  EXPECT_EQ(IO.GetParams()->FileName, Name);
  EXPECT_EQ(IO.GetParams()->FileWidth, 20);
  EXPECT_EQ(PixelOf(B, 2, 2), clRed);
  EXPECT_EQ(PixelOf(B, 15, 2), clBlue);  // the component's background
  ASSERT_TRUE(B->HasAlphaChannel());
  EXPECT_EQ(AlphaOf(B, 2, 2), 255);
  EXPECT_EQ(AlphaOf(B, 15, 2), 0);
  // A pixel the metafile itself paints in the key colour is transparent too.
  EXPECT_EQ(PixelOf(B, 15, 8), static_cast<TColor>(66051));
  EXPECT_EQ(AlphaOf(B, 15, 8), 0);
}

TEST_F(TMetafileComponentTest, SizeRulesAndTheLimit) {
  const std::string Emf = HalfRedEmf();
  struct TCase {
    Integer W, H, WantW, WantH;
  };
  for (const TCase& C :
       {TCase{40, -1, 40, 20}, TCase{-1, 5, 10, 5}, TCase{7, 3, 7, 3}, TCase{-1, -1, 20, 10}}) {
    TMemoryStream S;
    S.WriteBuffer(Emf.data(), static_cast<Integer>(Emf.size()));
    S.SetPosition(0);
    IO.LoadFromStreamMetafile(&S, C.W, C.H, false);
    EXPECT_FALSE(IO.GetAborting());
    EXPECT_EQ(IO.GetIEBitmap()->GetWidth(), C.WantW) << C.W << "," << C.H;
    EXPECT_EQ(IO.GetIEBitmap()->GetHeight(), C.WantH) << C.W << "," << C.H;
    EXPECT_FALSE(IO.GetIEBitmap()->HasAlphaChannel());
    EXPECT_TRUE(IO.GetParams()->FileName.empty());
  }
  // The larger side is held to the library's limit, the other in proportion.
  IEMetafileMaxSize = 8;
  TMemoryStream S;
  S.WriteBuffer(Emf.data(), static_cast<Integer>(Emf.size()));
  S.SetPosition(0);
  IO.LoadFromStreamMetafile(&S, -1, -1, false);
  IEMetafileMaxSize = 8000;
  EXPECT_EQ(IO.GetIEBitmap()->GetWidth(), 8);
  EXPECT_EQ(IO.GetIEBitmap()->GetHeight(), 4);
}

TEST_F(TMetafileComponentTest, EmptyOrInvalidMetafiles) {
  // A metafile without a size sets Aborting and keeps the picture.
  TMetafile Empty;
  { TMetafileCanvas C(&Empty, nullptr); }
  TMemoryStream S;
  Empty.SaveToStream(&S);
  S.SetPosition(0);
  IO.GetIEBitmap()->Allocate(3, 3, ie24RGB);
  IO.LoadFromStreamMetafile(&S, -1, -1, true);
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_EQ(IO.GetIEBitmap()->GetWidth(), 3);
  // Data that is no metafile raises the picture class's error.
  TMemoryStream Junk;
  Junk.WriteBuffer("junk data here", 14);
  Junk.SetPosition(0);
  EXPECT_THROW(IO.LoadFromStreamMetafile(&Junk, -1, -1, true), EInvalidGraphic);
  EXPECT_TRUE(IO.GetAborting());
}

TEST_F(TMetafileComponentTest, ParametersAndLoadsByCode) {
  const std::string Emf = HalfRedEmf();
  TMemoryStream S;
  S.WriteBuffer(Emf.data(), static_cast<Integer>(Emf.size()));
  S.SetPosition(0);
  IO.GetIEBitmap()->Allocate(3, 3, ie24RGB);
  IO.ParamsFromStreamFormat(&S, ioEMF);
  EXPECT_EQ(IO.GetParams()->FileType, ioEMF);
  EXPECT_EQ(IO.GetParams()->Width, 20);
  EXPECT_EQ(IO.GetParams()->Height, 10);
  EXPECT_EQ(IO.GetIEBitmap()->GetWidth(), 3);
  S.SetPosition(0);
  IO.LoadFromStreamFormat(&S, ioEMF);
  EXPECT_EQ(IO.GetParams()->FileType, ioEMF);
  EXPECT_EQ(IO.GetIEBitmap()->GetWidth(), 20);
  EXPECT_TRUE(IO.GetIEBitmap()->HasAlphaChannel());
}

}  // namespace
