#pragma once
// Helpers of the vector layer's tests: a control that counts its updates, an event counter,
// small pictures, an extension class and stream bytes.
#include <cstring>
#include <memory>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/view/ievect.h"
#include "platform/system/Streams.h"

class TCountingVect : public TZezudIdVect {
 public:
  using TZezudIdVect::TZezudIdVect;
  void Update() override {
    ++Updates;
    TZezudIdVect::Update();
  }
  int Updates = 0;
};

struct TEventCounter {
  int* Count;
  void Notify(TObject*) { ++*Count; }
};

// A 24-bit picture whose pixels follow from their place and Seed.
inline std::unique_ptr<TIEBitmap> TestPicture(Integer Width, Integer Height, Integer Seed) {
  auto Picture = std::make_unique<TIEBitmap>(Width, Height, ie24RGB);
  for (Integer Y = 0; Y < Height; ++Y)
    for (Integer X = 0; X < Width; ++X)
      Picture->SetPixel24(X, Y,
                          TIERGBTriple{static_cast<Byte>(X * 20 + Seed), static_cast<Byte>(Y * 30),
                                       static_cast<Byte>(Seed * 50 + X + Y)});
  return Picture;
}

inline bool SamePixels(TIEBitmap& A, TIEBitmap& B) {
  if (A.GetWidth() != B.GetWidth() || A.GetHeight() != B.GetHeight()) return false;
  for (Integer Y = 0; Y < A.GetHeight(); ++Y)
    for (Integer X = 0; X < A.GetWidth(); ++X)
      if (!(A.GetPixelRGB(X, Y) == B.GetPixelRGB(X, Y))) return false;
  return true;
}

// An extension whose data is one int32.
class TTestExtension : public TIEVExtension {
 public:
  Integer Payload = 0;
  void SaveToStream(TStream* Stream) override { Stream->WriteBuffer(&Payload, 4); }
  void LoadFromStream(TStream* Stream) override { Stream->ReadBuffer(&Payload, 4); }
  TIEVExtensionPtr Clone() const override {
    auto Copy = std::make_unique<TTestExtension>();
    Copy->Payload = Payload;
    return Copy;
  }
  void Draw(TBitmap*, const TRect&, Double, Double, bool) override {}
};

inline std::vector<Byte> AllBytes(TStream& Stream) {
  std::vector<Byte> Bytes(static_cast<size_t>(Stream.GetSize()));
  const Int64 Saved = Stream.GetPosition();
  Stream.SetPosition(0);
  if (!Bytes.empty()) Stream.ReadBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
  Stream.SetPosition(Saved);
  return Bytes;
}

inline std::unique_ptr<TMemoryStream> MemoryOf(const std::vector<Byte>& Bytes, size_t Count) {
  auto Stream = std::make_unique<TMemoryStream>();
  if (Count > 0) Stream->WriteBuffer(Bytes.data(), static_cast<Integer>(Count));
  Stream->SetPosition(0);
  return Stream;
}
