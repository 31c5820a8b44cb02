// The main window's build: start-up, the load road and its arithmetic, the cells and their
// colours, the grid rules and the busy and cancel rules.
#include <algorithm>

#include "AppTestSupport.h"

TEST_F(TMosaicTest, StartsWithTheEmptyWireFrameOnTheWindowsGrid) {
  EXPECT_EQ(Ready, 1);
  EXPECT_EQ(Busy, 0);
  EXPECT_EQ(BuildRunning, 0);
  EXPECT_EQ(CellsX, Form->Image1->GetWidth() / 20 - 1);
  EXPECT_EQ(CellsY, Form->Image1->GetHeight() / 20 - 1);
  EXPECT_EQ(PatternSize, 20 * NodeCount);
  EXPECT_EQ(Form->UpdateBtn->GetCaption(), "Update mosaic");
  EXPECT_EQ(Form->StatusPanel->GetCaption(), " Ready");
  EXPECT_EQ(Form->Image1->GetBitmap()->GetWidth(), ResultBitmap->GetWidth());
  EXPECT_EQ(Form->Image1->GetBitmap()->GetHeight(), ResultBitmap->GetHeight());
}

TEST_F(TMosaicTest, A640x480SourceAtGrid20) {
  Form->NoRim->SetChecked(false);
  LoadUniform(640, 480, 0x406080);
  EXPECT_EQ(CellsX, 31);
  EXPECT_EQ(CellsY, 23);
  EXPECT_EQ(NodeCount, 32);
  EXPECT_EQ(PatternSize, 640);
  EXPECT_EQ(CropRect, (TRect{0, 83, 640, 558}));
  EXPECT_EQ(PatternBitmap->GetWidth(), 640);
  EXPECT_EQ(PatternBitmap->GetHeight(), 475);
  EXPECT_EQ(ResultBitmap->GetWidth(), 639);
  EXPECT_EQ(ResultBitmap->GetHeight(), 474);
}

TEST_F(TMosaicTest, TheRimAndTheMultiplier) {
  // A 300-pixel source gets a rim of 20 pixels, 10 on each side, in white.
  auto Source = MakeBitmap(300, 200, [](Integer X, Integer Y) { return Rgb(X % 200, Y, 90); });
  LoadSource(Source.get());
  EXPECT_EQ(Rim, 20);
  ASSERT_EQ(SourceBitmap->GetWidth(), 320);
  ASSERT_EQ(SourceBitmap->GetHeight(), 220);
  EXPECT_EQ(PixelAt(SourceBitmap.get(), 9, 9), clWhite);
  EXPECT_EQ(PixelAt(SourceBitmap.get(), 10, 10), Rgb(0, 0, 90));
  EXPECT_EQ(PixelAt(SourceBitmap.get(), 309, 209), Rgb(99, 199, 90));
  EXPECT_EQ(PixelAt(SourceBitmap.get(), 310, 210), clWhite);
  EXPECT_EQ(Form->Label13->GetCaption(), "Size: 320 x 220");
  // The multiplier reloads the same file, enlarges it and builds.
  Form->MultSpin->SetValue(2);
  EXPECT_EQ(SourceBitmap->GetWidth(), 640);
  EXPECT_EQ(SourceBitmap->GetHeight(), 440);
  EXPECT_EQ(CellsX, 31);
  EXPECT_EQ(CellsY, 21);
  EXPECT_EQ(PixelAt(SourceBitmap.get(), 21, 21), Rgb(0, 0, 90));
  EXPECT_EQ(PixelAt(SourceBitmap.get(), 19, 19), clWhite);
  EXPECT_EQ(ResultBitmap->GetWidth(), 639);
}

namespace {
// The sliders of the tubes as their pattern switch sets them.
void UseTube(TForm1* Form, Byte Type, Integer P1, Integer P2) {
  PatternType = Type;
  Form->TrackBarP[0]->SetMinValue(-100);
  Form->TrackBarP[0]->SetMaxValue(100);
  Form->TrackBarP[0]->SetValue(P1);
  Form->TrackBarP[1]->SetMaxValue(200);
  Form->TrackBarP[1]->SetMinValue(100);
  Form->TrackBarP[1]->SetValue(P2);
}

struct TMeshCase {
  Byte Type;
  Integer P1, P2;
};
const TMeshCase MeshCases[] = {{ptPinch, 0, 50},        {ptPinch, 40, 50},        {ptPinch, -50, 50},
                               {ptVerCylinder, 0, 100}, {ptVerCylinder, 60, 150}, {ptHorCylinder, -40, 130}};

void UseMesh(TForm1* Form, const TMeshCase& C) {
  if (C.Type == ptPinch) {
    PatternType = ptPinch;
    Form->TrackBarP[0]->SetValue(C.P1);
  } else {
    UseTube(Form, C.Type, C.P1, C.P2);
  }
}
}  // namespace

TEST_F(TMosaicTest, PatternColorsGiveEveryCellItsOwnColour) {
  // Colour mode 4 counts, so cells next to each other differ; a fill that leaked into a
  // neighbour would leave a region of the frame in two colours, a cell not filled white.
  Form->NoRim->SetChecked(false);
  LoadUniform(480, 400, Rgb(50, 60, 70));
  Form->ColorSpin->SetValue(4);
  Busy = 1;
  Form->FrameOnly->SetChecked(true);
  Form->PatternColors->SetChecked(true);
  Busy = 0;
  for (const TMeshCase& C : MeshCases) {
    SCOPED_TRACE("type " + std::to_string(C.Type) + " P1 " + std::to_string(C.P1) + " P2 " +
                 std::to_string(C.P2));
    UseMesh(Form.get(), C);
    Form->CreateMosaic(Form->UpdateBtn);
    TBitmap* Frame = ResultBitmap.get();
    const Integer W = Frame->GetWidth(), H = Frame->GetHeight();
    Integer Regions = 0;
    const std::vector<Integer> Label = LabelRegions(Frame, Regions);
    auto At = [&](Integer X, Integer Y) { return Label[static_cast<std::size_t>(Y) * W + X]; };
    std::vector<TColor> RegionColor(Regions + 1, -1);
    Integer Mixed = 0;
    for (Integer Y = 0; Y < H; ++Y)
      for (Integer X = 0; X < W; ++X) {
        const Integer L = At(X, Y);
        if (L == 0) continue;
        const TColor P = PixelAt(Frame, X, Y);
        if (RegionColor[L] == -1) RegionColor[L] = P;
        if (RegionColor[L] != P) ++Mixed;
      }
    EXPECT_EQ(Mixed, 0);
    EXPECT_EQ(std::count(RegionColor.begin() + 1, RegionColor.end(), clWhite), 0);
    EXPECT_GE(Regions, CellsX * CellsY);
    EXPECT_LE(Regions, SeedCount);
    // Regions met one after the other across a line, along rows and columns, differ.
    Integer Same = 0;
    auto Walk = [&](Integer Count, Integer Length, auto Pixel) {
      for (Integer I = 0; I < Count; ++I) {
        Integer Last = 0;
        for (Integer K = 0; K < Length; ++K) {
          const Integer L = Pixel(I, K);
          if (L == 0) continue;
          if (Last != 0 && L != Last && RegionColor[L] == RegionColor[Last]) ++Same;
          Last = L;
        }
      }
    };
    Walk(H, W, [&](Integer Y, Integer X) { return At(X, Y); });
    Walk(W, H, [&](Integer X, Integer Y) { return At(X, Y); });
    EXPECT_EQ(Same, 0);
  }
}

TEST_F(TMosaicTest, EveryCellTakesTheExactMeanOfTheSourceUnderIt) {
  // The wire frame is built once; a source whose pixels take the colour of the cell they lie
  // in then gives every cell exactly that colour, with the grid kept. The source is square,
  // so no cell is cut off from its seed by the crop.
  Form->NoRim->SetChecked(false);
  Form->Blending->SetChecked(false);
  for (const TMeshCase& C : MeshCases) {
    SCOPED_TRACE("type " + std::to_string(C.Type) + " P1 " + std::to_string(C.P1));
    UseMesh(Form.get(), C);
    LoadUniform(400, 400, clWhite);
    Form->FrameOnly->SetChecked(true);
    auto Frame = std::make_unique<TBitmap>();
    Frame->Assign(ResultBitmap.get());
    Integer Regions = 0;
    const std::vector<Integer> Label = LabelRegions(Frame.get(), Regions);
    auto CellColor = [](Integer L) { return Rgb(1 + L % 251, 1 + (L / 251) % 251, 40 + L % 7); };
    auto Source = MakeBitmap(400, 400, [&](Integer X, Integer Y) {
      if (Y >= Frame->GetHeight() || X >= Frame->GetWidth()) return Rgb(7, 7, 7);
      const Integer L = Label[static_cast<std::size_t>(Y) * Frame->GetWidth() + X];
      return L == 0 ? Rgb(200, 0, 0) : CellColor(L);
    });
    Form->GridShow->SetChecked(true);
    LoadSource(Source.get());
    ASSERT_FALSE(Form->FrameOnly->GetChecked());
    Integer Wrong = 0;
    for (Integer Y = 0; Y < ResultBitmap->GetHeight(); ++Y)
      for (Integer X = 0; X < ResultBitmap->GetWidth(); ++X) {
        const Integer L = Label[static_cast<std::size_t>(Y) * Frame->GetWidth() + X];
        if (PixelAt(ResultBitmap.get(), X, Y) != (L == 0 ? clBlack : CellColor(L))) ++Wrong;
      }
    EXPECT_EQ(Wrong, 0);
    Form->GridShow->SetChecked(false);
  }
}

TEST_F(TMosaicTest, TheGridIsReplacedByTheBlurredSourceByWhiteOrKept) {
  // On a uniform source the blurred source is the source colour itself. Square sources are
  // not cropped, so no cell is cut off from its seed.
  const TColor Color = Rgb(90, 120, 150);
  Form->NoRim->SetChecked(false);
  Form->TrackBarP[0]->SetValue(0);
  const struct {
    bool GridShow, WhiteGrid, Blending;
    Integer BlendBar;
    TColor OnGrid;
  } Cases[] = {
      {false, false, true, 50, Color}, {true, false, true, 50, clBlack}, {false, true, false, 50, clWhite},
      {false, true, true, 100, Color}, {false, true, true, 0, clWhite},
  };
  for (const auto& C : Cases) {
    Busy = 1;
    Form->GridShow->SetChecked(C.GridShow);
    Form->WhiteGrid->SetChecked(C.WhiteGrid);
    Form->Blending->SetChecked(C.Blending);
    Form->BlendBar->SetValue(C.BlendBar);
    Busy = 0;
    LoadUniform(300, 300, Color);
    Integer Grid = 0, Wrong = 0;
    for (Integer Y = 0; Y < ResultBitmap->GetHeight(); ++Y)
      for (Integer X = 0; X < ResultBitmap->GetWidth(); ++X) {
        const bool OnGrid = PixelAt(PatternBitmap.get(), X, Y) == clBlack;
        Grid += OnGrid;
        if (PixelAt(ResultBitmap.get(), X, Y) != (OnGrid ? C.OnGrid : Color)) ++Wrong;
      }
    EXPECT_GT(Grid, 1000);
    EXPECT_EQ(Wrong, 0) << C.GridShow << C.WhiteGrid << C.Blending << " " << C.BlendBar;
  }
}

TEST_F(TMosaicTest, TheMaskWhitensEveryMaskedPixelAndTheCellsSeededOnIt) {
  const TColor Color = Rgb(30, 160, 80);
  Form->NoRim->SetChecked(false);
  Form->TrackBarP[0]->SetValue(0);
  Form->Blending->SetChecked(false);
  LoadUniform(300, 300, Color);
  MaskBitmap = MakeBitmap(300, 300, [](Integer X, Integer) { return X < 165 ? clBlack : clWhite; });
  MaskLoaded = 1;
  Form->ApplyMask->SetEnabled(true);
  Form->ApplyMask->SetChecked(true);
  Integer Wrong = 0;
  for (Integer Y = 0; Y < ResultBitmap->GetHeight(); ++Y)
    for (Integer X = 0; X < ResultBitmap->GetWidth(); ++X) {
      const TColor P = PixelAt(ResultBitmap.get(), X, Y);
      // Cells seeded left of the edge stay white on its right up to a cell's width.
      if (X < 165 ? P != clWhite : X >= 165 + 2 * GridPx && P != Color) ++Wrong;
    }
  EXPECT_EQ(Wrong, 0);
  // Masked seeds are not sampled: the cells seeded on the black half are white as a whole.
  // With the regular grid the column of cells from x = 150 to 171 is seeded at x = 161.
  Integer WhiteRight = 0;
  for (Integer Y = 0; Y < ResultBitmap->GetHeight(); ++Y)
    for (Integer X = 165; X < 165 + 2 * GridPx; ++X)
      WhiteRight += PixelAt(ResultBitmap.get(), X, Y) == clWhite;
  EXPECT_GT(WhiteRight, 5 * ResultBitmap->GetHeight());
  EXPECT_LT(WhiteRight, 2 * GridPx * ResultBitmap->GetHeight() / 2);
}
