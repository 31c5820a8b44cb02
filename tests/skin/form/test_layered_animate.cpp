// Animated frame objects driven tick by tick: frame steps, cycling, winding back, and their
// caption commands.
#include <memory>
#include <string>

#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinAnimateObjects.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/form/FormSkins.h"

namespace {

using namespace SkinTesting;
using namespace FormSkins;

// Counts a close and refuses it, so the form stays.
struct TCloseCatcher {
  bool Closed = false;
  void Close(TObject*, TCloseAction& Action) {
    Closed = true;
    Action = caNone;
  }
};

class TAnimateObjectTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    const TRect Client = Rect(10, 30, 290, 190);
    Load(Data, Stored,
         FramePayload(FramePicture(300, 200, Client, clRed, clBlue),
                      {FramePicture(80, 20, Rect(0, 0, 1, 1), clWhite, clWhite)},
                      FrameText(300, 200, Client, "")));
    Form = NewForm("Form", 50, 40);
    SF = new TbsSkinForm(Form);
    Form->SetBounds(50, 40, 500, 400);
    SF->SetSkinData(&Data);
    Form->Show();
    Pump();
  }
  // An object of four 20 x 20 frames in picture 0.
  std::unique_ptr<TbsSkinAnimateObject> NewObject(const std::string& Keys) {
    Record = std::make_unique<TbsDataSkinAnimate>("anim");
    Record->ActivePictureIndex = 0;
    Record->SkinRectInAPicture = true;
    Record->SkinRect = Rect(0, 0, 20, 20);
    Record->ActiveSkinRect = Rect(0, 0, 20, 20);
    Record->CountFrames = 4;
    Record->TimerInterval = 50;
    Record->ButtonStyle = true;
    Record->Cycle = Keys.find("cycle") != std::string::npos;
    if (Keys.find("interval0") != std::string::npos) Record->TimerInterval = 0;
    if (Keys.find("sysmenu") != std::string::npos) Record->Command = 3;
    auto O = std::make_unique<TbsSkinAnimateObject>(SF, Record.get());
    O->ObjectRect = Rect(100, 5, 120, 25);
    return O;
  }
  // The frames shown after each of N ticks.
  static std::string Run(TbsSkinAnimateObject* O, Integer N) {
    std::string Frames;
    for (Integer I = 0; I < N; ++I) {
      if (O->Active) O->AnimationStep();
      Frames += std::to_string(O->CurrentFrame);
    }
    return Frames;
  }
  TbsSkinData Data{nullptr};
  TbsCompressedStoredSkin Stored{nullptr};
  std::unique_ptr<TbsDataSkinAnimate> Record;
  TForm* Form = nullptr;
  TbsSkinForm* SF = nullptr;
};

TEST_F(TAnimateObjectTest, FramesLieSideBySideAndStepOnEverySecondTick) {
  auto O = NewObject("");
  EXPECT_EQ(O->FrameRect(3), Rect(40, 0, 60, 20));
  O->MouseEnter();
  // The first tick counts up to the interval of 50, the next shows a frame, and so on; the
  // run ends at the last frame.
  EXPECT_EQ(Run(O.get(), 8), "12233444");
  EXPECT_FALSE(O->Active);
}

TEST_F(TAnimateObjectTest, AnIntervalBelowATickCountsAsOneTick) {
  auto O = NewObject("interval0");
  EXPECT_EQ(O->TimerInterval, 25);
  O->MouseEnter();
  EXPECT_EQ(Run(O.get(), 4), "2344");
}

TEST_F(TAnimateObjectTest, ACycleLoopsWhileHoveredAndLeavingWindsBackToFrameOne) {
  auto O = NewObject("cycle");
  O->MouseEnter();
  EXPECT_EQ(Run(O.get(), 10), "1223344112");
  EXPECT_TRUE(O->Active);
  O->MouseLeave();
  EXPECT_FALSE(O->Forward);
  EXPECT_EQ(Run(O.get(), 6), "211111");
  EXPECT_FALSE(O->Active);
}

TEST_F(TAnimateObjectTest, AfterItsMenuClosedTheButtonRunsBackFromTheLastFrame) {
  auto O = NewObject("");
  O->MenuShown = true;
  O->WindBack();
  EXPECT_FALSE(O->MenuShown);
  EXPECT_EQ(Run(O.get(), 8), "43322111");
}

TEST_F(TAnimateObjectTest, ASystemMenuButtonOpensOnThePressAndClosesTheFormOnADoubleClick) {
  auto O = NewObject("sysmenu");
  // Asked before the press: asking rebuilds the items, which the open menu shows.
  TMenuItem* SystemItems = SF->GetSystemMenuItems();
  O->MouseEnter();
  O->MouseDown(105, 10, mbLeft);
  EXPECT_EQ(O->DropMenuItem, SystemItems);
  EXPECT_TRUE(O->MenuShown);
  SF->CloseSkinMenus();
  Pump();
  TCloseCatcher Catcher;
  Form->OnClose = TCloseEvent(&Catcher, &TCloseCatcher::Close);
  O->DblClick();
  EXPECT_TRUE(Catcher.Closed);
}

TEST_F(TAnimateObjectTest, WithoutItsPictureTheObjectDrawsNothing) {
  auto O = NewObject("");
  O->ActivePicture = nullptr;
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(200, 40);
  B.GetCanvas()->GetBrush()->SetColor(clBlack);
  B.GetCanvas()->FillRect(Rect(0, 0, 200, 40));
  O->Draw(B.GetCanvas(), true);
  EXPECT_EQ(B.GetCanvas()->GetPixels(110, 15), clBlack);
}

}  // namespace
