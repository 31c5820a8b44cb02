// The Rollei text header and the Foveon directory of camera raw files.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/formats/iecameraraw.h"
#include "imaging/formats/iecamerarawdecoder.h"

namespace {

constexpr Integer RolleiRecordSize = 128;

// A whole decimal integer, 0 when the text is anything else.
Integer DecimalOrZero(std::string_view Text) {
  while (!Text.empty() && (Text.back() == ' ' || Text.back() == '\r' || Text.back() == '\n'))
    Text.remove_suffix(1);
  while (!Text.empty() && Text.front() == ' ') Text.remove_prefix(1);
  bool Negative = false;
  if (!Text.empty() && (Text.front() == '-' || Text.front() == '+')) {
    Negative = Text.front() == '-';
    Text.remove_prefix(1);
  }
  if (Text.empty() || Text.size() > 10) return 0;
  long long Value = 0;
  for (char Digit : Text) {
    if (Digit < '0' || Digit > '9') return 0;
    Value = Value * 10 + (Digit - '0');
  }
  if (Value > 0x7FFFFFFF) return 0;
  return static_cast<Integer>(Negative ? -Value : Value);
}

}  // namespace

void RawParseRollei(TCameraRawContext& Context) {
  Integer ThumbWidth = 0;
  Integer ThumbHeight = 0;
  RawSeek(Context, 0);
  while (!RawAtEnd(Context)) {
    char Record[RolleiRecordSize + 1] = {};
    RawRead(Context, Record, RolleiRecordSize);
    if (std::strncmp(Record, "EOHD", 4) == 0) break;
    const std::string_view Line(Record);
    const std::size_t Equals = Line.find('=');
    const std::string_view Name = Line.substr(0, Equals);
    const Integer Value = Equals == std::string_view::npos ? 0 : DecimalOrZero(Line.substr(Equals + 1));
    if (Name == "HDR") Context.DataOffset = Value;
    if (Name == "X  ") Context.RawWidth = Value;
    if (Name == "Y  ") Context.RawHeight = Value;
    if (Name == "TX ") ThumbWidth = Value;
    if (Name == "TY ") ThumbHeight = Value;
  }
  const long long Offset = Context.DataOffset + static_cast<long long>(ThumbWidth) * ThumbHeight * 2;
  Context.DataOffset = static_cast<Integer>(std::clamp<long long>(Offset, 0, 0x7FFFFFFF));
  std::strcpy(Context.Make, "Rollei");
  std::strcpy(Context.Model, "d530flex");
}

void RawParseFoveon(TCameraRawContext& Context) {
  constexpr Cardinal CamfMarker = 0x464D4143;  // "CAMF" read little-endian
  Context.ByteOrder = 0x4949;
  RawSeek(Context, Context.InputSize - 4);
  const Cardinal Directory = RawGet4(Context);
  RawSeek(Context, Directory);
  bool Found = false;
  while (!Found && !RawAtEnd(Context)) Found = RawGet4(Context) == CamfMarker;
  if (!Found) return;
  Cardinal TextStart = RawGet4(Context);
  RawSeek(Context, static_cast<Int64>(TextStart) + 8);
  TextStart += RawGet4(Context) * 8 + 24;
  if (TextStart >= Directory || Directory > Context.InputSize) return;
  // The text block lies inside the file, so its size is bounded by the data.
  const Cardinal Characters = (Directory - TextStart) / 2;
  std::unique_ptr<char[]> Text(new (std::nothrow) char[Characters + 1]);
  RawCheckAlloc(Text.get(), "parse_foveon()");
  RawSeek(Context, TextStart);
  for (Cardinal I = 0; I < Characters; ++I) Text[I] = static_cast<char>(RawGet2(Context));
  Text[Characters] = 0;
  std::vector<std::string_view> Strings;
  for (Cardinal At = 0; At < Characters; At += static_cast<Cardinal>(Strings.back().size()) + 1)
    Strings.emplace_back(Text.get() + At);
  auto Copy = [](char* Field, std::string_view Value) {
    const std::size_t Length = std::min<std::size_t>(Value.size(), RawNameLength - 1);
    std::memcpy(Field, Value.data(), Length);
    Field[Length] = 0;
  };
  for (std::size_t I = 0; I + 1 < Strings.size(); ++I) {
    if (Strings[I] == "CAMMANUF") Copy(Context.Make, Strings[I + 1]);
    if (Strings[I] == "CAMMODEL") Copy(Context.Model, Strings[I + 1]);
    if (Strings[I] == "TIME") Context.Timestamp = DecimalOrZero(Strings[I + 1]);
  }
  RawSeek(Context, 248);
  Context.RawWidth = static_cast<Integer>(std::min<Cardinal>(RawGet4(Context), 0x7FFFFFFF));
  Context.RawHeight = static_cast<Integer>(std::min<Cardinal>(RawGet4(Context), 0x7FFFFFFF));
}
