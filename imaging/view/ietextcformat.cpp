// Character-format records of the text control: their 280-byte form, comparison and fields.
#include <algorithm>
#include <cstring>

#include "imaging/view/ietextc.h"

namespace {

void PutInt(Byte* P, Integer V) {
  const auto U = static_cast<Cardinal>(V);
  for (int I = 0; I < 4; ++I) P[I] = static_cast<Byte>(U >> (8 * I));
}

Integer GetInt(const Byte* P) {
  Cardinal U = 0;
  for (int I = 0; I < 4; ++I) U |= static_cast<Cardinal>(P[I]) << (8 * I);
  return static_cast<Integer>(U);
}

}  // namespace

TIECharFormat IECharFormatRead(const Byte* Data) {
  TIECharFormat F;
  F.RefCount = GetInt(Data);
  std::memcpy(F.Name.data(), Data + 4, 256);
  F.Height = GetInt(Data + 260);
  F.Style = Data[264];
  std::memcpy(F.Pad.data(), Data + 265, 3);
  F.Color = static_cast<TColor>(GetInt(Data + 268));
  F.BackColor = static_cast<TColor>(GetInt(Data + 272));
  F.BackStyle = Data[276];
  F.Alignment = Data[277];
  std::memcpy(F.Reserved.data(), Data + 278, 2);
  return F;
}

void IECharFormatWrite(const TIECharFormat& F, Byte* Data) {
  PutInt(Data, F.RefCount);
  std::memcpy(Data + 4, F.Name.data(), 256);
  PutInt(Data + 260, F.Height);
  Data[264] = F.Style;
  std::memcpy(Data + 265, F.Pad.data(), 3);
  PutInt(Data + 268, static_cast<Integer>(F.Color));
  PutInt(Data + 272, static_cast<Integer>(F.BackColor));
  Data[276] = F.BackStyle;
  Data[277] = F.Alignment;
  std::memcpy(Data + 278, F.Reserved.data(), 2);
}

bool IECharFormatEqual(const TIECharFormat& A, const TIECharFormat& B) {
  return A.Name == B.Name && A.Height == B.Height && A.Style == B.Style && A.Pad == B.Pad &&
         A.Color == B.Color && A.BackColor == B.BackColor && A.BackStyle == B.BackStyle &&
         A.Alignment == B.Alignment && A.Reserved == B.Reserved;
}

std::string IECharFormatGetName(const TIECharFormat& F) {
  return std::string(reinterpret_cast<const char*>(F.Name.data() + 1), F.Name[0]);
}

void IECharFormatSetName(TIECharFormat& F, const std::string& Name) {
  const std::size_t N = std::min<std::size_t>(Name.size(), 255);
  F.Name.fill(0);
  F.Name[0] = static_cast<Byte>(N);
  std::memcpy(F.Name.data() + 1, Name.data(), N);
}

TFontStyles IECharFormatGetStyles(const TIECharFormat& F) {
  TFontStyles S;
  for (int Bit = 0; Bit < 4; ++Bit)
    if ((F.Style >> Bit) & 1) S.Include(static_cast<TFontStyle>(Bit));
  return S;
}

Byte IEFontStylesToByte(TFontStyles Styles) {
  Byte B = 0;
  for (int Bit = 0; Bit < 4; ++Bit)
    if (Styles.Contains(static_cast<TFontStyle>(Bit))) B |= static_cast<Byte>(1 << Bit);
  return B;
}
