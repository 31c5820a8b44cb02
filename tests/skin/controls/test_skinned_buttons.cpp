// Push and tool buttons drawn from a synthetic skin: the state pictures chosen by hover, press,
// focus and disabling, their text colours, the cross-fade and the frame animation on the fake
// clock, free sizing, repeat timing and re-skinning.
#include <string>

#include "platform/classes/ActnList.h"
#include "platform/classes/ImgList.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsLayered.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/controls/SyntheticSkin.h"

namespace {

using namespace SkinTesting;
using namespace SyntheticSkin;

class TSkinnedButtonTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    Form->Show();
    Skin = NewSkin(Form);
    Pump();
  }
  template <class T>
  T* NewSkinned(const std::string& Name, Integer X, Integer Y) {
    auto* C = NewControl<T>(Form, Name, X, Y);
    C->SetSkinData(Skin);
    Pump();
    return C;
  }
  // The state colour at the face's centre, the frame colour at both far corners.
  void ExpectFace(TControl* C, TColor State, const char* What) {
    const Integer W = C->GetWidth(), H = C->GetHeight();
    EXPECT_EQ(PixelAt(C, W / 2, 4), ScreenColor(State)) << What;
    EXPECT_EQ(PixelAt(C, 1, 1), ScreenColor(ButtonFrame)) << What;
    EXPECT_EQ(PixelAt(C, W - 2, H - 2), ScreenColor(ButtonFrame)) << What;
  }
  TForm* Form = nullptr;
  TbsSkinData* Skin = nullptr;
  TEventLog Log;
};

TEST_F(TSkinnedButtonTest, APushButtonDrawsEachStateFromItsPicture) {
  auto* B = NewSkinned<TbsSkinButton>("Button", 20, 20);
  ASSERT_EQ(B->SizingMode, 1);
  EXPECT_EQ(B->GetWidth(), 75);
  ExpectFace(B, StateColors[0], "normal");
  MoveAt(B, 30, 12);
  ExpectFace(B, StateColors[1], "hot");
  ScriptButton(true);
  Pump();
  ExpectFace(B, StateColors[2], "down");
  ScriptButton(false);
  Pump();
  // After the click the button has the focus: the focused picture.
  MoveAt(Form, 350, 250);
  ASSERT_TRUE(B->Focused());
  ExpectFace(B, StateColors[4], "focused");
  B->SetEnabled(false);
  ExpectFace(B, StateColors[3], "disabled");
}

TEST_F(TSkinnedButtonTest, AToolButtonDrawsNormalHotDownAndDisabled) {
  auto* B = NewSkinned<TbsSkinSpeedButton>("Tool", 20, 20);
  B->SetBounds(20, 20, 40, 30);
  ExpectFace(B, StateColors[0], "normal");
  MoveAt(B, 10, 10);
  ExpectFace(B, StateColors[1], "hot");
  ScriptButton(true);
  Pump();
  ExpectFace(B, StateColors[2], "down");
  ScriptButton(false);
  MoveAt(Form, 350, 250);
  ExpectFace(B, StateColors[0], "normal again");
  B->SetEnabled(false);
  ExpectFace(B, StateColors[3], "disabled");
}

TEST_F(TSkinnedButtonTest, TextColoursFollowTheStateAndADisabledColourLikeTheNormalOneTurnsGrey) {
  auto* Part = PartOf<TbsDataSkinButtonControl>(Skin, "button");
  Part->ActiveFontColor = 0x0000AA;
  Part->DownFontColor = 0x00AA00;
  auto* B = NewSkinned<TbsSkinButton>("Button", 20, 20);
  B->LoadSkinPart();
  EXPECT_EQ(B->DisabledFontColor, 0x808080);
  struct TFontSpy {
    TColor Seen = clNone;
    void Paint(TObject*, TCanvas* C, TRect, bool, bool, bool&) { Seen = C->GetFont()->GetColor(); }
  } Spy;
  TColor& Seen = Spy.Seen;
  B->OnPaint = TbsButtonPaintEvent(&Spy, &TFontSpy::Paint);
  B->Repaint();
  EXPECT_EQ(Seen, TextColor);
  MoveAt(B, 30, 12);
  EXPECT_EQ(Seen, 0x0000AA);
  ScriptButton(true);
  Pump();
  EXPECT_EQ(Seen, 0x00AA00);
  ScriptButton(false);
  Pump();
  B->SetEnabled(false);
  B->Repaint();
  EXPECT_EQ(Seen, 0x808080);
  B->SetEnabled(true);
  B->SetUseSkinFontColor(false);
  B->GetDefaultFont()->SetColor(0x123456);
  B->Repaint();
  EXPECT_EQ(Seen, 0x123456);
}

TEST_F(TSkinnedButtonTest, HoverCrossFadesInFiveStepsOf20Ms) {
  PartOf<TbsDataSkinButtonControl>(Skin, "button")->Morphing = true;
  auto* B = NewSkinned<TbsSkinButton>("Button", 20, 20);
  MoveAt(B, 30, 12);
  EXPECT_DOUBLE_EQ(B->MorphFraction, 0);
  Wait(20, 20);
  EXPECT_NEAR(B->MorphFraction, 0.2, 1e-9);
  // Half-way the face mixes the normal and the active picture.
  Wait(40, 20);
  const DWORD Mixed = PixelAt(B, 37, 4);
  EXPECT_NE(Mixed, ScreenColor(StateColors[0]));
  EXPECT_NE(Mixed, ScreenColor(StateColors[1]));
  Wait(100, 20);
  EXPECT_EQ(B->MorphFraction, 1);
  ExpectFace(B, StateColors[1], "hot");
  MoveAt(Form, 350, 250);
  Wait(200, 20);
  EXPECT_EQ(B->MorphFraction, 0);
  ExpectFace(B, StateColors[0], "cold");
}

TEST_F(TSkinnedButtonTest, WithoutSkinEffectsTheHoverSwitchesAtOnce) {
  PartOf<TbsDataSkinButtonControl>(Skin, "button")->Morphing = true;
  Skin->SetEnableSkinEffects(false);
  auto* B = NewSkinned<TbsSkinButton>("Button", 20, 20);
  MoveAt(B, 30, 12);
  ExpectFace(B, StateColors[1], "hot");
}

TEST_F(TSkinnedButtonTest, TheFrameAnimationPlaysInPlaceOfTheHotPicture) {
  auto* Part = PartOf<TbsDataSkinButtonControl>(Skin, "toolbutton");
  Part->AnimateSkinRect = AnimationStrip;
  Part->FrameCount = 3;
  Part->AnimateInterval = 30;
  auto* B = NewSkinned<TbsSkinSpeedButton>("Tool", 20, 20);
  MoveAt(B, 10, 10);
  EXPECT_EQ(PixelAt(B, 12, 12), ScreenColor(FrameColors[0]));
  Clock.Advance(30);
  EXPECT_EQ(PixelAt(B, 12, 12), ScreenColor(FrameColors[1]));
  Clock.Advance(30);
  EXPECT_EQ(PixelAt(B, 12, 12), ScreenColor(FrameColors[2]));
  Clock.Advance(30);
  EXPECT_EQ(PixelAt(B, 12, 12), ScreenColor(StateColors[1]));
  // Leaving plays the frames backwards in place of the normal picture.
  MoveAt(Form, 350, 250);
  EXPECT_EQ(PixelAt(B, 12, 12), ScreenColor(FrameColors[2]));
  Wait(120, 30);
  EXPECT_EQ(PixelAt(B, 12, 12), ScreenColor(StateColors[0]));
}

TEST_F(TSkinnedButtonTest, WithoutSkinSizeTheStatePictureStretchesToAnySize) {
  // A fixed part keeps its size unless the button is told to ignore it.
  auto* Part = PartOf<TbsDataSkinButtonControl>(Skin, "button");
  Part->LeftTopPoint = Part->RightTopPoint = Part->LeftBottomPoint = Part->RightBottomPoint = TPoint{};
  auto* B = NewSkinned<TbsSkinButton>("Button", 20, 20);
  EXPECT_EQ(B->GetWidth(), 20);
  B->SetUseSkinSize(false);
  B->SetBounds(20, 20, 60, 40);
  EXPECT_EQ(B->GetWidth(), 60);
  EXPECT_EQ(B->NewClientRect, Rect(3, 3, 57, 37));
  // Off the caption: the frame is stretched three times as wide and twice as high.
  EXPECT_EQ(PixelAt(B, 8, 8), ScreenColor(ButtonFrame));
  EXPECT_EQ(PixelAt(B, 9, 6), ScreenColor(StateColors[0]));
  EXPECT_EQ(PixelAt(B, 58, 38), ScreenColor(ButtonFrame));
}

TEST_F(TSkinnedButtonTest, AHeldRepeatButtonClicksAt600And700MsThenOnRelease) {
  auto* B = NewSkinned<TbsSkinButton>("Repeat", 20, 20);
  B->SetRepeatMode(true);
  B->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
  MoveAt(B, 30, 12);
  ScriptButton(true);
  Pump();
  Wait(590);
  EXPECT_TRUE(Log.Take().empty());
  Wait(20);
  EXPECT_EQ(Log.Take(), TLines{"Click Repeat"});
  Wait(100);
  EXPECT_EQ(Log.Take(), TLines{"Click Repeat"});
  Wait(40);
  ScriptButton(false);
  Pump();
  EXPECT_EQ(Log.Take(), TLines{"Click Repeat"});
}

TEST_F(TSkinnedButtonTest, ASkinChangeShowsTheDefaultLookThenRebindsAndResizes) {
  auto* B = NewSkinned<TbsSkinButton>("Button", 20, 20);
  ExpectFace(B, StateColors[0], "skinned");
  B->BeforeSkinChange();
  Skin->Empty = true;
  B->Repaint();
  EXPECT_EQ(PixelAt(B, 4, 4), ScreenColor(clBtnFace));
  // The new skin's button is fixed at 20 x 20.
  auto* Part = PartOf<TbsDataSkinButtonControl>(Skin, "button");
  Part->LeftTopPoint = Part->RightTopPoint = Part->LeftBottomPoint = Part->RightBottomPoint = TPoint{};
  Skin->Empty = false;
  B->ApplySkinChange();
  EXPECT_EQ(B->GetWidth(), 20);
  EXPECT_EQ(B->GetHeight(), 20);
  ExpectFace(B, StateColors[0], "rebound");
}

TEST_F(TSkinnedButtonTest, AnActionRunsOnceForAClickAndLendsItsImage) {
  auto* Images = new TImageList(Form);
  Images->SetWidth(8);
  Images->SetHeight(8);
  TBitmap Cell;
  Cell.SetSize(8, 8);
  Images->Add(&Cell, nullptr);
  Images->Add(&Cell, nullptr);
  auto* Actions = new TActionList(Form);
  Actions->SetImages(Images);
  auto* Act = new TAction(Form);
  Act->SetName("Act");
  Act->SetActionList(Actions);
  Act->SetImageIndex(1);
  Act->OnExecute = TNotifyEvent(&Log, &TEventLog::Change);
  auto* B = NewSkinned<TbsSkinButton>("Button", 20, 20);
  auto* T = NewSkinned<TbsSkinSpeedButton>("Tool", 120, 20);
  for (TControl* C : {static_cast<TControl*>(B), static_cast<TControl*>(T)}) {
    C->SetAction(Act);
    ClickAt(C, 10, 10);
    EXPECT_EQ(Log.Take(), TLines{"Change Act"}) << C->GetName();
  }
  EXPECT_EQ(B->GetImageList(), Images);
  EXPECT_EQ(B->GetImageIndex(), 1);
  EXPECT_EQ(T->GetImageIndex(), 1);
  // A handler of the button's own runs instead of the action.
  B->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
  ClickAt(B, 10, 10);
  EXPECT_EQ(Log.Take(), TLines{"Click Button"});
}

// A 9-slice button with a 40 x 20 glow picture and its mask, 10 pixels of margin all round.
class TGlowTest : public TSkinnedButtonTest {
 protected:
  void SetUp() override {
    TSkinnedButtonTest::SetUp();
    for (TColor Color : {TColor(0x3060F0), TColor(clWhite)}) {
      auto P = std::make_unique<TBitmap>();
      P->SetPixelFormat(pf24bit);
      P->SetSize(40, 40);
      Fill(P.get(), Rect(0, 0, 40, 40), Color);
      Skin->ActivePictures.push_back(std::move(P));
    }
    auto* Part = PartOf<TbsDataSkinButtonControl>(Skin, "button");
    Part->GlowLayerPictureIndex = 2;
    Part->GlowLayerMaskPictureIndex = 3;
    Part->GlowLayerOffsetLeft = Part->GlowLayerOffsetRight = Part->GlowLayerOffsetTop =
        Part->GlowLayerOffsetBottom = 10;
    Part->GlowLayerShowOffsetX = Part->GlowLayerShowOffsetY = 10;
    Button = NewSkinned<TbsSkinButton>("Button", 40, 40);
  }
  void TearDown() override {
    SetGlowFramesAvailable(true);
    TSkinnedButtonTest::TearDown();
  }
  TbsSkinButton* Button = nullptr;
};

TEST_F(TGlowTest, TheGlowFrameSurroundsTheHoveredButtonAndGoesWhenTheMouseLeaves) {
  MoveAt(Button, 30, 12);
  ASSERT_TRUE(Button->GlowLayer->GetIsVisible());
  // The picture grows with the button: 40 + (75 - 20) wide, 40 + (25 - 20) high.
  TbsLayerWindow* W = Button->GlowLayer->GetLayerWindow();
  const TPoint Origin = Button->ClientToScreen({0, 0});
  EXPECT_EQ(W->GetLeft(), Origin.X - 10);
  EXPECT_EQ(W->GetTop(), Origin.Y - 10);
  EXPECT_EQ(W->GetWidth(), 95);
  EXPECT_EQ(W->GetHeight(), 45);
  MoveAt(Form, 350, 250);
  EXPECT_FALSE(Button->GlowLayer->GetIsVisible());
}

TEST_F(TGlowTest, WithoutLayeredWindowsOrWithGlowFramesOffNothingShows) {
  SetGlowFramesAvailable(false);
  MoveAt(Button, 30, 12);
  EXPECT_FALSE(Button->GlowLayer->GetIsVisible());
  MoveAt(Form, 350, 250);
  SetGlowFramesAvailable(true);
  Skin->SetShowButtonGlowFrames(false);
  MoveAt(Button, 30, 12);
  EXPECT_FALSE(Button->GlowLayer->GetIsVisible());
  MoveAt(Form, 350, 250);
  Button->SetAlwaysShowLayeredFrame(true);
  MoveAt(Button, 30, 12);
  EXPECT_TRUE(Button->GlowLayer->GetIsVisible());
}

TEST_F(TGlowTest, ASkinChangeHidesTheGlowAndShowsItAgainInTheNewSkin) {
  MoveAt(Button, 30, 12);
  ASSERT_TRUE(Button->GlowLayer->GetIsVisible());
  Button->BeforeSkinChange();
  EXPECT_FALSE(Button->GlowLayer->GetIsVisible());
  Button->ApplySkinChange();
  Pump();
  EXPECT_TRUE(Button->GlowLayer->GetIsVisible());
}

}  // namespace
