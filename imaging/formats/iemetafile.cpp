#include "imaging/formats/iemetafile.h"

#include "platform/system/Streams.h"
#include "platform/system/Types.h"

namespace {

constexpr Cardinal EmfHeaderRecord = 1;
constexpr Cardinal EmfSignature = 0x464D4520;  // " EMF"
constexpr Cardinal WmfPlaceableKey = 0x9AC6CDD7;
constexpr Integer WmfPlaceableHeaderSize = 22;

Cardinal ReadLE32(const Byte* P) {
  return P[0] | (P[1] << 8) | (P[2] << 16) | (static_cast<Cardinal>(P[3]) << 24);
}
Word ReadLE16(const Byte* P) {
  return static_cast<Word>(P[0] | (P[1] << 8));
}

// Restores the stream's position however the test ends.
class TPositionKeeper {
 public:
  explicit TPositionKeeper(TStream* Stream) : FStream(Stream), FStart(Stream->GetPosition()) {}
  ~TPositionKeeper() { FStream->SetPosition(FStart); }
  TPositionKeeper(const TPositionKeeper&) = delete;
  TPositionKeeper& operator=(const TPositionKeeper&) = delete;
  Int64 Start() const { return FStart; }

 private:
  TStream* FStream;
  Int64 FStart;
};

template <Integer Size>
bool ReadExactly(TStream* Stream, Byte (&Buffer)[Size]) {
  return Stream->Read(Buffer, Size) == Size;
}

}  // namespace

bool EmfIsFile(TStream* Stream) {
  TPositionKeeper Keeper(Stream);
  Byte Header[100];
  if (!ReadExactly(Stream, Header)) return false;
  return ReadLE32(Header) == EmfHeaderRecord && ReadLE32(Header + 40) == EmfSignature;
}

bool WmfIsFile(TStream* Stream) {
  TPositionKeeper Keeper(Stream);
  Byte Lead[20];
  if (!ReadExactly(Stream, Lead)) return false;
  const bool Placeable = ReadLE32(Lead) == WmfPlaceableKey;
  Stream->SetPosition(Keeper.Start() + (Placeable ? WmfPlaceableHeaderSize : 0));
  Byte Header[18];
  if (!ReadExactly(Stream, Header)) return false;
  return ReadLE16(Header) == 1 && ReadLE16(Header + 2) == 9 && ReadLE16(Header + 16) == 0;
}
