// TPicture and the picture format registry.
#include "ClassesTestUtil.h"
#include "platform/classes/Icon.h"
#include "platform/classes/JPEGImage.h"
#include "tests/platform/system/TempFolder.h"

namespace {

// A graphic class that registers itself for a test and goes again.
class TTestGraphic : public TBitmap {};

}  // namespace

TEST(Picture, LoadFromFileChoosesTheClassByExtension) {
  TTempFolder Dir;
  TBitmap B;
  B.SetSize(3, 2);
  B.SaveToFile(Dir / "a.bmp");
  TJPEGImage J;
  J.Assign(&B);
  J.SaveToFile(Dir / "b.JPG");
  B.SaveToFile(Dir / "c.jpeg");  // a bitmap under a JPEG name

  TPicture P;
  Integer Changes = 0;
  struct TCounter {
    Integer* N;
    void Changed(TObject*) { ++*N; }
  } Counter{&Changes};
  P.OnChange = TNotifyEvent(&Counter, &TCounter::Changed);
  P.LoadFromFile(Dir / "a.bmp");
  EXPECT_NE(dynamic_cast<TBitmap*>(P.GetGraphic()), nullptr);
  EXPECT_EQ(P.GetWidth(), 3);
  EXPECT_EQ(P.GetHeight(), 2);
  EXPECT_EQ(Changes, 1);
  P.LoadFromFile(Dir / "b.JPG");
  EXPECT_NE(dynamic_cast<TJPEGImage*>(P.GetGraphic()), nullptr);
  EXPECT_EQ(P.GetWidth(), 3);
  // A failed load keeps the graphic.
  EXPECT_THROW(P.LoadFromFile(Dir / "c.jpeg"), EInvalidGraphic);
  EXPECT_NE(dynamic_cast<TJPEGImage*>(P.GetGraphic()), nullptr);
  ExpectError<EInvalidGraphic>([&] { P.LoadFromFile(Dir / "d.xyz"); },
                               "Unknown picture file extension (.xyz)");
  ExpectError<EInvalidGraphic>([&] { P.LoadFromFile(Dir / "noext"); }, "Unknown picture file extension (.)");
  // Saving writes through the graphic.
  P.SaveToFile(Dir / "e.jpg");
  TPicture Q;
  Q.LoadFromFile(Dir / "e.jpg");
  EXPECT_EQ(Q.GetWidth(), 3);
}

TEST(Picture, BitmapAndIconAccessorsReplaceOtherGraphics) {
  TPicture P;
  EXPECT_EQ(P.GetGraphic(), nullptr);
  EXPECT_EQ(P.GetWidth(), 0);
  TBitmap* B = P.GetBitmap();
  ASSERT_NE(B, nullptr);
  EXPECT_EQ(P.GetBitmap(), B);
  B->SetSize(4, 5);
  EXPECT_EQ(P.GetHeight(), 5);
  TIcon* I = P.GetIcon();
  EXPECT_EQ(static_cast<TGraphic*>(I), P.GetGraphic());
  EXPECT_TRUE(I->Empty());
  P.Assign(nullptr);
  EXPECT_EQ(P.GetGraphic(), nullptr);
}

TEST(Picture, AssignCopiesGraphicsAndPictures) {
  TBitmap B;
  B.SetSize(2, 2);
  TPicture P;
  P.Assign(&B);
  ASSERT_NE(P.GetGraphic(), nullptr);
  EXPECT_NE(P.GetGraphic(), &B);
  TPicture Q;
  Q.Assign(&P);
  EXPECT_NE(Q.GetGraphic(), P.GetGraphic());
  EXPECT_EQ(Q.GetWidth(), 2);
  // A picture assigns its graphic to a graphic of the same class.
  TBitmap C;
  C.Assign(&Q);
  EXPECT_EQ(C.GetWidth(), 2);
}

TEST(Picture, FiltersListTheRegisteredFormatsLatestFirst) {
  InitGraphicFormats();
  EXPECT_EQ(GraphicFilter(nullptr),
            "All (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|"
            "JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|"
            "Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf");
  EXPECT_EQ(GraphicFilter(GraphicClassOf<TBitmap>()), "Bitmaps (*.bmp)|*.bmp");
  EXPECT_EQ(GraphicFileMask(GraphicClassOf<TJPEGImage>()), "*.jpg;*.jpeg");
  EXPECT_EQ(GraphicFileMask(GraphicClassOf<TGraphic>()), "*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf");
  EXPECT_EQ(GraphicExtension(GraphicClassOf<TJPEGImage>()), "jpg");
  EXPECT_EQ(GraphicExtension(GraphicClassOf<TIcon>()), "ico");
  EXPECT_TRUE(TPicture::SupportsClipboardFormat(2));
  EXPECT_FALSE(TPicture::SupportsClipboardFormat(3));

  // A registered class joins the filters (and a derived class of TBitmap counts as a bitmap);
  // unregistering removes all its formats.
  TPicture::RegisterFileFormat("TST", "Test pictures", GraphicClassOf<TTestGraphic>());
  EXPECT_EQ(FindGraphicClassByExtension("tst"), GraphicClassOf<TTestGraphic>());
  EXPECT_EQ(GraphicFilter(GraphicClassOf<TBitmap>()),
            "All (*.tst;*.bmp)|*.tst;*.bmp|Test pictures (*.tst)|*.tst|Bitmaps (*.bmp)|*.bmp");
  TPicture::UnregisterGraphicClass(GraphicClassOf<TTestGraphic>());
  EXPECT_EQ(FindGraphicClassByExtension("tst"), nullptr);
  EXPECT_EQ(FindGraphicClassByExtension("BMP"), GraphicClassOf<TBitmap>());
}
