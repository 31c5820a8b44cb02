// The PNG image data: inflating across IDAT chunks, row filters, sample storage, and the writer.
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "pictures/pngimage.h"
#include "pictures/pnglang.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Palettes.h"

namespace {
constexpr Integer ReadBufferSize = 65535;

struct TAdam7Pass {
  Integer StartRow, StartCol, RowStep, ColStep;
};
constexpr TAdam7Pass Adam7[7] = {{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4},
                                 {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}};

Cardinal GetBE32(const Byte* P) {
  return Cardinal{P[0]} << 24 | Cardinal{P[1]} << 16 | Cardinal{P[2]} << 8 | P[3];
}
void PutBE32(Byte* P, Cardinal V) {
  P[0] = static_cast<Byte>(V >> 24);
  P[1] = static_cast<Byte>(V >> 16);
  P[2] = static_cast<Byte>(V >> 8);
  P[3] = static_cast<Byte>(V);
}

[[noreturn]] void RaiseZlibError(Integer Result) {
  throw EPNGZLIBError(std::string(EPNGZLIBErrorText) + "\r\n Description: " + ZlibResultText(Result));
}

// Sample K of a row packed at Depth bits, the leftmost in the high bits.
inline Byte PackedSample(const Byte* Row, Integer K, Integer Depth) {
  const Integer Bit = K * Depth;
  return static_cast<Byte>(Row[Bit >> 3] >> (8 - Depth - (Bit & 7)) & ((1 << Depth) - 1));
}
inline void PutPackedSample(Byte* Row, Integer K, Integer Depth, Byte V) {
  const Integer Bit = K * Depth;
  const Integer Shift = 8 - Depth - (Bit & 7);
  const Byte Mask = static_cast<Byte>(((1 << Depth) - 1) << Shift);
  Row[Bit >> 3] = static_cast<Byte>((Row[Bit >> 3] & ~Mask) | ((V << Shift) & Mask));
}

// Inflates the image data running over the IDAT chunk being read and the IDAT chunks that
// follow it directly, checking each chunk's CRC.
class TIdatReader {
 public:
  TIdatReader(TStream* AStream, const std::string& Name, Cardinal Size) : FStream(AStream), FRemaining(Size) {
    FCrc = Crc32Update(0xFFFFFFFF, Name.data(), 4);
    FInput.resize(ReadBufferSize);
    if (inflateInit(&FZ) != Z_OK) RaiseZlibError(Z_MEM_ERROR);
  }
  ~TIdatReader() { inflateEnd(&FZ); }

  // Count bytes, or fewer when the image data ends first.
  Integer ReadRowBytes(Byte* Buffer, Integer Count) {
    FZ.next_out = Buffer;
    FZ.avail_out = static_cast<uInt>(Count);
    while (FZ.avail_out > 0 && !FFinished) {
      if (FZ.avail_in == 0 && FRemaining == 0) NextChunk();
      if (FZ.avail_in == 0) {
        const Integer Want = static_cast<Integer>(std::min<Cardinal>(FRemaining, ReadBufferSize));
        const Integer Got = Want > 0 ? FStream->Read(FInput.data(), Want) : 0;
        if (Got <= 0) break;
        FRemaining -= static_cast<Cardinal>(Got);
        FCrc = Crc32Update(FCrc, FInput.data(), static_cast<std::size_t>(Got));
        FZ.next_in = FInput.data();
        FZ.avail_in = static_cast<uInt>(Got);
      }
      const int R = inflate(&FZ, Z_NO_FLUSH);
      // A finished stream gives nothing more: the rows still missing stay as they are.
      if (R == Z_STREAM_END)
        FFinished = true;
      else if (R == Z_NEED_DICT || R < 0)
        RaiseZlibError(R);
    }
    return Count - static_cast<Integer>(FZ.avail_out);
  }

  // The rest of the current chunk and its CRC.
  void Finish() {
    while (FRemaining > 0) {
      const Integer Want = static_cast<Integer>(std::min<Cardinal>(FRemaining, ReadBufferSize));
      const Integer Got = FStream->Read(FInput.data(), Want);
      if (Got <= 0) break;
      FRemaining -= static_cast<Cardinal>(Got);
      FCrc = Crc32Update(FCrc, FInput.data(), static_cast<std::size_t>(Got));
    }
    CheckCrc();
  }

 private:
  void CheckCrc() {
    Byte Stored[4] = {};
    if (FStream->Read(Stored, 4) != 4 || GetBE32(Stored) != ~FCrc)
      RaisePngError<EPngInvalidCRC>(EPngInvalidCRCText);
  }
  void NextChunk() {
    CheckCrc();
    Byte Head[8] = {};
    const Integer Got = FStream->Read(Head, 8);
    if (Got != 8 || std::memcmp(Head + 4, "IDAT", 4) != 0)
      RaisePngError<EPNGMissingMultipleIDAT>(EPNGMissingMultipleIDATText);
    FCrc = Crc32Update(0xFFFFFFFF, Head + 4, 4);
    FRemaining = GetBE32(Head);
  }

  TStream* FStream;
  Cardinal FRemaining;
  Cardinal FCrc;
  std::vector<Byte> FInput;
  z_stream FZ{};
  bool FFinished = false;
};

// Writes deflated rows as IDAT chunks of exactly Limit bytes, the last one shorter.
class TIdatWriter {
 public:
  TIdatWriter(TStream* AStream, Integer Level, Integer Limit) : FStream(AStream) {
    FOutput.resize(static_cast<std::size_t>(Limit));
    if (deflateInit(&FZ, std::clamp(Level, 0, 9)) != Z_OK) RaiseZlibError(Z_MEM_ERROR);
    Restart();
  }
  ~TIdatWriter() { deflateEnd(&FZ); }

  void Feed(const Byte* Buffer, Integer Length) {
    FZ.next_in = const_cast<Bytef*>(Buffer);
    FZ.avail_in = static_cast<uInt>(Length);
    while (FZ.avail_in > 0) {
      const int R = deflate(&FZ, Z_NO_FLUSH);
      if (R < 0 && R != Z_BUF_ERROR) RaiseZlibError(R);
      if (FZ.avail_out == 0) {
        WriteChunk(FOutput.size());
        Restart();
      }
    }
  }

  void Flush() {
    FZ.next_in = nullptr;
    FZ.avail_in = 0;
    for (;;) {
      const int R = deflate(&FZ, Z_FINISH);
      if (R < 0 && R != Z_BUF_ERROR) RaiseZlibError(R);
      if (R == Z_STREAM_END) break;
      WriteChunk(FOutput.size() - FZ.avail_out);
      Restart();
    }
    if (FOutput.size() - FZ.avail_out > 0) WriteChunk(FOutput.size() - FZ.avail_out);
  }

 private:
  void Restart() {
    FZ.next_out = FOutput.data();
    FZ.avail_out = static_cast<uInt>(FOutput.size());
  }
  void WriteChunk(std::size_t Length) {
    Byte Head[8];
    PutBE32(Head, static_cast<Cardinal>(Length));
    std::memcpy(Head + 4, "IDAT", 4);
    FStream->WriteBuffer(Head, 8);
    if (Length > 0) FStream->WriteBuffer(FOutput.data(), static_cast<Integer>(Length));
    Byte Tail[4];
    PutBE32(Tail, ~Crc32Update(Crc32Update(0xFFFFFFFF, "IDAT", 4), FOutput.data(), Length));
    FStream->WriteBuffer(Tail, 4);
  }

  TStream* FStream;
  std::vector<Byte> FOutput;
  z_stream FZ{};
};

// Row k of the current pass goes to column StartCol + k x Step of image row Y.
struct TRowTarget {
  TChunkIHDR* H;
  const std::array<Byte, 256>& Gamma;
  Integer Y, StartCol, Step, Count;
};

void StoreRow(const TRowTarget& T, const Byte* Src, Integer RowLength) {
  TChunkIHDR& H = *T.H;
  Byte* Dib = H.PixelRow(T.Y);
  Byte* Low = H.LowByteRow(T.Y);
  Byte* Alpha = H.AlphaRow(T.Y);
  const auto& G = T.Gamma;
  const Integer Depth = H.BitDepth;
  auto Col = [&](Integer K) { return T.StartCol + K * T.Step; };
  switch (H.ColorType) {
    case 0:
    case 3:
      if (Depth == 16) {
        for (Integer K = 0; K < T.Count; ++K) {
          Dib[Col(K)] = Src[2 * K];
          Low[Col(K)] = Src[2 * K + 1];
        }
      } else if (Depth == 2) {
        const bool Grey = H.ColorType == 0;
        for (Integer K = 0; K < T.Count; ++K) {
          const Byte V = PackedSample(Src, K, 2);
          PutPackedSample(Dib, Col(K), 4, Grey ? static_cast<Byte>(V * 5) : V);
        }
      } else if (T.Step == 1) {
        std::memcpy(Dib, Src, static_cast<std::size_t>(RowLength));
      } else {
        for (Integer K = 0; K < T.Count; ++K)
          PutPackedSample(Dib, Col(K), Depth, PackedSample(Src, K, Depth));
      }
      break;
    case 2:
      if (Depth == 8) {
        for (Integer K = 0; K < T.Count; ++K) {
          Byte* D = Dib + 3 * Col(K);
          const Byte* S = Src + 3 * K;
          D[0] = G[S[2]], D[1] = G[S[1]], D[2] = G[S[0]];
        }
      } else {
        for (Integer K = 0; K < T.Count; ++K) {
          Byte* D = Dib + 3 * Col(K);
          Byte* L = Low + 3 * Col(K);
          const Byte* S = Src + 6 * K;
          D[0] = G[S[4]], D[1] = G[S[2]], D[2] = G[S[0]];
          L[0] = G[S[5]], L[1] = G[S[3]], L[2] = G[S[1]];
        }
      }
      break;
    case 4:
      if (Depth == 8) {
        for (Integer K = 0; K < T.Count; ++K) {
          Dib[Col(K)] = Src[2 * K];
          Alpha[Col(K)] = Src[2 * K + 1];
        }
      } else {
        for (Integer K = 0; K < T.Count; ++K) {
          Dib[Col(K)] = Src[4 * K];
          Low[Col(K)] = Src[4 * K + 1];
          Alpha[Col(K)] = Src[4 * K + 2];
        }
      }
      break;
    case 6:
      if (Depth == 8) {
        for (Integer K = 0; K < T.Count; ++K) {
          Byte* D = Dib + 3 * Col(K);
          const Byte* S = Src + 4 * K;
          D[0] = G[S[2]], D[1] = G[S[1]], D[2] = G[S[0]];
          Alpha[Col(K)] = S[3];
        }
      } else {
        for (Integer K = 0; K < T.Count; ++K) {
          Byte* D = Dib + 3 * Col(K);
          Byte* L = Low + 3 * Col(K);
          const Byte* S = Src + 8 * K;
          D[0] = G[S[4]], D[1] = G[S[2]], D[2] = G[S[0]];
          L[0] = G[S[5]], L[1] = G[S[3]], L[2] = G[S[1]];
          Alpha[Col(K)] = S[6];
        }
      }
      break;
    default:
      break;
  }
}

// The raw file row of pass pixels k (columns StartCol + k x Step) of image row Y.
void EncodeRow(const TRowTarget& T, Byte* Dst, Integer RowLength) {
  TChunkIHDR& H = *T.H;
  const Byte* Dib = H.PixelRow(T.Y);
  const Byte* Alpha = H.AlphaRow(T.Y);
  const auto& E = T.Gamma;
  const Integer Depth = H.BitDepth;
  auto Col = [&](Integer K) { return T.StartCol + K * T.Step; };
  std::memset(Dst, 0, static_cast<std::size_t>(RowLength));
  switch (H.ColorType) {
    case 0:
    case 3:
      if (Depth == 16) {
        for (Integer K = 0; K < T.Count; ++K) Dst[2 * K] = Dib[Col(K)];
      } else if (T.Step == 1 && Depth != 2) {
        std::memcpy(Dst, Dib, static_cast<std::size_t>(RowLength));
      } else {
        // 2-bit images are held at 4 bits; their header is written as 4 bits too.
        const Integer Stored = Depth == 2 ? 4 : Depth;
        for (Integer K = 0; K < T.Count; ++K)
          PutPackedSample(Dst, K, Stored, PackedSample(Dib, Col(K), Stored));
      }
      break;
    case 2:
      for (Integer K = 0; K < T.Count; ++K) {
        const Byte* S = Dib + 3 * Col(K);
        if (Depth == 8) {
          Byte* D = Dst + 3 * K;
          D[0] = E[S[2]], D[1] = E[S[1]], D[2] = E[S[0]];
        } else {
          Byte* D = Dst + 6 * K;
          D[0] = E[S[2]], D[2] = E[S[1]], D[4] = E[S[0]];
        }
      }
      break;
    case 4:
      for (Integer K = 0; K < T.Count; ++K) {
        if (Depth == 8) {
          Dst[2 * K] = Dib[Col(K)];
          Dst[2 * K + 1] = Alpha[Col(K)];
        } else {
          Dst[4 * K] = Dib[Col(K)];
          Dst[4 * K + 2] = Alpha[Col(K)];
        }
      }
      break;
    case 6:
      for (Integer K = 0; K < T.Count; ++K) {
        const Byte* S = Dib + 3 * Col(K);
        if (Depth == 8) {
          Byte* D = Dst + 4 * K;
          D[0] = E[S[2]], D[1] = E[S[1]], D[2] = E[S[0]], D[3] = Alpha[Col(K)];
        } else {
          Byte* D = Dst + 8 * K;
          D[0] = E[S[2]], D[2] = E[S[1]], D[4] = E[S[0]], D[6] = Alpha[Col(K)];
        }
      }
      break;
    default:
      break;
  }
}

void UnfilterRow(Byte* Current, const Byte* Previous, Integer RowLength, Cardinal Distance) {
  const Byte Type = Current[0];
  Byte* R = Current + 1;
  const Byte* P = Previous + 1;
  const Integer D = static_cast<Integer>(Distance);
  for (Integer I = 0; I < RowLength; ++I) {
    const Byte Left = I >= D ? R[I - D] : 0;
    const Byte UpperLeft = I >= D ? P[I - D] : 0;
    const Byte Above = P[I];
    switch (Type) {
      case 1:
        R[I] = static_cast<Byte>(R[I] + Left);
        break;
      case 2:
        R[I] = static_cast<Byte>(R[I] + Above);
        break;
      case 3:
        R[I] = static_cast<Byte>(R[I] + (Left + Above) / 2);
        break;
      case 4:
        R[I] = static_cast<Byte>(R[I] + PaethPredict(Left, Above, UpperLeft));
        break;
      default:
        return;
    }
  }
}

// Rows of the writer: 0 the previous raw row (and the output of None), 1-4 the filters, 5 the
// current raw row.
struct TWriteRows {
  std::vector<Byte> Rows[6];
  Integer RowLength = 0;
  Cardinal Distance = 1;
  Byte FilterSet = pfSub;

  Byte ChooseFilter() {
    const Byte* R = Rows[5].data();
    const Byte* P = Rows[0].data();
    const Integer D = static_cast<Integer>(Distance);
    for (Integer I = 0; I < RowLength; ++I) {
      const Byte Left = I >= D ? R[I - D] : 0;
      const Byte UpperLeft = I >= D ? P[I - D] : 0;
      if (FilterSet & pfSub) Rows[1][I] = static_cast<Byte>(R[I] - Left);
      if (FilterSet & pfUp) Rows[2][I] = static_cast<Byte>(R[I] - P[I]);
      if (FilterSet & pfAverage) Rows[3][I] = static_cast<Byte>(R[I] - (Left + P[I]) / 2);
      if (FilterSet & pfPaeth) Rows[4][I] = static_cast<Byte>(R[I] - PaethPredict(Left, P[I], UpperLeft));
    }
    std::memcpy(Rows[0].data(), R, static_cast<std::size_t>(RowLength));
    const Byte Set = FilterSet & 0x1F;
    if (Set == pfNone || Set == 0) return 0;
    Byte Best = 0;
    Integer BestScore = 0;
    for (Byte T = 0; T <= 4; ++T) {
      if (!(Set & (1 << T))) continue;
      if (Set == (1 << T)) return T;
      const Byte* Out = Rows[T].data();
      Integer Score = 0;
      for (Integer J = 2; J < RowLength; ++J)
        if (Out[J] == Out[J - 1] || Out[J] == Out[J - 2]) ++Score;
      if (Score > BestScore) {
        Best = T;
        BestScore = Score;
      }
    }
    return Best;
  }
};
}  // namespace

Byte PaethPredict(Byte Left, Byte Above, Byte UpperLeft) {
  const Integer P = Left + Above - UpperLeft;
  const Integer PA = std::abs(P - Left), PB = std::abs(P - Above), PC = std::abs(P - UpperLeft);
  if (PA <= PB && PA <= PC) return Left;
  if (PB <= PC) return Above;
  return UpperLeft;
}

Integer RowBytesFor(Integer Pixels, Byte ColorType, Byte BitDepth) {
  const Int64 X = static_cast<Int64>(Pixels) * BitDepth;
  switch (ColorType) {
    case 0:
    case 3:
      return static_cast<Integer>((X + 7) / 8);
    case 2:
      return static_cast<Integer>(X * 3 / 8);
    case 4:
      return static_cast<Integer>(X * 2 / 8);
    case 6:
      return static_cast<Integer>(X * 4 / 8);
    default:
      return 0;
  }
}

std::string ZlibResultText(Integer Result) {
  static const char* const Texts[] = {"incompatible version (-6)",
                                      "buffer error (-5)",
                                      "insufficient memory (-4)",
                                      "data error (-3)",
                                      "stream error (-2)",
                                      "file error (-1)",
                                      "(0)",
                                      "stream end (1)",
                                      "need dictionary (2)"};
  if (Result < -6 || Result > 2) return "(" + std::to_string(Result) + ")";
  return Texts[Result + 6];
}

bool TChunkIDAT::LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) {
  TChunkIHDR* Ihdr = OwnerHeader();
  if (Ihdr->PaletteBacked && (Ihdr->ColorType == 0 || Ihdr->ColorType == 4)) {
    const Integer N = 1 << Ihdr->BitsPerPixel();
    LOGPALETTE Pal;
    Pal.palNumEntries = static_cast<WORD>(N);
    for (Integer I = 0; I < N; ++I) {
      const Byte L = Owner->DecodeGamma[static_cast<Integer>(std::nearbyint(I * 255.0 / (N - 1)))];
      Pal.palPalEntry[I] = {L, L, L, 0};
    }
    HPALETTE Palette = CreatePalette(&Pal);
    Owner->SetPalette(Palette);
    DeleteObject(Palette);
  }
  const Integer Cols = static_cast<Integer>(Ihdr->Width), Rows = static_cast<Integer>(Ihdr->Height);
  Integer RowLength = 0;
  Cardinal FilterDistance = 1;
  Owner->RowLayout(RowLength, FilterDistance);
  TIdatReader Reader(Stream, Name, Size);
  std::vector<Byte> ReadRows[2] = {std::vector<Byte>(static_cast<std::size_t>(RowLength) + 1, 0),
                                   std::vector<Byte>(static_cast<std::size_t>(RowLength) + 1, 0)};
  Integer CurrentRow = 1;
  if (Owner->InterlaceKind == 0) {
    for (Integer Y = 0; Y < Rows; ++Y) {
      if (Reader.ReadRowBytes(ReadRows[CurrentRow].data(), RowLength + 1) == 0) break;
      UnfilterRow(ReadRows[CurrentRow].data(), ReadRows[1 - CurrentRow].data(), RowLength, FilterDistance);
      StoreRow({Ihdr, Owner->DecodeGamma, Y, 0, 1, Cols}, ReadRows[CurrentRow].data() + 1, RowLength);
      CurrentRow = 1 - CurrentRow;
    }
  } else {
    for (const TAdam7Pass& Pass : Adam7) {
      const Integer PassWidth = (Cols + Pass.ColStep - Pass.StartCol - 1) / Pass.ColStep;
      const Integer PassLength = RowBytesFor(PassWidth, Ihdr->ColorType, Ihdr->BitDepth);
      std::fill(ReadRows[1 - CurrentRow].begin(), ReadRows[1 - CurrentRow].end(), 0);
      if (PassLength <= 0) continue;
      for (Integer Y = Pass.StartRow; Y < Rows; Y += Pass.RowStep) {
        if (Reader.ReadRowBytes(ReadRows[CurrentRow].data(), PassLength + 1) == 0) break;
        UnfilterRow(ReadRows[CurrentRow].data(), ReadRows[1 - CurrentRow].data(), PassLength, FilterDistance);
        StoreRow({Ihdr, Owner->DecodeGamma, Y, Pass.StartCol, Pass.ColStep, PassWidth},
                 ReadRows[CurrentRow].data() + 1, PassLength);
        CurrentRow = 1 - CurrentRow;
      }
    }
  }
  Reader.Finish();
  (void)Cols;
  return true;
}

bool TChunkIDAT::SaveToStream(TStream* Stream) {
  TChunkIHDR* Ihdr = OwnerHeader();
  const Integer Cols = static_cast<Integer>(Ihdr->Width), Rows = static_cast<Integer>(Ihdr->Height);
  TWriteRows W;
  Owner->RowLayout(W.RowLength, W.Distance);
  W.FilterSet = Owner->FilterSet;
  for (Integer I = 0; I < 6; ++I) W.Rows[I].assign(static_cast<std::size_t>(W.RowLength) + 1, 0);
  TIdatWriter Writer(Stream, Owner->DeflateLevel, Owner->IdatLimit);
  auto Emit = [&](Integer Length) {
    const Integer Full = W.RowLength;
    W.RowLength = Length;
    const Byte F = W.ChooseFilter();
    W.RowLength = Full;
    Writer.Feed(&F, 1);
    Writer.Feed(W.Rows[F].data(), Length);
  };
  if (Owner->InterlaceKind == 0) {
    for (Integer Y = 0; Y < Rows; ++Y) {
      EncodeRow({Ihdr, Owner->EncodeGamma, Y, 0, 1, Cols}, W.Rows[5].data(), W.RowLength);
      Emit(W.RowLength);
    }
  } else {
    for (const TAdam7Pass& Pass : Adam7) {
      const Integer PassWidth = (Cols + Pass.ColStep - Pass.StartCol - 1) / Pass.ColStep;
      const Integer PassLength = RowBytesFor(PassWidth, Ihdr->ColorType, Ihdr->BitDepth);
      std::fill(W.Rows[0].begin(), W.Rows[0].end(), 0);
      if (PassLength <= 0) continue;
      for (Integer Y = Pass.StartRow; Y < Rows; Y += Pass.RowStep) {
        EncodeRow({Ihdr, Owner->EncodeGamma, Y, Pass.StartCol, Pass.ColStep, PassWidth}, W.Rows[5].data(),
                  PassLength);
        Emit(PassLength);
      }
    }
  }
  Writer.Flush();
  return true;
}
