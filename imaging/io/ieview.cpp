#include "imaging/io/ieview.h"

#include <algorithm>

#include "platform/classes/ControlMessages.h"
#include "platform/user/WinUser.h"

namespace {

[[noreturn]] void RaiseAbstract() {
  throw EAbstractError("Abstract Error");
}

}  // namespace

TIEView::TIEView(TComponent* AOwner) : TCustomControl(AOwner) {
  TControlStyle Style = GetControlStyle();
  // New-style controls are always available here, so csFramed is never added.
  Style.Include(csAcceptsControls);
  Style.Include(csOpaque);
  Style.Include(csReplicatable);
  Style.Include(csNeedsBorderPaint);
  SetControlStyle(Style);
  OnMouseEnter.Clear();
  OnMouseLeave.Clear();
  FBackground = clBtnFace;
  FBorderStyle = bsSingle;
  TWinControl::SetCtl3D(true);
}

TIEView::~TIEView() {
  // Each record leaves the list before its listener hears of the end, so a listener that
  // unregisters from inside the call finds nothing left to remove.
  while (!FBitmapChangeEvents.empty()) {
    std::unique_ptr<TIEBitmapChangeRecord> First = std::move(FBitmapChangeEvents.front());
    FBitmapChangeEvents.erase(FBitmapChangeEvents.begin());
    if (First && First->Event) First->Event(this, true);
  }
}

void TIEView::SetBackground(TColor Value) {
  FBackground = Value;
}

void TIEView::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TIEView::SetCtl3D(bool Value) {
  if (GetCtl3D() == Value) return;
  TWinControl::SetCtl3D(Value);
  RecreateWnd();
}

TIEBitmap* TIEView::GetAlphaChannel() {
  RaiseAbstract();
}
bool TIEView::HasAlphaChannel() {
  RaiseAbstract();
}
void TIEView::RemoveAlphaChannel(bool) {
  RaiseAbstract();
}
void TIEView::LockPaint() {
  RaiseAbstract();
}
Integer TIEView::UnlockPaint() {
  RaiseAbstract();
}
Integer TIEView::UnlockPaintNoRefresh() {
  RaiseAbstract();
}

void TIEView::SetDpiX(Integer Value) {
  if (Value != 0) FDpiX = Value;
}

void TIEView::SetDpiY(Integer Value) {
  if (Value != 0) FDpiY = Value;
}

void TIEView::SetDpi(Integer DpiX, Integer DpiY) {
  SetDpiX(DpiX);
  SetDpiY(DpiY);
}

void TIEView::NotifyBitmapChange() {
  const size_t Count = FBitmapChangeEvents.size();
  // A listener that unregisters meanwhile shortens the list; never read past its end.
  for (size_t I = 0; I < Count && I < FBitmapChangeEvents.size(); ++I) {
    TIEBitmapChangeRecord* Record = FBitmapChangeEvents[I].get();
    if (Record && Record->Event) Record->Event(this, false);
  }
}

TIEBitmapChangeHandle TIEView::AddBitmapChangeEvent(TIEBitmapChangeEvent Callback) {
  auto Record = std::make_unique<TIEBitmapChangeRecord>();
  Record->Event = Callback;
  TIEBitmapChangeHandle Handle = Record.get();
  FBitmapChangeEvents.push_back(std::move(Record));
  return Handle;
}

void TIEView::RemoveBitmapChangeEvent(TIEBitmapChangeHandle Registration) {
  if (Registration == nullptr) return;
  auto Found = std::find_if(FBitmapChangeEvents.begin(), FBitmapChangeEvents.end(),
                            [Registration](const auto& Record) { return Record.get() == Registration; });
  if (Found != FBitmapChangeEvents.end()) FBitmapChangeEvents.erase(Found);
}

void TIEView::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (FBorderStyle == bsSingle) {
    if (GetCtl3D())
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
  // Resizing never repaints the whole window by itself.
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TIEView::CMMouseEnter(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TIEView::CMMouseLeave(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (OnMouseLeave) OnMouseLeave(this);
}

void TIEView::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
      CMMouseEnter(Message);
      break;
    case CM_MOUSELEAVE:
      CMMouseLeave(Message);
      break;
    default:
      TCustomControl::Dispatch(Message);
  }
}

TIEViewDataProcs IEViewDataProcs;
