// Huffman-coded differences with row predictors: lossless JPEG (Canon, Kodak compression 7)
// and Nikon's compressed NEF.
#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>

#include "imaging/formats/iecameraraw.h"
#include "imaging/formats/iecamerarawdecoder.h"

namespace {

struct TJpegFrame {
  Integer Height = 0;
  Integer Width = 0;
  TRawDecodeNode* Roots[2] = {nullptr, nullptr};
};

void ReadHuffmanTables(TCameraRawContext& Context, TJpegFrame& Frame, const Byte* Data, Integer Length) {
  RawInitDecoder(Context);
  Frame.Roots[0] = Frame.Roots[1] = nullptr;
  Integer At = 0;
  while (At < Length) {
    const Integer Class = Data[At++];
    if (Class > 1) break;
    Integer Used = 0;
    Frame.Roots[Class] = RawMakeDecoder(Context, Data + At, Length - At, &Used);
    At += Used;
  }
}

// The segments up to the start of scan; false when the stream is no usable lossless JPEG.
bool ReadJpegHeader(TCameraRawContext& Context, TJpegFrame& Frame) {
  if (RawGet2(Context) != 0xFFD8) return false;
  Integer Marker;
  do {
    Marker = RawGet2(Context);
    const Integer Length = RawGet2(Context) - 2;
    if (Marker < 0xFF01 || Length < 0 || Length >= 256 || RawAtEnd(Context)) return false;
    Byte Data[256];
    RawRead(Context, Data, Length);
    if (Marker == 0xFFC3) {
      Frame.Height = Data[1] << 8 | Data[2];
      Frame.Width = 2 * (Data[3] << 8 | Data[4]);
    } else if (Marker == 0xFFC4) {
      ReadHuffmanTables(Context, Frame, Data, Length);
    }
  } while (Marker != 0xFFDA);
  // A tree that is a single leaf would decode without taking a bit, never reaching the end.
  for (const TRawDecodeNode* Root : Frame.Roots)
    if (Root == nullptr || Root->Branch[0] == nullptr) return false;
  return Frame.Width > 0 && Frame.Height > 0;
}

// Where the i-th decoded sample lies in the sensor: the 1Ds Mark II stores three slices.
void SamplePosition(const TCameraRawContext& Context, Int64 I, Integer JpegHeight, Integer& Row,
                    Integer& Col) {
  if (Context.RawWidth == 5108) {
    const Int64 Slice = I / (static_cast<Int64>(JpegHeight) * 1680);
    if (Slice > 1) {
      const Int64 Rest = I - static_cast<Int64>(JpegHeight) * 3360;
      Row = static_cast<Integer>(Rest / 1748);
      Col = static_cast<Integer>(Rest % 1748 + 3360);
    } else {
      Row = static_cast<Integer>((I / 1680) % JpegHeight);
      Col = static_cast<Integer>(I % 1680 + Slice * 1680);
    }
  } else {
    Row = static_cast<Integer>(I / Context.RawWidth);
    Col = static_cast<Integer>(I % Context.RawWidth);
  }
}

}  // namespace

void RawLoadLosslessJpeg(TCameraRawContext& Context) {
  Word Curve[RawCurveSize];
  RawKodakCurve(Context, Curve);
  Context.ByteOrder = 0x4D4D;
  TJpegFrame Frame;
  if (Context.RawWidth <= 0 || !ReadJpegHeader(Context, Frame)) return;
  Context.ZeroAfterFF = 1;
  RawGetBits(Context, -1);
  Integer Vertical[2] = {2048, 2048};
  Integer Horizontal[2] = {0, 0};
  Integer Min = INT_MAX;
  Int64 MarginSum = 0;
  RawProgressStart(Context, Frame.Height);
  for (Integer JRow = 0; JRow < Frame.Height && !Context.InputEnded; ++JRow) {
    RawProgressRow(Context, JRow);
    for (Integer JCol = 0; JCol < Frame.Width; ++JCol) {
      const Integer Diff = RawGetDifference(Context, RawDecodeSymbol(Context, Frame.Roots[JCol & 1]));
      if (JCol < 2) {
        Vertical[JCol] = RawAddDifference(Vertical[JCol], Diff);
        Horizontal[JCol] = Vertical[JCol];
      } else {
        Horizontal[JCol & 1] = RawAddDifference(Horizontal[JCol & 1], Diff);
      }
      // Values past the curve are corrupt data: they take its last entry.
      const Integer Value = Curve[std::clamp(Horizontal[JCol & 1], 0, RawCurveSize - 1)];
      Integer Row, Col;
      SamplePosition(Context, static_cast<Int64>(JRow) * Frame.Width + JCol, Frame.Height, Row, Col);
      if (static_cast<Cardinal>(Row - Context.TopMargin) >= static_cast<Cardinal>(Context.Height)) continue;
      if (RawInsideMargins(Context, Row, Col)) {
        RawBayerCell(Context, Row - Context.TopMargin, Col - Context.LeftMargin) =
            static_cast<Word>(Value * 4);
        Min = std::min(Min, Value);
      } else {
        MarginSum += Value;
      }
    }
  }
  if (Context.Width < Context.RawWidth && Context.Height > 0)
    Context.Black = static_cast<Integer>(
        4 * MarginSum / (static_cast<Int64>(Context.RawWidth - Context.Width) * Context.Height));
  if (RawMakeIs(Context, "KODAK") && Min != INT_MAX) Context.Black = 4 * Min;
}

void RawLoadNikonCompressed(TCameraRawContext& Context) {
  RawInitDecoder(Context);
  const TRawDecodeNode* Root = RawMakeDecoder(Context, RawNikonSource, sizeof RawNikonSource);
  RawSeek(Context, Context.CurveOffset);
  Integer Vertical[2][2];
  for (auto& Pair : Vertical)
    for (Integer& Value : Pair) Value = RawGet2(Context);
  const Integer CurveSize = RawGet2(Context);
  if (CurveSize == 0) return;
  std::unique_ptr<Word[]> Curve(new (std::nothrow) Word[CurveSize]);
  RawCheckAlloc(Curve.get(), "nikon_compressed_load_raw()");
  for (Integer I = 0; I < CurveSize; ++I) Curve[I] = RawGet2(Context);
  RawSeek(Context, Context.DataOffset);
  RawGetBits(Context, -1);
  Integer Horizontal[2] = {0, 0};
  RawProgressStart(Context, Context.Height);
  for (Integer Row = 0; Row < Context.Height && !Context.InputEnded; ++Row) {
    RawProgressRow(Context, Row);
    // The stored width comes from the file: a row is not run on past the data's end.
    for (Integer Col = 0; Col < Context.RawWidth && !Context.InputEnded; ++Col) {
      const Integer Diff = RawGetDifference(Context, RawDecodeSymbol(Context, Root));
      if (Col < 2) {
        Vertical[Row & 1][Col] = RawAddDifference(Vertical[Row & 1][Col], Diff);
        Horizontal[Col] = Vertical[Row & 1][Col];
      } else {
        Horizontal[Col & 1] = RawAddDifference(Horizontal[Col & 1], Diff);
      }
      const Integer Picture = Col - Context.LeftMargin;
      if (static_cast<Cardinal>(Picture) >= static_cast<Cardinal>(Context.Width)) continue;
      RawBayerCell(Context, Row, Picture) =
          static_cast<Word>(Curve[std::clamp(Horizontal[Col & 1], 0, CurveSize - 1)] * 4);
    }
  }
}
