// The enhanced metafile's stored form: header, record chain, handles made of checked bytes.
#include <algorithm>
#include <memory>

#include "platform/gdi/EnhMetaFileInternal.h"
#include "platform/system/Streams.h"

bool ReadEnhHeader(const Byte* Data, std::size_t Size, ENHMETAHEADER& H) {
  if (Size < MinEnhHeaderSize) return false;
  TRecordReader R(Data, Size);
  H = ENHMETAHEADER{};
  H.iType = R.U32();
  H.nSize = R.U32();
  if (H.iType != EMR_HEADER || H.nSize < MinEnhHeaderSize || H.nSize > Size) return false;
  TRecordReader F(Data, H.nSize);
  F.Skip(8);
  H.rclBounds = F.Rect();
  H.rclFrame = F.Rect();
  H.dSignature = F.U32();
  H.nVersion = F.U32();
  H.nBytes = F.U32();
  H.nRecords = F.U32();
  H.nHandles = F.U16();
  H.sReserved = F.U16();
  H.nDescription = F.U32();
  H.offDescription = F.U32();
  H.nPalEntries = F.U32();
  // Fields of later versions, present when the header is long enough.
  if (F.Has(8)) H.szlDevice = {F.I32(), F.I32()};
  if (F.Has(8)) H.szlMillimeters = {F.I32(), F.I32()};
  if (F.Has(12)) H.cbPixelFormat = F.U32(), H.offPixelFormat = F.U32(), H.bOpenGL = F.U32();
  if (F.Has(8)) H.szlMicrometers = {F.I32(), F.I32()};
  return F.Ok() && H.dSignature == ENHMETA_SIGNATURE;
}

HENHMETAFILE MakeEnhMetaFile(std::vector<Byte> Data) {
  if (Data.size() > MaxMetafileBytes) return nullptr;
  ENHMETAHEADER H;
  if (!ReadEnhHeader(Data.data(), Data.size(), H)) return nullptr;
  // Writers differ on nBytes; the records themselves decide where the file ends.
  std::size_t Pos = 0;
  bool Eof = false;
  while (Pos + 8 <= Data.size()) {
    TRecordReader R(Data.data() + Pos, Data.size() - Pos);
    const DWORD Type = R.U32(), Size = R.U32();
    if (Size < 8 || Size % 4 || Size > Data.size() - Pos) return nullptr;
    Pos += Size;
    if (Type == EMR_EOF) {
      Eof = true;
      break;
    }
  }
  if (!Eof) return nullptr;
  Data.resize(Pos);
  auto* M = new TEnhMetaFileObject;
  M->Data = std::move(Data);
  M->Header = H;
  return M;
}

bool WriteMetafileBytes(const std::string& FileName, const std::vector<Byte>& Data) {
  try {
    TReplacingFileStream S(FileName);
    S.WriteBuffer(Data.data(), static_cast<Integer>(Data.size()));
    S.Commit();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

namespace {

bool IsMetafile(HENHMETAFILE M) {
  return M && M->ObjType == OBJ_ENHMETAFILE;
}

std::vector<Byte> ReadFileBytes(const char* FileName, bool& Ok) {
  Ok = false;
  std::vector<Byte> Data;
  if (!FileName) return Data;
  try {
    TFileStream S(FileName, fmOpenRead | fmShareDenyWrite);
    const Int64 Size = S.GetSize();
    if (Size < 0 || static_cast<std::uint64_t>(Size) > MaxMetafileBytes) return Data;
    Data.resize(static_cast<std::size_t>(Size));
    S.ReadBuffer(Data.data(), static_cast<Integer>(Size));
    Ok = true;
  } catch (const std::exception&) {
    Data.clear();
  }
  return Data;
}

}  // namespace

HENHMETAFILE GetEnhMetaFileA(const char* FileName) {
  bool Ok;
  std::vector<Byte> Data = ReadFileBytes(FileName, Ok);
  return Ok ? MakeEnhMetaFile(std::move(Data)) : nullptr;
}

HENHMETAFILE SetEnhMetaFileBits(UINT Size, const Byte* Data) {
  if (!Data || Size > MaxMetafileBytes) return nullptr;
  return MakeEnhMetaFile(std::vector<Byte>(Data, Data + Size));
}

UINT GetEnhMetaFileBits(HENHMETAFILE Metafile, UINT Size, Byte* Buffer) {
  if (!IsMetafile(Metafile)) return 0;
  const UINT All = static_cast<UINT>(Metafile->Data.size());
  if (!Buffer) return All;
  const UINT N = std::min(Size, All);
  std::copy_n(Metafile->Data.data(), N, Buffer);
  return N;
}

UINT GetEnhMetaFileHeader(HENHMETAFILE Metafile, UINT Size, ENHMETAHEADER* Header) {
  if (!IsMetafile(Metafile)) return 0;
  const UINT Stored = std::min<UINT>(Metafile->Header.nSize, sizeof(ENHMETAHEADER));
  if (!Header) return Stored;
  // The fields are kept as read; a short request gets the leading ones.
  ENHMETAHEADER H = Metafile->Header;
  H.nBytes = static_cast<DWORD>(Metafile->Data.size());
  const UINT N = std::min(Size, Stored);
  std::memcpy(Header, &H, N);
  return N;
}

UINT GetEnhMetaFileDescriptionW(HENHMETAFILE Metafile, UINT Count, char16_t* Buffer) {
  if (!IsMetafile(Metafile)) return GDI_ERROR;
  const ENHMETAHEADER& H = Metafile->Header;
  TRecordReader R(Metafile->Data.data(), H.nSize);
  if (H.nDescription == 0 || !R.Fits(H.offDescription, H.nDescription, 2)) return 0;
  if (!Buffer) return H.nDescription;
  const UINT N = std::min(Count, H.nDescription);
  R.Seek(H.offDescription);
  for (UINT I = 0; I < N; ++I) Buffer[I] = static_cast<char16_t>(R.U16());
  return N;
}

HENHMETAFILE CopyEnhMetaFileA(HENHMETAFILE Metafile, const char* FileName) {
  if (!IsMetafile(Metafile)) return nullptr;
  if (FileName && !WriteMetafileBytes(FileName, Metafile->Data)) return nullptr;
  return MakeEnhMetaFile(Metafile->Data);
}

BOOL DeleteEnhMetaFile(HENHMETAFILE Metafile) {
  if (!IsMetafile(Metafile)) return FALSE;
  delete Metafile;
  return TRUE;
}

bool ReadRecordDib(const TRecordReader& R, DWORD OffBmi, DWORD CbBmi, DWORD OffBits, DWORD CbBits, UINT Usage,
                   TRecordDib& Dib, Int64 Rows) {
  if (CbBmi < 40 || !R.Fits(OffBmi, CbBmi, 1) || !R.Fits(OffBits, CbBits, 1)) return false;
  TRecordReader H(R.At(OffBmi), CbBmi);
  BITMAPINFOHEADER& B = Dib.Info.bmiHeader;
  const DWORD HeaderSize = H.U32();
  B.biWidth = H.I32();
  B.biHeight = H.I32();
  B.biPlanes = H.U16();
  B.biBitCount = H.U16();
  B.biCompression = H.U32();
  B.biSizeImage = H.U32();
  B.biXPelsPerMeter = H.I32();
  B.biYPelsPerMeter = H.I32();
  B.biClrUsed = H.U32();
  B.biClrImportant = H.U32();
  B.biSize = 40;
  if (!H.Ok() || HeaderSize < 40 || HeaderSize > CbBmi) return false;
  const Integer Bpp = B.biBitCount;
  if (Bpp != 1 && Bpp != 4 && Bpp != 8 && Bpp != 16 && Bpp != 24 && Bpp != 32) return false;
  if (B.biCompression != BI_RGB && !(B.biCompression == BI_BITFIELDS && (Bpp == 16 || Bpp == 32)))
    return false;
  // 64 Mpixel and 32768 on a side are far above anything a picture records.
  const Int64 W = B.biWidth, Hgt = B.biHeight < 0 ? -static_cast<Int64>(B.biHeight) : B.biHeight;
  if (W <= 0 || Hgt <= 0 || W > 32768 || Hgt > 32768 || W * Hgt > (Int64(1) << 26)) return false;
  H.Seek(HeaderSize);
  if (B.biCompression == BI_BITFIELDS) {
    // The masks follow the 40-byte header (inside it for the longer headers).
    if (HeaderSize > 40) H.Seek(40);
    for (Integer I = 0; I < 3; ++I) {
      const DWORD M = H.U32();
      RGBQUAD& Q = Dib.Info.bmiColors[I];
      Q.rgbBlue = static_cast<Byte>(M), Q.rgbGreen = static_cast<Byte>(M >> 8);
      Q.rgbRed = static_cast<Byte>(M >> 16), Q.rgbReserved = static_cast<Byte>(M >> 24);
    }
  } else if (Bpp <= 8) {
    const DWORD Max = 1u << Bpp;
    const DWORD Count = B.biClrUsed == 0 || B.biClrUsed > Max ? Max : B.biClrUsed;
    const std::size_t Entry = Usage == 1 ? 2 : 4;  // DIB_PAL_COLORS: WORD indexes
    if (!H.Fits(H.Pos(), Count, Entry)) return false;
    for (DWORD I = 0; I < Count; ++I) {
      if (Entry == 2) {
        const Word V = H.U16();
        Dib.Info.bmiColors[I].rgbBlue = static_cast<Byte>(V);
        Dib.Info.bmiColors[I].rgbGreen = static_cast<Byte>(V >> 8);
      } else {
        RGBQUAD& Q = Dib.Info.bmiColors[I];
        Q.rgbBlue = H.U8(), Q.rgbGreen = H.U8(), Q.rgbRed = H.U8(), Q.rgbReserved = H.U8();
      }
    }
    B.biClrUsed = Count;
  }
  if (!H.Ok()) return false;
  const Int64 Need =
      static_cast<Int64>(DibRowBytes(static_cast<Integer>(W), Bpp)) * (Rows >= 0 ? std::min(Rows, Hgt) : Hgt);
  if (Need > CbBits) return false;
  Dib.Bits = R.At(OffBits);
  return true;
}
