// TMetafile and TMetafileCanvas: recording through a canvas, sizes, streams and the picture
// registry.
#include "ClassesTestUtil.h"
#include "platform/classes/Metafile.h"
#include "platform/gdi/EnhMetaFile.h"
#include "platform/system/Streams.h"
#include "tests/platform/system/TempFolder.h"

namespace {

void Scene(TCanvas* C) {
  C->GetBrush()->SetColor(clRed);
  C->Rectangle(2, 2, 20, 14);
  C->GetPen()->SetColor(clBlue);
  C->MoveTo(0, 15);
  C->LineTo(31, 0);
  C->GetBrush()->SetColor(clLime);
  C->Ellipse(14, 4, 30, 15);
}

// A 24-bit bitmap of the size, white, with the graphic drawn at (0, 0) or the scene drawn.
std::unique_ptr<TBitmap> Render(Integer W, Integer H, TGraphic* G) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->GetCanvas()->GetBrush()->SetColor(clWhite);
  B->GetCanvas()->FillRect(TRect{0, 0, W, H});
  if (G)
    B->GetCanvas()->Draw(0, 0, G);
  else
    Scene(B->GetCanvas());
  return B;
}

// A placeable old-style metafile of 1000 x 500 units at 1000 units per inch with a red box.
std::vector<Byte> PlaceableWmf() {
  std::vector<Word> W{0xCDD7, 0x9AC6, 0, 0, 0, 1000, 500, 1000, 0, 0, 0};
  for (Integer I = 0; I < 10; ++I) W[10] ^= W[I];
  const std::vector<Word> Body{1, 9,      0x300,  0,    0,    0,   0,   0, 0, 5,
                               0, 0x020C, 500,    1000,                // window extent
                               7, 0,      0x02FC, 0,    0xFF, 0,   0,  // red brush
                               4, 0,      0x012D, 0,                   // selected
                               7, 0,      0x041B, 400,  500,  100, 100, 3, 0, 0};
  W.insert(W.end(), Body.begin(), Body.end());
  std::vector<Byte> Out;
  for (Word X : W) Out.push_back(static_cast<Byte>(X)), Out.push_back(static_cast<Byte>(X >> 8));
  return Out;
}

}  // namespace

TEST(Metafile, CanvasRecordingDrawsAsTheCanvasDoes) {
  TMetafile M;
  M.SetWidth(32);
  M.SetHeight(16);
  EXPECT_EQ(M.GetMMWidth(), 847);  // 32 pixels at 96 per inch, in 0.01 mm
  {
    TMetafileCanvas C(&M, nullptr, "tilvarok", "scene");
    Scene(&C);
  }
  ASSERT_FALSE(M.Empty());
  EXPECT_TRUE(M.GetEnhanced());
  EXPECT_EQ(M.GetWidth(), 32);
  EXPECT_EQ(M.GetHeight(), 16);
  EXPECT_EQ(M.GetCreatedBy(), "tilvarok");
  EXPECT_EQ(M.GetDescription(), "scene");

  // Through a stream, then drawn on a bitmap's canvas.
  TMemoryStream S;
  M.SaveToStream(&S);
  S.SetPosition(0);
  TMetafile Loaded;
  Loaded.LoadFromStream(&S);
  EXPECT_EQ(Loaded.GetWidth(), 32);
  auto Direct = Render(32, 16, nullptr);
  auto Played = Render(32, 16, &Loaded);
  for (Integer Y = 0; Y < 16; ++Y)
    for (Integer X = 0; X < 32; ++X)
      ASSERT_EQ(Played->GetCanvas()->GetPixels(X, Y), Direct->GetCanvas()->GetPixels(X, Y)) << X << "," << Y;
}

TEST(Metafile, PlaceableFilesTakeTheirSizeFromTheHeader) {
  const std::vector<Byte> D = PlaceableWmf();
  TMemoryStream S;
  S.WriteBuffer(D.data(), static_cast<Integer>(D.size()));
  S.SetPosition(0);
  TMetafile M;
  M.LoadFromStream(&S);
  EXPECT_FALSE(M.GetEnhanced());
  EXPECT_EQ(M.GetInch(), 1000);
  EXPECT_EQ(M.GetMMWidth(), 2540);
  EXPECT_EQ(M.GetMMHeight(), 1270);
  EXPECT_EQ(M.GetWidth(), 96);
  EXPECT_EQ(M.GetHeight(), 48);
  auto B = Render(96, 48, &M);
  EXPECT_EQ(B->GetCanvas()->GetPixels(5, 5), clWhite);
  EXPECT_EQ(B->GetCanvas()->GetPixels(30, 20), clRed);
}

TEST(Metafile, InvalidDataRaisesAndKeepsThePicture) {
  TMetafile M;
  M.SetWidth(10);
  M.SetHeight(10);
  {
    TMetafileCanvas C(&M, nullptr);
    C.Rectangle(0, 0, 5, 5);
  }
  const HENHMETAFILE Before = M.GetHandle();
  for (const std::string& Junk : {std::string("not a metafile at all, just text"), std::string()}) {
    TMemoryStream S;
    if (!Junk.empty()) S.WriteBuffer(Junk.data(), static_cast<Integer>(Junk.size()));
    S.SetPosition(0);
    try {
      M.LoadFromStream(&S);
      ADD_FAILURE() << "no exception";
    } catch (const EInvalidGraphic& E) {
      EXPECT_EQ(E.GetMessage(), "Metafile is not valid");
    }
    EXPECT_EQ(M.GetHandle(), Before);
  }
}

TEST(Metafile, PicturesLoadBothKindsByExtension) {
  TTempFolder Dir;
  TMetafile M;
  M.SetWidth(20);
  M.SetHeight(10);
  {
    TMetafileCanvas C(&M, nullptr);
    C.Rectangle(0, 0, 20, 10);
  }
  M.SaveToFile(Dir / "a.emf");
  const std::vector<Byte> W = PlaceableWmf();
  {
    TFileStream F(Dir / "b.wmf", fmCreate);
    F.WriteBuffer(W.data(), static_cast<Integer>(W.size()));
  }
  TPicture P;
  P.LoadFromFile(Dir / "a.emf");
  ASSERT_NE(dynamic_cast<TMetafile*>(P.GetGraphic()), nullptr);
  EXPECT_EQ(P.GetWidth(), 20);
  P.LoadFromFile(Dir / "b.wmf");
  ASSERT_NE(dynamic_cast<TMetafile*>(P.GetGraphic()), nullptr);
  EXPECT_EQ(P.GetWidth(), 96);
  EXPECT_EQ(FindGraphicClassByExtension("EMF"), GraphicClassOf<TMetafile>());
}
