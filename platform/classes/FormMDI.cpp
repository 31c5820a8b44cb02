// Forms as MDI frames (fsMDIForm: the "MDICLIENT" window and its children) and as MDI children
// (fsMDIChild: windows in the main form's client).
#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "platform/classes/Menus.h"
#include "platform/classes/Screen.h"
#include "platform/user/MdiClient.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"
#include "platform/user/WndProc.h"

TCustomForm* TCustomForm::MDIFrame() {
  TCustomForm* Main = Application != nullptr ? Application->GetMainForm() : nullptr;
  if (Main == nullptr || Main->FFormStyle != fsMDIForm || Main->FClientHandle == nullptr) return nullptr;
  return Main;
}

// ---- The frame --------------------------------------------------------------------------------

void TCustomForm::CreateMDIClient() {
  RegisterMDIClientClass();
  CLIENTCREATESTRUCT Create;
  Create.hWindowMenu = FWindowMenu != nullptr ? FWindowMenu->GetHandle() : nullptr;
  Create.idFirstChild = 0xFF00;
  const TRect R = GetClientRect();
  FClientHandle =
      CreateWindowEx(WS_EX_CLIENTEDGE, MDICLIENT_CLASS, "",
                     WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                     R.Width(), R.Height(), FHandle, nullptr, nullptr, &Create);
  if (FClientHandle == nullptr) throw EOutOfResources("Error creating window");
  Realign();
}

void TCustomForm::AlignControls(TControl* AControl, TRect& Rect) {
  TScrollingWinControl::AlignControls(AControl, Rect);
  // The client takes what the aligned controls leave.
  if (FClientHandle != nullptr)
    SetWindowPos(FClientHandle, HWND_BOTTOM, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
                 SWP_NOACTIVATE);
}

TForm* TCustomForm::GetActiveMDIChild() {
  if (FFormStyle != fsMDIForm || FClientHandle == nullptr) return nullptr;
  const auto Active = reinterpret_cast<HWND>(SendMessage(FClientHandle, WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TForm*>(FindControl(Active));
}

Integer TCustomForm::GetMDIChildCount() {
  Integer Count = 0;
  if (FFormStyle == fsMDIForm && FClientHandle != nullptr && Screen != nullptr)
    for (Integer I = 0; I < Screen->GetFormCount(); ++I)
      if (Screen->GetForm(I)->FFormStyle == fsMDIChild) ++Count;
  return Count;
}

TForm* TCustomForm::GetMDIChildren(Integer Index) {
  if (FFormStyle == fsMDIForm && FClientHandle != nullptr && Screen != nullptr)
    for (Integer I = 0; I < Screen->GetFormCount(); ++I) {
      TForm* Form = Screen->GetForm(I);
      if (Form->FFormStyle == fsMDIChild && Index-- == 0) return Form;
    }
  return nullptr;
}

void TCustomForm::Cascade() {
  if (FFormStyle == fsMDIForm && FClientHandle != nullptr) SendMessage(FClientHandle, WM_MDICASCADE, 0, 0);
}

void TCustomForm::Tile() {
  if (FFormStyle != fsMDIForm || FClientHandle == nullptr) return;
  SendMessage(FClientHandle, WM_MDITILE, FTileMode == tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL,
              0);
}

void TCustomForm::ArrangeIcons() {
  if (FFormStyle == fsMDIForm && FClientHandle != nullptr)
    SendMessage(FClientHandle, WM_MDIICONARRANGE, 0, 0);
}

void TCustomForm::Next() {
  if (FFormStyle == fsMDIForm && FClientHandle != nullptr) SendMessage(FClientHandle, WM_MDINEXT, 0, 0);
}

void TCustomForm::Previous() {
  if (FFormStyle == fsMDIForm && FClientHandle != nullptr) SendMessage(FClientHandle, WM_MDINEXT, 0, 1);
}

void TCustomForm::SetWindowMenu(TMenuItem* Value) {
  if (Value == FWindowMenu) return;
  if (FWindowMenu != nullptr) FWindowMenu->RemoveFreeNotification(this);
  FWindowMenu = Value;
  if (FWindowMenu != nullptr) FWindowMenu->FreeNotification(this);
}

// ---- The children -----------------------------------------------------------------------------

void TCustomForm::AdjustMDIChildParams(TCreateParams& Params) {
  static const WNDPROC ChildProc = MakeWndProc(&DefMDIChildProc);
  Params.WindowClass.lpfnWndProc = ChildProc;
  Params.Style &= ~WS_POPUP;
  // Without a frame CreateWindowHandle says so.
  if (TCustomForm* Frame = MDIFrame()) {
    Params.Style |= WS_CHILD | WS_CLIPSIBLINGS;
    Params.WndParent = Frame->FClientHandle;
  }
}

void TCustomForm::CreateWindowHandle(const TCreateParams& Params) {
  if (FFormStyle != fsMDIChild || FLayoutOnly) {
    TScrollingWinControl::CreateWindowHandle(Params);
    return;
  }
  TCustomForm* Frame = MDIFrame();
  if (Frame == nullptr) throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
  MDICREATESTRUCT Create;
  Create.szClass = Params.WinClassName.c_str();
  Create.szTitle = Params.Caption.c_str();
  Create.x = Params.X;
  Create.y = Params.Y;
  Create.cx = Params.Width;
  Create.cy = Params.Height;
  Create.style = Params.Style;
  Create.lParam = reinterpret_cast<LPARAM>(Params.Param);
  const auto Wnd = reinterpret_cast<HWND>(
      SendMessage(Frame->FClientHandle, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&Create)));
  // The first message bound the window already; one that got none is bound here.
  if (Wnd != nullptr && FHandle == nullptr) {
    FHandle = Wnd;
    SetWindowLongPtr(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FObjectInstance));
  }
  if (Wnd == nullptr) FHandle = nullptr;
}

void TCustomForm::DestroyWindowHandle() {
  if (FFormStyle == fsMDIChild && FHandle != nullptr && ::GetParent(FHandle) != nullptr) {
    // The client forgets the child and activates the next one.
    FControlState.Include(csDestroyingHandle);
    SendMessage(::GetParent(FHandle), WM_MDIDESTROY, reinterpret_cast<WPARAM>(FHandle), 0);
    FControlState.Exclude(csDestroyingHandle);
  }
  TScrollingWinControl::DestroyWindowHandle();
  FClientHandle = nullptr;
}

void TCustomForm::WMMDIActivate(TMessage& Message) {
  DefaultHandler(Message);
  if (FFormStyle != fsMDIChild || FHandle == nullptr) return;
  if (reinterpret_cast<HWND>(Message.LParam) == FHandle)
    SetActive(true);
  else if (reinterpret_cast<HWND>(Message.WParam) == FHandle)
    SetActive(false);
}
