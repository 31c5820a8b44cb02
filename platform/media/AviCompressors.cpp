// The compressor list: libavcodec's video encoders whose code the AVI container takes.
#include "platform/media/AviCompressors.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "platform/system/Strings.h"

namespace {

// Names the platform has always shown for these codes; other encoders show libavcodec's.
struct TKnownName {
  FOURCC Handler;
  const char* Description;
};
constexpr TKnownName KnownNames[] = {
    {comptypeDIB, "Full Frames (Uncompressed)"},
    {mmioFOURCC('C', 'R', 'A', 'M'), "Microsoft Video 1"},
    {mmioFOURCC('M', 'S', 'V', 'C'), "Microsoft Video 1"},
    {mmioFOURCC('M', 'J', 'P', 'G'), "Motion JPEG"},
    {mmioFOURCC('c', 'v', 'i', 'd'), "Cinepak Codec"},
};

FOURCC UpperCode(FOURCC Code) {
  FOURCC Result = 0;
  for (Integer Shift = 0; Shift < 32; Shift += 8)
    Result |= static_cast<FOURCC>(std::toupper(static_cast<int>((Code >> Shift) & 0xFF))) << Shift;
  return Result;
}

bool Usable(const AVCodec* Encoder) {
  if (Encoder->capabilities & (AV_CODEC_CAP_EXPERIMENTAL | AV_CODEC_CAP_HARDWARE)) return false;
  if (Encoder->capabilities & AV_CODEC_CAP_HYBRID) return false;
  // Wrappers of hardware encoders that do not say so themselves.
  const std::string Name = Encoder->name;
  for (const char* Suffix : {"_vaapi", "_nvenc", "_qsv", "_v4l2m2m", "_amf", "_omx", "_videotoolbox", "_mf"})
    if (Name.size() > std::strlen(Suffix) && Name.ends_with(Suffix)) return false;
  return Encoder->pix_fmts != nullptr;
}

std::vector<TAviCompressor> Enumerate() {
  std::vector<TAviCompressor> List;
  List.push_back({comptypeDIB, nullptr, u"Full Frames (Uncompressed)"});
  const AVOutputFormat* Avi = av_guess_format("avi", nullptr, nullptr);
  if (!Avi) return List;
  std::vector<AVCodecID> Seen;
  void* Cursor = nullptr;
  while (const AVCodec* Codec = av_codec_iterate(&Cursor)) {
    if (Codec->type != AVMEDIA_TYPE_VIDEO || !av_codec_is_encoder(Codec)) continue;
    if (Codec->id == AV_CODEC_ID_RAWVIDEO || std::find(Seen.begin(), Seen.end(), Codec->id) != Seen.end())
      continue;
    Seen.push_back(Codec->id);
    const AVCodec* Encoder = avcodec_find_encoder(Codec->id);
    if (!Encoder || !Usable(Encoder)) continue;
    if (avformat_query_codec(Avi, Codec->id, FF_COMPLIANCE_NORMAL) != 1) continue;
    const AVCodecTag* const Tables[] = {Avi->codec_tag ? Avi->codec_tag[0] : nullptr, nullptr};
    const FOURCC Handler = av_codec_get_tag(Tables, Codec->id);
    if (Handler == 0 || std::any_of(List.begin(), List.end(), [Handler](const TAviCompressor& C) {
          return UpperCode(C.Handler) == UpperCode(Handler);
        }))
      continue;
    std::u16string Description = Utf8ToUtf16(Encoder->long_name ? Encoder->long_name : Encoder->name);
    for (const TKnownName& Known : KnownNames)
      if (Known.Handler == Handler) Description = Utf8ToUtf16(Known.Description);
    List.push_back({Handler, Encoder, std::move(Description)});
  }
  return List;
}

std::mutex ListLock;
std::optional<std::vector<FOURCC>> Restriction;
std::vector<TAviCompressor> Restricted;

const std::vector<TAviCompressor>& AllCompressors() {
  static const std::vector<TAviCompressor> List = Enumerate();
  return List;
}

}  // namespace

const std::vector<TAviCompressor>& AviInstalledCompressors() {
  std::lock_guard Guard(ListLock);
  return Restriction ? Restricted : AllCompressors();
}

const TAviCompressor* AviFindCompressor(FOURCC Handler) {
  FOURCC Code = UpperCode(Handler);
  if (Code == 0 || Code == UpperCode(mmioFOURCC('R', 'G', 'B', ' ')) ||
      Code == UpperCode(mmioFOURCC('r', 'a', 'w', ' ')))
    Code = comptypeDIB;
  if (Code == mmioFOURCC('C', 'R', 'A', 'M')) Code = mmioFOURCC('M', 'S', 'V', 'C');  // one codec, two codes
  for (const TAviCompressor& Compressor : AviInstalledCompressors())
    if (UpperCode(Compressor.Handler) == Code) return &Compressor;
  return nullptr;
}

void AviRestrictCompressors(std::optional<std::vector<FOURCC>> Handlers) {
  std::lock_guard Guard(ListLock);
  Restriction = std::move(Handlers);
  Restricted.clear();
  if (!Restriction) return;
  for (FOURCC Handler : *Restriction)
    for (const TAviCompressor& Compressor : AllCompressors())
      if (UpperCode(Compressor.Handler) == UpperCode(Handler)) Restricted.push_back(Compressor);
}
