// TImage and TPaintBox.
#include "platform/classes/Bitmap.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Icon.h"
#include "platform/system/ScopeExit.h"

// ---- TImage -----------------------------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csReplicatable);
  FPicture = std::make_unique<TPicture>();
  FPicture->OnChange = TNotifyEvent(this, &TImage::PictureChanged);
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
  Destroying();
  FPicture->OnChange.Clear();
}

TRect TImage::DestRect() {
  Integer W = FPicture->GetWidth(), H = FPicture->GetHeight();
  const Integer CW = GetClientWidth(), CH = GetClientHeight();
  if (FStretch || (FProportional && (W > CW || H > CH))) {
    if (FProportional && W > 0 && H > 0) {
      // The largest size of the picture's shape that fits.
      const double Aspect = static_cast<double>(W) / H;
      if (W > H) {
        W = CW;
        H = static_cast<Integer>(CW / Aspect);
        if (H > CH) {
          H = CH;
          W = static_cast<Integer>(CH * Aspect);
        }
      } else {
        H = CH;
        W = static_cast<Integer>(CH * Aspect);
        if (W > CW) {
          W = CW;
          H = static_cast<Integer>(CW / Aspect);
        }
      }
    } else {
      W = CW;
      H = CH;
    }
  }
  TRect R = Rect(0, 0, W, H);
  if (FCenter) R = Bounds((CW - W) / 2, (CH - H) / 2, W, H);
  return R;
}

void TImage::Paint() {
  TGraphic* Graphic = FPicture->GetGraphic();
  if (Graphic == nullptr) return;
  FDrawing = true;
  auto Cleanup = ScopeExit([&] { FDrawing = false; });
  TGraphicControl::GetCanvas()->StretchDraw(DestRect(), Graphic);
}

TCanvas* TImage::GetCanvas() {
  if (FPicture->GetGraphic() == nullptr) {
    TBitmap Bitmap;
    Bitmap.SetSize(GetWidth(), GetHeight());
    FPicture->SetGraphic(&Bitmap);
  }
  auto* Bitmap = dynamic_cast<TBitmap*>(FPicture->GetGraphic());
  if (Bitmap == nullptr) throw EInvalidOperation("Can only modify an image if it contains a bitmap");
  return Bitmap->GetCanvas();
}

bool TImage::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
  if (FPicture->GetWidth() > 0 && FPicture->GetHeight() > 0) {
    NewWidth = FPicture->GetWidth();
    NewHeight = FPicture->GetHeight();
  }
  return true;
}

void TImage::PictureChanged(TObject*) {
  if (GetAutoSize() && FPicture->GetWidth() > 0 && FPicture->GetHeight() > 0)
    SetBounds(GetLeft(), GetTop(), FPicture->GetWidth(), FPicture->GetHeight());
  TGraphic* Graphic = FPicture->GetGraphic();
  bool Opaque = false;
  if (Graphic != nullptr) {
    // Icons keep their own mask.
    if (dynamic_cast<TIcon*>(Graphic) == nullptr) Graphic->SetTransparent(FTransparent);
    // A picture that covers the whole control paints every pixel of it.
    const TRect D = DestRect();
    Opaque = !Graphic->GetTransparent() && D.Left <= 0 && D.Top <= 0 && D.Right >= GetWidth() &&
             D.Bottom >= GetHeight();
  }
  if (Opaque)
    FControlStyle.Include(csOpaque);
  else
    FControlStyle.Exclude(csOpaque);
  if (!FDrawing) Invalidate();
}

void TImage::SetCenter(bool Value) {
  if (FCenter == Value) return;
  FCenter = Value;
  PictureChanged(this);
}

void TImage::SetProportional(bool Value) {
  if (FProportional == Value) return;
  FProportional = Value;
  PictureChanged(this);
}

void TImage::SetStretch(bool Value) {
  if (FStretch == Value) return;
  FStretch = Value;
  PictureChanged(this);
}

void TImage::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  PictureChanged(this);
}

// ---- TPaintBox --------------------------------------------------------------------------------

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint() {
  TCanvas* C = GetCanvas();
  C->SetFont(GetFont());
  C->GetBrush()->SetColor(GetColor());
  if (OnPaint) OnPaint(this);
}
