// TZezudIdIO: construction, attachment to pictures, views and image controls, properties,
// progress and completion.
#include "imaging/io/zezudidio.h"

#include <atomic>

#include "imaging/core/iebitmap.h"
#include "imaging/io/iedocumentstates.h"
#include "imaging/io/ieds.h"
#include "imaging/io/ieprintpreviewparams.h"
#include "imaging/io/ietwainparams.h"
#include "imaging/io/iewia.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Graphic.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/system/Threads.h"
#include "platform/user/WindowMessages.h"

TIEPreviewsDialog IEPreviewsDialog = nullptr;

TZezudIdIO::TZezudIdIO(TComponent* Owner)
    : TComponent(Owner),
      FOwnIEBitmap(std::make_unique<TIEBitmap>()),
      FTWainParams(std::make_unique<TIETWainParams>(this)),
      FPreviewFont(std::make_unique<TFont>()),
      FPrintPreviewParams(std::make_unique<TIOPrintPreviewParams>()),
      FParams(std::make_unique<TIOParamsVals>(this)) {
  FIEBitmap = FOwnIEBitmap.get();
}

TZezudIdIO::~TZezudIdIO() {
  WaitThreads(false);
  CloseAVIFile();
  // A write error while finishing a document must not escape the destructor.
  try {
    ClosePSDocument();
    ClosePDFDocument();
  } catch (const Exception&) {
  }
  UnregisterFromView();
}

std::unique_ptr<TZezudIdIO> TZezudIdIO::CreateFromBitmap(TIEBitmap* Bitmap) {
  auto IO = std::make_unique<TZezudIdIO>(nullptr);
  IO->SetAttachedIEBitmap(Bitmap);
  return IO;
}

// ---- Attachment --------------------------------------------------------------------------

void TZezudIdIO::UnregisterFromView() {
  if (FAttachedZezudId && FViewNotifyHandle) FAttachedZezudId->RemoveBitmapChangeEvent(FViewNotifyHandle);
  FViewNotifyHandle = nullptr;
}

void TZezudIdIO::FreeOwnIEBitmap() {
  if (FIEBitmap == FOwnIEBitmap.get()) FIEBitmap = nullptr;
  FOwnIEBitmap.reset();
}

void TZezudIdIO::UseNewOwnIEBitmap() {
  FOwnIEBitmap = std::make_unique<TIEBitmap>();
  FIEBitmap = FOwnIEBitmap.get();
}

// The platform bitmap is gone or no longer ours: so is the wrapper around it, which must not
// reach it again.
void TZezudIdIO::ForgetAttachedBitmap() {
  if (FAttachedBitmap && GetOwnsIEBitmap()) UseNewOwnIEBitmap();
  FAttachedBitmap = nullptr;
}

// The wrapper is always the component's own picture: wrapping a view's or a caller's
// TIEBitmap would throw away their pixels.
void TZezudIdIO::WrapAttachedBitmap(bool FreeCurrent) {
  if (!GetOwnsIEBitmap()) UseNewOwnIEBitmap();
  FIEBitmap->EncapsulateTBitmap(FAttachedBitmap, FreeCurrent);
}

// The view's picture: its TIEBitmap when it has one, else our wrapper of its platform bitmap.
void TZezudIdIO::TakeViewPicture() {
  if (TIEBitmap* ViewPicture = FAttachedZezudId->GetIEBitmap()) {
    FreeOwnIEBitmap();
    FIEBitmap = ViewPicture;
    FAttachedBitmap = nullptr;
  } else {
    FAttachedBitmap = FAttachedZezudId->GetTBitmap();
    WrapAttachedBitmap(true);
  }
}

void TZezudIdIO::SetAttachedZezudId(TIEView* View) {
  UnregisterFromView();
  const bool HadView = FAttachedZezudId != nullptr;
  FAttachedZezudId = View;
  if (!View) {
    // The old picture was the view's: not freed here, and no longer ours to use.
    if (HadView) ForgetAttachedBitmap();
    UseNewOwnIEBitmap();
    return;
  }
  TakeViewPicture();
  View->FreeNotification(this);
  FAttachedTImage = nullptr;
  FViewNotifyHandle = View->AddBitmapChangeEvent(TIEBitmapChangeEvent(this, &TZezudIdIO::ViewBitmapChanged));
}

void TZezudIdIO::ViewBitmapChanged(TObject* /*Sender*/, bool Destroying) {
  if (!FAttachedZezudId) return;
  if (Destroying) {
    // The view's picture goes with it: keep working on a picture of our own.
    FViewNotifyHandle = nullptr;
    FAttachedZezudId = nullptr;
    ForgetAttachedBitmap();
    if (!GetOwnsIEBitmap()) UseNewOwnIEBitmap();
    return;
  }
  TakeViewPicture();
  FParams->SetDpiX(FAttachedZezudId->GetDpiX());
  FParams->SetDpiY(FAttachedZezudId->GetDpiY());
}

void TZezudIdIO::SetAttachedTImage(TImage* Image) {
  UnregisterFromView();
  FAttachedTImage = Image;
  if (Image) {
    FAttachedBitmap = Image->GetPicture()->GetBitmap();
    WrapAttachedBitmap(true);
    Image->FreeNotification(this);
    FAttachedZezudId = nullptr;
  } else {
    // The image's bitmap is no longer ours to use.
    ForgetAttachedBitmap();
    if (FIEBitmap) FIEBitmap->FreeImage(true);
  }
}

// A nil picture while a view or an image control is attached is ignored and the view stays
// followed: the component keeps a picture it can use.
void TZezudIdIO::SetAttachedBitmap(TBitmap* Bitmap) {
  if (!Bitmap && (FAttachedZezudId || FAttachedTImage)) return;
  UnregisterFromView();
  FAttachedBitmap = Bitmap;
  WrapAttachedBitmap(true);
  FAttachedZezudId = nullptr;
  FAttachedTImage = nullptr;
}

void TZezudIdIO::SetAttachedIEBitmap(TIEBitmap* Bitmap) {
  if (!Bitmap && (FAttachedZezudId || FAttachedTImage)) return;
  UnregisterFromView();
  FAttachedBitmap = nullptr;
  FreeOwnIEBitmap();
  FIEBitmap = Bitmap;
  FAttachedZezudId = nullptr;
  FAttachedTImage = nullptr;
}

void TZezudIdIO::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent) return;
  if (AComponent == FAttachedZezudId) {
    UnregisterFromView();
    ViewBitmapChanged(AComponent, true);
  } else if (AComponent == FAttachedTImage) {
    FAttachedTImage = nullptr;
    ForgetAttachedBitmap();
  }
}

bool TZezudIdIO::MakeConsistentBitmap(TIEPixelFormatSet AllowedFormats) {
  if (!FIEBitmap) return false;
  if (FAttachedBitmap) FIEBitmap->EncapsulateTBitmap(FAttachedBitmap, false);
  return AllowedFormats.IsEmpty() || AllowedFormats.Contains(FIEBitmap->GetPixelFormat());
}

TBitmap* TZezudIdIO::GetBitmap() {
  if (FIEBitmap && FIEBitmap->GetLocation() == ieTBitmap) return FIEBitmap->GetTBitmap();
  return FAttachedBitmap;
}

// ---- Properties --------------------------------------------------------------------------

bool TZezudIdIO::GetAborting() const {
  return std::atomic_ref<bool>(const_cast<bool&>(FAborting)).load(std::memory_order_relaxed);
}

void TZezudIdIO::SetAborting(bool Value) {
  std::atomic_ref<bool>(FAborting).store(Value, std::memory_order_relaxed);
}

TColor TZezudIdIO::GetBackground() const {
  return FAttachedZezudId ? FAttachedZezudId->GetBackground() : FBackgroundColor;
}

void TZezudIdIO::SetBackground(TColor Color) {
  if (!FAttachedZezudId) FBackgroundColor = Color;
}

void TZezudIdIO::SetPreviewFont(TFont* Font) {
  FPreviewFont->Assign(Font);
}

bool TZezudIdIO::GetNativePixelFormat() const {
  return FParams && FParams->NativePixelFormat;
}

void TZezudIdIO::SetNativePixelFormat(bool Value) {
  if (FParams) FParams->NativePixelFormat = Value;
}

// ---- Progress, completion and the attached view ------------------------------------------

bool TZezudIdIO::PostToView(UINT Msg, WPARAM WParam) {
  TIEView* View = FAttachedZezudId;
  if (!View || !View->GetParent() || !InWorkerThread()) return false;
  // Windows are made on the user-interface thread only.
  if (!View->HandleAllocated()) TThread::Synchronize(nullptr, [View] { View->HandleNeeded(); });
  PostMessage(View->GetHandle(), Msg, WParam, 0);
  return true;
}

void TZezudIdIO::DoProgress(TObject* Sender, Integer Percent) {
  if (!FOnProgress) return;
  if (PostToView(IEM_PROGRESS, static_cast<WPARAM>(Percent))) return;
  FOnProgress(Sender, Percent);
}

void TZezudIdIO::FailWork() {
  SetAborting(true);
  DoFinishWork();
}

void TZezudIdIO::DoFinishWork() {
  DoProgress(this, 100);
  if (!FOnFinishWork) return;
  if (PostToView(IEM_FINISHWORK, 0)) return;
  FOnFinishWork(this);
}

void TZezudIdIO::UpdateAttachedView() {
  if (FAttachedBitmap && FIEBitmap) FIEBitmap->RemoveAlphaChannel(false, 0);
  if (TIEView* View = FAttachedZezudId) {
    if (!InWorkerThread())
      View->Update();
    else
      PostToView(IEM_UPDATE, 0);
    View->ImageChange();
  } else if (FAttachedBitmap) {
    // Its owners repaint.
    FAttachedBitmap->SetModified(true);
  }
}

void TZezudIdIO::UpdateViewDPI() {
  TIEView* View = FAttachedZezudId;
  if (!View || !View->IsImageView()) return;
  View->LockUpdate();
  View->SetDpi(FParams->DpiX, FParams->DpiY);
  View->UnlockUpdateNoRefresh();
}

bool TZezudIdIO::DoPreviews(Word Pages) {
  bool Handled = false;
  if (FOnDoPreviews) FOnDoPreviews(this, Handled);
  if (Handled) return true;
  if (!MakeConsistentBitmap({})) return false;
  ConvertForWriter();
  const bool Confirmed = IEPreviewsDialog && IEPreviewsDialog(this, Pages);
  UpdateAttachedView();
  return Confirmed;
}
