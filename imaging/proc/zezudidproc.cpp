// TZezudIdProc: construction, attachment to pictures, views and image controls, properties
// and the frame every operation runs in.
#include "imaging/proc/zezudidproc.h"

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/proc/zezudidprocundoentry.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Graphic.h"
#include "platform/classes/GraphicsObjects.h"

const std::array<std::array<TIEPixelFormat, 7>, IEPixelFormatCount> IEFormatFallbackTable = {{
    {ieNull, ieNull, ieNull, ieNull, ieNull, ieNull, ieNull},
    {ie8g, ie16g, ie32f, ie24RGB, ieNull, ieNull, ieNull},
    {ie24RGB, ieCMYK, ieRGB48, ieCIELab, ieNull, ieNull, ieNull},
    {ie16g, ie32f, ie24RGB, ieCMYK, ieRGB48, ieNull, ieNull},
    {ie32f, ie8g, ieRGB48, ie24RGB, ieCMYK, ieNull, ieNull},
    {ieCMYK, ieCIELab, ieRGB48, ie8p, ie16g, ie8g, ieNull},
    {ie16g, ie8g, ie24RGB, ieRGB48, ieCIELab, ieNull, ieNull},
    {ie24RGB, ieRGB48, ieCIELab, ie8g, ieNull, ieNull, ieNull},
    {ie24RGB, ieCMYK, ieCIELab, ie16g, ieNull, ieNull, ieNull},
    {ie24RGB, ieCMYK, ieRGB48, ie8g, ieNull, ieNull, ieNull},
    {ie24RGB, ieCMYK, ieRGB48, ie8g, ieNull, ieNull, ieNull},
}};

TZezudIdProc::TZezudIdProc(TComponent* Owner)
    : TComponent(Owner),
      FAutoUndo(Owner != nullptr),
      FPreviewFont(std::make_unique<TFont>()),
      FOwnIEBitmap(std::make_unique<TIEBitmap>()),
      FIPDialogParams(std::make_unique<TIPDialogParams>()),
      FUndo(std::make_unique<TIEUndoList>()),
      FRedo(std::make_unique<TIEUndoList>()) {
  FIEBitmap = FOwnIEBitmap.get();
}

TZezudIdProc::~TZezudIdProc() {
  DetachFromView();
  ClearAllUndo();
  ClearAllRedo();
}

std::unique_ptr<TZezudIdProc> TZezudIdProc::CreateFromBitmap(TIEBitmap* Bitmap) {
  auto Proc = std::make_unique<TZezudIdProc>(nullptr);
  Proc->SetAutoUndo(false);
  Proc->SetAttachedIEBitmap(Bitmap);
  return Proc;
}

// ---- Attachment --------------------------------------------------------------------------

void TZezudIdProc::DetachFromView() {
  if (FAttachedZezudId && FViewCallback) FAttachedZezudId->RemoveBitmapChangeEvent(FViewCallback);
  FViewCallback = nullptr;
}

void TZezudIdProc::TakeOwnedPicture() {
  FOwnIEBitmap = std::make_unique<TIEBitmap>();
  FIEBitmap = FOwnIEBitmap.get();
}

void TZezudIdProc::ReleaseOwnedPicture() {
  if (FIEBitmap == FOwnIEBitmap.get()) FIEBitmap = nullptr;
  FOwnIEBitmap.reset();
}

// A caller may have drawn on the platform bitmap since: wrap it again so its rows are seen.
void TZezudIdProc::RewrapAttachedBitmap() {
  if (FAttachedBitmap && FIEBitmap) FIEBitmap->EncapsulateTBitmap(FAttachedBitmap, false);
}

void TZezudIdProc::SetAttachedZezudId(TIEView* View) {
  DetachFromView();
  FAttachedZezudId = View;
  if (!View) {
    // The old picture was the view's (or our wrapper of its bitmap): start afresh.
    FAttachedBitmap = nullptr;
    TakeOwnedPicture();
    return;
  }
  if (TIEBitmap* ViewPicture = View->GetIEBitmap()) {
    ReleaseOwnedPicture();
    FIEBitmap = ViewPicture;
    FAttachedBitmap = nullptr;
  } else {
    TakeOwnedPicture();
    FAttachedBitmap = View->GetTBitmap();
    FIEBitmap->EncapsulateTBitmap(FAttachedBitmap, true);
  }
  View->FreeNotification(this);
  FAttachedTImage = nullptr;
  FViewCallback = View->AddBitmapChangeEvent(TIEBitmapChangeEvent(this, &TZezudIdProc::NotifyAttachedChange));
}

void TZezudIdProc::NotifyAttachedChange(TObject* /*Sender*/, bool Destroying) {
  if (!FAttachedZezudId) return;
  if (Destroying) {
    // The view's picture goes with it; keep a picture of our own to work on.
    FViewCallback = nullptr;
    FAttachedZezudId = nullptr;
    FAttachedBitmap = nullptr;
    if (!FOwnIEBitmap) TakeOwnedPicture();
    return;
  }
  if (!FAttachedBitmap) {
    FIEBitmap = FAttachedZezudId->GetIEBitmap();
  } else if (FOwnIEBitmap) {
    FAttachedBitmap = FAttachedZezudId->GetTBitmap();
    FIEBitmap->EncapsulateTBitmap(FAttachedBitmap, true);
  }
}

void TZezudIdProc::SetAttachedTImage(TImage* Image) {
  DetachFromView();
  FAttachedTImage = Image;
  if (Image) {
    if (!FOwnIEBitmap) TakeOwnedPicture();
    FAttachedBitmap = Image->GetPicture()->GetBitmap();
    FIEBitmap->EncapsulateTBitmap(FAttachedBitmap, true);
    Image->FreeNotification(this);
    FAttachedZezudId = nullptr;
  } else {
    // The image's bitmap is no longer ours to reach.
    FAttachedBitmap = nullptr;
    if (FOwnIEBitmap)
      TakeOwnedPicture();
    else if (FIEBitmap)
      FIEBitmap->FreeImage(true);
  }
}

void TZezudIdProc::SetAttachedIEBitmap(TIEBitmap* Bitmap) {
  if (!Bitmap && (FAttachedZezudId || FAttachedTImage)) return;
  DetachFromView();
  UseBitmap(Bitmap);
}

void TZezudIdProc::UseBitmap(TIEBitmap* Bitmap) {
  FAttachedBitmap = nullptr;
  ReleaseOwnedPicture();
  FIEBitmap = Bitmap;
  if (Bitmap) {
    FAttachedZezudId = nullptr;
    FAttachedTImage = nullptr;
  }
}

void TZezudIdProc::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent) return;
  if (AComponent == FAttachedZezudId) {
    DetachFromView();
    NotifyAttachedChange(AComponent, true);
  } else if (AComponent == FAttachedTImage) {
    FAttachedTImage = nullptr;
    // Our wrapper must not reach the image's bitmap once the image is gone.
    FAttachedBitmap = nullptr;
    if (FOwnIEBitmap) TakeOwnedPicture();
  }
}

// ---- Properties --------------------------------------------------------------------------

TColor TZezudIdProc::GetBackground() const {
  return FAttachedZezudId ? FAttachedZezudId->GetBackground() : FBackground;
}

// A view keeps its own background; the view interface offers no setter, so only the own
// value is written.
void TZezudIdProc::SetBackground(TColor Value) {
  if (!FAttachedZezudId) FBackground = Value;
}

void TZezudIdProc::SetPreviewFont(TFont* Font) {
  FPreviewFont->Assign(Font);
}

// ---- The operation frame -----------------------------------------------------------------

bool TZezudIdProc::PrepareBitmap(TIEPixelFormatSet Allowed) {
  if (!FIEBitmap) return false;
  RewrapAttachedBitmap();
  return MakeConsistentBitmap(Allowed);
}

bool TZezudIdProc::MakeConsistentBitmap(TIEPixelFormatSet Allowed) {
  if (Allowed.IsEmpty()) return true;
  const TIEPixelFormat Current = FIEBitmap->GetPixelFormat();
  if (Allowed.Contains(Current)) return true;
  if (!FAutoConvertFormat) return false;
  for (TIEPixelFormat Candidate : IEFormatFallbackTable[Current]) {
    if (!Allowed.Contains(Candidate)) {
      if (Candidate == ieNull) break;
      continue;
    }
    FIEBitmap->SetPixelFormat(Candidate);
    return true;
  }
  for (Integer Format = ie32RGB; Format >= ieNull; --Format)
    if (Allowed.Contains(static_cast<TIEPixelFormat>(Format))) {
      FIEBitmap->SetPixelFormat(static_cast<TIEPixelFormat>(Format));
      return true;
    }
  return true;
}

// Only a full view keeps a selection; the view interface this library sees has none, so the
// box is always the whole picture.
bool TZezudIdProc::GetSelectionInfo(Integer& X1, Integer& Y1, Integer& X2, Integer& Y2, void*& Polygon,
                                    Integer& PolygonCount, TIEMask*& Mask) {
  RewrapAttachedBitmap();
  X1 = Y1 = 0;
  X2 = FIEBitmap ? FIEBitmap->GetWidth() : 0;
  Y2 = FIEBitmap ? FIEBitmap->GetHeight() : 0;
  Polygon = nullptr;
  PolygonCount = 0;
  Mask = nullptr;
  return false;
}

bool TZezudIdProc::BeginImageProcessing(TIEPixelFormatSet Allowed, Integer& X1, Integer& Y1, Integer& X2,
                                        Integer& Y2, TIEBitmap*& Work, const std::string& Caption,
                                        TIEMask*& Mask) {
  if (FAutoUndo) SaveUndoCaptioned(Caption, ieuImage);
  if (!PrepareBitmap(Allowed)) return false;
  void* Polygon = nullptr;
  Integer PolygonCount = 0;
  GetSelectionInfo(X1, Y1, X2, Y2, Polygon, PolygonCount, Mask);
  if (!Mask || Mask->IsEmpty()) {
    Work = FIEBitmap;
    return true;
  }
  const Integer BoxX = Mask->GetX1(), BoxY = Mask->GetY1();
  const Integer Width = Mask->GetX2() - BoxX + 1, Height = Mask->GetY2() - BoxY + 1;
  Work = new TIEBitmap(Width, Height, FIEBitmap->GetPixelFormat());
  FIEBitmap->CopyRectTo(Work, BoxX, BoxY, 0, 0, Width, Height);
  if (FIEBitmap->HasAlphaChannel())
    FIEBitmap->GetAlphaChannel()->CopyRectTo(Work->GetAlphaChannel(), BoxX, BoxY, 0, 0, Width, Height);
  X1 = Y1 = 0;
  X2 = Width;
  Y2 = Height;
  return true;
}

void TZezudIdProc::EndImageProcessing(TIEBitmap* Work, TIEMask* Mask) {
  if (Work != FIEBitmap) {
    std::unique_ptr<TIEBitmap> Owned(Work);
    Mask->CopyIEBitmap(FIEBitmap, Work, false, true, false);
    if (Work->HasAlphaChannel() && !Work->GetAlphaChannel()->GetFull()) {
      Mask->CopyIEBitmapAlpha(FIEBitmap, Work, false, true);
      FIEBitmap->GetAlphaChannel()->SetFull(false);
    }
  }
  Refresh();
}

void TZezudIdProc::Refresh() {
  if (FAttachedBitmap && FIEBitmap) FIEBitmap->RemoveAlphaChannel(false, 0);
  if (FAttachedZezudId) {
    FAttachedZezudId->Update();
    FAttachedZezudId->ImageChange();
  } else if (FAttachedBitmap) {
    FAttachedBitmap->SetModified(true);
  }
}

void TZezudIdProc::DoFinishWork() {
  if (FOnProgress) FOnProgress(this, 100);
  if (FOnFinishWork) FOnFinishWork(this);
}
