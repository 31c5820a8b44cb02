// Image lists over two DIB sections: a 32-bit strip of images and a 1-bit strip of masks.
#include "platform/user/ImageLists.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Rop3.h"
#include "platform/gdi/SysColors.h"

struct HIMAGELIST__ {
  Integer Cx = 0, Cy = 0;
  UINT Flags = 0;
  Integer Grow = 4;
  Integer Count = 0;
  Integer Capacity = 0;
  COLORREF Bk = CLR_NONE;
  HBITMAP Image = nullptr;  // Capacity * Cx by Cy, 32 bits, top-down
  DWORD* ImageBits = nullptr;
  HBITMAP Mask = nullptr;  // the same size, 1 bit (1: transparent), top-down
  Byte* MaskBits = nullptr;

  bool Masked() const { return Flags & ILC_MASK; }
  Integer ImageStride() const { return Capacity * Cx; }                   // pixels
  Integer MaskStride() const { return ((Capacity * Cx + 31) / 32) * 4; }  // bytes
  DWORD* ImageRow(Integer Y) const { return ImageBits + static_cast<std::size_t>(Y) * ImageStride(); }
  Byte* MaskRow(Integer Y) const { return MaskBits + static_cast<std::size_t>(Y) * MaskStride(); }
  bool MaskBit(Integer X, Integer Y) const { return MaskRow(Y)[X >> 3] & (0x80 >> (X & 7)); }
  void SetMaskBit(Integer X, Integer Y, bool Transparent) const {
    Byte& B = MaskRow(Y)[X >> 3];
    const Byte Bit = static_cast<Byte>(0x80 >> (X & 7));
    B = Transparent ? (B | Bit) : (B & ~Bit);
  }
};

namespace {

constexpr DWORD DSTCOPY = 0x00AA0029;

bool Valid(HIMAGELIST L) {
  return L != nullptr && L->Cx > 0 && L->Cy > 0;
}

DWORD RgbToPixel(COLORREF C) {
  return (C & 0x0000FF) << 16 | (C & 0x00FF00) | (C & 0xFF0000) >> 16;
}

HBITMAP MakeSection(Integer Width, Integer Height, Integer BitCount, void** Bits) {
  BITMAPINFO Info;
  Info.bmiHeader.biWidth = Width;
  Info.bmiHeader.biHeight = -Height;
  Info.bmiHeader.biBitCount = static_cast<WORD>(BitCount);
  if (BitCount == 1) {
    Info.bmiColors[1] = RGBQUAD{255, 255, 255, 0};
    Info.bmiHeader.biClrUsed = 2;
  }
  return CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, Bits, nullptr, 0);
}

// Room for at least Needed images; the images kept.
bool Reserve(HIMAGELIST L, Integer Needed) {
  if (Needed <= L->Capacity) return true;
  const Integer NewCapacity = std::max(Needed, L->Capacity + std::max(1, L->Grow));
  void* ImageBits = nullptr;
  void* MaskBits = nullptr;
  HBITMAP Image = MakeSection(NewCapacity * L->Cx, L->Cy, 32, &ImageBits);
  HBITMAP Mask = MakeSection(NewCapacity * L->Cx, L->Cy, 1, &MaskBits);
  if (Image == nullptr || Mask == nullptr) {
    if (Image) DeleteObject(Image);
    if (Mask) DeleteObject(Mask);
    return false;
  }
  const Integer NewImageStride = NewCapacity * L->Cx;
  const Integer NewMaskStride = ((NewCapacity * L->Cx + 31) / 32) * 4;
  if (L->Image != nullptr)
    for (Integer Y = 0; Y < L->Cy; ++Y) {
      std::memcpy(static_cast<DWORD*>(ImageBits) + static_cast<std::size_t>(Y) * NewImageStride,
                  L->ImageRow(Y), static_cast<std::size_t>(L->ImageStride()) * 4);
      std::memcpy(static_cast<Byte*>(MaskBits) + static_cast<std::size_t>(Y) * NewMaskStride, L->MaskRow(Y),
                  static_cast<std::size_t>(L->MaskStride()));
    }
  if (L->Image) DeleteObject(L->Image);
  if (L->Mask) DeleteObject(L->Mask);
  L->Image = Image;
  L->Mask = Mask;
  L->ImageBits = static_cast<DWORD*>(ImageBits);
  L->MaskBits = static_cast<Byte*>(MaskBits);
  L->Capacity = NewCapacity;
  return true;
}

// A bitmap's pixels as 32-bit 0x00RRGGBB rows, top-down.
bool ReadPixels(HBITMAP B, std::vector<DWORD>& Pixels, Integer& Width, Integer& Height) {
  BITMAP Bm;
  if (B == nullptr || GetObject(B, sizeof Bm, &Bm) == 0 || Bm.bmWidth <= 0 || Bm.bmHeight == 0) return false;
  Width = Bm.bmWidth;
  Height = std::abs(Bm.bmHeight);
  BITMAPINFO Info;
  Info.bmiHeader.biWidth = Width;
  Info.bmiHeader.biHeight = -Height;
  Info.bmiHeader.biBitCount = 32;
  Pixels.assign(static_cast<std::size_t>(Width) * Height, 0);
  HDC DC = CreateCompatibleDC(nullptr);
  const Integer Lines = GetDIBits(DC, B, 0, static_cast<UINT>(Height), Pixels.data(), &Info, DIB_RGB_COLORS);
  DeleteDC(DC);
  return Lines > 0;
}

// Copies image Slot from the pixels at column Left; transparency from MaskPixels (white) or
// from KeyPixel (ByKey), stored black.
void StoreImage(HIMAGELIST L, Integer Slot, const std::vector<DWORD>& Pixels, Integer Width, Integer Height,
                Integer Left, const std::vector<DWORD>* MaskPixels, Integer MaskWidth, Integer MaskHeight,
                bool ByKey, DWORD KeyPixel) {
  for (Integer Y = 0; Y < L->Cy; ++Y) {
    DWORD* Row = L->ImageRow(Y) + Slot * L->Cx;
    for (Integer X = 0; X < L->Cx; ++X) {
      const Integer Sx = Left + X;
      const bool Inside = Sx < Width && Y < Height;
      DWORD P = Inside ? Pixels[static_cast<std::size_t>(Y) * Width + Sx] & 0x00FFFFFF : 0;
      bool Transparent = false;
      if (ByKey)
        Transparent = Inside && P == KeyPixel;
      else if (MaskPixels != nullptr)
        Transparent =
            Sx < MaskWidth && Y < MaskHeight &&
            ((*MaskPixels)[static_cast<std::size_t>(Y) * MaskWidth + Sx] & 0x00FFFFFF) == 0x00FFFFFF;
      if (Transparent && L->Masked()) P = 0;
      Row[X] = P;
      L->SetMaskBit(Slot * L->Cx + X, Y, L->Masked() && Transparent);
    }
  }
}

Integer AddImages(HIMAGELIST L, HBITMAP Image, HBITMAP Mask, bool ByKey, COLORREF Key) {
  if (!Valid(L)) return -1;
  std::vector<DWORD> Pixels, MaskPixels;
  Integer W = 0, H = 0, Mw = 0, Mh = 0;
  if (!ReadPixels(Image, Pixels, W, H)) return -1;
  const bool HasMask = !ByKey && Mask != nullptr && ReadPixels(Mask, MaskPixels, Mw, Mh);
  const Integer N = std::max(1, W / L->Cx);
  const Integer First = L->Count;
  if (!Reserve(L, First + N)) return -1;
  for (Integer I = 0; I < N; ++I)
    StoreImage(L, First + I, Pixels, W, H, I * L->Cx, HasMask ? &MaskPixels : nullptr, Mw, Mh, ByKey,
               RgbToPixel(Key & 0x00FFFFFF));
  L->Count += N;
  return First;
}

// Moves images From .. Count - 1 to To (To < From).
void ShiftImages(HIMAGELIST L, Integer To, Integer From) {
  const Integer Moved = (L->Count - From) * L->Cx;
  for (Integer Y = 0; Y < L->Cy; ++Y) {
    std::memmove(L->ImageRow(Y) + To * L->Cx, L->ImageRow(Y) + From * L->Cx,
                 static_cast<std::size_t>(Moved) * 4);
    for (Integer X = 0; X < Moved; ++X) L->SetMaskBit(To * L->Cx + X, Y, L->MaskBit(From * L->Cx + X, Y));
  }
}

// The image's pixels with Fg mixed into them (Percent of it), as a DIB section of W x H.
HBITMAP BlendedCopy(HIMAGELIST L, Integer Index, Integer W, Integer H, COLORREF Fg, Integer Percent) {
  void* Bits = nullptr;
  HBITMAP B = MakeSection(W, H, 32, &Bits);
  if (B == nullptr) return nullptr;
  const DWORD F = RgbToPixel(Fg);
  auto Mix = [Percent](DWORD A, DWORD B, Integer Shift) {
    const Integer Ca = static_cast<Integer>((A >> Shift) & 0xFF),
                  Cb = static_cast<Integer>((B >> Shift) & 0xFF);
    return static_cast<DWORD>((Ca * (100 - Percent) + Cb * Percent) / 100) << Shift;
  };
  for (Integer Y = 0; Y < H; ++Y) {
    const DWORD* Src = L->ImageRow(Y) + Index * L->Cx;
    DWORD* Dst = static_cast<DWORD*>(Bits) + static_cast<std::size_t>(Y) * W;
    for (Integer X = 0; X < W; ++X) Dst[X] = Mix(Src[X], F, 16) | Mix(Src[X], F, 8) | Mix(Src[X], F, 0);
  }
  return B;
}

}  // namespace

HIMAGELIST ImageList_Create(Integer Cx, Integer Cy, UINT Flags, Integer Initial, Integer Grow) {
  if (Cx <= 0 || Cy <= 0) return nullptr;
  auto* L = new HIMAGELIST__;
  L->Cx = Cx;
  L->Cy = Cy;
  L->Flags = Flags;
  L->Grow = std::max(1, Grow);
  if (!Reserve(L, std::max(1, Initial))) {
    delete L;
    return nullptr;
  }
  return L;
}

BOOL ImageList_Destroy(HIMAGELIST List) {
  if (List == nullptr) return FALSE;
  if (List->Image) DeleteObject(List->Image);
  if (List->Mask) DeleteObject(List->Mask);
  delete List;
  return TRUE;
}

HIMAGELIST ImageList_Duplicate(HIMAGELIST List) {
  if (!Valid(List)) return nullptr;
  HIMAGELIST Copy = ImageList_Create(List->Cx, List->Cy, List->Flags, std::max(1, List->Count), List->Grow);
  if (Copy == nullptr) return nullptr;
  Copy->Bk = List->Bk;
  Copy->Count = List->Count;
  for (Integer Y = 0; Y < List->Cy; ++Y) {
    std::memcpy(Copy->ImageRow(Y), List->ImageRow(Y), static_cast<std::size_t>(List->Count * List->Cx) * 4);
    for (Integer X = 0; X < List->Count * List->Cx; ++X) Copy->SetMaskBit(X, Y, List->MaskBit(X, Y));
  }
  return Copy;
}

Integer ImageList_GetImageCount(HIMAGELIST List) {
  return Valid(List) ? List->Count : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST List, Integer* Cx, Integer* Cy) {
  if (!Valid(List) || Cx == nullptr || Cy == nullptr) return FALSE;
  *Cx = List->Cx;
  *Cy = List->Cy;
  return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST List, Integer Cx, Integer Cy) {
  if (!Valid(List) || Cx <= 0 || Cy <= 0) return FALSE;
  if (List->Image) DeleteObject(List->Image);
  if (List->Mask) DeleteObject(List->Mask);
  List->Image = List->Mask = nullptr;
  List->ImageBits = nullptr;
  List->MaskBits = nullptr;
  List->Capacity = List->Count = 0;
  List->Cx = Cx;
  List->Cy = Cy;
  return Reserve(List, 1) ? TRUE : FALSE;
}

UINT ImageList_GetFlags(HIMAGELIST List) {
  return Valid(List) ? List->Flags : 0;
}

COLORREF ImageList_SetBkColor(HIMAGELIST List, COLORREF Color) {
  if (!Valid(List)) return CLR_NONE;
  const COLORREF Old = List->Bk;
  List->Bk = Color;
  return Old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST List) {
  return Valid(List) ? List->Bk : CLR_NONE;
}

Integer ImageList_Add(HIMAGELIST List, HBITMAP Image, HBITMAP Mask) {
  return AddImages(List, Image, Mask, false, 0);
}

Integer ImageList_AddMasked(HIMAGELIST List, HBITMAP Image, COLORREF MaskColor) {
  return AddImages(List, Image, nullptr, true, MaskColor);
}

BOOL ImageList_Replace(HIMAGELIST List, Integer Index, HBITMAP Image, HBITMAP Mask) {
  if (!Valid(List) || Index < 0 || Index >= List->Count) return FALSE;
  std::vector<DWORD> Pixels, MaskPixels;
  Integer W = 0, H = 0, Mw = 0, Mh = 0;
  if (!ReadPixels(Image, Pixels, W, H)) return FALSE;
  const bool HasMask = Mask != nullptr && ReadPixels(Mask, MaskPixels, Mw, Mh);
  StoreImage(List, Index, Pixels, W, H, 0, HasMask ? &MaskPixels : nullptr, Mw, Mh, false, 0);
  return TRUE;
}

BOOL ImageList_Remove(HIMAGELIST List, Integer Index) {
  if (!Valid(List)) return FALSE;
  if (Index == -1) {
    List->Count = 0;
    return TRUE;
  }
  if (Index < 0 || Index >= List->Count) return FALSE;
  ShiftImages(List, Index, Index + 1);
  --List->Count;
  return TRUE;
}

BOOL ImageList_GetImageInfo(HIMAGELIST List, Integer Index, IMAGEINFO* Info) {
  if (!Valid(List) || Info == nullptr || Index < 0 || Index >= List->Count) return FALSE;
  Info->hbmImage = List->Image;
  Info->hbmMask = List->Masked() ? List->Mask : nullptr;
  Info->rcImage = RECT{Index * List->Cx, 0, (Index + 1) * List->Cx, List->Cy};
  return TRUE;
}

BOOL ImageList_DrawEx(HIMAGELIST List, Integer Index, HDC DC, Integer X, Integer Y, Integer Dx, Integer Dy,
                      COLORREF Bk, COLORREF Fg, UINT Style) {
  if (!Valid(List) || DC == nullptr || Index < 0 || Index >= List->Count) return FALSE;
  const Integer W = Dx > 0 ? std::min(Dx, List->Cx) : List->Cx;
  const Integer H = Dy > 0 ? std::min(Dy, List->Cy) : List->Cy;
  const Integer Left = Index * List->Cx;
  if (Style & ILD_MASK) {
    HDC MaskDC = CreateCompatibleDC(nullptr);
    const HGDIOBJ Old = SelectObject(MaskDC, List->Mask);
    BitBlt(DC, X, Y, W, H, MaskDC, Left, 0, SRCCOPY);
    SelectObject(MaskDC, Old);
    DeleteDC(MaskDC);
    return TRUE;
  }
  if (Bk == CLR_DEFAULT) Bk = List->Bk;
  const bool Transparent =
      List->Masked() && !(Style & ILD_IMAGE) && ((Style & ILD_TRANSPARENT) || Bk == CLR_NONE);
  if (List->Masked() && !Transparent && !(Style & ILD_IMAGE)) {
    HBRUSH Brush = CreateSolidBrush(Bk & 0x00FFFFFF);
    const RECT R{X, Y, X + W, Y + H};
    FillRect(DC, &R, Brush);
    DeleteObject(Brush);
  }
  // The pixels drawn: the list's own, or a blended copy of them.
  HBITMAP Source = List->Image;
  Integer SourceLeft = Left;
  HBITMAP Blended = nullptr;
  if (Style & (ILD_BLEND25 | ILD_BLEND50)) {
    if (Fg == CLR_DEFAULT || Fg == CLR_NONE) Fg = GetSysColor(COLOR_HIGHLIGHT);
    Blended = BlendedCopy(List, Index, W, H, Fg, (Style & ILD_BLEND50) ? 50 : 25);
    if (Blended != nullptr) {
      Source = Blended;
      SourceLeft = 0;
    }
  }
  HDC ImageDC = CreateCompatibleDC(nullptr);
  const HGDIOBJ Old = SelectObject(ImageDC, Source);
  BOOL Done;
  if (List->Masked() && !(Style & ILD_IMAGE)) {
    // The mask must not be selected anywhere while it masks.
    Done = MaskBlt(DC, X, Y, W, H, ImageDC, SourceLeft, 0, List->Mask, Left, 0, MAKEROP4(DSTCOPY, SRCCOPY));
  } else {
    Done = BitBlt(DC, X, Y, W, H, ImageDC, SourceLeft, 0, SRCCOPY);
  }
  SelectObject(ImageDC, Old);
  DeleteDC(ImageDC);
  if (Blended) DeleteObject(Blended);
  return Done;
}

BOOL ImageList_Draw(HIMAGELIST List, Integer Index, HDC DC, Integer X, Integer Y, UINT Style) {
  return ImageList_DrawEx(List, Index, DC, X, Y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, Style);
}
