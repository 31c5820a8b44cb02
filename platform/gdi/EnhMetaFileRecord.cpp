// Recording DCs: CreateEnhMetaFile, the records of the drawing calls, CloseEnhMetaFile.
#include "platform/gdi/EnhMetaFileRecord.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/gdi/DcInternals.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/EnhMetaFileInternal.h"
#include "platform/gdi/Text.h"

namespace {

// Handle index 0 is the metafile itself.
constexpr std::size_t FirstSlot = 1;

struct TEnhMetaDC : TDeviceContext {
  TEnhMetaDC() : TDeviceContext(OBJ_ENHMETADC) {
    // Drawing goes on in the DC (it keeps the current position and the like up to date) but
    // lands on a pixel of its own.
    Own = CreateBitmap(1, 1, 1, 32, nullptr);
    SelectObject(this, Own);
    Played.Pen = State.Pen;
    Played.Brush = State.Brush;
    Played.Font = State.Font;
  }
  ~TEnhMetaDC() override {
    SelectObject(this, StockBitmap());
    DeleteObject(Own);
    for (HGDIOBJ O : Slots)
      if (O) ReleaseGdiObject(O);
  }

  HBITMAP Own = nullptr;
  TRecordWriter W;
  DWORD Records = 0;
  std::string FileName;
  bool HasFrame = false;
  TRect Frame;
  std::u16string Description;
  TSize RefPixels, RefMm, RefUm;
  bool HasBounds = false;
  TRect Bounds;  // inclusive

  // The state playback has reached; starts as a new DC's.
  TDcState Played;
  COLORREF PlayedPenColor = 0, PlayedBrushColor = 0;  // for DC_PEN / DC_BRUSH
  std::vector<HGDIOBJ> Slots = std::vector<HGDIOBJ>(FirstSlot, nullptr);
  std::size_t PenSlot = 0, BrushSlot = 0, FontSlot = 0;
};

TEnhMetaDC* AsRecorder(HDC DC) {
  return static_cast<TEnhMetaDC*>(DC);
}

std::size_t Begin(TEnhMetaDC* D, DWORD Type) {
  const std::size_t At = D->W.Size();
  D->W.U32(Type);
  D->W.U32(0);
  return At;
}

void End(TEnhMetaDC* D, std::size_t At) {
  D->W.Pad4();
  D->W.PutU32(At + 4, static_cast<DWORD>(D->W.Size() - At));
  ++D->Records;
}

void Simple(TEnhMetaDC* D, DWORD Type, std::initializer_list<DWORD> Values) {
  const std::size_t At = Begin(D, Type);
  for (DWORD V : Values) D->W.U32(V);
  End(D, At);
}

// Device box of logical points, widened by the pen.
TRect DeviceBox(HDC DC, const POINT* P, std::size_t N, Integer Widen) {
  TRect B{0, 0, -1, -1};
  for (std::size_t I = 0; I < N; ++I) {
    const TPoint Q = DC->ToSurface(P[I]);
    if (I == 0) B = {Q.X, Q.Y, Q.X, Q.Y};
    B.Left = std::min(B.Left, Q.X), B.Top = std::min(B.Top, Q.Y);
    B.Right = std::max(B.Right, Q.X), B.Bottom = std::max(B.Bottom, Q.Y);
  }
  if (N) B = {B.Left - Widen, B.Top - Widen, B.Right + Widen, B.Bottom + Widen};
  return B;
}

Integer PenWiden(HDC DC) {
  const HPEN P = DC->State.Pen;
  return P ? std::max(P->Width, 1) / 2 + 1 : 1;
}

void AddBounds(TEnhMetaDC* D, const TRect& B) {
  if (B.Right < B.Left || B.Bottom < B.Top) return;
  if (!D->HasBounds) {
    D->Bounds = B;
    D->HasBounds = true;
    return;
  }
  D->Bounds.Left = std::min(D->Bounds.Left, B.Left), D->Bounds.Top = std::min(D->Bounds.Top, B.Top);
  D->Bounds.Right = std::max(D->Bounds.Right, B.Right),
  D->Bounds.Bottom = std::max(D->Bounds.Bottom, B.Bottom);
}

TRect BoxOfRect(HDC DC, Integer L, Integer T, Integer R, Integer B, Integer Widen) {
  const POINT P[4] = {{L, T}, {R, T}, {L, B}, {R, B}};
  return DeviceBox(DC, P, 4, Widen);
}

Integer StockIndex(HGDIOBJ O) {
  if (!O || !O->Stock) return -1;
  for (Integer I = 0; I <= STOCK_LAST; ++I)
    if (GetStockObject(I) == O) return I;
  return -1;
}

std::size_t FreeSlot(TEnhMetaDC* D) {
  for (std::size_t I = FirstSlot; I < D->Slots.size(); ++I)
    if (!D->Slots[I]) return I;
  D->Slots.push_back(nullptr);
  return D->Slots.size() - 1;
}

void WriteLogFont(TRecordWriter& W, const LOGFONTW& F) {
  W.I32(F.lfHeight), W.I32(F.lfWidth), W.I32(F.lfEscapement), W.I32(F.lfOrientation), W.I32(F.lfWeight);
  const Byte B[8] = {F.lfItalic,       F.lfUnderline,     F.lfStrikeOut, F.lfCharSet,
                     F.lfOutPrecision, F.lfClipPrecision, F.lfQuality,   F.lfPitchAndFamily};
  W.Bytes(B, 8);
  for (std::size_t I = 0; I < 32; ++I) W.U16(I < F.lfFaceName.size() && I < 31 ? F.lfFaceName[I] : 0);
}

// A pattern brush's pattern as a DIB: 32-bit colours, or 1-bit for a monochrome pattern.
void WritePatternDib(TRecordWriter& W, const TBrushObject& B, std::size_t At) {
  const Integer Bpp = B.PatternMono ? 1 : 32;
  const Integer Row = DibRowBytes(B.PatternWidth, Bpp);
  const DWORD CbBmi = 40 + (Bpp == 1 ? 8 : 0);
  const DWORD CbBits = static_cast<DWORD>(Row) * static_cast<DWORD>(B.PatternHeight);
  const DWORD OffBmi = static_cast<DWORD>(W.Size() - At) + 16;
  W.U32(OffBmi), W.U32(CbBmi), W.U32(OffBmi + CbBmi), W.U32(CbBits);
  W.U32(40), W.I32(B.PatternWidth), W.I32(B.PatternHeight), W.U16(1), W.U16(static_cast<Word>(Bpp));
  W.U32(BI_RGB), W.U32(CbBits), W.I32(0), W.I32(0), W.U32(Bpp == 1 ? 2 : 0), W.U32(0);
  if (Bpp == 1) W.U32(0x000000), W.U32(0xFFFFFF);
  for (Integer Y = B.PatternHeight - 1; Y >= 0; --Y) {  // bottom-up
    std::vector<Byte> Line(static_cast<std::size_t>(Row), 0);
    for (Integer X = 0; X < B.PatternWidth; ++X) {
      const COLORREF C = B.Pattern[static_cast<std::size_t>(Y) * B.PatternWidth + X];
      if (Bpp == 1) {
        if (C) Line[X / 8] |= static_cast<Byte>(0x80 >> (X % 8));
      } else {
        Byte* P = &Line[static_cast<std::size_t>(X) * 4];
        P[0] = GetBValue(C), P[1] = GetGValue(C), P[2] = GetRValue(C);
      }
    }
    W.Bytes(Line.data(), Line.size());
  }
}

// Writes the creation record of Object into a new slot and returns the slot.
std::size_t CreateObjectRecord(TEnhMetaDC* D, HGDIOBJ Object, COLORREF DcColor) {
  const std::size_t Slot = FreeSlot(D);
  const DWORD Ih = static_cast<DWORD>(Slot);
  if (Object->ObjType == OBJ_PEN || Object->ObjType == OBJ_EXTPEN) {
    const auto* P = static_cast<const TPenObject*>(Object);
    const COLORREF Color = P->DcPen ? DcColor : P->Color;
    if (P->ObjType == OBJ_EXTPEN || !P->UserStyle.empty()) {
      const std::size_t At = Begin(D, EMR_EXTCREATEPEN);
      D->W.U32(Ih), D->W.U32(0), D->W.U32(0), D->W.U32(0), D->W.U32(0);
      D->W.U32(P->Style), D->W.U32(static_cast<DWORD>(P->Width)), D->W.U32(P->Brush.lbStyle), D->W.U32(Color);
      D->W.U32(static_cast<DWORD>(P->Brush.lbStyle == BS_HATCHED ? P->Brush.lbHatch : 0));
      D->W.U32(static_cast<DWORD>(P->UserStyle.size()));
      for (DWORD S : P->UserStyle) D->W.U32(S);
      End(D, At);
    } else {
      Simple(D, EMR_CREATEPEN, {Ih, P->DashStyle(), static_cast<DWORD>(P->Width), 0, Color});
    }
  } else if (Object->ObjType == OBJ_BRUSH) {
    const auto* B = static_cast<const TBrushObject*>(Object);
    if ((B->Style == BS_PATTERN || B->Style == BS_DIBPATTERN || B->Style == BS_DIBPATTERNPT) &&
        B->PatternWidth > 0 && B->PatternHeight > 0 &&
        B->Pattern.size() >= static_cast<std::size_t>(B->PatternWidth) * B->PatternHeight) {
      const std::size_t At = Begin(D, B->PatternMono ? EMR_CREATEMONOBRUSH : EMR_CREATEDIBPATTERNBRUSHPT);
      D->W.U32(Ih), D->W.U32(DIB_RGB_COLORS);
      WritePatternDib(D->W, *B, At);
      End(D, At);
    } else {
      const DWORD Style = B->Style == BS_HATCHED || B->Style == BS_NULL ? B->Style : BS_SOLID;
      Simple(D, EMR_CREATEBRUSHINDIRECT,
             {Ih, Style, B->DcBrush ? DcColor : B->Color,
              static_cast<DWORD>(Style == BS_HATCHED ? B->Hatch : 0)});
    }
  } else {
    const auto* F = static_cast<const TFontObject*>(Object);
    const std::size_t At = Begin(D, EMR_EXTCREATEFONTINDIRECTW);
    D->W.U32(Ih);
    WriteLogFont(D->W, F->Log);
    D->W.Zeros(320 - 92);  // the full name, style and script of the extended form, unused
    End(D, At);
  }
  HoldGdiObject(Object);
  D->Slots[Slot] = Object;
  return Slot;
}

// Brings one selected object of playback in line with Want.
void SyncObject(TEnhMetaDC* D, HGDIOBJ Want, COLORREF WantDc, bool IsDcObject, HGDIOBJ& Played,
                COLORREF& PlayedDc, std::size_t& Slot) {
  if (Want == Played && (!IsDcObject || WantDc == PlayedDc)) return;
  const Integer Stock = IsDcObject ? -1 : StockIndex(Want);
  std::size_t NewSlot = 0;
  if (Stock >= 0) {
    Simple(D, EMR_SELECTOBJECT, {ENHMETA_STOCK_OBJECT | static_cast<DWORD>(Stock)});
  } else {
    NewSlot = CreateObjectRecord(D, Want, WantDc);
    Simple(D, EMR_SELECTOBJECT, {static_cast<DWORD>(NewSlot)});
  }
  if (Slot) {
    Simple(D, EMR_DELETEOBJECT, {static_cast<DWORD>(Slot)});
    ReleaseGdiObject(D->Slots[Slot]);
    D->Slots[Slot] = nullptr;
  }
  Slot = NewSlot;
  Played = Want;
  PlayedDc = WantDc;
}

XFORM EffectiveWorld(HDC DC) {
  return DC->HasTransform() ? DC->State.World : XFORM{};
}

bool SameXform(const XFORM& A, const XFORM& B) {
  return A.eM11 == B.eM11 && A.eM12 == B.eM12 && A.eM21 == B.eM21 && A.eM22 == B.eM22 && A.eDx == B.eDx &&
         A.eDy == B.eDy;
}

// Writes the state records that bring playback to the DC's state. Brush and Align, when given,
// stand for the DC's for this one record.
void Sync(TEnhMetaDC* D, HBRUSH Brush = nullptr, const UINT* Align = nullptr) {
  const TDcState& S = D->State;
  TDcState& P = D->Played;
  if (S.WindowOrg != P.WindowOrg)
    Simple(D, EMR_SETWINDOWORGEX, {static_cast<DWORD>(S.WindowOrg.X), static_cast<DWORD>(S.WindowOrg.Y)});
  if (S.ViewportOrg != P.ViewportOrg)
    Simple(D, EMR_SETVIEWPORTORGEX,
           {static_cast<DWORD>(S.ViewportOrg.X), static_cast<DWORD>(S.ViewportOrg.Y)});
  const XFORM World = EffectiveWorld(D);
  if (!SameXform(World, P.World)) {
    const std::size_t At = Begin(D, EMR_SETWORLDTRANSFORM);
    D->W.F32(World.eM11), D->W.F32(World.eM12), D->W.F32(World.eM21), D->W.F32(World.eM22);
    D->W.F32(World.eDx), D->W.F32(World.eDy);
    End(D, At);
    P.World = World;
  }
  auto Value = [&](auto Now, auto& Was, DWORD Type) {
    if (Now != Was) Simple(D, Type, {static_cast<DWORD>(Now)});
    Was = Now;
  };
  Value(S.BkMode, P.BkMode, EMR_SETBKMODE);
  Value(S.BkColor, P.BkColor, EMR_SETBKCOLOR);
  Value(S.TextColor, P.TextColor, EMR_SETTEXTCOLOR);
  Value(Align ? *Align : S.TextAlign, P.TextAlign, EMR_SETTEXTALIGN);
  Value(S.Rop2, P.Rop2, EMR_SETROP2);
  Value(S.PolyFillMode, P.PolyFillMode, EMR_SETPOLYFILLMODE);
  Value(S.StretchBltMode, P.StretchBltMode, EMR_SETSTRETCHBLTMODE);
  Value(S.ArcDirection, P.ArcDirection, EMR_SETARCDIRECTION);
  if (S.BrushOrg != P.BrushOrg)
    Simple(D, EMR_SETBRUSHORGEX, {static_cast<DWORD>(S.BrushOrg.X), static_cast<DWORD>(S.BrushOrg.Y)});
  P.WindowOrg = S.WindowOrg, P.ViewportOrg = S.ViewportOrg, P.BrushOrg = S.BrushOrg;

  HBRUSH WantBrush = Brush ? Brush : S.Brush;
  HGDIOBJ PlayedPen = P.Pen, PlayedBrush = P.Brush, PlayedFont = P.Font;
  COLORREF Unused = 0;
  SyncObject(D, S.Pen, S.DCPenColor, S.Pen && S.Pen->DcPen, PlayedPen, D->PlayedPenColor, D->PenSlot);
  SyncObject(D, WantBrush, S.DCBrushColor, WantBrush && WantBrush->DcBrush, PlayedBrush, D->PlayedBrushColor,
             D->BrushSlot);
  SyncObject(D, S.Font, 0, false, PlayedFont, Unused, D->FontSlot);
  P.Pen = static_cast<HPEN>(PlayedPen), P.Brush = static_cast<HBRUSH>(PlayedBrush), P.Font = PlayedFont;

  if (S.ClipRgn != P.ClipRgn) {
    const std::size_t At = Begin(D, EMR_EXTSELECTCLIPRGN);
    if (S.ClipRgn) {
      std::vector<Byte> Rgn(S.ClipRgn->RgnDataSize());
      S.ClipRgn->WriteRgnData(Rgn.data());
      D->W.U32(static_cast<DWORD>(Rgn.size())), D->W.U32(RGN_COPY);
      D->W.Bytes(Rgn.data(), Rgn.size());
    } else {
      D->W.U32(0), D->W.U32(RGN_COPY);
    }
    End(D, At);
    P.ClipRgn = S.ClipRgn;
  }
}

TEnhMetaDC* Ready(HDC DC, HBRUSH Brush = nullptr, const UINT* Align = nullptr) {
  TEnhMetaDC* D = AsRecorder(DC);
  Sync(D, Brush, Align);
  return D;
}

bool Fits16(const POINT* P, std::size_t N) {
  for (std::size_t I = 0; I < N; ++I)
    if (P[I].X < -32768 || P[I].X > 32767 || P[I].Y < -32768 || P[I].Y > 32767) return false;
  return true;
}

void WritePoints(TRecordWriter& W, const POINT* P, std::size_t N, bool Short) {
  for (std::size_t I = 0; I < N; ++I) {
    if (Short)
      W.I16(P[I].X), W.I16(P[I].Y);
    else
      W.I32(P[I].X), W.I32(P[I].Y);
  }
}

// The 16-bit record type of a 32-bit point-list type.
DWORD ShortType(DWORD Type) {
  switch (Type) {
    case EMR_POLYBEZIER:
      return EMR_POLYBEZIER16;
    case EMR_POLYGON:
      return EMR_POLYGON16;
    case EMR_POLYLINE:
      return EMR_POLYLINE16;
    case EMR_POLYBEZIERTO:
      return EMR_POLYBEZIERTO16;
    case EMR_POLYLINETO:
      return EMR_POLYLINETO16;
    case EMR_POLYPOLYLINE:
      return EMR_POLYPOLYLINE16;
    default:
      return EMR_POLYPOLYGON16;
  }
}

// A source rectangle of a DC as a bottom-up 32-bit DIB, converted as a blit to this DC would
// convert it (monochrome sources in the recording DC's text and background colours).
std::vector<Byte> CaptureSource(HDC DC, HDC Src, Integer XS, Integer YS, Integer W, Integer H) {
  BITMAPINFO Info;
  Info.bmiHeader.biWidth = W;
  Info.bmiHeader.biHeight = H;
  Info.bmiHeader.biBitCount = 32;
  void* Bits = nullptr;
  HDC Tmp = CreateCompatibleDC(nullptr);
  HBITMAP B = CreateDIBSection(Tmp, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  std::vector<Byte> Out;
  if (B && Bits) {
    HGDIOBJ Old = SelectObject(Tmp, B);
    SetTextColor(Tmp, DC->State.TextColor);
    SetBkColor(Tmp, DC->State.BkColor);
    BitBlt(Tmp, 0, 0, W, H, Src, XS, YS, SRCCOPY);
    const auto* P = static_cast<const Byte*>(Bits);
    Out.assign(P, P + static_cast<std::size_t>(W) * H * 4);
    SelectObject(Tmp, Old);
  }
  if (B) DeleteObject(B);
  DeleteDC(Tmp);
  return Out;
}

void WriteDibHeader(TRecordWriter& W, Integer Width, Integer Height, Integer Bpp, DWORD Compression,
                    DWORD SizeImage, DWORD ClrUsed) {
  W.U32(40), W.I32(Width), W.I32(Height), W.U16(1), W.U16(static_cast<Word>(Bpp)), W.U32(Compression);
  W.U32(SizeImage), W.I32(0), W.I32(0), W.U32(ClrUsed), W.U32(0);
}

// The colour table or masks of a caller's BITMAPINFO, as stored after its header.
void WriteDibColors(TRecordWriter& W, const BITMAPINFO* Info, UINT Usage, DWORD& ClrUsed) {
  const BITMAPINFOHEADER& H = Info->bmiHeader;
  ClrUsed = 0;
  if (H.biCompression == BI_BITFIELDS) {
    W.Bytes(Info->bmiColors, 12);
  } else if (H.biBitCount <= 8) {
    const DWORD Max = 1u << H.biBitCount;
    ClrUsed = H.biClrUsed == 0 || H.biClrUsed > Max ? Max : H.biClrUsed;
    if (Usage == DIB_PAL_COLORS) {
      for (DWORD I = 0; I < ClrUsed; ++I) {
        W.U16(static_cast<Word>(Info->bmiColors[I].rgbBlue | (Info->bmiColors[I].rgbGreen << 8)));
      }
      W.Pad4();
    } else {
      for (DWORD I = 0; I < ClrUsed; ++I) {
        const RGBQUAD& Q = Info->bmiColors[I];
        const Byte B[4] = {Q.rgbBlue, Q.rgbGreen, Q.rgbRed, Q.rgbReserved};
        W.Bytes(B, 4);
      }
    }
  }
}

// Writes the bitmap block of a caller's DIB at the record's end, filling in the four offset and
// size fields at FieldsAt. Rows are Lines scan lines.
void WriteCallerDib(TEnhMetaDC* D, std::size_t At, std::size_t FieldsAt, const BITMAPINFO* Info, UINT Usage,
                    const void* Bits, DWORD Lines) {
  const BITMAPINFOHEADER& H = Info->bmiHeader;
  const std::size_t BmiAt = D->W.Size();
  const DWORD Row = static_cast<DWORD>(DibRowBytes(H.biWidth, H.biBitCount));
  const DWORD CbBits = Row * Lines;
  WriteDibHeader(D->W, H.biWidth, H.biHeight, H.biBitCount, H.biCompression, CbBits, 0);
  DWORD ClrUsed = 0;
  WriteDibColors(D->W, Info, Usage, ClrUsed);
  D->W.PutU32(BmiAt + 32, ClrUsed);
  const std::size_t BitsAt = D->W.Size();
  D->W.Bytes(Bits, CbBits);
  D->W.PutU32(FieldsAt, static_cast<DWORD>(BmiAt - At));
  D->W.PutU32(FieldsAt + 4, static_cast<DWORD>(BitsAt - BmiAt));
  D->W.PutU32(FieldsAt + 8, static_cast<DWORD>(BitsAt - At));
  D->W.PutU32(FieldsAt + 12, CbBits);
}

bool ValidDib(const BITMAPINFO* Info, const void* Bits) {
  if (!Info || !Bits) return false;
  const BITMAPINFOHEADER& H = Info->bmiHeader;
  const Integer B = H.biBitCount;
  return H.biWidth > 0 && H.biHeight != 0 && (B == 1 || B == 4 || B == 8 || B == 16 || B == 24 || B == 32) &&
         (H.biCompression == BI_RGB || H.biCompression == BI_BITFIELDS);
}

}  // namespace

HDC CreateEnhMetaFileW(HDC Ref, const char16_t* FileName, const RECT* Frame, const char16_t* Description) {
  std::string Name;
  if (FileName)
    for (const char16_t* P = FileName; *P; ++P) {
      // UTF-16 to UTF-8, enough for file names.
      const char32_t C = *P;
      if (C < 0x80)
        Name += static_cast<char>(C);
      else if (C < 0x800)
        Name += static_cast<char>(0xC0 | (C >> 6)), Name += static_cast<char>(0x80 | (C & 0x3F));
      else
        Name += static_cast<char>(0xE0 | (C >> 12)), Name += static_cast<char>(0x80 | ((C >> 6) & 0x3F)),
            Name += static_cast<char>(0x80 | (C & 0x3F));
    }
  auto* D = new TEnhMetaDC;
  D->FileName = Name;
  if (Frame) D->HasFrame = true, D->Frame = *Frame;
  if (Description) {
    // Two strings, each ended by a zero, and a final zero.
    const char16_t* P = Description;
    for (Integer Part = 0; Part < 2; ++Part) {
      while (*P) D->Description += *P++;
      D->Description += u'\0';
      ++P;
    }
    D->Description += u'\0';
  }
  // Every DC describes the display; the new DC does when there is no reference.
  if (!Ref) Ref = D;
  const Integer Dpi = std::max(GetDeviceCaps(Ref, LOGPIXELSX), 1);
  D->RefPixels = {GetDeviceCaps(Ref, HORZRES), GetDeviceCaps(Ref, VERTRES)};
  D->RefMm = {GetDeviceCaps(Ref, HORZSIZE), GetDeviceCaps(Ref, VERTSIZE)};
  D->RefUm = {D->RefPixels.cx * 25400 / Dpi, D->RefPixels.cy * 25400 / Dpi};
  return D;
}

HDC CreateEnhMetaFileA(HDC Ref, const char* FileName, const RECT* Frame, const char* Description) {
  std::u16string Name, Desc;
  if (FileName)
    for (const char* P = FileName; *P; ++P) Name += static_cast<char16_t>(static_cast<Byte>(*P));
  HDC DC = CreateEnhMetaFileW(Ref, FileName ? Name.c_str() : nullptr, Frame, nullptr);
  if (DC && FileName) AsRecorder(DC)->FileName = FileName;
  if (DC && Description) {
    // UTF-8 parts, ASCII being all descriptions carry in practice; other bytes pass as they are.
    const char* P = Description;
    for (Integer Part = 0; Part < 2; ++Part) {
      while (*P) Desc += static_cast<char16_t>(static_cast<Byte>(*P++));
      Desc += u'\0';
      ++P;
    }
    Desc += u'\0';
    AsRecorder(DC)->Description = Desc;
  }
  return DC;
}

HENHMETAFILE CloseEnhMetaFile(HDC DC) {
  if (!IsRecordingDC(DC)) return nullptr;
  TEnhMetaDC* D = AsRecorder(DC);
  // EMR_EOF: no palette.
  Simple(D, EMR_EOF, {0, 16, 20});

  const TRect Bounds = D->HasBounds ? D->Bounds : TRect{0, 0, -1, -1};
  TRect Frame = D->Frame;
  if (!D->HasFrame) {
    // From the bounds, the right and bottom pixels included.
    auto ToFrame = [](Integer Px, Integer Um, Integer Dev) {
      return static_cast<Integer>(std::lround(static_cast<double>(Px) * Um / (10.0 * Dev)));
    };
    Frame = D->HasBounds ? TRect{ToFrame(Bounds.Left, D->RefUm.cx, D->RefPixels.cx),
                                 ToFrame(Bounds.Top, D->RefUm.cy, D->RefPixels.cy),
                                 ToFrame(Bounds.Right + 1, D->RefUm.cx, D->RefPixels.cx),
                                 ToFrame(Bounds.Bottom + 1, D->RefUm.cy, D->RefPixels.cy)}
                         : TRect{0, 0, -1, -1};
  }
  TRecordWriter H;
  const DWORD DescBytes = static_cast<DWORD>(D->Description.size() * 2);
  const DWORD HeaderSize = 108 + ((DescBytes + 3) & ~3u);
  H.U32(EMR_HEADER), H.U32(HeaderSize);
  H.Rect(Bounds), H.Rect(Frame);
  H.U32(ENHMETA_SIGNATURE), H.U32(0x10000);
  H.U32(static_cast<DWORD>(HeaderSize + D->W.Size()));
  H.U32(D->Records + 1);
  H.U16(static_cast<Word>(std::min<std::size_t>(D->Slots.size(), 0xFFFF))), H.U16(0);
  H.U32(static_cast<DWORD>(D->Description.size())), H.U32(D->Description.empty() ? 0 : 108);
  H.U32(0);
  H.I32(D->RefPixels.cx), H.I32(D->RefPixels.cy), H.I32(D->RefMm.cx), H.I32(D->RefMm.cy);
  H.U32(0), H.U32(0), H.U32(0);
  H.I32(D->RefUm.cx), H.I32(D->RefUm.cy);
  for (char16_t C : D->Description) H.U16(C);
  H.Pad4();
  H.Bytes(D->W.Data.data(), D->W.Size());
  const std::string FileName = D->FileName;
  delete D;
  if (!FileName.empty() && !WriteMetafileBytes(FileName, H.Data)) return nullptr;
  return MakeEnhMetaFile(std::move(H.Data));
}

void EmfRecordMoveTo(HDC DC, Integer X, Integer Y) {
  Simple(Ready(DC), EMR_MOVETOEX, {static_cast<DWORD>(X), static_cast<DWORD>(Y)});
}

void EmfRecordLineTo(HDC DC, Integer X, Integer Y) {
  TEnhMetaDC* D = Ready(DC);
  const POINT P[2] = {DC->State.CurPos, {X, Y}};
  AddBounds(D, DeviceBox(DC, P, 2, PenWiden(DC)));
  Simple(D, EMR_LINETO, {static_cast<DWORD>(X), static_cast<DWORD>(Y)});
}

void EmfRecordBox(HDC DC, DWORD Type, Integer L, Integer T, Integer R, Integer B) {
  TEnhMetaDC* D = Ready(DC);
  AddBounds(D, BoxOfRect(DC, L, T, R, B, PenWiden(DC)));
  const std::size_t At = Begin(D, Type);
  D->W.Rect({L, T, R, B});
  End(D, At);
}

void EmfRecordRoundRect(HDC DC, Integer L, Integer T, Integer R, Integer B, Integer W, Integer H) {
  TEnhMetaDC* D = Ready(DC);
  AddBounds(D, BoxOfRect(DC, L, T, R, B, PenWiden(DC)));
  const std::size_t At = Begin(D, EMR_ROUNDRECT);
  D->W.Rect({L, T, R, B});
  D->W.I32(W), D->W.I32(H);
  End(D, At);
}

void EmfRecordArc(HDC DC, DWORD Type, Integer L, Integer T, Integer R, Integer B, Integer XS, Integer YS,
                  Integer XE, Integer YE) {
  TEnhMetaDC* D = Ready(DC);
  TRect Box = BoxOfRect(DC, L, T, R, B, PenWiden(DC));
  if (Type == EMR_ARCTO) {
    const POINT Cp = DC->State.CurPos;
    const TRect C = DeviceBox(DC, &Cp, 1, 1);
    Box = {std::min(Box.Left, C.Left), std::min(Box.Top, C.Top), std::max(Box.Right, C.Right),
           std::max(Box.Bottom, C.Bottom)};
  }
  AddBounds(D, Box);
  const std::size_t At = Begin(D, Type);
  D->W.Rect({L, T, R, B});
  D->W.I32(XS), D->W.I32(YS), D->W.I32(XE), D->W.I32(YE);
  End(D, At);
}

void EmfRecordPoints(HDC DC, DWORD Type, const POINT* Points, DWORD Count) {
  if (!Points) return;
  TEnhMetaDC* D = Ready(DC);
  TRect Box = DeviceBox(DC, Points, Count, PenWiden(DC));
  if (Type == EMR_POLYBEZIERTO || Type == EMR_POLYLINETO) {
    const POINT Cp = DC->State.CurPos;
    const TRect C = DeviceBox(DC, &Cp, 1, 1);
    Box = {std::min(Box.Left, C.Left), std::min(Box.Top, C.Top), std::max(Box.Right, C.Right),
           std::max(Box.Bottom, C.Bottom)};
  }
  AddBounds(D, Box);
  const bool Short = Fits16(Points, Count);
  const std::size_t At = Begin(D, Short ? ShortType(Type) : Type);
  D->W.Rect(Box);
  D->W.U32(Count);
  WritePoints(D->W, Points, Count, Short);
  End(D, At);
}

void EmfRecordPolyPoints(HDC DC, DWORD Type, const POINT* Points, const DWORD* Counts, DWORD PolyCount) {
  if (!Points || !Counts) return;
  TEnhMetaDC* D = Ready(DC);
  std::size_t Total = 0;
  for (DWORD I = 0; I < PolyCount; ++I) Total += Counts[I];
  const TRect Box = DeviceBox(DC, Points, Total, PenWiden(DC));
  AddBounds(D, Box);
  const bool Short = Fits16(Points, Total);
  const std::size_t At = Begin(D, Short ? ShortType(Type) : Type);
  D->W.Rect(Box);
  D->W.U32(PolyCount), D->W.U32(static_cast<DWORD>(Total));
  for (DWORD I = 0; I < PolyCount; ++I) D->W.U32(Counts[I]);
  WritePoints(D->W, Points, Total, Short);
  End(D, At);
}

void EmfRecordPixel(HDC DC, Integer X, Integer Y, COLORREF Color) {
  TEnhMetaDC* D = Ready(DC);
  const POINT P{X, Y};
  AddBounds(D, DeviceBox(DC, &P, 1, 0));
  Simple(D, EMR_SETPIXELV, {static_cast<DWORD>(X), static_cast<DWORD>(Y), Color});
}

void EmfRecordFloodFill(HDC DC, Integer X, Integer Y, COLORREF Color, UINT Type) {
  TEnhMetaDC* D = Ready(DC);
  const POINT P{X, Y};
  AddBounds(D, DeviceBox(DC, &P, 1, 0));
  Simple(D, EMR_EXTFLOODFILL, {static_cast<DWORD>(X), static_cast<DWORD>(Y), Color, Type});
}

namespace {

// The fixed part of EMR_BITBLT up to the source fields; the caller adds the bitmap fields.
void WriteBltHead(TEnhMetaDC* D, const TRect& Box, Integer X, Integer Y, Integer W, Integer H, DWORD Rop,
                  Integer XS, Integer YS) {
  D->W.Rect(Box);
  D->W.I32(X), D->W.I32(Y), D->W.I32(W), D->W.I32(H), D->W.U32(Rop), D->W.I32(XS), D->W.I32(YS);
  const XFORM Id;
  D->W.F32(Id.eM11), D->W.F32(Id.eM12), D->W.F32(Id.eM21), D->W.F32(Id.eM22), D->W.F32(Id.eDx),
      D->W.F32(Id.eDy);
}

}  // namespace

void EmfRecordPatBlt(HDC DC, const RECT& R, DWORD Rop, HBRUSH Brush) {
  TEnhMetaDC* D = Ready(DC, Brush);
  const TRect Box = BoxOfRect(DC, R.Left, R.Top, R.Right - 1, R.Bottom - 1, 0);
  AddBounds(D, Box);
  const std::size_t At = Begin(D, EMR_BITBLT);
  WriteBltHead(D, Box, R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top, Rop, 0, 0);
  D->W.U32(0), D->W.U32(DIB_RGB_COLORS), D->W.U32(0), D->W.U32(0), D->W.U32(0), D->W.U32(0);
  End(D, At);
}

void EmfRecordRegion(HDC DC, DWORD Type, HRGN Rgn, HBRUSH Brush, Integer W, Integer H) {
  if (!Rgn) return;
  // FillRgn and FrameRgn name their brush by handle: it is selected for the record and the
  // DC's own comes back with the next one.
  const bool Named = Type == EMR_FILLRGN || Type == EMR_FRAMERGN;
  TEnhMetaDC* D = Ready(DC, Named ? Brush : nullptr);
  const TRect& RB = Rgn->Data.Box();
  const TRect Box = BoxOfRect(DC, RB.Left, RB.Top, RB.Right, RB.Bottom, std::max(W, H));
  AddBounds(D, Box);
  std::vector<Byte> Data(Rgn->Data.RgnDataSize());
  Rgn->Data.WriteRgnData(Data.data());
  const std::size_t At = Begin(D, Type);
  D->W.Rect(Box);
  D->W.U32(static_cast<DWORD>(Data.size()));
  if (Named) D->W.U32(static_cast<DWORD>(D->BrushSlot ? D->BrushSlot : 0));
  if (Type == EMR_FRAMERGN) D->W.I32(W), D->W.I32(H);
  D->W.Bytes(Data.data(), Data.size());
  End(D, At);
}

void EmfRecordBlt(HDC DC, DWORD Type, Integer X, Integer Y, Integer W, Integer H, HDC Src, Integer XS,
                  Integer YS, Integer WS, Integer HS, DWORD Rop) {
  if (Type == EMR_BITBLT) WS = W, HS = H;
  if (!Src || WS == 0 || HS == 0) {
    EmfRecordPatBlt(DC, RECT{X, Y, X + W, Y + H}, Rop, nullptr);
    return;
  }
  // The source is captured as drawn left to right, top to bottom; mirroring stays in the
  // destination extents.
  Integer CX = XS, CY = YS, CW = WS, CH = HS;
  if (CW < 0) CX += CW, CW = -CW;
  if (CH < 0) CY += CH, CH = -CH;
  if (static_cast<Int64>(CW) * CH > (Int64(1) << 26)) return;
  const std::vector<Byte> Pixels = CaptureSource(DC, Src, CX, CY, CW, CH);
  if (Pixels.empty()) return;
  TEnhMetaDC* D = Ready(DC);
  const TRect Box = BoxOfRect(DC, X, Y, X + W - 1, Y + H - 1, 0);
  AddBounds(D, Box);
  const std::size_t At = Begin(D, Type);
  WriteBltHead(D, Box, X, Y, W, H, Rop, XS, YS);
  D->W.U32(Src->State.BkColor), D->W.U32(DIB_RGB_COLORS);
  const std::size_t Fields = D->W.Size();
  D->W.Zeros(16);
  if (Type != EMR_BITBLT) D->W.I32(WS), D->W.I32(HS);
  const std::size_t BmiAt = D->W.Size();
  WriteDibHeader(D->W, CW, CH, 32, BI_RGB, static_cast<DWORD>(Pixels.size()), 0);
  const std::size_t BitsAt = D->W.Size();
  D->W.Bytes(Pixels.data(), Pixels.size());
  D->W.PutU32(Fields, static_cast<DWORD>(BmiAt - At));
  D->W.PutU32(Fields + 4, 40);
  D->W.PutU32(Fields + 8, static_cast<DWORD>(BitsAt - At));
  D->W.PutU32(Fields + 12, static_cast<DWORD>(Pixels.size()));
  End(D, At);
}

void EmfRecordStretchDIBits(HDC DC, Integer XD, Integer YD, Integer WD, Integer HD, Integer XS, Integer YS,
                            Integer WS, Integer HS, const void* Bits, const BITMAPINFO* Info, UINT Usage,
                            DWORD Rop) {
  if (!ValidDib(Info, Bits)) return;
  TEnhMetaDC* D = Ready(DC);
  const TRect Box = BoxOfRect(DC, XD, YD, XD + WD - 1, YD + HD - 1, 0);
  AddBounds(D, Box);
  const std::size_t At = Begin(D, EMR_STRETCHDIBITS);
  D->W.Rect(Box);
  D->W.I32(XD), D->W.I32(YD), D->W.I32(XS), D->W.I32(YS), D->W.I32(WS), D->W.I32(HS);
  const std::size_t Fields = D->W.Size();
  D->W.Zeros(16);
  D->W.U32(Usage), D->W.U32(Rop), D->W.I32(WD), D->W.I32(HD);
  const DWORD Lines = static_cast<DWORD>(std::abs(Info->bmiHeader.biHeight));
  WriteCallerDib(D, At, Fields, Info, Usage, Bits, Lines);
  End(D, At);
}

void EmfRecordSetDIBitsToDevice(HDC DC, Integer XD, Integer YD, DWORD W, DWORD H, Integer XS, Integer YS,
                                UINT StartScan, UINT Lines, const void* Bits, const BITMAPINFO* Info,
                                UINT Usage) {
  if (!ValidDib(Info, Bits)) return;
  Lines = std::min<UINT>(Lines, static_cast<UINT>(std::abs(Info->bmiHeader.biHeight)));
  TEnhMetaDC* D = Ready(DC);
  const TRect Box =
      BoxOfRect(DC, XD, YD, XD + static_cast<Integer>(W) - 1, YD + static_cast<Integer>(H) - 1, 0);
  AddBounds(D, Box);
  const std::size_t At = Begin(D, EMR_SETDIBITSTODEVICE);
  D->W.Rect(Box);
  D->W.I32(XD), D->W.I32(YD), D->W.I32(XS), D->W.I32(YS), D->W.U32(W), D->W.U32(H);
  const std::size_t Fields = D->W.Size();
  D->W.Zeros(16);
  D->W.U32(Usage), D->W.U32(StartScan), D->W.U32(Lines);
  WriteCallerDib(D, At, Fields, Info, Usage, Bits, Lines);
  End(D, At);
}

void EmfRecordGradientFill(HDC DC, const TRIVERTEX* Vertices, ULONG NumVertices, const void* Mesh,
                           ULONG NumMesh, ULONG Mode) {
  if (!Vertices || !Mesh || Mode > GRADIENT_FILL_TRIANGLE) return;
  TEnhMetaDC* D = Ready(DC);
  std::vector<POINT> Pts;
  for (ULONG I = 0; I < NumVertices; ++I) Pts.push_back({Vertices[I].x, Vertices[I].y});
  const TRect Box = DeviceBox(DC, Pts.data(), Pts.size(), 0);
  AddBounds(D, Box);
  const std::size_t At = Begin(D, EMR_GRADIENTFILL);
  D->W.Rect(Box);
  D->W.U32(NumVertices), D->W.U32(NumMesh), D->W.U32(Mode);
  for (ULONG I = 0; I < NumVertices; ++I) {
    const TRIVERTEX& V = Vertices[I];
    D->W.I32(V.x), D->W.I32(V.y), D->W.U16(V.Red), D->W.U16(V.Green), D->W.U16(V.Blue), D->W.U16(V.Alpha);
  }
  if (Mode == GRADIENT_FILL_TRIANGLE) {
    const auto* T = static_cast<const GRADIENT_TRIANGLE*>(Mesh);
    for (ULONG I = 0; I < NumMesh; ++I)
      D->W.U32(T[I].Vertex1), D->W.U32(T[I].Vertex2), D->W.U32(T[I].Vertex3);
  } else {
    const auto* R = static_cast<const GRADIENT_RECT*>(Mesh);
    for (ULONG I = 0; I < NumMesh; ++I) D->W.U32(R[I].UpperLeft), D->W.U32(R[I].LowerRight);
  }
  End(D, At);
}

void EmfRecordText(HDC DC, Integer X, Integer Y, const char32_t* Chars, std::size_t Count, UINT Align,
                   UINT Options, const RECT* Rect, const Integer* Dx, const Integer* Dy) {
  TEnhMetaDC* D = Ready(DC, nullptr, &Align);
  // UTF-16 with the advance on each character's first unit.
  std::u16string Text;
  std::vector<Integer> Adv, AdvY;
  for (std::size_t I = 0; I < Count; ++I) {
    char32_t C = Chars[I];
    const Integer A = Dx ? Dx[I] : 0, AY = Dy ? Dy[I] : 0;
    if (C >= 0x10000) {
      C -= 0x10000;
      Text += static_cast<char16_t>(0xD800 + (C >> 10));
      Text += static_cast<char16_t>(0xDC00 + (C & 0x3FF));
      Adv.push_back(A), Adv.push_back(0), AdvY.push_back(AY), AdvY.push_back(0);
    } else {
      Text += static_cast<char16_t>(C);
      Adv.push_back(A), AdvY.push_back(AY);
    }
  }
  Integer Width = 0;
  for (Integer A : Adv) Width += A;
  const bool Pdy = Dy != nullptr;
  TRect Box = BoxOfRect(DC, X - Width, Y - 256, X + Width, Y + 256, 0);
  if (Rect && (Options & (ETO_CLIPPED | ETO_OPAQUE)))
    Box = BoxOfRect(DC, Rect->Left, Rect->Top, Rect->Right - 1, Rect->Bottom - 1, 0);
  AddBounds(D, Box);
  const std::size_t At = Begin(D, EMR_EXTTEXTOUTW);
  D->W.Rect(Box);
  D->W.U32(GM_COMPATIBLE), D->W.F32(1), D->W.F32(1);
  D->W.I32(X), D->W.I32(Y);
  D->W.U32(static_cast<DWORD>(Text.size()));
  const DWORD OffString = 76;
  const DWORD StringBytes = static_cast<DWORD>((Text.size() * 2 + 3) & ~std::size_t(3));
  D->W.U32(OffString);
  D->W.U32((Options & ~ETO_PDY) | (Pdy ? ETO_PDY : 0));
  D->W.Rect(Rect ? *Rect : TRect{0, 0, -1, -1});
  D->W.U32(Dx ? OffString + StringBytes : 0);
  for (char16_t C : Text) D->W.U16(C);
  D->W.Pad4();
  if (Dx)
    for (std::size_t I = 0; I < Adv.size(); ++I) {
      D->W.I32(Adv[I]);
      if (Pdy) D->W.I32(AdvY[I]);
    }
  End(D, At);
}
