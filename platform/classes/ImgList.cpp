#include "platform/classes/ImgList.h"

#include <algorithm>

#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Rop3.h"

namespace {

// Brush where the source is white (all ones), destination where it is black.
constexpr DWORD ROP_DSPDxax = 0x00E20746;

}  // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() {
  Destroying();
}

void TCustomImageList::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TCustomImageList*>(Source);
  if (S == nullptr) {
    TComponent::Assign(Source);
    return;
  }
  Clear();
  FWidth = S->FWidth;
  FHeight = S->FHeight;
  FBkColor = S->FBkColor;
  FBlendColor = S->FBlendColor;
  FDrawingStyle = S->FDrawingStyle;
  FImageType = S->FImageType;
  FMasked = S->FMasked;
  FAllocBy = S->FAllocBy;
  for (const TEntry& E : S->FImages) {
    TEntry Copy;
    Copy.Image = std::make_unique<TBitmap>();
    Copy.Image->Assign(E.Image.get());
    if (E.Mask) {
      Copy.Mask = std::make_unique<TBitmap>();
      Copy.Mask->Assign(E.Mask.get());
    }
    FImages.push_back(std::move(Copy));
  }
  Change();
}

void TCustomImageList::Change() {
  if (OnChange) OnChange(this);
}

void TCustomImageList::SetWidth(Integer Value) {
  if (Value == FWidth || Value <= 0) return;
  FWidth = Value;
  FMonoBitmap.reset();
  Clear();
}

void TCustomImageList::SetHeight(Integer Value) {
  if (Value == FHeight || Value <= 0) return;
  FHeight = Value;
  FMonoBitmap.reset();
  Clear();
}

void TCustomImageList::SetBkColor(TColor Value) {
  if (FBkColor == Value) return;
  FBkColor = Value;
  Change();
}

void TCustomImageList::SetMasked(bool Value) {
  if (FMasked == Value) return;
  FMasked = Value;
  Change();
}

void TCustomImageList::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= GetCount()) throw EInvalidOperation("Invalid ImageList Index");
}

TCustomImageList::TEntry TCustomImageList::MakeEntry(TBitmap* Image, Integer Left, TBitmap* Mask,
                                                     bool ByColor, TColor MaskColor) {
  TEntry E;
  E.Image = std::make_unique<TBitmap>();
  E.Image->SetSize(FWidth, FHeight);
  const TRect Part = Bounds(Left, 0, FWidth, FHeight);
  E.Image->GetCanvas()->CopyRect(Rect(0, 0, FWidth, FHeight), Image->GetCanvas(), Part);
  if (!ByColor && Mask == nullptr) return E;
  E.Mask = std::make_unique<TBitmap>();
  E.Mask->SetMonochrome(true);
  E.Mask->SetSize(FWidth, FHeight);
  TCanvas* MaskCanvas = E.Mask->GetCanvas();
  TCanvas* ImageCanvas = E.Image->GetCanvas();
  const COLORREF Key = ColorToRGB(MaskColor) & 0x00FFFFFF;
  TCanvas* SourceMask = Mask != nullptr ? Mask->GetCanvas() : nullptr;
  for (Integer Y = 0; Y < FHeight; ++Y) {
    for (Integer X = 0; X < FWidth; ++X) {
      bool Transparent;
      if (ByColor)
        Transparent = (static_cast<COLORREF>(ImageCanvas->GetPixels(X, Y)) & 0x00FFFFFF) == Key;
      else
        Transparent = (static_cast<COLORREF>(SourceMask->GetPixels(Left + X, Y)) & 0x00FFFFFF) == 0x00FFFFFF;
      MaskCanvas->SetPixels(X, Y, Transparent ? clWhite : clBlack);
      if (Transparent) ImageCanvas->SetPixels(X, Y, clBlack);
    }
  }
  return E;
}

Integer TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (Image == nullptr || Image->Empty()) return -1;
  const Integer First = GetCount();
  const Integer N = std::max(1, Image->GetWidth() / FWidth);
  for (Integer I = 0; I < N; ++I) FImages.push_back(MakeEntry(Image, I * FWidth, Mask, false, clNone));
  Change();
  return First;
}

Integer TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (Image == nullptr || Image->Empty()) return -1;
  if (MaskColor == clDefault) MaskColor = Image->GetCanvas()->GetPixels(0, Image->GetHeight() - 1);
  const Integer First = GetCount();
  const Integer N = std::max(1, Image->GetWidth() / FWidth);
  for (Integer I = 0; I < N; ++I) FImages.push_back(MakeEntry(Image, I * FWidth, nullptr, true, MaskColor));
  Change();
  return First;
}

void TCustomImageList::Replace(Integer Index, TBitmap* Image, TBitmap* Mask) {
  CheckIndex(Index);
  if (Image == nullptr || Image->Empty()) return;
  FImages[static_cast<std::size_t>(Index)] = MakeEntry(Image, 0, Mask, false, clNone);
  Change();
}

void TCustomImageList::Delete(Integer Index) {
  CheckIndex(Index);
  FImages.erase(FImages.begin() + Index);
  Change();
}

void TCustomImageList::Clear() {
  if (FImages.empty()) return;
  FImages.clear();
  Change();
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled) {
  if (Canvas == nullptr || Index < 0 || Index >= GetCount()) return;
  const TEntry& E = FImages[static_cast<std::size_t>(Index)];
  if (!Enabled) {
    DrawDisabled(Canvas, X, Y, E);
    return;
  }
  HDC DC = Canvas->GetHandle();
  HDC ImageDC = E.Image->GetCanvas()->GetHandle();
  if (FBkColor != clNone) {
    HBRUSH Brush = CreateSolidBrush(ColorToRGB(FBkColor));
    const RECT R = Bounds(X, Y, FWidth, FHeight);
    FillRect(DC, &R, Brush);
    DeleteObject(Brush);
  }
  if (FMasked && E.Mask)
    TransparentStretchBlt(DC, X, Y, FWidth, FHeight, ImageDC, 0, 0, FWidth, FHeight,
                          E.Mask->GetCanvas()->GetHandle(), 0, 0);
  else
    BitBlt(DC, X, Y, FWidth, FHeight, ImageDC, 0, 0, SRCCOPY);
}

void TCustomImageList::DrawDisabled(TCanvas* Canvas, Integer X, Integer Y, const TEntry& E) {
  if (!FMonoBitmap) {
    FMonoBitmap = std::make_unique<TBitmap>();
    FMonoBitmap->SetMonochrome(true);
    FMonoBitmap->SetSize(FWidth, FHeight);
  }
  // The image on white in one bit per pixel: its white pixels (and transparent ones) stay
  // white, everything else turns black.
  TCanvas* MonoCanvas = FMonoBitmap->GetCanvas();
  MonoCanvas->GetBrush()->SetColor(clWhite);
  MonoCanvas->FillRect(Rect(0, 0, FWidth, FHeight));
  HDC MonoDC = MonoCanvas->GetHandle();
  HDC ImageDC = E.Image->GetCanvas()->GetHandle();
  const COLORREF OldImageBk = ::SetBkColor(ImageDC, 0x00FFFFFF);
  if (FMasked && E.Mask)
    TransparentStretchBlt(MonoDC, 0, 0, FWidth, FHeight, ImageDC, 0, 0, FWidth, FHeight,
                          E.Mask->GetCanvas()->GetHandle(), 0, 0);
  else
    BitBlt(MonoDC, 0, 0, FWidth, FHeight, ImageDC, 0, 0, SRCCOPY);
  ::SetBkColor(ImageDC, OldImageBk);
  // Black pixels of the mono image take the brush: highlight one pixel down and right, then
  // shadow in place.
  TBrush* Brush = Canvas->GetBrush();
  const TColor OldColor = Brush->GetColor();
  const TBrushStyle OldStyle = Brush->GetStyle();
  auto Emboss = [&](TColor Color, Integer Dx) {
    Brush->SetColor(Color);
    HDC DC = Canvas->GetHandle();
    const COLORREF OldText = SetTextColor(DC, 0x00FFFFFF);
    const COLORREF OldBk = ::SetBkColor(DC, 0);
    BitBlt(DC, X + Dx, Y + Dx, FWidth, FHeight, MonoDC, 0, 0, ROP_DSPDxax);
    SetTextColor(DC, OldText);
    ::SetBkColor(DC, OldBk);
  };
  Emboss(clBtnHighlight, 1);
  Emboss(clBtnShadow, 0);
  Brush->SetColor(OldColor);
  Brush->SetStyle(OldStyle);
}

void TCustomImageList::GetBitmap(Integer Index, TBitmap* Image) {
  if (Image == nullptr || Index < 0 || Index >= GetCount()) return;
  Image->SetSize(FWidth, FHeight);
  Draw(Image->GetCanvas(), 0, 0, Index);
}
