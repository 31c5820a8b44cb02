// The skinned form's painted frame as the screen shows it, and a change of skin reaching every
// form and control.
#include <algorithm>
#include <string>
#include <vector>

#include "skin/controls/bsSkinCtrls.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinFormObjects.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/form/FormSkins.h"

namespace {

using namespace SkinTesting;
using namespace FormSkins;

class TFormPaintTest : public TSkinTest {
 protected:
  TForm* NewSkinForm(const std::string& Name, TbsSkinData* Skin, Integer X = 100, Integer Y = 100) {
    TForm* Form = NewForm(Name, X, Y);
    auto* SF = new TbsSkinForm(Form);
    Form->SetBounds(X, Y, 300, 200);
    SF->SetSkinData(Skin);
    Form->Show();
    Form->SetFocus();
    Pump();
    return Form;
  }
  static bool Grey(DWORD P) {
    return ((P >> 16) & 0xFF) == ((P >> 8) & 0xFF) && ((P >> 8) & 0xFF) == (P & 0xFF);
  }
  TbsSkinData Data{nullptr};
  TbsCompressedStoredSkin Stored{nullptr};
};

TEST_F(TFormPaintTest, TheSkinlessFrameWithItsTitle) {
  TForm* Form = NewSkinForm("Plain", nullptr);
  Form->SetCaption("abc");
  Pump();
  const Integer L = 100, T = 100, R = 399, B = 299;
  // Three rings from the outside in.
  EXPECT_EQ(ScreenPixel(L, 150), ScreenColor(cl3DLight));
  EXPECT_EQ(ScreenPixel(L + 1, 150), ScreenColor(clBtnHighlight));
  EXPECT_EQ(ScreenPixel(L + 2, 150), ScreenColor(clBtnFace));
  EXPECT_EQ(ScreenPixel(R, 150), ScreenColor(cl3DDkShadow));
  EXPECT_EQ(ScreenPixel(R - 1, 150), ScreenColor(clBtnShadow));
  EXPECT_EQ(ScreenPixel(200, B), ScreenColor(cl3DDkShadow));
  EXPECT_EQ(ScreenPixel(200, T), ScreenColor(cl3DLight));
  // The stripes start two pixels right of the system-menu button (3 + 17), light first.
  const Integer StripeX = L + 3 + 17 - 3 + 2 + 3;
  EXPECT_EQ(ScreenPixel(StripeX, T + 5), ScreenColor(clBtnHighlight));
  EXPECT_EQ(ScreenPixel(StripeX, T + 6), ScreenColor(clBtnShadow));
  EXPECT_EQ(ScreenPixel(StripeX - 1, T + 5), ScreenColor(clBtnFace));
  // The title sits in the middle of its area (between the system-menu button and the four
  // visible caption buttons), on a face-coloured field that cuts the stripes.
  const Integer AreaLeft = L + 20, AreaRight = L + 300 - 3 - 4 * 17;
  const TRect Caption = Rect(AreaLeft, T + 4, AreaRight, T + 19);
  const std::vector<DWORD> Pixels = ScreenPixels(Caption);
  Integer TextLeft = AreaRight, TextRight = AreaLeft;
  for (std::size_t I = 0; I < Pixels.size(); ++I)
    if (Pixels[I] == ScreenColor(clBtnText)) {
      const Integer X = AreaLeft + static_cast<Integer>(I) % Caption.Width();
      TextLeft = std::min(TextLeft, X);
      TextRight = std::max(TextRight, X);
    }
  ASSERT_LT(TextLeft, TextRight);
  EXPECT_NEAR((TextLeft + TextRight) / 2, (AreaLeft + AreaRight) / 2, 4);
  EXPECT_EQ(ScreenPixel(TextLeft - 2, T + 5), ScreenColor(clBtnFace));
  // The close button in its flat look: a grey face with a dark glyph.
  EXPECT_EQ(ScreenPixel(R - 3 - 15, T + 5), ScreenColor(clBtnFace));
}

TEST_F(TFormPaintTest, AnInactiveFrameTurnsGreyWhenTheSkinRendersIt) {
  const TRect Client = Rect(10, 30, 290, 190);
  Load(Data, Stored,
       FramePayload(
           FramePicture(300, 200, Client, clRed, clBlue), {},
           FrameText(300, 200, Client, "autorenderinginactiveimage=1\r\ninactiveeffect=iegrayscale\r\n")));
  TForm* Form = NewSkinForm("Skinned", &Data);
  EXPECT_EQ(ScreenPixel(100 + 150, 100 + 10), 0xFF0000u);
  TForm* Other = NewSkinForm("Other", nullptr, 500, 400);
  Other->SetFocus();
  Pump();
  ASSERT_FALSE(Form->GetActive());
  const DWORD Inactive = ScreenPixel(100 + 150, 100 + 10);
  EXPECT_TRUE(Grey(Inactive)) << std::hex << Inactive;
  EXPECT_NE(Inactive, 0xFF0000u);
}

TEST_F(TFormPaintTest, ALookWithoutItsPictureDrawsNothingAndLeavesTheSkinAlone) {
  const TRect Client = Rect(10, 30, 290, 190);
  const std::string Objects =
      "[SKINOBJECTS]\r\ncount=1\r\n0=closebutton:stdbutton\r\n[closebutton]\r\ncommand=cmclose\r\n"
      "skinrect=260,5,280,25\r\nactiveskinrect=0,0,20,20\r\ndownrect=0,0,20,20\r\nactivepictureindex=3\r\n";
  Load(Data, Stored,
       FramePayload(FramePicture(300, 200, Client, clRed, clBlue), {},
                    FrameText(300, 200, Client, "", Objects)));
  TForm* Form = NewSkinForm("Skinned", &Data);
  TbsSkinForm* SF = FindSkinForm(Form);
  auto* Close = SF->FindObject("closebutton");
  ASSERT_NE(Close, nullptr);
  EXPECT_EQ(Close->ActivePicture, nullptr);
  EXPECT_TRUE(Close->ActiveSkinRect.Width() <= 0);
  // The loaded record keeps its rectangle for the next form made from it.
  EXPECT_EQ(Data.SkinObjects[0]->ActiveSkinRect, Rect(0, 0, 20, 20));
  SF->TestActive(Close->ObjectRect.Left + 2, Close->ObjectRect.Top + 2, true);
  Pump();
  EXPECT_EQ(ScreenPixel(100 + 265, 100 + 10), 0xFF0000u);
}

TEST_F(TFormPaintTest, CaptionPaintHandlerDrawsOverTheCaptionImage) {
  const TRect Client = Rect(10, 30, 290, 190);
  const std::string Objects =
      "[SKINOBJECTS]\r\ncount=1\r\n0=caption:caption\r\n[caption]\r\nskinrect=30,5,270,25\r\n"
      "activeskinrect=0,0,40,20\r\nactivepictureindex=0\r\ntextrect=0,0,240,20\r\n";
  Load(Data, Stored,
       FramePayload(FramePicture(300, 200, Client, clRed, clBlue), {SkinPayload::BmpImage(40, 20, clLime)},
                    FrameText(300, 200, Client, "", Objects)));
  TForm* Form = NewForm("Captioned", 100, 100);
  auto* SF = new TbsSkinForm(Form);
  Form->SetBounds(100, 100, 300, 200);
  struct TPainter {
    void Paint(TCanvas* C, TRect& R, bool) {
      C->GetBrush()->SetColor(clFuchsia);
      C->FillRect(Rect(R.Left + 10, R.Top + 5, R.Left + 20, R.Top + 10));
    }
  } Painter;
  SF->OnCaptionPaint = TbsCaptionPaintEvent(&Painter, &TPainter::Paint);
  SF->SetSkinData(&Data);
  Form->Show();
  Form->SetFocus();
  Pump();
  // The active caption image is there, and the handler's drawing lies on top of it.
  EXPECT_EQ(ScreenPixel(100 + 100, 100 + 20), 0x00FF00u);
  EXPECT_EQ(ScreenPixel(100 + 30 + 12, 100 + 5 + 7), 0xFF00FFu);
}

// Four animation frames side by side, each its own colour, then the active look.
std::string AnimationStrip() {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(200, 20);
  const TColor Colors[] = {clRed, clLime, clBlue, clYellow, clAqua};
  for (Integer I = 0; I < 5; ++I) {
    B.GetCanvas()->GetBrush()->SetColor(Colors[I]);
    B.GetCanvas()->FillRect(Rect(I * 40, 0, I * 40 + 40, 20));
  }
  TMemoryStream S;
  B.SaveToStream(&S);
  return std::string(static_cast<const char*>(S.GetMemory()), static_cast<std::size_t>(S.GetSize()));
}

TEST_F(TFormPaintTest, ActivationRunsTheCaptionAnimationOneFramePerTick) {
  const TRect Client = Rect(10, 30, 290, 190);
  const std::string Objects =
      "[SKINOBJECTS]\r\ncount=1\r\n0=caption:caption\r\n[caption]\r\nskinrect=30,5,270,25\r\n"
      "activeskinrect=160,0,200,20\r\nactivepictureindex=0\r\nanimateskinrect=0,0,160,20\r\n"
      "framecount=4\r\nanimateinterval=25\r\n";
  Load(Data, Stored,
       FramePayload(FramePicture(300, 200, Client, clGray, clBlue), {AnimationStrip()},
                    FrameText(300, 200, Client, "", Objects)));
  TForm* Other = NewSkinForm("Other", nullptr, 600, 400);
  TForm* Form = NewSkinForm("Animated", &Data);
  auto* Caption = static_cast<TbsSkinCaptionObject*>(FindSkinForm(Form)->FindObject("caption"));
  ASSERT_NE(Caption, nullptr);
  Other->SetFocus();
  Pump();
  Wait(200, 25);
  EXPECT_FALSE(Caption->Active);
  // Activation shows frame 1 at once, then one frame per 25 ms tick, then the active look.
  Form->SetFocus();
  Pump();
  const DWORD Expected[] = {0xFF0000u, 0x00FF00u, 0x0000FFu, 0xFFFF00u, 0x00FFFFu};
  for (Integer Frame = 1; Frame <= 5; ++Frame) {
    EXPECT_EQ(Caption->CurrentFrame, Frame);
    EXPECT_EQ(ScreenPixel(100 + 150, 100 + 15), Expected[Frame - 1]) << Frame;
    Clock.Advance(25);
    Pump();
  }
}

// A panel that writes down the skin protocol calls it gets.
class TRecordingPanel : public TbsSkinPanel {
 public:
  TRecordingPanel(TComponent* AOwner, std::vector<std::string>* Log) : TbsSkinPanel(AOwner), FLog(Log) {}
  void BeforeSkinChange() override {
    FLog->push_back("before " + GetName());
    TbsSkinPanel::BeforeSkinChange();
  }
  void ApplySkinChange() override {
    FLog->push_back("apply " + GetName());
    TbsSkinPanel::ApplySkinChange();
  }

 private:
  std::vector<std::string>* FLog;
};

TEST_F(TFormPaintTest, ASkinListSwitchReskinsEveryFormAndControlInOrder) {
  // Two skins of different frame sizes in one list.
  TbsCompressedSkinList List(nullptr);
  const TRect ClientA = Rect(10, 30, 290, 190), ClientB = Rect(6, 20, 394, 244);
  const std::string Skins[] = {
      FramePayload(FramePicture(300, 200, ClientA, clRed, clBlue), {}, FrameText(300, 200, ClientA, "")),
      FramePayload(FramePicture(400, 250, ClientB, clGreen, clBlue), {}, FrameText(400, 250, ClientB, ""))};
  for (const std::string& S : Skins)
    SkinPayload::Fill(*List.GetSkins()->Add()->GetSkin(), SkinPayload::Compressed(S));
  Data.SetSkinList(&List);
  Data.SetSkinIndex(0);
  std::vector<std::string> Log;
  TForm* A = NewSkinForm("A", &Data, 20, 20);
  TForm* B = NewSkinForm("B", &Data, 400, 300);
  auto* Outer = new TRecordingPanel(A, &Log);
  Outer->SetName("Outer");
  Outer->SetParent(A);
  Outer->SetSkinData(&Data);
  auto* Inner = new TRecordingPanel(Outer, &Log);
  Inner->SetName("Inner");
  Inner->SetParent(Outer);
  Inner->SetSkinData(&Data);
  std::vector<std::string> FormEvents;
  struct TWatch {
    std::vector<std::string>* Log;
    void Before(TObject*) { Log->push_back("form before"); }
    void Changed(TObject*) { Log->push_back("form changed"); }
    void After(TObject*) { Log->push_back("form after"); }
  } Watch{&Log};
  TbsSkinForm* SA = FindSkinForm(A);
  SA->OnBeforeChangeSkinData = TNotifyEvent(&Watch, &TWatch::Before);
  SA->OnChangeSkinData = TNotifyEvent(&Watch, &TWatch::Changed);
  SA->OnAfterChangeSkinData = TNotifyEvent(&Watch, &TWatch::After);
  Log.clear();
  Data.SetSkinIndex(1);
  Pump();
  const std::vector<std::string> Expected{"before Outer", "before Inner", "form before", "form changed",
                                          "apply Outer",  "apply Inner",  "form after"};
  EXPECT_EQ(Log, Expected);
  for (TForm* F : {A, B}) {
    TbsSkinForm* SF = FindSkinForm(F);
    EXPECT_EQ(SF->GetMinWidth(), 400) << F->GetName();
    EXPECT_EQ(SF->GetFrameClientRect(), Rect(6, 20, F->GetWidth() - 6, F->GetHeight() - 6)) << F->GetName();
    EXPECT_GE(F->GetWidth(), 400);
    EXPECT_EQ(F->ClientToScreen(Point(0, 0)), Point(F->GetLeft() + 6, F->GetTop() + 20));
    EXPECT_EQ(ScreenPixel(F->GetLeft() + 200, F->GetTop() + 3), 0x008000u) << F->GetName();
  }
}

}  // namespace
