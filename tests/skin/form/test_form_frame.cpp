// The skinned form's frame: geometry stretched from the frame picture, the client rectangle,
// hit testing, size limits and which messages the saved procedure still sees.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/ImgList.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinFormObjects.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/form/FormSkins.h"

namespace {

using namespace SkinTesting;
using namespace FormSkins;

const TRect PictureClient = Rect(10, 30, 290, 190);

class TFormFrameTest : public TSkinTest {
 protected:
  // A 300 x 200 frame picture with the client (10, 30, 290, 190), loaded into Data.
  void LoadFrame(const std::string& Extra = "", const std::string& Objects = "[SKINOBJECTS]\r\ncount=0\r\n",
                 const std::vector<std::string>& Pictures = {}) {
    Load(Data, Stored,
         FramePayload(FramePicture(300, 200, PictureClient, clRed, clBlue), Pictures,
                      FrameText(300, 200, PictureClient, Extra, Objects)));
  }
  // A shown 500 x 400 form carrying a skinned-form component.
  TbsSkinForm* NewSkinnedForm(TbsSkinData* Skin, TForm** FormOut = nullptr) {
    TForm* Form = NewForm("Form", 50, 40);
    auto* SF = new TbsSkinForm(Form);
    Form->SetBounds(50, 40, 500, 400);
    SF->SetSkinData(Skin);
    Form->Show();
    Pump();
    if (FormOut != nullptr) *FormOut = Form;
    return SF;
  }
  TbsSkinData Data{nullptr};
  TbsCompressedStoredSkin Stored{nullptr};
};

TEST_F(TFormFrameTest, APictureStretchesOntoTheFormAndGivesItsClientArea) {
  LoadFrame();
  TForm* Form = nullptr;
  TbsSkinForm* SF = NewSkinnedForm(&Data, &Form);
  ASSERT_TRUE(SF->GetSkinApplied());
  EXPECT_EQ(SF->GetFrameClientRect(), Rect(10, 30, 490, 390));
  // The client area is the window less 10, 30, 10 and 10.
  EXPECT_EQ(Form->GetClientWidth(), 480);
  EXPECT_EQ(Form->GetClientHeight(), 360);
  const TPoint Origin = Form->ClientToScreen(Point(0, 0));
  EXPECT_EQ(Origin, Point(50 + 10, 40 + 30));
}

TEST_F(TFormFrameTest, ButtonsInTheRightHalfFollowTheRightEdge) {
  const struct {
    const char* Rect;
    TRect Expected;
  } Cases[] = {{"10,5,60,25", Rect(10, 5, 60, 25)}, {"240,5,290,25", Rect(440, 5, 490, 25)}};
  for (const auto& C : Cases) {
    LoadFrame(std::string("buttonsrect=") + C.Rect + "\r\n");
    TbsSkinForm* SF = NewSkinnedForm(&Data);
    EXPECT_EQ(SF->GetButtonsRect(), C.Expected) << C.Rect;
    Forms.clear();
  }
}

TEST_F(TFormFrameTest, HitTestsOfTheSkinnedFrame) {
  const struct {
    const char* Extra;
    TPoint P;
    LRESULT Expected;
  } Cases[] = {
      // Without a border width no probe leaves the window: no sizing zones at all.
      {"borderwidth=0\r\n", {3, 200}, 19},        {"borderwidth=4\r\n", {3, 200}, HTLEFT},
      {"borderwidth=4\r\n", {496, 200}, HTRIGHT}, {"borderwidth=4\r\n", {250, 398}, HTBOTTOM},
      {"borderwidth=4\r\n", {2, 2}, HTTOPLEFT},   {"borderwidth=4\r\n", {250, 200}, HTCLIENT},
  };
  for (const auto& C : Cases) {
    LoadFrame(C.Extra);
    TForm* Form = nullptr;
    TbsSkinForm* SF = NewSkinnedForm(&Data, &Form);
    Form->SetBorderStyle(bsSizeable);
    EXPECT_EQ(SF->SkinHitTest(C.P), C.Expected) << C.Extra << " " << C.P.X << "," << C.P.Y;
    Forms.clear();
  }
}

const char* CaptionObjects =
    "[SKINOBJECTS]\r\ncount=1\r\n0=caption:caption\r\n[caption]\r\nskinrect=10,0,270,30\r\n"
    "textrect=0,0,280,20\r\n";

TEST_F(TFormFrameTest, TheCaptionDragsExceptOnItsQuickButtonsAndRolledUpFormsDoNotSize) {
  LoadFrame("borderwidth=4\r\n", CaptionObjects);
  TForm* Form = nullptr;
  TbsSkinForm* SF = NewSkinnedForm(&Data, &Form);
  // The caption ends on the right corner's anchor (270, 30), so it stretches with the frame
  // to (10, 0, 470, 30).
  EXPECT_EQ(SF->SkinHitTest(Point(100, 10)), HTCAPTION);
  EXPECT_EQ(SF->SkinHitTest(Point(469, 29)), HTCAPTION);
  EXPECT_EQ(SF->SkinHitTest(Point(470, 10)), 19);
  TCustomImageList Images(nullptr);
  Images.SetWidth(16);
  SF->SetQuickImageList(&Images);
  SF->GetQuickButtons()->Add();
  // One quick button takes 16 + 8 pixels at the caption's left end.
  EXPECT_EQ(SF->SkinHitTest(Point(20, 10)), 19);
  EXPECT_EQ(SF->SkinHitTest(Point(40, 10)), HTCAPTION);
  SF->SetQuickImageList(nullptr);
  SF->SetRollUpState(true);
  EXPECT_EQ(Form->GetHeight(), SF->GetMinHeight());
  EXPECT_EQ(SF->SkinHitTest(Point(2, 2)), 19);
  EXPECT_EQ(SF->SkinHitTest(Point(100, 10)), HTCAPTION);
}

TEST_F(TFormFrameTest, TheSkinlessFrameKeepsThreePixelsAndACaption) {
  TForm* Form = NewForm("Plain", 100, 100);
  auto* SF = new TbsSkinForm(Form);
  Form->SetBounds(100, 100, 400, 300);
  Form->SetBorderStyle(bsSizeable);
  Form->Show();
  Pump();
  EXPECT_FALSE(SF->GetSkinApplied());
  EXPECT_EQ(Form->ClientToScreen(Point(0, 0)), Point(103, 100 + 19 + 3));
  EXPECT_EQ(Form->GetClientWidth(), 394);
  EXPECT_EQ(Form->GetClientHeight(), 300 - 22 - 3);
  EXPECT_EQ(SF->DefaultHitTest(Point(1, 1)), HTTOPLEFT);
  EXPECT_EQ(SF->DefaultHitTest(Point(399, 299)), HTBOTTOMRIGHT);
  EXPECT_EQ(SF->DefaultHitTest(Point(100, 10)), HTCAPTION);
  EXPECT_EQ(SF->DefaultHitTest(Point(200, 200)), HTCLIENT);
  // Over a caption button the frame routes the mouse itself.
  SF->TestActive(-1, -1, false);
  Form->SetFocus();
  Pump();
  const TRect Close = SF->FindObject("closebutton")->ObjectRect;
  SF->TestActive(Close.Left + 2, Close.Top + 2, true);
  ASSERT_NE(SF->GetHoverIndex(), -1);
  EXPECT_EQ(SF->DefaultHitTest(Point(1, 1)), 19);
}

TEST_F(TFormFrameTest, AClientSizeGivenBeforeTheComponentCameStays) {
  TForm* Form = NewForm("Sized");
  Form->SetClientWidth(360);
  Form->SetClientHeight(290);
  new TbsSkinForm(Form);
  Form->Show();
  Pump();
  EXPECT_EQ(Form->GetClientWidth(), 360);
  EXPECT_EQ(Form->GetClientHeight(), 290);
  EXPECT_EQ(Form->GetWidth(), 366);
  EXPECT_EQ(Form->GetHeight(), 290 + 19 + 6);
}

TEST_F(TFormFrameTest, SizeLimits) {
  TForm* Plain = NewForm("Plain");
  auto* Skinless = new TbsSkinForm(Plain);
  EXPECT_EQ(Skinless->GetMinWidth(), 120);
  EXPECT_EQ(Skinless->GetMinHeight(), 25);
  Plain->SetBorderStyle(bsToolWindow);
  EXPECT_EQ(Skinless->GetMinHeight(), 21);

  // A 200 pixel wide frame picture under a MinWidth of 300.
  const TRect Client = Rect(10, 30, 190, 190);
  Load(Data, Stored,
       FramePayload(FramePicture(200, 200, Client, clRed, clBlue), {}, FrameText(200, 200, Client, "")));
  TForm* Form = nullptr;
  TbsSkinForm* SF = NewSkinnedForm(&Data, &Form);
  SF->SetMinWidth(300);
  EXPECT_EQ(SF->GetMinWidth(), 300);
  SF->SetWindowState(wsMinimized);
  EXPECT_EQ(SF->GetWindowState(), wsMinimized);
  EXPECT_EQ(SF->GetMinWidth(), 200);
  EXPECT_EQ(Form->GetWidth(), 200);
  EXPECT_EQ(Form->GetWindowState(), wsNormal);
}

const char* ButtonObjects =
    "[SKINOBJECTS]\r\ncount=4\r\n0=closebutton:stdbutton\r\n1=maxbutton:stdbutton\r\n"
    "2=sysmenubutton:stdbutton\r\n3=custombutton:stdbutton\r\n"
    "[closebutton]\r\ncommand=cmclose\r\nskinrect=270,5,285,20\r\n"
    "[maxbutton]\r\ncommand=cmmaximize\r\nskinrectinapicture=1\r\nactivepictureindex=0\r\n"
    "skinrect=0,0,15,15\r\n"
    "[sysmenubutton]\r\ncommand=cmsysmenu\r\nskinrectinapicture=1\r\nactivepictureindex=0\r\n"
    "skinrect=0,0,15,15\r\n"
    "[custombutton]\r\ncommand=cmdefault\r\nskinrectinapicture=1\r\nactivepictureindex=0\r\n"
    "skinrect=0,0,15,15\r\n";

TEST_F(TFormFrameTest, CaptionButtonsFollowTheBorderIconsAndSwitches) {
  LoadFrame("buttonsrect=200,5,290,20\r\n", ButtonObjects, {SkinPayload::BmpImage(15, 15, clLime)});
  TbsSkinForm* SF = NewSkinnedForm(&Data);
  auto* Close = SF->FindObject("closebutton");
  auto* Max = SF->FindObject("maxbutton");
  auto* SysMenu = SF->FindObject("sysmenubutton");
  auto* Custom = SF->FindObject("custombutton");
  // Without a handler a custom button is hidden.
  EXPECT_FALSE(Custom->Visible);
  EXPECT_TRUE(Max->Enabled && Max->Visible);
  EXPECT_EQ(Max->Hint, "Maximize");
  // The buttons with their own pictures line up from the right of the buttons area.
  EXPECT_EQ(Max->ObjectRect, Rect(475, 5, 490, 20));
  SF->DisableSystemMenu = true;
  SF->SetBorderIcons({TbsBorderIcon::biSystemMenu});
  EXPECT_FALSE(SysMenu->Enabled);
  EXPECT_FALSE(Max->Enabled || Max->Visible);
  SF->DisableSystemMenu = false;
  struct TShow {
    void Custom(const std::string&, bool& Visible) { Visible = true; }
  } Show;
  SF->OnActivateCustomObject = TbsActivateCustomObjectEvent(&Show, &TShow::Custom);
  SF->HideCaptionButtons = true;
  SF->SetBorderIcons({TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMaximize});
  // Hidden buttons: one on the frame picture stays visible but does nothing; one with its own
  // picture goes.
  EXPECT_TRUE(Close->Visible);
  EXPECT_FALSE(Close->Enabled);
  EXPECT_FALSE(Max->Visible);
  SF->HideCaptionButtons = false;
  SF->SetBorderIcons({TbsBorderIcon::biSystemMenu});
  EXPECT_TRUE(Custom->Visible);
  EXPECT_TRUE(SysMenu->Enabled);
}

TEST_F(TFormFrameTest, ADoubleClickOnTheSystemMenuButtonClosesTheForm) {
  LoadFrame("buttonsrect=200,5,290,20\r\ncaptionrect=10,5,200,20\r\n", ButtonObjects,
            {SkinPayload::BmpImage(15, 15, clLime)});
  TForm* Form = nullptr;
  TbsSkinForm* SF = NewSkinnedForm(&Data, &Form);
  Form->SetFocus();
  Pump();
  auto* SysMenu = SF->FindObject("sysmenubutton");
  const TPoint At = Point(50 + SysMenu->ObjectRect.Left + 3, 40 + SysMenu->ObjectRect.Top + 3);
  SendMessage(Form->GetHandle(), WM_NCLBUTTONDBLCLK, 19, MAKELPARAM(At.X, At.Y));
  Pump();
  EXPECT_FALSE(Form->GetVisible());
}

// A form whose own procedure writes down the messages it gets.
class TRecordingForm : public TForm {
 public:
  explicit TRecordingForm(TComponent* AOwner) : TForm(AOwner) {}
  void Dispatch(TMessage& Message) override {
    Seen.push_back(Message.Msg);
    TForm::Dispatch(Message);
  }
  std::vector<UINT> Seen;
  Integer Count(UINT Msg) const { return static_cast<Integer>(std::count(Seen.begin(), Seen.end(), Msg)); }
};

TEST_F(TFormFrameTest, TheSavedProcedureSeesWhatThePassesOnOnceAndNothingAnsweredAlone) {
  auto* Form = new TRecordingForm(nullptr);
  Forms.emplace_back(Form);
  new TbsSkinForm(Form);
  Form->SetBounds(100, 100, 300, 200);
  Form->Show();
  Pump();
  const HWND H = Form->GetHandle();
  const struct {
    UINT Msg;
    WPARAM W;
    LPARAM L;
    Integer Passed;
  } Rows[] = {
      {WM_NCHITTEST, 0, MAKELPARAM(150, 110), 0},
      {WM_NCPAINT, 0, 0, 0},
      {WM_NCACTIVATE, 1, 0, 0},
      {WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Title"), 1},
      {WM_USER + 5, 7, 9, 1},
      {WM_GETMINMAXINFO, 0, 0, 1},
  };
  for (const auto& R : Rows) {
    Form->Seen.clear();
    MINMAXINFO MM{};
    const LPARAM L = R.Msg == WM_GETMINMAXINFO ? reinterpret_cast<LPARAM>(&MM) : R.L;
    SendMessage(H, R.Msg, R.W, L);
    EXPECT_EQ(Form->Count(R.Msg), R.Passed) << R.Msg;
  }
  EXPECT_EQ(SendMessage(H, 0xB1B2, 0, 0), 12853);
}

TEST_F(TFormFrameTest, NonClientHitTestOverAButtonStartsTheHoverTimerOnce) {
  TForm* Form = NewForm("Plain", 100, 100);
  auto* SF = new TbsSkinForm(Form);
  Form->SetBounds(100, 100, 400, 300);
  Form->Show();
  Form->SetFocus();
  Pump();
  const TRect Close = SF->FindObject("closebutton")->ObjectRect;
  const LPARAM At = MAKELPARAM(100 + Close.Left + 3, 100 + Close.Top + 3);
  EXPECT_EQ(SendMessage(Form->GetHandle(), WM_NCHITTEST, 0, At), 19);
  EXPECT_EQ(SF->GetHoverIndex(), 0);
  EXPECT_TRUE(SF->FindObject("closebutton")->MouseOver);
}

}  // namespace
