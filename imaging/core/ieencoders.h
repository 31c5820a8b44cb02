#pragma once
// Text and byte encoders of the PostScript and PDF writers and the text export: ASCII85,
// PackBits (the PostScript RunLengthDecode layout), Base64, and GUIDs as text. They write
// into memory or streams the caller owns and keep nothing beyond the call.
#include <string>

#include "imaging/core/ieutilstext.h"
#include "platform/system/Types.h"

class TStream;

// One ASCII85 group of Count (0..4) bytes, the first the most significant: "z" for four zero
// bytes, else Count + 1 digits from '!'. Both pointers advance; returns the characters written.
Integer IEASCII85EncodeGroup(const Byte*& Input, Integer Count, char*& Output);

// Length bytes as ASCII85 lines of at most 75 characters ended by CR LF, then "~>" CR LF.
// Written grows by the group characters only; returns everything written. An empty input
// writes only the end mark (a lone digit would be no valid group).
Integer IEASCII85Encode(const Byte*& Input, Integer Length, char*& Output, Integer& Written);
// Room IEASCII85Encode needs for Length bytes: the groups, a line break per 75 characters and
// the end mark.
Integer IEASCII85Bound(Integer Length);

// The worst case of IEPackBitsEncode for Length input bytes.
inline Integer IEPackBitsBound(Integer Length) {
  return Length + Length / 128 + 2;
}
// Runs of 2..128 equal bytes as 257 - n and the byte, literals of up to 128 bytes as n - 1 and
// the bytes, then the end code 128. Output holds IEPackBitsBound(Length) bytes; returns the
// bytes written.
Integer IEPackBitsEncode(const Byte* Input, Integer Length, Byte* Output);

// Count (1..3) bytes as four Base64 characters, '=' for the missing ones.
void IEBase64EncodeTriplet(const Byte* Input, char* Output, Integer Count);

// Every byte from Stream's position to its end as Base64 text in lines of LineLength / 4
// groups (at least one), each line ended by CR LF.
void IEBase64EncodeStreamToText(TStream* Stream, TStream* TextFile, Integer LineLength);

// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" in lower case.
void IEGUIDToString(const TGUID& GUID, std::string& Text);
