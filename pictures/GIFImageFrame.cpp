// A GIF frame: geometry and pixel store, palette, rendering into a bitmap (plain or dithered
// to the web palette, with the transparency mask) and drawing onto a canvas.
#include <algorithm>
#include <cstring>

#include "pictures/GIFColorReduce.h"
#include "pictures/GIFImage.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rop3.h"
#include "platform/system/Math.h"
#include "platform/system/ScopeExit.h"

namespace {

constexpr DWORD DSTCOPY = 0x00AA0029;

constexpr DWORD MakeROP4(DWORD Fore, DWORD Back) {
  return ((Back << 8) & 0xFF000000u) | Fore;
}

// Draws the source through a mask (1 bits keep the destination). Equal sizes go through
// MaskBlt; stretched copies through an AND mask and an OR colour image.
void TransparentStretch(HDC DstDC, Integer DstX, Integer DstY, Integer DstW, Integer DstH, HDC SrcDC,
                        Integer SrcX, Integer SrcY, Integer SrcW, Integer SrcH, HDC MaskDC, Integer MaskX,
                        Integer MaskY) {
  if (DstW == SrcW && DstH == SrcH) {
    // The mask leaves its context while MaskBlt reads it.
    HBITMAP Swap = CreateCompatibleBitmap(SrcDC, 1, 1);
    CheckGDIResult(Swap ? 1 : 0);
    HBITMAP Mask = static_cast<HBITMAP>(SelectObject(MaskDC, Swap));
    auto Back = ScopeExit([&] {
      SelectObject(MaskDC, Mask);
      DeleteObject(Swap);
    });
    MaskBlt(DstDC, DstX, DstY, DstW, DstH, SrcDC, SrcX, SrcY, Mask, MaskX, MaskY, MakeROP4(DSTCOPY, SRCCOPY));
    return;
  }
  HDC ColorDC = CreateCompatibleDC(DstDC);
  CheckGDIResult(ColorDC ? 1 : 0);
  auto FreeColorDC = ScopeExit([&] { DeleteDC(ColorDC); });
  HBITMAP ColorBmp = CreateCompatibleBitmap(DstDC, SrcW, SrcH);
  CheckGDIResult(ColorBmp ? 1 : 0);
  auto FreeColorBmp = ScopeExit([&] { DeleteObject(ColorBmp); });
  HGDIOBJ OldColor = SelectObject(ColorDC, ColorBmp);
  auto UnselectColor = ScopeExit([&] { SelectObject(ColorDC, OldColor); });
  {
    HDC MonoDC = CreateCompatibleDC(DstDC);
    CheckGDIResult(MonoDC ? 1 : 0);
    auto FreeMonoDC = ScopeExit([&] { DeleteDC(MonoDC); });
    HBITMAP MonoBmp = CreateBitmap(SrcW, SrcH, 1, 1, nullptr);
    CheckGDIResult(MonoBmp ? 1 : 0);
    auto FreeMonoBmp = ScopeExit([&] { DeleteObject(MonoBmp); });
    HGDIOBJ OldMono = SelectObject(MonoDC, MonoBmp);
    auto UnselectMono = ScopeExit([&] { SelectObject(MonoDC, OldMono); });
    BitBlt(MonoDC, 0, 0, SrcW, SrcH, MaskDC, MaskX, MaskY, NOTSRCCOPY);
    HPALETTE SrcPal = static_cast<HPALETTE>(GetCurrentObject(SrcDC, OBJ_PAL));
    if (!SrcPal) SrcPal = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    HPALETTE OldPal = SelectPalette(ColorDC, SrcPal, TRUE);
    RealizePalette(ColorDC);
    BitBlt(ColorDC, 0, 0, SrcW, SrcH, MonoDC, 0, 0, SRCCOPY);
    BitBlt(ColorDC, 0, 0, SrcW, SrcH, SrcDC, SrcX, SrcY, SRCAND);
    if (OldPal) SelectPalette(ColorDC, OldPal, TRUE);
  }
  const COLORREF OldText = SetTextColor(DstDC, RGB(0, 0, 0));
  const COLORREF OldBack = SetBkColor(DstDC, RGB(255, 255, 255));
  StretchBlt(DstDC, DstX, DstY, DstW, DstH, MaskDC, MaskX, MaskY, SrcW, SrcH, SRCAND);
  StretchBlt(DstDC, DstX, DstY, DstW, DstH, ColorDC, 0, 0, SrcW, SrcH, SRCPAINT);
  SetTextColor(DstDC, OldText);
  SetBkColor(DstDC, OldBack);
}

}  // namespace

TGIFSubImage::TGIFSubImage(TGIFImage* AImage)
    : TGIFItem(AImage),
      FLocalColors(std::make_unique<TGIFLocalColorMap>(this)),
      FExtensions(std::make_unique<TGIFExtensionList>(this)) {}

TGIFSubImage::~TGIFSubImage() {
  if (FImage) FImage->Frames()->Remove(this);
  Reset();
  FExtensions.reset();
  FLocalColors.reset();
  if (FFramePalette) DeleteObject(FFramePalette);
}

Integer TGIFSubImage::RequiredVersion() {
  return (FLocalColors->UsageSorted() || FExtensions->Count() > 0) ? 2 : 1;
}

void TGIFSubImage::Reset() {
  FExtensions->Clear();
  FLocalColors->Reset();
  FPixels.clear();
  FPixels.shrink_to_fit();
  Descriptor.Height = 0;
  Descriptor.Width = 0;
  FHasTransparency = false;
  FControlExt = nullptr;
  FFrameBitmap.reset();
  FreeMask();
  // The palette is made from the tables just emptied.
  if (FFramePalette) DeleteObject(FFramePalette);
  FFramePalette = nullptr;
}

bool TGIFSubImage::IsEmpty() const {
  return FPixels.empty() || Descriptor.Width == 0 || Descriptor.Height == 0;
}

TRect TGIFSubImage::FrameRect() const {
  return TRect{GetLeft(), GetTop(), GetLeft() + GetWidth(), GetTop() + GetHeight()};
}

void TGIFSubImage::PlaceFrame(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  auto Clamp16 = [](Integer V) { return static_cast<Word>(std::clamp<Integer>(V, 0, 0xFFFF)); };
  const bool SizeChanged = Clamp16(AWidth) != Descriptor.Width || Clamp16(AHeight) != Descriptor.Height;
  Descriptor.Left = Clamp16(ALeft);
  Descriptor.Top = Clamp16(ATop);
  Descriptor.Width = Clamp16(AWidth);
  Descriptor.Height = Clamp16(AHeight);
  if (SizeChanged) {
    FFrameBitmap.reset();
    FreeMask();
    AllocPixels();
  }
  if (!FImage) return;
  bool Warned = false;
  const Integer Right = GetLeft() + GetWidth(), Bottom = GetTop() + GetHeight();
  if (FImage->GetWidth() < Right) {
    if (FImage->GetWidth() > 0) {
      Warn(1, "Image width too small for contained frames");
      Warned = true;
    }
    FImage->SetWidth(Right);
  }
  if (FImage->GetHeight() < Bottom) {
    if (FImage->GetHeight() > 0) {
      Warn(1, "Image height too small for contained frames");
      Warned = true;
    }
    FImage->SetHeight(Bottom);
  }
  if (Warned) Warn(1, "Image exceeds Logical Screen size");
}

void TGIFSubImage::AllocPixels() {
  FPixels.clear();
  FPixels.shrink_to_fit();
  const std::size_t N = std::size_t(GetWidth()) * std::size_t(GetHeight());
  if (N > 0) FPixels.assign(N, 0);
}

void TGIFSubImage::RequirePixels() {
  if (FPixels.empty()) AllocPixels();
  if (FPixels.empty()) RaiseGIFError("Image is empty");
}

Byte TGIFSubImage::PixelAt(Integer X, Integer Y) {
  if (X < 0 || X >= GetWidth()) RaiseGIFError("Invalid pixel coordinates");
  return RowAt(Y)[X];
}

Byte* TGIFSubImage::RowAt(Integer Y) {
  if (Y < 0 || Y >= GetHeight()) RaiseGIFError("Invalid pixel coordinates");
  RequirePixels();
  return FPixels.data() + std::size_t(Y) * std::size_t(GetWidth());
}

TGIFColorMap* TGIFSubImage::ActiveColors() {
  if (FLocalColors->Count() > 0) return FLocalColors.get();
  if (FImage && FImage->ScreenColors()->Count() > 0) return FImage->ScreenColors();
  return FLocalColors.get();
}

HPALETTE TGIFSubImage::ResolvePalette() {
  if (FFrameBitmap) {
    HPALETTE P = FFrameBitmap->GetPalette();
    if (P) return P;
  }
  if (FFramePalette) return FFramePalette;
  if (FImage && FImage->DitherActive()) {
    FFramePalette = CreateWebPalette();
    return FFramePalette;
  }
  if (FLocalColors->Count() > 0) {
    FFramePalette = FLocalColors->ToPalette();
    return FFramePalette;
  }
  return FImage ? FImage->GetPalette() : nullptr;
}

void TGIFSubImage::ReplacePalette(HPALETTE Palette) {
  if (Palette == FFramePalette) return;
  if (FFramePalette) DeleteObject(FFramePalette);
  FFramePalette = Palette;
  if (FFrameBitmap && (Palette == nullptr || Palette != FFrameBitmap->GetPalette())) {
    FFrameBitmap.reset();
    if (FImage) {
      FImage->PaletteModified = true;
      FImage->NotifyChanged(this);
    }
  }
}

void TGIFSubImage::DropBitmaps() {
  FFrameBitmap.reset();
  FreeMask();
}

void TGIFSubImage::FreeMask() {
  if (FMaskBitmap) DeleteObject(FMaskBitmap);
  FMaskBitmap = nullptr;
  FMaskStale = true;
}

void TGIFSubImage::Progress(TProgressStage Stage, Byte Percent, bool RedrawNow, const std::string& Msg) {
  if (FImage) FImage->Progress(this, Stage, Percent, RedrawNow, Msg);
}

TBitmap* TGIFSubImage::FrameImage() {
  if (FFrameBitmap || IsEmpty()) return FFrameBitmap.get();
  Progress(psStarting, 0, false, "Rendering...");
  bool Done = false;
  try {
    RenderFrame(FImage && FImage->DitherActive());
    Done = true;
  } catch (EAbort&) {
    FFrameBitmap.reset();
  } catch (...) {
    Progress(psEnding, 0, FImage && FImage->PaletteModified, "Rendering...");
    throw;
  }
  const bool Modified = FImage && FImage->PaletteModified;
  Progress(psEnding, Done ? 100 : 0, Modified, "Rendering...");
  if (Modified) FImage->NotifyChanged(this);
  return FFrameBitmap.get();
}

void TGIFSubImage::RenderFrame(bool Dithered) {
  const Integer W = GetWidth(), H = GetHeight();
  auto Bitmap = std::make_unique<TBitmap>();
  if (Int64(W) * H > LargeFramePixels) Bitmap->SetPixelFormat(pf1bit);
  const bool WantMask = FMaskStale && FHasTransparency;
  FMaskStale = false;
  const bool Masking = WantMask && FMaskBitmap == nullptr;
  const Byte TransparentIndex = FControlExt ? FControlExt->GetTransparentIndex() : 0;
  const Integer MaskRow = ((W + 15) / 16) * 2;
  std::vector<Byte> Mask;
  if (Masking) Mask.assign(std::size_t(MaskRow) * std::size_t(H), 0);
  bool AnyTransparent = false;
  {
    TDIBWriter Writer(Bitmap.get(), pf8bit, W, H, ResolvePalette());
    TGIFColorMap* Colors = ActiveColors();
    TNetscapeColorLookup Lookup;
    TFloydSteinbergDitherer Ditherer(W, &Lookup);
    for (Integer Y = 0; Y < H; ++Y) {
      if (Y % 32 == 0) Progress(psRunning, static_cast<Byte>(Int64(Y) * 100 / H), false, "Rendering...");
      const Byte* Src = FPixels.data() + std::size_t(Y) * std::size_t(W);
      Byte* Dst = static_cast<Byte*>(Writer.RowAddress(Y));
      Byte* MaskLine = Masking ? Mask.data() + std::size_t(Y) * std::size_t(MaskRow) : nullptr;
      if (!Dithered) {
        std::memcpy(Dst, Src, std::size_t(W));
        if (Masking)
          for (Integer X = 0; X < W; ++X)
            if (Src[X] == TransparentIndex) {
              MaskLine[X >> 3] |= static_cast<Byte>(0x80 >> (X & 7));
              AnyTransparent = true;
            }
        continue;
      }
      // Transparent pixels keep index 0 of the web palette (black); the mask hides them.
      if (Masking) std::memset(Dst, 0, std::size_t(W));
      Byte R, G, B;
      while (Ditherer.CurrentColumn >= 0 && Ditherer.CurrentColumn < W) {
        const Integer X = Ditherer.CurrentColumn;
        const Byte Index = Src[X];
        if (Masking && Index == TransparentIndex) {
          MaskLine[X >> 3] |= static_cast<Byte>(0x80 >> (X & 7));
          AnyTransparent = true;
          Ditherer.AdvanceColumn();
          continue;
        }
        TGIFColor C;
        if (Index < Colors->Count()) C = Colors->Entry(Index);
        Dst[X] = Ditherer.DitherPixel(C.Red, C.Green, C.Blue, R, G, B);
      }
      Ditherer.StartNextRow();
    }
  }
  if (Masking && AnyTransparent) FMaskBitmap = CreateBitmap(W, H, 1, 1, Mask.data());
  FFrameBitmap = std::move(Bitmap);
}

bool TGIFSubImage::HasMaskBitmap() {
  if (FMaskStale && FHasTransparency) {
    FFrameBitmap.reset();
    FrameImage();
  }
  return FMaskBitmap != nullptr;
}

void TGIFSubImage::AssignTo(TPersistent* Dest) {
  if (auto* Bitmap = dynamic_cast<TBitmap*>(Dest)) {
    Bitmap->Assign(FrameImage());
    return;
  }
  TGIFItem::AssignTo(Dest);
}

TRect TGIFSubImage::MapToRect(const TRect& Rect) {
  const Integer SW = std::max<Integer>(FImage->GetWidth(), 1), SH = std::max<Integer>(FImage->GetHeight(), 1);
  const Integer RW = Rect.Right - Rect.Left, RH = Rect.Bottom - Rect.Top;
  return TRect{Rect.Left + MulDiv(GetLeft(), RW, SW), Rect.Top + MulDiv(GetTop(), RH, SH),
               Rect.Left + MulDiv(GetLeft() + GetWidth(), RW, SW),
               Rect.Top + MulDiv(GetTop() + GetHeight(), RH, SH)};
}

void TGIFSubImage::PaintTo(TCanvas* Canvas, const TRect& Rect, bool Transparent, bool Tiled) {
  PaintScaled(Canvas, Tiled ? Rect : MapToRect(Rect), Tiled, Transparent);
}

void TGIFSubImage::PaintScaled(TCanvas* Canvas, const TRect& Rect, bool Tiled, bool Transparent) {
  const Integer SW = std::max<Integer>(FImage->GetWidth(), 1), SH = std::max<Integer>(FImage->GetHeight(), 1);
  const Integer W = GetWidth(), H = GetHeight();
  // Tiles of the frame's size, one per logical screen repeat, columns outer.
  auto ForEachTile = [&](auto&& Draw) {
    for (Integer X = Rect.Left + GetLeft(); X < Rect.Right; X += SW)
      for (Integer Y = Rect.Top + GetTop(); Y < Rect.Bottom; Y += SH) Draw(X, Y);
  };
  if (Transparent && FHasTransparency && HasMaskBitmap()) {
    TBitmap* Bitmap = FrameImage();
    if (!Bitmap) return;
    HDC MaskDC = CreateCompatibleDC(nullptr);
    CheckGDIResult(MaskDC ? 1 : 0);
    HGDIOBJ OldMask = SelectObject(MaskDC, FMaskBitmap);
    auto Release = ScopeExit([&] {
      SelectObject(MaskDC, OldMask);
      DeleteDC(MaskDC);
    });
    HDC Src = Bitmap->GetCanvas()->GetHandle();
    HDC Dst = Canvas->GetHandle();
    if (Tiled)
      ForEachTile(
          [&](Integer X, Integer Y) { TransparentStretch(Dst, X, Y, W, H, Src, 0, 0, W, H, MaskDC, 0, 0); });
    else
      TransparentStretch(Dst, Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top, Src, 0, 0,
                         W, H, MaskDC, 0, 0);
    Canvas->Changed();
    return;
  }
  TBitmap* Bitmap = FrameImage();
  if (!Bitmap) return;
  if (Tiled)
    ForEachTile([&](Integer X, Integer Y) { Canvas->StretchDraw(TRect{X, Y, X + W, Y + H}, Bitmap); });
  else
    Canvas->StretchDraw(Rect, Bitmap);
}
