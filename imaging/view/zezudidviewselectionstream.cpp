// The selection stream: the outline and the mask as undo and the selection stack keep them.
#include <algorithm>
#include <vector>

#include "imaging/core/iestreams.h"
#include "imaging/view/zezudidviewselection.h"
#include "platform/gdi/BitmapInfo.h"
#include "platform/system/Streams.h"

namespace {

// Fixed part after the points: record box, active flag, layer position, bits per pixel, mask
// box and full flag.
constexpr Int64 TailSize = 16 + 1 + 8 + 4 + 16 + 1;

class TLittleEndianWriter {
 public:
  void Int(Integer Value) {
    Byte Bytes[4];
    IEStoreLE32(Bytes, static_cast<Cardinal>(Value));
    FBytes.insert(FBytes.end(), Bytes, Bytes + 4);
  }
  void Flag(bool Value) { FBytes.push_back(Value ? 1 : 0); }
  void Box(Integer X1, Integer Y1, Integer X2, Integer Y2) {
    Int(X1);
    Int(Y1);
    Int(X2);
    Int(Y2);
  }
  void FlushTo(TStream* Stream) {
    if (!FBytes.empty()) Stream->WriteBuffer(FBytes.data(), static_cast<Integer>(FBytes.size()));
    FBytes.clear();
  }

 private:
  std::vector<Byte> FBytes;
};

// Reads through a cursor that knows how many bytes the stream still holds.
class TBoundedReader {
 public:
  explicit TBoundedReader(TStream* Stream)
      : FStream(Stream), FRemaining(Stream->GetSize() - Stream->GetPosition()) {}
  Int64 Remaining() const { return FRemaining; }
  bool Int(Integer& Value) {
    Byte Bytes[4];
    if (!Raw(Bytes, 4)) return false;
    Value = static_cast<Integer>(IELoadLE32(Bytes));
    return true;
  }
  bool Flag(bool& Value) {
    Byte B;
    if (!Raw(&B, 1)) return false;
    Value = B != 0;
    return true;
  }
  bool Raw(void* Buffer, Int64 Count) {
    if (Count < 0 || Count > FRemaining) return false;
    if (Count == 0) return true;
    Byte* Out = static_cast<Byte*>(Buffer);
    // ReadBuffer counts in Integer; large masks go in pieces.
    for (Int64 Done = 0; Done < Count;) {
      const Integer Piece = static_cast<Integer>(std::min<Int64>(Count - Done, 1 << 30));
      if (FStream->Read(Out + Done, Piece) != Piece) return false;
      Done += Piece;
    }
    FRemaining -= Count;
    return true;
  }

 private:
  TStream* FStream;
  Int64 FRemaining;
};

}  // namespace

void IEWriteSelection(TStream* Stream, const TIESelPolygon& Polygon, const TIEMask& Mask,
                      const TIESelectionStreamInfo& Info) {
  TLittleEndianWriter Out;
  Out.Int(Mask.GetWidth());
  Out.Int(Mask.GetHeight());
  Out.Int(Polygon.Count);
  if (Polygon.Points)
    for (Integer I = 0; I < Polygon.Count; ++I) {
      Out.Int(Polygon.Points[I].X);
      Out.Int(Polygon.Points[I].Y);
    }
  Out.Box(Polygon.X1, Polygon.Y1, Polygon.X2, Polygon.Y2);
  Out.Flag(Info.Active);
  Out.Int(Info.LayerPosX);
  Out.Int(Info.LayerPosY);
  Out.Int(Mask.GetBitsPerPixel());
  Out.Box(Mask.GetX1(), Mask.GetY1(), Mask.GetX2(), Mask.GetY2());
  Out.Flag(Mask.GetFull());
  Out.FlushTo(Stream);
  const Int64 BitsSize = static_cast<Int64>(Mask.GetHeight()) * Mask.GetRowLen();
  const Byte* Bits = Mask.GetBits();
  for (Int64 Done = 0; Bits && Done < BitsSize;) {
    const Integer Piece = static_cast<Integer>(std::min<Int64>(BitsSize - Done, 1 << 30));
    Stream->WriteBuffer(Bits + Done, Piece);
    Done += Piece;
  }
}

bool IEReadSelection(TStream* Stream, TIESelPolygon& Polygon, TIEMask& Mask, TIESelectionStreamInfo& Info) {
  TBoundedReader In(Stream);
  Integer Width = 0, Height = 0, Count = 0;
  if (!In.Int(Width) || !In.Int(Height) || !In.Int(Count)) return false;
  if (Width < 0 || Height < 0 || Count < 0 || static_cast<Int64>(Count) * 8 + TailSize > In.Remaining())
    return false;
  std::vector<Byte> PointBytes(static_cast<size_t>(Count) * 8);
  if (!In.Raw(PointBytes.data(), static_cast<Int64>(PointBytes.size()))) return false;
  TRect Box;
  TIESelectionStreamInfo Read;
  Integer BitsPerPixel = 0;
  bool Full = false;
  if (!In.Int(Box.Left) || !In.Int(Box.Top) || !In.Int(Box.Right) || !In.Int(Box.Bottom) ||
      !In.Flag(Read.Active) || !In.Int(Read.LayerPosX) || !In.Int(Read.LayerPosY) || !In.Int(BitsPerPixel) ||
      !In.Int(Read.MaskBox.Left) || !In.Int(Read.MaskBox.Top) || !In.Int(Read.MaskBox.Right) ||
      !In.Int(Read.MaskBox.Bottom) || !In.Flag(Full))
    return false;
  if (BitsPerPixel != 1 && BitsPerPixel != 8) return false;
  const Int64 RowLen = (static_cast<Int64>(Width) * BitsPerPixel + 31) / 32 * 4;
  if (RowLen * Height > In.Remaining()) return false;
  if (!Mask.AllocateBits(Width, Height, BitsPerPixel)) return false;
  if (!In.Raw(Mask.GetBits(), RowLen * Height)) return false;
  Mask.SyncRect();
  Mask.SetFull(Full);
  Polygon.Allocate(Count);
  for (Integer I = 0; I < Count; ++I)
    Polygon.Points[I] = {static_cast<Integer>(IELoadLE32(&PointBytes[8 * I])),
                         static_cast<Integer>(IELoadLE32(&PointBytes[8 * I + 4]))};
  Polygon.X1 = Box.Left;
  Polygon.Y1 = Box.Top;
  Polygon.X2 = Box.Right;
  Polygon.Y2 = Box.Bottom;
  Info = Read;
  return true;
}
