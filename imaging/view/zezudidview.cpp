// The image view's life: construction, destruction, the components it owns and the picture it
// holds.
#include "imaging/view/zezudidview.h"

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iegdiplus.h"
#include "imaging/io/zezudidio.h"
#include "imaging/proc/zezudidproc.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Graphic.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/Timer.h"
#include "platform/system/Streams.h"

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
  FGridPen = std::make_unique<TPen>();
  FGridPen->SetStyle(psDot);
  FGridPen->SetMode(pmNot);
  FGridPen->SetWidth(1);
}

TZezudIdView::~TZezudIdView() {
  Destroying();
  while (!FAuxObjects.empty()) DeleteAuxObject(0);
  StopSmoothScroll();
  SyncLayers();
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
  FGridPen.reset();
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
