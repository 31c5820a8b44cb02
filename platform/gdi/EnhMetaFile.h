#pragma once
// Enhanced metafiles: recording DCs, the file format, playback, and old-style metafiles read
// through conversion. A metafile handle owns a copy of the metafile's bytes; every function
// that takes bytes copies them. Readers check each record's size against the data and refuse
// (return failure for) anything they cannot read, without reading past the end.
#include <string>
#include <vector>

#include "platform/gdi/DeviceContext.h"

// Mapping modes of the metafile player (the DCs themselves stay MM_TEXT).
constexpr Integer MM_LOMETRIC = 2;
constexpr Integer MM_HIMETRIC = 3;
constexpr Integer MM_LOENGLISH = 4;
constexpr Integer MM_HIENGLISH = 5;
constexpr Integer MM_TWIPS = 6;
constexpr Integer MM_ISOTROPIC = 7;
constexpr Integer MM_ANISOTROPIC = 8;

constexpr DWORD ENHMETA_SIGNATURE = 0x464D4520;  // " EMF"
constexpr DWORD ENHMETA_STOCK_OBJECT = 0x80000000;

// Record types.
constexpr DWORD EMR_HEADER = 1;
constexpr DWORD EMR_POLYBEZIER = 2;
constexpr DWORD EMR_POLYGON = 3;
constexpr DWORD EMR_POLYLINE = 4;
constexpr DWORD EMR_POLYBEZIERTO = 5;
constexpr DWORD EMR_POLYLINETO = 6;
constexpr DWORD EMR_POLYPOLYLINE = 7;
constexpr DWORD EMR_POLYPOLYGON = 8;
constexpr DWORD EMR_SETWINDOWEXTEX = 9;
constexpr DWORD EMR_SETWINDOWORGEX = 10;
constexpr DWORD EMR_SETVIEWPORTEXTEX = 11;
constexpr DWORD EMR_SETVIEWPORTORGEX = 12;
constexpr DWORD EMR_SETBRUSHORGEX = 13;
constexpr DWORD EMR_EOF = 14;
constexpr DWORD EMR_SETPIXELV = 15;
constexpr DWORD EMR_SETMAPPERFLAGS = 16;
constexpr DWORD EMR_SETMAPMODE = 17;
constexpr DWORD EMR_SETBKMODE = 18;
constexpr DWORD EMR_SETPOLYFILLMODE = 19;
constexpr DWORD EMR_SETROP2 = 20;
constexpr DWORD EMR_SETSTRETCHBLTMODE = 21;
constexpr DWORD EMR_SETTEXTALIGN = 22;
constexpr DWORD EMR_SETTEXTCOLOR = 24;
constexpr DWORD EMR_SETBKCOLOR = 25;
constexpr DWORD EMR_OFFSETCLIPRGN = 26;
constexpr DWORD EMR_MOVETOEX = 27;
constexpr DWORD EMR_EXCLUDECLIPRECT = 29;
constexpr DWORD EMR_INTERSECTCLIPRECT = 30;
constexpr DWORD EMR_SCALEVIEWPORTEXTEX = 31;
constexpr DWORD EMR_SCALEWINDOWEXTEX = 32;
constexpr DWORD EMR_SAVEDC = 33;
constexpr DWORD EMR_RESTOREDC = 34;
constexpr DWORD EMR_SETWORLDTRANSFORM = 35;
constexpr DWORD EMR_MODIFYWORLDTRANSFORM = 36;
constexpr DWORD EMR_SELECTOBJECT = 37;
constexpr DWORD EMR_CREATEPEN = 38;
constexpr DWORD EMR_CREATEBRUSHINDIRECT = 39;
constexpr DWORD EMR_DELETEOBJECT = 40;
constexpr DWORD EMR_ELLIPSE = 42;
constexpr DWORD EMR_RECTANGLE = 43;
constexpr DWORD EMR_ROUNDRECT = 44;
constexpr DWORD EMR_ARC = 45;
constexpr DWORD EMR_CHORD = 46;
constexpr DWORD EMR_PIE = 47;
constexpr DWORD EMR_SELECTPALETTE = 48;
constexpr DWORD EMR_CREATEPALETTE = 49;
constexpr DWORD EMR_REALIZEPALETTE = 52;
constexpr DWORD EMR_EXTFLOODFILL = 53;
constexpr DWORD EMR_LINETO = 54;
constexpr DWORD EMR_ARCTO = 55;
constexpr DWORD EMR_SETARCDIRECTION = 57;
constexpr DWORD EMR_SETMITERLIMIT = 58;
constexpr DWORD EMR_BEGINPATH = 59;
constexpr DWORD EMR_ENDPATH = 60;
constexpr DWORD EMR_CLOSEFIGURE = 61;
constexpr DWORD EMR_FILLPATH = 62;
constexpr DWORD EMR_STROKEANDFILLPATH = 63;
constexpr DWORD EMR_STROKEPATH = 64;
constexpr DWORD EMR_SELECTCLIPPATH = 67;
constexpr DWORD EMR_ABORTPATH = 68;
constexpr DWORD EMR_GDICOMMENT = 70;
constexpr DWORD EMR_FILLRGN = 71;
constexpr DWORD EMR_FRAMERGN = 72;
constexpr DWORD EMR_INVERTRGN = 73;
constexpr DWORD EMR_PAINTRGN = 74;
constexpr DWORD EMR_EXTSELECTCLIPRGN = 75;
constexpr DWORD EMR_BITBLT = 76;
constexpr DWORD EMR_STRETCHBLT = 77;
constexpr DWORD EMR_SETDIBITSTODEVICE = 80;
constexpr DWORD EMR_STRETCHDIBITS = 81;
constexpr DWORD EMR_EXTCREATEFONTINDIRECTW = 82;
constexpr DWORD EMR_EXTTEXTOUTA = 83;
constexpr DWORD EMR_EXTTEXTOUTW = 84;
constexpr DWORD EMR_POLYBEZIER16 = 85;
constexpr DWORD EMR_POLYGON16 = 86;
constexpr DWORD EMR_POLYLINE16 = 87;
constexpr DWORD EMR_POLYBEZIERTO16 = 88;
constexpr DWORD EMR_POLYLINETO16 = 89;
constexpr DWORD EMR_POLYPOLYLINE16 = 90;
constexpr DWORD EMR_POLYPOLYGON16 = 91;
constexpr DWORD EMR_CREATEMONOBRUSH = 93;
constexpr DWORD EMR_CREATEDIBPATTERNBRUSHPT = 94;
constexpr DWORD EMR_EXTCREATEPEN = 95;
constexpr DWORD EMR_SETICMMODE = 98;
constexpr DWORD EMR_ALPHABLEND = 114;
constexpr DWORD EMR_SETLAYOUT = 115;
constexpr DWORD EMR_TRANSPARENTBLT = 116;
constexpr DWORD EMR_GRADIENTFILL = 118;
constexpr DWORD EMR_SETTEXTJUSTIFICATION = 120;

// The header record as it is stored (the fields up to szlMicrometers; older files end earlier,
// the missing fields read as zero).
struct ENHMETAHEADER {
  DWORD iType = EMR_HEADER;
  DWORD nSize = 108;
  RECT rclBounds;  // inclusive, reference device pixels
  RECT rclFrame;   // inclusive, 0.01 mm
  DWORD dSignature = ENHMETA_SIGNATURE;
  DWORD nVersion = 0x10000;
  DWORD nBytes = 0;
  DWORD nRecords = 0;
  WORD nHandles = 1;
  WORD sReserved = 0;
  DWORD nDescription = 0;  // UTF-16 units
  DWORD offDescription = 0;
  DWORD nPalEntries = 0;
  SIZE szlDevice;       // reference device, pixels
  SIZE szlMillimeters;  // reference device, millimetres
  DWORD cbPixelFormat = 0;
  DWORD offPixelFormat = 0;
  DWORD bOpenGL = 0;
  SIZE szlMicrometers;
};

// One record as EnumEnhMetaFile hands it out: type, size in bytes, then size / 4 - 2 parameters.
struct ENHMETARECORD {
  DWORD iType;
  DWORD nSize;
  DWORD dParm[1];
};

struct TEnhMetaFileObject;
using HENHMETAFILE = TEnhMetaFileObject*;

// The objects a playback created, by the metafile's handle index; 0 is the metafile itself.
struct HANDLETABLE {
  HGDIOBJ objectHandle[1];
};

// Old-style metafile picture description (SetWinMetaFileBits). xExt/yExt: 0.01 mm for
// MM_ISOTROPIC/MM_ANISOTROPIC (0 or negative: no size given).
struct METAFILEPICT {
  LONG mm = MM_ANISOTROPIC;
  LONG xExt = 0;
  LONG yExt = 0;
  void* hMF = nullptr;
};

// Recording. Ref is the reference device (null: the screen). Frame in 0.01 mm, inclusive; null
// makes the frame the bounds of what is drawn. FileName (may be null) receives the metafile
// when it is closed. Description: application name and picture name, each ended by a zero.
HDC CreateEnhMetaFileA(HDC Ref, const char* FileName, const RECT* Frame, const char* Description);
HDC CreateEnhMetaFileW(HDC Ref, const char16_t* FileName, const RECT* Frame, const char16_t* Description);
inline HDC CreateEnhMetaFile(HDC Ref, const char* FileName, const RECT* Frame, const char* Description) {
  return CreateEnhMetaFileA(Ref, FileName, Frame, Description);
}
// Ends recording, deletes the DC and returns the metafile (null when DC is not a recording DC,
// or the file could not be written).
HENHMETAFILE CloseEnhMetaFile(HDC DC);

// The file format.
HENHMETAFILE GetEnhMetaFileA(const char* FileName);
inline HENHMETAFILE GetEnhMetaFile(const char* FileName) {
  return GetEnhMetaFileA(FileName);
}
// Null when the bytes are not a readable enhanced metafile.
HENHMETAFILE SetEnhMetaFileBits(UINT Size, const Byte* Data);
// Null Buffer: the size. Otherwise copies Size bytes at most, returning the bytes copied.
UINT GetEnhMetaFileBits(HENHMETAFILE Metafile, UINT Size, Byte* Buffer);
// Null Header: the header's stored size. Otherwise copies min(Size, stored size) bytes of the
// header, as the fields above, and returns that count.
UINT GetEnhMetaFileHeader(HENHMETAFILE Metafile, UINT Size, ENHMETAHEADER* Header);
// The description in UTF-16 units (with its zeros); Buffer null: its length.
UINT GetEnhMetaFileDescriptionW(HENHMETAFILE Metafile, UINT Count, char16_t* Buffer);
// A copy, in memory (FileName null) or written to the file.
HENHMETAFILE CopyEnhMetaFileA(HENHMETAFILE Metafile, const char* FileName);
inline HENHMETAFILE CopyEnhMetaFile(HENHMETAFILE Metafile, const char* FileName) {
  return CopyEnhMetaFileA(Metafile, FileName);
}
BOOL DeleteEnhMetaFile(HENHMETAFILE Metafile);

// Playback. The frame maps onto Rect (logical units of DC); the DC's state is restored after.
// A record the player cannot read ends playback with FALSE; what was drawn stays.
BOOL PlayEnhMetaFile(HDC DC, HENHMETAFILE Metafile, const RECT* Rect);
// Callback for each record; return 0 to stop (EnumEnhMetaFile then returns FALSE).
using ENHMFENUMPROC = Integer (*)(HDC DC, HANDLETABLE* Table, const ENHMETARECORD* Record, Integer Objects,
                                  LPARAM Data);
// DC may be null: the records are only handed out. With a DC, Rect as for PlayEnhMetaFile.
BOOL EnumEnhMetaFile(HDC DC, HENHMETAFILE Metafile, ENHMFENUMPROC Proc, LPARAM Data, const RECT* Rect);
// Plays one record inside EnumEnhMetaFile's callback.
BOOL PlayEnhMetaFileRecord(HDC DC, HANDLETABLE* Table, const ENHMETARECORD* Record, UINT Objects);

// Old-style metafiles, bare or behind the 22-byte placeable header, converted to enhanced.
// Pict (may be null) gives the mapping mode and size in 0.01 mm; without it the picture's own
// window extent at the reference device's resolution is used (or the placeable header's units).
HENHMETAFILE SetWinMetaFileBits(UINT Size, const Byte* Data, HDC Ref, const METAFILEPICT* Pict);
