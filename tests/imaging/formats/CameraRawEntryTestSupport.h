#pragma once
// Test-side writers of small camera raw files for the reader's entry: a headerless "BR" sensor
// dump (little-endian 16-bit rows after a short header) and a TIFF whose first directory names
// the camera and whose sub-directory describes the raw data.
#include <cstring>
#include <string>
#include <vector>

#include "platform/system/Types.h"

namespace CameraRawTest {

inline void PutLE16(std::vector<Byte>& Out, Cardinal Value) {
  Out.push_back(static_cast<Byte>(Value));
  Out.push_back(static_cast<Byte>(Value >> 8));
}
inline void PutLE32(std::vector<Byte>& Out, Cardinal Value) {
  PutLE16(Out, Value & 0xFFFF);
  PutLE16(Out, Value >> 16);
}
inline void SetLE32(std::vector<Byte>& Out, std::size_t At, Cardinal Value) {
  for (Integer I = 0; I < 4; ++I) Out[At + I] = static_cast<Byte>(Value >> (8 * I));
}

constexpr Cardinal NucoreDataOffset = 32;

// A "BR" file of Width x Height samples; Sample(row, col) is stored as is (the reader takes it
// times 4). Rows are cut to Rows when given (a file that ends early).
template <typename TSample>
std::vector<Byte> MakeNucoreRaw(Integer Width, Integer Height, TSample Sample, Integer Rows = -1) {
  std::vector<Byte> Out(NucoreDataOffset, 0);
  Out[0] = 'B';
  Out[1] = 'R';
  SetLE32(Out, 10, NucoreDataOffset);
  SetLE32(Out, 18, static_cast<Cardinal>(Width));
  SetLE32(Out, 22, static_cast<Cardinal>(Height));
  const Integer Stored = Rows < 0 ? Height : Rows;
  for (Integer Row = 0; Row < Stored; ++Row)
    for (Integer Col = 0; Col < Width; ++Col) PutLE16(Out, static_cast<Cardinal>(Sample(Row, Col)));
  return Out;
}

// A flat field: every sample Value.
inline std::vector<Byte> MakeFlatNucoreRaw(Integer Width, Integer Height, Word Value) {
  return MakeNucoreRaw(Width, Height, [Value](Integer, Integer) { return Value; });
}

struct TTiffCamera {
  std::string Make;
  std::string Model;
  Cardinal RawWidth = 0;
  Cardinal RawHeight = 0;
  Cardinal Compression = 1;
  Cardinal DataBytes = 64;  // zero bytes of raw data after the directories
};

// Little-endian TIFF: IFD0 {Make, Model, SubIFDs} and one sub-IFD {width, height, compression,
// strip offset}, then the raw data.
inline std::vector<Byte> MakeCameraTiff(const TTiffCamera& Camera) {
  const auto Text = [](const std::string& S) {
    std::vector<Byte> Bytes(S.begin(), S.end());
    Bytes.push_back(0);
    return Bytes;
  };
  const std::vector<Byte> Make = Text(Camera.Make), Model = Text(Camera.Model);
  const Cardinal Ifd0 = 8, Ifd0Size = 2 + 3 * 12 + 4;
  const Cardinal MakeAt = Ifd0 + Ifd0Size;
  const Cardinal ModelAt = MakeAt + static_cast<Cardinal>(Make.size());
  const Cardinal SubIfd = ModelAt + static_cast<Cardinal>(Model.size());
  const Cardinal SubIfdSize = 2 + 4 * 12 + 4;
  const Cardinal DataAt = SubIfd + SubIfdSize;

  std::vector<Byte> Out = {'I', 'I', 42, 0};
  PutLE32(Out, Ifd0);
  const auto Entry = [&Out](Cardinal Tag, Cardinal Type, Cardinal Count, Cardinal Value) {
    PutLE16(Out, Tag);
    PutLE16(Out, Type);
    PutLE32(Out, Count);
    PutLE32(Out, Value);
  };
  PutLE16(Out, 3);
  Entry(271, 2, static_cast<Cardinal>(Make.size()), MakeAt);
  Entry(272, 2, static_cast<Cardinal>(Model.size()), ModelAt);
  Entry(330, 4, 1, SubIfd);
  PutLE32(Out, 0);
  Out.insert(Out.end(), Make.begin(), Make.end());
  Out.insert(Out.end(), Model.begin(), Model.end());
  PutLE16(Out, 4);
  Entry(256, 4, 1, Camera.RawWidth);
  Entry(257, 4, 1, Camera.RawHeight);
  Entry(259, 3, 1, Camera.Compression);
  Entry(273, 4, 1, DataAt);
  PutLE32(Out, 0);
  Out.resize(Out.size() + Camera.DataBytes, 0);
  return Out;
}

}  // namespace CameraRawTest
