// The image view's state operations: picture storage, external bitmaps, the update lock, the
// navigator link, event relays and small published settings.
#include <algorithm>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iescrollbars.h"
#include "imaging/io/zezudidio.h"
#include "imaging/view/zezudidview.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Graphic.h"
#include "platform/system/Math.h"
#include "platform/system/ScopeExit.h"
#include "platform/user/FlatScrollBars.h"
#include "platform/user/WinUser.h"

namespace {

// The platform bitmap a view bitmap keeps its pixels in when that platform bitmap is not the
// bitmap's own (the view or a layer made it and frees it).
TBitmap* BorrowedPlatformBitmap(TIEBitmap* Bitmap) {
  if (Bitmap->GetLocation() != ieTBitmap || !Bitmap->GetPlatformBitmapExternal()) return nullptr;
  return Bitmap->GetTBitmap();
}

// A new picture kept in a new 24-bit platform bitmap, which the picture's layer frees.
TIEBitmap* NewPlatformPicture() {
  auto* Platform = new TBitmap;
  Platform->SetPixelFormat(pf24bit);
  auto* Picture = new TIEBitmap;
  Picture->EncapsulateTBitmap(Platform, true);
  return Picture;
}

}  // namespace

// ---- Picture storage ----

void TZezudIdView::SetLegacyBitmap(bool Value) {
  if (Value == FLegacyBitmap) return;
  TIELayer* Layer = GetCurrentLayer();
  if (!Value) {
    // The pixels move to the library's storage; the platform bitmap they leave is freed
    // unless a caller lent it.
    TBitmap* Left = BorrowedPlatformBitmap(FIEBitmap);
    FIEBitmap->SetLocation(ieFile);
    // Asking the picture for its platform bitmap would move it back: look at where it is.
    const bool Moved = FIEBitmap->GetLocation() != ieTBitmap;
    if (Left && Moved && Layer && Layer->OwnsBitmap) delete Left;
    FLegacyTBitmap = nullptr;
  } else {
    FIEBitmap->SetLocation(ieTBitmap);
    if (FIEBitmap->GetTBitmap() == nullptr) {
      // An empty picture moves nowhere: give it a platform bitmap of its own shape.
      auto* Platform = new TBitmap;
      Platform->SetPixelFormat(pf24bit);
      FIEBitmap->EncapsulateTBitmap(Platform, true);
    }
    FLegacyTBitmap = FIEBitmap->GetTBitmap();
  }
  FLegacyBitmap = Value;
  NotifyBitmapChange();
  Update();
}

void TZezudIdView::AssignExternalBitmap(TIEBitmap* Bitmap) {
  TIELayer* Layer = GetCurrentLayer();
  if (!Layer || (Bitmap && Bitmap == FIEBitmap)) return;
  if (!Bitmap) {
    // The caller's bitmap is given back at once: the layer must never free it.
    Layer->OwnsBitmap = true;
    FIEBitmap = FLegacyBitmap ? NewPlatformPicture() : new TIEBitmap;
    Layer->Bitmap = FIEBitmap;
    FLegacyTBitmap = FLegacyBitmap ? FIEBitmap->GetTBitmap() : nullptr;
    return;
  }
  if (Layer->OwnsBitmap) {
    TBitmap* Platform = BorrowedPlatformBitmap(FIEBitmap);
    if (Layer->Bitmap == FIEBitmap) Layer->Bitmap = nullptr;
    delete FIEBitmap;
    delete Platform;
  }
  Layer->Bitmap = Bitmap;
  Layer->OwnsBitmap = false;
  FIEBitmap = Bitmap;
  FLegacyTBitmap = Bitmap->GetLocation() == ieTBitmap ? Bitmap->GetTBitmap() : nullptr;
  NotifyBitmapChange();
  Update();
}

// ---- Update lock ----

void TZezudIdView::LockUpdate() {
  ++FUpdateLock;
}

void TZezudIdView::UnlockUpdate() {
  UnlockUpdateNoRefresh();
  if (FUpdateLock == 0) Update();
}

void TZezudIdView::UnlockUpdateNoRefresh() {
  if (FUpdateLock > 0) --FUpdateLock;
}

// ---- Navigator ----

void TZezudIdView::SetNavigator(TZezudIdView* View, Byte Options) {
  if (TZezudIdView* Old = FLinkedView) {
    FLinkedView = nullptr;
    Old->OnSelectionChanging.Clear();
    if (Old->OnMouseWheel.GetObject() == this) Old->OnMouseWheel.Clear();
    Old->AssignExternalBitmap(nullptr);
    Old->FIsLinked = false;
    Old->FLinkedFrameStyle = 0;
    RemoveFreeNotification(Old);
  }
  if (!View) return;
  View->FIsLinked = true;
  View->FEnableAlphaChannel = FEnableAlphaChannel;
  View->SetAutoFit(true);
  View->SetMouseInteract(TIEMouseInteract{miSelect});
  View->SetSelectionBase(iesbBitmap);
  View->SetSelectionOptions(TIESelectionOptions{iesoMoveable, iesoCanScroll});
  View->AssignExternalBitmap(FIEBitmap);
  View->OnSelectionChanging = TNotifyEvent(this, &TZezudIdView::NavigatorSelectionChanging);
  View->FLinkedFrameStyle = Options;
  if (Options & 1) View->OnMouseWheel = TMouseWheelEvent(this, &TZezudIdView::NavigatorMouseWheel);
  FLinkedView = View;
  FreeNotification(View);
  SyncNavigator();
}

void TZezudIdView::SyncNavigator() {
  TZezudIdView* Navigator = FLinkedView;
  if (!Navigator || FUpdatingLinked || FPaintLock > 0) return;
  FUpdatingLinked = true;
  auto Done = ScopeExit([this] { FUpdatingLinked = false; });
  Paint();
  const Integer X1 = XScr2Bmp(FOffsetX);
  const Integer Y1 = YScr2Bmp(FOffsetY);
  const Integer X2 = XScr2Bmp(FOffsetX + FExtentX);
  const Integer Y2 = YScr2Bmp(FOffsetY + FExtentY);
  Navigator->FSelectionFixedWidth = X2 - X1;
  Navigator->FSelectionFixedHeight = Y2 - Y1;
  Navigator->SetSelectionAspectRatio(0);
  Navigator->Select(X1, Y1, X2, Y2);
}

void TZezudIdView::NavigatorSelectionChanging(TObject*) {
  TZezudIdView* Navigator = FLinkedView;
  if (!Navigator || FUpdatingLinked) return;
  SetViewXY(static_cast<Integer>(Round(Navigator->GetSelX1() * FZoomX / 100)),
            static_cast<Integer>(Round(Navigator->GetSelY1() * FZoomY / 100)));
}

void TZezudIdView::NavigatorMouseWheel(TObject*, TShiftState, Integer WheelDelta, TPoint MousePos,
                                       bool& Handled) {
  TZezudIdView* Navigator = FLinkedView;
  if (!Navigator) return;
  const TIEMouseWheelParams& Params = *Navigator->GetMouseWheelParams();
  Integer Direction = WheelDelta > 0 ? -1 : 1;
  if (Params.InvertDirection) Direction = -Direction;
  Double Zoom = FZoomX;
  if (Params.Variation == iewvAbsolute)
    Zoom += Params.Value * Direction;
  else
    Zoom += std::max<Int64>(Round(Params.Value * FZoomX / 100), 1) * Direction;
  if (Zoom > FZoomX)
    DoZoomIn(Zoom);
  else if (Zoom < FZoomX)
    DoZoomOut(Zoom);
  if (Params.ZoomPosition) {
    const TPoint P = ScreenToClient(MousePos);
    ZoomAt(P.X, P.Y, Zoom);
  } else {
    ChangeZoom(Zoom);
  }
  Handled = true;
}

void TZezudIdView::SetSelectionAspectRatio(Double Value) {
  if (Value == FSelectionAspectRatio) return;
  FSelectionAspectRatio = Value;
  // A fixed-size selection can only be moved.
  TIESelectionOptions Options = FSelectionOptions;
  if (Value == 0)
    Options.Exclude(iesoSizeable);
  else
    Options.Include(iesoSizeable);
  SetSelectionOptions(Options);
}

void TZezudIdView::SetInteractionHint(const std::string& Text, Integer X, Integer Y,
                                      const std::string& SizeTemplate) {
  FHintText = Text;
  FHintX = X;
  FHintY = Y;
  FHintTemplate = SizeTemplate;
}

// ---- Event relays: handlers see the selection base their own code set ----

void TZezudIdView::SwapSelectionBase() {
  std::swap(FSelectionBase, FSelectionBaseSaved);
}

namespace {

template <class TCall>
void WithUserSelectionBase(TZezudIdView& View, TCall Call) {
  View.SwapSelectionBase();
  auto Back = ScopeExit([&View] { View.SwapSelectionBase(); });
  Call();
}

}  // namespace

void TZezudIdView::DoLayerNotify(Integer Layer, TIELayerEvent Event) {
  if (!OnLayerNotify) return;
  WithUserSelectionBase(*this, [&] { OnLayerNotify(this, Layer, Event); });
}

void TZezudIdView::DoZoomIn(Double& Zoom) {
  if (!OnZoomIn) return;
  WithUserSelectionBase(*this, [&] { OnZoomIn(this, Zoom); });
}

void TZezudIdView::DoZoomOut(Double& Zoom) {
  if (!OnZoomOut) return;
  WithUserSelectionBase(*this, [&] { OnZoomOut(this, Zoom); });
}

void TZezudIdView::DoMouseInResizingGrip(TIEGrip Grip) {
  if (!OnMouseInResizingGrip) return;
  WithUserSelectionBase(*this, [&] { OnMouseInResizingGrip(this, Grip); });
}

void TZezudIdView::DoMouseInSel() {
  if (!OnMouseInSel) return;
  WithUserSelectionBase(*this, [&] { OnMouseInSel(this); });
}

// ---- Published settings ----

void TZezudIdView::SetWallPaper(TPicture* Value) {
  if (!FWallPaper) FWallPaper = std::make_unique<TPicture>();
  FWallPaper->Assign(Value);
  FBackBufferDirty = true;
  FUpdateReason = 4;
  Update();
}

void TZezudIdView::SetWallPaperStyle(TIEWallPaperStyle Value) {
  if (Value == FWallPaperStyle) return;
  FWallPaperStyle = Value;
  FBackBufferDirty = true;
  FUpdateReason = 4;
  Update();
}

void TZezudIdView::SetFlatScrollBars(bool Value) {
  if (Value == FFlatScrollBars) return;
  FFlatScrollBars = Value;
  if (!HandleAllocated()) return;
  HWND Handle = GetHandle();
  if (!Value) {
    UninitializeFlatSB(Handle);
    return;
  }
  // Both bars stay hidden until Update shows what is needed.
  IESetScrollRange(Handle, SB_HORZ, 0, 65535, false, false);
  IESetScrollRange(Handle, SB_VERT, 0, 65535, false, false);
  InitializeFlatSB(Handle);
  IEShowScrollBar(Handle, SB_HORZ, false, true);
  IEShowScrollBar(Handle, SB_VERT, false, true);
}
