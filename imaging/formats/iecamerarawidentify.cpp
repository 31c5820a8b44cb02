// Camera identification: the header dispatch to the container parsers, the normalised maker
// and model names, and the per-camera knowledge (geometry, filter pattern, loader,
// multipliers) as one ordered chain of tests where the first matching row wins.
#include <strings.h>

#include <cstring>

#include "imaging/formats/iecameraraw.h"

namespace {

constexpr Word LittleEndian = 0x4949;
constexpr Word BigEndian = 0x4D4D;

bool Equals(const char* A, const char* B) {
  return std::strcmp(A, B) == 0;
}
bool EqualsNoCase(const char* A, const char* B) {
  return strcasecmp(A, B) == 0;
}
bool StartsWith(const char* Text, const char* Prefix) {
  return std::strncmp(Text, Prefix, std::strlen(Prefix)) == 0;
}
void SetName(char* Field, const char* Value) {
  std::strncpy(Field, Value, RawNameLength - 1);
  Field[RawNameLength - 1] = 0;
}

// Multipliers r, g, b, g2; 0 keeps the current value.
void SetPreMul(TCameraRawContext& C, Single R, Single G, Single B, Single G2 = 0) {
  const Single Values[4] = {R, G, B, G2};
  for (Integer I = 0; I < 4; ++I)
    if (Values[I] != 0) C.PreMul[I] = Values[I];
}
void SetSize(TCameraRawContext& C, Integer Height, Integer Width) {
  C.Height = Height;
  C.Width = Width;
}
void SetMargins(TCameraRawContext& C, Integer Top, Integer Left) {
  C.TopMargin = Top;
  C.LeftMargin = Left;
}
void SetMosaic(TCameraRawContext& C, Cardinal Filters, Integer Colors = 3) {
  C.Filters = Filters;
  C.Colors = Colors;
}

// ---- The header dispatch ----

void ReadPhaseOneHeader(TCameraRawContext& C, Integer Match) {
  SetName(C.Make, "Phase One");
  C.DataOffset = Match;
  RawSeek(C, Match + 8);
  const Cardinal Skip = RawGet4(C);
  RawSkip(C, static_cast<Int64>(Skip) + 136);
  C.RawWidth = static_cast<Integer>(RawGet4(C));
  RawSkip(C, 12);
  C.RawHeight = static_cast<Integer>(RawGet4(C));
}

void ReadMinoltaMrwHeader(TCameraRawContext& C) {
  RawParseTiff(C, 48);
  RawSeek(C, 4);
  C.DataOffset = static_cast<Integer>(RawGet4(C) + 8);
  RawSeek(C, 24);
  C.RawHeight = RawGet2(C);
  C.RawWidth = RawGet2(C);
  RawSeek(C, 12);
  RawSkip(C, static_cast<Int64>(RawGet4(C)) + 4);
  RawSkip(C, static_cast<Int64>(RawGet4(C)) + 12);
  const Single A = RawGet2(C), B = RawGet2(C), Cc = RawGet2(C), D = RawGet2(C);
  // A zero divisor leaves the balance unknown rather than infinite.
  C.CameraRed = B != 0 ? A / B : 0;
  C.CameraBlue = Cc != 0 ? D / Cc : 0;
}

// False when the file is plainly no raw file (a BMP of another resolution).
bool ReadNucoreHeader(TCameraRawContext& C, const Byte* Head) {
  C.ByteOrder = LittleEndian;
  if (Head[1] == 'M') {
    C.DataOffset = 4096;
    RawSeek(C, 38);
    const Cardinal ResolutionX = RawGet4(C);
    const Cardinal ResolutionY = RawGet4(C);
    if (ResolutionX != 2834 || ResolutionY != 2834) return false;
    SetName(C.Model, "BMQ");
  } else {
    SetName(C.Model, "RAW");
  }
  SetName(C.Make, "Nucore");
  RawSeek(C, 10);
  C.DataOffset += static_cast<Integer>(RawGet4(C));
  RawGet4(C);
  C.RawWidth = static_cast<Integer>(RawGet4(C));
  C.RawHeight = static_cast<Integer>(RawGet4(C));
  if (C.Model[0] == 'B' && C.RawWidth == 2597) {
    C.RawWidth = 2598;
    C.DataOffset -= 4096;
  }
  return true;
}

struct TRawFixedSize {
  Integer Size;
  const char* Make;
  const char* Model;
};
constexpr TRawFixedSize RawFixedSizes[] = {
    {62464, "Kodak", "DC20"},        {124928, "Kodak", "DC20"},          {2465792, "NIKON", "E950"},
    {2940928, "NIKON", "E2100"},     {4771840, "NIKON", "E990"},         {5865472, "NIKON", "E4500"},
    {5869568, "NIKON", "E4300"},     {787456, "Creative", "PC-CAM 600"}, {1976352, "Casio", "QV-2000UX"},
    {3217760, "Casio", "QV-3*00EX"}, {6218368, "Casio", "QV-5700"},      {7684000, "Casio", "QV-4000"},
    {9313536, "Casio", "EX-P600"},   {4841984, "Pentax", "Optio S"},     {6114240, "Pentax", "Optio S4"},
    {12582980, "Sinar", ""},
};

void IdentifyByFileSize(TCameraRawContext& C) {
  for (const TRawFixedSize& Row : RawFixedSizes)
    if (C.InputSize == Row.Size) {
      SetName(C.Make, Row.Make);
      SetName(C.Model, Row.Model);
    }
}

// False when the header rules out a raw file outright.
bool DispatchOnHeader(TCameraRawContext& C, const Byte* Head) {
  const Integer Size = static_cast<Integer>(C.InputSize);
  RawSeek(C, 0);
  C.ByteOrder = static_cast<Word>(RawGetByte(C) << 8 | RawGetByte(C));
  const Integer HeaderLength = static_cast<Integer>(RawGet4(C));
  const Integer PhaseOne = RawMemSearch(Head, 32, "MMMMRawT", 8);
  if (PhaseOne >= 0) {
    ReadPhaseOneHeader(C, PhaseOne);
  } else if (C.ByteOrder == LittleEndian || C.ByteOrder == BigEndian) {
    if (RawMemCompare(Head + 6, "HEAPCCDR", 8) == 0) {
      C.DataOffset = HeaderLength;
      RawParseCiff(C, HeaderLength, Size - HeaderLength);
    } else {
      RawParseTiff(C, 0);
      if (StartsWith(C.Make, "NIKON") && C.RawWidth == 0) C.Make[0] = 0;
    }
  } else if (RawMemCompare(Head, "\0MRM", 4) == 0) {
    ReadMinoltaMrwHeader(C);
  } else if (RawMemCompare(Head, "\xFF\xD8\xFF\xE1", 4) == 0 && RawMemCompare(Head + 6, "Exif", 4) == 0) {
    RawSeek(C, 4);
    RawSeek(C, RawGet2(C) + 4);
    if (RawGetByte(C) != 0xFF) RawParseTiff(C, 12);
  } else if (Head[0] == 'B' && (Head[1] == 'M' || Head[1] == 'R')) {
    return ReadNucoreHeader(C, Head);
  } else if (RawMemCompare(Head + 25, "ARECOYK", 7) == 0) {
    SetName(C.Make, "CONTAX");
    SetName(C.Model, "N DIGITAL");
  } else if (RawMemCompare(Head, "FUJIFILM", 8) == 0) {
    RawSeek(C, 84);
    RawParseTiff(C, static_cast<Integer>(RawGet4(C) + 12));
    C.ByteOrder = BigEndian;
    RawSeek(C, 100);
    C.DataOffset = static_cast<Integer>(RawGet4(C));
  } else if (RawMemCompare(Head, "DSC-Image", 9) == 0) {
    RawParseRollei(C);
  } else if (RawMemCompare(Head, "FOVb", 4) != 0) {
    IdentifyByFileSize(C);
  } else {
    RawParseFoveon(C);
  }
  return true;
}

// ---- Names ----

void NormaliseNames(TCameraRawContext& C) {
  C.Make[RawNameLength - 1] = C.Model[RawNameLength - 1] = C.Model2[RawNameLength - 1] = 0;
  static const char* const Makers[] = {"Canon", "NIKON", "Kodak", "PENTAX", "MINOLTA", "Minolta", "Konica"};
  for (const char* Maker : Makers)
    if (std::strstr(C.Make, Maker)) {
      SetName(C.Make, Maker);
      break;
    }
  if (StartsWith(C.Make, "KODAK")) C.Make[16] = C.Model[16] = 0;
  for (char* Name : {C.Make, C.Model})
    for (std::size_t Length = std::strlen(Name); Length > 0 && Name[Length - 1] == ' ';) Name[--Length] = 0;
  const std::size_t MakeLength = std::strlen(C.Make);
  if (MakeLength > 0 && StartsWith(C.Model, C.Make)) {
    std::memmove(C.Model, C.Model + MakeLength + 1, RawNameLength - 1 - MakeLength);
    C.Model[RawNameLength - 1 - MakeLength] = 0;
  }
}

void SetDefaults(TCameraRawContext& C) {
  C.LoadRaw = nullptr;
  C.Height = C.RawHeight;
  C.Width = C.RawWidth;
  SetMargins(C, 0, 0);
  SetMosaic(C, 0x94949494);
  C.Black = 0;
  C.IsCmy = C.IsFoveon = C.UseCoefficients = 0;
  for (Single& Multiplier : C.PreMul) Multiplier = 1.0f;
  C.XMag = C.YMag = 1;
  C.Maximum = 0x4000;
}

// ---- Makers before the table ----

void ApplyMakeRules(TCameraRawContext& C, const Byte* Head) {
  if (Equals(C.Make, "Canon")) {
    C.IsCanon = 1;
    if (RawMemCompare(Head + 6, "HEAPCCDR", 8) != 0) {
      C.Filters = 0x61616161;
      C.LoadRaw = RawLoadLosslessJpeg;
    } else if (C.RawWidth != 0) {
      C.LoadRaw = RawLoadCanonCompressed;
    }
  }
  if (Equals(C.Make, "NIKON")) C.LoadRaw = RawNikonIsCompressed(C) ? RawLoadNikonCompressed : RawLoadNikon;
}

// The white balance block shared by the Konica and Minolta rows.
void ApplyMinoltaBlock(TCameraRawContext& C, Integer BalanceAt) {
  C.ByteOrder = BigEndian;
  RawSeek(C, BalanceAt);
  const Single A = RawGet2(C), B = RawGet2(C), Cc = RawGet2(C), D = RawGet2(C);
  C.CameraRed = Cc != 0 ? A / Cc : 0;
  C.CameraBlue = D != 0 ? B / D : 0;
  C.LoadRaw = RawLoadBigEndianLow10;
  C.Maximum = 15856;
  SetPreMul(C, 1.42f, 0, 1.25f);
}

// ---- The camera table, first part: true when a row matched ----

bool ApplyCanonRow(TCameraRawContext& C) {
  const char* M = C.Model;
  if (Equals(M, "PowerShot 600")) {
    SetSize(C, 613, 854);
    SetMosaic(C, 0xE1E4E1E4, 4);
    C.LoadRaw = RawLoadCanon600;
    SetPreMul(C, 1.137f, 1.257f, 0);
  } else if (Equals(M, "PowerShot A5") || Equals(M, "PowerShot A5 Zoom")) {
    SetSize(C, 776, 960);
    C.RawWidth = 992;
    SetMosaic(C, 0x1E4E1E4E, 4);
    C.LoadRaw = RawLoadCanonA5;
    SetPreMul(C, 1.5842f, 1.2966f, 1.0419f);
  } else if (Equals(M, "PowerShot A50")) {
    SetSize(C, 968, 1290);
    C.RawWidth = 1320;
    SetMosaic(C, 0x1B4E4B1E, 4);
    C.LoadRaw = RawLoadCanonA5;
    SetPreMul(C, 1.75f, 1.381f, 0, 1.182f);
  } else if (Equals(M, "PowerShot Pro70")) {
    SetSize(C, 1024, 1552);
    SetMosaic(C, 0x1E4B4E1B, 4);
    C.LoadRaw = RawLoadCanonA5;
    SetPreMul(C, 1.389f, 1.343f, 0, 1.034f);
  } else if (Equals(M, "PowerShot Pro90 IS")) {
    C.Width = 1896;
    SetMosaic(C, 0xB4B4B4B4, 4);
    SetPreMul(C, 1.496f, 1.509f, 0, 1.009f);
  } else if (!Equals(C.Make, "Canon")) {
    return false;
  } else if (C.RawWidth == 2144) {
    SetSize(C, 1550, 2088);
    SetMargins(C, 8, 4);
    if (Equals(M, "PowerShot G1")) {
      SetMosaic(C, 0xB4B4B4B4, 4);
      SetPreMul(C, 1.446f, 1.405f, 1.016f);
    } else {
      SetPreMul(C, 1.785f, 0, 1.266f);
    }
  } else if (C.RawWidth == 2224) {
    SetSize(C, 1448, 2176);
    SetMargins(C, 6, 48);
    SetPreMul(C, 1.592f, 0, 1.261f);
  } else if (C.RawWidth == 2376) {
    SetSize(C, 1720, 2312);
    SetMargins(C, 6, 12);
    if (Equals(M, "PowerShot G2") || Equals(M, "PowerShot S40"))
      SetPreMul(C, 1.965f, 0, 1.208f);
    else
      SetPreMul(C, 1.855f, 0, 1.339f);
  } else if (C.RawWidth == 2672) {
    SetSize(C, 1960, 2616);
    SetMargins(C, 6, 12);
    SetPreMul(C, 1.895f, 0, 1.403f);
  } else if (C.RawWidth == 3152) {
    SetSize(C, 2056, 3088);
    SetMargins(C, 12, 64);
    if (Equals(M, "EOS Kiss Digital"))
      SetPreMul(C, 1.882f, 0, 1.094f);
    else
      SetPreMul(C, 2.242f, 0, 1.245f);
    C.Maximum = 16000;
  } else if (C.RawWidth == 3160) {
    SetSize(C, 2328, 3112);
    SetMargins(C, 12, 44);
    SetPreMul(C, 1.85f, 0, 1.53f);
  } else if (C.RawWidth == 3344) {
    SetSize(C, 2472, 3288);
    SetMargins(C, 6, 4);
    SetPreMul(C, 1.621f, 0, 1.528f);
  } else {
    return false;
  }
  return true;
}

void SetEosGeometry(TCameraRawContext& C, Integer RawHeight, Integer RawWidth, Integer Top, Integer Left) {
  C.RawHeight = RawHeight;
  C.RawWidth = RawWidth;
  SetMargins(C, Top, Left);
  SetSize(C, RawHeight - Top, RawWidth - Left);
  C.Filters = 0x94949494;
}

bool ApplyEosRow(TCameraRawContext& C) {
  const char* M = C.Model;
  if (Equals(M, "EOS-1D")) {
    SetSize(C, 1662, 2496);
    C.DataOffset = 288912;
    SetPreMul(C, 1.976f, 0, 1.282f);
  } else if (Equals(M, "EOS-1DS")) {
    SetSize(C, 2718, 4082);
    C.DataOffset = 289168;
    SetPreMul(C, 1.66f, 0, 1.13f);
    C.Maximum = 14464;
  } else if (Equals(M, "EOS-1D Mark II") || Equals(M, "EOS 20D")) {
    SetEosGeometry(C, 2360, 3596, 12, 74);
    SetPreMul(C, 1.95f, 0, 1.36f);
  } else if (Equals(M, "EOS-1Ds Mark II")) {
    SetEosGeometry(C, 3349, 5108, 13, 98);
    SetPreMul(C, 1.609f, 0, 1.848f);
    C.Maximum = 0x3A00;
  } else if (Equals(M, "EOS D2000C")) {
    SetPreMul(C, 0, 0, 1.25f);
    C.Black = 800;
  } else {
    return false;
  }
  return true;
}

bool ApplyNikonRow(TCameraRawContext& C) {
  const char* M = C.Model;
  if (Equals(M, "D1")) {
    C.Filters = 0x16161616;
    SetPreMul(C, 0.838f, 0, 1.095f);
  } else if (Equals(M, "D1H")) {
    C.Filters = 0x16161616;
    SetPreMul(C, 2.301f, 0, 1.129f);
  } else if (Equals(M, "D1X")) {
    C.Width = 4024;
    C.Filters = 0x16161616;
    SetPreMul(C, 1.91f, 0, 1.22f);
    C.YMag = 2;
  } else if (Equals(M, "D100")) {
    if (C.TiffCompression == 34713 && C.LoadRaw == RawLoadNikon) {
      C.RawWidth = C.Width + 6;
      C.Width += 3;
    }
    C.Filters = 0x61616161;
    SetPreMul(C, 2.374f, 0, 1.677f);
    C.Maximum = 15632;
  } else if (Equals(M, "D2H")) {
    C.Width = 2482;
    C.LeftMargin = 6;
    C.Filters = 0x49494949;
    SetPreMul(C, 2.8f, 0, 1.2f);
  } else if (Equals(M, "D70")) {
    C.Filters = 0x16161616;
    SetPreMul(C, 2.043f, 0, 1.625f);
  } else if (Equals(M, "E950")) {
    SetSize(C, 1203, 1616);
    SetMosaic(C, 0x4B4B4B4B, 4);
    C.LoadRaw = RawLoadNikonE950;
    SetPreMul(C, 1.1819f, 0, 1.1645f, 1.1725f);
    RawNikonE950Coefficients(C);
  } else if (Equals(M, "E990")) {
    SetSize(C, 1540, 2064);
    C.Colors = 4;
    if (RawNikonE990Test(C)) {
      C.Filters = 0xB4B4B4B4;
      RawNikonE950Coefficients(C);
      SetPreMul(C, 1.196f, 1.246f, 1.018f);
    } else {
      SetName(C.Model, "E995");
      C.Filters = 0xE1E1E1E1;
      SetPreMul(C, 1.253f, 1.178f, 0, 1.035f);
    }
  } else if (Equals(M, "E2100")) {
    C.Width = 1616;
    if (RawNikonE2100Test(C)) {
      C.Height = 1206;
      C.LoadRaw = RawLoadNikonE2100;
      SetPreMul(C, 1.945f, 0, 1.04f);
    } else {
      SetName(C.Model, "E2500");
      C.Height = 1204;
      SetMosaic(C, 0x4B4B4B4B, 4);
      SetPreMul(C, 1.3f, 1.3f, 0, 1.148f);
    }
  } else if (Equals(M, "E4300")) {
    SetSize(C, 1710, 2288);
    C.Filters = 0x16161616;
    if (RawMinoltaZ2Test(C)) {
      SetName(C.Make, "Minolta");
      SetName(C.Model, "DiMAGE Z2");
      C.LoadRaw = RawLoadNikonE2100;
    }
  } else if (Equals(M, "E4500")) {
    SetSize(C, 1708, 2288);
    SetMosaic(C, 0xB4B4B4B4, 4);
    SetPreMul(C, 1.3f, 1.3f, 0, 1.148f);
  } else if (Equals(M, "E5000") || Equals(M, "E5700")) {
    SetMosaic(C, 0xB4B4B4B4, 4);
    SetPreMul(C, 1.3f, 1.3f, 0, 1.148f);
  } else if (Equals(M, "E5400")) {
    C.Filters = 0x16161616;
    SetPreMul(C, 1.7f, 0, 1.344f);
  } else if (Equals(M, "E8700") || Equals(M, "E8800")) {
    C.Filters = 0x16161616;
    SetPreMul(C, 2.131f, 0, 1.3f);
  } else {
    return false;
  }
  return true;
}

void SetFuji(TCameraRawContext& C, Integer Height, Integer Width, Cardinal Filters, TCameraRawLoader Loader) {
  SetSize(C, Height, Width);
  C.Filters = Filters;
  C.LoadRaw = Loader;
}

bool ApplyFujiRow(TCameraRawContext& C) {
  const char* M = C.Model;
  if (Equals(M, "FinePixS2Pro")) {
    SetFuji(C, 3584, 3583, 0x61616161, RawLoadFujiS2);
    SetPreMul(C, 1.424f, 0, 1.718f);
    C.Black = 512;
  } else if (Equals(M, "FinePix S5000")) {
    SetFuji(C, 2499, 2500, 0x49494949, RawLoadFujiS5000);
    SetPreMul(C, 1.639f, 0, 1.438f);
    C.Maximum = 0xF800;
  } else if (Equals(M, "FinePix S7000")) {
    SetFuji(C, 3587, 3588, 0x49494949, RawLoadFujiS7000);
    SetPreMul(C, 1.62f, 0, 1.38f);
    C.Maximum = 0xF800;
  } else if (Equals(M, "FinePix E550")) {
    SetFuji(C, 3587, 3588, 0x49494949, RawLoadFujiS7000);
    SetPreMul(C, 1.45f, 0, 1.25f);
    C.Maximum = 0xF800;
  } else if (Equals(M, "FinePix F700") || Equals(M, "FinePix S20Pro")) {
    SetFuji(C, 2523, 2524, 0x49494949, RawLoadFujiF700);
    SetPreMul(C, 1.639f, 0, 1.438f);
    C.Maximum = 0x3E00;
  } else {
    return false;
  }
  return true;
}

void SetKonicaMinolta(TCameraRawContext& C, Integer Height, Integer Width, Integer RawWidth,
                      Integer DataOffset, Integer BalanceAt) {
  SetSize(C, Height, Width);
  if (RawWidth) C.RawWidth = RawWidth;
  C.DataOffset = DataOffset;
  ApplyMinoltaBlock(C, BalanceAt);
}

bool ApplyMinoltaRow(TCameraRawContext& C) {
  const char* M = C.Model;
  if (Equals(M, "Digital Camera KD-400Z")) {
    SetKonicaMinolta(C, 1712, 2312, 2336, 4034, 2032);
  } else if (Equals(M, "Digital Camera KD-510Z")) {
    SetKonicaMinolta(C, 1956, 2607, 2624, 4032, 2032);
    C.Filters = 0x61616161;
  } else if (EqualsNoCase(C.Make, "MINOLTA")) {
    C.LoadRaw = RawLoadBigEndianLow12;
    C.Maximum = 15860;
    if (StartsWith(M, "DiMAGE A")) {
      C.LoadRaw = RawLoadPacked12;
      C.Maximum = M[8] == '1' ? 15916 : 16380;
      SetPreMul(C, 1.42f, 0, 1.25f);
    } else if (!StartsWith(M, "DiMAGE G")) {
      SetPreMul(C, 1.42f, 0, 1.25f);
    } else if (M[8] == '4') {
      SetKonicaMinolta(C, 1716, 2304, 0, 5056, 2078);
      C.Filters = 0x61616161;
    } else if (M[8] == '5') {
      SetKonicaMinolta(C, 1956, 2607, 2624, 4016, 1936);
      C.Filters = 0x61616161;
    } else if (M[8] == '6') {
      SetKonicaMinolta(C, 2136, 2848, 0, 4032, 2030);
      C.Filters = 0x61616161;
    }
  } else {
    return false;
  }
  return true;
}

void ApplyPhaseOneRow(TCameraRawContext& C) {
  struct TBack {
    Integer RawHeight;
    const char* Model;
    Integer Height, Width, Top, Left;
    Single Red, Blue;
  };
  static const TBack Backs[] = {{2060, "LightPhase", 2048, 3080, 5, 22, 1.331f, 1.154f},
                                {2682, "H10", 2672, 4012, 5, 26, 0, 0},
                                {4128, "H20", 4098, 4098, 20, 26, 1.963f, 1.43f},
                                {5488, "H25", 5458, 4098, 20, 26, 2.8f, 1.2f}};
  for (const TBack& Back : Backs)
    if (C.RawHeight == Back.RawHeight) {
      SetName(C.Model, Back.Model);
      SetSize(C, Back.Height, Back.Width);
      SetMargins(C, Back.Top, Back.Left);
      SetPreMul(C, Back.Red, 0, Back.Blue);
    }
  C.Filters = C.TopMargin & 1 ? 0x94949494 : 0x49494949;
  C.LoadRaw = RawLoadPhaseOne;
  C.Maximum = 0xFFFF;
}

bool ApplyOtherRow(TCameraRawContext& C, const Byte* Head) {
  const char* M = C.Model;
  if (Equals(M, "*ist D")) {
    SetSize(C, 2024, 3040);
    C.DataOffset = 0x10000;
    C.LoadRaw = RawLoadBigEndianLow12;
    SetPreMul(C, 1.76f, 1.07f, 0);
  } else if (Equals(M, "Optio S")) {
    SetSize(C, 1544, 2068);
    C.RawWidth = 3136;
    C.LoadRaw = RawLoadPacked12;
    SetPreMul(C, 1.506f, 0, 1.152f);
  } else if (Equals(M, "Optio S4")) {
    SetSize(C, 1737, 2324);
    C.RawWidth = 3520;
    C.LoadRaw = RawLoadPacked12;
    SetPreMul(C, 1.308f, 0, 1.275f);
  } else if (Equals(C.Make, "Phase One")) {
    ApplyPhaseOneRow(C);
  } else if (Equals(M, "Ixpress")) {
    SetSize(C, 4084, 4080);
    C.Filters = 0x49494949;
    C.LoadRaw = RawLoadIxpress;
    SetPreMul(C, 1.963f, 0, 1.43f);
    C.Maximum = 0xFFFF;
  } else if (Equals(C.Make, "Sinar") && RawMemCompare(Head, "8BPS", 4) == 0) {
    RawSeek(C, 14);
    C.Height = static_cast<Integer>(RawGet4(C));
    C.Width = static_cast<Integer>(RawGet4(C));
    C.DataOffset = 68;
    C.Filters = 0x61616161;
    C.LoadRaw = RawLoadBigEndian16;
    C.Maximum = 0xFFFF;
  } else if (Equals(C.Make, "Leaf")) {
    if (C.Width < C.Height) C.Filters = 0x16161616;
    C.LoadRaw = RawLoadBigEndian16;
    SetPreMul(C, 1.1629f, 0, 1.3556f);
    C.Maximum = 0xFFFF;
  } else if (Equals(M, "DIGILUX 2") || Equals(M, "DMC-LC1")) {
    SetSize(C, 1928, 2568);
    C.DataOffset = 1024;
    C.LoadRaw = RawLoadLittleEndianHigh12;
    SetPreMul(C, 1.883f, 0, 1.367f);
  } else if (Equals(M, "E-1")) {
    C.Filters = 0x61616161;
    C.LoadRaw = RawLoadLittleEndianHigh12;
    SetPreMul(C, 1.57f, 0, 1.48f);
  } else if (Equals(M, "E-10")) {
    C.LoadRaw = RawLoadBigEndianHigh12;
    SetPreMul(C, 1.43f, 0, 1.77f);
  } else if (StartsWith(M, "E-20")) {
    C.LoadRaw = RawLoadBigEndianHigh12;
    SetPreMul(C, 1.43f, 0, 1.77f);
    C.Black = 640;
  } else if (Equals(M, "C5050Z")) {
    C.Filters = 0x16161616;
    C.LoadRaw = RawLoadOlympusC;
    SetPreMul(C, 1.533f, 0, 1.88f);
  } else if (Equals(M, "C5060WZ")) {
    C.LoadRaw = RawLoadOlympusC;
    SetPreMul(C, 2.285f, 0, 1.023f);
  } else if (Equals(M, "C8080WZ")) {
    C.Filters = 0x16161616;
    C.LoadRaw = RawLoadOlympusC;
    SetPreMul(C, 2.335f, 0, 1.323f);
  } else if (Equals(M, "N DIGITAL")) {
    SetSize(C, 2047, 3072);
    C.DataOffset = 6656;
    C.Filters = 0x61616161;
    C.LoadRaw = RawLoadPacked12;
    SetPreMul(C, 1.366f, 0, 1.251f);
  } else if (Equals(M, "DSC-F828")) {
    SetSize(C, 2460, 3288);
    C.RawWidth = 3360;
    C.LeftMargin = 5;
    SetMosaic(C, 0xB4B4B4B4, 4);
    C.LoadRaw = RawLoadSony;
    SetPreMul(C, 1.512f, 1.02f, 1.405f);
    RawSonyCoefficients(C);
  } else {
    return false;
  }
  return true;
}

// ---- The camera table, second part (makes other than Kodak) ----

void ApplySigmaRow(TCameraRawContext& C) {
  if (C.RawHeight == 763) {
    C.Height = 756;
    C.TopMargin = 2;
  } else if (C.RawHeight == 1531) {
    C.Height = 1514;
    C.TopMargin = 7;
  }
  if (C.RawWidth == 1152) {
    C.Width = 1136;
    C.LeftMargin = 8;
  } else if (C.RawWidth == 2304) {
    C.Width = 2271;
    C.LeftMargin = 17;
  }
  if (2 * C.Height < C.Width) C.YMag = 2;
  C.Filters = 0;
  C.LoadRaw = RawLoadFoveon;
  C.IsFoveon = 1;
  SetPreMul(C, 1.179f, 0, 0.713f);
  if (Equals(C.Model, "SD10")) {
    C.PreMul[0] *= 2.07f;
    C.PreMul[2] *= 2.3f;
  }
  RawFoveonCoefficients(C);
  C.Maximum = 5600;
}

void ApplySecondTableRow(TCameraRawContext& C) {
  const char* M = C.Model;
  if (Equals(C.Make, "Rollei")) {
    if (C.RawWidth == 1316) {
      SetSize(C, 1030, 1300);
      SetMargins(C, 1, 6);
    } else if (C.RawWidth == 2568) {
      SetSize(C, 1960, 2560);
      SetMargins(C, 2, 8);
    }
    C.Filters = 0x16161616;
    C.LoadRaw = RawLoadRollei;
    SetPreMul(C, 1.8f, 0, 1.3f);
  } else if (Equals(C.Make, "SIGMA")) {
    ApplySigmaRow(C);
  } else if (Equals(M, "PC-CAM 600")) {
    SetSize(C, 768, 1024);
    C.DataOffset = 1024;
    C.Filters = 0x49494949;
    C.LoadRaw = RawLoadEightBit;
    SetPreMul(C, 1.14f, 0, 2.73f);
  } else if (Equals(M, "QV-2000UX")) {
    SetSize(C, 1208, 1632);
    C.DataOffset = 3264;
    C.LoadRaw = RawLoadEightBit;
  } else if (Equals(M, "QV-3*00EX")) {
    SetSize(C, 1546, 2070);
    C.RawWidth = 2080;
    C.LoadRaw = RawLoadEightBit;
  } else if (Equals(M, "QV-4000")) {
    SetSize(C, 1700, 2260);
    C.LoadRaw = RawLoadBigEndianHigh12;
  } else if (Equals(M, "QV-5700")) {
    SetSize(C, 1924, 2576);
    C.LoadRaw = RawLoadCasioQV5700;
  } else if (Equals(M, "EX-P600")) {
    SetSize(C, 2142, 2844);
    C.RawWidth = 4288;
    C.LoadRaw = RawLoadPacked12;
    SetPreMul(C, 2.356f, 1.069f, 0);
  } else if (Equals(C.Make, "Nucore")) {
    C.Filters = 0x61616161;
    C.LoadRaw = RawLoadNucore;
  }
}

// ---- Kodak ----

struct TKodakRow {
  const char* Model;
  bool NoCase;
  Integer WidthLess, Left, Black, Colors;  // Colors 1: monochrome, filters 0
  Single Red, Green, Blue;
  bool Cmy;
};
constexpr TKodakRow KodakRows[] = {
    {"NC2000F", false, 4, 1, 0, 0, 1.509f, 0, 2.686f, false},
    {"EOSDCS3B", false, 4, 2, 0, 0, 1.629f, 0, 2.767f, false},
    {"EOSDCS1", false, 4, 2, 0, 0, 1.386f, 0, 2.405f, false},
    {"DCS315C", false, 0, 0, 32, 0, 0, 1.068f, 1.036f, false},
    {"DCS330C", false, 0, 0, 32, 0, 0, 1.012f, 1.804f, false},
    {"DCS420", false, 4, 2, 0, 0, 1.327f, 0, 2.074f, false},
    {"DCS460", false, 4, 2, 0, 0, 1.724f, 0, 2.411f, false},
    {"DCS460A", false, 4, 2, 0, 1, 0, 0, 0, false},
    {"DCS520C", false, 0, 0, 720, 0, 1.006f, 0, 1.858f, false},
    {"DCS560C", false, 0, 0, 750, 0, 0, 1.053f, 1.703f, false},
    {"DCS620C", false, 0, 0, 720, 0, 0, 1.002f, 1.818f, false},
    {"DCS62$", false, 0, 0, 740, 0, 1.486f, 0, 1.28f, true},
    {"DCS660C", false, 0, 0, 855, 0, 1.156f, 0, 1.626f, false},
    {"DCS660M", false, 0, 0, 855, 1, 0, 0, 0, false},
    {"DCS72$", false, 0, 0, 0, 0, 1.35f, 0, 1.18f, true},
    {"DCS760C", false, 0, 0, 0, 0, 1.06f, 0, 1.72f, false},
    {"DCS760M", false, 0, 0, 0, 1, 0, 0, 0, false},
    {"ProBack", false, 0, 0, 0, 0, 1.06f, 0, 1.385f, false},
    {"DCS Pro 14n", true, 0, 0, 0, 0, 0, 1.0323f, 1.258f, false},
    {"DCS Pro 14nx", true, 0, 0, 0, 0, 1.336f, 0, 1.3155f, false},
    {"DCS Pro SLR/c", true, 0, 0, 0, 0, 1.425f, 0, 1.293f, false},
    {"DCS Pro SLR/n", true, 0, 0, 0, 0, 1.324f, 0, 1.483f, false},
};

struct TKodakBack {
  const char* Prefix;
  Single Red, Blue;
};
constexpr TKodakBack KodakBacks[] = {
    {"PB645C", 1.0497f, 1.3306f}, {"PB645H", 1.201f, 1.5061f}, {"PB645M", 1.0175f, 1.5424f}};

void ApplyKodakModelRow(TCameraRawContext& C) {
  for (const TKodakRow& Row : KodakRows) {
    if (!(Row.NoCase ? EqualsNoCase(C.Model, Row.Model) : Equals(C.Model, Row.Model))) continue;
    C.Width -= Row.WidthLess;
    if (Row.Left) C.LeftMargin = Row.Left;
    if (Row.Black) C.Black = Row.Black;
    if (Row.Colors == 1) SetMosaic(C, 0, 1);
    SetPreMul(C, Row.Red, Row.Green, Row.Blue);
    if (Row.Cmy) C.IsCmy = 1;
    if (Equals(Row.Model, "NC2000F")) C.CurveLength = 176;
    return;
  }
  for (const TKodakBack& Back : KodakBacks)
    if (StartsWith(C.Model2, Back.Prefix)) {
      SetPreMul(C, Back.Red, 0, Back.Blue);
      return;
    }
}

// Small Kodak cameras of two sizes, chosen by the file's size.
void SetKodakSmall(TCameraRawContext& C, Integer SmallOffset, Integer LargeOffset) {
  C.Height = 242;
  const bool Large = C.InputSize > 99999;
  C.Width = Large ? 501 : 249;
  C.RawWidth = Large ? 512 : 256;
  C.DataOffset = Large ? LargeOffset : SmallOffset;
  C.LoadRaw = RawLoadKodakEasy;
}

// False when the compression is one no loader reads.
bool ApplyKodak(TCameraRawContext& C) {
  C.Filters = 0x61616161;
  ApplyKodakModelRow(C);
  switch (C.TiffCompression) {
    case 0:
    case 1:
      C.LoadRaw = RawLoadKodakEasy;
      break;
    case 7:
      C.LoadRaw = RawLoadLosslessJpeg;
      break;
    case 32867:
      break;
    case 65000:
      if (C.TiffPhotometric == 32803) {
        C.LoadRaw = RawLoadKodakCompressed;
      } else {
        C.LoadRaw = RawLoadKodakYuv;
        C.Height += C.Height & 1;
        C.Width += C.Width & 1;
        C.Filters = 0;
      }
      break;
    default:
      return false;
  }
  const char* M = C.Model;
  if (Equals(M, "DC20")) {
    SetKodakSmall(C, 257, 513);
    C.DataOffset = C.RawWidth + 1;
    SetMosaic(C, 0x8D8D8D8D, 4);
    RawBlendCoefficients(C, 0.5f);
    SetPreMul(C, 0, 1.179f, 1.209f, 1.036f);
  } else if (std::strstr(M, "DC25")) {
    SetName(C.Model, "DC25");
    SetKodakSmall(C, 15681, 15937);
    SetMosaic(C, 0xB4B4B4B4, 4);
  } else if (Equals(M, "Digital Camera 40")) {
    SetName(C.Model, "DC40");
    SetSize(C, 512, 768);
    C.DataOffset = 1152;
    C.LoadRaw = RawLoadKodakRadc;
  } else if (std::strstr(M, "DC50")) {
    SetName(C.Model, "DC50");
    SetSize(C, 512, 768);
    C.DataOffset = 0x4D00;
    C.LoadRaw = RawLoadKodakRadc;
  } else if (std::strstr(M, "DC120")) {
    SetName(C.Model, "DC120");
    SetSize(C, 976, 848);
    C.LoadRaw = C.TiffCompression == 7 ? RawLoadKodakJpeg : RawLoadKodakDC120;
  }
  return true;
}

// False when the camera's data cannot be read (an unknown Kodak compression).
bool ApplyCameraTable(TCameraRawContext& C, const Byte* Head) {
  if (ApplyCanonRow(C) || ApplyEosRow(C) || ApplyNikonRow(C) || ApplyFujiRow(C) || ApplyMinoltaRow(C) ||
      ApplyOtherRow(C, Head))
    return true;
  if (EqualsNoCase(C.Make, "KODAK")) return ApplyKodak(C);
  ApplySecondTableRow(C);
  return true;
}

void ApplyColourOptions(TCameraRawContext& C) {
  if (C.Colors == 4 && !C.UseCoefficients) RawGmcyCoefficients(C);
  if (C.UseCoefficients)
    for (Integer Channel = 0; Channel < C.Colors; ++Channel) {
      C.Coefficients[0][Channel] *= C.RedScale;
      C.Coefficients[2][Channel] *= C.BlueScale;
    }
  if (!C.FourColorRgb || C.Filters == 0 || C.Colors != 3) return;
  // The second green of each 2 x 2 block becomes channel 3.
  for (Integer Shift = 0; Shift < 32; Shift += 4) {
    const Cardinal Field = (C.Filters >> Shift) & 15;
    if (Field == 9) C.Filters |= 2u << Shift;
    if (Field == 6) C.Filters |= 8u << Shift;
  }
  C.Colors = 4;
  C.PreMul[3] = C.PreMul[1];
  if (C.UseCoefficients)
    for (auto& Row : C.Coefficients) Row[3] = Row[1] /= 2;
}

// Sizes no sensor has (negative, beyond 16 bits) or data that starts past the file would
// only send the loaders and the work array's size arithmetic out of range.
bool GeometryIsSound(const TCameraRawContext& C) {
  constexpr Integer Largest = 0x10000;
  const auto InRange = [](Integer Value, Integer Low) { return Value >= Low && Value <= Largest; };
  return InRange(C.Height, 1) && InRange(C.Width, 1) && InRange(C.RawHeight, 1) && InRange(C.RawWidth, 1) &&
         InRange(C.TopMargin, 0) && InRange(C.LeftMargin, 0) && C.DataOffset >= 0 &&
         C.DataOffset <= C.InputSize;
}

}  // namespace

Integer RawIdentify(TCameraRawContext& C) {
  C.RawHeight = C.RawWidth = C.Flip = 0;
  C.Make[0] = C.Model[0] = C.Model2[0] = 0;
  std::memset(C.WhiteSample, 0, sizeof(C.WhiteSample));
  C.CameraRed = C.CameraBlue = 0;
  C.Timestamp = C.DataOffset = C.CurveOffset = C.TiffCompression = C.ZeroAfterFF = 0;
  C.InputEnded = false;

  Byte Head[32];
  RawSeek(C, 0);
  RawRead(C, Head, sizeof(Head));
  if (!DispatchOnHeader(C, Head)) return 1;
  NormaliseNames(C);
  if (C.Make[0] == 0) return 1;
  SetDefaults(C);
  ApplyMakeRules(C, Head);
  if (!ApplyCameraTable(C, Head)) return 1;
  if (!C.LoadRaw || C.Height == 0) return 1;
  if (C.RawHeight == 0) C.RawHeight = C.Height;
  if (C.RawWidth == 0) C.RawWidth = C.Width;
  if (!GeometryIsSound(C)) return 1;
  ApplyColourOptions(C);
  RawSeek(C, C.DataOffset);
  C.InputEnded = false;
  return 0;
}
