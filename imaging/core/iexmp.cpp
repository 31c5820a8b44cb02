#include "imaging/core/iexmp.h"

#include <cstring>

namespace {

constexpr char XMPNamespace[] = "http://ns.adobe.com/xap/1.0/";
static_assert(sizeof(XMPNamespace) == IEXMPHeaderSize);
// Only this much of the identifier is compared.
constexpr Integer ComparedPrefix = 24;
constexpr Integer ShortestPayload = 30;

}  // namespace

const Byte* IEFindXMPData(const void* Data, Integer Length) {
  if (Data == nullptr || Length < ShortestPayload) return nullptr;
  const Byte* Bytes = static_cast<const Byte*>(Data);
  if (std::memcmp(Bytes, XMPNamespace, ComparedPrefix) != 0) return nullptr;
  // A payload without the identifier's zero byte is not XMP (and is not read past its end).
  const void* Zero = std::memchr(Bytes, 0, Length);
  return Zero == nullptr ? nullptr : static_cast<const Byte*>(Zero) + 1;
}

bool IELoadXMPFromAPP1(const void* Data, Integer Length, std::string& XmpInfo) {
  const Byte* Packet = IEFindXMPData(Data, Length);
  if (Packet == nullptr) return false;
  const Byte* End = static_cast<const Byte*>(Data) + Length;
  XmpInfo.assign(reinterpret_cast<const char*>(Packet), End - Packet);
  return true;
}

void IESaveXMPToAPP1(std::string_view XmpInfo, std::unique_ptr<Byte[]>& Buffer, Integer& Length) {
  Length = IEXMPHeaderSize + static_cast<Integer>(XmpInfo.size());
  Buffer = std::make_unique<Byte[]>(Length);
  std::memcpy(Buffer.get(), XMPNamespace, IEXMPHeaderSize);
  std::memcpy(Buffer.get() + IEXMPHeaderSize, XmpInfo.data(), XmpInfo.size());
}
