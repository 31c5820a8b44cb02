#include "imaging/proc/iedibexchange.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iedibbitmap.h"
#include "imaging/core/iedibpack.h"
#include "imaging/core/iehintbox.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/proc/ieprocfilters.h"
#include "imaging/proc/ieyuv.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/Math.h"
#include "platform/user/GlobalMemory.h"

namespace {

constexpr Cardinal BI_RGB_ = 0, BI_BITFIELDS_ = 3;
constexpr Integer InfoHeaderSize = 40;

constexpr Cardinal FourCC(const char (&Code)[5]) {
  return static_cast<Byte>(Code[0]) | (static_cast<Byte>(Code[1]) << 8) | (static_cast<Byte>(Code[2]) << 16) |
         (static_cast<Cardinal>(static_cast<Byte>(Code[3])) << 24);
}

using TYUVDecoder = void (*)(const void*, TIEBitmap*, bool);
struct TYUVFormat {
  Cardinal Code;
  TYUVDecoder Decoder;
  bool RowsInverted;  // the first data row is the top one for a negative header height
};
constexpr TYUVFormat YUVFormats[] = {
    {FourCC("I420"), IEDecodeI420, false}, {FourCC("IYUV"), IEDecodeI420, false},
    {FourCC("YV12"), IEDecodeYV12, false}, {FourCC("YVU9"), IEDecodeYVU9, false},
    {FourCC("YUY2"), IEDecodeYUY2, false}, {FourCC("YUNV"), IEDecodeYUY2, false},
    {FourCC("UYVY"), IEDecodeUYVY, false}, {FourCC("UYNV"), IEDecodeUYVY, false},
    {FourCC("cyuv"), IEDecodeUYVY, true},  {FourCC("YVYU"), IEDecodeYVYU, false},
    {FourCC("Y211"), IEDecodeY211, false}, {FourCC("IYU1"), IEDecodeIYU1, false},
    {FourCC("IYU2"), IEDecodeIYU2, false}, {FourCC("Y41P"), IEDecodeY41P, true},
    {FourCC("CLJR"), IEDecodeCLJR, false},
};

// The DIB's address for the life of the object; a handle is locked and unlocked again.
class TLockedDIB {
 public:
  TLockedDIB(HGLOBAL DIB, bool IsPointer) : FHandle(IsPointer ? nullptr : DIB) {
    FData = static_cast<const Byte*>(IsPointer ? DIB : (DIB ? GlobalLock(DIB) : nullptr));
  }
  ~TLockedDIB() {
    if (FHandle && FData) GlobalUnlock(FHandle);
  }
  TLockedDIB(const TLockedDIB&) = delete;
  TLockedDIB& operator=(const TLockedDIB&) = delete;
  const Byte* Data() const { return FData; }

 private:
  HGLOBAL FHandle;
  const Byte* FData = nullptr;
};

struct TDIBHeader {
  Integer Width, RawHeight, BitCount;
  Cardinal Compression, ColorsUsed, HeaderSize;
};

TDIBHeader ReadHeader(const Byte* DIB) {
  return {static_cast<Integer>(IELoadLE32(DIB + 4)),
          static_cast<Integer>(IELoadLE32(DIB + 8)),
          DIB[14] | (DIB[15] << 8),
          IELoadLE32(DIB + 16),
          IELoadLE32(DIB + 32),
          std::max<Cardinal>(IELoadLE32(DIB), InfoHeaderSize)};
}

// The layout of an uncompressed DIB, or false for one this library does not read.
bool RGBLayout(const Byte* DIB, const TDIBHeader& H, const void* Bits, TIEDIBLayout& L) {
  const bool Fields = H.Compression == BI_BITFIELDS_;
  switch (H.BitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
      if (H.Compression != BI_RGB_) return false;  // run-length data is not decoded
      break;
    case 16:
    case 32:
      if (H.Compression != BI_RGB_ && !Fields) return false;
      break;
    default:
      return false;
  }
  L.Width = H.Width;
  L.TopDown = H.RawHeight < 0;
  L.Height = std::abs(H.RawHeight);
  L.BitCount = H.BitCount;
  const Byte* After = DIB + H.HeaderSize;
  if (Fields) {
    for (Integer I = 0; I < 3; ++I) L.Masks[I] = IELoadLE32(After + 4 * I);
    After += 12;
  }
  if (H.BitCount <= 8) {
    L.TableEntries = H.ColorsUsed != 0 ? H.ColorsUsed : (1u << H.BitCount);
    L.Table = After;
    After += L.TableEntries * 4;
  }
  L.Rows = Bits ? static_cast<const Byte*>(Bits) : After;
  return true;
}

}  // namespace

HGLOBAL _CopyBitmaptoDIBEx(TIEBitmap* Bitmap, Integer X1, Integer Y1, Integer X2, Integer Y2, Integer DpiX,
                           Integer DpiY) {
  WriteDebugLog("_CopyBitmaptoDIBEx: begin");
  const TIEPixelFormat Format = Bitmap->GetPixelFormat();
  const Integer BitCount = IEDIBBitCount(Format);
  if (BitCount == 0) {
    WriteDebugLog("_CopyBitmaptoDIBEx: not supported pixel format, converting to 24bit and recurse");
    TIEBitmap Copy;
    Copy.Assign(Bitmap);
    Copy.ConvertToPixelFormat(ie24RGB);
    if (Copy.GetPixelFormat() != ie24RGB || Copy.GetWidth() == 0 || Copy.GetHeight() == 0) return nullptr;
    return _CopyBitmaptoDIBEx(&Copy, X1, Y1, X2, Y2, DpiX, DpiY);
  }
  if (X2 == 0) X2 = Bitmap->GetWidth();
  if (Y2 == 0) Y2 = Bitmap->GetHeight();
  // Only pixels the picture has are read.
  X1 = IEMax(X1, 0);
  Y1 = IEMax(Y1, 0);
  X2 = IEMin(X2, Bitmap->GetWidth());
  Y2 = IEMin(Y2, Bitmap->GetHeight());
  const Integer W = X2 - X1, H = Y2 - Y1;
  if (W <= 0 || H <= 0) return nullptr;
  // Four spare bytes follow the rows, as readers of such blocks have long been given.
  const Int64 Size = IEPackedDIBSize(BitCount, W, H) + 4;
  WriteDebugLog("_CopyBitmaptoDIBEx: allocate " + std::to_string(Size) + " bytes");
  HGLOBAL Handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, static_cast<std::size_t>(Size));
  if (!Handle) return nullptr;
  Byte* Out = static_cast<Byte*>(GlobalLock(Handle));
  if (!Out) {
    GlobalFree(Handle);
    return nullptr;
  }
  WriteDebugLog(BitCount == 1   ? "_CopyBitmaptoDIBEx: ie1g"
                : BitCount == 8 ? "_CopyBitmaptoDIBEx: ie8g or ie8p"
                                : "_CopyBitmaptoDIBEx: ie24RGB");
  IEWritePackedDIB(Bitmap, X1, Y1, W, H, DpiX, DpiY, Out);
  GlobalUnlock(Handle);
  return Handle;
}

Integer IECopyDIBToIEBitmap(HGLOBAL DIB, TIEBitmap* Bitmap, const void* Bits, bool IsPointer) {
  const TLockedDIB Locked(DIB, IsPointer);
  const Byte* Data = Locked.Data();
  if (!Data) return 0;
  const TDIBHeader H = ReadHeader(Data);
  const Integer Height = std::abs(H.RawHeight);
  if (H.Width <= 0 || Height <= 0) return H.BitCount;
  if (!Bitmap->Allocate(H.Width, Height, H.BitCount == 1 ? ie1g : ie24RGB)) return H.BitCount;
  TIEDIBLayout Layout;
  if (RGBLayout(Data, H, Bits, Layout)) {
    IEDecodeDIBRows(Layout, Bitmap);
    return H.BitCount;
  }
  if (!Bits || H.BitCount == 1) return H.BitCount;
  for (const TYUVFormat& F : YUVFormats)
    if (F.Code == H.Compression) {
      F.Decoder(Bits, Bitmap, F.RowsInverted ? H.RawHeight < 0 : H.RawHeight > 0);
      break;
    }
  return H.BitCount;
}

Integer IEDrawDIBToDibbitmap(HGLOBAL DIB, TIEDibbitmap* Dest, const void* Bits, bool IsPointer) {
  const TLockedDIB Locked(DIB, IsPointer);
  const Byte* Data = Locked.Data();
  if (!Data) return 0;
  const TDIBHeader H = ReadHeader(Data);
  const Integer Height = std::abs(H.RawHeight);
  if (!Dest->AllocateBits(H.Width, Height, H.BitCount == 1 ? 1 : 24)) return H.BitCount;
  HDRAWDIB Draw = IEDrawDibOpen();
  IEDrawDibDraw(Draw, Dest->GetDeviceContext(), 0, 0, H.Width, Height,
                reinterpret_cast<const BITMAPINFOHEADER*>(Data), Bits, 0, 0, H.Width, Height, 0);
  IEDrawDibClose(Draw);
  return H.BitCount;
}

std::unique_ptr<TBitmap> IECloneTBitmap(TBitmap* Source) {
  auto Clone = std::make_unique<TBitmap>();
  IECopyTBitmap(Source, Clone.get());
  return Clone;
}

void IE1BitTBitmapTo24Bit(TBitmap* Source, TBitmap* Dest, TIEIOProgress& Progress) {
  const Integer Width = Source->GetWidth(), Height = Source->GetHeight();
  Dest->SetSize(1, 1);
  Dest->SetPixelFormat(pf24bit);
  Dest->SetSize(Width, Height);
  const Integer WholeBytes = Width / 8, LastPixels = Width % 8;
  for (Integer Y = 0; Y < Height; ++Y) {
    const Byte* Src = static_cast<const Byte*>(Source->GetScanLine(Y));
    Byte* Out = static_cast<Byte*>(Dest->GetScanLine(Y));
    for (Integer B = 0; B < WholeBytes; ++B, Out += 24)
      std::memcpy(Out, IE1BitExpandTable[Src[B]].data(), 24);
    if (LastPixels) std::memcpy(Out, IE1BitExpandTable[Src[WholeBytes]].data(), LastPixels * 3);
    if (Progress.OnProgress)
      Progress.OnProgress(Progress.Sender, static_cast<Integer>(Trunc((Y + 1) * 100 / (Height + 0.5))));
  }
}
