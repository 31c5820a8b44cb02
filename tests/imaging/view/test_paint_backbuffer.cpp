// The back buffer the view composes: the picture at zoom 50, 100 and 200 with its centring and
// the background around it, layers with transparency and alpha, boxes and grips, the grid.
#include <gtest/gtest.h>

#include "PaintTestSupport.h"
#include "ViewCoreTestSupport.h"
#include "imaging/view/zezudidviewpaint.h"

namespace {

constexpr TColor BackColour = 0x305070;
const TIERGBTriple Back = Rgb(0x70, 0x50, 0x30);
const TIERGBTriple White = Rgb(255, 255, 255);

// Pattern pixel (x, y): red x * 10, green y * 20, blue 100.
TIERGBTriple Pattern(Integer X, Integer Y) {
  return Rgb(static_cast<Byte>(X * 10), static_cast<Byte>(Y * 20), 100);
}

// D moved toward V by T / 256, as the renderer mixes.
TIERGBTriple Mixed(TIERGBTriple D, TIERGBTriple V, Integer T) {
  const auto C = [T](Byte DC, Byte VC) { return static_cast<Byte>(DC + ((T * (VC - DC)) >> 8)); };
  return {C(D.rgbtBlue, V.rgbtBlue), C(D.rgbtGreen, V.rgbtGreen), C(D.rgbtRed, V.rgbtRed)};
}

class ViewBackBuffer : public ::testing::Test {
 protected:
  void Make(Integer Width, Integer Height, Integer PictureWidth, Integer PictureHeight, Double Zoom = 100) {
    View = std::make_unique<TPaintedView>(Width, Height);
    View->SetBackground(BackColour);
    View->Show(*PatternPicture(PictureWidth, PictureHeight), Zoom);
  }
  // A layer of its own Width x Height bitmap filled with Colour at (X, Y); layer 0 stays current.
  TIELayer* AddLayer(Integer X, Integer Y, Integer Width, Integer Height, TIERGBTriple Colour) {
    TIELayer* Layer = View->GetLayer(View->LayersAdd());
    Layer->Bitmap->Allocate(Width, Height, ie24RGB);
    for (Integer J = 0; J < Height; ++J)
      for (Integer I = 0; I < Width; ++I) Layer->Bitmap->SetPixel24(I, J, Colour);
    Layer->PosX = X;
    Layer->PosY = Y;
    View->SetLayersCurrent(0);
    return Layer;
  }
  std::unique_ptr<TPaintedView> View;
};

TEST_F(ViewBackBuffer, ZoomHundredCentresThePictureOnTheBackground) {
  Make(20, 16, 8, 6);
  auto B = View->Compose();
  // Offsets (20 - 8) / 2 = 6 and (16 - 6) / 2 = 5.
  EXPECT_TRUE(PixelIs(*B, 6, 5, Pattern(0, 0)));
  EXPECT_TRUE(PixelIs(*B, 13, 10, Pattern(7, 5)));
  EXPECT_TRUE(PixelIs(*B, 9, 7, Pattern(3, 2)));
  EXPECT_TRUE(PixelIs(*B, 5, 5, Back));
  EXPECT_TRUE(PixelIs(*B, 14, 10, Back));
  EXPECT_TRUE(PixelIs(*B, 6, 4, Back));
  EXPECT_TRUE(PixelIs(*B, 6, 11, Back));
  EXPECT_TRUE(PixelIs(*B, 0, 0, Back));
  EXPECT_TRUE(PixelIs(*B, 19, 15, Back));
}

TEST_F(ViewBackBuffer, ZoomTwoHundredRepeatsEachPixelTwice) {
  Make(20, 16, 8, 6, 200);
  auto B = View->Compose();
  // 16 x 12 at offsets 2, 2: control pixels 2 and 3 show column 0, 4 and 5 column 1.
  for (const auto& [X, Y, PX, PY] :
       {std::tuple{2, 2, 0, 0}, std::tuple{3, 3, 0, 0}, std::tuple{4, 2, 1, 0}, std::tuple{5, 5, 1, 1},
        std::tuple{17, 13, 7, 5}, std::tuple{10, 8, 4, 3}})
    EXPECT_TRUE(PixelIs(*B, X, Y, Pattern(PX, PY)));
  EXPECT_TRUE(PixelIs(*B, 1, 2, Back));
  EXPECT_TRUE(PixelIs(*B, 18, 13, Back));
  EXPECT_TRUE(PixelIs(*B, 17, 14, Back));
}

TEST_F(ViewBackBuffer, ZoomFiftyShowsEveryEvenPixel) {
  Make(20, 16, 8, 6, 50);
  auto B = View->Compose();
  // 4 x 3 at offsets 8 and 6 (13 div 2).
  for (Integer S = 0; S < 4; ++S)
    for (Integer T = 0; T < 3; ++T) EXPECT_TRUE(PixelIs(*B, 8 + S, 6 + T, Pattern(2 * S, 2 * T)));
  EXPECT_TRUE(PixelIs(*B, 7, 6, Back));
  EXPECT_TRUE(PixelIs(*B, 12, 6, Back));
  EXPECT_TRUE(PixelIs(*B, 8, 9, Back));
}

TEST_F(ViewBackBuffer, AnEmptyPictureLeavesTheBufferAsItWas) {
  View = std::make_unique<TPaintedView>(10, 10);
  auto B = View->Compose();
  EXPECT_TRUE(PixelIs(*B, 5, 5, Rgb(0, 0, 0)));
}

TEST_F(ViewBackBuffer, ALayerMixesByItsTransparency) {
  Make(20, 16, 8, 6);
  TIELayer* Top = AddLayer(2, 1, 2, 2, White);
  Top->Transparency = 128;
  auto B = View->Compose();
  EXPECT_TRUE(PixelIs(*B, 8, 6, Mixed(Pattern(2, 1), White, 128)));
  EXPECT_TRUE(PixelIs(*B, 9, 7, Mixed(Pattern(3, 2), White, 128)));
  EXPECT_TRUE(PixelIs(*B, 10, 6, Pattern(4, 1)));
  EXPECT_TRUE(PixelIs(*B, 7, 6, Pattern(1, 1)));
  EXPECT_EQ(Top->ScreenRect, (TRect{8, 6, 10, 8}));
}

TEST_F(ViewBackBuffer, ALayerMixesByItsAlphaChannel) {
  Make(20, 16, 8, 6);
  TIELayer* Top = AddLayer(2, 1, 2, 2, White);
  TIEBitmap* Alpha = Top->Bitmap->GetAlphaChannel();
  Alpha->SetPixel8(0, 0, 0);
  Alpha->SetPixel8(1, 0, 255);
  Alpha->SetPixel8(0, 1, 128);
  Alpha->SetPixel8(1, 1, 64);
  Alpha->SetFull(false);
  auto B = View->Compose();
  EXPECT_TRUE(PixelIs(*B, 8, 6, Pattern(2, 1)));
  EXPECT_TRUE(PixelIs(*B, 9, 6, Mixed(Pattern(3, 1), White, 255)));
  EXPECT_TRUE(PixelIs(*B, 8, 7, Mixed(Pattern(2, 2), White, 128)));
  EXPECT_TRUE(PixelIs(*B, 9, 7, Mixed(Pattern(3, 2), White, 64)));
  // Without the alpha channel in use the layer covers its place.
  View->SetEnableAlphaChannel(false);
  B = View->Compose();
  EXPECT_TRUE(PixelIs(*B, 8, 6, White));
}

TEST_F(ViewBackBuffer, TinyLayersAndHiddenLayersAreNotDrawn) {
  Make(20, 16, 8, 6);
  TIELayer* Dot = AddLayer(1, 1, 1, 1, White);
  TIELayer* Hidden = AddLayer(4, 1, 2, 2, White);
  Hidden->Visible = false;
  auto B = View->Compose();
  EXPECT_TRUE(PixelIs(*B, 7, 6, Pattern(1, 1)));
  EXPECT_TRUE(PixelIs(*B, 10, 6, Pattern(4, 1)));
  View->SetMinLayerSize(1);
  B = View->Compose();
  EXPECT_TRUE(PixelIs(*B, 7, 6, White));
  (void)Dot;
}

// A single layer moved by one pixel leaves the simple placement and draws the same at zoom 100.
TEST_F(ViewBackBuffer, MovingTheOnlyLayerKeepsItsPixelsInPlace) {
  Make(20, 16, 8, 6);
  auto Simple = View->Compose();
  View->GetLayer(0)->PosX = 1;
  auto Placed = View->Compose();
  EXPECT_TRUE(PixelIs(*Placed, 7, 5, Pattern(0, 0)));
  EXPECT_TRUE(PixelIs(*Placed, 6, 5, Back));
  EXPECT_TRUE(PixelIs(*Simple, 6, 5, Pattern(0, 0)));
}

TEST_F(ViewBackBuffer, CurrentLayerShowsItsBoxAndGrips) {
  Make(80, 70, 60, 50);
  TIELayer* Top = AddLayer(5, 5, 30, 20, White);
  View->SetLayersCurrent(1);
  View->SetMouseInteract(TIEMouseInteract{miMoveLayers, miResizeLayers});
  Top->Locked = false;
  auto B = View->Compose();
  // Offsets 10, 10: the box is (15, 15) - (45, 35), outline on its first row and column.
  EXPECT_EQ(Top->ScreenRect, (TRect{15, 15, 45, 35}));
  const TIERGBTriple Grip = Rgb(0xFF, 0xFF, 0xBA);
  const TIERGBTriple Black = Rgb(0, 0, 0);
  EXPECT_TRUE(PixelIs(*B, 22, 15, Black));
  EXPECT_TRUE(PixelIs(*B, 22, 34, Black));
  EXPECT_TRUE(PixelIs(*B, 22, 16, White));
  for (const auto& [X, Y] : {std::pair{15, 15}, std::pair{45, 15}, std::pair{45, 35}, std::pair{15, 35},
                             std::pair{15, 25}, std::pair{45, 25}, std::pair{30, 15}, std::pair{30, 35}})
    EXPECT_TRUE(PixelIs(*B, X, Y, Grip));
  EXPECT_TRUE(PixelIs(*B, 30, 25, White)) << "no rotation centre without miRotateLayers";
  View->SetMouseInteract(TIEMouseInteract{miRotateLayers});
  B = View->Compose();
  EXPECT_TRUE(PixelIs(*B, 30, 25, Grip));
  EXPECT_TRUE(PixelIs(*B, 15, 15, White)) << "neither box nor resize grips";
}

TEST_F(ViewBackBuffer, GripHandlerIsAskedNineTimesAndDrawsInstead) {
  Make(80, 70, 60, 50);
  AddLayer(5, 5, 30, 20, White);
  View->SetLayersCurrent(1);
  View->SetMouseInteract(TIEMouseInteract{miResizeLayers});
  std::vector<Integer> Grips;
  std::vector<TRect> Rects;
  struct TRecorder {
    std::vector<Integer>* Grips;
    std::vector<TRect>* Rects;
    void Grip(TObject*, TBitmap*, Integer, Integer Grip, TRect& Rect) {
      Grips->push_back(Grip);
      Rects->push_back(Rect);
    }
  } Recorder{&Grips, &Rects};
  View->OnDrawLayerGrip = TIEDrawLayerGrip(&Recorder, &TRecorder::Grip);
  auto B = View->Compose();
  EXPECT_EQ(Grips, (std::vector<Integer>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(Rects[1], (TRect{40, 10, 50, 20}));
  EXPECT_EQ(Rects[8], (TRect{25, 20, 35, 30}));
  EXPECT_TRUE(PixelIs(*B, 45, 15, Pattern(35, 5))) << "the handler drew nothing";
  // Rotating layers: the handler is not asked for resize grips, the centre is drawn anyway.
  Grips.clear();
  View->SetMouseInteract(TIEMouseInteract{miRotateLayers});
  B = View->Compose();
  EXPECT_TRUE(Grips.empty());
  EXPECT_TRUE(PixelIs(*B, 30, 25, Rgb(0xFF, 0xFF, 0xBA)));
}

TEST_F(ViewBackBuffer, RotatedLayerGripsSitOnItsTurnedCorners) {
  Make(80, 70, 60, 50);
  TIELayer* Top = AddLayer(10, 10, 20, 10, White);
  Top->SetRotate(90);
  View->Compose();
  const TPoint* C = Top->DrawGeometry.Corners;
  // Turned a quarter counter-clockwise about (10, 5): (0, 0) goes to (5, 15).
  EXPECT_EQ(C[0], (TPoint{10 + 5 + 10, 10 + 15 + 10}));
  EXPECT_EQ(C[1], (TPoint{10 + 5 + 10, 10 - 5 + 10}));
  const TIELayerGripRects Rects = IELayerGripRects(Top, 5);
  EXPECT_EQ(Rects[0], (TRect{20, 30, 30, 40}));
  EXPECT_EQ(Rects[6], (TRect{20, 20, 30, 30})) << "the middle of the top side";
}

TEST_F(ViewBackBuffer, GridLinesInvertFromZoomFourHundred) {
  Make(20, 16, 4, 3, 400);
  const auto Plain = View->Compose();
  View->SetDisplayGrid(true);
  const auto Grid = View->Compose();
  // 16 x 12 at offsets 2, 2: lines every 4 pixels from 2.
  const auto Inverted = [](TIERGBTriple P) {
    return TIERGBTriple{static_cast<Byte>(~P.rgbtBlue), static_cast<Byte>(~P.rgbtGreen),
                        static_cast<Byte>(~P.rgbtRed)};
  };
  EXPECT_TRUE(PixelIs(*Grid, 6, 4, Inverted(Plain->GetPixel24(6, 4))));
  EXPECT_TRUE(PixelIs(*Grid, 4, 10, Inverted(Plain->GetPixel24(4, 10))));
  EXPECT_TRUE(PixelIs(*Grid, 7, 4, Plain->GetPixel24(7, 4)));
  EXPECT_TRUE(PixelIs(*Grid, 6, 6, Plain->GetPixel24(6, 6))) << "crossings are inverted twice";
  EXPECT_TRUE(PixelIs(*Grid, 2, 9, Inverted(Plain->GetPixel24(2, 9))));

  View->SetZoom(399);
  View->Relayout();
  const auto Below = View->Compose();
  View->SetDisplayGrid(false);
  const auto BelowPlain = View->Compose();
  for (Integer Y = 0; Y < 16; ++Y)
    for (Integer X = 0; X < 20; ++X) ASSERT_TRUE(PixelIs(*Below, X, Y, BelowPlain->GetPixel24(X, Y)));
}

TEST_F(ViewBackBuffer, NoGridOverASinglePixel) {
  Make(20, 16, 1, 1, 800);
  const auto Plain = View->Compose();
  View->SetDisplayGrid(true);
  const auto Grid = View->Compose();
  for (Integer Y = 0; Y < 16; ++Y)
    for (Integer X = 0; X < 20; ++X) ASSERT_TRUE(PixelIs(*Grid, X, Y, Plain->GetPixel24(X, Y)));
}

TEST_F(ViewBackBuffer, OutsideTheBackgroundLayerIsDottedOrBrightened) {
  Make(20, 16, 8, 6);
  View->SetOutsideLayersMode(2);
  auto B = View->Compose();
  EXPECT_TRUE(PixelIs(*B, 0, 0, Rgb(128, 128, 128)));
  EXPECT_TRUE(PixelIs(*B, 1, 0, Back));
  EXPECT_TRUE(PixelIs(*B, 6, 5, Pattern(0, 0)));
  View->SetOutsideLayersMode(3);
  View->SetOutsideLayersValue(200);
  B = View->Compose();
  EXPECT_TRUE(PixelIs(*B, 1, 0, Rgb(255, 255, 0x30 + 200)));
  EXPECT_TRUE(PixelIs(*B, 13, 10, Pattern(7, 5)));
}

TEST_F(ViewBackBuffer, AMaskLayerLimitsTheLayerBelowAndItsAlphaIsKept) {
  Make(20, 16, 8, 6);
  TIELayer* Top = AddLayer(2, 1, 2, 2, White);
  TIELayer* Mask = AddLayer(2, 1, 2, 2, White);
  Mask->IsMask = true;
  Mask->Visible = false;
  Mask->Bitmap->Allocate(2, 2, ie8g);
  Mask->Bitmap->SetPixel8(0, 0, 0);
  Mask->Bitmap->SetPixel8(1, 0, 255);
  Mask->Bitmap->SetPixel8(0, 1, 128);
  Mask->Bitmap->SetPixel8(1, 1, 255);
  auto B = View->Compose();
  EXPECT_TRUE(PixelIs(*B, 8, 6, Pattern(2, 1)));
  EXPECT_TRUE(PixelIs(*B, 9, 6, Mixed(Pattern(3, 1), White, 255)));
  EXPECT_TRUE(PixelIs(*B, 8, 7, Mixed(Pattern(2, 2), White, 128)));
  EXPECT_FALSE(Top->Bitmap->HasAlphaChannel()) << "the layer's own alpha comes back";
  ASSERT_NE(Top->MaskAlphaCache, nullptr);
  EXPECT_EQ(Top->MaskAlphaCache->GetPixel8(0, 1), 128);
  // The cache serves the next paint.
  Mask->Bitmap->Fill(255);
  B = View->Compose();
  EXPECT_TRUE(PixelIs(*B, 8, 6, Pattern(2, 1)));
}

TEST_F(ViewBackBuffer, OutsideModeOneFadesWhatLiesBeyondTheBackgroundLayer) {
  Make(20, 16, 8, 6);
  AddLayer(6, 4, 4, 4, White);
  View->SetOutsideLayersMode(1);
  auto B = View->Compose();
  EXPECT_TRUE(PixelIs(*B, 12, 9, Mixed(Pattern(6, 4), White, 255)));
  EXPECT_TRUE(PixelIs(*B, 14, 9, Mixed(Back, White, 60)));
  EXPECT_TRUE(PixelIs(*B, 12, 11, Mixed(Back, White, 60)));
}

TEST_F(ViewBackBuffer, ClippedLayersStayOverTheBackgroundLayer) {
  Make(20, 16, 8, 6);
  TIELayer* Top = AddLayer(-2, 0, 4, 2, White);
  auto B = View->Compose();
  EXPECT_TRUE(PixelIs(*B, 4, 5, White));
  Top->ClipToBackground = true;
  B = View->Compose();
  EXPECT_TRUE(PixelIs(*B, 4, 5, Back));
  EXPECT_TRUE(PixelIs(*B, 5, 5, Back));
  EXPECT_TRUE(PixelIs(*B, 6, 5, White));
  EXPECT_TRUE(PixelIs(*B, 7, 6, White));
  EXPECT_TRUE(PixelIs(*B, 8, 5, Pattern(2, 0)));
}

TEST_F(ViewBackBuffer, CurrentLayerShadesWhatLiesOutsideIt) {
  Make(20, 16, 8, 6);
  TIELayer* Top = AddLayer(2, 1, 2, 2, White);
  Top->ShadeOutside = true;
  View->SetLayersCurrent(1);
  auto B = View->Compose();
  const TIERGBTriple Shade = Rgb(97, 97, 97);
  EXPECT_TRUE(PixelIs(*B, 0, 0, Shade));
  EXPECT_TRUE(PixelIs(*B, 1, 0, Back));
  EXPECT_TRUE(PixelIs(*B, 6, 6, Shade));
  EXPECT_TRUE(PixelIs(*B, 7, 6, Pattern(1, 1)));
  EXPECT_TRUE(PixelIs(*B, 8, 6, White)) << "the layer itself";
  EXPECT_TRUE(PixelIs(*B, 10, 8, Pattern(4, 3))) << "its far edges count as inside";
  EXPECT_TRUE(PixelIs(*B, 12, 8, Shade));
}

// The background is painted (or handed to the handler) only where the picture leaves room.
TEST_F(ViewBackBuffer, BackgroundHandlerAndTheCoveredCase) {
  Make(20, 16, 8, 6);
  struct THandler {
    Integer Calls = 0;
    void Draw(TObject*, TCanvas*, TRect Rect, bool& Handled) {
      ++Calls;
      EXPECT_EQ(Rect, (TRect{0, 0, 20, 16}));
      Handled = true;
    }
  } Handler;
  View->OnDrawBackground = TIEOnDrawBackground(&Handler, &THandler::Draw);
  auto B = View->Compose();
  EXPECT_EQ(Handler.Calls, 1);
  EXPECT_TRUE(PixelIs(*B, 0, 0, Rgb(0, 0, 0))) << "handled: nothing painted";
  EXPECT_TRUE(PixelIs(*B, 6, 5, Pattern(0, 0)));
  View->Show(*PatternPicture(20, 16));
  View->Compose();
  EXPECT_EQ(Handler.Calls, 1) << "an opaque picture covering the buffer needs no background";
}

// The glass shows the background layer's pixels under it, enlarged; reaching outside the
// background, it keeps what it showed last.
TEST_F(ViewBackBuffer, MagnifierEnlargesTheBackgroundUnderItsGlass) {
  Make(60, 50, 40, 30);
  TIELayer* Glass = AddLayer(10, 10, 10, 10, White);
  Glass->Magnifier.Enabled = true;
  Glass->Magnifier.Rate = 2;
  Glass->Magnifier.Source = 0;
  auto B = View->Compose();
  // The glass spans control pixels 23..27, picture pixels 13..18 drawn over 10 pixels.
  EXPECT_TRUE(PixelIs(*B, 20, 20, Pattern(13, 13)));
  EXPECT_TRUE(PixelIs(*B, 29, 29, Pattern(18, 18)));
  EXPECT_TRUE(PixelIs(*B, 21, 22, Pattern(13, 14)));
  Glass->PosX = 36;
  B = View->Compose();
  EXPECT_TRUE(PixelIs(*B, 46, 20, Pattern(13, 13)));
  EXPECT_TRUE(PixelIs(*B, 55, 29, Pattern(18, 18)));
}

TEST_F(ViewBackBuffer, HighlightedPixelIsOutlinedInRedOnTheGrid) {
  Make(20, 16, 4, 3, 400);
  View->SetDisplayGrid(true);
  const auto Grid = View->Compose();
  View->SetHighlightedPixel({1, 1});
  const auto Marked = View->Compose();
  // The cell of pixel (1, 1) runs from (6, 6) to (10, 10).
  const TIERGBTriple Edge = Marked->GetPixel24(6, 8);
  EXPECT_FALSE(Edge == Grid->GetPixel24(6, 8));
  EXPECT_GT(Edge.rgbtRed, 150);
  EXPECT_LT(Edge.rgbtGreen, 100);
  EXPECT_TRUE(PixelIs(*Marked, 8, 8, Grid->GetPixel24(8, 8))) << "the cell itself is left alone";
  EXPECT_TRUE(PixelIs(*Marked, 16, 4, Grid->GetPixel24(16, 4)));
}

// Every drawn pixel shows the picture pixel the view's own conversion names, fractional zooms
// and a scrolled view included.
TEST_F(ViewBackBuffer, DrawnPixelsFollowTheViewsConversion) {
  for (const auto& [Zoom, ViewX, ViewY] :
       {std::tuple{33.0, 0, 0}, std::tuple{50.0, 0, 0}, std::tuple{100.0, 0, 0}, std::tuple{150.0, 0, 0},
        std::tuple{200.0, 0, 0}, std::tuple{300.0, 0, 0}, std::tuple{300.0, 7, 5}}) {
    // The scrolled case needs a view smaller than the zoomed picture.
    Make(ViewX ? 40 : 70, ViewX ? 30 : 50, 20, 12, Zoom);
    View->SetViewXY(ViewX, ViewY);
    ASSERT_EQ(View->GetViewX(), ViewX);
    auto B = View->Compose();
    const TIELayerDrawGeometry& G = View->GetLayer(0)->DrawGeometry;
    ASSERT_GT(G.DestWidth, 0);
    for (Integer Y = G.DestY; Y < G.DestY + G.DestHeight && Y < B->GetHeight(); ++Y)
      for (Integer X = G.DestX; X < G.DestX + G.DestWidth && X < B->GetWidth(); ++X)
        ASSERT_TRUE(PixelIs(*B, X, Y, Pattern(View->XScr2Bmp(X), View->YScr2Bmp(Y)))) << "zoom " << Zoom;
  }
}

TEST_F(ViewBackBuffer, RotatedLayerBoxIsAPolygonThroughItsCorners) {
  Make(80, 70, 60, 50);
  TIELayer* Top = AddLayer(20, 15, 20, 20, White);
  View->SetLayersCurrent(1);
  View->SetMouseInteract(TIEMouseInteract{miMoveLayers, miRotateLayers});
  Top->SetRotate(45);
  auto B = View->Compose();
  const TPoint* C = Top->DrawGeometry.Corners;
  const TIERGBTriple Black = Rgb(0, 0, 0);
  for (Integer K = 0; K < 4; ++K) EXPECT_TRUE(PixelIs(*B, C[K].X, C[K].Y, Black)) << K;
  // A diamond: the middle of a side is outlined, the corner of its bounding box is not.
  const TPoint Middle{(C[0].X + C[1].X) / 2, (C[0].Y + C[1].Y) / 2};
  EXPECT_TRUE(PixelIs(*B, Middle.X, Middle.Y, Black))
      << C[0].X << "," << C[0].Y << " " << C[1].X << "," << C[1].Y;
  const TRect& R = Top->ScreenRect;
  EXPECT_FALSE(B->GetPixel24(R.Left + 1, R.Top + 1) == Black);
  EXPECT_FALSE(B->GetPixel24(R.Left + 1, R.Top + 1) == White);
}

}  // namespace
