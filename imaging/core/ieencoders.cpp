#include "imaging/core/ieencoders.h"

#include <cstdio>

#include "imaging/core/iestreams.h"
#include "platform/system/Streams.h"

namespace {

constexpr Integer ASCII85LineLength = 75;
constexpr char Base64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

void WriteLineBreak(char*& Output) {
  *Output++ = '\r';
  *Output++ = '\n';
}

}  // namespace

Integer IEASCII85EncodeGroup(const Byte*& Input, Integer Count, char*& Output) {
  Cardinal Value = 0;
  for (Integer I = 0; I < 4; ++I) Value = (Value << 8) | (I < Count ? Input[I] : 0);
  Input += Count;
  if (Count == 4 && Value == 0) {
    *Output++ = 'z';
    return 1;
  }
  char Digits[5];
  for (Integer I = 4; I >= 0; --I) {
    Digits[I] = static_cast<char>('!' + Value % 85);
    Value /= 85;
  }
  for (Integer I = 0; I <= Count; ++I) *Output++ = Digits[I];
  return Count + 1;
}

Integer IEASCII85Encode(const Byte*& Input, Integer Length, char*& Output, Integer& Written) {
  Integer Total = 0;
  Integer Line = 0;
  for (Integer Remaining = Length; Remaining > 0;) {
    const Integer Count = Remaining < 4 ? Remaining : 4;
    const Integer Characters = IEASCII85EncodeGroup(Input, Count, Output);
    Remaining -= Count;
    Line += Characters;
    Written += Characters;
    Total += Characters;
    if (Line >= ASCII85LineLength) {
      WriteLineBreak(Output);
      Total += 2;
      Line = 0;
    }
  }
  *Output++ = '~';
  *Output++ = '>';
  WriteLineBreak(Output);
  return Total + 4;
}

Integer IEASCII85Bound(Integer Length) {
  const Integer Characters = (Length + 3) / 4 * 5;
  return Characters + (Characters / ASCII85LineLength + 1) * 2 + 4;
}

Integer IEPackBitsEncode(const Byte* Input, Integer Length, Byte* Output) {
  Byte* Out = Output;
  Integer J = 0;
  while (J < Length) {
    Integer Run = 1;
    while (J + Run < Length && Run < 128 && Input[J + Run] == Input[J]) ++Run;
    if (Run >= 2) {
      *Out++ = static_cast<Byte>(257 - Run);
      *Out++ = Input[J];
      J += Run;
      continue;
    }
    Integer Literal = 1;
    while (J + Literal < Length && Literal < 128 && Input[J + Literal] != Input[J + Literal - 1]) ++Literal;
    *Out++ = static_cast<Byte>(Literal - 1);
    for (Integer I = 0; I < Literal; ++I) *Out++ = Input[J + I];
    J += Literal;
  }
  *Out++ = 128;
  return static_cast<Integer>(Out - Output);
}

void IEBase64EncodeTriplet(const Byte* Input, char* Output, Integer Count) {
  const Cardinal B0 = Input[0];
  const Cardinal B1 = Count > 1 ? Input[1] : 0;
  const Cardinal B2 = Count > 2 ? Input[2] : 0;
  const Cardinal Value = (B0 << 16) | (B1 << 8) | B2;
  Output[0] = Base64Alphabet[(Value >> 18) & 63];
  Output[1] = Base64Alphabet[(Value >> 12) & 63];
  Output[2] = Count > 1 ? Base64Alphabet[(Value >> 6) & 63] : '=';
  Output[3] = Count > 2 ? Base64Alphabet[Value & 63] : '=';
}

void IEBase64EncodeStreamToText(TStream* Stream, TStream* TextFile, Integer LineLength) {
  const Integer GroupsPerLine = LineLength / 4 > 0 ? LineLength / 4 : 1;
  const Int64 Size = Stream->GetSize();
  std::string Line;
  while (Stream->GetPosition() < Size) {
    Byte Triplet[3] = {0, 0, 0};
    Integer Count = 0;
    while (Count < 3 && Stream->Read(&Triplet[Count], 1) == 1) ++Count;
    if (Count > 0) {
      char Group[4];
      IEBase64EncodeTriplet(Triplet, Group, Count);
      Line.append(Group, 4);
    }
    // A stream that delivers fewer bytes than its size claims ends the text too.
    const bool Ended = Count < 3 || Stream->GetPosition() >= Size;
    if (!Line.empty() && (static_cast<Integer>(Line.size()) >= GroupsPerLine * 4 || Ended)) {
      IEWriteLn(TextFile, Line);
      Line.clear();
    }
    if (Count < 3) break;
  }
}

void IEGUIDToString(const TGUID& GUID, std::string& Text) {
  char Buffer[39];
  std::snprintf(Buffer, sizeof(Buffer), "{%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x}", GUID.D1,
                GUID.D2, GUID.D3, GUID.D4[0], GUID.D4[1], GUID.D4[2], GUID.D4[3], GUID.D4[4], GUID.D4[5],
                GUID.D4[6], GUID.D4[7]);
  Text = Buffer;
}
