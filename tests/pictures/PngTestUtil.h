#pragma once
// Helpers of the PNG picture tests: files and streams as bytes, hand-made chunks, and the
// pixels of a picture against ImageMagick's (libpng's) decoding of the same file.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pictures/pngimage.h"
#include "platform/system/Streams.h"

inline std::string PngFixture(const std::string& Name) {
  return std::string(TILVAROK_TEST_DATA) + "/pngpicture/" + Name;
}

inline std::vector<Byte> FileBytes(const std::string& Path) {
  std::ifstream F(Path, std::ios::binary);
  return std::vector<Byte>(std::istreambuf_iterator<char>(F), {});
}

inline void WriteFileBytes(const std::string& Path, const std::vector<Byte>& Data) {
  std::ofstream F(Path, std::ios::binary);
  F.write(reinterpret_cast<const char*>(Data.data()), static_cast<std::streamsize>(Data.size()));
}

inline void LoadPng(TPNGObject& P, const std::vector<Byte>& Data) {
  TMemoryStream S;
  if (!Data.empty()) S.WriteBuffer(Data.data(), static_cast<Integer>(Data.size()));
  S.SetPosition(0);
  P.LoadFromStream(&S);
}

inline std::vector<Byte> SavePng(TPNGObject& P) {
  TMemoryStream S;
  P.SaveToStream(&S);
  const Byte* B = static_cast<const Byte*>(S.GetMemory());
  return std::vector<Byte>(B, B + S.GetSize());
}

inline std::vector<Byte> BE32(Cardinal V) {
  return {static_cast<Byte>(V >> 24), static_cast<Byte>(V >> 16), static_cast<Byte>(V >> 8),
          static_cast<Byte>(V)};
}

// One framed chunk; Crc of 0 means the right one.
inline std::vector<Byte> Chunk(const std::string& Name, const std::vector<Byte>& Data, Cardinal Crc = 0) {
  std::vector<Byte> Out;
  Out.reserve(12 + Data.size());
  for (Byte B : BE32(static_cast<Cardinal>(Data.size()))) Out.push_back(B);
  for (char C : Name) Out.push_back(static_cast<Byte>(C));
  Out.insert(Out.end(), Data.begin(), Data.end());
  if (Crc == 0) {
    uLong C = crc32(0, reinterpret_cast<const Bytef*>(Name.data()), 4);
    if (!Data.empty()) C = crc32(C, Data.data(), static_cast<uInt>(Data.size()));
    Crc = static_cast<Cardinal>(C);
  }
  const std::vector<Byte> T = BE32(Crc);
  Out.insert(Out.end(), T.begin(), T.end());
  return Out;
}

inline std::vector<Byte> Signature() {
  return {137, 80, 78, 71, 13, 10, 26, 10};
}

inline std::vector<Byte> Ihdr(Cardinal W, Cardinal H, Byte Depth, Byte ColorType, Byte Interlace = 0,
                              Byte Compression = 0) {
  std::vector<Byte> D = BE32(W);
  const std::vector<Byte> HB = BE32(H);
  D.insert(D.end(), HB.begin(), HB.end());
  D.insert(D.end(), {Depth, ColorType, Compression, 0, Interlace});
  return Chunk("IHDR", D);
}

inline std::vector<Byte> Deflated(const std::vector<Byte>& Raw) {
  uLongf Size = compressBound(static_cast<uLong>(Raw.size()));
  std::vector<Byte> Out(Size);
  compress2(Out.data(), &Size, Raw.data(), static_cast<uLong>(Raw.size()), 9);
  Out.resize(Size);
  return Out;
}

inline std::vector<Byte> Concat(std::initializer_list<std::vector<Byte>> Parts) {
  std::vector<Byte> Out;
  for (const auto& P : Parts) Out.insert(Out.end(), P.begin(), P.end());
  return Out;
}

// A pixel as high and low bytes of red, green, blue and alpha.
struct TPixel16 {
  Byte R[2], G[2], B[2], A[2];
};

// ImageMagick's decoding (through libpng) as 16-bit RGBA, big-endian; empty when it fails.
inline std::vector<TPixel16> MagickPixels(const std::string& Path) {
  const std::string Cmd = "convert '" + Path + "' -depth 16 -endian MSB rgba:- 2>/dev/null";
  FILE* P = popen(Cmd.c_str(), "r");
  std::vector<TPixel16> Out;
  if (!P) return Out;
  TPixel16 Px;
  while (std::fread(&Px, sizeof(Px), 1, P) == 1) Out.push_back(Px);
  pclose(P);
  return Out;
}

// Our decoding at the same precision: high bytes from the DIB or its colour table, low bytes
// from the low-byte plane (0 where the picture keeps none), alpha's high byte.
inline TPixel16 OurPixel(TPNGObject& P, Integer X, Integer Y) {
  TChunkIHDR* H = P.HeaderChunk();
  TPixel16 Px{};
  const Byte* Row = H->PixelRow(Y);
  const Byte* Low = H->LowByteRow(Y);
  const Byte* Alpha = H->AlphaRow(Y);
  Px.A[0] = 255;
  Px.A[1] = 255;
  if (H->BitsPerPixel() == 24) {
    Px.B[0] = Row[3 * X], Px.G[0] = Row[3 * X + 1], Px.R[0] = Row[3 * X + 2];
    if (Low) Px.B[1] = Low[3 * X], Px.G[1] = Low[3 * X + 1], Px.R[1] = Low[3 * X + 2];
  } else {
    const Integer D = H->BitsPerPixel(), PerByte = 8 / D;
    const Integer Index = Row[X / PerByte] >> (8 - D - D * (X % PerByte)) & ((1 << D) - 1);
    const RGBQUAD& Q = H->DibInfo.bmiColors[Index];
    Px.R[0] = Q.rgbRed, Px.G[0] = Q.rgbGreen, Px.B[0] = Q.rgbBlue;
    if (Low) Px.R[1] = Px.G[1] = Px.B[1] = Low[X];
    if (auto* T = P.ChunkList->FindByClass<TChunktRNS>(); T && H->ColorType == 3)
      Px.A[0] = static_cast<Cardinal>(Index) < T->GetDataSize() ? T->Alpha[Index] : 255;
  }
  if (Alpha) Px.A[0] = Alpha[X];
  return Px;
}

// Compares every pixel with ImageMagick's decoding of File; LowBytes: whether the low bytes
// count too (8-bit sources have them equal to the high bytes in 16-bit output).
inline void ExpectSameAsMagick(TPNGObject& P, const std::string& File, bool LowBytes) {
  const std::vector<TPixel16> Want = MagickPixels(File);
  ASSERT_EQ(Want.size(), static_cast<std::size_t>(P.GetWidth()) * P.GetHeight()) << File;
  Integer Bad = 0;
  for (Integer Y = 0; Y < P.GetHeight(); ++Y) {
    for (Integer X = 0; X < P.GetWidth(); ++X) {
      const TPixel16& W = Want[static_cast<std::size_t>(Y) * P.GetWidth() + X];
      const TPixel16 O = OurPixel(P, X, Y);
      bool Same = W.R[0] == O.R[0] && W.G[0] == O.G[0] && W.B[0] == O.B[0] && W.A[0] == O.A[0];
      if (LowBytes) Same = Same && W.R[1] == O.R[1] && W.G[1] == O.G[1] && W.B[1] == O.B[1];
      if (!Same && Bad++ < 3)
        ADD_FAILURE() << File << " at " << X << "," << Y << ": magick " << int(W.R[0]) << "," << int(W.G[0])
                      << "," << int(W.B[0]) << "," << int(W.A[0]) << " ours " << int(O.R[0]) << ","
                      << int(O.G[0]) << "," << int(O.B[0]) << "," << int(O.A[0]);
    }
  }
  EXPECT_EQ(Bad, 0) << File;
}
