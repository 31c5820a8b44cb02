// The effects of the main window: the background blend with its margins and strength, and the
// tube shading.
#include <cmath>

#include "AppTestSupport.h"
#include "app/PostProcessing.h"

TEST_F(TMosaicTest, BlendBackgroundFillsWhiteInsideTheMarginFromTheLightenedSource) {
  const Integer V = 100;
  Form->NoRim->SetChecked(false);
  LoadUniform(200, 120, Rgb(V, V, V));
  const struct {
    bool Edges;
    Integer Clip, Rim, Blend, Margin, Amount;
  } Cases[] = {
      {true, 50, 20, 50, 10, 128}, {true, 25, 20, 50, 5, 128},   {true, 33, 20, 100, 7, 0},
      {false, 50, 20, 50, 0, 128}, {true, 100, 20, 20, 20, 204}, {true, 50, 0, 0, 0, 255},
  };
  for (const auto& C : Cases) {
    Busy = 1;
    Form->Edges->SetChecked(C.Edges);
    Form->ClipBar->SetValue(C.Clip);
    Form->BlendBar->SetValue(C.Blend);
    Busy = 0;
    Rim = C.Rim;
    auto B =
        MakeBitmap(200, 120, [](Integer X, Integer Y) { return X == 100 && Y == 60 ? clBlack : clWhite; });
    Form->BlendBackground(B.get());
    const Integer Blended = ClampByte(V + C.Amount * (255 - V) / 255);
    const TColor Inside = Rgb(Blended, Blended, Blended);
    SCOPED_TRACE("clip " + std::to_string(C.Clip) + " blend " + std::to_string(C.Blend));
    EXPECT_EQ(PixelAt(B.get(), 100, 60), clBlack);
    EXPECT_EQ(PixelAt(B.get(), C.Margin, C.Margin), Inside);
    EXPECT_EQ(PixelAt(B.get(), 199 - C.Margin, 119 - C.Margin), Inside);
    if (C.Margin > 0) {
      EXPECT_EQ(PixelAt(B.get(), C.Margin - 1, 60), clWhite);
      EXPECT_EQ(PixelAt(B.get(), 100, C.Margin - 1), clWhite);
      EXPECT_EQ(PixelAt(B.get(), 200 - C.Margin, 60), clWhite);
      EXPECT_EQ(PixelAt(B.get(), 100, 120 - C.Margin), clWhite);
    }
  }
}

TEST_F(TMosaicTest, TubeShadingScalesEachChannelByTheShadeFactor) {
  const struct {
    Byte Type;
    Integer P1, P2, P3;
  } Cases[] = {{ptVerCylinder, -40, 150, 60},
               {ptHorCylinder, -40, 150, 60},
               {ptHorCylinder, 50, 120, 100},
               {ptVerCylinder, 20, 200, 0}};
  for (const auto& C : Cases) {
    PatternType = C.Type;
    Form->TrackBarP[0]->SetMinValue(-100);
    Form->TrackBarP[0]->SetMaxValue(100);
    Form->TrackBarP[0]->SetValue(C.P1);
    Form->TrackBarP[1]->SetMaxValue(200);
    Form->TrackBarP[1]->SetMinValue(100);
    Form->TrackBarP[1]->SetValue(C.P2);
    Form->TrackBarP[2]->SetValue(C.P3);
    auto B = MakeBitmap(300, 200, [](Integer, Integer) { return Rgb(200, 100, 30); });
    Form->TubeShading(B.get());
    const Single F = C.P1 / 200.0f + 0.5f, G = C.P2 / 100.0f, E = C.P3 / 100.0f;
    const Integer Kind = C.Type == ptHorCylinder ? 1 : 2;
    for (const auto& P : {std::pair{0, 0}, std::pair{37, 11}, std::pair{150, 100}, std::pair{299, 199}}) {
      const Extended Factor = TubeShadeFactor(300, 200, P.first, Kind, P.second, E, F, G);
      const auto Shade = [&](Integer V) { return static_cast<Integer>(std::nearbyint(V * Factor)); };
      EXPECT_EQ(PixelAt(B.get(), P.first, P.second), Rgb(Shade(200), Shade(100), Shade(30)))
          << "type " << Integer(C.Type) << " at " << P.first << "," << P.second;
    }
    if (C.P3 == 0) {
      EXPECT_EQ(PixelAt(B.get(), 5, 5), Rgb(200, 100, 30));
    }
  }
  // A tube edge turns black with full shade and a deformation below the middle.
  PatternType = ptVerCylinder;
  Form->TrackBarP[0]->SetValue(-20);
  Form->TrackBarP[2]->SetValue(100);
  auto B = MakeBitmap(50, 40, [](Integer, Integer) { return clWhite; });
  Form->TubeShading(B.get());
  EXPECT_EQ(PixelAt(B.get(), 25, 0), clBlack);
  // Other patterns have no shade.
  PatternType = ptPinch;
  auto Pinch = MakeBitmap(50, 40, [](Integer, Integer) { return clWhite; });
  Form->TubeShading(Pinch.get());
  EXPECT_EQ(PixelAt(Pinch.get(), 25, 0), clWhite);
}
