#include "platform/classes/Canvas.h"

#include "platform/classes/Bitmap.h"
#include "platform/classes/Graphic.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Palettes.h"
#include "platform/gdi/Text.h"
#include "platform/system/Exceptions.h"
#include "platform/system/ScopeExit.h"

namespace {

// Pattern where the source is 1, destination elsewhere: D xor (S and (P xor D)).
constexpr DWORD ROP_DSPDxax = 0x00E20746;
constexpr DWORD ROP_DstCopy = 0x00AA0029;

// Selects Object into DC for the life of the guard.
class TSelectGuard {
 public:
  TSelectGuard(HDC DC, HGDIOBJ Object) : FDC(DC), FOld(SelectObject(DC, Object)) {}
  ~TSelectGuard() {
    if (FOld) SelectObject(FDC, FOld);
  }
  TSelectGuard(const TSelectGuard&) = delete;
  TSelectGuard& operator=(const TSelectGuard&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

}  // namespace

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  FFont->OnChange = TNotifyEvent(this, &TCanvas::FontChanged);
  FPen->OnChange = TNotifyEvent(this, &TCanvas::PenChanged);
  FBrush->OnChange = TNotifyEvent(this, &TCanvas::BrushChanged);
}

TCanvas::~TCanvas() {
  // The objects' handles outlive nothing: they leave the DC first.
  DeselectHandles();
  FHandle = nullptr;
}

// ---- State ----

void TCanvas::SetHandle(HDC Value) {
  if (Value == FHandle) return;
  if (FHandle != nullptr) {
    DeselectHandles();
    POINT P;
    if (GetCurrentPositionEx(FHandle, &P)) FPenPos = P;
    FHandle = nullptr;
    State.Exclude(csHandleValid);
  }
  if (Value != nullptr) {
    State.Include(csHandleValid);
    FHandle = Value;
    MoveToEx(FHandle, FPenPos.X, FPenPos.Y, nullptr);
  }
}

HDC TCanvas::GetHandle() {
  Changing();
  RequiredState(csAllValid);
  return FHandle;
}

void TCanvas::RequiredState(TCanvasState ReqState) {
  const TCanvasState Needed = ReqState - State;
  if (Needed.IsEmpty()) return;
  if (Needed.Contains(csHandleValid)) {
    CreateHandle();
    if (FHandle == nullptr) throw EInvalidOperation("Canvas does not allow drawing");
  }
  if (Needed.Contains(csFontValid)) CreateFont();
  if (Needed.Contains(csPenValid)) CreatePen();
  if (Needed.Contains(csBrushValid)) CreateBrush();
  State += Needed;
}

void TCanvas::CreateFont() {
  SelectObject(FHandle, FFont->GetHandle());
  SetTextColor(FHandle, ColorToRGB(FFont->GetColor()));
}

void TCanvas::CreatePen() {
  SelectObject(FHandle, FPen->GetHandle());
  SetROP2(FHandle, PenModeToRop2(FPen->GetMode()));
}

void TCanvas::CreateBrush() {
  SelectObject(FHandle, FBrush->GetHandle());
  // Hatched and clear brushes leave the destination between their lines.
  if (FBrush->GetStyle() == bsSolid) {
    SetBkColor(FHandle, ColorToRGB(FBrush->GetColor()));
    SetBkMode(FHandle, OPAQUE);
  } else {
    SetBkColor(FHandle, ~ColorToRGB(FBrush->GetColor()) & 0x00FFFFFF);
    SetBkMode(FHandle, TRANSPARENT);
  }
}

void TCanvas::DeselectHandles() {
  if (FHandle == nullptr) return;
  if (!State.Contains(csPenValid) && !State.Contains(csBrushValid) && !State.Contains(csFontValid)) return;
  SelectObject(FHandle, GetStockObject(BLACK_PEN));
  SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
  SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
  State -= TCanvasState{csPenValid, csBrushValid, csFontValid};
}

void TCanvas::FontChanged(TObject*) {
  if (!State.Contains(csFontValid)) return;
  State.Exclude(csFontValid);
  SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
}

void TCanvas::PenChanged(TObject*) {
  if (!State.Contains(csPenValid)) return;
  State.Exclude(csPenValid);
  SelectObject(FHandle, GetStockObject(BLACK_PEN));
}

void TCanvas::BrushChanged(TObject*) {
  if (!State.Contains(csBrushValid)) return;
  State.Exclude(csBrushValid);
  SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
}

void TCanvas::Refresh() {
  DeselectHandles();
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

// ---- Lock ----

void TCanvas::Lock() {
  {
    std::lock_guard<std::mutex> G(FCountLock);
    ++FLockCount;
  }
  FLock.lock();
}

void TCanvas::Unlock() {
  FLock.unlock();
  std::lock_guard<std::mutex> G(FCountLock);
  --FLockCount;
}

bool TCanvas::TryLock() {
  std::lock_guard<std::mutex> G(FCountLock);
  if (FLockCount != 0) return false;
  // Nobody counts a lock, so nobody holds one: this does not wait.
  ++FLockCount;
  FLock.lock();
  return true;
}

Integer TCanvas::GetLockCount() const {
  std::lock_guard<std::mutex> G(FCountLock);
  return FLockCount;
}

// ---- Properties ----

TRect TCanvas::GetClipRect() {
  RequiredState(TCanvasState{csHandleValid});
  RECT R;
  GetClipBox(FHandle, &R);
  return R;
}

TPoint TCanvas::GetPenPos() {
  RequiredState(TCanvasState{csHandleValid});
  POINT P;
  GetCurrentPositionEx(FHandle, &P);
  return P;
}

TColor TCanvas::GetPixels(Integer X, Integer Y) {
  RequiredState(TCanvasState{csHandleValid});
  return static_cast<TColor>(::GetPixel(FHandle, X, Y));
}

void TCanvas::SetPixels(Integer X, Integer Y, TColor Value) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csPenValid});
  ::SetPixel(FHandle, X, Y, ColorToRGB(Value));
  Changed();
}

// ---- Drawing ----

void TCanvas::Arc(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4,
                  Integer Y4) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csPenValid});
  ::Arc(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Chord(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4,
                    Integer Y4) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csPenValid, csBrushValid});
  ::Chord(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Pie(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4,
                  Integer Y4) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csPenValid, csBrushValid});
  ::Pie(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csPenValid, csBrushValid});
  ::Ellipse(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csPenValid, csBrushValid});
  ::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csPenValid, csBrushValid});
  ::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::Polygon(std::span<const TPoint> Points) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csPenValid, csBrushValid});
  ::Polygon(FHandle, Points.data(), static_cast<Integer>(Points.size()));
  Changed();
}

void TCanvas::Polyline(std::span<const TPoint> Points) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csPenValid, csBrushValid});
  ::Polyline(FHandle, Points.data(), static_cast<Integer>(Points.size()));
  Changed();
}

void TCanvas::PolyBezier(std::span<const TPoint> Points) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csPenValid, csBrushValid});
  ::PolyBezier(FHandle, Points.data(), static_cast<DWORD>(Points.size()));
  Changed();
}

void TCanvas::PolyBezierTo(std::span<const TPoint> Points) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csPenValid, csBrushValid});
  ::PolyBezierTo(FHandle, Points.data(), static_cast<DWORD>(Points.size()));
  Changed();
}

void TCanvas::MoveTo(Integer X, Integer Y) {
  RequiredState(TCanvasState{csHandleValid});
  MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(Integer X, Integer Y) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csPenValid, csBrushValid});
  ::LineTo(FHandle, X, Y);
  Changed();
}

void TCanvas::FillRect(const TRect& Rect) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csBrushValid});
  ::FillRect(FHandle, &Rect, FBrush->GetHandle());
  Changed();
}

void TCanvas::FrameRect(const TRect& Rect) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csBrushValid});
  ::FrameRect(FHandle, &Rect, FBrush->GetHandle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& Rect) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csBrushValid});
  ::DrawFocusRect(FHandle, &Rect);
  Changed();
}

void TCanvas::FloodFill(Integer X, Integer Y, TColor Color, TFillStyle FillStyle) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csBrushValid});
  ::ExtFloodFill(FHandle, X, Y, ColorToRGB(Color),
                 FillStyle == fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER);
  Changed();
}

// ---- Text ----

TSize TCanvas::TextExtent(const std::string& Text) {
  RequiredState(TCanvasState{csHandleValid, csFontValid});
  SIZE Size{0, 0};
  GetTextExtentPoint32(FHandle, Text.data(), static_cast<Integer>(Text.size()), &Size);
  return Size;
}

void TCanvas::TextOut(Integer X, Integer Y, const std::string& Text) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csFontValid, csBrushValid});
  ExtTextOut(FHandle, X, Y, static_cast<UINT>(FTextFlags), nullptr, Text.data(),
             static_cast<UINT>(Text.size()), nullptr);
  MoveTo(X + TextWidth(Text), Y);
  Changed();
}

void TCanvas::TextRect(const TRect& Rect, Integer X, Integer Y, const std::string& Text) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csFontValid, csBrushValid});
  UINT Options = ETO_CLIPPED | static_cast<UINT>(FTextFlags);
  if (FBrush->GetStyle() != bsClear) Options |= ETO_OPAQUE;
  ExtTextOut(FHandle, X, Y, Options, &Rect, Text.data(), static_cast<UINT>(Text.size()), nullptr);
  Changed();
}

// ---- Pictures and copies ----

void TCanvas::Draw(Integer X, Integer Y, TGraphic* Graphic) {
  if (Graphic == nullptr || Graphic->Empty()) return;
  Changing();
  RequiredState(TCanvasState{csHandleValid});
  // A monochrome bitmap shows its 0 bits in the font colour and its 1 bits in the brush colour.
  SetBkColor(FHandle, ColorToRGB(FBrush->GetColor()));
  SetTextColor(FHandle, ColorToRGB(FFont->GetColor()));
  Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
  Changed();
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
  if (Graphic == nullptr) return;
  Changing();
  RequiredState(csAllValid);
  Graphic->Draw(this, Rect);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  Changing();
  RequiredState(TCanvasState{csHandleValid, csFontValid, csBrushValid});
  Canvas->RequiredState(TCanvasState{csHandleValid, csBrushValid});
  StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Canvas->FHandle, Source.Left,
             Source.Top, Source.Width(), Source.Height(), static_cast<DWORD>(FCopyMode));
  Changed();
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
  if (Bitmap == nullptr) return;
  Lock();
  auto Cleanup = ScopeExit([&] { Unlock(); });
  Changing();
  RequiredState(TCanvasState{csHandleValid, csBrushValid});
  TCanvas* Src = Bitmap->GetCanvas();
  Src->Lock();
  {
    auto SourceUnlocked = ScopeExit([&] { Src->Unlock(); });
    // A mask with 1 bits where the bitmap shows Color.
    TBitmap Mask;
    Mask.Assign(Bitmap);
    Mask.Mask(Color);
    TCanvas* MaskCanvas = Mask.GetCanvas();
    MaskCanvas->RequiredState(TCanvasState{csHandleValid});
    Src->RequiredState(TCanvasState{csHandleValid});
    const Integer DstW = Dest.Width(), DstH = Dest.Height(), SrcW = Source.Width(), SrcH = Source.Height();
    if (FBrush->GetStyle() == bsClear) {
      TransparentStretchBlt(FHandle, Dest.Left, Dest.Top, DstW, DstH, Src->FHandle, Source.Left, Source.Top,
                            SrcW, SrcH, MaskCanvas->FHandle, Source.Left, Source.Top);
    } else {
      StretchBlt(FHandle, Dest.Left, Dest.Top, DstW, DstH, Src->FHandle, Source.Left, Source.Top, SrcW, SrcH,
                 SRCCOPY);
      const COLORREF OldText = SetTextColor(FHandle, 0);
      const COLORREF OldBack = SetBkColor(FHandle, 0x00FFFFFF);
      StretchBlt(FHandle, Dest.Left, Dest.Top, DstW, DstH, MaskCanvas->FHandle, Source.Left, Source.Top, SrcW,
                 SrcH, ROP_DSPDxax);
      SetTextColor(FHandle, OldText);
      SetBkColor(FHandle, OldBack);
    }
  }
  Changed();
}

void TransparentStretchBlt(HDC DstDC, Integer DstX, Integer DstY, Integer DstW, Integer DstH, HDC SrcDC,
                           Integer SrcX, Integer SrcY, Integer SrcW, Integer SrcH, HDC MaskDC, Integer MaskX,
                           Integer MaskY) {
  if (SrcW == DstW && SrcH == DstH) {
    // The mask's 1 bits keep the destination, its 0 bits copy the source.
    HBITMAP Mask = static_cast<HBITMAP>(GetCurrentObject(MaskDC, OBJ_BITMAP));
    HBITMAP Stand = CreateBitmap(1, 1, 1, 1, nullptr);
    HGDIOBJ Old = SelectObject(MaskDC, Stand);
    MaskBlt(DstDC, DstX, DstY, DstW, DstH, SrcDC, SrcX, SrcY, Mask, MaskX, MaskY,
            MAKEROP4(ROP_DstCopy, SRCCOPY));
    SelectObject(MaskDC, Old);
    DeleteObject(Stand);
    return;
  }
  // Stretched: the source with black where the mask is set, the destination cut out by the
  // mask, then both combined.
  HDC MemDC = CreateCompatibleDC(nullptr);
  HBITMAP MemBmp = CreateCompatibleBitmap(SrcDC, SrcW, SrcH);
  if (MemBmp == nullptr) {
    DeleteDC(MemDC);
    return;
  }
  {
    TSelectGuard Select(MemDC, MemBmp);
    StretchBlt(MemDC, 0, 0, SrcW, SrcH, MaskDC, MaskX, MaskY, SrcW, SrcH, SRCCOPY);
    StretchBlt(MemDC, 0, 0, SrcW, SrcH, SrcDC, SrcX, SrcY, SrcW, SrcH, SRCERASE);
    const COLORREF OldText = SetTextColor(DstDC, 0);
    const COLORREF OldBack = SetBkColor(DstDC, 0x00FFFFFF);
    StretchBlt(DstDC, DstX, DstY, DstW, DstH, MaskDC, MaskX, MaskY, SrcW, SrcH, SRCAND);
    StretchBlt(DstDC, DstX, DstY, DstW, DstH, MemDC, 0, 0, SrcW, SrcH, SRCINVERT);
    SetTextColor(DstDC, OldText);
    SetBkColor(DstDC, OldBack);
  }
  DeleteObject(MemBmp);
  DeleteDC(MemDC);
}
