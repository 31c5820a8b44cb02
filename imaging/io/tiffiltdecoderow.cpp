// Row decompression of TIFF strips: one row at a time out of a strip held in memory, for every
// compression the filter reads besides JPEG, then samples of fewer than 8 bits unpacked to
// one byte each, and the horizontal predictor undone.
#include <algorithm>
#include <climits>
#include <cstring>

#include "imaging/core/ietiffbytes.h"
#include "imaging/core/ieutilsbits.h"
#include "imaging/io/iezlib.h"
#include "imaging/io/tifccitt.h"
#include "imaging/io/tiffiltdecode.h"
#include "platform/system/Streams.h"

namespace {

constexpr Integer PhotometricWhiteIsZero = 0;
constexpr Integer PhotometricBlackIsZero = 1;
constexpr Integer PhotometricYCbCr = 6;

bool IsGrey(const TTIFFVars& Vars) {
  return Vars.Photometric == PhotometricWhiteIsZero || Vars.Photometric == PhotometricBlackIsZero;
}

bool IsFax(Word Compression) {
  return Compression == TiffCompressionHuffman || Compression == TiffCompressionFax3 ||
         Compression == TiffCompressionFax4;
}

bool IsDeflate(Word Compression) {
  return Compression == TiffCompressionDeflate || Compression == TiffCompressionOldDeflate;
}

// Samples a row of the state holds: one per pixel for a plane, all of them otherwise.
Integer SamplesPerRow(const TTiffStripState& State) {
  return State.OnePlane ? 1 : State.Vars.SamplesPerPixel;
}

void ReverseBits(Byte* Data, Integer Count) {
  for (Integer I = 0; I < Count; ++I) IEReverseBits8(Data[I]);
}

// Uncompressed: whole-byte samples are read where they lie, smaller ones copied so that they
// can be unpacked.
TTiffRowResult UncompressedRow(TTiffStripState& State) {
  const TTIFFVars& Vars = State.Vars;
  if (State.DataLength - State.DataPos < State.RowLength) return TTiffRowResult::DataEnded;
  Byte* Source = State.Data + State.DataPos;
  if (Vars.BitsPerSample < 8) {
    std::memcpy(State.RowBuffer.data(), Source, static_cast<size_t>(State.RowLength));
    State.Row = State.RowBuffer.data();
  } else {
    State.Row = Source;
  }
  if (Vars.FillOrder == 2 && Vars.BitsPerSample <= 8) ReverseBits(State.Row, State.RowLength);
  State.DataPos += State.RowLength;
  return TTiffRowResult::Decoded;
}

TTiffRowResult FaxRow(TTiffStripState& State) {
  const TTIFFVars& Vars = State.Vars;
  Byte* Row = State.RowBuffer.data();
  State.Row = Row;
  switch (Vars.Compression) {
    case TiffCompressionHuffman:
      if (State.DataPos < State.DataLength)
        State.DataPos += CCITTDecodeHuffmanRow(Row, State.Data + State.DataPos,
                                               State.DataLength - State.DataPos, Vars.FillOrder, State.Width);
      else
        std::fill_n(Row, (State.Width + 7) / 8, Byte(0xFF));
      break;
    case TiffCompressionFax3:
      if (Vars.T4Options & 1)
        State.CCITTBitPos = CCITTDecode2DRow(Row, State.Data, State.DataLength, true, Vars.FillOrder,
                                             State.CCITTBitPos, State.RefRow.data(), State.Width);
      else
        State.CCITTBitPos = CCITTDecode1DRow(Row, State.Data, State.DataLength, Vars.FillOrder,
                                             State.CCITTBitPos, State.Width);
      break;
    default:
      State.CCITTBitPos =
          CCITTDecode2DRow(Row, State.Data, State.DataLength, (Vars.T4Options & 4) != 0, Vars.FillOrder,
                           State.CCITTBitPos, State.RefRow.data(), State.Width);
      break;
  }
  return TTiffRowResult::Decoded;
}

TTiffRowResult LzwRow(TTiffStripState& State) {
  const TTIFFVars& Vars = State.Vars;
  if (!Vars.LzwDecompress) return TTiffRowResult::Failed;
  const Byte* Decoded =
      Vars.LzwDecompress(State.Data, State.DataLength, State.RowLength, State.LzwState, Vars.FillOrder);
  if (!Decoded) return TTiffRowResult::Failed;
  std::memcpy(State.RowBuffer.data(), Decoded, static_cast<size_t>(State.RowLength));
  State.Row = State.RowBuffer.data();
  return TTiffRowResult::Decoded;
}

// The whole strip, inflated once on its first row. Output stops at the strip's rows and grows
// with what the data really gives; a damaged stream keeps the rows inflated before the damage.
void InflateStrip(TTiffStripState& State) {
  State.Inflated = true;
  TMemoryStream Compressed;
  Compressed.Write(State.Data, State.DataLength);
  Compressed.SetPosition(0);
  TZDecompressionStream Inflater(&Compressed);
  std::vector<Byte>& Out = State.InflatedStrip;
  size_t Done = 0;
  try {
    for (Integer Row = 0; Row < State.Rows; ++Row) {
      Out.resize(Done + static_cast<size_t>(State.RowLength));
      const Integer Got = std::max(Inflater.Read(Out.data() + Done, State.RowLength), 0);
      Done += static_cast<size_t>(Got);
      if (Got < State.RowLength) break;
    }
  } catch (const EZLibError&) {
  }
  Out.resize(Done);
}

TTiffRowResult DeflateRow(Integer RowInStrip, TTiffStripState& State) {
  if (!State.Inflated) InflateStrip(State);
  const size_t Start = static_cast<size_t>(RowInStrip) * State.RowLength;
  if (Start + State.RowLength > State.InflatedStrip.size()) return TTiffRowResult::DataEnded;
  Byte* Source = State.InflatedStrip.data() + Start;
  if (State.Vars.BitsPerSample < 8) {
    std::memcpy(State.RowBuffer.data(), Source, static_cast<size_t>(State.RowLength));
    State.Row = State.RowBuffer.data();
  } else {
    State.Row = Source;
  }
  return TTiffRowResult::Decoded;
}

// PackBits: a run that passes the row's end is consumed, its surplus dropped.
TTiffRowResult PackBitsRow(TTiffStripState& State) {
  const bool Reverse = State.Vars.FillOrder == 2;
  auto Next = [&]() {
    Byte B = State.Data[State.DataPos++];
    if (Reverse) IEReverseBits8(B);
    return B;
  };
  Byte* Row = State.RowBuffer.data();
  State.Row = Row;
  Integer Filled = 0;
  while (Filled < State.RowLength && State.DataPos < State.DataLength) {
    const auto Header = static_cast<signed char>(Next());
    if (Header >= 0) {
      for (Integer I = 0; I <= Header && State.DataPos < State.DataLength; ++I) {
        const Byte B = Next();
        if (Filled < State.RowLength) Row[Filled++] = B;
      }
    } else if (Header != -128 && State.DataPos < State.DataLength) {
      const Byte B = Next();
      const Integer Count = std::min<Integer>(1 - Header, State.RowLength - Filled);
      std::fill_n(Row + Filled, Count, B);
      Filled += Count;
    }
  }
  return TTiffRowResult::Decoded;
}

// Samples of 2, 3, 5, 6 or 7 bits, most significant first, to one byte each.
void UnpackSamples(TTiffStripState& State, Integer Count) {
  const Integer Bits = State.Vars.BitsPerSample;
  State.PackedRow.assign(State.Row, State.Row + State.RowLength);
  const Byte* Packed = State.PackedRow.data();
  Byte* Out = State.RowBuffer.data();
  const Integer Mask = (1 << Bits) - 1;
  for (Integer I = 0; I < Count; ++I) {
    const Integer Bit = I * Bits;
    const Integer Byte0 = Bit >> 3;
    Integer Window = Packed[Byte0] << 8;
    if (Byte0 + 1 < State.RowLength) Window |= Packed[Byte0 + 1];
    Out[I] = static_cast<Byte>((Window >> (16 - Bits - (Bit & 7))) & Mask);
  }
  State.Row = Out;
}

// 4-bit samples: each byte becomes two, high nibble first.
void UnpackNibbles(TTiffStripState& State) {
  Byte* Out = State.RowBuffer.data();
  if (State.Row != Out) std::memcpy(Out, State.Row, static_cast<size_t>(State.RowLength));
  for (Integer I = State.RowLength - 1; I >= 0; --I) {
    const Byte B = Out[I];
    Out[2 * I] = static_cast<Byte>(B >> 4);
    Out[2 * I + 1] = static_cast<Byte>(B & 0x0F);
  }
  State.Row = Out;
}

void ScaleGrey(Byte* Row, Integer Count, Integer Bits) {
  const Integer Factor = Bits == 4 ? 17 : Bits == 2 ? 85 : Bits == 7 ? 2 : 1;
  if (Factor == 1) return;
  for (Integer I = 0; I < Count; ++I) Row[I] = static_cast<Byte>(Row[I] * Factor);
}

void Unpack(TTiffStripState& State) {
  const TTIFFVars& Vars = State.Vars;
  const Integer Bits = Vars.BitsPerSample;
  const Integer Samples = State.Width * SamplesPerRow(State);
  if (Bits == 4) {
    UnpackNibbles(State);
  } else if ((Bits == 2 || Bits == 3 || (Bits >= 5 && Bits <= 7)) && !IsFax(Vars.Compression)) {
    UnpackSamples(State, Samples);
  } else {
    return;
  }
  if (IsGrey(Vars)) ScaleGrey(State.Row, Samples, Bits);
}

template <typename TSample, typename TLoad, typename TStore>
void AccumulateRow(Byte* Row, Integer Count, Integer Stride, TLoad Load, TStore Store) {
  for (Integer I = Stride; I < Count; ++I)
    Store(Row, I, static_cast<TSample>(Load(Row, I) + Load(Row, I - Stride)));
}

}  // namespace

Integer TiffRowLength(const TTIFFVars& Vars, Integer Width, bool OnePlane) {
  const Integer Bits = Vars.BitsPerSample, Samples = OnePlane ? 1 : Vars.SamplesPerPixel;
  if (Width <= 0 || Bits <= 0 || Bits > TiffMaxBitsPerSample || Samples <= 0 || Samples > TiffMaxSamples)
    return 0;
  // Subsampled YCbCr data holds two luma and one of each chroma sample per pair of pixels.
  if (!OnePlane && Vars.Photometric == PhotometricYCbCr && Samples == 3 && Bits == 8 &&
      Vars.YCbCrSubSampling[0] == 2 && Vars.YCbCrSubSampling[1] == 1)
    return (Width + 1) / 2 * 4;
  const Int64 Length = (static_cast<Int64>(Samples) * Width * Bits + 7) / 8;
  return Length > INT_MAX / 4 ? 0 : static_cast<Integer>(Length);
}

TTiffStripState::TTiffStripState(TTIFFVars& AVars, Byte* AData, Integer ADataLength, Integer ARowLength,
                                 Integer AWidth, Integer ARows, bool AOnePlane)
    : Vars(AVars),
      Data(AData),
      DataLength(std::max(ADataLength, 0)),
      RowLength(ARowLength),
      Width(AWidth),
      Rows(ARows),
      OnePlane(AOnePlane) {
  const Integer FaxRowBytes = (Width + 7) / 8;
  const size_t Unpacked = static_cast<size_t>(Width) * SamplesPerRow(*this);
  RowBuffer.assign(std::max({static_cast<size_t>(RowLength) * 2, Unpacked, static_cast<size_t>(FaxRowBytes)}),
                   Byte(0xFF));
  if (IsFax(Vars.Compression)) RefRow.assign(static_cast<size_t>(FaxRowBytes) + 4, Byte(0xFF));
  Row = RowBuffer.data();
}

TTiffStripState::~TTiffStripState() {
  if (LzwState && Vars.LzwDecompress) Vars.LzwDecompress(nullptr, 0, 0, LzwState, 0);
}

TTiffRowResult TiffDecodeRow(Integer RowInStrip, TTiffStripState& State) {
  TTiffRowResult Result = TTiffRowResult::Decoded;
  const Word Compression = State.Vars.Compression;
  if (Compression == TiffCompressionNone)
    Result = UncompressedRow(State);
  else if (IsFax(Compression))
    Result = FaxRow(State);
  else if (Compression == TiffCompressionLzw)
    Result = LzwRow(State);
  else if (IsDeflate(Compression))
    Result = DeflateRow(RowInStrip, State);
  else if (Compression == TiffCompressionPackBits)
    Result = PackBitsRow(State);
  else
    State.Row = State.RowBuffer.data();  // no decoder: the row stays as it was
  if (Result == TTiffRowResult::Decoded) Unpack(State);
  return Result;
}

void TiffUndoPredictor(const TTIFFVars& Vars, Byte* Row, Integer Width, bool SingleChannel) {
  if (Vars.Predictor != 2) return;
  if (Vars.Compression != TiffCompressionLzw && !IsDeflate(Vars.Compression)) return;
  const Integer Stride = SingleChannel ? 1 : Vars.SamplesPerPixel;
  const Integer Count = Width * Stride;
  if (Vars.BitsPerSample == 8) {
    AccumulateRow<Byte>(
        Row, Count, Stride, [](const Byte* R, Integer I) { return R[I]; },
        [](Byte* R, Integer I, Byte V) { R[I] = V; });
  } else if (Vars.BitsPerSample == 16) {
    // The differences are numbers in the file's byte order.
    const bool BigEndian = !Vars.LittleEndian;
    AccumulateRow<Word>(
        Row, Count, Stride, [BigEndian](const Byte* R, Integer I) { return IEGetWord(R + 2 * I, BigEndian); },
        [BigEndian](Byte* R, Integer I, Word V) { IEPutWord(R + 2 * I, V, BigEndian); });
  }
}
