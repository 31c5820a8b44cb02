#include "platform/classes/ImgList.h"

#include <algorithm>

#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Rop3.h"
#include "platform/user/ImageLists.h"

namespace {

// Brush where the source is white (all ones), destination where it is black.
constexpr DWORD ROP_DSPDxax = 0x00E20746;
constexpr DWORD DSTCOPY = 0x00AA0029;

COLORREF NativeColor(TColor Color) {
  if (Color == clNone) return CLR_NONE;
  if (Color == clDefault) return CLR_DEFAULT;
  return ColorToRGB(Color) & 0x00FFFFFF;
}

HBITMAP HandleOf(TBitmap* Bitmap) {
  return Bitmap != nullptr && !Bitmap->Empty() ? Bitmap->GetHandle() : nullptr;
}

}  // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() {
  Destroying();
  FreeHandle();
}

void TCustomImageList::FreeHandle() {
  if (FHandle != nullptr) ImageList_Destroy(FHandle);
  FHandle = nullptr;
}

HIMAGELIST TCustomImageList::GetHandle() {
  if (FHandle == nullptr) {
    FHandle = ImageList_Create(FWidth, FHeight, ILC_MASK | ILC_COLOR32, FAllocBy, FAllocBy);
    ImageList_SetBkColor(FHandle, NativeColor(FBkColor));
  }
  return FHandle;
}

Integer TCustomImageList::GetCount() const {
  return FHandle != nullptr ? ImageList_GetImageCount(FHandle) : 0;
}

void TCustomImageList::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TCustomImageList*>(Source);
  if (S == nullptr) {
    TComponent::Assign(Source);
    return;
  }
  FreeHandle();
  FMonoBitmap.reset();
  FWidth = S->FWidth;
  FHeight = S->FHeight;
  FBkColor = S->FBkColor;
  FBlendColor = S->FBlendColor;
  FDrawingStyle = S->FDrawingStyle;
  FImageType = S->FImageType;
  FMasked = S->FMasked;
  FAllocBy = S->FAllocBy;
  if (S->FHandle != nullptr) FHandle = ImageList_Duplicate(S->FHandle);
  Change();
}

void TCustomImageList::Change() {
  if (OnChange) OnChange(this);
}

void TCustomImageList::SetWidth(Integer Value) {
  if (Value == FWidth || Value <= 0) return;
  FWidth = Value;
  FMonoBitmap.reset();
  if (FHandle != nullptr) ImageList_SetIconSize(FHandle, FWidth, FHeight);
  Change();
}

void TCustomImageList::SetHeight(Integer Value) {
  if (Value == FHeight || Value <= 0) return;
  FHeight = Value;
  FMonoBitmap.reset();
  if (FHandle != nullptr) ImageList_SetIconSize(FHandle, FWidth, FHeight);
  Change();
}

void TCustomImageList::SetBkColor(TColor Value) {
  if (FBkColor == Value) return;
  FBkColor = Value;
  if (FHandle != nullptr) ImageList_SetBkColor(FHandle, NativeColor(Value));
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

Integer TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  HBITMAP B = HandleOf(Image);
  if (B == nullptr) return -1;
  const Integer First = ImageList_Add(GetHandle(), B, HandleOf(Mask));
  if (First >= 0) Change();
  return First;
}

Integer TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  HBITMAP B = HandleOf(Image);
  if (B == nullptr) return -1;
  if (MaskColor == clDefault) MaskColor = Image->GetCanvas()->GetPixels(0, Image->GetHeight() - 1);
  const Integer First = ImageList_AddMasked(GetHandle(), B, ColorToRGB(MaskColor));
  if (First >= 0) Change();
  return First;
}

void TCustomImageList::Replace(Integer Index, TBitmap* Image, TBitmap* Mask) {
  CheckIndex(Index);
  HBITMAP B = HandleOf(Image);
  if (B == nullptr) return;
  if (ImageList_Replace(FHandle, Index, B, HandleOf(Mask))) Change();
}

void TCustomImageList::Delete(Integer Index) {
  CheckIndex(Index);
  ImageList_Remove(FHandle, Index);
  Change();
}

void TCustomImageList::Clear() {
  if (GetCount() == 0) return;
  ImageList_RemoveAll(FHandle);
  Change();
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled) {
  if (Canvas == nullptr || Index < 0 || Index >= GetCount()) return;
  if (!Enabled) {
    DrawDisabled(Canvas, X, Y, Index);
    return;
  }
  UINT Style = ILD_NORMAL;
  switch (FDrawingStyle) {
    case dsFocus:
      Style = ILD_FOCUS;
      break;
    case dsSelected:
      Style = ILD_SELECTED;
      break;
    case dsTransparent:
      Style = ILD_TRANSPARENT;
      break;
    case dsNormal:
      break;
  }
  if (FImageType == itMask) Style |= ILD_MASK;
  if (!FMasked) Style |= ILD_IMAGE;
  ImageList_DrawEx(FHandle, Index, Canvas->GetHandle(), X, Y, 0, 0, CLR_DEFAULT, NativeColor(FBlendColor),
                   Style);
}

void TCustomImageList::DrawDisabled(TCanvas* Canvas, Integer X, Integer Y, Integer Index) {
  IMAGEINFO Info;
  if (!ImageList_GetImageInfo(FHandle, Index, &Info)) return;
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
  HDC ImageDC = CreateCompatibleDC(nullptr);
  const HGDIOBJ OldImage = SelectObject(ImageDC, Info.hbmImage);
  ::SetBkColor(ImageDC, 0x00FFFFFF);
  const Integer Left = Info.rcImage.Left;
  if (FMasked && Info.hbmMask != nullptr)
    MaskBlt(MonoDC, 0, 0, FWidth, FHeight, ImageDC, Left, 0, Info.hbmMask, Left, 0,
            MAKEROP4(DSTCOPY, SRCCOPY));
  else
    BitBlt(MonoDC, 0, 0, FWidth, FHeight, ImageDC, Left, 0, SRCCOPY);
  SelectObject(ImageDC, OldImage);
  DeleteDC(ImageDC);
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
