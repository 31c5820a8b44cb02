// The base view control: listener registrations and their order, the end-of-life call, the
// resolution setters, the window styles and the operations only a concrete view supplies.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "imaging/io/ieview.h"
#include "platform/classes/Application.h"
#include "platform/classes/ControlMessages.h"
#include "platform/classes/Forms.h"
#include "platform/user/WinUser.h"

namespace {

class TPlainView : public TIEView {
 public:
  using TIEView::TIEView;
  TCreateParams Params() {
    TCreateParams P;
    CreateParams(P);
    return P;
  }
};

// Records each call as "<name> <destroying>".
struct TListener : TObject {
  TListener(std::string AName, std::vector<std::string>& ALog) : Name(std::move(AName)), Log(ALog) {}
  void Changed(TObject*, bool Destroying) { Log.push_back(Name + (Destroying ? " end" : " change")); }
  TIEBitmapChangeEvent Event() { return TIEBitmapChangeEvent(this, &TListener::Changed); }
  std::string Name;
  std::vector<std::string>& Log;
};

TEST(IEView, DefaultsOfTheBaseControl) {
  TPlainView View(nullptr);
  EXPECT_EQ(View.GetBackground(), clBtnFace);
  EXPECT_EQ(View.GetBorderStyle(), bsSingle);
  EXPECT_TRUE(View.GetCtl3D());
  EXPECT_EQ(View.GetDpiX(), 0);
  EXPECT_EQ(View.GetDpiY(), 0);
  EXPECT_TRUE(View.GetControlStyle().Contains(csOpaque));
  EXPECT_TRUE(View.GetControlStyle().Contains(csAcceptsControls));
  EXPECT_EQ(View.GetTBitmap(), nullptr);
  EXPECT_EQ(View.GetIEBitmap(), nullptr);
}

TEST(IEView, ResolutionSettersIgnoreZero) {
  TPlainView View(nullptr);
  View.SetDpi(72, 96);
  View.SetDpi(300, 0);
  EXPECT_EQ(View.GetDpiX(), 300);
  EXPECT_EQ(View.GetDpiY(), 96);
  View.SetDpiX(0);
  EXPECT_EQ(View.GetDpiX(), 300);
}

TEST(IEView, ListenersHearChangesInOrderAndTheEndOnce) {
  std::vector<std::string> Log;
  TListener A("a", Log), B("b", Log);
  auto View = std::make_unique<TPlainView>(nullptr);
  View->NotifyBitmapChange();  // nobody listens yet
  View->AddBitmapChangeEvent(A.Event());
  View->AddBitmapChangeEvent(B.Event());
  View->NotifyBitmapChange();
  View.reset();
  EXPECT_EQ(Log, (std::vector<std::string>{"a change", "b change", "a end", "b end"}));
}

TEST(IEView, RemovingNullUnknownOrTwiceChangesNothing) {
  std::vector<std::string> Log;
  TListener A("a", Log), B("b", Log);
  TPlainView View(nullptr);
  TIEBitmapChangeHandle HandleA = View.AddBitmapChangeEvent(A.Event());
  View.AddBitmapChangeEvent(B.Event());
  View.RemoveBitmapChangeEvent(nullptr);
  int Unknown = 0;
  View.RemoveBitmapChangeEvent(&Unknown);
  EXPECT_EQ(View.GetBitmapChangeEventCount(), 2);
  View.RemoveBitmapChangeEvent(HandleA);
  View.RemoveBitmapChangeEvent(HandleA);
  EXPECT_EQ(View.GetBitmapChangeEventCount(), 1);
  View.NotifyBitmapChange();
  EXPECT_EQ(Log, (std::vector<std::string>{"b change"}));
}

TEST(IEView, TheSameMethodRegisteredTwiceIsCalledTwice) {
  std::vector<std::string> Log;
  TListener A("a", Log);
  TPlainView View(nullptr);
  TIEBitmapChangeHandle First = View.AddBitmapChangeEvent(A.Event());
  TIEBitmapChangeHandle Second = View.AddBitmapChangeEvent(A.Event());
  EXPECT_NE(First, Second);
  View.NotifyBitmapChange();
  EXPECT_EQ(Log.size(), 2u);
}

// A listener that unregisters another one while being told must not make the view call a
// freed registration.
struct TUnregisteringListener : TObject {
  TIEView* View = nullptr;
  TIEBitmapChangeHandle Other = nullptr;
  int Calls = 0;
  void Changed(TObject*, bool) {
    ++Calls;
    View->RemoveBitmapChangeEvent(Other);
  }
};

TEST(IEView, AListenerRemovingAnotherDuringTheCallIsSafe) {
  std::vector<std::string> Log;
  TListener B("b", Log);
  TUnregisteringListener A;
  auto View = std::make_unique<TPlainView>(nullptr);
  A.View = View.get();
  View->AddBitmapChangeEvent(TIEBitmapChangeEvent(&A, &TUnregisteringListener::Changed));
  A.Other = View->AddBitmapChangeEvent(B.Event());
  View->NotifyBitmapChange();
  EXPECT_EQ(A.Calls, 1);
  EXPECT_TRUE(Log.empty());
  View.reset();
  EXPECT_EQ(A.Calls, 2);
  EXPECT_TRUE(Log.empty());
}

TEST(IEView, OperationsOfAConcreteViewRaiseOnThePlainBase) {
  TPlainView View(nullptr);
  EXPECT_THROW(View.GetAlphaChannel(), EAbstractError);
  EXPECT_THROW(View.HasAlphaChannel(), EAbstractError);
  EXPECT_THROW(View.RemoveAlphaChannel(false), EAbstractError);
  EXPECT_THROW(View.LockPaint(), EAbstractError);
  EXPECT_THROW(View.UnlockPaint(), EAbstractError);
  EXPECT_THROW(View.UnlockPaintNoRefresh(), EAbstractError);
}

TEST(IEView, WindowStylesFollowBorderAndCtl3D) {
  struct TCase {
    TBorderStyle Border;
    bool Ctl3D;
    bool ClientEdge;
    bool Border3;
  };
  for (const TCase& C : {TCase{bsSingle, true, true, false}, TCase{bsSingle, false, false, true},
                         TCase{bsNone, true, false, false}}) {
    TPlainView View(nullptr);
    View.SetBorderStyle(C.Border);
    View.SetCtl3D(C.Ctl3D);
    const TCreateParams P = View.Params();
    EXPECT_EQ((P.ExStyle & WS_EX_CLIENTEDGE) != 0, C.ClientEdge);
    EXPECT_EQ((P.Style & WS_BORDER) != 0, C.Border3);
    // Resizing never redraws the whole window by itself.
    EXPECT_EQ(P.WindowClass.style & (CS_HREDRAW | CS_VREDRAW), 0u);
  }
}

TEST(IEView, OnlyARealChangeOfBorderOrCtl3DRecreatesTheWindow) {
  auto Form = std::make_unique<TForm>(nullptr);
  auto* View = new TPlainView(Form.get());
  View->SetParent(Form.get());
  HWND Handle = View->GetHandle();
  View->SetBorderStyle(bsSingle);
  View->SetCtl3D(true);
  EXPECT_EQ(View->GetHandle(), Handle);
  View->SetBorderStyle(bsNone);
  EXPECT_NE(View->GetHandle(), Handle);
  Handle = View->GetHandle();
  View->SetCtl3D(false);
  EXPECT_NE(View->GetHandle(), Handle);
  Form.reset();
  Application->ProcessMessages();
}

TEST(IEView, MouseEnterAndLeaveFireAfterThePlatform) {
  std::vector<std::string> Log;
  struct TSink : TObject {
    std::vector<std::string>* Log;
    void Enter(TObject*) { Log->push_back("enter"); }
    void Leave(TObject*) { Log->push_back("leave"); }
  } Sink;
  Sink.Log = &Log;
  TPlainView View(nullptr);
  View.OnMouseEnter = TNotifyEvent(&Sink, &TSink::Enter);
  View.OnMouseLeave = TNotifyEvent(&Sink, &TSink::Leave);
  View.Perform(CM_MOUSEENTER, 0, 0);
  View.Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Log, (std::vector<std::string>{"enter", "leave"}));
}

}  // namespace
