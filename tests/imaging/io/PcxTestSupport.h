#pragma once
// PCX files built field by field, and the reader and writer run over byte vectors.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/io/pcxfilter.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

struct TPcxFile {
  Byte Manufacturer = 10;
  Byte Version = 5;
  Byte Encoding = 1;
  Byte Bits = 8;
  Integer XMin = 0, YMin = 0, XMax = 0, YMax = 0;
  Integer DpiX = 72, DpiY = 96;
  std::array<Byte, 48> Palette{};  // red, green, blue
  Byte Planes = 1;
  Integer BytesPerLine = 0;
  std::vector<Byte> Data;  // everything after the header

  std::vector<Byte> Bytes() const {
    std::vector<Byte> F(PcxHeaderSize + Data.size(), 0);
    auto Put16 = [&](size_t At, Integer V) {
      F[At] = static_cast<Byte>(V);
      F[At + 1] = static_cast<Byte>(V >> 8);
    };
    F[0] = Manufacturer;
    F[1] = Version;
    F[2] = Encoding;
    F[3] = Bits;
    Put16(4, XMin);
    Put16(6, YMin);
    Put16(8, XMax);
    Put16(10, YMax);
    Put16(12, DpiX);
    Put16(14, DpiY);
    std::copy(Palette.begin(), Palette.end(), F.begin() + 16);
    F[65] = Planes;
    Put16(66, BytesPerLine);
    std::copy(Data.begin(), Data.end(), F.begin() + PcxHeaderSize);
    return F;
  }
};

struct TPcxRead {
  TIEBitmap Bitmap;
  TIOParamsVals Params;
  bool Aborting = false;
};

inline void ReadPcxBytes(const std::vector<Byte>& File, TPcxRead& R, bool Preview = false) {
  TMemoryStream Stream;
  LoadBytes(Stream, File);
  TTestProgress P;
  PcxReadStream(&Stream, &R.Bitmap, R.Params, Stream.GetSize(), P.Progress, Preview);
  R.Aborting = P.Aborting;
}

inline std::vector<Byte> WritePcxBytes(TIEBitmap& Bitmap, TIOParamsVals& Params, bool* Aborting = nullptr) {
  TMemoryStream Stream;
  TTestProgress P;
  PcxWriteStream(&Stream, &Bitmap, Params, P.Progress);
  if (Aborting) *Aborting = P.Aborting;
  return StreamBytes(Stream);
}

inline bool Bit1(TIEBitmap& Bitmap, Integer X, Integer Y) {
  return (static_cast<const Byte*>(Bitmap.GetScanline(Y))[X / 8] >> (7 - X % 8)) & 1;
}
