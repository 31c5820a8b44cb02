// Drawing of vector objects burnt into a picture: straight and composed objects, the
// highlighter, invisible objects, placeholders, the draw events, text boxes and multi-line boxes.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "VectTestSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iegdiplus.h"
#include "imaging/core/iegeometry.h"
#include "imaging/view/ievect.h"

namespace {

class TDrawVect : public TZezudIdVect {
 public:
  using TZezudIdVect::DrawsStraight;
  using TZezudIdVect::TZezudIdVect;
};

class VectDraw : public ::testing::Test {
 protected:
  void SetUp() override {
    Vect = std::make_unique<TDrawVect>(nullptr);
    Vect->SetObjAntialias(false);
    Picture = std::make_unique<TIEBitmap>(40, 30, ie24RGB);
    Fill(TIERGBTriple{255, 255, 255});
  }
  void Fill(TIERGBTriple C) {
    for (Integer Y = 0; Y < Picture->GetHeight(); ++Y)
      for (Integer X = 0; X < Picture->GetWidth(); ++X) Picture->SetPixel24(X, Y, C);
  }
  Integer Add(TIEVObjectKind Kind, TRect R) {
    const Integer H = Vect->AddNewObject(Kind);
    Vect->SetObjRect(H, R);
    Vect->ObjectRecord(H)->PenColor = 0x0000FF;  // red
    return H;
  }
  void Draw() { Vect->DrawObjectsToBitmap(Picture.get(), false); }
  TIERGBTriple Px(Integer X, Integer Y) { return Picture->GetPixel24(X, Y); }

  std::unique_ptr<TDrawVect> Vect;
  std::unique_ptr<TIEBitmap> Picture;
};

constexpr TIERGBTriple White{255, 255, 255};
constexpr TIERGBTriple Red{0, 0, 255};

TEST_F(VectDraw, OpaqueBoxOutlineAndFill) {
  const Integer H = Add(ievoBox, TRect{5, 5, 14, 12});
  Vect->ObjectRecord(H)->BrushStyle = bsSolid;
  Vect->ObjectRecord(H)->BrushColor = 0x00FF00;
  Draw();
  EXPECT_EQ(Px(5, 5), Red);
  EXPECT_EQ(Px(14, 12), Red);  // the far edges are X2 and Y2 themselves
  EXPECT_EQ(Px(15, 13), White);
  EXPECT_EQ(Px(9, 8), (TIERGBTriple{0, 255, 0}));
}

TEST_F(VectDraw, LineOfAnyOpacityIsStraightTextBelowOpaqueIsComposed) {
  const Integer Line = Add(ievoLine, TRect{0, 0, 30, 0});
  const Integer Text = Add(ievoText, TRect{0, 5, 30, 20});
  Vect->ObjectRecord(Line)->Transparency = 100;
  Vect->ObjectRecord(Text)->Transparency = 100;
  EXPECT_TRUE(Vect->DrawsStraight(*Vect->ObjectRecord(Line)));
  EXPECT_FALSE(Vect->DrawsStraight(*Vect->ObjectRecord(Text)));
  Vect->ObjectRecord(Text)->Transparency = 255;
  EXPECT_TRUE(Vect->DrawsStraight(*Vect->ObjectRecord(Text)));
  Vect->ObjectRecord(Line)->SoftShadow->Enabled = true;
  EXPECT_FALSE(Vect->DrawsStraight(*Vect->ObjectRecord(Line)));
}

TEST_F(VectDraw, HighlighterMultipliesWhatIsUnderIt) {
  for (Integer X = 20; X < 40; ++X)
    for (Integer Y = 0; Y < 30; ++Y) Picture->SetPixel24(X, Y, TIERGBTriple{0, 0, 0});
  const Integer H = Add(ievoBox, TRect{10, 10, 29, 19});
  TIEVObject* R = Vect->ObjectRecord(H);
  R->Highlight = 1;
  R->BrushColor = 0x00FFFF;  // yellow
  R->BrushStyle = bsSolid;
  R->PenWidth = 5;
  Draw();
  EXPECT_EQ(Px(15, 15), (TIERGBTriple{0, 255, 255}));  // white becomes yellow
  EXPECT_EQ(Px(25, 15), (TIERGBTriple{0, 0, 0}));      // black stays black
  EXPECT_EQ(Px(5, 15), White);
  EXPECT_EQ(R->PenWidth, 1);
}

TEST_F(VectDraw, InvisibleObjectIsNotDrawn) {
  const Integer H = Add(ievoBox, TRect{5, 5, 14, 12});
  Vect->ObjectRecord(H)->Style = IEVSTYLE_SELECTABLE | IEVSTYLE_MOVABLE | IEVSTYLE_RESIZABLE;
  Draw();
  EXPECT_EQ(Px(5, 5), White);
}

TEST_F(VectDraw, BitmapWithoutPictureIsACrossedRectangle) {
  const Integer H = Add(ievoBitmap, TRect{0, 0, 20, 20});
  Vect->SetObjBitmapIndex(H, -1);
  Draw();
  EXPECT_EQ(Px(10, 10), Red);  // diagonal
  EXPECT_EQ(Px(0, 10), Red);   // outline
  EXPECT_EQ(Px(5, 10), White);
}

TEST_F(VectDraw, BitmapObjectShowsItsPicture) {
  const Integer H = Add(ievoBitmap, TRect{2, 3, 11, 12});
  auto Source = TestPicture(10, 10, 1);
  Vect->SetObjBitmap(H, Source.get());
  Draw();
  EXPECT_EQ(Px(2, 3), Source->GetPixel24(0, 0));
  EXPECT_EQ(Px(11, 12), Source->GetPixel24(9, 9));
}

TEST_F(VectDraw, HandledBeforeDrawSuppressesButAfterStillFires) {
  struct THandler {
    int Before = 0, After = 0;
    void OnBefore(TObject*, Integer, TBitmap*, const TRect&, bool, bool& Handled) {
      ++Before;
      Handled = true;
    }
    void OnAfter(TObject*, Integer, TBitmap*, const TRect&, bool, bool& Handled) {
      ++After;
      EXPECT_TRUE(Handled);
    }
  } Handler;
  Vect->OnBeforeDrawObject = TIEDrawObjectEvent(&Handler, &THandler::OnBefore);
  Vect->OnAfterDrawObject = TIEDrawObjectEvent(&Handler, &THandler::OnAfter);
  Add(ievoBox, TRect{5, 5, 14, 12});
  Draw();
  EXPECT_EQ(Handler.Before, 1);
  EXPECT_EQ(Handler.After, 1);
  EXPECT_EQ(Px(5, 5), White);
}

TEST_F(VectDraw, TranslucentTextBoxBlendsItsOutline) {
  const Integer H = Add(ievoText, TRect{5, 5, 30, 20});
  Vect->ObjectRecord(H)->Transparency = 128;
  Draw();
  const TIERGBTriple P = Px(5, 5);
  EXPECT_NEAR(P.rgbtRed, 255, 2);
  EXPECT_NEAR(P.rgbtGreen, 127, 3);  // half-way between white and red
  EXPECT_EQ(Px(2, 2), White);
}

TEST_F(VectDraw, MultiLineBoxDrawsItsTextAndKeepsItsParts) {
  Picture = std::make_unique<TIEBitmap>(120, 60, ie24RGB);
  Fill(White);
  const Integer H = Add(ievoMemo, TRect{0, 0, 119, 59});
  TIEVObject* R = Vect->ObjectRecord(H);
  R->Text = "Hello";
  R->PenColor = 0;
  R->MemoBorderStyle = psClear;
  R->BrushStyle = bsClear;
  R->MemoBackgroundStyle = bsClear;
  Draw();
  Integer Dark = 0;
  for (Integer Y = 0; Y < 60; ++Y)
    for (Integer X = 0; X < 120; ++X) Dark += Px(X, Y).rgbtRed < 128;
  EXPECT_GT(Dark, 20);
  EXPECT_EQ(R->Text, "Hello");
  EXPECT_EQ(R->MemoCharFormats.size(), 5u);  // handed back by the text control
}

TEST_F(VectDraw, TextBoxTextRunsAlongItsEscapement) {
  Picture = std::make_unique<TIEBitmap>(120, 120, ie24RGB);
  auto InkBox = [&](Integer Escapement) {
    Fill(White);
    Vect->RemoveAllObjects();
    const Integer H = Add(ievoText, TRect{10, 10, 109, 109});
    TIEVObject* R = Vect->ObjectRecord(H);
    R->Text = "WWWWW";
    R->PenStyle = psClear;
    R->LogFont->lfHeight = -16;
    R->LogFont->lfEscapement = Escapement;
    R->LogFont->lfFaceName = "Liberation Sans";
    R->TextAlign = 2;
    Draw();
    TRect Ink{1000, 1000, -1, -1};
    for (Integer Y = 0; Y < 120; ++Y)
      for (Integer X = 0; X < 120; ++X)
        if (Px(X, Y).rgbtGreen < 128) IEExpandRect(Ink, X, Y);
    return Ink;
  };
  const TRect Flat = InkBox(0);
  const TRect Upright = InkBox(900);
  ASSERT_GT(Flat.Right, Flat.Left);
  ASSERT_GT(Upright.Bottom, Upright.Top);
  EXPECT_GT(Flat.Width(), 2 * Flat.Height());
  EXPECT_GT(Upright.Height(), 2 * Upright.Width());
  // Both stay inside the box.
  EXPECT_GE(Upright.Top, 10);
  EXPECT_LE(Upright.Bottom, 110);
}

TEST_F(VectDraw, CurvedTextFollowsItsPath) {
  Picture = std::make_unique<TIEBitmap>(120, 120, ie24RGB);
  Fill(White);
  const Integer H = Add(ievoText, TRect{10, 10, 109, 109});
  TIEVObject* R = Vect->ObjectRecord(H);
  R->Text = "WWWWWW";
  R->PenStyle = psClear;
  R->LogFont->lfHeight = -14;
  R->LogFont->lfFaceName = "Liberation Sans";
  R->CurvePoints = {TIEVPointD{0.5, 0.0}, TIEVPointD{0.5, 1.0}};  // straight down the middle
  Draw();
  TRect Ink{1000, 1000, -1, -1};
  for (Integer Y = 0; Y < 120; ++Y)
    for (Integer X = 0; X < 120; ++X)
      if (Px(X, Y).rgbtGreen < 128) IEExpandRect(Ink, X, Y);
  ASSERT_GT(Ink.Bottom, Ink.Top);
  EXPECT_GT(Ink.Height(), 3 * Ink.Width());
  EXPECT_NEAR((Ink.Left + Ink.Right) / 2, 60, 12);
}

TEST_F(VectDraw, SupersampledWithoutTheInterfaceSmoothsEdges) {
  IEGdiPlusSetAllowed(false);
  const bool Enabled = IEGdiPlusEnabled();
  const Integer H = Add(ievoLine, TRect{0, 0, 39, 10});
  Vect->ObjectRecord(H)->PenColor = 0;
  Vect->DrawObjectsToBitmap(Picture.get(), true);
  IEGdiPlusSetAllowed(true);
  ASSERT_FALSE(Enabled);
  // Filtered down from twice the size: some pixels along the line are neither white nor black.
  Integer Grey = 0, Dark = 0;
  for (Integer Y = 0; Y < 30; ++Y)
    for (Integer X = 0; X < 40; ++X) {
      const Byte G = Px(X, Y).rgbtGreen;
      Grey += G > 30 && G < 225;
      Dark += G < 128;
    }
  EXPECT_GT(Dark, 20);
  EXPECT_GT(Grey, 10);
}

}  // namespace
