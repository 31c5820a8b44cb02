#include "app/VideoScript.h"

#include <algorithm>

#include "platform/system/Files.h"
#include "platform/system/Format.h"
#include "platform/system/Math.h"
#include "platform/system/Strings.h"

namespace {
// Splits Text into lines at LF, CR LF or a lone CR, as a text file is read line by line.
class TLineReader {
 public:
  explicit TLineReader(std::string_view Text) : FText(Text) {}
  bool AtEnd() const { return FAt >= FText.size(); }
  std::string_view Next() {
    const std::size_t Start = std::min(FAt, FText.size());
    std::size_t End = Start;
    while (End < FText.size() && FText[End] != '\n' && FText[End] != '\r') ++End;
    FAt = End;
    if (FAt < FText.size() && FText[FAt] == '\r') ++FAt;
    if (FAt < FText.size() && FText[FAt] == '\n') ++FAt;
    return FText.substr(Start, End - Start);
  }

 private:
  std::string_view FText;
  std::size_t FAt = 0;
};

// The text after the first "=" from the line's second character on; a line without one is its
// own value.
std::string_view ValueText(std::string_view Line) {
  const std::size_t Equals = Line.size() > 1 ? Line.find('=', 1) : std::string_view::npos;
  return Equals == std::string_view::npos ? Line : Line.substr(Equals + 1);
}

// The whole number Text holds between blanks, or 0 when it holds none.
bool ReadNumber(std::string_view Text, Integer& Value) {
  if (TryStrToInt(Trim(Text), Value)) return true;
  Value = 0;
  return false;
}

// The seven fields of a key-frame line: six ended by commas, the seventh the rest of the line.
// False when one is not a whole number or missing; the fields not read are 0.
bool ReadFields(std::string_view Line, std::array<Integer, 7>& Fields) {
  std::string_view Rest = ValueText(Line);
  bool Valid = true;
  for (Integer M = 0; M < 7; ++M) {
    const std::size_t Comma = M < 6 ? Rest.find(',') : std::string_view::npos;
    if (M < 6 && Comma == std::string_view::npos) {
      std::fill(Fields.begin() + M, Fields.end(), 0);
      return false;
    }
    Valid = ReadNumber(Rest.substr(0, Comma), Fields[M]) && Valid;
    if (Comma != std::string_view::npos) Rest = Rest.substr(Comma + 1);
  }
  return Valid;
}

// The fields of a key-frame line; a frame number outside 0..MaxScriptFrame reads as 0.
bool ReadKeyFrame(std::string_view Line, std::array<Integer, 7>& Fields) {
  bool Valid = ReadFields(Line, Fields);
  if (Fields[0] < 0 || Fields[0] > MaxScriptFrame) {
    Fields[0] = 0;
    Valid = false;
  }
  return Valid;
}
}  // namespace

Integer TVideoScript::LastFrame() const {
  return DatasetCount > 0 ? ScriptData[0][DatasetCount - 1] : 0;
}

TVideoScript ReadScript(std::string_view Text) {
  TVideoScript S;
  TLineReader Lines(Text);
  ReadNumber(ValueText(Lines.Next()), S.PatternNumber);
  S.PatternInvalid = S.PatternNumber < 1 || S.PatternNumber > 10;
  Integer Count = 0;
  ReadNumber(ValueText(Lines.Next()), Count);
  Count = EnsureRange(Count, 0, MaxKeyFrames);
  for (Integer R = 0; R < Count; ++R) {
    // A file that ends before its count of key frames has no more of them.
    if (Lines.AtEnd()) {
      if (S.FirstInvalidRow < 0) S.FirstInvalidRow = R;
      break;
    }
    std::array<Integer, 7> Fields{};
    if (!ReadKeyFrame(Lines.Next(), Fields) && S.FirstInvalidRow < 0) S.FirstInvalidRow = R;
    for (Integer M = 0; M < 7; ++M) S.ScriptData[M][R] = Fields[M];
    S.DatasetCount = R + 1;
  }
  return S;
}

TFrameTable InterpolateFrames(const TVideoScript& Script) {
  TFrameTable T;
  T.LastFrame = Script.LastFrame();
  for (std::vector<Integer>& V : T.Values) V.assign(static_cast<std::size_t>(T.LastFrame) + 1, 0);
  const auto& D = Script.ScriptData;
  for (Integer J = 0; J + 1 < Script.DatasetCount; ++J) {
    const Integer F0 = D[0][J], F1 = D[0][J + 1];
    for (Integer M = 0; M < 6; ++M) {
      const Integer A = D[M + 1][J], B = D[M + 1][J + 1];
      std::vector<Integer>& V = T.Values[M];
      // Both key frames on one frame: the later one holds.
      if (F0 == F1) {
        if (F0 <= T.LastFrame) V[F0] = B;
        continue;
      }
      for (Integer K = F0; K <= F1 && K <= T.LastFrame; ++K) {
        // The product in whole numbers, the quotient as a float, cut towards zero.
        const Int64 Product = static_cast<Int64>(K - F0) * (static_cast<Int64>(A) - B);
        V[K] = static_cast<Integer>(Trunc(static_cast<Extended>(Product) / (F0 - F1) + A));
      }
    }
  }
  return T;
}

namespace {
constexpr Integer SizeWidths[10] = {240, 320, 400, 480, 600, 768, 1024, 1280, 1440, 1920};
constexpr Integer SizeHeights4x3[10] = {180, 240, 300, 360, 450, 576, 768, 960, 1080, 1440};
constexpr Integer SizeHeights16x9[10] = {135, 180, 225, 270, 338, 432, 576, 720, 810, 1080};
}  // namespace

TVideoSize VideoSizeEntry(Integer Entry) {
  const Integer E = EnsureRange(Entry, 0, VideoSizeCount - 1);
  return E < 10 ? TVideoSize{SizeWidths[E], SizeHeights4x3[E]}
                : TVideoSize{SizeWidths[E - 10], SizeHeights16x9[E - 10]};
}

std::string VideoSizeCaption(Integer Entry) {
  const TVideoSize S = VideoSizeEntry(Entry);
  return Format(Entry < 10 ? "%d x %d (4:3)" : "%d x %d (16:9)", {S.Width, S.Height});
}

TCropArea VideoCropArea(Integer Width, Integer Height, Integer VideoWidth, Integer VideoHeight) {
  // q = VideoHeight / VideoWidth, compared and multiplied in whole numbers so that a picture of
  // exactly the movie's shape keeps every row.
  const Int64 W = Width, H = Height, VW = Max(VideoWidth, 1), VH = VideoHeight;
  if (H >= W || H * VW >= VH * W) {
    const Integer Kept = static_cast<Integer>(Min(W * VH / VW, H));
    return {0, (Height - Kept) / 2, Width, Kept};
  }
  const Integer Kept = VH > 0 ? static_cast<Integer>(H * VW / VH) : Width;
  return {(Width - Kept) / 2, 0, Kept, Height};
}

std::string MovieSaveName(const std::string& FileName) {
  return ExtractFileExt(FileName) == ".avi" ? FileName : FileName + ".avi";
}
