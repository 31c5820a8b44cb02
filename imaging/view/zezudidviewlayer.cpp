#include "imaging/view/zezudidviewlayer.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <random>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewlayerfields.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/Streams.h"

namespace {

// Version-4 random GUID; the layer only needs it unique within the program's life.
TGUID NewLayerGUID() {
  static std::mutex Lock;
  static std::mt19937_64 Engine{std::random_device{}()};
  std::lock_guard Guard(Lock);
  const UInt64 High = Engine(), Low = Engine();
  TGUID Result;
  Result.D1 = static_cast<Cardinal>(High >> 32);
  Result.D2 = static_cast<Word>(High >> 16);
  Result.D3 = static_cast<Word>((High & 0x0FFF) | 0x4000);
  for (int I = 0; I < 8; ++I) Result.D4[I] = static_cast<Byte>(Low >> (8 * I));
  Result.D4[0] = static_cast<Byte>((Result.D4[0] & 0x3F) | 0x80);
  return Result;
}

void WriteGUID(TIEFieldWriter& W, const TGUID& G) {
  W.Int32(static_cast<Integer>(G.D1));
  Byte Words[4] = {static_cast<Byte>(G.D2), static_cast<Byte>(G.D2 >> 8), static_cast<Byte>(G.D3),
                   static_cast<Byte>(G.D3 >> 8)};
  W.Bytes(Words, sizeof(Words));
  W.Bytes(G.D4, sizeof(G.D4));
}

bool ReadGUID(TIEFieldReader& R, TGUID& G) {
  Byte Raw[16];
  if (!R.Bytes(Raw, sizeof(Raw))) return false;
  G.D1 = static_cast<Cardinal>(Raw[0] | Raw[1] << 8 | Raw[2] << 16 | static_cast<Cardinal>(Raw[3]) << 24);
  G.D2 = static_cast<Word>(Raw[4] | Raw[5] << 8);
  G.D3 = static_cast<Word>(Raw[6] | Raw[7] << 8);
  std::memcpy(G.D4, Raw + 8, 8);
  return true;
}

// The undo record keeps the user data reference in 32 bits; a reference is stored as a token
// of this table so that reading gives back the very reference written (0 is none).
class TUserDataTokens {
 public:
  Cardinal TokenOf(void* Reference) {
    if (!Reference) return 0;
    std::lock_guard Guard(FLock);
    auto Found = FTokens.find(Reference);
    if (Found != FTokens.end()) return Found->second;
    FReferences.push_back(Reference);
    const Cardinal Token = static_cast<Cardinal>(FReferences.size());
    FTokens.emplace(Reference, Token);
    return Token;
  }
  void* ReferenceOf(Cardinal Token) {
    std::lock_guard Guard(FLock);
    return Token == 0 || Token > FReferences.size() ? nullptr : FReferences[Token - 1];
  }

 private:
  std::mutex FLock;
  std::map<void*, Cardinal> FTokens;
  std::vector<void*> FReferences;
};

TUserDataTokens& UserDataTokens() {
  static TUserDataTokens Tokens;
  return Tokens;
}

bool WrapsOwnPlatformBitmap(TIEBitmap* Bitmap) {
  return Bitmap->GetLocation() == ieTBitmap && Bitmap->GetPlatformBitmapExternal();
}

// An empty bitmap with Source's size, pixel format and storage; no pixels are copied.
TIEBitmap* NewBitmapShapedAfter(TIEBitmap* Source) {
  auto Result = std::make_unique<TIEBitmap>();
  if (Source) {
    if (WrapsOwnPlatformBitmap(Source)) {
      auto Platform = std::make_unique<TBitmap>();
      Platform->SetSize(1, 1);
      Platform->SetPixelFormat(Source->GetTBitmap()->GetPixelFormat());
      Platform->SetSize(Source->GetWidth(), Source->GetHeight());
      Result->EncapsulateTBitmap(Platform.release(), true);
    } else {
      Result->SetLocation(Source->GetLocation());
      Result->Allocate(Source->GetWidth(), Source->GetHeight(), Source->GetPixelFormat());
    }
  }
  return Result.release();
}

void WriteMagnifier(TIEFieldWriter& W, const TIEMagnifier& M) {
  W.Bool(M.Enabled);
  W.Zeros(7);
  W.Float64(M.Rate);
  W.UInt8(M.Style);
  W.UInt8(M.Source);
  W.Zeros(6);
}

bool ReadMagnifier(TIEFieldReader& R, TIEMagnifier& M) {
  TIEMagnifier Read;
  if (!R.Bool(Read.Enabled) || !R.Skip(7) || !R.Float64(Read.Rate) || !R.UInt8(Read.Style) ||
      !R.UInt8(Read.Source) || !R.Skip(6))
    return false;
  M = Read;
  return true;
}

// Value / From x To, in extended precision, truncated; 0 when From is 0.
Integer Rescale(Integer Value, Integer From, Integer To) {
  if (From == 0) return 0;
  return static_cast<Integer>(std::trunc(static_cast<Extended>(Value) / From * To));
}

Integer ZoomedOrigin(Integer Pos, double ZoomFactor) {
  return static_cast<Integer>(std::trunc(static_cast<Extended>(Pos) * ZoomFactor));
}

}  // namespace

TIELayer::TIELayer(TZezudIdView* AView, bool ShareBitmap, TIEBitmap* ABitmap)
    : View(AView), GUID(NewLayerGUID()) {
  Bitmap = ShareBitmap ? ABitmap : NewBitmapShapedAfter(ABitmap);
  OwnsBitmap = true;
  Reset();
}

TIELayer::~TIELayer() {
  if (OwnsBitmap && Bitmap) {
    // A platform bitmap made for this layer is borrowed by the wrapper: it goes after it.
    TBitmap* Platform = WrapsOwnPlatformBitmap(Bitmap) ? Bitmap->GetTBitmap() : nullptr;
    delete Bitmap;
    delete Platform;
  }
  Bitmap = nullptr;
  if (UserDataLen > 0) std::free(UserData);
  delete MaskAlphaCache;
}

void TIELayer::Reset() {
  Width = 0;
  Height = 0;
  SetRotate(0);
  Visible = true;
  VisibleBox = true;
  Transparency = 255;
  PosX = 0;
  PosY = 0;
  ScreenRect = TRect{};
  ClipToBackground = false;
  Locked = false;
  Selectable = true;
  Magnifier = TIEMagnifier{};
  BlendOperation = 0;
  // The reset drops the reference; a block the layer owned is freed rather than leaked.
  if (UserDataLen > 0) std::free(UserData);
  UserData = nullptr;
  UserDataLen = 0;
  IsMask = false;
  DrawGeometry = TIELayerDrawGeometry{};
  ShadeOutside = false;
  RotateCenterX = 0.5;
  RotateCenterY = 0.5;
}

void TIELayer::CopyProperties(const TIELayer* Source) {
  Width = Source->Width;
  Height = Source->Height;
  Bitmap->Assign(Source->Bitmap);
  Visible = Source->Visible;
  VisibleBox = Source->VisibleBox;
  Selectable = Source->Selectable;
  Transparency = Source->Transparency;
  PosX = Source->PosX;
  PosY = Source->PosY;
  ScreenRect = Source->ScreenRect;
  ClipToBackground = Source->ClipToBackground;
  Locked = Source->Locked;
  Magnifier = Source->Magnifier;
  BlendOperation = Source->BlendOperation;
  UserData = Source->UserData;
  ResampleFilter = Source->ResampleFilter;
  UseResampleFilter = Source->UseResampleFilter;
  Name = Source->Name;
  IsMask = Source->IsMask;
  ShadeOutside = Source->ShadeOutside;
}

void TIELayer::SetRotate(double Value) {
  const double Whole = std::trunc(Value);
  const bool FullTurns = Value == Whole && std::fmod(Whole, 360.0) == 0;
  Rotate = FullTurns ? 0.0 : Value;
}

Integer TIELayer::GetWidth() const {
  return Width != 0 ? Width : Bitmap->GetWidth();
}

Integer TIELayer::GetHeight() const {
  return Height != 0 ? Height : Bitmap->GetHeight();
}

// Each direction truncates on its own side, so the two are not exact inverses. A layer
// without width or height maps everything to its origin.
Integer TIELayer::ScreenToBitmapX(Integer X) const {
  if (GetWidth() == 0) return 0;
  const Integer B = View->ScreenToBitmapX(X - ZoomedOrigin(PosX, View->GetZoomFactorX()));
  return Rescale(B, GetWidth(), Bitmap->GetWidth());
}

Integer TIELayer::ScreenToBitmapY(Integer Y) const {
  if (GetHeight() == 0) return 0;
  const Integer B = View->ScreenToBitmapY(Y - ZoomedOrigin(PosY, View->GetZoomFactorY()));
  return Rescale(B, GetHeight(), Bitmap->GetHeight());
}

Integer TIELayer::BitmapToScreenX(Integer X) const {
  return View->BitmapToScreenX(Rescale(X, Bitmap->GetWidth(), GetWidth())) +
         ZoomedOrigin(PosX, View->GetZoomFactorX());
}

Integer TIELayer::BitmapToScreenY(Integer Y) const {
  return View->BitmapToScreenY(Rescale(Y, Bitmap->GetHeight(), GetHeight())) +
         ZoomedOrigin(PosY, View->GetZoomFactorY());
}

void TIELayer::SaveToStream(TStream* Stream, bool SaveBitmap) {
  const Int64 Start = Stream->GetPosition();
  TIEFieldWriter W;
  W.Int32(0);  // the length, known once the bitmap is written
  WriteGUID(W, GUID);
  W.Int32(Width);
  W.Int32(Height);
  W.Bool(Visible);
  W.Bool(VisibleBox);
  W.Bool(Selectable);
  W.Int32(Transparency);
  W.Int32(PosX);
  W.Int32(PosY);
  W.Int32(ScreenRect.Left);
  W.Int32(ScreenRect.Top);
  W.Int32(ScreenRect.Right);
  W.Int32(ScreenRect.Bottom);
  W.Bool(ClipToBackground);
  W.Bool(Locked);
  WriteMagnifier(W, Magnifier);
  W.UInt8(BlendOperation);
  W.Int32(static_cast<Integer>(UserDataTokens().TokenOf(UserData)));
  W.UInt8(static_cast<Byte>(ResampleFilter));
  W.Bool(UseResampleFilter);
  W.String(Name);
  W.Bool(IsMask);
  W.Bool(ShadeOutside);
  W.Float64(Rotate);
  W.Float64(RotateCenterX);
  W.Float64(RotateCenterY);
  W.Bool(SaveBitmap);
  W.FlushTo(Stream);
  if (SaveBitmap) Bitmap->SaveRawToStream(nullptr, Stream);
  const Int64 End = Stream->GetPosition();
  Byte Length[4];
  IEStoreLE32(Length, static_cast<Cardinal>(End - Start));
  Stream->SetPosition(Start);
  Stream->WriteBuffer(Length, sizeof(Length));
  Stream->SetPosition(End);
}

void TIELayer::LoadFromStream(TStream* Stream) {
  // Fields are applied as they arrive; a short record leaves the rest as they were. The record
  // never reads past its own stated length.
  TIEFieldReader Head = TIEFieldReader::UpToEnd(Stream);
  Integer Length = 0;
  if (!Head.Int32(Length)) return;
  TIEFieldReader R(Stream, std::min<Int64>(Head.Remaining(), std::max(Length - 4, 0)));
  Integer Token = 0;
  Byte Filter = 0;
  Integer Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool WithBitmap = false;
  if (!ReadGUID(R, GUID) || !R.Int32(Width) || !R.Int32(Height) || !R.Bool(Visible) || !R.Bool(VisibleBox) ||
      !R.Bool(Selectable) || !R.Int32(Transparency) || !R.Int32(PosX) || !R.Int32(PosY))
    return;
  if (!R.Int32(Left) || !R.Int32(Top) || !R.Int32(Right) || !R.Int32(Bottom)) return;
  ScreenRect = TRect{Left, Top, Right, Bottom};
  if (!R.Bool(ClipToBackground) || !R.Bool(Locked) || !ReadMagnifier(R, Magnifier) ||
      !R.UInt8(BlendOperation) || !R.Int32(Token))
    return;
  // A layer that owns its block keeps it: taking another reference would free a block twice.
  if (UserDataLen <= 0) UserData = UserDataTokens().ReferenceOf(static_cast<Cardinal>(Token));
  if (!R.UInt8(Filter)) return;
  if (Filter <= rfProjectWB) ResampleFilter = static_cast<TResampleFilter>(Filter);
  if (!R.Bool(UseResampleFilter) || !R.String(Name) || !R.Bool(IsMask) || !R.Bool(ShadeOutside)) return;
  double Angle = 0;
  if (!R.Float64(Angle)) return;
  Rotate = Angle;
  if (!R.Float64(RotateCenterX) || !R.Float64(RotateCenterY) || !R.Bool(WithBitmap)) return;
  if (WithBitmap) Bitmap->LoadRawFromStream(nullptr, Stream);
}
