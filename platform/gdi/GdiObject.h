#pragma once
// GDI handles are typed pointers to objects derived from TGdiObject; HGDIOBJ is the base.
// The objects' owners are the handle functions (Create*/DeleteObject); nothing else frees them.
#include "platform/system/WinTypes.h"

constexpr Integer OBJ_PEN = 1;
constexpr Integer OBJ_BRUSH = 2;
constexpr Integer OBJ_DC = 3;
constexpr Integer OBJ_METADC = 4;
constexpr Integer OBJ_PAL = 5;
constexpr Integer OBJ_FONT = 6;
constexpr Integer OBJ_BITMAP = 7;
constexpr Integer OBJ_REGION = 8;
constexpr Integer OBJ_METAFILE = 9;
constexpr Integer OBJ_MEMDC = 10;
constexpr Integer OBJ_EXTPEN = 11;
constexpr Integer OBJ_ENHMETADC = 12;
constexpr Integer OBJ_ENHMETAFILE = 13;

struct TGdiObject {
  explicit TGdiObject(Integer Type) : ObjType(Type) {}
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  virtual ~TGdiObject() = default;
  const Integer ObjType;
  bool Stock = false;  // stock objects ignore DeleteObject
};

using HGDIOBJ = TGdiObject*;
struct TPenObject;
struct TBrushObject;
struct TFontObject;
struct TBitmapObject;
struct TPaletteObject;
struct TRegionObject;
struct TDeviceContext;
using HPEN = TPenObject*;
using HBRUSH = TBrushObject*;
using HFONT = TFontObject*;
using HBITMAP = TBitmapObject*;
using HPALETTE = TPaletteObject*;
using HRGN = TRegionObject*;
using HDC = TDeviceContext*;
