// TIEMediaReader: a video file's frame rate, length, frame count and frame size.
#include "imaging/io/ieds.h"
#include "platform/media/DShowMediaDet.h"
#include "platform/system/Math.h"
#include "platform/system/Strings.h"

namespace {

constexpr double FrameCountTolerance = 1e-6;

}  // namespace

TIEMediaReader::TIEMediaReader(const std::string& FileName) : FFileName(FileName) {
  FMediaDet = std::make_unique<TMediaDet>();
  std::u16string Wide = Utf8ToUtf16(FileName);
  if (Wide.size() > 2048) Wide.resize(2048);
  if (!SUCCEEDED(FMediaDet->put_Filename(Wide))) return;
  LONG Streams = 0;
  FMediaDet->get_OutputStreams(Streams);
  // The last video stream wins; stream 0 when there is none.
  LONG Chosen = 0;
  for (LONG Index = 0; Index < Streams; ++Index) {
    FMediaDet->put_CurrentStream(Index);
    std::u16string Type;
    FMediaDet->get_StreamTypeB(Type);
    if (Type == MEDIATYPE_Video_String) Chosen = Index;
  }
  FMediaDet->put_CurrentStream(Chosen);
  FMediaDet->get_FrameRate(FrameRate);
  FMediaDet->get_StreamLength(StreamLength);
  // Length and rate come as binary fractions: 29 frames at 25 per second make 28.999...;
  // a whole count a rounding error below is that count.
  TotalFrames = static_cast<Int64>(Trunc(StreamLength * FrameRate + FrameCountTolerance));
  LONG Width = 0, Height = 0;
  if (SUCCEEDED(FMediaDet->get_FrameSize(Width, Height))) {
    FrameWidth = Width;
    FrameHeight = Height;
  }
}

TIEMediaReader::~TIEMediaReader() = default;
