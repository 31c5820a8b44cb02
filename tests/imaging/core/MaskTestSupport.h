#pragma once
// Masks written and read as rows of text, '#' selected and '.' not, so that a test shows the
// shape it expects.
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iefilebuffer.h"
#include "imaging/core/iemask.h"

struct TMaskBox {
  Integer X1, Y1, X2, Y2;
  bool operator==(const TMaskBox&) const = default;
};

inline TMaskBox BoxOf(const TIEMask& Mask) {
  return {Mask.GetX1(), Mask.GetY1(), Mask.GetX2(), Mask.GetY2()};
}

// '#' sets 1 (1-bit) or 255 (8-bit); the box and the full flag are recomputed.
inline std::unique_ptr<TIEMask> MaskFromRows(const std::vector<std::string>& Rows, Integer BitsPerPixel) {
  auto Mask = std::make_unique<TIEMask>();
  Mask->AllocateBits(static_cast<Integer>(Rows[0].size()), static_cast<Integer>(Rows.size()), BitsPerPixel);
  for (Integer Y = 0; Y < static_cast<Integer>(Rows.size()); ++Y)
    for (Integer X = 0; X < static_cast<Integer>(Rows[Y].size()); ++X)
      if (Rows[Y][X] == '#') Mask->SetPixel(X, Y, BitsPerPixel == 1 ? 1 : 255);
  Mask->SyncRect();
  Mask->SyncFull();
  return Mask;
}

inline std::vector<std::string> MaskRows(const TIEMask& Mask) {
  std::vector<std::string> Rows;
  for (Integer Y = 0; Y < Mask.GetHeight(); ++Y) {
    std::string Row;
    for (Integer X = 0; X < Mask.GetWidth(); ++X) Row += Mask.IsPointInside(X, Y) ? '#' : '.';
    Rows.push_back(Row);
  }
  return Rows;
}

// Bitmaps made while it lives go to temporary files.
class TFileBitmapsGuard {
 public:
  TFileBitmapsGuard() { IEMinFileSizeOverride = 0; }
  ~TFileBitmapsGuard() { IEMinFileSizeOverride = -1; }
  TFileBitmapsGuard(const TFileBitmapsGuard&) = delete;
  TFileBitmapsGuard& operator=(const TFileBitmapsGuard&) = delete;
};

// The library's allocators refuse blocks of at least Bytes while it lives.
class TRefuseAllocationsGuard {
 public:
  explicit TRefuseAllocationsGuard(UInt64 Bytes) {
    IEAllocationFailureHook = [Bytes](UInt64 Size) { return Size >= Bytes; };
  }
  ~TRefuseAllocationsGuard() { IEAllocationFailureHook = nullptr; }
  TRefuseAllocationsGuard(const TRefuseAllocationsGuard&) = delete;
  TRefuseAllocationsGuard& operator=(const TRefuseAllocationsGuard&) = delete;
};
