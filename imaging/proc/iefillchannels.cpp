#include "imaging/proc/iefillchannels.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieprocbase.h"
#include "platform/system/Math.h"

namespace {

// Sets or clears Count bits from bit First, most significant bit first.
void FillBits(Byte* Row, Integer First, Integer Count, bool Set) {
  auto PutBit = [&](Integer Bit) {
    const Byte Mask = static_cast<Byte>(0x80 >> (Bit & 7));
    Row[Bit >> 3] = Set ? Row[Bit >> 3] | Mask : Row[Bit >> 3] & ~Mask;
  };
  Integer Bit = First;
  const Integer End = First + Count;
  for (; Bit < End && (Bit & 7) != 0; ++Bit) PutBit(Bit);
  const Integer WholeBytes = (End - Bit) / 8;
  std::memset(Row + (Bit >> 3), Set ? 0xFF : 0, WholeBytes);
  for (Bit += WholeBytes * 8; Bit < End; ++Bit) PutBit(Bit);
}

void FillPixels3(Byte* Row, Integer Count, Byte Blue, Byte Green, Byte Red) {
  for (Integer X = 0; X < Count; ++X, Row += 3) {
    Row[0] = Blue;
    Row[1] = Green;
    Row[2] = Red;
  }
}

// 'B' 0, 'G' 1, 'R' 2, '0' 3 (zero); anything else keeps the channel at Position.
Integer ChannelSource(const std::string& Order, Integer Position) {
  if (Position >= static_cast<Integer>(Order.size())) return Position;
  switch (std::toupper(static_cast<unsigned char>(Order[Position]))) {
    case 'B':
      return 0;
    case 'G':
      return 1;
    case 'R':
      return 2;
    case '0':
      return 3;
    default:
      return Position;
  }
}

// Rearranges Count pixels of three channels of type T stored in the order of Channel indices
// given by Slot (Slot[c] = where channel c lies in the pixel).
template <typename T>
void RearrangeRow(T* Row, Integer Count, const Integer (&Source)[3], const Integer (&Slot)[3]) {
  for (Integer X = 0; X < Count; ++X, Row += 3) {
    const T Old[4] = {Row[Slot[0]], Row[Slot[1]], Row[Slot[2]], 0};
    for (Integer C = 0; C < 3; ++C) Row[Slot[C]] = Old[Source[C]];
  }
}

// Where channel c (0 blue, 1 green, 2 red) sits: ie24RGB bytes B, G, R; ieRGB48 words R, G, B.
constexpr Integer Slots24[3] = {0, 1, 2};
constexpr Integer Slots48[3] = {2, 1, 0};

template <typename T>
void ForEachChannelValue(TIEBitmap* Target, Integer Slot, auto&& Visit) {
  const Integer Width = Target->GetWidth();
  for (Integer Y = 0; Y < Target->GetHeight(); ++Y) {
    T* Row = static_cast<T*>(Target->GetScanline(Y)) + Slot;
    for (Integer X = 0; X < Width; ++X, Row += 3) Visit(*Row);
  }
}

}  // namespace

void IEFillColor(TIEBitmap* Bitmap, Integer X1, Integer Y1, Integer X2, Integer Y2, TObject* Sender,
                 const TIEProgressEvent& OnProgress, Integer Color) {
  X2 = std::min(X2, Bitmap->GetWidth());
  Y2 = std::min(Y2, Bitmap->GetHeight());
  const Byte Red = static_cast<Byte>(Color >> 16), Green = static_cast<Byte>(Color >> 8),
             Blue = static_cast<Byte>(Color);
  const TIEPixelFormat Format = Bitmap->GetPixelFormat();
  if (Format != ie1g && Format != ie8g && Format != ie24RGB) {
    Bitmap->FillRect(X1, Y1, X2 - 1, Y2 - 1, static_cast<Double>(IESwapRB(Color)));
    return;
  }
  const Integer Count = X2 - X1, Rows = Y2 - Y1;
  if (Count <= 0 || Rows <= 0) return;
  const Byte Grey = static_cast<Byte>((Red * 21 + Green * 71 + Blue * 8) / 100);
  const Double Factor = 100 / (Rows + 0.5);
  for (Integer R = 0; R < Rows; ++R) {
    Byte* Row = static_cast<Byte*>(Bitmap->GetScanline(Y1 + R));
    if (Format == ie1g)
      FillBits(Row, X1, Count, Red != 0);
    else if (Format == ie8g)
      std::memset(Row + X1, Grey, Count);
    else
      FillPixels3(Row + 3 * X1, Count, Blue, Green, Red);
    if (OnProgress) OnProgress(Sender, static_cast<Integer>(Trunc((R + 1) * Factor)));
  }
}

void IERearrangeChannels(TIEBitmap* Bitmap, const std::string& Order, TObject* Sender,
                         const TIEProgressEvent& OnProgress) {
  const TIEPixelFormat Format = Bitmap->GetPixelFormat();
  if (Format != ie24RGB && Format != ieRGB48) return;
  const Integer Source[3] = {ChannelSource(Order, 0), ChannelSource(Order, 1), ChannelSource(Order, 2)};
  const Integer Width = Bitmap->GetWidth(), Height = Bitmap->GetHeight();
  for (Integer Y = 0; Y < Height; ++Y) {
    void* Row = Bitmap->GetScanline(Y);
    if (Format == ie24RGB)
      RearrangeRow(static_cast<Byte*>(Row), Width, Source, Slots24);
    else
      RearrangeRow(static_cast<Word*>(Row), Width, Source, Slots48);
    if (OnProgress) OnProgress(Sender, static_cast<Integer>(Trunc(Y / static_cast<Double>(Height) * 100)));
  }
}

void IEAutoStretchChannels(TIEBitmap* Reference, TIEBitmap* Target) {
  if (Reference->GetPixelFormat() != ie24RGB || Reference->GetWidth() == 0 || Reference->GetHeight() == 0 ||
      Target->GetWidth() == 0 || Target->GetHeight() == 0)
    return;
  std::array<std::array<Integer, 256>, 3> Histograms{};
  for (Integer C = 0; C < 3; ++C)
    ForEachChannelValue<Byte>(Reference, C, [&](Byte V) { ++Histograms[C][V]; });
  const Integer RefCount = Reference->GetWidth() * Reference->GetHeight();
  for (Integer C = 0; C < 3; ++C) IEMatchChannelHistogram(Target, C, Histograms[C], RefCount);
}

void IEMatchChannelHistogram(TIEBitmap* Target, Integer Channel, const std::array<Integer, 256>& RefHistogram,
                             Integer RefCount) {
  const TIEPixelFormat Format = Target->GetPixelFormat();
  if ((Format != ie24RGB && Format != ieRGB48) || Channel < 0 || Channel > 2) return;
  if (Target->GetWidth() == 0 || Target->GetHeight() == 0 || RefCount <= 0) return;
  const bool Wide = Format == ieRGB48;
  const Integer Slot = Wide ? Slots48[Channel] : Slots24[Channel];

  std::array<Integer, 256> Histogram{};
  if (Wide)
    ForEachChannelValue<Word>(Target, Slot, [&](Word V) { ++Histogram[V / 256]; });
  else
    ForEachChannelValue<Byte>(Target, Slot, [&](Byte V) { ++Histogram[V]; });

  const Double Scale = 255 / (static_cast<Double>(Target->GetWidth()) * Target->GetHeight());
  std::array<Double, 256> RefCurve{};
  const Double RefScale = 255 / static_cast<Double>(RefCount);
  Int64 Sum = 0, RefSum = 0;
  std::array<Integer, 256> Equalised{};
  for (Integer I = 0; I < 256; ++I) {
    Sum += Histogram[I];
    Equalised[I] = static_cast<Integer>(Trunc(Sum * Scale));
    RefSum += RefHistogram[I];
    RefCurve[I] = RefScale * RefSum;
  }
  // The lowest of equally close reference levels wins.
  std::array<Integer, 256> Inverse{};
  for (Integer I = 0; I < 256; ++I) {
    Integer Best = 0;
    for (Integer J = 1; J < 256; ++J)
      if (std::fabs(I - RefCurve[J]) < std::fabs(I - RefCurve[Best])) Best = J;
    Inverse[I] = Best;
  }
  if (Wide)
    ForEachChannelValue<Word>(Target, Slot,
                              [&](Word& V) { V = static_cast<Word>(Inverse[Equalised[V / 256]] * 257); });
  else
    ForEachChannelValue<Byte>(Target, Slot, [&](Byte& V) { V = static_cast<Byte>(Inverse[Equalised[V]]); });
}
