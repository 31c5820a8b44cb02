#include "imaging/io/iestreamheader.h"

#include <algorithm>
#include <cstring>

#include "imaging/core/iestreams.h"
#include "platform/system/Streams.h"

bool IEReadStreamHeader(TStream* Stream, TIEStreamHeader& Header) {
  std::array<Byte, IEStreamHeaderSize> Bytes{};
  if (Stream->Read(Bytes.data(), IEStreamHeaderSize) != IEStreamHeaderSize) return false;
  std::memcpy(Header.Magic.data(), Bytes.data(), Header.Magic.size());
  Header.Length = IELoadLE32(Bytes.data() + 8);
  return true;
}

Int64 IEStreamHeaderDataEnd(TStream* Stream, Int64 Start, Cardinal Length) {
  return std::min<Int64>(Start + IEStreamHeaderSize + Length, Stream->GetSize());
}

void IEReserveStreamHeader(TStream* Stream) {
  const std::array<Byte, IEStreamHeaderSize> Zeros{};
  Stream->WriteBuffer(Zeros.data(), IEStreamHeaderSize);
}

void IEWriteStreamHeader(TStream* Stream, Int64 Start, std::string_view Magic) {
  const Int64 End = Stream->GetPosition();
  std::array<Byte, IEStreamHeaderSize> Bytes{};
  std::memcpy(Bytes.data(), Magic.data(), std::min<size_t>(Magic.size(), 4));
  IEStoreLE32(Bytes.data() + 8, static_cast<Cardinal>(End - Start - IEStreamHeaderSize));
  Stream->SetPosition(Start);
  Stream->WriteBuffer(Bytes.data(), IEStreamHeaderSize);
  Stream->SetPosition(End);
}
