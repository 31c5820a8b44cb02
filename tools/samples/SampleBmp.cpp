#include "SampleBmp.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace {
class TLittleEndian {
 public:
  explicit TLittleEndian(std::vector<std::uint8_t>& Out) : FOut(Out) {}
  void Word(std::uint32_t V) { Put(V, 2); }
  void DWord(std::uint32_t V) { Put(V, 4); }

 private:
  void Put(std::uint32_t V, int Bytes) {
    for (int I = 0; I < Bytes; ++I) FOut.push_back(static_cast<std::uint8_t>(V >> (8 * I)));
  }
  std::vector<std::uint8_t>& FOut;
};

constexpr std::uint32_t FileHeaderSize = 14;
constexpr std::uint32_t InfoHeaderSize = 40;

// One row as stored: 24-bit pixels blue, green, red; 1-bit pixels packed from the high bit,
// index 1 (white) for anything but black. Rows end on a four-byte boundary.
void PackRow(std::vector<std::uint8_t>& Row, int Width, int BitCount, int Y,
             const std::function<TRgb(int, int)>& Pixel) {
  std::fill(Row.begin(), Row.end(), 0);
  for (int X = 0; X < Width; ++X) {
    const TRgb C = Pixel(X, Y);
    if (BitCount == 24) {
      Row[3 * X] = C.B;
      Row[3 * X + 1] = C.G;
      Row[3 * X + 2] = C.R;
    } else if (C.R != 0 || C.G != 0 || C.B != 0) {
      Row[X / 8] |= static_cast<std::uint8_t>(0x80 >> (X % 8));
    }
  }
}
}  // namespace

bool WriteBmp(const std::string& FileName, int Width, int Height, int BitCount,
              const std::function<TRgb(int, int)>& Pixel) {
  if (BitCount != 1 && BitCount != 24) throw std::invalid_argument("WriteBmp: 1 or 24 bits");
  const std::uint32_t RowBytes = ((static_cast<std::uint32_t>(Width) * BitCount + 31) / 32) * 4;
  const std::uint32_t PaletteBytes = BitCount == 1 ? 2 * 4 : 0;
  const std::uint32_t BitsOffset = FileHeaderSize + InfoHeaderSize + PaletteBytes;
  const std::uint32_t ImageBytes = RowBytes * static_cast<std::uint32_t>(Height);

  std::vector<std::uint8_t> File;
  File.reserve(BitsOffset + ImageBytes);
  TLittleEndian Out(File);
  File.push_back('B');
  File.push_back('M');
  Out.DWord(BitsOffset + ImageBytes);
  Out.DWord(0);  // reserved
  Out.DWord(BitsOffset);
  Out.DWord(InfoHeaderSize);
  Out.DWord(static_cast<std::uint32_t>(Width));
  Out.DWord(static_cast<std::uint32_t>(Height));  // positive: bottom-up
  Out.Word(1);                                    // planes
  Out.Word(static_cast<std::uint32_t>(BitCount));
  Out.DWord(0);  // BI_RGB
  Out.DWord(ImageBytes);
  Out.DWord(2835);  // 72 dots per inch
  Out.DWord(2835);
  Out.DWord(BitCount == 1 ? 2 : 0);  // colours used
  Out.DWord(0);                      // all important
  if (BitCount == 1) {
    Out.DWord(0x000000);  // index 0: black
    Out.DWord(0xFFFFFF);  // index 1: white
  }
  std::vector<std::uint8_t> Row(RowBytes);
  for (int Y = Height - 1; Y >= 0; --Y) {
    PackRow(Row, Width, BitCount, Y, Pixel);
    File.insert(File.end(), Row.begin(), Row.end());
  }
  std::ofstream Stream(FileName, std::ios::binary | std::ios::trunc);
  Stream.write(reinterpret_cast<const char*>(File.data()), static_cast<std::streamsize>(File.size()));
  return static_cast<bool>(Stream.flush());
}
