// The image view's life: construction, destruction, the components it owns and the picture it
// holds.
#include "imaging/view/zezudidview.h"

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iegdiplus.h"
#include "imaging/io/zezudidio.h"
#include "imaging/proc/zezudidproc.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/ControlMessages.h"
#include "platform/classes/Graphic.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/Timer.h"
#include "platform/system/Streams.h"
#include "platform/user/WinUser.h"

TZezudIdView::TZezudIdView(TComponent* Owner) : TIEView(Owner) {
  // The base constructor has run (C++ builds bases first); the steps that precede it in the
  // library's order touch nothing the base sets up.
  LockUpdate();
  FHasOwner = Owner != nullptr;
  FLegacyBitmap = true;
  FLegacyTBitmap = new TBitmap;  // freed with layer 0, which ends up owning the picture
  FLegacyTBitmap->SetPixelFormat(pf24bit);
  FLegacyTBitmap->SetSize(GetWidth(), GetHeight());
  IEGdiPlusLoad();

  FIEBitmap = new TIEBitmap;
  FIEBitmap->EncapsulateTBitmap(FLegacyTBitmap, true);
  FBitmapWidth = FIEBitmap->GetWidth();
  FBitmapHeight = FIEBitmap->GetHeight();
  auto Layer0 = std::make_unique<TIELayer>(this, true, FIEBitmap);
  Layer0->VisibleBox = false;
  Layer0->Locked = true;
  FLayers.push_back(std::move(Layer0));
  FCurrentLayer = 0;

  SetBounds(GetLeft(), GetTop(), 105, 105);
  SetDpi(DefaultDpiX, DefaultDpiY);
  TControl::SetCursor(IEViewDefaultCursor);
  FDefaultCursor = IEViewDefaultCursor;
  FDrawDib = DrawDibOpen();
  RegisterViewCursors();

  FSelection = NewPolygon(FSelColor1, FSelColor2, true, true);
  const bool Designing = GetComponentState().Contains(csDesigning);
  if (!Designing) {
    FBackBuffer = std::make_unique<TIEBitmap>();
    FBackBuffer->SetLocation(ieTBitmap);
    FBackBuffer->Allocate(10, 10, ie24RGB);
    HideSelection(false);
  }

  FHScrollParams = std::make_unique<TIEScrollBarParams>();
  FVScrollParams = std::make_unique<TIEScrollBarParams>();
  FWheelParams = std::make_unique<TIEMouseWheelParams>();
  FSelectionMask = std::make_unique<TIEMask>();
  FSelectionMask->AllocateBits(FIEBitmap->GetWidth(), FIEBitmap->GetHeight(), FSelectionMaskBits);
  SetSelColor1(0);
  SetSelColor2(0xFFFFFF);

  UnlockUpdate();
  FWallPaper = std::make_unique<TPicture>();
}

TZezudIdView::~TZezudIdView() {
  Destroying();
  while (!FAuxObjects.empty()) DeleteAuxObject(0);
  StopSmoothScroll();
  SyncLayers();
  FTransition.reset();
  SetNavigator(nullptr);
  delete FIO;
  FIO = nullptr;
  delete FProc;
  FProc = nullptr;
  FBackBuffer.reset();
  delete FSelectionTimer;
  FSelectionTimer = nullptr;
  FSelection = nullptr;
  FSelectionPolygons.clear();
  if (FDrawDib) DrawDibClose(FDrawDib);
  FDrawDib = nullptr;
  FHScrollParams.reset();
  FVScrollParams.reset();
  FWheelParams.reset();
  FSelectionMask.reset();
  // Each layer frees its bitmap; layer 0 also the platform bitmap the picture started in.
  FLayers.clear();
  FLegacyTBitmap = nullptr;
  FIEBitmap = nullptr;
  FSelectionStack.clear();
  FWallPaper.reset();
  FAntsBitmap.reset();
  FLinkedFrameBuffer.reset();
  IEGdiPlusUnload();
}

TZezudIdIO* TZezudIdView::GetIO() {
  if (!FIO) {
    FIO = new TZezudIdIO(this);
    FIO->SetAttachedZezudId(this);
    FIO->SetOnProgress(FOnProgress);
    FIO->SetOnFinishWork(FOnFinishWork);
  }
  return FIO;
}

TZezudIdProc* TZezudIdView::GetProc() {
  if (!FProc) {
    FProc = new TZezudIdProc(this);
    FProc->SetAttachedZezudId(this);
    FProc->SetOnProgress(FOnProgress);
    FProc->SetOnFinishWork(FOnFinishWork);
    FProc->SetOnSaveUndo(FOnSaveUndo);
  }
  return FProc;
}

void TZezudIdView::SetOnProgress(TIEProgressEvent Value) {
  FOnProgress = Value;
  if (FIO) FIO->SetOnProgress(Value);
  if (FProc) FProc->SetOnProgress(Value);
}

void TZezudIdView::SetOnFinishWork(TNotifyEvent Value) {
  FOnFinishWork = Value;
  if (FIO) FIO->SetOnFinishWork(Value);
  if (FProc) FProc->SetOnFinishWork(Value);
}

void TZezudIdView::SetOnSaveUndo(TIESaveUndoEvent Value) {
  FOnSaveUndo = Value;
  if (FProc) FProc->SetOnSaveUndo(Value);
}

void TZezudIdView::Notification(TComponent* AComponent, TOperation Operation) {
  TIEView::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FIO) FIO = nullptr;
  if (AComponent == FProc) FProc = nullptr;
  if (AComponent == FLinkedView) FLinkedView = nullptr;
}

TIEBitmap* TZezudIdView::GetIEBitmap() {
  return FIEBitmap;
}

TBitmap* TZezudIdView::GetTBitmap() {
  return FLegacyBitmap ? FLegacyTBitmap : nullptr;
}

void TZezudIdView::AddAuxObject(TObject* Object) {
  FAuxObjects.emplace_back(Object);
}

void TZezudIdView::DeleteAuxObject(Integer Index) {
  if (Index < 0 || Index >= GetAuxObjectCount()) return;
  FAuxObjects.erase(FAuxObjects.begin() + Index);
}

// ---- The picture ----

TIEBitmap* TZezudIdView::GetAlphaChannel() {
  return FIEBitmap->GetAlphaChannel();
}

bool TZezudIdView::HasAlphaChannel() {
  return FIEBitmap->HasAlphaChannel();
}

void TZezudIdView::RemoveAlphaChannel(bool Merge) {
  FIEBitmap->RemoveAlphaChannel(Merge, ColorToRGB(FBackground));
}

bool TZezudIdView::IsEmpty() {
  return FIEBitmap->GetWidth() < 2 && FIEBitmap->GetHeight() < 2;
}

void TZezudIdView::Blank() {
  StopTransition();
  FIEBitmap->SetWidth(1);
  FIEBitmap->SetHeight(1);
  Clear();
}

void TZezudIdView::Clear() {
  FIEBitmap->Fill(ColorToRGB(FBackground));
  FIEBitmap->RemoveAlphaChannel(false, FBackground);
  Update();
}

void TZezudIdView::SetBackground(TColor Value) {
  TIEView::SetBackground(Value);
  const bool Designing = GetComponentState().Contains(csDesigning);
  if (Designing) Clear();
  FUpdateReason = 4;
  Update();
  ImageChange();
  if (Designing) Paint();
}

void TZezudIdView::ImageChange() {
  TIEView::ImageChange();
  if (OnImageChange) OnImageChange(this);
}

void TZezudIdView::Assign(TPersistent* Source) {
  if (Source == nullptr) {
    Clear();
    return;
  }
  if (auto* View = dynamic_cast<TZezudIdView*>(Source)) {
    FIEBitmap->Assign(View->GetIEBitmap());
    FBackground = View->FBackground;
    SetDpi(View->GetDpiX(), View->GetDpiY());
  } else if (auto* Bitmap = dynamic_cast<TBitmap*>(Source)) {
    FIEBitmap->Assign(Bitmap);
    const TIEPixelFormat Format = FIEBitmap->GetPixelFormat();
    if (Format != ie1g && Format != ie24RGB) FIEBitmap->ConvertToPixelFormat(ie24RGB);
  } else {
    return;
  }
  Update();
  ImageChange();
}

void TZezudIdView::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  TIEView::SetBounds(ALeft, ATop, AWidth, AHeight);
  // A view placed on a form at design time shows a picture of its own size.
  const TComponentState State = GetComponentState();
  if ((State.Contains(csReading) || State.Contains(csLoading) || State.Contains(csDesigning)) && FIEBitmap) {
    FIEBitmap->Allocate(GetWidth(), GetHeight(), FIEBitmap->GetPixelFormat());
    Clear();
  }
}

// ---- Locks and the window ----

void TZezudIdView::LockPaint() {
  ++FPaintLock;
}

Integer TZezudIdView::UnlockPaint() {
  if (FPaintLock > 0) --FPaintLock;
  if (FPaintLock == 0) Update();
  return FPaintLock;
}

Integer TZezudIdView::UnlockPaintNoRefresh() {
  if (FPaintLock > 0) --FPaintLock;
  return FPaintLock;
}

bool TZezudIdView::HasParentWindow() {
  return GetParent() != nullptr || GetParentWindow() != nullptr;
}

Integer TZezudIdView::GetViewWidth() {
  if (FLockPaintForced) return GetWidth();
  if (HasParentWindow() && HandleAllocated()) return GetClientWidth();
  return 50;
}

Integer TZezudIdView::GetViewHeight() {
  if (FLockPaintForced) return GetHeight();
  if (HasParentWindow() && HandleAllocated()) return GetClientHeight();
  return 50;
}

void TZezudIdView::DoViewChange(Integer Change) {
  if (OnViewChange) OnViewChange(this, Change);
  SyncNavigator();
}

void TZezudIdView::DoViewChanging(Integer Change, Double NewValue) {
  if (OnViewChanging) OnViewChanging(this, Change, NewValue);
}

void TZezudIdView::SetChessboardStyle(Integer Size, Byte BrushStyle) {
  FChessboardSize = Size;
  FChessboardBrushStyle = BrushStyle;
}

// ---- Published setters ----

void TZezudIdView::SetZoomFilter(TResampleFilter Value) {
  const bool Changed = Value != FZoomFilter;
  FZoomFilter = Value;
  FSavedZoomFilter = Value;
  if (Changed) Update();
}

void TZezudIdView::SetBackgroundStyle(TIEBackgroundStyle Value) {
  FBackgroundStyle = Value;
  Invalidate();
  FUpdateReason = 4;
  Update();
}

void TZezudIdView::SetEnableAlphaChannel(bool Value) {
  FEnableAlphaChannel = Value;
  Update();
}

void TZezudIdView::SetDrawVersion(bool Value) {
  FDrawVersion = Value;
  Paint();
}

// ---- Messages ----

void TZezudIdView::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case IEM_UPDATE:
      IEMUpdate(Message);
      break;
    case IEM_NEWFRAME:
      IEMNewFrame(Message);
      break;
    case IEM_EVENT:
      IEMEvent(Message);
      break;
    case IEM_PROGRESS:
      IEMProgress(Message);
      break;
    case IEM_FINISHWORK:
      IEMFinishWork(Message);
      break;
    case WM_SIZE:
      WMSize(Message);
      break;
    case WM_ERASEBKGND:
      WMEraseBkgnd(Message);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      WMFocusChange(Message);
      break;
    case WM_LBUTTONDBLCLK:
      WMLButtonDblClk(Message);
      break;
    case WM_MOUSEHWHEEL:
      DefaultHandler(Message);
      break;
    case WM_HSCROLL:
      WMHScroll(Message);
      break;
    case WM_VSCROLL:
      WMVScroll(Message);
      break;
    case WM_MOUSEWHEEL:
      WMMouseWheel(Message);
      break;
    case CM_WANTSPECIALKEY:
      CMWantSpecialKey(Message);
      break;
    case CN_KEYDOWN:
    case CN_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      KeyNotification(Message);
      break;
    default:
      TIEView::Dispatch(Message);
  }
}

void TZezudIdView::IEMUpdate(TMessage&) {
  Update();
}

void TZezudIdView::IEMProgress(TMessage& Message) {
  if (FOnProgress) FOnProgress(this, static_cast<Integer>(Message.WParam));
}

void TZezudIdView::IEMFinishWork(TMessage&) {
  if (FOnFinishWork) FOnFinishWork(this);
}

void TZezudIdView::WMSize(TMessage& Message) {
  TIEView::Dispatch(Message);
  if (FInUpdate) return;
  StopTransition();
  FUpdateReason = 4;
  Update();
}

void TZezudIdView::WMEraseBkgnd(TMessage& Message) {
  Message.Result = 0;
}

void TZezudIdView::WMFocusChange(TMessage& Message) {
  TIEView::Dispatch(Message);
  Invalidate();
}

void TZezudIdView::CMWantSpecialKey(TMessage& Message) {
  TIEView::Dispatch(Message);
  if (!OnSpecialKey) return;
  bool Handled = false;
  OnSpecialKey(this, static_cast<Word>(Message.WParam),
               KeyDataToShiftState(static_cast<Integer>(Message.LParam)), Handled);
  if (Handled) Message.Result = 1;
}

void TZezudIdView::KeyNotification(TMessage& Message) {
  TIEView::Dispatch(Message);
  if (!OnVirtualKey) return;
  const bool KeyDown = Message.Msg == CN_KEYDOWN || Message.Msg == WM_SYSKEYDOWN;
  OnVirtualKey(this, static_cast<Word>(Message.WParam), static_cast<Cardinal>(Message.LParam), KeyDown);
}

void TZezudIdView::WMLButtonDblClk(TMessage& Message) {
  TIEView::Dispatch(Message);
  if (FPolySelecting && !FLassoSelecting) {
    const bool ShiftHeld = (Message.WParam & MK_SHIFT) != 0;
    EndPolySelection(ShiftHeld, true);
  }
}
