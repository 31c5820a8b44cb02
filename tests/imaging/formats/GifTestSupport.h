#pragma once
// Hand-made GIF files for the reader and component tests: a builder that puts the screen, the
// colour tables, control and comment blocks and frames together, coding each frame's indices
// with the library's LZW coder.
#include <algorithm>
#include <string>
#include <vector>

#include "imaging/formats/giffilter.h"
#include "imaging/formats/giflzw.h"
#include "platform/system/Streams.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

struct TGifColour {
  Byte R, G, B;
};

class TGifBuilder {
 public:
  TGifBuilder(Integer Width, Integer Height, const std::vector<TGifColour>& Global = {},
              Byte Background = 0) {
    Text("GIF89a");
    Put16(Width);
    Put16(Height);
    Bytes.push_back(Global.empty() ? 0 : static_cast<Byte>(0x80 | TableField(Global)));
    Bytes.push_back(Background);
    Bytes.push_back(0);
    Table(Global);
  }

  // Disposal 0..7, delay in hundredths, TransparentIndex < 0: none.
  TGifBuilder& Control(Integer Disposal, Integer Delay, Integer TransparentIndex = -1) {
    Bytes.insert(Bytes.end(), {0x21, 0xF9, 4});
    Bytes.push_back(static_cast<Byte>((Disposal << 2) | (TransparentIndex >= 0 ? 1 : 0)));
    Put16(Delay);
    Bytes.push_back(static_cast<Byte>(TransparentIndex < 0 ? 0 : TransparentIndex));
    Bytes.push_back(0);
    return *this;
  }

  TGifBuilder& Comment(const std::string& Value) {
    Bytes.insert(Bytes.end(), {0x21, 0xFE, static_cast<Byte>(Value.size())});
    Text(Value);
    Bytes.push_back(0);
    return *this;
  }

  // Indices row by row (top to bottom); an interlaced frame stores them in GIF row order.
  TGifBuilder& Frame(Integer Left, Integer Top, Integer Width, Integer Height,
                     const std::vector<Byte>& Indices, const std::vector<TGifColour>& Local = {},
                     bool Interlaced = false, Integer MinCodeSize = 8) {
    Bytes.push_back(0x2C);
    Put16(Left);
    Put16(Top);
    Put16(Width);
    Put16(Height);
    Bytes.push_back(
        static_cast<Byte>((Local.empty() ? 0 : 0x80 | TableField(Local)) | (Interlaced ? 0x40 : 0)));
    Table(Local);
    std::vector<Byte> Coded = Indices;
    if (Interlaced)
      for (Integer I = 0; I < Height; ++I)
        std::copy_n(Indices.begin() + GifInterlacedRow(I, Height) * Width, Width, Coded.begin() + I * Width);
    TMemoryStream Data;
    GifLzwCompress(&Data, MinCodeSize, Coded.data(), static_cast<Integer>(Coded.size()));
    const std::vector<Byte> Raw = StreamBytes(Data);
    Bytes.insert(Bytes.end(), Raw.begin(), Raw.end());
    return *this;
  }

  std::vector<Byte> Finish() {
    std::vector<Byte> Result = Bytes;
    Result.push_back(0x3B);
    return Result;
  }

  std::vector<Byte> Bytes;

 private:
  void Put16(Integer V) {
    Bytes.push_back(static_cast<Byte>(V));
    Bytes.push_back(static_cast<Byte>(V >> 8));
  }
  void Text(const std::string& S) { Bytes.insert(Bytes.end(), S.begin(), S.end()); }
  // The size field of a table of 2..256 entries (padded up to a power of two).
  static Integer TableField(const std::vector<TGifColour>& T) {
    Integer Field = 0;
    while ((2 << Field) < static_cast<Integer>(T.size())) ++Field;
    return Field;
  }
  void Table(const std::vector<TGifColour>& T) {
    if (T.empty()) return;
    const Integer Count = 2 << TableField(T);
    for (Integer I = 0; I < Count; ++I) {
      const TGifColour C = I < static_cast<Integer>(T.size()) ? T[I] : TGifColour{0, 0, 0};
      Bytes.insert(Bytes.end(), {C.R, C.G, C.B});
    }
  }
};
