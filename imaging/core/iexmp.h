#pragma once
// The XMP packet in a JPEG APP1 payload: the XMP namespace identifier, a zero byte, then the
// packet text. The parameters' XMP text (XmpInfo) is handed in and out as a string so that
// the input and output layer above the core can pass its own field.
#include <memory>
#include <string>
#include <string_view>

#include "platform/system/Types.h"

// The identifier with its zero byte.
constexpr Integer IEXMPHeaderSize = 29;

// The packet inside an APP1 payload, or nullptr when the payload holds no XMP.
const Byte* IEFindXMPData(const void* Data, Integer Length);
// True when the payload holds XMP; XmpInfo then becomes the packet. Otherwise XmpInfo stays.
bool IELoadXMPFromAPP1(const void* Data, Integer Length, std::string& XmpInfo);
// The APP1 payload for XmpInfo (identifier, zero byte, text without a terminator) in a new
// buffer for the caller.
void IESaveXMPToAPP1(std::string_view XmpInfo, std::unique_ptr<Byte[]>& Buffer, Integer& Length);
