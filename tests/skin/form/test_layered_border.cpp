// The layered border around a skinned form: its image sizes and places, the hit codes of its
// windows, resizing through them, the alpha and the fade-in.
#include <string>
#include <vector>

#include "platform/user/Windows.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinLayerFrame.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/form/FormSkins.h"

namespace {

using namespace SkinTesting;
using namespace FormSkins;

// A 100 x 80 layer picture whose form area is (20, 30, 80, 60): top band 30 rows, bottom band
// 20 rows, sides 20 wide; the border rectangle leaves 10 pixels of border on every side.
std::string LayerSection(const std::string& Extra) {
  return "[LAYERFRAME]\r\npictureindex=0\r\nmaskpictureindex=1\r\nlefttoppoint=25,30\r\nrighttoppoint=75,"
         "30\r\n"
         "leftbottompoint=25,60\r\nrightbottompoint=75,60\r\nclientrect=20,30,80,60\r\n"
         "hittestlefttoppoint=20,30\r\nhittestrighttoppoint=80,30\r\nhittestleftbottompoint=20,60\r\n"
         "hittestrightbottompoint=80,60\r\nhittestsize=5\r\ncaptionrect=20,20,80,30\r\n" +
         Extra;
}

const std::string WithBorder = "borderrect=10,20,90,70\r\nhittestenable=1\r\n";

class TLayeredBorderTest : public TSkinTest {
 protected:
  void LoadLayer(const std::string& Extra, bool WithMask = true,
                 const std::string& Objects = "[SKINOBJECTS]\r\ncount=0\r\n") {
    const TRect FormClient = Rect(10, 30, 290, 190);
    std::vector<std::string> Pictures{FramePicture(100, 80, Rect(20, 30, 80, 60), clGreen, clYellow)};
    if (WithMask) Pictures.push_back(FramePicture(100, 80, Rect(0, 0, 1, 1), clWhite, clWhite));
    Load(Data, Stored,
         FramePayload(FramePicture(300, 200, FormClient, clRed, clBlue), Pictures,
                      FrameText(300, 200, FormClient, LayerSection(Extra), Objects)));
  }
  // A shown sizeable 500 x 400 form at (50, 40) with its border set up (not shown).
  TbsFormLayerBorder* NewBorder(TFormBorderStyle Style = bsSizeable) {
    Form = NewForm("Form", 50, 40);
    Form->SetBorderStyle(Style);
    SF = new TbsSkinForm(Form);
    Form->SetBounds(50, 40, 500, 400);
    SF->SetSkinData(&Data);
    Form->Show();
    Pump();
    auto* Border = new TbsFormLayerBorder(SF);
    Border->SetupFromSkin(&Data, Form);
    return Border;
  }
  static Byte HitAt(TbsFormLayerWindow* W, Integer ScreenX, Integer ScreenY) {
    return W->GetHitCode(ScreenX - W->GetLeft(), ScreenY - W->GetTop());
  }
  TbsSkinData Data{nullptr};
  TbsCompressedStoredSkin Stored{nullptr};
  TForm* Form = nullptr;
  TbsSkinForm* SF = nullptr;
};

TEST_F(TLayeredBorderTest, FourImagesSurroundTheFormAtTheOuterRectangle) {
  LoadLayer(WithBorder);
  TbsFormLayerBorder* B = NewBorder();
  ASSERT_NE(B->LayerFrame, nullptr);
  EXPECT_EQ(B->OuterRect(50, 40, 500, 400), Rect(30, 10, 570, 460));
  B->ShowBorder();
  ASSERT_TRUE(B->Shown);
  EXPECT_EQ(TSize(B->TopImage->GetWidth(), B->TopImage->GetHeight()), TSize(540, 30));
  EXPECT_EQ(TSize(B->BottomImage->GetWidth(), B->BottomImage->GetHeight()), TSize(540, 20));
  EXPECT_EQ(TSize(B->LeftImage->GetWidth(), B->LeftImage->GetHeight()), TSize(20, 400));
  EXPECT_EQ(TSize(B->RightImage->GetWidth(), B->RightImage->GetHeight()), TSize(20, 400));
  EXPECT_EQ(B->TopWindow->GetBoundsRect(), Rect(30, 10, 570, 40));
  EXPECT_EQ(B->BottomWindow->GetBoundsRect(), Rect(30, 440, 570, 460));
  EXPECT_EQ(B->LeftWindow->GetBoundsRect(), Rect(30, 40, 50, 440));
  EXPECT_EQ(B->RightWindow->GetBoundsRect(), Rect(550, 40, 570, 440));
  // The windows follow a move without rebuilding.
  Form->SetBounds(80, 60, 500, 400);
  B->FollowForm();
  EXPECT_EQ(B->TopWindow->GetBoundsRect(), Rect(60, 30, 600, 60));
  EXPECT_EQ(B->RightWindow->GetBoundsRect(), Rect(580, 60, 600, 460));
  B->HideBorder();
  EXPECT_EQ(B->TopWindow, nullptr);
}

TEST_F(TLayeredBorderTest, AShortBorderKeepsTheLowestBottomRowsAndHidesItsSides) {
  LoadLayer(WithBorder);
  TbsFormLayerBorder* B = NewBorder();
  B->ShowBorderAt(0, 0, 200, 40);
  // 10 rows remain below the 30-row top band: the last 10 of the picture's bottom band,
  // which lie in the frame colour (green).
  ASSERT_EQ(B->BottomImage->GetHeight(), 10);
  EXPECT_EQ(B->BottomImage->GetPixel(0, 9) & 0xFFFFFF, 0x008000u);
  EXPECT_FALSE(IsWindowVisible(B->LeftWindow->GetHandle()));
  EXPECT_FALSE(IsWindowVisible(B->RightWindow->GetHandle()));
}

TEST_F(TLayeredBorderTest, ALayerFrameWithoutItsMaskGivesNoBorder) {
  LoadLayer(WithBorder, false);
  TbsFormLayerBorder* B = NewBorder();
  EXPECT_EQ(B->LayerFrame, nullptr);
  B->ShowBorder();
  EXPECT_FALSE(B->Shown);
  EXPECT_EQ(B->TopWindow, nullptr);
}

TEST_F(TLayeredBorderTest, HitCodesOfTheFourWindows) {
  LoadLayer(WithBorder);
  TbsFormLayerBorder* B = NewBorder();
  B->ShowBorder();
  const struct {
    TbsFormLayerWindow* Window;
    Integer X, Y;
    Byte Code;
  } Cases[] = {
      {B->LeftWindow, 45, 200, lhLeft},      {B->LeftWindow, 35, 200, lhNone},
      {B->RightWindow, 555, 200, lhRight},   {B->RightWindow, 565, 200, lhNone},
      {B->TopWindow, 45, 35, lhTopLeft},     {B->TopWindow, 300, 32, lhTop},
      {B->TopWindow, 300, 37, lhNone},       {B->TopWindow, 555, 35, lhTopRight},
      {B->TopWindow, 35, 35, lhNone},        {B->BottomWindow, 45, 445, lhBottomLeft},
      {B->BottomWindow, 300, 445, lhBottom}, {B->BottomWindow, 555, 445, lhBottomRight},
  };
  for (const auto& C : Cases) EXPECT_EQ(HitAt(C.Window, C.X, C.Y), C.Code) << C.X << "," << C.Y;
  SF->SetRollUpState(true);
  EXPECT_EQ(HitAt(B->LeftWindow, 45, 200), lhNone);
  SF->SetRollUpState(false);
  SF->SetWindowState(wsMaximized);
  EXPECT_EQ(HitAt(B->RightWindow, 555, 200), lhNone);
}

TEST_F(TLayeredBorderTest, WithoutABorderRectangleTheWindowsLetTheMouseThrough) {
  LoadLayer("hittestenable=1\r\n");
  TbsFormLayerBorder* B = NewBorder();
  B->ShowBorder();
  EXPECT_EQ(B->LeftBorderWidth, 0);
  EXPECT_EQ(B->RightBorderWidth, 0);
  EXPECT_NE(GetWindowLong(B->LeftWindow->GetHandle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
  EXPECT_EQ(HitAt(B->LeftWindow, 45, 200), lhNone);
  EXPECT_EQ(HitAt(B->RightWindow, 555, 200), lhNone);
}

TEST_F(TLayeredBorderTest, DraggingTheRightEdgeResizesAndClamps) {
  LoadLayer(WithBorder);
  TbsFormLayerBorder* B = NewBorder();
  SF->SetMaxWidth(530);
  B->ShowBorder();
  ScriptMoveTo(555, 200);
  Pump();
  ScriptButton(true);
  Pump();
  ScriptMoveTo(570, 200);
  Pump();
  EXPECT_EQ(Form->GetWidth(), 515);
  ScriptMoveTo(620, 200);
  Pump();
  ScriptButton(false);
  Pump();
  EXPECT_EQ(Form->GetWidth(), 530);
  EXPECT_EQ(Form->GetLeft(), 50);
  // The border was rebuilt for the new width.
  EXPECT_EQ(B->TopImage->GetWidth(), 570);
}

TEST_F(TLayeredBorderTest, DraggingTheLeftEdgeAtTheMinimumDoesNothing) {
  LoadLayer(WithBorder);
  TbsFormLayerBorder* B = NewBorder();
  SF->SetMinWidth(500);
  B->ShowBorder();
  ScriptMoveTo(45, 200);
  Pump();
  ScriptButton(true);
  Pump();
  ScriptMoveTo(65, 200);
  Pump();
  ScriptButton(false);
  Pump();
  EXPECT_EQ(Form->GetBoundsRect(), Rect(50, 40, 550, 440));
}

TEST_F(TLayeredBorderTest, WithHitTestingOffAPressOnAnEdgeResizesNothing) {
  LoadLayer("borderrect=10,20,90,70\r\n");
  TbsFormLayerBorder* B = NewBorder();
  B->ShowBorder();
  ScriptMoveTo(555, 200);
  Pump();
  ScriptButton(true);
  Pump();
  ScriptMoveTo(590, 200);
  Pump();
  ScriptButton(false);
  Pump();
  EXPECT_EQ(Form->GetWidth(), 500);
  EXPECT_EQ(B->RightWindow->HitCode, lhNone);
}

TEST_F(TLayeredBorderTest, AlphaScalesBothLooks) {
  LoadLayer(WithBorder + "alphablendvalue=255\r\ninactivealphablendvalue=200\r\n");
  TbsFormLayerBorder* B = NewBorder();
  B->SetAlpha(128, false);
  EXPECT_EQ(B->Alpha, 128);
  EXPECT_EQ(B->InActiveAlpha, 100);  // 200 x 128 / 255 = 100.4
  B->SetAlpha(0, false);
  EXPECT_EQ(B->Alpha, 0);
}

TEST_F(TLayeredBorderTest, ShowAnimatedFadesInFifteenthsOnTheTickSource) {
  LoadLayer(WithBorder + "alphablendvalue=200\r\n");
  TbsFormLayerBorder* B = NewBorder();
  const DWORD Start = GetTickCount();
  B->ShowAnimated();
  EXPECT_EQ(B->Alpha, 200);
  // 200 div 15 = 13: fifteen steps to 195 and a last one clamped to 200, each after 6 ms.
  EXPECT_EQ(GetTickCount() - Start, 16u * 6u);
}

TEST_F(TLayeredBorderTest, ACaptionDoubleClickOnAFullBorderMaximizesRestoresOrRollsUp) {
  const std::string Caption =
      "[SKINOBJECTS]\r\ncount=1\r\n0=caption:caption\r\n[caption]\r\nskinrect=10,0,270,30\r\n";
  const struct {
    TFormBorderStyle Style;
    bool StartMaximized;
    TWindowState State;
    bool RolledUp;
  } Cases[] = {
      {bsSizeable, false, wsMaximized, false},
      {bsSizeable, true, wsNormal, false},
      {bsSingle, false, wsNormal, true},
  };
  for (const auto& C : Cases) {
    LoadLayer(WithBorder + "fullborder=1\r\n", true, Caption);
    TbsFormLayerBorder* B = NewBorder(C.Style);
    if (C.StartMaximized) SF->SetWindowState(wsMaximized);
    B->ShowBorder();
    B->UpdateBorder();
    TbsFormLayerWindow* Top = B->TopWindow;
    // The caption lies on the top image at (20, 20) .. (520, 30).
    const TPoint P = Top->ClientToScreen(Point(300, 25));
    ScriptClick(P.X, P.Y);
    ScriptClick(P.X, P.Y);
    Pump();
    EXPECT_EQ(SF->GetWindowState(), C.State) << C.Style;
    EXPECT_EQ(SF->GetRollUpState(), C.RolledUp) << C.Style;
    Forms.clear();
    Pump();
  }
}

}  // namespace
