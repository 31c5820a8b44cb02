#include "platform/classes/Metafile.h"

#include <algorithm>
#include <vector>

#include "platform/classes/Screen.h"
#include "platform/gdi/EnhMetaFile.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Math.h"

namespace {

constexpr DWORD PlaceableKey = 0x9AC6CDD7;
constexpr Integer HundredthMMPerInch = 2540;
// Larger streams are not read as metafiles.
constexpr Int64 MaxStreamBytes = 256 << 20;

Integer PixelsPerInch() {
  return Screen ? Screen->GetPixelsPerInch() : 96;
}

DWORD ReadU32(const Byte* P) {
  return P[0] | (DWORD(P[1]) << 8) | (DWORD(P[2]) << 16) | (DWORD(P[3]) << 24);
}

Integer ReadI16(const Byte* P) {
  return static_cast<SmallInt>(P[0] | (P[1] << 8));
}

[[noreturn]] void InvalidMetafile() {
  throw EInvalidGraphic("Metafile is not valid");
}

}  // namespace

TMetafile::~TMetafile() {
  Clear();
}

void TMetafile::Clear() {
  if (FHandle) DeleteEnhMetaFile(FHandle);
  FHandle = nullptr;
  FMMWidth = FMMHeight = 0;
  FInch = 0;
}

void TMetafile::Adopt(HENHMETAFILE Value, bool Enhanced, Integer MMWidth, Integer MMHeight, Word Inch) {
  if (FHandle && FHandle != Value) DeleteEnhMetaFile(FHandle);
  FHandle = Value;
  FEnhanced = Enhanced;
  FMMWidth = MMWidth;
  FMMHeight = MMHeight;
  FInch = Inch;
  Changed(this);
}

void TMetafile::SetHandle(HENHMETAFILE Value) {
  Integer W = 0, H = 0;
  ENHMETAHEADER Header;
  if (Value && GetEnhMetaFileHeader(Value, sizeof(Header), &Header)) {
    W = Header.rclFrame.Right - Header.rclFrame.Left;
    H = Header.rclFrame.Bottom - Header.rclFrame.Top;
  }
  Adopt(Value, FEnhanced, W, H, FInch);
}

HENHMETAFILE TMetafile::ReleaseHandle() {
  HENHMETAFILE H = FHandle;
  FHandle = nullptr;
  Clear();
  Changed(this);
  return H;
}

void TMetafile::Assign(TPersistent* Source) {
  if (!Source) {
    Clear();
    Changed(this);
    return;
  }
  if (auto* M = dynamic_cast<TMetafile*>(Source)) {
    HENHMETAFILE Copy = M->FHandle ? CopyEnhMetaFileA(M->FHandle, nullptr) : nullptr;
    Adopt(Copy, M->FEnhanced, M->FMMWidth, M->FMMHeight, M->FInch);
    return;
  }
  TGraphic::Assign(Source);
}

void TMetafile::LoadFromStream(TStream* Stream) {
  const Int64 Left = Stream->GetSize() - Stream->GetPosition();
  if (Left <= 0 || Left > MaxStreamBytes) InvalidMetafile();
  std::vector<Byte> Data(static_cast<std::size_t>(Left));
  Data.resize(static_cast<std::size_t>(std::max(Stream->Read(Data.data(), static_cast<Integer>(Left)), 0)));
  const UINT Size = static_cast<UINT>(Data.size());
  if (Size >= 22 && ReadU32(Data.data()) == PlaceableKey) {
    // The placeable header: bounding box in units of Inch per inch.
    const Integer L = ReadI16(&Data[6]), T = ReadI16(&Data[8]), R = ReadI16(&Data[10]),
                  B = ReadI16(&Data[12]);
    const Word Inch = static_cast<Word>(Data[14] | (Data[15] << 8));
    if (Inch == 0) InvalidMetafile();
    METAFILEPICT Pict;
    Pict.xExt = MulDiv(R - L, HundredthMMPerInch, Inch);
    Pict.yExt = MulDiv(B - T, HundredthMMPerInch, Inch);
    HENHMETAFILE M = SetWinMetaFileBits(Size - 22, Data.data() + 22, nullptr, &Pict);
    if (!M) InvalidMetafile();
    Adopt(M, false, Pict.xExt, Pict.yExt, Inch);
    return;
  }
  if (Size >= 44 && ReadU32(Data.data()) == EMR_HEADER && ReadU32(&Data[40]) == ENHMETA_SIGNATURE) {
    HENHMETAFILE M = SetEnhMetaFileBits(Size, Data.data());
    if (!M) InvalidMetafile();
    ENHMETAHEADER H;
    GetEnhMetaFileHeader(M, sizeof(H), &H);
    Adopt(M, true, H.rclFrame.Right - H.rclFrame.Left, H.rclFrame.Bottom - H.rclFrame.Top, 0);
    return;
  }
  // An old-style metafile without the placeable header: its own extent gives the size.
  HENHMETAFILE M = SetWinMetaFileBits(Size, Data.data(), nullptr, nullptr);
  if (!M) InvalidMetafile();
  ENHMETAHEADER H;
  GetEnhMetaFileHeader(M, sizeof(H), &H);
  Adopt(M, false, H.rclFrame.Right - H.rclFrame.Left, H.rclFrame.Bottom - H.rclFrame.Top, 0);
}

void TMetafile::SaveToStream(TStream* Stream) {
  if (!FHandle) return;
  std::vector<Byte> Data(GetEnhMetaFileBits(FHandle, 0, nullptr));
  GetEnhMetaFileBits(FHandle, static_cast<UINT>(Data.size()), Data.data());
  Stream->WriteBuffer(Data.data(), static_cast<Integer>(Data.size()));
}

std::string TMetafile::DescriptionPart(Integer Index) const {
  if (!FHandle) return {};
  const UINT N = GetEnhMetaFileDescriptionW(FHandle, 0, nullptr);
  if (N == 0 || N == GDI_ERROR) return {};
  std::u16string D(N, u'\0');
  GetEnhMetaFileDescriptionW(FHandle, N, D.data());
  std::size_t Start = 0;
  for (Integer I = 0; I < Index; ++I) {
    const std::size_t Z = D.find(u'\0', Start);
    if (Z == std::u16string::npos) return {};
    Start = Z + 1;
  }
  const std::size_t End = std::min(D.find(u'\0', Start), D.size());
  std::string Out;
  for (std::size_t I = Start; I < End; ++I) {
    const char16_t C = D[I];
    if (C < 0x80)
      Out += static_cast<char>(C);
    else if (C < 0x800)
      Out += static_cast<char>(0xC0 | (C >> 6)), Out += static_cast<char>(0x80 | (C & 0x3F));
    else
      Out += static_cast<char>(0xE0 | (C >> 12)), Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F)),
          Out += static_cast<char>(0x80 | (C & 0x3F));
  }
  return Out;
}

std::string TMetafile::GetCreatedBy() const {
  return DescriptionPart(0);
}

std::string TMetafile::GetDescription() const {
  return DescriptionPart(1);
}

void TMetafile::SetMMWidth(Integer Value) {
  if (FMMWidth == Value) return;
  FMMWidth = Value;
  Changed(this);
}

void TMetafile::SetMMHeight(Integer Value) {
  if (FMMHeight == Value) return;
  FMMHeight = Value;
  Changed(this);
}

Integer TMetafile::GetWidth() {
  return MulDiv(FMMWidth, PixelsPerInch(), HundredthMMPerInch);
}

Integer TMetafile::GetHeight() {
  return MulDiv(FMMHeight, PixelsPerInch(), HundredthMMPerInch);
}

void TMetafile::SetWidth(Integer Value) {
  SetMMWidth(MulDiv(Value, HundredthMMPerInch, PixelsPerInch()));
}

void TMetafile::SetHeight(Integer Value) {
  SetMMHeight(MulDiv(Value, HundredthMMPerInch, PixelsPerInch()));
}

void TMetafile::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!FHandle) return;
  PlayEnhMetaFile(ACanvas->GetHandle(), FHandle, &Rect);
}

TMetafileCanvas::TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice)
    : TMetafileCanvas(AMetafile, ReferenceDevice, "", "") {}

TMetafileCanvas::TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice, const std::string& CreatedBy,
                                 const std::string& Description)
    : FMetafile(AMetafile) {
  const RECT Frame{0, 0, AMetafile->GetMMWidth(), AMetafile->GetMMHeight()};
  const bool Sized = Frame.Right > 0 && Frame.Bottom > 0;
  std::string Desc;
  if (!CreatedBy.empty() || !Description.empty()) {
    Desc = CreatedBy;
    Desc += '\0';
    Desc += Description;
    Desc += '\0';
  }
  FDC = CreateEnhMetaFileA(ReferenceDevice, nullptr, Sized ? &Frame : nullptr,
                           Desc.empty() ? nullptr : Desc.c_str());
  if (!FDC) throw EOutOfResources("Out of system resources");
  SetHandle(FDC);
}

TMetafileCanvas::~TMetafileCanvas() {
  SetHandle(nullptr);
  HENHMETAFILE M = CloseEnhMetaFile(FDC);
  const Integer W = FMetafile->GetMMWidth(), H = FMetafile->GetMMHeight();
  const Word Inch = FMetafile->GetInch();
  FMetafile->Adopt(M, true, W, H, Inch);
  // A metafile without a size takes the frame of what was drawn.
  if ((W <= 0 || H <= 0) && M) FMetafile->SetHandle(M);
}
