// The check box, gauge, track bar and scroll bar drawn from a synthetic skin: which state
// picture shows where, the progress caps and tiles, the filled track, the part layout of the
// scroll bar and the default layout it falls back to.
#include <string>
#include <vector>

#include "platform/classes/ActnList.h"
#include "skin/controls/bsSkinCtrls.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/controls/SyntheticParts.h"

namespace {

using namespace SkinTesting;
using namespace SyntheticParts;

class TSkinnedIndicatorTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    Form->Show();
    Skin = NewPartsSkin(Form);
    Pump();
  }
  template <class T>
  T* NewSkinned(const std::string& Name, Integer X, Integer Y) {
    auto* C = NewControl<T>(Form, Name, X, Y);
    C->SetSkinData(Skin);
    Pump();
    return C;
  }
  void ExpectPixels(TControl* C, const std::vector<std::pair<TPoint, TColor>>& Expected,
                    const std::string& What) {
    for (const auto& [P, Color] : Expected)
      EXPECT_EQ(PixelAt(C, P.X, P.Y), ScreenColor(Color)) << What << " at " << P.X << "," << P.Y;
  }
  TForm* Form = nullptr;
  TbsSkinData* Skin = nullptr;
  TEventLog Log;
};

TEST_F(TSkinnedIndicatorTest, AFramedCheckBoxDrawsEachStatePictureCentredInItsArea) {
  auto* Box = NewControl<TbsSkinCheckRadioBox>(Form, "Box", 20, 20);
  Box->SetFlat(false);
  Box->SetSkinData(Skin);
  Pump();
  EXPECT_EQ(Box->GetWidth(), 60);
  EXPECT_EQ(Box->GetHeight(), 20);
  EXPECT_EQ(Box->GetCheckAreaRect(), Rect(5, 5, 15, 15));
  EXPECT_EQ(Box->GetTextAreaRect(), Rect(20, 0, 60, 20));
  // The picture's key pixel lets the face through.
  ExpectPixels(Box, {{{10, 10}, CheckPictures[1]}, {{5, 14}, CheckFace}, {{55, 2}, CheckFace}}, "normal");
  Box->SetChecked(true);
  ExpectPixels(Box, {{{10, 10}, CheckPictures[0]}}, "checked");
  MoveAt(Box, 50, 10);
  ExpectPixels(Box, {{{10, 10}, CheckPictures[2]}, {{55, 2}, CheckActiveFace}}, "hot checked");
  Box->SetChecked(false);
  ExpectPixels(Box, {{{10, 10}, CheckPictures[3]}}, "hot unchecked");
  MoveAt(Form, 350, 250);
  Box->SetEnabled(false);
  ExpectPixels(Box, {{{10, 10}, CheckPictures[5]}, {{55, 2}, CheckFace}}, "disabled");
  Box->SetChecked(true);
  ExpectPixels(Box, {{{10, 10}, CheckPictures[4]}}, "disabled checked");
}

TEST_F(TSkinnedIndicatorTest, AMorphingBoxStepsToTheHotLookInFifthsEvery20Ms) {
  PartOf(Skin, "checkbox")->Morphing = true;
  auto* Box = NewControl<TbsSkinCheckRadioBox>(Form, "Box", 20, 20);
  Box->SetFlat(false);
  Box->SetSkinData(Skin);
  Pump();
  MoveAt(Box, 50, 10);
  ASSERT_TRUE(Box->MorphRunning());
  Wait(20, 20);
  EXPECT_NEAR(Box->GetMorphProgress(), 0.2, 1e-9);
  // Halfway the face is neither the normal nor the hot one.
  Wait(40, 20);
  EXPECT_NEAR(Box->GetMorphProgress(), 0.6, 1e-9);
  const DWORD Blend = PixelAt(Box, 55, 2);
  EXPECT_NE(Blend, ScreenColor(CheckFace));
  EXPECT_NE(Blend, ScreenColor(CheckActiveFace));
  Wait(60, 20);
  EXPECT_DOUBLE_EQ(Box->GetMorphProgress(), 1.0);
  EXPECT_FALSE(Box->MorphRunning());
  EXPECT_EQ(PixelAt(Box, 55, 2), ScreenColor(CheckActiveFace));
  // Disabling stops a running morph at the normal look.
  MoveAt(Form, 350, 250);
  Box->SetEnabled(false);
  EXPECT_FALSE(Box->MorphRunning());
  EXPECT_EQ(Box->GetMorphProgress(), 0.0);
}

TEST_F(TSkinnedIndicatorTest, AnActionCarriesItsCheckedStateThroughSetChecked) {
  auto* Box = NewControl<TbsSkinCheckRadioBox>(Form, "Box", 20, 20);
  TAction Checked(Form), Unchecked(Form);
  Checked.SetChecked(true);
  Box->SetAction(&Checked);
  EXPECT_TRUE(Box->GetChecked());
  Box->SetAction(&Unchecked);
  EXPECT_FALSE(Box->GetChecked());
  Box->SetAction(nullptr);
}

TEST_F(TSkinnedIndicatorTest, AGrayedBoxWithoutAGrayedPictureShowsTheCheckedOneLightened) {
  auto* Box = NewControl<TbsSkinCheckRadioBox>(Form, "Box", 20, 20);
  Box->SetFlat(false);
  Box->SetSkinData(Skin);
  Box->SetState(cbGrayed);
  const DWORD Shown = PixelAt(Box, 10, 10);
  const DWORD Checked = ScreenColor(CheckPictures[0]);
  EXPECT_NE(Shown, Checked);
  for (Integer Shift : {0, 8, 16})
    EXPECT_GE((Shown >> Shift) & 0xFF, (Checked >> Shift) & 0xFF) << "channel " << Shift;
}

TEST_F(TSkinnedIndicatorTest, AFlatCheckBoxDrawsThePictureOverItsParentAndKeepsItsSize) {
  auto* Box = NewSkinned<TbsSkinCheckRadioBox>("Box", 20, 20);
  EXPECT_EQ(Box->GetWidth(), 150);
  EXPECT_EQ(Box->GetHeight(), 25);
  // At x 3, centred on the row: (3, 7)-(13, 17).
  ExpectPixels(Box, {{{8, 12}, CheckPictures[1]}, {{3, 16}, clBtnFace}, {{100, 2}, clBtnFace}}, "flat");
  Box->SetChecked(true);
  ExpectPixels(Box, {{{8, 12}, CheckPictures[0]}}, "flat checked");
}

TEST_F(TSkinnedIndicatorTest, TheGaugeTilesItsProgressBetweenTheCaps) {
  auto* Gauge = NewSkinned<TbsSkinGauge>("Gauge", 20, 20);
  ASSERT_EQ(Gauge->GetWidth(), 100);
  // Value 50 of 96 pixels: the progress (2, 2)-(50, 18); its middle (4 .. 48) is tiled from the
  // 16-pixel middle of the picture, the last tile cut short.
  ExpectPixels(Gauge,
               {{{3, 10}, CapBegin},
                {{5, 10}, MidA},
                {{13, 10}, MidB},
                {{21, 10}, MidA},
                {{29, 10}, MidB},
                {{45, 10}, MidB},
                {{48, 10}, CapEnd},
                {{49, 10}, CapEnd},
                {{50, 10}, GaugeTrack},
                {{80, 10}, GaugeTrack}},
               "value 50");
  // 33 % of 96 pixels is 31.68: truncated, the progress ends at 2 + 31.
  Gauge->SetValue(33);
  ExpectPixels(Gauge, {{{32, 10}, CapEnd}, {{33, 10}, GaugeTrack}}, "value 33");
  Gauge->SetValue(0);
  ExpectPixels(Gauge, {{{3, 10}, GaugeTrack}}, "value 0");
}

TEST_F(TSkinnedIndicatorTest, WithoutSkinSizeTheGaugeKeepsItsSize) {
  auto* Gauge = NewControl<TbsSkinGauge>(Form, "Gauge", 20, 20);
  Gauge->SetUseSkinSize(false);
  Gauge->SetSkinData(Skin);
  Gauge->SetBounds(20, 20, 200, 40);
  Pump();
  EXPECT_EQ(Gauge->GetWidth(), 200);
  EXPECT_EQ(Gauge->GetHeight(), 40);
  // The part stretched: the track at both far corners.
  ExpectPixels(Gauge, {{{198, 38}, GaugeTrack}, {{6, 20}, CapBegin}}, "stretched");
}

TEST_F(TSkinnedIndicatorTest, TheTrackBarFillsUpToTheThumbAndLightsTheThumbWhileDragged) {
  auto* Bar = NewSkinned<TbsSkinTrackBar>("Bar", 20, 20);
  Bar->OnChange = TNotifyEvent(&Log, &TEventLog::Change);
  Bar->OnLastChange = TNotifyEvent(&Log, &TEventLog::LastChange);
  ASSERT_EQ(Bar->GetWidth(), 100);
  // Thumb 10 wide on the track 5 .. 95: centre at 10 + 40.
  EXPECT_EQ(Bar->GetButtonRect(), Rect(45, 0, 55, 20));
  ExpectPixels(Bar, {{{50, 10}, Thumb}, {{20, 10}, TrackFilled}, {{80, 10}, TrackFace}}, "value 50");
  const TPoint P = At(Bar, 50, 10);
  ScriptMoveTo(P.X, P.Y);
  ScriptButton(true);
  Pump();
  ExpectPixels(Bar, {{{50, 10}, ThumbActive}}, "pressed");
  MoveAt(Bar, 70, 10);
  EXPECT_EQ(Bar->GetValue(), 75);
  ExpectPixels(Bar, {{{60, 10}, TrackFilled}, {{70, 10}, ThumbActive}, {{85, 10}, TrackFace}}, "dragged");
  ScriptButton(false);
  Pump();
  ExpectPixels(Bar, {{{70, 10}, Thumb}}, "released");
  EXPECT_EQ(Log.Take(), (TLines{"Change Bar", "LastChange Bar"}));
}

TEST_F(TSkinnedIndicatorTest, TheScrollBarStretchesItsTrackAndMovesTheFarButton) {
  auto* Bar = NewSkinned<TbsSkinScrollBar>("Bar", 20, 20);
  ASSERT_EQ(Bar->GetHeight(), 16);
  ASSERT_EQ(Bar->GetWidth(), 200);
  EXPECT_EQ(Bar->GetTrackRect(), Rect(16, 0, 184, 16));
  EXPECT_EQ(Bar->GetButtonState(1).Rect, Rect(184, 0, 200, 16));
  EXPECT_EQ(Bar->GetButtonState(2).Rect, Rect(0, 0, 16, 16));
  // The thumb at its picture's length.
  EXPECT_EQ(Bar->GetButtonState(0).Rect, Rect(16, 0, 26, 16));
  ExpectPixels(Bar, {{{8, 8}, SBDown}, {{192, 8}, SBUp}, {{100, 8}, SBTrack}, {{20, 8}, SBThumbs[0]}},
               "idle");
  MoveAt(Bar, 20, 8);
  ExpectPixels(Bar, {{{20, 8}, SBThumbs[1]}}, "hot thumb");
  MoveAt(Bar, 192, 8);
  ExpectPixels(Bar, {{{192, 8}, SBUpHot}, {{20, 8}, SBThumbs[0]}}, "hot arrow");
  ScriptButton(true);
  Pump();
  // No down picture: the hot one stands in.
  ExpectPixels(Bar, {{{192, 8}, SBUpHot}}, "pressed arrow");
  EXPECT_EQ(Bar->GetPosition(), 1);
  ScriptButton(false);
  MoveAt(Form, 350, 250);
  ExpectPixels(Bar, {{{192, 8}, SBUp}}, "left");
  // With a page the thumb grows: 168 x 13 / 100 rounds to 22.
  Bar->SetRange(0, 99, 0, 13);
  EXPECT_EQ(Bar->GetButtonState(0).Rect, Rect(16, 0, 38, 16));
  Bar->SetEnabled(false);
  ExpectPixels(Bar, {{{20, 8}, SBTrack}, {{8, 8}, SBDown}}, "disabled");
}

TEST_F(TSkinnedIndicatorTest, TheDefaultScrollBarLayout) {
  auto* Bar = NewControl<TbsSkinScrollBar>(Form, "Bar", 20, 20);
  struct TCase {
    TScrollBarKind Kind;
    Integer Max, Page;
    bool Both;
    TRect Track, Thumb, Up;
  };
  const std::vector<TCase> Cases{
      // No page: a thumb of 16 on a track 34 shorter than the bar.
      {sbHorizontal, 100, 0, false, Rect(17, 1, 183, 18), Rect(17, 1, 33, 18), Rect(183, 1, 199, 18)},
      // Both: the corner's width stays free at the right end.
      {sbHorizontal, 100, 0, true, Rect(17, 1, 164, 18), Rect(17, 1, 33, 18), Rect(164, 1, 180, 18)},
      // A page as large as the range fills the track.
      {sbHorizontal, 99, 100, false, Rect(17, 1, 183, 18), Rect(17, 1, 183, 18), Rect(183, 1, 199, 18)},
      // A larger page: flush with the track's right end.
      {sbHorizontal, 99, 200, false, Rect(17, 1, 183, 18), Rect(-149, 1, 183, 18), Rect(183, 1, 199, 18)},
      // ... and, vertically, with its top.
      {sbVertical, 99, 200, false, Rect(1, 17, 18, 183), Rect(1, 17, 18, 349), Rect(1, 183, 18, 199)},
  };
  for (const TCase& C : Cases) {
    Bar->SetKind(C.Kind);
    Bar->SetBoth(C.Both);
    if (C.Kind == sbVertical)
      Bar->SetBounds(20, 20, 19, 200);
    else
      Bar->SetBounds(20, 20, 200, 19);
    Bar->SetRange(0, C.Max, 0, C.Page);
    Bar->CalcLayout();
    EXPECT_EQ(Bar->GetTrackRect(), C.Track) << C.Max << "/" << C.Page;
    EXPECT_EQ(Bar->GetButtonState(0).Rect, C.Thumb) << C.Max << "/" << C.Page;
    EXPECT_EQ(Bar->GetButtonState(1).Rect, C.Up) << C.Max << "/" << C.Page;
  }
}

}  // namespace
