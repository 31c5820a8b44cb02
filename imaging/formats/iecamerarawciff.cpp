// Canon's CIFF heap: make and model, raw size, white balance and the compression tables. Heaps
// nest; the walk is bounded by a depth and a total record budget so that a heap holding itself
// ends quickly.
#include <algorithm>
#include <cstring>

#include "imaging/formats/iecameraraw.h"
#include "imaging/formats/iecamerarawdecoder.h"

namespace {

constexpr Integer MaxHeapDepth = 16;
constexpr Integer MaxHeapRecords = 0x4000;

// The key the camera masks its white sample with; the two words alternate.
constexpr Word WhiteSampleKey[2] = {0x410C, 0x1E57};

struct THeapWalk {
  Integer WhiteBalanceIndex = -1;
  Integer RecordsLeft = MaxHeapRecords;
};

bool ModelIs(const TCameraRawContext& Context, const char* Name) {
  return std::strcmp(Context.Model, Name) == 0;
}

void ReadWhiteBalance(TCameraRawContext& Context) {
  const Integer Red = RawGet2(Context);
  Context.CameraRed = static_cast<float>(Red);
  if (Red != 0) Context.CameraRed = RawGet2(Context) / static_cast<float>(Red);
  Context.CameraBlue = RawGet2(Context);
  const Integer Divisor = RawGet2(Context);
  if (Divisor != 0) Context.CameraBlue /= static_cast<float>(Divisor);
}

void ParseCanonWhiteSample(TCameraRawContext& Context) {
  RawGet2(Context);
  if (RawGet4(Context) != 0x80008 || RawGet4(Context) == 0) return;
  const Integer Bits = RawGet2(Context);
  if (Bits != 10 && Bits != 12) return;
  unsigned long long Buffer = 0;
  Integer Buffered = 0;
  Integer Key = 0;
  for (auto& Row : Context.WhiteSample)
    for (Word& Cell : Row) {
      while (Buffered < Bits) {
        Buffer = Buffer << 16 | static_cast<Word>(RawGet2(Context) ^ WhiteSampleKey[Key]);
        Key ^= 1;
        Buffered += 16;
      }
      Buffered -= Bits;
      Cell = static_cast<Word>(((Buffer >> Buffered) & ((1u << Bits) - 1)) << (14 - Bits));
    }
}

Integer TenDWhiteBalance(Integer Index) {
  static constexpr Integer Map[10] = {0, 1, 3, 4, 5, 6, 0, 0, 2, 8};
  return Index >= 0 && Index < 10 ? Map[Index] : 0;
}

void ActOnRecord(TCameraRawContext& Context, THeapWalk& Walk, Integer Type, Cardinal Length, Int64 At);

void ParseHeap(TCameraRawContext& Context, THeapWalk& Walk, Int64 Offset, Int64 Length, Integer Depth) {
  if (Depth > MaxHeapDepth || Length < 4) return;
  RawSeek(Context, Offset + Length - 4);
  RawSeek(Context, Offset + RawGet4(Context));
  const Integer Records = RawGet2(Context);
  for (Integer Index = 0; Index < Records && !RawAtEnd(Context) && Walk.RecordsLeft > 0; ++Index) {
    --Walk.RecordsLeft;
    const Integer Type = RawGet2(Context);
    const Cardinal RecordLength = RawGet4(Context);
    const Int64 At = Offset + RawGet4(Context);
    const Int64 Next = RawTell(Context);
    if ((Type >> 8) == 0x28 || (Type >> 8) == 0x30)
      ParseHeap(Context, Walk, At, RecordLength, Depth + 1);
    else
      ActOnRecord(Context, Walk, Type, RecordLength, At);
    RawSeek(Context, Next);
  }
}

void ActOnRecord(TCameraRawContext& Context, THeapWalk& Walk, Integer Type, Cardinal Length, Int64 At) {
  Integer& Wbi = Walk.WhiteBalanceIndex;
  switch (Type) {
    case 0x080A:
      RawSeek(Context, At);
      RawRead(Context, Context.Make, RawNameLength);
      Context.Make[RawNameLength - 1] = 0;
      RawSeek(Context, At + static_cast<Int64>(std::strlen(Context.Make)) + 1);
      RawRead(Context, Context.Model, RawNameLength);
      Context.Model[RawNameLength - 1] = 0;
      break;
    case 0x102A:
      RawSeek(Context, At + 14);
      Wbi = RawGet2(Context);
      if (Wbi == 6 &&
          (ModelIs(Context, "Canon EOS DIGITAL REBEL") || ModelIs(Context, "Canon EOS 300D DIGITAL")))
        Wbi = 7;
      break;
    case 0x102C:
      if (ModelIs(Context, "Canon PowerShot G1") || ModelIs(Context, "Canon PowerShot Pro90 IS")) {
        RawSeek(Context, At + 120);
        static constexpr Integer Cells[4][2] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}};
        for (const auto& Cell : Cells)
          Context.WhiteSample[Cell[0]][Cell[1]] = static_cast<Word>(RawGet2(Context) << 4);
        break;
      }
      RawSeek(Context, At + 100);
      if (Wbi == 6 && RawGet4(Context) == 0) {
        Wbi = 15;
      } else {
        RawSeek(Context, At + 100);
        ReadWhiteBalance(Context);
      }
      break;
    case 0x0032:
      if (ModelIs(Context, "Canon EOS D30")) {
        RawSeek(Context, At + 72);
        ReadWhiteBalance(Context);
      } else {
        static constexpr Integer Slots[6] = {1, 2, 3, 4, 5, 1};
        RawSeek(Context, At + 80 + (Wbi >= 0 && Wbi < 6 ? Slots[Wbi] * 8 : 0));
        if (Context.CameraRed == 0) ReadWhiteBalance(Context);
      }
      break;
    case 0x10A9: {
      // Only 0 to 9 are known settings; anything else reads the first (as shot) slot.
      const Integer Slot = ModelIs(Context, "Canon EOS 10D") ? TenDWhiteBalance(Wbi) : std::max(Wbi, 0);
      RawSeek(Context, At + Slot * 8 + 2);
      const float A = RawGet2(Context), B = RawGet2(Context), C = RawGet2(Context), D = RawGet2(Context);
      Context.CameraRed = B != 0 ? A / B : 0;
      Context.CameraBlue = C != 0 ? D / C : 0;
      break;
    }
    case 0x1030:
      if (Wbi > 14) {
        RawSeek(Context, At);
        ParseCanonWhiteSample(Context);
      }
      break;
    case 0x1031:
      RawSeek(Context, At + 2);
      Context.RawWidth = RawGet2(Context);
      Context.RawHeight = RawGet2(Context);
      break;
    case 0x180E:
      RawSeek(Context, At);
      Context.Timestamp = static_cast<Integer>(RawGet4(Context));
      break;
    case 0x580E:
      Context.Timestamp = static_cast<Integer>(Length);
      break;
    case 0x1810: {
      RawSeek(Context, At + 12);
      const Cardinal Rotation = RawGet4(Context);
      if (Rotation == 90) Context.Flip = 6;
      if (Rotation == 180) Context.Flip = 3;
      if (Rotation == 270) Context.Flip = 5;
      break;
    }
    case 0x1835:
      RawSeek(Context, At);
      RawInitCanonTables(Context, static_cast<Integer>(std::min<Cardinal>(RawGet4(Context), 2)));
      break;
  }
}

}  // namespace

void RawParseCiff(TCameraRawContext& Context, Integer Offset, Integer Length) {
  THeapWalk Walk;
  ParseHeap(Context, Walk, Offset, Length, 0);
  if (Walk.WhiteBalanceIndex == 0 && ModelIs(Context, "Canon EOS D30")) Context.CameraRed = -1;
}
