// Walks over JPEG data without the codec: the start-of-image search, the length of the data,
// and the ICC profile chunks. Every length taken from the data is checked before it moves the
// reading position, and every loop ends with the data.
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "imaging/core/ieicc.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/zezudidioparams.h"

namespace {

// How far after the stream position the start of a JPEG may lie.
constexpr Integer SOISearchRange = 150;
constexpr Integer ScanBufferSize = 8192;

// The stream position, restored when the walk is over whatever happened.
class TPositionKeeper {
 public:
  explicit TPositionKeeper(TStream* Stream) : FStream(Stream), FPosition(Stream->GetPosition()) {}
  ~TPositionKeeper() { FStream->SetPosition(FPosition); }
  TPositionKeeper(const TPositionKeeper&) = delete;
  TPositionKeeper& operator=(const TPositionKeeper&) = delete;
  Int64 GetPosition() const { return FPosition; }

 private:
  TStream* FStream;
  Int64 FPosition;
};

// Reads one byte; false at the end of the data.
bool ReadByte(TIEBufferedReadStream& Reader, Byte& Value) {
  return Reader.Read(&Value, 1) == 1;
}

// A big-endian segment length, which counts its own two bytes; false when the data ends or
// the length cannot be one (below 2): the walk cannot go on past such a segment.
bool ReadSegmentLength(TIEBufferedReadStream& Reader, Integer& Length) {
  Byte Bytes[2];
  if (Reader.Read(Bytes, 2) != 2) return false;
  Length = (Bytes[0] << 8) | Bytes[1];
  return Length >= 2;
}

// Skips the rest of a segment; false when the data ends inside it.
bool SkipSegment(TIEBufferedReadStream& Reader, Integer Length) {
  const Int64 Target = Reader.GetPosition() + Length - 2;
  return Reader.Seek(Target, soBeginning) == Target && !Reader.GetEndReached();
}

// The next marker byte after an FF: fill bytes (more FFs) belong to the same marker.
bool NextMarker(TIEBufferedReadStream& Reader, Byte& Marker) {
  Byte Value = 0;
  do {
    if (!ReadByte(Reader, Value)) return false;
  } while (Value != 0xFF);
  do {
    if (!ReadByte(Reader, Value)) return false;
  } while (Value == 0xFF);
  Marker = Value;
  return true;
}

bool SkipsBySegment(Byte Marker) {
  return Marker == 0xC4 || Marker == 0xC8 || Marker == 0xCC || (Marker >= 0xDA && Marker <= 0xE1) ||
         (Marker >= 0xE3 && Marker <= 0xFE);
}

bool WalksOn(Byte Marker) {
  return Marker <= 0xBF || (Marker >= 0xD0 && Marker <= 0xD8);
}

constexpr char ICCIdentifier[] = "ICC_PROFILE";  // with its zero byte: 12 bytes
constexpr Integer ICCChunkHeader = 14;           // identifier, sequence number, chunk count

// The profile chunks of the APP2 segments in front of the first frame, by sequence number.
struct TICCChunks {
  std::array<std::vector<Byte>, 256> Chunks;
  Integer Total = 0;

  // False when the last chunk of the count has come.
  bool Add(const std::vector<Byte>& Segment, Integer& ChunksRead) {
    if (static_cast<Integer>(Segment.size()) < ICCChunkHeader ||
        std::memcmp(Segment.data(), ICCIdentifier, sizeof ICCIdentifier) != 0)
      return true;
    const Integer Sequence = Segment[12];
    const Integer Count = Segment[13];
    // Sequence numbers count from 1 up to the chunk count.
    if (Sequence < 1 || Sequence > Count) return true;
    std::vector<Byte>& Chunk = Chunks[Sequence - 1];
    Total -= static_cast<Integer>(Chunk.size());
    Chunk.assign(Segment.begin() + ICCChunkHeader, Segment.end());
    Total += static_cast<Integer>(Chunk.size());
    return ++ChunksRead != Count;
  }

  std::vector<Byte> Joined() const {
    std::vector<Byte> Profile;
    Profile.reserve(static_cast<size_t>(Total));
    for (const std::vector<Byte>& Chunk : Chunks) Profile.insert(Profile.end(), Chunk.begin(), Chunk.end());
    return Profile;
  }
};

std::vector<Byte> CollectICCProfile(TStream* Stream) {
  TIEBufferedReadStream Reader(Stream, ScanBufferSize, true);
  TICCChunks Profile;
  Integer ChunksRead = 0;
  Byte Marker = 0;
  while (NextMarker(Reader, Marker)) {
    if (WalksOn(Marker)) continue;
    Integer Length = 0;
    if (SkipsBySegment(Marker)) {
      if (!ReadSegmentLength(Reader, Length) || !SkipSegment(Reader, Length)) break;
      continue;
    }
    if (Marker != 0xE2) break;  // a frame or the end of the image
    if (!ReadSegmentLength(Reader, Length)) break;
    std::vector<Byte> Segment(static_cast<size_t>(Length - 2));
    if (Reader.Read(Segment.data(), Length - 2) != Length - 2) break;
    if (!Profile.Add(Segment, ChunksRead)) break;
  }
  return Profile.Total > 0 ? Profile.Joined() : std::vector<Byte>();
}

}  // namespace

Int64 JpegFindSOI(TStream* Stream, bool Search) {
  TPositionKeeper Keeper(Stream);
  std::array<Byte, SOISearchRange + 2> Window{};
  const Integer Wanted = Search ? static_cast<Integer>(Window.size()) : 3;
  const Integer Got = Stream->Read(Window.data(), Wanted);
  // A candidate needs all three bytes: a short read is no match.
  for (Integer At = 0; At + 3 <= Got; ++At)
    if (Window[At] == 0xFF && Window[At + 1] == 0xD8 && Window[At + 2] == 0xFF)
      return Keeper.GetPosition() + At;
  return -1;
}

Integer JpegStreamLength(TStream* Stream) {
  TPositionKeeper Keeper(Stream);
  TIEBufferedReadStream Reader(Stream, ScanBufferSize, true);
  Byte Marker = 0;
  while (NextMarker(Reader, Marker)) {
    if (Marker == 0xD9) break;
    if ((Marker >= 0xC0 && Marker <= 0xCF) || (Marker >= 0xDA && Marker <= 0xFE)) {
      Integer Length = 0;
      if (!ReadSegmentLength(Reader, Length) || !SkipSegment(Reader, Length)) break;
    }
  }
  return static_cast<Integer>(Reader.GetPosition());
}

void JpegReadICCProfile(TStream* Stream, TIOParamsVals& IOParams) {
  TPositionKeeper Keeper(Stream);
  const std::vector<Byte> Profile = CollectICCProfile(Stream);
  if (!Profile.empty())
    IOParams.GetInputICC()->LoadFromBuffer(Profile.data(), static_cast<Integer>(Profile.size()));
}
