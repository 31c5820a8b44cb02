#include "raster/RS32.h"
#include "platform/system/ScopeExit.h"

#include <bit>
#include <cassert>
#include <cmath>
#include <cstring>
#include <typeinfo>

#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/Graphic.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Math.h"
#include "raster/RS32_Blend.h"
#include "raster/RS32_LowLevel.h"
#include "raster/RS32_Math.h"
#include "raster/RS32_Resamplers.h"
#include "raster/RS32_System.h"

static_assert(std::endian::native == std::endian::little,
              "pixels are stored as blue, green, red, alpha bytes");

Byte GammaTable[256];
TBilinearMixProc BilinearMix = BilinearMixPlain;

namespace {
HGDIOBJ StockFont = nullptr;
}  // namespace

// ---------------------------------------------------------------------------------------------
// Notification, lock and size

void TNotifiablePersistent::Changed() {
  if (FUpdateDepth == 0 && OnChange) OnChange(this);
}

void TNotifiablePersistent::BeginUpdate() {
  ++FUpdateDepth;
}

void TNotifiablePersistent::EndUpdate() {
  if (FUpdateDepth <= 0) throw EAssertionFailed("Unpaired TThreadPersistent.EndUpdate (RS32.pas, line 1526)");
  --FUpdateDepth;
}

TThreadPersistent::TThreadPersistent() {
  InitializeCriticalSection(&FLockSection);
}

TThreadPersistent::~TThreadPersistent() {
  DeleteCriticalSection(&FLockSection);
}

void TThreadPersistent::Lock() {
  ++FLockDepth;
  EnterCriticalSection(&FLockSection);
}

void TThreadPersistent::Unlock() {
  LeaveCriticalSection(&FLockSection);
  --FLockDepth;
}

Integer TThreadPersistent::GetLockDepth() const {
  return FLockDepth.load();
}

bool TCustomMap::SetSize(Integer NewWidth, Integer NewHeight) {
  if (NewWidth < 0) NewWidth = 0;
  if (NewHeight < 0) NewHeight = 0;
  if (NewWidth == FWidth && NewHeight == FHeight) return false;
  ResizeStorage(FWidth, FHeight, NewWidth, NewHeight);
  Changed();
  SizeChanged();
  return true;
}

void TCustomMap::Delete() {
  SetSize(0, 0);
}

bool TCustomMap::Empty() const {
  return FWidth == 0 || FHeight == 0;
}

void TCustomMap::ResizeStorage(Integer& Width, Integer& Height, Integer NewWidth, Integer NewHeight) {
  Width = NewWidth;
  Height = NewHeight;
}

void TCustomMap::SizeChanged() {
  if (OnResize) OnResize(this);
}

// ---------------------------------------------------------------------------------------------
// TBitmap32: life, surface, notification

TBitmap32::TBitmap32() {
  FSurfaceInfo = BITMAPINFO();
  FSurfaceInfo.bmiHeader.biSize = 40;
  FSurfaceInfo.bmiHeader.biPlanes = 1;
  FSurfaceInfo.bmiHeader.biBitCount = 32;
  FSurfaceInfo.bmiHeader.biCompression = BI_RGB;
  FOuterColor = 0;
  FFont = std::make_unique<TFont>();
  FFont->OnChange = TNotifyEvent(this, &TBitmap32::FontChanged);
  FMasterAlpha = 255;
  FCombineMode = cmBlend;
  NewResampler<TNearestResampler>(this);  // installs itself through SetResampler
}

// Freeing the surface allocates nothing, so nothing here throws.
TBitmap32::~TBitmap32() {
  BeginUpdate();
  Lock();
  FreeCanvas();
  SetSize(0, 0);
  FFont.reset();
  FResampler.reset();
  Unlock();
}

bool TBitmap32::Empty() const {
  return TCustomMap::Empty() || FPixels == nullptr;
}

void TBitmap32::FreeSurface() {
  if (FSurfaceDC != nullptr) {
    DeleteDC(FSurfaceDC);
    FSurfaceDC = nullptr;
  }
  if (FSurfaceHandle != nullptr) {
    DeleteObject(FSurfaceHandle);
    FSurfaceHandle = nullptr;
  }
  FPixels = nullptr;
}

void TBitmap32::ResizeStorage(Integer& Width, Integer& Height, Integer NewWidth, Integer NewHeight) {
  FreeCanvas();
  FreeSurface();
  Width = 0;
  Height = 0;
  auto Cleanup = ScopeExit([&] {
    ResetClipRect();
    HandleChanged();
  });
  if (NewWidth > 0 && NewHeight > 0) {
    FSurfaceInfo.bmiHeader.biWidth = NewWidth;
    FSurfaceInfo.bmiHeader.biHeight = -NewHeight;
    void* Bits = nullptr;
    FSurfaceHandle = CreateDIBSection(nullptr, &FSurfaceInfo, DIB_RGB_COLORS, &Bits, nullptr, 0);
    FPixels = static_cast<TColor32*>(Bits);
    if (FPixels == nullptr) {
      if (FSurfaceHandle != nullptr) DeleteObject(FSurfaceHandle);
      FSurfaceHandle = nullptr;
      throw Exception("Can't allocate the DIB handle");
    }
    FSurfaceDC = CreateCompatibleDC(nullptr);
    if (FSurfaceDC == nullptr) {
      FreeSurface();
      throw Exception("Can't create compatible DC");
    }
    if (SelectObject(FSurfaceDC, FSurfaceHandle) == nullptr) {
      FreeSurface();
      throw Exception("Can't select an object into DC");
    }
  }
  Width = NewWidth;
  Height = NewHeight;
}

void TBitmap32::HandleChanged() {
  if (FCanvas != nullptr) FCanvas->SetHandle(FSurfaceDC);
  if (OnHandleChanged) OnHandleChanged(this);
}

void TBitmap32::Changed() {
  if ((GetUpdateDepth() == 0 || FMeasuring) && OnAreaChanged) OnAreaChanged(this, BoundsRect(), AreaInfoRect);
  if (!FMeasuring) TNotifiablePersistent::Changed();
}

void TBitmap32::AreaChanged(const TRect& Area, Cardinal Info) {
  if ((GetUpdateDepth() == 0 || FMeasuring) && OnAreaChanged) OnAreaChanged(this, Area, Info);
  if (!FMeasuring) TNotifiablePersistent::Changed();
}

void TBitmap32::EnterMeasuringMode(const TAreaChangedEvent& Callback) {
  FMeasuring = true;
  FSavedAreaChanged = OnAreaChanged;
  OnAreaChanged = Callback;
}

void TBitmap32::LeaveMeasuringMode() {
  FMeasuring = false;
  OnAreaChanged = FSavedAreaChanged;
}

// ---------------------------------------------------------------------------------------------
// Settings

void TBitmap32::SetDrawMode(TDrawMode Value) {
  if (Value == FDrawMode) return;
  FDrawMode = Value;
  Changed();
}

void TBitmap32::SetCombineMode(TCombineMode Value) {
  if (Value == FCombineMode) return;
  FCombineMode = Value;
  Changed();
}

void TBitmap32::SetWrapMode(TWrapMode Value) {
  if (Value == FWrapMode) return;
  FWrapMode = Value;
  Changed();
}

void TBitmap32::SetMasterAlpha(Cardinal Value) {
  if (Value == FMasterAlpha) return;
  FMasterAlpha = Value;
  Changed();
}

void TBitmap32::SetResampler(TCustomResampler* Value) {
  if (Value == nullptr || Value == FResampler.get()) return;
  FResampler.reset(Value);
  Changed();
}

std::string TBitmap32::GetResamplerClassName() const {
  return FResampler != nullptr ? FResampler->ClassName() : std::string();
}

void TBitmap32::SetResamplerClassName(const std::string& Value) {
  if (Value.empty() || Value == GetResamplerClassName() || ResamplerRegistry == nullptr) return;
  const auto* Ref = static_cast<const TResamplerClassRef*>(ResamplerRegistry->Find(Value));
  if (Ref != nullptr) Ref->Create(this);  // installs itself through SetResampler
}

void TBitmap32::SetClipRect(const TRect& Value) {
  RectIntersect(FClipRect, Value, BoundsRect());
  FClipRectFixed = FixedRectFromRect(FClipRect);
  FClipRect256 = {FClipRect.Left * 256, FClipRect.Top * 256, FClipRect.Right * 256, FClipRect.Bottom * 256};
  FClipping = !RectEqual(FClipRect, BoundsRect());
}

void TBitmap32::ResetClipRect() {
  SetClipRect(BoundsRect());
}

// ---------------------------------------------------------------------------------------------
// Copies

void TBitmap32::Assign(TPersistent* Source) {
  BeginUpdate();
  auto Cleanup = ScopeExit([&] {
    EndUpdate();
    Changed();
  });
  if (Source == nullptr) {
    SetSize(0, 0);
  } else if (auto* Src = dynamic_cast<TBitmap32*>(Source)) {
    Src->CopyPixelsTo(this);
    Src->CopySettingsTo(this);
  } else if (auto* Bitmap = dynamic_cast<TBitmap*>(Source)) {
    AssignFromPlatformBitmap(Bitmap);
  } else if (auto* Graphic = dynamic_cast<TGraphic*>(Source)) {
    AssignFromGraphic(Graphic);
  } else if (auto* Picture = dynamic_cast<TPicture*>(Source)) {
    AssignFromPicture(Picture);
  } else {
    TCustomMap::Assign(Source);
  }
}

void TBitmap32::CopyPixelsTo(TBitmap32* Dst) {
  Dst->SetSize(GetWidth(), GetHeight());
  if (Empty() || Dst == this) return;
  const std::size_t Count = static_cast<std::size_t>(GetWidth()) * static_cast<std::size_t>(GetHeight());
  std::memmove(Dst->GetPixels(), FPixels, Count * sizeof(TColor32));
}

void TBitmap32::CopySettingsTo(TBitmap32* Dst) {
  Dst->SetDrawMode(FDrawMode);
  Dst->SetCombineMode(FCombineMode);
  Dst->SetWrapMode(FWrapMode);
  Dst->SetMasterAlpha(FMasterAlpha);
  Dst->SetOuterColor(FOuterColor);
  Dst->SetResamplerClassName(GetResamplerClassName());
  if (Dst->GetResampler() != nullptr && FResampler != nullptr && Dst->GetResampler() != FResampler.get())
    Dst->GetResampler()->Assign(FResampler.get());
  if (Dst != this) Dst->GetFont()->Assign(FFont.get());
}

// ---------------------------------------------------------------------------------------------
// The "Data" block

void TBitmap32::WriteData(TStream* Stream) {
  const Integer Size[2] = {GetWidth(), GetHeight()};
  Stream->WriteBuffer(Size, sizeof(Size));
  if (Empty()) return;
  const Byte* P = reinterpret_cast<const Byte*>(FPixels);
  Int64 Left = static_cast<Int64>(GetWidth()) * GetHeight() * 4;
  // In pieces: the stream's counts are 32-bit.
  constexpr Int64 Piece = 1 << 30;
  for (; Left > 0; Left -= Piece, P += Piece)
    Stream->WriteBuffer(P, static_cast<Integer>(Left < Piece ? Left : Piece));
}

// The size in the block is checked against what the stream still holds before anything is
// allocated: a damaged or hostile block raises the read error and leaves the bitmap as it was.
void TBitmap32::ReadData(TStream* Stream) {
  auto Cleanup = ScopeExit([&] { Changed(); });
  Integer Size[2];
  Stream->ReadBuffer(Size, sizeof(Size));
  const Integer W = Size[0];
  const Integer H = Size[1];
  if (W < 0 || H < 0) throw EReadError(SReadError);
  const Int64 Count = static_cast<Int64>(W) * H;
  const Int64 Remaining = Stream->GetSize() - Stream->GetPosition();
  if (Count > Remaining / 4) throw EReadError(SReadError);
  const Int64 Bytes = Count * 4;
  SetSize(W, H);
  if (!Empty()) {
    Byte* P = reinterpret_cast<Byte*>(FPixels);
    constexpr Int64 Piece = 1 << 30;
    for (Int64 Left = Bytes; Left > 0; Left -= Piece, P += Piece)
      Stream->ReadBuffer(P, static_cast<Integer>(Left < Piece ? Left : Piece));
  }
}

bool TBitmap32::DataIsStored(TPersistent* Ancestor) const {
  if (Ancestor == nullptr) return !Empty();
  const auto* Other = dynamic_cast<const TBitmap32*>(Ancestor);
  return Other == nullptr || !SameContent(Other);
}

bool TBitmap32::SameContent(const TBitmap32* Other) const {
  if (Empty() || Other->Empty()) return Empty() && Other->Empty();
  if (typeid(*this) != typeid(*Other)) return false;
  if (GetWidth() != Other->GetWidth() || GetHeight() != Other->GetHeight()) return false;
  const std::size_t Count = static_cast<std::size_t>(GetWidth()) * static_cast<std::size_t>(GetHeight());
  return std::memcmp(FPixels, Other->GetPixels(), Count * sizeof(TColor32)) == 0;
}

// ---------------------------------------------------------------------------------------------
// Fills

void TBitmap32::Clear(TColor32 Color) {
  if (Empty()) return;
  if (!FMeasuring) {
    if (FClipping)
      FillRect(FClipRect.Left, FClipRect.Top, FClipRect.Right, FClipRect.Bottom, Color);
    else if (static_cast<Int64>(GetWidth()) * GetHeight() <= 0x7FFFFFFF)
      FillDwords(FPixels, GetWidth() * GetHeight(), Color);
    else
      for (Integer Y = 0; Y < GetHeight(); ++Y) FillDwords(RowAddress(Y), GetWidth(), Color);
  }
  Changed();
}

void TBitmap32::FillRect(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value) {
  assert(X1 <= X2 && Y1 <= Y2 && X1 >= 0 && Y1 >= 0 && X2 <= GetWidth() && Y2 <= GetHeight());
  for (Integer Y = Y1; Y < Y2; ++Y) FillDwords(PixelAddress(X1, Y), X2 - X1, Value);
  AreaChanged(MakeRect(X1, Y1, X2, Y2), AreaInfoRect);
}

void TBitmap32::FillRectClipped(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value) {
  if (!FMeasuring && X1 < X2 && Y1 < Y2 && X1 < FClipRect.Right && Y1 < FClipRect.Bottom &&
      X2 > FClipRect.Left && Y2 > FClipRect.Top) {
    if (X1 < FClipRect.Left) X1 = FClipRect.Left;
    if (Y1 < FClipRect.Top) Y1 = FClipRect.Top;
    if (X2 > FClipRect.Right) X2 = FClipRect.Right;
    if (Y2 > FClipRect.Bottom) Y2 = FClipRect.Bottom;
    FillRect(X1, Y1, X2, Y2, Value);
  }
  AreaChanged(MakeRect(X1, Y1, X2, Y2), AreaInfoRect);
}

void TBitmap32::SetAlphaChannel(Byte Value) {
  if (!FMeasuring && !Empty()) {
    Byte* P = reinterpret_cast<Byte*>(FPixels) + 3;
    const std::size_t Count = static_cast<std::size_t>(GetWidth()) * static_cast<std::size_t>(GetHeight());
    for (std::size_t I = 0; I < Count; ++I, P += 4) *P = Value;
  }
  Changed();
}

// ---------------------------------------------------------------------------------------------
// Pixel reads

TColor32 TBitmap32::PixelClipped(Integer X, Integer Y) const {
  if (X >= FClipRect.Left && X < FClipRect.Right && Y >= FClipRect.Top && Y < FClipRect.Bottom)
    return Pixel(X, Y);
  return FOuterColor;
}

TColor32 TBitmap32::WrappedPixel(Integer X, Integer Y) const {
  if (!RectHasArea(FClipRect)) return FOuterColor;
  const TWrapProc Wrap = GetWrapProc(FWrapMode);
  return Pixel(Wrap(X, FClipRect.Left, FClipRect.Right - 1), Wrap(Y, FClipRect.Top, FClipRect.Bottom - 1));
}

TColor32 TBitmap32::InterpolatedPixel256(Integer X, Integer Y) const {
  const TColor32* P = PixelAddress(X >> 8, Y >> 8);
  return BilinearMix(GammaTable[255 - (X & 255)], GammaTable[255 - (Y & 255)], P, P + GetWidth());
}

TColor32 TBitmap32::InterpolatedPixel256Clipped(Integer X, Integer Y) const {
  if (X < FClipRect256.Left || Y < FClipRect256.Top) return FOuterColor;
  const Int64 R256 = static_cast<Int64>(FClipRect.Right - 1) * 256;
  const Int64 B256 = static_cast<Int64>(FClipRect.Bottom - 1) * 256;
  if (X < R256 && Y < B256) return InterpolatedPixel256(X, Y);
  if (X == R256 && Y <= B256) return Pixel(FClipRect.Right - 1, Y >> 8);
  if (X <= R256 && Y == B256) return Pixel(X >> 8, FClipRect.Bottom - 1);
  return FOuterColor;
}

namespace {
// 16.16 to 24.8, rounded; 64-bit so that coordinates near the end of the range do not wrap.
inline Integer FixedTo256(TFixed16 V) {
  return static_cast<Integer>((static_cast<Int64>(V) + 0x7F) >> 8);
}
}  // namespace

TColor32 TBitmap32::InterpolatedPixelFixed(TFixed16 X, TFixed16 Y) const {
  const TColor32 Result = InterpolatedPixel256(FixedTo256(X), FixedTo256(Y));
  ClearMultimediaState();
  return Result;
}

TColor32 TBitmap32::InterpolatedPixelFixedClipped(TFixed16 X, TFixed16 Y) const {
  const TColor32 Result = InterpolatedPixel256Clipped(FixedTo256(X), FixedTo256(Y));
  ClearMultimediaState();
  return Result;
}

TColor32 TBitmap32::WrappedInterpolatedPixel(TFixed16 X, TFixed16 Y) const {
  if (!RectHasArea(FClipRect)) return FOuterColor;
  const TWrapProc Wrap = GetWrapProc(FWrapMode);
  const Integer Xi = X >> 16;
  const Integer Yi = Y >> 16;
  const Integer L = FClipRect.Left, R = FClipRect.Right - 1, T = FClipRect.Top, B = FClipRect.Bottom - 1;
  const Integer X1 = Wrap(Xi, L, R), X2 = Wrap(Xi + 1, L, R);
  const Integer Y1 = Wrap(Yi, T, B), Y2 = Wrap(Yi + 1, T, B);
  const TColor32 Fx = (X >> 8) & 0xFF;
  const TColor32 Fy = (Y >> 8) & 0xFF;
  const TColor32 Top = MixColors(Pixel(X2, Y1), Pixel(X1, Y1), Fx);
  const TColor32 Bottom = MixColors(Pixel(X2, Y2), Pixel(X1, Y2), Fx);
  const TColor32 Result = MixColors(Bottom, Top, Fy);
  ClearMultimediaState();
  return Result;
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TBitmap32::DrawInto(TBitmap32* Dst, const TRect& DstRect) {
  ScaledTransfer(Dst, DstRect, Dst->GetClipRect(), this, BoundsRect(), FResampler.get(), FDrawMode,
                 OnPixelCombine);
}

void TBitmap32::DrawOntoDC(HDC DC, Integer X, Integer Y) {
  if (Empty()) return;
  StretchDIBits(DC, X, Y, GetWidth(), GetHeight(), 0, 0, GetWidth(), GetHeight(), FPixels, &FSurfaceInfo,
                DIB_RGB_COLORS, SRCCOPY);
}

// ---------------------------------------------------------------------------------------------
// Canvas and font

TCanvas* TBitmap32::GetCanvas() {
  if (FCanvas == nullptr) {
    FCanvas = std::make_unique<TCanvas>();
    FCanvas->SetHandle(FSurfaceDC);
    FCanvas->OnChange = TNotifyEvent(this, &TBitmap32::CanvasChanged);
  }
  return FCanvas.get();
}

void TBitmap32::FreeCanvas() {
  if (FCanvas == nullptr) return;
  FCanvas->SetHandle(nullptr);
  FCanvas.reset();
}

void TBitmap32::CanvasChanged(TObject*) {
  Changed();
}

void TBitmap32::SetFont(TFont* Value) {
  FFont->Assign(Value);
}

// The surface keeps the stock system font selected; text goes through the canvas, which
// selects a font of its own.
void TBitmap32::FontChanged(TObject*) {
  if (FSurfaceDC != nullptr && StockFont != nullptr) SelectObject(FSurfaceDC, StockFont);
}

// ---------------------------------------------------------------------------------------------
// Unit-level functions

void BuildGammaTable(Single Gamma) {
  for (Integer I = 0; I < 256; ++I)
    GammaTable[I] = static_cast<Byte>(
        Round(std::pow(static_cast<Extended>(I) / 255, static_cast<Extended>(Gamma)) * 255));
}

TColor32 BilinearMixPlain(TColor32 WX, TColor32 WY, const TColor32* P1, const TColor32* P2) {
  if (WX > 255) WX = 255;
  if (WY > 255) WY = 255;
  const TColor32 Top = MixColorsPlain(P1[0], P1[1], WX);
  const TColor32 Bottom = MixColorsPlain(P2[0], P2[1], WX);
  return MixColorsPlain(Top, Bottom, WY);
}

// Per channel in 16-bit lanes, no clamping of the weights and no rounding bias.
TColor32 BilinearMixMmx(TColor32 WX, TColor32 WY, const TColor32* P1, const TColor32* P2) {
  TColor32 Result = 0;
  const Int64 Wx = WX, Wy = WY;
  for (int Shift = 0; Shift < 32; Shift += 8) {
    const Int64 A = (P1[0] >> Shift) & 0xFF, B = (P1[1] >> Shift) & 0xFF;
    const Int64 C = (P2[0] >> Shift) & 0xFF, D = (P2[1] >> Shift) & 0xFF;
    const Int64 Top = ((A - B) * Wx + B * 256) >> 8;
    const Int64 Bottom = ((C - D) * Wx + D * 256) >> 8;
    Int64 V = ((Top - Bottom) * Wy + Bottom * 256) >> 8;
    V = V < 0 ? 0 : (V > 255 ? 255 : V);
    Result |= static_cast<TColor32>(V) << Shift;
  }
  return Result;
}

void SelectBilinearMix() {
  BilinearMix = (CpuHasMmx() || CpuHas3DNow()) ? BilinearMixMmx : BilinearMixPlain;
}

TColor32 Color32FromColor(Integer Value) {
  if (Value < 0) Value = static_cast<Integer>(GetSysColor(Value & 0xFF));
  const Cardinal C = static_cast<Cardinal>(Value);
  return 0xFF000000u | ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
}

TFixed16 FixedFromFloat(Extended X) {
  const Extended V = X * 65536;
  if (V >= 2147483647.0L) return 2147483647;
  if (V <= -2147483648.0L) return -2147483647 - 1;
  return static_cast<TFixed16>(Round(V));
}

TFixed16 FixedFromInt(Integer I) {
  if (I > 32767) return 2147483647;
  if (I < -32768) return -2147483647 - 1;
  return static_cast<TFixed16>(static_cast<Cardinal>(I) << 16);
}

TRect MakeRect(Integer L, Integer T, Integer R, Integer B) {
  return {L, T, R, B};
}
TRectFixed MakeFixedRect(TFixed16 L, TFixed16 T, TFixed16 R, TFixed16 B) {
  return {L, T, R, B};
}

TRectFixed FixedRectFromRect(const TRect& R) {
  return {FixedFromInt(R.Left), FixedFromInt(R.Top), FixedFromInt(R.Right), FixedFromInt(R.Bottom)};
}

TRectFloat FloatRectFromRect(const TRect& R) {
  return {static_cast<Single>(R.Left), static_cast<Single>(R.Top), static_cast<Single>(R.Right),
          static_cast<Single>(R.Bottom)};
}

TRect MakeRectFromFloat(const TRectFloat& FR, TEdgeRounding Rounding) {
  TRect R;
  switch (Rounding) {
    case erNearest:
      R = {static_cast<Integer>(Round(FR.Left)), static_cast<Integer>(Round(FR.Top)),
           static_cast<Integer>(Round(FR.Right)), static_cast<Integer>(Round(FR.Bottom))};
      break;
    case erOuter:
      R = {Floor(FR.Left), Floor(FR.Top), Ceil(FR.Right), Ceil(FR.Bottom)};
      break;
    case erInner:
      R = {Ceil(FR.Left), Ceil(FR.Top), Floor(FR.Right), Floor(FR.Bottom)};
      if (R.Right < R.Left) R.Right = R.Left;
      if (R.Bottom < R.Top) R.Bottom = R.Top;
      break;
  }
  return R;
}

TRect MakeRectFromFixed(const TRectFixed& FR, TEdgeRounding Rounding) {
  TRect R;
  switch (Rounding) {
    case erNearest:
      R = {FixedToIntRound(FR.Left), FixedToIntRound(FR.Top), FixedToIntRound(FR.Right),
           FixedToIntRound(FR.Bottom)};
      break;
    case erOuter:
      R = {FixedToIntFloor(FR.Left), FixedToIntFloor(FR.Top), FixedToIntCeil(FR.Right),
           FixedToIntCeil(FR.Bottom)};
      break;
    case erInner:
      R = {FixedToIntCeil(FR.Left), FixedToIntCeil(FR.Top), FixedToIntFloor(FR.Right),
           FixedToIntFloor(FR.Bottom)};
      if (R.Right < R.Left) R.Right = R.Left;
      if (R.Bottom < R.Top) R.Bottom = R.Top;
      break;
  }
  return R;
}

bool RectIntersect(TRect& Dst, const TRect& R1, const TRect& R2) {
  TRect R = {Max(R1.Left, R2.Left), Max(R1.Top, R2.Top), Min(R1.Right, R2.Right), Min(R1.Bottom, R2.Bottom)};
  const bool Result = R.Right >= R.Left && R.Bottom >= R.Top;
  Dst = Result ? R : TRect();
  return Result;
}

bool RectEqual(const TRect& R1, const TRect& R2) {
  return R1 == R2;
}

void RectInflate(TRect& R, Integer DX, Integer DY) {
  R.Left -= DX;
  R.Top -= DY;
  R.Right += DX;
  R.Bottom += DY;
}

void RectOffset(TRect& R, Integer DX, Integer DY) {
  R.Left += DX;
  R.Top += DY;
  R.Right += DX;
  R.Bottom += DY;
}

bool RectIsEmpty(const TRect& R) {
  return !(R.Left < R.Right && R.Top < R.Bottom);
}

bool RectContainsPoint(const TRect& R, const TPoint& P) {
  return R.Left <= P.X && P.X < R.Right && R.Top <= P.Y && P.Y < R.Bottom;
}

void InitializeRS32() {
  SelectBilinearMix();
  BuildGammaTable(0.7f);
  StockFont = GetStockObject(SYSTEM_FONT);
}
