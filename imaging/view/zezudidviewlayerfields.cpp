#include "imaging/view/zezudidviewlayerfields.h"

#include <bit>
#include <cstring>
#include <limits>

#include "imaging/core/iestreams.h"
#include "platform/system/Streams.h"

void TIEFieldWriter::Int32(Integer Value) {
  Byte Field[4];
  IEStoreLE32(Field, static_cast<Cardinal>(Value));
  Bytes(Field, sizeof(Field));
}

void TIEFieldWriter::UInt8(Byte Value) {
  FData.push_back(Value);
}

void TIEFieldWriter::Float64(double Value) {
  Byte Field[8];
  IEStoreLE64(Field, std::bit_cast<UInt64>(Value));
  Bytes(Field, sizeof(Field));
}

void TIEFieldWriter::Bytes(const void* Data, size_t Count) {
  const Byte* First = static_cast<const Byte*>(Data);
  FData.insert(FData.end(), First, First + Count);
}

void TIEFieldWriter::Zeros(size_t Count) {
  FData.insert(FData.end(), Count, 0);
}

void TIEFieldWriter::String(std::string_view Text) {
  Int32(static_cast<Integer>(Text.size()));
  Bytes(Text.data(), Text.size());
}

void TIEFieldWriter::FlushTo(TStream* Stream) {
  size_t Done = 0;
  // WriteBuffer takes a 32-bit count.
  constexpr size_t Block = std::numeric_limits<Integer>::max();
  while (Done < FData.size()) {
    const size_t Count = std::min(Block, FData.size() - Done);
    Stream->WriteBuffer(FData.data() + Done, static_cast<Integer>(Count));
    Done += Count;
  }
  FData.clear();
}

TIEFieldReader::TIEFieldReader(TStream* Stream, Int64 Limit)
    : FStream(Stream), FRemaining(std::max<Int64>(Limit, 0)) {}

TIEFieldReader TIEFieldReader::UpToEnd(TStream* Stream) {
  const Int64 Position = Stream->GetPosition();
  const Int64 Size = Stream->GetSize();
  return TIEFieldReader(Stream, Position < 0 || Size < Position ? 0 : Size - Position);
}

bool TIEFieldReader::Take(void* Data, size_t Count) {
  if (!FOk || static_cast<UInt64>(FRemaining) < Count) {
    FOk = false;
    return false;
  }
  size_t Done = 0;
  while (Done < Count) {
    const size_t Part = std::min<size_t>(Count - Done, std::numeric_limits<Integer>::max());
    const Integer Got = FStream->Read(static_cast<Byte*>(Data) + Done, static_cast<Integer>(Part));
    if (Got <= 0) {
      FOk = false;
      return false;
    }
    Done += static_cast<size_t>(Got);
  }
  FRemaining -= static_cast<Int64>(Count);
  return true;
}

bool TIEFieldReader::Int32(Integer& Value) {
  Byte Field[4];
  if (!Take(Field, sizeof(Field))) return false;
  Value = static_cast<Integer>(IELoadLE32(Field));
  return true;
}

bool TIEFieldReader::UInt8(Byte& Value) {
  return Take(&Value, 1);
}

bool TIEFieldReader::Bool(bool& Value) {
  Byte Field;
  if (!Take(&Field, 1)) return false;
  Value = Field != 0;
  return true;
}

bool TIEFieldReader::Float64(double& Value) {
  Byte Field[8];
  if (!Take(Field, sizeof(Field))) return false;
  Value = std::bit_cast<double>(IELoadLE64(Field));
  return true;
}

bool TIEFieldReader::Bytes(void* Data, size_t Count) {
  return Take(Data, Count);
}

bool TIEFieldReader::Skip(Int64 Count) {
  if (!FOk || Count < 0 || Count > FRemaining) {
    FOk = false;
    return false;
  }
  FStream->Seek(Count, soCurrent);
  FRemaining -= Count;
  return true;
}

bool TIEFieldReader::String(std::string& Text) {
  Integer Length = 0;
  if (!Int32(Length)) return false;
  if (Length < 0 || Length > FRemaining) {
    FOk = false;
    return false;
  }
  std::string Read(static_cast<size_t>(Length), '\0');
  if (!Take(Read.data(), Read.size())) return false;
  Text = std::move(Read);
  return true;
}
